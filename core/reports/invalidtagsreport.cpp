#include "core/reports/invalidtagsreport.h"

#include "core/songs/audiotaglist.h"
#include "core/util/promptservice.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <vector>

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
        if (song && (song->Artist().empty() || song->Title().empty()))
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
