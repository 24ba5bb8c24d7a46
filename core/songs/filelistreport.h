#pragma once

#include "platform/stringlist.h"

#include <string>
#include <string_view>

// What adding a list of song files (an M3U file, dropped files) made of its entries.
struct TfileListReport
{
    bool read = true;  // false: the list file itself could not be read
    int added = 0;     // songs taken into the list
    int notFound = 0;  // no such file
    int special = 0;   // not a regular file: a folder, a FIFO, a device (never opened)
    int notSongs = 0;  // no tag-reader plug-in reads it (another kind of file, a damaged one) or Max reached
    int addresses = 0; // internet addresses, which the jukebox does not play
    bool kept = false; // the list was to be replaced but nothing could be loaded: it was left as it was

    int Skipped() const { return notFound + special + notSongs + addresses; }
    // What the user is told about fileName's list, one fact a line (CR between lines); empty when every
    // entry was loaded.
    std::string Describe(const std::string& fileName) const;
};

// The entries of an M3U file's text as file names, in order, as other players write them: comment and blank
// lines left out, a UTF-8 byte order mark skipped, lines that are not UTF-8 read as Latin-1, "file://" URLs
// read as paths, and entries relative to folder (the M3U's own) made full. Internet addresses stay as
// they are.
void ReadM3UEntries(std::string_view text, const std::string& folder, TStrings& entries);

// True for "scheme://..." entries other than file names.
bool IsInternetAddress(std::string_view entry);
