#include "core/util/filenamemask.h"

#include <string>
#include <utility>
#include <vector>

namespace {

// Length in bytes of the first count UTF-8 characters of s (all of s when it is shorter); a stray
// continuation or invalid byte counts as one character, so a name is never cut inside a character.
std::size_t CharsToBytes(std::string_view s, std::size_t count)
{
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < s.size(); ++n) {
        ++pos;
        while (pos < s.size() && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80)
            ++pos;
    }
    return pos;
}

std::size_t CharCount(std::string_view s)
{
    std::size_t n = 0;
    for (const char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++n;
    return n;
}

} // namespace

// Each step of the match fills the placeholder it starts with only after the rest of the name has been
// matched against the rest of the mask, so the lines come out last placeholder first. The steps are run in
// a loop and their lines appended in reverse, which gives the same lines without a recursion as deep as
// the mask is long.
void ParseFileNameMask(std::string_view name, std::string_view mask, TStrings& lines)
{
    std::vector<std::pair<std::string_view, std::string_view>> found; // placeholder, value
    std::string_view s = name;
    std::string_view m = mask;
    for (;;) {
        const std::size_t percent = m.find('%');
        if (percent == std::string_view::npos)
            break;
        const std::string_view prefix = m.substr(0, percent);
        // "%" and the whole character after it: the separator must not start inside a character.
        const std::string_view placeholder = m.substr(percent, 1 + CharsToBytes(m.substr(percent + 1), 1));
        m.remove_prefix(percent + placeholder.size());

        if (!prefix.empty() && s.find(prefix) == std::string_view::npos) {
            found.emplace_back(placeholder, s);
            break;
        }
        // The prefix is taken to stand at the start of the name, wherever it was found.
        s.remove_prefix(CharsToBytes(s, CharCount(prefix)));

        const std::string_view separator = m.substr(0, m.find('%'));
        const std::size_t at = separator.empty() ? std::string_view::npos : s.find(separator);
        if (at == std::string_view::npos) {
            found.emplace_back(placeholder, s);
            break;
        }
        found.emplace_back(placeholder, s.substr(0, at));
        s.remove_prefix(at);
    }

    for (auto it = found.rbegin(); it != found.rend(); ++it)
        lines.Add(std::string(it->first) + "=" + std::string(it->second));
}
