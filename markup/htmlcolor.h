#pragma once

#include "markup/color.h"

#include <string>
#include <string_view>

// Colour text "#RRGGBB" as HTML writes it; the bytes run the other way round from TColor.

// System colours are resolved to their current RGB value first.
std::string ColorToHtml(TColor color);
// RRGGBB or #RRGGBB in either case; anything else gives black.
TColor HtmlToColor(std::string_view text);
