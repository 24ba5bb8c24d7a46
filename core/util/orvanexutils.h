#pragma once

#include "core/util/filenamemask.h"
#include "platform/datetime.h"
#include "platform/stringlist.h"

#include <cstdint>
#include <string>
#include <string_view>

// Small routines shared by the library, the scanner, the player and the windows.

// The file name without its folder and without its extension (which starts at the last ".").
std::string ExtractFileNameOnly(std::string_view path);

// True when the file exists; never raises a system prompt for removable media.
bool FileExistsNoError(const std::string& fileName);
// True when the file exists and is a regular file (following links): never a folder, FIFO, socket or
// device, which would block or mislead a reader.
bool RegularFileExists(const std::string& fileName);

// The file's modification time as a local date-time; 0 when the file does not exist.
TDateTime GetFileDateTime(const std::string& fileName);

// Reads an integer as the framework's StrToIntDef does: leading blanks, a sign, decimal digits or "$" and hex
// digits; anything else, or a value beyond 32 bits, gives the default.
std::int64_t StrToIntDef(std::string_view s, std::int64_t def);

// "%d:%2.2d:%2.2d" of hours, minutes and seconds; 64-bit, as totals of whole libraries and stackers are.
std::string SecondsToHMS(std::int64_t seconds);
// "%d:%2.2d" of minutes and seconds; the minutes are not limited (3725 gives 62:05).
std::string SecondsToMS(int seconds);

// Shell special folders, by their identifiers (see platform/folders.h for the Linux counterparts).
// Throws EOrvaneError when the folder cannot be determined.
std::string GetSpecialFolderPath(int folderId);

// Replaces the strings by the root folders ("/" at the end) of the mounted optical discs, in mount-point
// order; a disc's root takes the place of a drive letter here. The strings' update is bracketed.
void GetCDRomDrives(TStrings& strings);

// The volume serial number of the disc mounted at root, as eight upper-case hexadecimal digits; output is
// left as it was when root is not the root of a mounted optical disc or its volume cannot be read.
void GetVolumeSerial(const std::string& root, std::string& output);
// A volume serial number as GetVolumeSerial gives it ("%8.8X").
std::string FormatVolumeSerial(std::uint32_t serial);
