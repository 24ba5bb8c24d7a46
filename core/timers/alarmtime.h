#pragma once

#include "platform/datetime.h"

#include <string>
#include <string_view>

class TIniFile;

// Alarm times in the settings file (section Alarm, keys TimeOn and TimeOff): a date-time as a decimal
// fraction of a day, written with a "." whatever the user's locale. A "," is read as well, so a file
// written by a program that followed a comma locale keeps its alarms. Text that is not a finite number
// (an empty value included) gives the default.
TDateTime ParseAlarmTime(std::string_view text, TDateTime defaultValue);
std::string FormatAlarmTime(TDateTime value);

TDateTime ReadAlarmTime(const TIniFile& ini, std::string_view section, std::string_view ident,
                        TDateTime defaultValue);
void WriteAlarmTime(TIniFile& ini, std::string_view section, std::string_view ident, TDateTime value);
