#pragma once

#include "markup/fontdesc.h"

#include <string>

// Fonts the windows give by their height in pixels ("Arial 19 pixels") are kept in points, as the skin file
// and the font sets store them, converted at a fixed 96 dots per inch (rounded to the nearest point, halves
// up): the same number whatever the screen, so a skin reads and writes the same size everywhere.
constexpr int kFontPixelsPerInch = 96;

constexpr int PixelsToPoints(int pixels)
{
    const int scaled = pixels * 72;
    return scaled >= 0 ? (scaled + kFontPixelsPerInch / 2) / kFontPixelsPerInch
                       : -((-scaled + kFontPixelsPerInch / 2) / kFontPixelsPerInch);
}

// A font of that family (as asked for, whatever the system draws it with) and pixel height.
inline TFontDesc PixelFont(std::string name, int pixels, TColor color, TFontStyles style = {})
{
    TFontDesc font;
    font.Name = std::move(name);
    font.Size = PixelsToPoints(pixels);
    font.Color = color;
    font.Style = style;
    return font;
}
