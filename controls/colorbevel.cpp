#include "controls/colorbevel.h"

#include "controls/qtcolor.h"
#include "controls/skindraw.h"

#include <QPainter>

namespace {

int LightenChannel(int x, int n)
{
    const int up = x + RoundDivHalfEven(static_cast<long long>(255 - x) * n, 255);
    return up > 255 ? 255 : (up < 0 ? 0 : up);
}

int DarkenChannel(int x, int n)
{
    const int down = x - (x * n) / 256;
    return down > 255 ? 255 : (down < 0 ? 0 : down);
}

int BevelSize(TPanelBevel bevel, int width)
{
    return bevel == TPanelBevel::bvNone ? 0 : width;
}

} // namespace

TColor LightenColor256(TColor color, int n)
{
    const TColor rgb = ColorToRGB(color);
    return RGBColor(LightenChannel(GetRValue(rgb), n), LightenChannel(GetGValue(rgb), n),
                    LightenChannel(GetBValue(rgb), n));
}

TColor DarkenColor256(TColor color, int n)
{
    const TColor rgb = ColorToRGB(color);
    return RGBColor(DarkenChannel(GetRValue(rgb), n), DarkenChannel(GetGValue(rgb), n),
                    DarkenChannel(GetBValue(rgb), n));
}

int BevelExtent(TPanelBevel outer, TPanelBevel inner, int bevelWidth, int borderWidth)
{
    return BevelSize(outer, bevelWidth) + BevelSize(inner, bevelWidth) + borderWidth;
}

TbevelShades ColorBevelShades(TPanelBevel kind, TColor rgb)
{
    switch (kind) {
    case TPanelBevel::bvRaised:
        return {LightenColor256(rgb, 128), LightenColor256(rgb, 96), DarkenColor256(rgb, 64),
                DarkenColor256(rgb, 96)};
    case TPanelBevel::bvLowered:
        return {DarkenColor256(rgb, 96), DarkenColor256(rgb, 64), LightenColor256(rgb, 64),
                LightenColor256(rgb, 128)};
    default:
        return {rgb, rgb, rgb, rgb};
    }
}

void DrawColorBevel(QPainter& canvas, const QRect& rect, TPanelBevel kind, TColor color, int width)
{
    if (kind != TPanelBevel::bvRaised && kind != TPanelBevel::bvLowered) {
        return;
    }
    if (width < 1) {
        return;
    }
    const TbevelShades shades = ColorBevelShades(kind, ColorToRGB(color));
    // The four sides are trapezoids meeting on the diagonals; filled row by row (or column by column),
    // edges included, they cover exactly what a polygon drawn with pen and brush in one colour covers.
    const int L = rect.left();
    const int T = rect.top();
    const int r = rect.left() + rect.width() - 1;
    const int b = rect.top() + rect.height() - 1;
    const int d = width - 1;
    const auto row = [&canvas](int y, int x0, int x1, const QColor& c) {
        if (x1 >= x0) {
            canvas.fillRect(QRect(x0, y, x1 - x0 + 1, 1), c);
        }
    };
    const auto column = [&canvas](int x, int y0, int y1, const QColor& c) {
        if (y1 >= y0) {
            canvas.fillRect(QRect(x, y0, 1, y1 - y0 + 1), c);
        }
    };
    const QColor top = ToQColor(shades.Top);
    const QColor left = ToQColor(shades.Left);
    const QColor right = ToQColor(shades.Right);
    const QColor bottom = ToQColor(shades.Bottom);
    for (int k = 0; k <= d; ++k) {
        row(T + k, L + k, r - k, top);
    }
    for (int k = 0; k <= d; ++k) {
        column(L + k, T + k, b - k, left);
    }
    for (int k = 0; k <= d; ++k) {
        column(r - k, T + k, b - k, right);
    }
    for (int k = 0; k <= d; ++k) {
        row(b - k, L + k, r - k, bottom);
    }
}
