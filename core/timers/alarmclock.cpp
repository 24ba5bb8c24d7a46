#include "core/timers/alarmclock.h"

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

TalarmClock::TalarmClock(TmainThread* mainThread, Talarm::TClock clock, std::uint32_t checkInterval)
    : alarmOn_(mainThread, clock, checkInterval), alarmOff_(mainThread, clock, checkInterval)
{
    alarmOn_.SetTime(kDefaultTime);
    alarmOff_.SetTime(kDefaultTime);
}

void TalarmClock::LoadSettings(const TIniFile& ini, std::string_view section)
{
    maintain_ = ini.ReadBool(section, "Maintain", false);
    alarmOn_.SetTime(ReadTime(ini, section, "TimeOn", kDefaultTime));
    alarmOff_.SetTime(ReadTime(ini, section, "TimeOff", kDefaultTime));
    if (!maintain_)
        return;
    alarmOn_.SetEnabled(ini.ReadBool(section, "TimeOnEnabled", false));
    alarmOff_.SetEnabled(ini.ReadBool(section, "TimeOffEnabled", false));
}

void TalarmClock::SaveSettings(TIniFile& ini, std::string_view section) const
{
    ini.WriteBool(section, "Maintain", maintain_);
    WriteTime(ini, section, "TimeOn", alarmOn_.Time());
    WriteTime(ini, section, "TimeOff", alarmOff_.Time());
    ini.WriteBool(section, "TimeOnEnabled", alarmOn_.Enabled());
    ini.WriteBool(section, "TimeOffEnabled", alarmOff_.Enabled());
}

void TalarmClock::Stop()
{
    alarmOn_.SetEnabled(false);
    alarmOff_.SetEnabled(false);
}

TDateTime TalarmClock::ReadTime(const TIniFile& ini, std::string_view section, std::string_view ident,
                                TDateTime defaultValue)
{
    return ParseTime(ini.ReadString(section, ident, ""), defaultValue);
}

void TalarmClock::WriteTime(TIniFile& ini, std::string_view section, std::string_view ident, TDateTime value)
{
    ini.WriteString(section, ident, FormatTime(value));
}

TDateTime TalarmClock::ParseTime(std::string_view text, TDateTime defaultValue)
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

std::string TalarmClock::FormatTime(TDateTime value)
{
    // to_chars never follows the locale, and its shortest form reads back to the same value.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}
