// The song-list file ("OATL"): loads whatever it is given, from memory and from a file alike; a list it
// loads shows in every display format and sorts by every key, saves and loads again, and saving what was
// loaded back settles on the same bytes.
#include "fuzz/fuzzcheck.h"

#include "core/songs/audiotaglist.h"
#include "support/tempdir.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

std::string Saved(const TaudioTagList& list)
{
    TstreamWriter out;
    list.SaveToStream(out);
    return out.Bytes();
}

bool Load(TaudioTagList& list, std::string_view bytes)
{
    TstreamReader in(bytes);
    return list.LoadFromStream(in);
}

// What the windows do with a list just loaded: show it and sort it.
void ShowAndSort(TaudioTagList& list)
{
    TStringList<TaudioTag> lines;
    for (int format = tdfArtistTitle; format <= tdfTimeArtistTitleFilename; ++format)
        list.FormatStrings(lines, static_cast<TtagDisplayFormat>(format), true);
    for (int key = tstTitle; key <= tstTagType; ++key)
        list.SortBy(static_cast<TaudioTagSortType>(key));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static const TempDir dir;
    TaudioTagList list;
    const bool loaded = Load(list, bytes);
    TaudioTagList fromFile;
    FuzzCheck(fromFile.LoadFromFile(dir.Write("list.oatl", std::string(bytes)), false) == loaded &&
                  fromFile.Count() == list.Count(),
              "a song list reads the same from a file as from memory");
    if (!loaded)
        return 0;
    for (const TaudioTag* song : list.Items()) {
        ApplyDriveRoot(song->Filename(), "e:");
        ApplyDriveRoot(song->Filename(), "/media/u/DISC/");
    }
    ShowAndSort(list);
    const std::string first = Saved(list);
    TaudioTagList again;
    FuzzCheck(Load(again, first), "a saved song list loads again");
    FuzzCheck(again.Count() == list.Count(), "a saved song list keeps its songs");
    const std::string second = Saved(again);
    TaudioTagList third;
    FuzzCheck(Load(third, second), "a saved song list loads again");
    FuzzCheck(Saved(third) == second, "saving a loaded song list settles");
    return 0;
}
