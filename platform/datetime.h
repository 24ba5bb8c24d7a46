#pragma once

#include <cstdint>
#include <ctime>

// Date-times are days since 30 Dec 1899 (the fraction is the time of day), in local time.
using TDateTime = double;

namespace platform {

constexpr double kSecondsPerDay = 86400.0;

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond = 0);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// Converts between Unix time (seconds since 1970 UTC) and a local date-time.
TDateTime DateTimeFromUnix(double unixSeconds);
double UnixFromDateTime(TDateTime value);

TDateTime Now();
TDateTime Date();

} // namespace platform
