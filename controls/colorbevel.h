#pragma once

// Bevels shaded from a panel's own colour rather than the system's button colours, so that a panel of
// any colour looks raised or sunk in that colour. Shared by the colour panels and the on-screen keyboard.

#include "controls/orvanepanel.h"
#include "markup/color.h"

#include <QRect>

class QPainter;

// Each channel moved n/255 of the way toward white, rounded to nearest (halves to even), at most 255.
TColor LightenColor256(TColor color, int n);
// Each channel less (channel x n) div 256.
TColor DarkenColor256(TColor color, int n);

// Width of a panel's frame: each bevel that is not bvNone adds bevelWidth, then the border.
int BevelExtent(TPanelBevel outer, TPanelBevel inner, int bevelWidth, int borderWidth);

// The four shades of a bevel in drawing order: top, left, right, bottom.
struct TbevelShades
{
    TColor Top = 0;
    TColor Left = 0;
    TColor Right = 0;
    TColor Bottom = 0;
};
// Shades of a raised or lowered bevel in an RGB colour; other kinds give all four equal to the colour.
TbevelShades ColorBevelShades(TPanelBevel kind, TColor rgb);

// Draws a raised or lowered bevel `width` pixels wide just inside rect (right and bottom exclusive, as
// the framework's rectangles); other kinds draw nothing. System colours are resolved first.
void DrawColorBevel(QPainter& canvas, const QRect& rect, TPanelBevel kind, TColor color, int width);
