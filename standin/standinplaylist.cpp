#include "standinplaylist.h"

#include "platform/textcompare.h"

#include <cstdlib>
#include <fstream>

namespace {

bool EndsWithText(const std::string& s, const std::string& suffix)
{
    return s.size() >= suffix.size() &&
           platform::SameText(std::string_view(s).substr(s.size() - suffix.size()), suffix);
}

std::string FolderOf(const std::string& fileName)
{
    const std::size_t slash = fileName.rfind('/');
    return slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
}

bool IsAbsoluteOrUrl(const std::string& name)
{
    return name.front() == '/' || name.find("://") != std::string::npos;
}

} // namespace

bool TstandinPlaylist::IsPlaylistFile(const std::string& fileName)
{
    return EndsWithText(fileName, ".m3u") || EndsWithText(fileName, ".m3u8");
}

bool TstandinPlaylist::Append(const std::string& fileName)
{
    if (fileName.empty())
        return false;
    if (IsPlaylistFile(fileName))
        return AppendM3U(fileName);
    return AppendEntry({fileName, std::string(), -1});
}

bool TstandinPlaylist::AppendEntry(TstandinEntry entry)
{
    if (Count() >= kMaxEntries)
        return false;
    entries_.push_back(std::move(entry));
    return true;
}

bool TstandinPlaylist::AppendM3U(const std::string& fileName)
{
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return false;
    const std::string folder = FolderOf(fileName);
    TstandinEntry pending;
    std::string line;
    bool first = true;
    bool complete = true;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
            line.pop_back();
        if (first && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);
        first = false;
        if (line.find_first_not_of(" \t") == std::string::npos)
            continue;
        if (line.front() == '#') {
            if (line.compare(0, 8, "#EXTINF:") == 0) {
                const std::size_t comma = line.find(',', 8);
                const std::string seconds =
                    line.substr(8, comma == std::string::npos ? std::string::npos : comma - 8);
                char* end = nullptr;
                const long value = std::strtol(seconds.c_str(), &end, 10);
                pending.seconds = end != seconds.c_str() && value >= -1 && value < 0x7FFFFFFF
                                      ? static_cast<int>(value)
                                      : -1;
                pending.title = comma == std::string::npos ? std::string() : line.substr(comma + 1);
            }
            continue;
        }
        pending.fileName = IsAbsoluteOrUrl(line) ? line : folder + line;
        if (pending.fileName.size() <= kMaxNameBytes)
            complete = AppendEntry(std::move(pending)) && complete;
        pending = TstandinEntry();
    }
    return complete;
}
