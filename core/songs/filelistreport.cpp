#include "core/songs/filelistreport.h"

#include <cstdint>

namespace {

bool IsUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t more = 0;
        if (c < 0x80)
            more = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            more = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            more = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            more = 3;
        else
            return false;
        if (more > 0 && i + more >= text.size())
            return false;
        for (std::size_t k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += more + 1;
    }
    return true;
}

std::string Latin1ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += ch;
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::string AsUtf8(std::string_view text)
{
    return IsUtf8(text) ? std::string(text) : Latin1ToUtf8(text);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            const int high = HexDigit(text[i + 1]);
            const int low = HexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// The path of a "file:" URL: "file:///a/b", "file://localhost/a/b" and "file:/a/b" all give "/a/b".
std::string FileUrlPath(std::string_view url)
{
    std::string_view rest = url.substr(5);
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        const std::size_t slash = rest.find('/');
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    return AsUtf8(PercentDecoded(rest));
}

std::string Entry(std::string_view line, const std::string& folder)
{
    if (StartsWithNoCase(line, "file:"))
        return FileUrlPath(line);
    std::string entry = AsUtf8(line);
    if (IsInternetAddress(entry) || entry.front() == '/')
        return entry;
    // Relative to the M3U's folder; players on the original platform write backslashes.
    for (char& c : entry)
        if (c == '\\')
            c = '/';
    if (entry.starts_with("./"))
        entry.erase(0, 2);
    if (folder.empty())
        return entry;
    return folder.back() == '/' ? folder + entry : folder + '/' + entry;
}

} // namespace

bool IsInternetAddress(std::string_view entry)
{
    const std::size_t colon = entry.find("://");
    if (colon == std::string_view::npos || colon == 0)
        return false;
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = entry[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        const bool other = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
        if (!letter && !(i > 0 && other))
            return false;
    }
    return !StartsWithNoCase(entry, "file:");
}

void ReadM3UEntries(std::string_view text, const std::string& folder, TStrings& entries)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    entries.BeginUpdate();
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        entries.Add(Entry(line, folder));
    }
    entries.EndUpdate();
}

std::string TfileListReport::Describe(const std::string& fileName) const
{
    if (!read)
        return "Could not read the playlist file \"" + fileName + "\".";
    if (Skipped() == 0)
        return std::string();
    std::string text = std::to_string(Skipped()) + " of " + std::to_string(added + Skipped()) +
                       " entries of \"" + fileName + "\" could not be loaded:";
    const auto line = [&text](int count, const char* one, const char* many) {
        if (count > 0)
            text += "\r" + std::to_string(count) + " " + (count == 1 ? one : many);
    };
    line(notFound, "file not found", "files not found");
    line(special, "special file (a folder, a pipe or a device)", "special files (folders, pipes or devices)");
    line(notSongs, "file that is not a song", "files that are not songs");
    line(addresses, "internet address (only files are played)", "internet addresses (only files are played)");
    if (kept)
        text += "\rThe playlist was left as it was.";
    return text;
}
