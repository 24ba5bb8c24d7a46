#include "core/reports/invalidtagsreport.h"

#include "core/songs/audiotaglist.h"
#include "core/util/promptservice.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// A title as its tag gave it. The library's groupings give a song with neither artist nor genre text its
// file name (with extension) as title, for display: that title was never read, so it counts as none.
bool HasTitle(const TaudioTag& song)
{
    const std::string& title = song.Title();
    if (title.empty())
        return false;
    const std::string& file = song.Filename();
    const std::size_t slash = file.rfind('/');
    return title != std::string_view(file).substr(slash == std::string::npos ? 0 : slash + 1);
}

} // namespace

std::string TinvalidTagsReport::GetDescription() const
{
    return "Creates a list of those files that are not correctly tagged (no Artist or no Title).";
}

std::string TinvalidTagsReport::GetName() const
{
    return "Invalid Tags";
}

std::string TinvalidTagsReport::GetFilter() const
{
    return "Text Files (*.txt)|*.txt|All Files (*.*)|*.*";
}

std::string TinvalidTagsReport::GetDefaultExt() const
{
    return "txt";
}

void TinvalidTagsReport::Execute()
{
    const TaudioTagList* songs = Songs();
    if (!songs)
        return;
    // Names are copied and the count read afresh: the progress handler lets pending work run.
    std::vector<std::string> names;
    for (int i = 0; i < songs->GetCount(); ++i) {
        const TaudioTag* song = songs->GetItem(i);
        if (song && (song->Artist().empty() || !HasTitle(*song)))
            names.push_back(song->Filename());
        DoProgress(i + 1, songs->GetCount());
    }
    // The order a sorted string list keeping duplicates gives (each new line goes before its equals), in
    // one sort rather than a sorted insert per file.
    std::reverse(names.begin(), names.end());
    std::stable_sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return platform::CompareText(a, b) < 0;
    });
    TStrings lines;
    for (std::string& name : names)
        lines.Add(std::move(name));
    WriteAndOpen(lines);
}

void TinvalidTagsReport::Configure()
{
    ShowMessageBox("No configuration is Required", ApplicationTitle(), TmessageButtons::Ok,
                   TmessageIcon::None);
}
