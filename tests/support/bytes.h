#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

// Raw bytes for layouts written out by hand in tests: Raw({0x08}) + "Filename" + ...
inline std::string Raw(std::initializer_list<int> bytes)
{
    std::string out;
    for (const int b : bytes)
        out += static_cast<char>(b);
    return out;
}

// A 32-bit value as its four little-endian bytes.
inline std::string RawLe32(std::uint32_t v)
{
    return Raw({int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF), int(v >> 24)});
}
