#pragma once

#include <cstdint>
#include <ctime>

// Date-times are days since 30 Dec 1899 (the fraction is the time of day), in local time.
using TDateTime = double;

namespace platform {

constexpr double kSecondsPerDay = 86400.0;

// The calendar's range: 1 Jan 0001 to the last millisecond of 31 Dec 9999.
constexpr TDateTime kMinDateTime = -693593.0;
constexpr TDateTime kMaxDateTime = 2958466.0 - 1.0 / (kSecondsPerDay * 1000.0);

// True for a finite value within the calendar's range.
bool IsValidDateTime(TDateTime value);

TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond = 0);
// Any value decodes: one outside the calendar's range as its nearest end, NaN as 0 (30 Dec 1899).
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// Converts between Unix time (seconds since 1970 UTC) and a local date-time. Unix times outside the
// calendar's range are taken as its nearest end; NaN as 0.
TDateTime DateTimeFromUnix(double unixSeconds);
double UnixFromDateTime(TDateTime value);

TDateTime Now();
TDateTime Date();

} // namespace platform
