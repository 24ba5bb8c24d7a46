// The file-name mask: the first line of the input is the file name, the rest the mask. Every line it
// gives names a placeholder and a value taken from the file name.
#include "fuzz/fuzzcheck.h"

#include "core/util/filenamemask.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

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
        // "%x=value"; a mask ending in "%" gives "%=value", and "%=" as a placeholder gives "%==value".
        const std::size_t eq = line[1] == '=' ? 1 : line.find('=', 2);
        FuzzCheck(eq != std::string_view::npos, "a line holds placeholder=value");
        const std::string_view value = line.substr(eq + 1);
        const bool fromName =
            name.find(value) != std::string_view::npos ||
            (eq == 1 && !value.empty() && name.find(value.substr(1)) != std::string_view::npos);
        FuzzCheck(fromName, "a value is part of the name");
    }
    return 0;
}
