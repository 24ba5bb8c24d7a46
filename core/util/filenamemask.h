#pragma once

#include "platform/stringlist.h"

#include <string_view>

// Appends to lines one "placeholder=value" line per placeholder of mask that name fills, last one first.
// Placeholders: %a artist, %b album, %t title, %n track number, %g genre. Shared with the WAV plug-in.
void ParseFileNameMask(std::string_view name, std::string_view mask, TStrings& lines);
