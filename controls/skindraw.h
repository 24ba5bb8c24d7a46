#pragma once

// Colour and skin-bitmap routines shared by the skinnable controls.
//
// Skin bitmaps are worked on as 24-bit scan lines (QImage::Format_BGR888: blue, green, red per pixel,
// the byte order of a 24-bit device-independent bitmap). Every rounded value is rounded to the nearest
// integer with halves going to the even neighbour, computed exactly where the inputs are integers.

#include "markup/color.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <span>

class QColor;
class QPainter;

// Three bytes of a 24-bit scan line, in their stored order.
struct TbgrTriple
{
    std::uint8_t Blue = 0;
    std::uint8_t Green = 0;
    std::uint8_t Red = 0;

    friend bool operator==(const TbgrTriple&, const TbgrTriple&) = default;
};

// The 24-bit number of a triple: red x 65536 + green x 256 + blue.
constexpr std::uint32_t BgrTripleValue(TbgrTriple t)
{
    return (std::uint32_t(t.Red) << 16) | (std::uint32_t(t.Green) << 8) | t.Blue;
}

// Rounds to the nearest integer, halves to the even neighbour.
int RoundHalfEven(double value);
// numerator / denominator rounded to the nearest integer, halves to even; denominator must not be 0.
int RoundDivHalfEven(long long numerator, long long denominator);

int ClampToByte(double value);
TColor BgrToColor(std::uint32_t pixel);
TbgrTriple ColorToBgrTriple(TColor color);
TbgrTriple ShadeBgrTriple(int greyLevel, TbgrTriple base);
bool IsGreyColor(std::uint32_t value);
bool ColorInList(TColor color, std::span<const TColor> list);

// Recolours the grey pixels of a skin of `frames` frames around mid-grey 128 (see the controls for each
// frame order). With more than one frame the last is the mask frame: where it holds a colour of
// `maskList` the grey takes `mainColor`, elsewhere `outerColor`. The bitmap becomes 24 bits per pixel.
void RecolorSkinBitmap(QImage& bitmap, int frames, TColor mainColor, std::span<const TColor> maskList,
                       TColor outerColor);
// A recoloured copy; convenience for the controls' caches.
QImage RecoloredSkin(const QImage& bitmap, int frames, TColor mainColor, std::span<const TColor> maskList,
                     TColor outerColor);

// Overlays a grey template on the target: 127 keeps the background, lighter levels lighten it, darker
// ones darken it, coloured template pixels are copied.
void DrawShadeMask(const QImage& templ, QImage& target, const QRect& templRect, const QRect& targetRect);

// Rings of graded lines in an RGB colour, then the inside filled with the colour.
void DrawGradientBevel(QPainter& canvas, const QRect& rect, TColor color, bool lowered, int width);

TColor LightenColor(TColor color, int percent);
TColor DarkenColor(TColor color, int percent);

// Resolves a system colour against the application palette; RGB values pass unchanged.
TColor SkinColorToRgb(TColor color);
// The resolved colour as a QColor.
QColor SkinColorToQColor(TColor color);

// A 24-bit copy of any image (empty stays empty).
QImage To24Bit(const QImage& image);
// The colour of one pixel of any image as a platform colour value.
TColor PixelColor(const QImage& image, int x, int y);
// True when (x, y) lies inside the image.
inline bool InsideImage(const QImage& image, int x, int y)
{
    return x >= 0 && y >= 0 && x < image.width() && y < image.height();
}
// An image counts as a bitmap only with both sides above 0.
inline bool IsEmptyBitmap(const QImage& image)
{
    return image.width() <= 0 || image.height() <= 0;
}
