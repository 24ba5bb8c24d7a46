#include "core/timers/alarmtime.h"

#include "platform/inifile.h"

#include <charconv>
#include <cmath>

namespace {

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

TDateTime ParseAlarmTime(std::string_view text, TDateTime defaultValue)
{
    std::string number(Trimmed(text));
    if (const auto comma = number.find(','); comma != std::string::npos)
        number[comma] = '.';
    double value = 0;
    const char* first = number.data();
    const char* last = first + number.size();
    const auto [end, error] = std::from_chars(first, last, value);
    if (number.empty() || error != std::errc() || end != last || !std::isfinite(value))
        return defaultValue;
    return value;
}

std::string FormatAlarmTime(TDateTime value)
{
    // to_chars never follows the locale, and its shortest form reads back to the same value.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

TDateTime ReadAlarmTime(const TIniFile& ini, std::string_view section, std::string_view ident,
                        TDateTime defaultValue)
{
    return ParseAlarmTime(ini.ReadString(section, ident, ""), defaultValue);
}

void WriteAlarmTime(TIniFile& ini, std::string_view section, std::string_view ident, TDateTime value)
{
    ini.WriteString(section, ident, FormatAlarmTime(value));
}
