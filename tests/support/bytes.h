#pragma once

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
