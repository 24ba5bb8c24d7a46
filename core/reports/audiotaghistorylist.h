#pragma once

#include "core/songs/audiotaglist.h"
#include "platform/stringlist.h"

#include <string>

// The songs played, oldest first, each stamped with the time it entered the list; written out as
// history.txt.
class TaudioTagHistoryList : public TaudioTagList
{
public:
    // Stamps the song's ModDate with the current date and time, then adds it.
    bool Add(TaudioTag* song) override;

    // One line per song: "time : artist - title (file name)", the time in the locale's short date and long
    // time.
    void GetLines(TStringList<TaudioTag>& strings) const;
    // Replaces the file (creating its folder when missing) with GetLines, each line ended by CR LF. Throws
    // EFileError when it cannot be written; the old file then stays as it was.
    void SaveToTextFile(const std::string& fileName) const;
};
