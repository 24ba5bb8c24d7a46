#include "markup/htmlcolor.h"

#include <cstdio>

namespace {

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

} // namespace

std::string ColorToHtml(TColor color)
{
    const TColor rgb = ColorToRGB(color);
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%2.2X%2.2X%2.2X", GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
    return buffer;
}

TColor HtmlToColor(std::string_view text)
{
    if (text.size() == 7 && text[0] == '#')
        text.remove_prefix(1);
    if (text.size() != 6)
        return clBlack;
    int digits[6];
    for (int i = 0; i < 6; ++i) {
        digits[i] = HexDigit(text[static_cast<std::size_t>(i)]);
        if (digits[i] < 0)
            return clBlack;
    }
    return RGBColor(digits[0] * 16 + digits[1], digits[2] * 16 + digits[3], digits[4] * 16 + digits[5]);
}
