#include "core/reports/audiotaghistorylist.h"

#include "platform/atomicfile.h"
#include "platform/datetime.h"
#include "platform/error.h"
#include "platform/folders.h"

#include <algorithm>

bool TaudioTagHistoryList::Add(TaudioTag* song)
{
    if (song)
        song->SetModDate(platform::Now());
    return TaudioTagList::Add(song);
}

void TaudioTagHistoryList::GetLines(TStringList<TaudioTag>& strings) const
{
    FormatStrings(strings, tdfTimeArtistTitleFilename, false);
}

void TaudioTagHistoryList::SaveToTextFile(const std::string& fileName) const
{
    const std::size_t slash = fileName.rfind('/');
    if (slash != std::string::npos && slash > 0)
        platform::ForceDirectories(fileName.substr(0, slash));
    TStringList<TaudioTag> lines;
    GetLines(lines);
    std::string text;
    for (const auto& item : lines) {
        // A line break inside a tag would split the song over two lines.
        std::string line = item.text;
        std::replace_if(
            line.begin(), line.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        text += line;
        text += "\r\n";
    }
    platform::WriteFileAtomically(fileName, text);
}
