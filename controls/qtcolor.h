#pragma once

#include "markup/color.h"

#include <QColor>

// The one conversion between TColor (red in the lowest byte) and QColor.
// System colours resolve through the application palette; clNone gives a transparent colour and clDefault
// an invalid one, which callers read as "use your own default".
QColor ToQColor(TColor color);
// An invalid colour gives clDefault, a fully transparent one clNone; alpha is dropped otherwise.
TColor FromQColor(const QColor& color);

// The current RGB value of system colour `index` from the application palette.
TColor PaletteSystemColor(int index);
// Makes ColorToRGB (and so ColorToHtml) read system colours from the application palette.
// The program calls it once its QApplication exists.
void InstallPaletteColorResolver();
