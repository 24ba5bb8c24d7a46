#include "filesystem.h"

#include "textcompare.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

namespace platform {
namespace {

bool IsAscii(std::string_view s)
{
    for (const char c : s)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

char Fold(char c, bool fold)
{
    return fold && c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Length of the UTF-8 sequence starting at s[i] (1 for stray bytes), so that "?" takes one code point.
std::size_t CharLength(std::string_view s, std::size_t i)
{
    std::size_t n = 1;
    while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

// Greedy glob with one back-tracking point: linear for masks with a single "*", never exponential.
bool Glob(std::string_view name, std::string_view mask, bool fold)
{
    std::size_t n = 0, m = 0;
    std::size_t starMask = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            starMask = m++;
            starName = n;
        } else if (m < mask.size() && mask[m] == '?') {
            n += CharLength(name, n);
            ++m;
        } else if (m < mask.size() && Fold(mask[m], fold) == Fold(name[n], fold)) {
            ++n;
            ++m;
        } else if (starMask != std::string_view::npos) {
            m = starMask + 1;
            starName += CharLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*')
        ++m;
    return m == mask.size();
}

double UnixTime(const struct timespec& t)
{
    return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

void FillFromStat(TFolderEntry& entry, const struct stat& st)
{
    if (S_ISDIR(st.st_mode))
        entry.Attr |= faDirectory;
    else if (!S_ISREG(st.st_mode))
        entry.Attr |= faSysFile;
    if ((st.st_mode & S_IWUSR) == 0)
        entry.Attr |= faReadOnly;
    entry.Size = S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
    entry.Time = DateTimeFromUnix(UnixTime(st.st_mtim));
    entry.Device = static_cast<std::uint64_t>(st.st_dev);
    entry.Inode = static_cast<std::uint64_t>(st.st_ino);
}

// Fills entry for name inside the open folder dirFd; false when the entry vanished meanwhile.
bool StatEntry(int dirFd, const char* name, unsigned char type, TFolderEntry& entry)
{
    struct stat st
    {
    };
    bool isLink = type == DT_LNK;
    if (type == DT_UNKNOWN) {
        if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        isLink = S_ISLNK(st.st_mode);
        if (!isLink) {
            FillFromStat(entry, st);
            return true;
        }
    }
    if (isLink)
        entry.Attr |= faSymLink;
    if (::fstatat(dirFd, name, &st, 0) != 0) {
        if (!isLink)
            return false;
        // A link that leads nowhere (or into a loop): still listed, but as a system entry.
        entry.Attr |= faSysFile;
        struct stat own
        {
        };
        if (::fstatat(dirFd, name, &own, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.Time = DateTimeFromUnix(UnixTime(own.st_mtim));
            entry.Device = static_cast<std::uint64_t>(own.st_dev);
            entry.Inode = static_cast<std::uint64_t>(own.st_ino);
        }
        return true;
    }
    FillFromStat(entry, st);
    return true;
}

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask, MaskCase maskCase)
{
    if (mask == "*.*" || mask == "*")
        return true;
    if (maskCase == MaskCase::Sensitive)
        return Glob(name, mask, false);
    if (IsAscii(name) && IsAscii(mask))
        return Glob(name, mask, true);
    return Glob(LowerCase(name), LowerCase(mask), false);
}

bool PassesAttrFilter(std::uint32_t entryAttr, std::uint32_t filter)
{
    constexpr std::uint32_t special = faHidden | faSysFile | faDirectory;
    return (entryAttr & special & ~filter) == 0;
}

bool ForEachEntry(const std::string& folder, std::string_view mask, std::uint32_t filter,
                  const std::function<bool(const TFolderEntry&)>& visit, MaskCase maskCase)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir)
        return false;
    const int dirFd = ::dirfd(dir.get());
    TFolderEntry entry;
    while (const dirent* d = ::readdir(dir.get())) {
        const std::string_view name(d->d_name);
        if (name == "." || name == "..")
            continue;
        if (!MatchesMask(name, mask, maskCase))
            continue;
        // Cheap rejection before the stat call: hidden entries and folders known from the directory itself.
        if (name[0] == '.' && (filter & faHidden) == 0)
            continue;
        if (d->d_type == DT_DIR && (filter & faDirectory) == 0)
            continue;
        entry = TFolderEntry{};
        entry.Name = name;
        if (name[0] == '.')
            entry.Attr |= faHidden;
        if (!StatEntry(dirFd, d->d_name, d->d_type, entry))
            continue;
        if (!PassesAttrFilter(entry.Attr, filter))
            continue;
        if (!visit(entry))
            break;
    }
    return true;
}

std::vector<TFolderEntry> FindEntries(const std::string& folder, std::string_view mask, std::uint32_t filter,
                                      MaskCase maskCase)
{
    std::vector<TFolderEntry> entries;
    ForEachEntry(
        folder, mask, filter,
        [&entries](const TFolderEntry& e) {
            entries.push_back(e);
            return true;
        },
        maskCase);
    return entries;
}

std::optional<TFolderEntry> EntryInfo(const std::string& path)
{
    if (path.empty())
        return std::nullopt;
    struct stat st
    {
    };
    if (::lstat(path.c_str(), &st) != 0)
        return std::nullopt;
    TFolderEntry entry;
    std::string_view name(path);
    while (name.size() > 1 && name.back() == '/')
        name.remove_suffix(1);
    const std::size_t slash = name.rfind('/');
    entry.Name = slash == std::string_view::npos || name.size() == 1 ? name : name.substr(slash + 1);
    if (!entry.Name.empty() && entry.Name[0] == '.' && entry.Name != "." && entry.Name != "..")
        entry.Attr |= faHidden;
    if (S_ISLNK(st.st_mode)) {
        entry.Attr |= faSymLink;
        if (::stat(path.c_str(), &st) != 0) {
            entry.Attr |= faSysFile;
            return entry;
        }
    }
    FillFromStat(entry, st);
    return entry;
}

bool FileExists(const std::string& path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& path)
{
    struct stat st
    {
    };
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<TDateTime> FileModificationTime(const std::string& path)
{
    struct stat st
    {
    };
    if (path.empty() || ::stat(path.c_str(), &st) != 0)
        return std::nullopt;
    return DateTimeFromUnix(UnixTime(st.st_mtim));
}

} // namespace platform
