#pragma once

#include <string_view>

class TIniFile;

// Numbers the windows read from settings.ini, bounded: a size or position a screen cannot show, a font no
// one could read, a count past what the window offers gives the caller's default instead, so that a damaged
// or hand-made file can neither crash the program nor stall it laying out a window of a billion pixels.

// The largest width or height a window or panel may be given: the desktop's larger side (every screen
// together), at least kLeastExtentLimit and at most kMostExtentLimit.
int ExtentLimit();
inline constexpr int kLeastExtentLimit = 2048;
inline constexpr int kMostExtentLimit = 16384;

// A width or height of a window or panel: minValue..ExtentLimit().
int ReadExtent(const TIniFile& ini, std::string_view section, std::string_view ident, int defaultValue,
               int minValue = 1);
// A window's left or top: within ExtentLimit() of the desktop's origin either way.
int ReadPosition(const TIniFile& ini, std::string_view section, std::string_view ident, int defaultValue);
