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

// Little-endian numbers, as the file formats under test store them.
inline std::string Le16(std::uint16_t v)
{
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}

inline std::string Le32(std::uint32_t v)
{
    return Le16(static_cast<std::uint16_t>(v & 0xFFFF)) + Le16(static_cast<std::uint16_t>(v >> 16));
}
