#include "controls/skindraw.h"

#include "controls/qtcolor.h"

#include <QColor>
#include <QPainter>

#include <array>
#include <cmath>

namespace {

constexpr QImage::Format kFormat24 = QImage::Format_BGR888;

std::uint32_t ReadTriple(const std::uint8_t* p)
{
    return (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[1]) << 8) | p[0];
}

std::uint8_t Channel(int value)
{
    return static_cast<std::uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

// The shades of one base colour for every grey level, so recolouring is a table look-up per pixel.
std::array<TbgrTriple, 256> ShadeTable(TColor base)
{
    std::array<TbgrTriple, 256> table{};
    const TbgrTriple triple = ColorToBgrTriple(base);
    for (int g = 0; g < 256; ++g) {
        table[std::size_t(g)] = ShadeBgrTriple(g, triple);
    }
    return table;
}

// A line from `from` to `to` along one axis, the end point excluded, as the platform's line drawing does.
void AxisSpan(int from, int to, int& first, int& count)
{
    if (from < to) {
        first = from;
        count = to - from;
    } else {
        first = to + 1;
        count = from - to;
    }
}

void HorizontalLine(QPainter& p, int y, int x0, int x1, const QColor& color)
{
    int first = 0;
    int count = 0;
    AxisSpan(x0, x1, first, count);
    if (count > 0) {
        p.fillRect(QRect(first, y, count, 1), color);
    }
}

void VerticalLine(QPainter& p, int x, int y0, int y1, const QColor& color)
{
    int first = 0;
    int count = 0;
    AxisSpan(y0, y1, first, count);
    if (count > 0) {
        p.fillRect(QRect(x, first, 1, count), color);
    }
}

} // namespace

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

int RoundDivHalfEven(long long numerator, long long denominator)
{
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    const bool negative = numerator < 0;
    const long long n = negative ? -numerator : numerator;
    long long q = n / denominator;
    const long long twiceRest = 2 * (n % denominator);
    if (twiceRest > denominator || (twiceRest == denominator && (q & 1) != 0)) {
        ++q;
    }
    return static_cast<int>(negative ? -q : q);
}

int ClampToByte(double value)
{
    if (value < 0) {
        return 0;
    }
    if (value > 255) {
        return 255;
    }
    return RoundHalfEven(value);
}

TColor BgrToColor(std::uint32_t pixel)
{
    return RGBColor(int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF));
}

TbgrTriple ColorToBgrTriple(TColor color)
{
    return TbgrTriple{std::uint8_t(GetBValue(color)), std::uint8_t(GetGValue(color)),
                      std::uint8_t(GetRValue(color))};
}

TbgrTriple ShadeBgrTriple(int greyLevel, TbgrTriple base)
{
    const auto shade = [greyLevel](int c) -> std::uint8_t {
        if (greyLevel > 128) {
            return Channel(RoundDivHalfEven(127LL * c + (255LL - c) * (greyLevel - 128), 127));
        }
        if (greyLevel < 128) {
            // c - c * (128 - g) / 128 = c * g / 128
            return Channel(RoundDivHalfEven(static_cast<long long>(c) * greyLevel, 128));
        }
        return static_cast<std::uint8_t>(c);
    };
    return TbgrTriple{shade(base.Blue), shade(base.Green), shade(base.Red)};
}

bool IsGreyColor(std::uint32_t value)
{
    const std::uint32_t b0 = value & 0xFF;
    return b0 == ((value >> 8) & 0xFF) && b0 == ((value >> 16) & 0xFF);
}

bool ColorInList(TColor color, std::span<const TColor> list)
{
    for (const TColor entry : list) {
        if (entry == color) {
            return true;
        }
    }
    return false;
}

QImage To24Bit(const QImage& image)
{
    if (image.isNull()) {
        return QImage();
    }
    return image.format() == kFormat24 ? image : image.convertToFormat(kFormat24);
}

TColor PixelColor(const QImage& image, int x, int y)
{
    const QRgb rgb = image.pixel(x, y);
    return RGBColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
}

void RecolorSkinBitmap(QImage& bitmap, int frames, TColor mainColor, std::span<const TColor> maskList,
                       TColor outerColor)
{
    if (IsEmptyBitmap(bitmap) || frames <= 0) {
        return;
    }
    QImage work = To24Bit(bitmap);
    work.detach();
    const int frameWidth = work.width() / frames;
    if (frameWidth == 0) {
        return;
    }
    const int columns = frames == 1 ? work.width() : (frames - 1) * frameWidth;
    const int maskLeft = (frames - 1) * frameWidth;

    const auto mainTable = ShadeTable(SkinColorToRgb(mainColor));
    const auto outerTable = frames > 1 ? ShadeTable(SkinColorToRgb(outerColor)) : mainTable;

    for (int y = 0; y < work.height(); ++y) {
        std::uint8_t* line = work.scanLine(y);
        for (int x = 0; x < columns; ++x) {
            std::uint8_t* p = line + 3 * x;
            if (p[0] != p[1] || p[0] != p[2]) {
                continue;
            }
            const std::array<TbgrTriple, 256>* table = &mainTable;
            if (frames > 1) {
                const TColor mask = BgrToColor(ReadTriple(line + 3 * (maskLeft + x % frameWidth)));
                if (!ColorInList(mask, maskList)) {
                    table = &outerTable;
                }
            }
            const TbgrTriple shaded = (*table)[p[0]];
            p[0] = shaded.Blue;
            p[1] = shaded.Green;
            p[2] = shaded.Red;
        }
    }
    bitmap = std::move(work);
}

QImage RecoloredSkin(const QImage& bitmap, int frames, TColor mainColor, std::span<const TColor> maskList,
                     TColor outerColor)
{
    QImage copy = bitmap;
    RecolorSkinBitmap(copy, frames, mainColor, maskList, outerColor);
    return copy;
}

void DrawShadeMask(const QImage& templ, QImage& target, const QRect& templRect, const QRect& targetRect)
{
    if (templ.isNull() || target.isNull()) {
        return;
    }
    const int w = std::min(templRect.width(), targetRect.width());
    const int h = std::min(templRect.height(), targetRect.height());
    if (w <= 0 || h <= 0) {
        return;
    }
    const QImage t = To24Bit(templ.copy(templRect.x(), templRect.y(), w, h));
    QImage b = To24Bit(target.copy(targetRect.x(), targetRect.y(), w, h));
    b.detach();

    for (int y = 0; y < h; ++y) {
        const std::uint8_t* tl = t.constScanLine(y);
        std::uint8_t* bl = b.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* tp = tl + 3 * x;
            std::uint8_t* bp = bl + 3 * x;
            if (tp[0] != tp[1] || tp[0] != tp[2]) {
                bp[0] = tp[0];
                bp[1] = tp[1];
                bp[2] = tp[2];
                continue;
            }
            const int level = tp[0];
            if (level == 127) {
                continue;
            }
            if (level >= 128) {
                for (int i = 0; i < 3; ++i) {
                    const int c = bp[i];
                    // (255 - b) * (level - 127) / 128 is a multiple of 1/128: exact in a double.
                    bp[i] = Channel(c + ClampToByte((255.0 - c) * (level - 127) / 128.0));
                }
            } else {
                const float f = static_cast<float>(127 - level) / 127.0f;
                for (int i = 0; i < 3; ++i) {
                    const int c = bp[i];
                    bp[i] = Channel(c - RoundHalfEven(c * static_cast<double>(f)));
                }
            }
        }
    }

    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(targetRect.topLeft(), b);
}

void DrawGradientBevel(QPainter& canvas, const QRect& rect, TColor color, bool lowered, int width)
{
    const int L = rect.x();
    const int T = rect.y();
    const int W = rect.width();
    const int H = rect.height();
    const int n = std::max(width, 0);

    for (int f = 1; f <= n; ++f) {
        const TColor topLeft = lowered ? DarkenColor(color, RoundDivHalfEven(90LL * f, n))
                                       : LightenColor(color, RoundDivHalfEven(50LL * f, n));
        const QColor tl = SkinColorToQColor(topLeft);
        VerticalLine(canvas, L + f - 1, T + H - f, T + f - 2, tl);
        HorizontalLine(canvas, T + f - 1, L + f - 1, L + W - f + 1, tl);

        const TColor bottomRight = lowered
                                       ? DarkenColor(LightenColor(color, 30), RoundDivHalfEven(50LL * f, n))
                                       : DarkenColor(color, RoundDivHalfEven(90LL * (n - f + 1), n));
        const QColor br = SkinColorToQColor(bottomRight);
        VerticalLine(canvas, L + W - f, T + f - 1, T + H - f + 1, br);
        HorizontalLine(canvas, T + H - f, L + W - f, L + f - 1, br);
    }

    const QRect inside(QPoint(L + n, T + n), QPoint(L + W - n - 1, T + H - n - 1));
    if (inside.width() > 0 && inside.height() > 0) {
        canvas.fillRect(inside, SkinColorToQColor(color));
    }
}

TColor LightenColor(TColor color, int percent)
{
    const auto up = [percent](int c) {
        return Channel(RoundDivHalfEven(100LL * c + (255LL - c) * percent, 100));
    };
    return RGBColor(up(GetRValue(color)), up(GetGValue(color)), up(GetBValue(color)));
}

TColor DarkenColor(TColor color, int percent)
{
    const auto down = [percent](int c) {
        return Channel(RoundDivHalfEven(static_cast<long long>(c) * (100 - percent), 100));
    };
    return RGBColor(down(GetRValue(color)), down(GetGValue(color)), down(GetBValue(color)));
}

TColor SkinColorToRgb(TColor color)
{
    return IsSystemColor(color) ? PaletteSystemColor(SystemColorIndex(color)) : color & 0xFFFFFF;
}

QColor SkinColorToQColor(TColor color)
{
    const TColor rgb = SkinColorToRgb(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}
