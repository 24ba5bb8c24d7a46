#include "core/timers/alarmtime.h"

#include "platform/inifile.h"

#include <gtest/gtest.h>

#include <locale>

using platform::EncodeTime;

namespace {

// A locale that writes "0,5", as a program following a German desktop would.
struct CommaPunct : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};

} // namespace

TEST(AlarmTime, WrittenWithAPointUnderAnyLocaleAndReadBackExactly)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    TIniFile ini("");
    WriteAlarmTime(ini, "Alarm", "TimeOn", EncodeTime(7, 30, 0));
    WriteAlarmTime(ini, "Alarm", "TimeOff", EncodeTime(22, 0, 0));
    std::locale::global(previous);
    EXPECT_EQ(ini.ToText(), "[Alarm]\r\nTimeOn=0.3125\r\nTimeOff=0.9166666666666666\r\n");
    EXPECT_EQ(ReadAlarmTime(ini, "Alarm", "TimeOn", 0.5), EncodeTime(7, 30, 0));
    EXPECT_EQ(ReadAlarmTime(ini, "Alarm", "TimeOff", 0.5), EncodeTime(22, 0, 0));
}

TEST(AlarmTime, ReadWithAPointOrACommaElseTheDefault)
{
    TIniFile ini("");
    ini.LoadFromText("[Alarm]\r\nTimeOn=0,3125\r\nTimeOff=\r\n");
    EXPECT_EQ(ReadAlarmTime(ini, "Alarm", "TimeOn", 0.5), EncodeTime(7, 30, 0));
    EXPECT_EQ(ReadAlarmTime(ini, "Alarm", "TimeOff", 0.5), 0.5);
    EXPECT_EQ(ReadAlarmTime(ini, "Alarm", "Missing", 0.5), 0.5);
    EXPECT_EQ(ParseAlarmTime(" 0.75 ", 0.5), 0.75);
    EXPECT_EQ(ParseAlarmTime("45000,25", 0.5), 45000.25); // a full date-time: the alarm keeps its time of day
    for (const char* bad : {"noon", "0,2,5", "0.25pm", "nan", "inf", ","})
        EXPECT_EQ(ParseAlarmTime(bad, 0.5), 0.5) << bad;
}
