// The file-name mask: the first line of the input is the file name, the rest the mask. Every line it
// gives names a placeholder and a value taken from the file name.
#include "fuzz/fuzzcheck.h"

#include "core/util/filenamemask.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

// Bytes of the first character: its lead byte and the continuation bytes after it.
std::size_t CharLength(std::string_view s)
{
    std::size_t n = s.empty() ? 0 : 1;
    while (n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        ++n;
    return n;
}

bool ValueFromName(std::string_view line, std::size_t eq, std::string_view name)
{
    return eq < line.size() && line[eq] == '=' && name.find(line.substr(eq + 1)) != std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = input.find('\n');
    const std::string_view name = input.substr(0, newline);
    const std::string_view mask = newline == std::string_view::npos ? "%t" : input.substr(newline + 1);
    TStrings lines;
    ParseFileNameMask(name, mask, lines);
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string_view line = lines[i];
        FuzzCheck(line.size() >= 2 && line[0] == '%', "a line starts with its placeholder");
        // "%" and one whole character, then "=value"; a mask ending in "%" gives "%=value".
        const bool fromName =
            ValueFromName(line, 1 + CharLength(line.substr(1)), name) || ValueFromName(line, 1, name);
        FuzzCheck(fromName, "a line holds placeholder=value, the value taken from the name");
    }
    return 0;
}
