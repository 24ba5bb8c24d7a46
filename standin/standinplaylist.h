#pragma once

#include <climits>
#include <cstddef>
#include <string>
#include <vector>

// One playlist entry: the file and what an extended M3U said about it (length -1 when it said nothing).
struct TstandinEntry
{
    std::string fileName;
    std::string title;
    int seconds = -1;
};

// The stand-in player's playlist. Playlist files (.m3u, .m3u8) contribute their entries; extended M3U
// lines (#EXTINF:seconds,title) describe the entry that follows; relative names are taken from the
// playlist file's folder.
class TstandinPlaylist
{
public:
    // The longest file name the system can open (PATH_MAX less its terminator); longer lines of a playlist
    // file are passed over.
    static constexpr std::size_t kMaxNameBytes = PATH_MAX - 1;
    // Entries past this many are left out.
    static constexpr int kMaxEntries = 10000;

    // Appends the file, or the entries of a playlist file. False when a playlist file cannot be read or
    // when the list is full and an entry had to be left out.
    bool Append(const std::string& fileName);
    void Clear() { entries_.clear(); }

    int Count() const { return static_cast<int>(entries_.size()); }
    const TstandinEntry& At(int index) const { return entries_[static_cast<std::size_t>(index)]; }

    static bool IsPlaylistFile(const std::string& fileName);

private:
    bool AppendM3U(const std::string& fileName);
    bool AppendEntry(TstandinEntry entry);

    std::vector<TstandinEntry> entries_;
};
