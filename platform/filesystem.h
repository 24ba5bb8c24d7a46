#pragma once

#include "datetime.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Files and folders: existence, times and folder enumeration in the manner of FindFirst/FindNext.
namespace platform {

// Attribute bits of an entry; the values are those of the framework's faXxx constants.
enum FileAttribute : std::uint32_t
{
    faReadOnly = 0x01,  // the owner may not write it
    faHidden = 0x02,    // the name starts with "."
    faSysFile = 0x04,   // neither a file nor a folder: socket, FIFO, device, or a link that leads nowhere
    faDirectory = 0x10, // a folder, or a link to one
    faSymLink = 0x40,   // the entry is a symbolic link; the other facts are those of its target
};
constexpr std::uint32_t faAnyFile = faReadOnly | faHidden | faSysFile | faDirectory | faSymLink;

// Name masks ("*.mp3", "TAG_*.so", "track??.wav"): "*" matches any run of characters, "?" one character
// (one UTF-8 code point); "*.*" matches every name, as it does on the original platform.
enum class MaskCase
{
    Insensitive,
    Sensitive
};
bool MatchesMask(std::string_view name, std::string_view mask, MaskCase maskCase = MaskCase::Insensitive);

struct TFolderEntry
{
    std::string Name; // without folder
    std::uint32_t Attr = 0;
    std::int64_t Size = 0; // 0 for folders
    TDateTime Time = 0;    // modification time, local
    // Identity of the entry (of the link's target for links), so that tree walks can avoid loops.
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;

    bool IsFolder() const { return (Attr & faDirectory) != 0; }
    bool IsSymLink() const { return (Attr & faSymLink) != 0; }
    bool IsHidden() const { return (Attr & faHidden) != 0; }
    bool IsSystem() const { return (Attr & faSysFile) != 0; }
};

// True when an entry with these attributes passes the filter as FindFirst's attribute argument: plain and
// read-only files always pass; hidden, system and folder entries only when the filter holds their bits.
bool PassesAttrFilter(std::uint32_t entryAttr, std::uint32_t filter);

// Calls visit for every entry of folder (not "." and "..") that matches mask and passes filter, in the order
// the file system gives; visit returns false to stop. Costs one directory read and one or two stat calls per
// matching entry. Returns false when the folder cannot be read.
bool ForEachEntry(const std::string& folder, std::string_view mask, std::uint32_t filter,
                  const std::function<bool(const TFolderEntry&)>& visit,
                  MaskCase maskCase = MaskCase::Insensitive);
// The same entries as a list; empty when the folder cannot be read.
std::vector<TFolderEntry> FindEntries(const std::string& folder, std::string_view mask,
                                      std::uint32_t filter = faAnyFile,
                                      MaskCase maskCase = MaskCase::Insensitive);

// Facts of one path (following links), or nothing when it does not exist.
std::optional<TFolderEntry> EntryInfo(const std::string& path);

// Anything but a folder, following links.
bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Modification time as a local date-time; nothing when the path does not exist.
std::optional<TDateTime> FileModificationTime(const std::string& path);

} // namespace platform
