#include "core/timers/idledetector.h"

#include <gtest/gtest.h>

namespace {

constexpr std::uint32_t kJitter = 4; // four mouse moves within one tick
constexpr std::uint32_t kClick = 10; // a press and a release
constexpr std::uint32_t kKey = 6;

// Quiet ticks until the detector asks for the screensaver; -1 when it has not after `most` ticks.
int TicksUntilShown(TidleDetector& detector, int most, std::uint32_t activity = 0, bool active = true)
{
    for (int tick = 1; tick <= most; ++tick) {
        if (detector.Tick(activity, false, active) == TidleAction::ShowScreenSaver)
            return tick;
    }
    return -1;
}

} // namespace

TEST(IdleDetector, TimeoutIsWholeMinutesWithZeroStandingForSixSeconds)
{
    TidleDetector detector;
    EXPECT_EQ(detector.Limit(), 6000u);
    detector.SetTimeout(60);
    EXPECT_EQ(detector.Limit(), 3600000u);
    detector.SetTimeout(61);
    EXPECT_EQ(detector.Timeout(), 60);
    detector.SetTimeout(-3);
    EXPECT_EQ(detector.Timeout(), 0);

    // More than the limit: 13 quiet ticks of 500 ms for 6 s, a tick past the hour for 60 minutes.
    EXPECT_EQ(TicksUntilShown(detector, 100), 13);
    EXPECT_EQ(detector.IdleTime(), 0u);
    detector.SetTimeout(60);
    EXPECT_EQ(TicksUntilShown(detector, 10000), 7201);
}

// Input below the threshold is jitter: it neither holds the idle time back nor closes the screensaver.
TEST(IdleDetector, OnlyInputAtTheThresholdCounts)
{
    TidleDetector detector;
    EXPECT_EQ(TicksUntilShown(detector, 100, kJitter), 13);

    for (int i = 0; i < 10; ++i)
        detector.Tick(0, false, true);
    EXPECT_EQ(detector.Tick(TidleDetector::kActivityThreshold, false, true), TidleAction::None);
    EXPECT_EQ(detector.IdleTime(), 0u);

    // While it shows, jitter and quiet ticks keep it up and the idle time at 0; a click closes it.
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(detector.Tick(i % 2 == 0 ? kJitter : 0, true, true), TidleAction::None);
    EXPECT_EQ(detector.IdleTime(), 0u);
    EXPECT_EQ(detector.Tick(kClick, true, true), TidleAction::CloseScreenSaver);
    EXPECT_EQ(detector.Tick(kKey, true, true), TidleAction::CloseScreenSaver);
    // Idle time starts again from nothing once it has gone.
    EXPECT_EQ(TicksUntilShown(detector, 100), 13);
}

TEST(IdleDetector, StartsOnlyWhileTheMainWindowIsActive)
{
    TidleDetector detector;
    EXPECT_EQ(TicksUntilShown(detector, 200, 0, false), -1);
    EXPECT_EQ(detector.IdleTime(), 200u * TidleDetector::kTickInterval);
    // The next quiet tick with the main window active shows it.
    EXPECT_EQ(detector.Tick(0, false, true), TidleAction::ShowScreenSaver);
}
