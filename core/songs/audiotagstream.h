#pragma once

#include "core/songs/audiotag.h"
#include "core/songs/streamreader.h"
#include "core/songs/streamwriter.h"

#include <memory>

// The framework's component-stream encoding of one song, as song-list files store it: "TPF0", the class
// name, an empty component name, the property records (smallest integer forms, short and long strings, an
// 80-bit extended ModDate), the end of the properties and the end of the (empty) child list.

inline constexpr const char* kAudioTagClassName = "TaudioTag";

void WriteAudioTagComponent(TstreamWriter& stream, const TaudioTag& song);

// Reads one component stream; the properties may come in any order, absent ones keep their defaults.
// Throws EReadError on damaged or truncated data or an unknown property, EClassNotFound on another class.
std::unique_ptr<TaudioTag> ReadAudioTagComponent(TstreamReader& stream);

// Portable conversions between a double and the 10-byte little-endian x87 extended format.
void DoubleToExtended(double value, unsigned char out[10]);
double ExtendedToDouble(const unsigned char in[10]);
