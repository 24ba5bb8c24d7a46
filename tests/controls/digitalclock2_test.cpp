#include "controls/clockswitch.h"
#include "controls/digitalclock2.h"

#include <gtest/gtest.h>

#include "platform/datetime.h"

using platform::EncodeDateTime;
using platform::EncodeTime;

namespace {

TDateTime At(int day, int hour, int minute, int second = 0)
{
    return EncodeDateTime(2024, 3, day, hour, minute, second);
}

} // namespace

TEST(ClockText, TwelveAndTwentyFourHourForms)
{
    EXPECT_EQ(ClockDisplayText(QStringLiteral("13:30"), TclockStyle::cs12hr), QStringLiteral(" 1:30p"));
    EXPECT_EQ(ClockDisplayText(QStringLiteral("00:05"), TclockStyle::cs12hr), QStringLiteral("12:05a"));
    EXPECT_EQ(ClockDisplayText(QStringLiteral("12:00"), TclockStyle::cs12hr), QStringLiteral("12:00p"));
    EXPECT_EQ(ClockDisplayText(QStringLiteral("12:59"), TclockStyle::cs12hr), QStringLiteral("12:59p"));
    EXPECT_EQ(ClockDisplayText(QStringLiteral("01:00"), TclockStyle::cs12hr), QStringLiteral(" 1:00a"));
    EXPECT_EQ(ClockDisplayText(QStringLiteral("23:59"), TclockStyle::cs12hr), QStringLiteral("11:59p"));
    EXPECT_EQ(ClockDisplayText(QStringLiteral("07:45"), TclockStyle::cs24hr), QStringLiteral("07:45"));
    EXPECT_EQ(ClockTimeText(At(1, 7, 5, 59)), QStringLiteral("07:05"));
    EXPECT_EQ(ClockTimeText(At(1, 0, 0)), QStringLiteral("00:00"));
}

TEST(ClockSwitch, FiresOnceAtTheFirstTickAfterItsTime)
{
    TclockSwitch on;
    on.SetUse(true);
    on.SetTime(EncodeTime(7, 0, 0));
    EXPECT_FALSE(on.Tick(At(1, 6, 59, 59)));
    EXPECT_FALSE(on.Tick(At(1, 7, 0, 0))); // strictly after
    EXPECT_TRUE(on.Tick(At(1, 7, 0, 1)));
    EXPECT_FALSE(on.Tick(At(1, 7, 0, 2)));
    EXPECT_FALSE(on.Tick(At(1, 18, 0, 0)));
    EXPECT_FALSE(on.Tick(At(2, 0, 0, 1)));
    EXPECT_TRUE(on.Tick(At(2, 7, 0, 1))); // the next day again
}

TEST(ClockSwitch, SettingTheTimeReArmsAndKeepsTheTimeOfDay)
{
    TclockSwitch on;
    on.SetUse(true);
    on.SetTime(EncodeTime(7, 0, 0));
    EXPECT_TRUE(on.Tick(At(1, 9, 0)));
    EXPECT_FALSE(on.Tick(At(1, 9, 1)));
    on.SetTime(EncodeTime(7, 0, 0)); // set again at 09:00: fires on the next tick
    EXPECT_TRUE(on.Tick(At(1, 9, 2)));

    on.SetTime(40000 + 0.75);
    EXPECT_DOUBLE_EQ(on.Time(), 0.75);
}

TEST(ClockSwitch, UnusedSwitchStaysArmed)
{
    TclockSwitch on;
    on.SetTime(EncodeTime(7, 0, 0));
    EXPECT_FALSE(on.Tick(At(1, 8, 0)));
    EXPECT_FALSE(on.Fired());
    on.SetUse(true);
    EXPECT_TRUE(on.Tick(At(1, 8, 0, 1)));
}

TEST(ClockSwitch, MidnightFiresEveryDay)
{
    TclockSwitch on;
    on.SetUse(true);
    on.SetTime(0);
    EXPECT_TRUE(on.Tick(At(1, 23, 59, 58))); // midnight is already past today
    EXPECT_FALSE(on.Tick(At(1, 23, 59, 59)));
    EXPECT_FALSE(on.Tick(At(2, 0, 0, 0)));
    EXPECT_TRUE(on.Tick(At(2, 0, 0, 1)));
    EXPECT_FALSE(on.Tick(At(2, 12, 0, 0)));
    EXPECT_FALSE(on.Tick(At(2, 23, 59, 59)));
    EXPECT_TRUE(on.Tick(At(3, 0, 0, 1)));
    // A tick missed at midnight still fires once on the new day.
    EXPECT_TRUE(on.Tick(At(4, 3, 0, 0)));
    EXPECT_FALSE(on.Tick(At(4, 3, 0, 1)));
}

TEST(DigitalClock, TicksRaiseTheEventsWithAFakeTimeSource)
{
    TdigitalClock2 clock;
    TDateTime now = At(1, 6, 59, 30);
    clock.SetTimeSource([&now] { return now; });
    int ons = 0;
    int offs = 0;
    clock.OnTimeOn = [&](QObject* sender) {
        EXPECT_EQ(sender, &clock);
        ++ons;
    };
    clock.OnTimeOff = [&](QObject*) { ++offs; };
    clock.SetUseTimeOn(true);
    clock.SetTimeOn(EncodeTime(7, 0, 0));
    clock.SetUseTimeOff(true);
    clock.SetTimeOff(EncodeTime(22, 30, 0));
    EXPECT_EQ(clock.TimeText(), QStringLiteral("12:00"));

    clock.TimerTick();
    EXPECT_EQ(clock.TimeText(), QStringLiteral("06:59"));
    EXPECT_EQ(clock.DisplayText(), QStringLiteral(" 6:59a"));
    EXPECT_EQ(ons, 0);
    now = At(1, 7, 0, 1);
    clock.TimerTick();
    EXPECT_EQ(ons, 1);
    now = At(1, 22, 31, 0);
    clock.TimerTick();
    EXPECT_EQ(ons, 1);
    EXPECT_EQ(offs, 1);
    clock.SetClockStyle(TclockStyle::cs24hr);
    EXPECT_EQ(clock.DisplayText(), QStringLiteral("22:31"));
    now = At(2, 7, 0, 1);
    clock.TimerTick();
    EXPECT_EQ(ons, 2);
    EXPECT_EQ(offs, 1);
}

TEST(DigitalClock, PaintsWithoutATick)
{
    TdigitalClock2 clock;
    clock.resize(60, 20);
    QImage image(clock.size(), QImage::Format_RGB32);
    clock.render(&image);
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
}
