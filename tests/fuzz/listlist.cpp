// The list-of-lists file ("OALL"): loads whatever it is given; what it loads saves and loads again, and
// saving what was loaded back settles on the same lists. (Lists of equal titles swap places on every load,
// the one added last standing first, so the lists are compared each on its own.)
#include "fuzz/fuzzcheck.h"

#include "core/groupings/audiotaglistlist.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string Saved(const TaudioTagListList& lists)
{
    TstreamWriter out;
    lists.SaveToStream(out);
    return out.Bytes();
}

// Each member list's own record, in byte order.
std::vector<std::string> Members(const TaudioTagListList& lists)
{
    std::vector<std::string> members;
    for (int i = 0; i < lists.Count(); ++i) {
        TstreamWriter out;
        lists.GetItem(i)->SaveToStream(out);
        members.push_back(out.Bytes());
    }
    std::sort(members.begin(), members.end());
    return members;
}

bool Load(TaudioTagListList& lists, std::string_view bytes)
{
    TstreamReader in(bytes);
    return lists.LoadFromStream(in);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TaudioTagListList lists;
    if (!Load(lists, bytes))
        return 0;
    lists.TotalSongs();
    const std::string first = Saved(lists);
    TaudioTagListList again;
    FuzzCheck(Load(again, first), "a saved set of lists loads again");
    FuzzCheck(again.Count() == lists.Count(), "a saved set of lists keeps its lists");
    const std::string second = Saved(again);
    TaudioTagListList third;
    FuzzCheck(Load(third, second), "a saved set of lists loads again");
    FuzzCheck(Members(third) == Members(again), "saving a loaded set of lists settles");
    return 0;
}
