#include "core/timers/alarmclock.h"

#include "platform/inifile.h"
#include "support/testmainthread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <locale>

using namespace std::chrono_literals;
using platform::EncodeDateTime;
using platform::EncodeTime;

namespace {

// A locale that writes "0,5", as a program following a German desktop would.
struct CommaPunct : std::numpunct<char>
{
    char do_decimal_point() const override { return ','; }
};

class AlarmClockTest : public ::testing::Test
{
protected:
    TalarmClock MakeClock()
    {
        return TalarmClock(
            &loop, [this] { return now.load(); }, 1);
    }

    TtestMainThread loop;
    std::atomic<TDateTime> now{EncodeDateTime(2024, 3, 5, 9, 0, 0)};
};

} // namespace

TEST_F(AlarmClockTest, KeptAlarmsSurviveARestartUnderAnyLocale)
{
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    TIniFile ini("");
    {
        TalarmClock clock = MakeClock();
        clock.AlarmOn().SetTime(EncodeTime(7, 30, 0));
        clock.AlarmOn().SetEnabled(true);
        clock.AlarmOff().SetTime(EncodeTime(22, 0, 0));
        clock.AlarmOff().SetEnabled(true);
        clock.SetMaintain(true);
        clock.SaveSettings(ini, "Alarm");
    }
    std::locale::global(previous);
    EXPECT_EQ(ini.ToText(), "[Alarm]\r\nMaintain=1\r\nTimeOn=0.3125\r\nTimeOff=0.9166666666666666\r\n"
                            "TimeOnEnabled=1\r\nTimeOffEnabled=1\r\n");

    TalarmClock next = MakeClock();
    next.LoadSettings(ini, "Alarm");
    EXPECT_TRUE(next.Maintain());
    EXPECT_EQ(next.AlarmOn().Time(), EncodeTime(7, 30, 0));
    EXPECT_EQ(next.AlarmOff().Time(), EncodeTime(22, 0, 0));
    EXPECT_TRUE(next.AlarmOn().Enabled() && next.AlarmOff().Enabled());

    // Without Maintain the switches are not read, but the times are.
    ini.WriteBool("Alarm", "Maintain", false);
    TalarmClock forgetful = MakeClock();
    forgetful.LoadSettings(ini, "Alarm");
    EXPECT_EQ(forgetful.AlarmOn().Time(), EncodeTime(7, 30, 0));
    EXPECT_FALSE(forgetful.AlarmOn().Enabled() || forgetful.AlarmOff().Enabled());
}

TEST_F(AlarmClockTest, TimesReadWithAPointOrACommaElseTheDefault)
{
    EXPECT_EQ(TalarmClock::ParseTime("0,25", 0.5), 0.25);
    EXPECT_EQ(TalarmClock::ParseTime(" 0.75 ", 0.5), 0.75);
    for (const char* bad : {"", "noon", "0,2,5", "0.25pm", "nan", "inf"})
        EXPECT_EQ(TalarmClock::ParseTime(bad, 0.5), 0.5) << bad;

    TIniFile ini("");
    ini.LoadFromText("[Alarm]\r\nTimeOn=0,3125\r\nTimeOff=\r\n");
    TalarmClock clock = MakeClock();
    clock.AlarmOff().SetTime(0.25);
    clock.LoadSettings(ini, "Alarm");
    EXPECT_EQ(clock.AlarmOn().Time(), EncodeTime(7, 30, 0));
    EXPECT_EQ(clock.AlarmOff().Time(), 0.5); // a missing value is noon
    EXPECT_FALSE(clock.AlarmOff().Enabled());
}

TEST_F(AlarmClockTest, AnAlarmSetAMinuteAheadFiresThenAndStopSilencesBoth)
{
    TalarmClock clock = MakeClock();
    int on = 0;
    int off = 0;
    clock.AlarmOn().OnTime = [&](Talarm*) { ++on; };
    clock.AlarmOff().OnTime = [&](Talarm*) { ++off; };
    clock.AlarmOn().SetTime(EncodeTime(9, 1, 0));
    clock.AlarmOn().SetEnabled(true);
    loop.RunFor(40ms);
    EXPECT_EQ(on, 0);

    now = EncodeDateTime(2024, 3, 5, 9, 1, 1);
    ASSERT_TRUE(loop.RunUntil([&] { return on == 1; }, 5s));

    clock.AlarmOff().SetTime(EncodeTime(9, 2, 0));
    clock.AlarmOff().SetEnabled(true);
    clock.Stop();
    now = EncodeDateTime(2024, 3, 6, 9, 5, 0);
    loop.RunFor(40ms);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(off, 0);
}
