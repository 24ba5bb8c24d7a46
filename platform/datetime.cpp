#include "datetime.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace platform {
namespace {

// Days from 1970-01-01 to the civil date (proleptic Gregorian calendar).
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day)
{
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

constexpr std::int64_t kDaysFrom1899To1970 = 25569;

// Out-of-range values would overflow the integer arithmetic below.
TDateTime Bounded(TDateTime value)
{
    if (std::isnan(value))
        return 0;
    return std::clamp(value, kMinDateTime, kMaxDateTime);
}

} // namespace

bool IsValidDateTime(TDateTime value)
{
    return value >= kMinDateTime && value <= kMaxDateTime;
}

TDateTime EncodeDate(int year, int month, int day)
{
    return static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                               kDaysFrom1899To1970);
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    return (hour * 3600000.0 + minute * 60000.0 + second * 1000.0 + millisecond) / (kSecondsPerDay * 1000.0);
}

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int millisecond)
{
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, millisecond);
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    value = Bounded(value);
    CivilFromDays(static_cast<std::int64_t>(std::floor(value)) - kDaysFrom1899To1970, year, month, day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond)
{
    value = Bounded(value);
    auto ms = static_cast<std::int64_t>(std::llround((value - std::floor(value)) * kSecondsPerDay * 1000.0));
    if (ms >= 86400000)
        ms = 86399999;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    millisecond = static_cast<int>(ms % 1000);
}

TDateTime DateTimeFromUnix(double unixSeconds)
{
    if (std::isnan(unixSeconds))
        return 0;
    // A day's margin either side leaves room for any time zone's offset.
    constexpr double kFirst = (kMinDateTime + 1 - kDaysFrom1899To1970) * kSecondsPerDay;
    constexpr double kLast = (kMaxDateTime - 1 - kDaysFrom1899To1970) * kSecondsPerDay;
    unixSeconds = std::clamp(unixSeconds, kFirst, kLast);
    const auto whole = static_cast<std::time_t>(std::floor(unixSeconds));
    std::tm local{};
    localtime_r(&whole, &local);
    const double fraction = unixSeconds - std::floor(unixSeconds);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           (local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction) / kSecondsPerDay;
}

double UnixFromDateTime(TDateTime value)
{
    int y, mo, d, h, mi, s, ms;
    DecodeDate(value, y, mo, d);
    DecodeTime(value, h, mi, s, ms);
    std::tm local{};
    local.tm_year = y - 1900;
    local.tm_mon = mo - 1;
    local.tm_mday = d;
    local.tm_hour = h;
    local.tm_min = mi;
    local.tm_sec = s;
    local.tm_isdst = -1;
    return static_cast<double>(std::mktime(&local)) + ms / 1000.0;
}

TDateTime Now()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return DateTimeFromUnix(std::chrono::duration<double>(now).count());
}

TDateTime Date()
{
    return std::floor(Now());
}

} // namespace platform
