#pragma once

#include "markup/fontdesc.h"

#include <QFont>

class QWidget;

// Point sizes above this are clamped: mark-up may ask for any number.
constexpr int kMaxFontPointSize = 1000;

// A size of 0 or less gives the application's default size.
QFont ToQFont(const TFontDesc& desc);
// The size is the font's point size, or the points its pixel size resolves to.
TFontDesc FromQFont(const QFont& font, TColor color);
// `base` changed in those attributes in which `to` differs from `from`; everything else of `base` (pixel
// sizes, weights between the styles, hinting) is kept.
QFont OverlayFontDesc(const QFont& base, const TFontDesc& from, const TFontDesc& to);

// A widget's font and text colour (its palette's text roles) as one value, and back.
void ApplyFontDesc(QWidget& widget, const TFontDesc& desc);
TFontDesc WidgetFontDesc(const QWidget& widget);
