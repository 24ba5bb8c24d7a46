#include "core/timers/alarm.h"

#include "support/testmainthread.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>

using namespace std::chrono_literals;
using platform::EncodeDate;
using platform::EncodeDateTime;
using platform::EncodeTime;

namespace {

constexpr auto kPatience = 5s;
// Several checks of an alarm that checks every millisecond.
constexpr auto kFewChecks = 40ms;

class AlarmTest : public ::testing::Test
{
protected:
    void SetNow(int year, int month, int day, int hour, int minute, int second)
    {
        now = EncodeDateTime(year, month, day, hour, minute, second);
    }

    std::unique_ptr<Talarm> MakeAlarm()
    {
        auto alarm = std::make_unique<Talarm>(
            &loop, [this] { return now.load(); }, 1);
        alarm->OnTime = [this](Talarm* sender) {
            ++fired;
            senders.push_back(sender);
            otherThread = otherThread || QThread::currentThread() != QCoreApplication::instance()->thread();
        };
        return alarm;
    }

    bool WaitForFired(int count)
    {
        return loop.RunUntil([&] { return fired >= count; }, kPatience);
    }

    TtestMainThread loop;
    std::atomic<TDateTime> now{0};
    int fired = 0;
    std::vector<Talarm*> senders;
    bool otherThread = false;
};

} // namespace

TEST_F(AlarmTest, FiresOnceShortlyAfterItsTimeOfDayEachDay)
{
    SetNow(2024, 3, 5, 6, 59, 59);
    auto alarm = MakeAlarm();
    EXPECT_FALSE(alarm->Enabled());
    EXPECT_EQ(alarm->Time(), 0.0);
    alarm->SetTime(EncodeTime(7, 0, 0));
    alarm->SetEnabled(true);
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 0);

    SetNow(2024, 3, 5, 7, 0, 0); // due only once strictly past
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 0);

    SetNow(2024, 3, 5, 7, 0, 1);
    ASSERT_TRUE(WaitForFired(1));
    SetNow(2024, 3, 5, 23, 59, 59);
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 1);

    SetNow(2024, 3, 6, 6, 59, 0);
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 1);
    SetNow(2024, 3, 6, 7, 0, 5);
    ASSERT_TRUE(WaitForFired(2));
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 2);

    EXPECT_FALSE(otherThread);
    EXPECT_EQ(senders, (std::vector<Talarm*>{alarm.get(), alarm.get()}));
}

// An evening's settings for the morning, set or read at start, disabled at its time and enabled later, or
// changed to a moment already past: each waits for its time tomorrow.
TEST_F(AlarmTest, ATimeAlreadyPastTodayIsDueTomorrow)
{
    SetNow(2024, 3, 5, 20, 0, 0);
    auto morning = MakeAlarm();
    morning->SetTime(EncodeDateTime(1999, 12, 31, 7, 0, 0));
    morning->SetEnabled(true);
    auto night = MakeAlarm();
    night->SetEnabled(true);
    night->SetTime(EncodeTime(2, 0, 0));
    auto atStart = MakeAlarm(); // enabled with its default time, midnight
    atStart->SetEnabled(true);
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 0);

    SetNow(2024, 3, 6, 0, 0, 1);
    ASSERT_TRUE(WaitForFired(1));
    SetNow(2024, 3, 6, 2, 0, 1);
    ASSERT_TRUE(WaitForFired(2));
    SetNow(2024, 3, 6, 7, 0, 1);
    ASSERT_TRUE(WaitForFired(3));
    EXPECT_EQ(senders, (std::vector<Talarm*>{atStart.get(), night.get(), morning.get()}));

    // Disabled at its time and enabled later that day; the same time stored again; a change to a moment
    // already past.
    atStart.reset();
    night.reset();
    morning->SetEnabled(false);
    SetNow(2024, 3, 7, 7, 0, 30);
    loop.RunFor(kFewChecks);
    SetNow(2024, 3, 7, 9, 0, 0);
    morning->SetEnabled(true);
    morning->SetTime(EncodeDate(2001, 1, 1) + EncodeTime(7, 0, 0)); // an unchanged settings dialog
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 3);
    SetNow(2024, 3, 8, 7, 0, 1);
    ASSERT_TRUE(WaitForFired(4));
    SetNow(2024, 3, 8, 9, 0, 0);
    morning->SetTime(EncodeTime(8, 30, 0));
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 4);
    SetNow(2024, 3, 9, 8, 30, 1);
    ASSERT_TRUE(WaitForFired(5));
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 5);
}

TEST_F(AlarmTest, DaysMissedWhileAsleepGiveOneAlarm)
{
    SetNow(2024, 3, 5, 6, 0, 0);
    auto alarm = MakeAlarm();
    alarm->SetTime(EncodeTime(7, 0, 0));
    alarm->SetEnabled(true);

    SetNow(2024, 3, 9, 12, 0, 0);
    ASSERT_TRUE(WaitForFired(1));
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 1);

    SetNow(2024, 3, 10, 6, 59, 59);
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 1);
    SetNow(2024, 3, 10, 7, 0, 1);
    ASSERT_TRUE(WaitForFired(2));
}

TEST_F(AlarmTest, TimeMovedWhileTheAlarmWaitsInTheQueueIsCheckedAgain)
{
    SetNow(2024, 3, 5, 6, 0, 0);
    auto alarm = MakeAlarm();
    alarm->SetTime(EncodeTime(7, 0, 0));
    alarm->SetEnabled(true);
    SetNow(2024, 3, 5, 7, 0, 1);
    ASSERT_TRUE(loop.WaitForQueued(kPatience));
    alarm->SetTime(EncodeTime(8, 0, 0));
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 0);
}

TEST_F(AlarmTest, DestroyedInsideOnTimeOrWithAnAlarmQueuedDeliversNothingMore)
{
    SetNow(2024, 3, 5, 6, 0, 0);
    auto alarm = MakeAlarm();
    alarm->SetTime(EncodeTime(7, 0, 0));
    alarm->SetEnabled(true);
    SetNow(2024, 3, 5, 7, 0, 1);
    alarm->OnTime = [&](Talarm*) {
        ++fired;
        alarm.reset();
    };
    ASSERT_TRUE(WaitForFired(1));
    loop.RunFor(kFewChecks);
    EXPECT_EQ(fired, 1);

    for (int round = 0; round < 5; ++round) {
        SetNow(2024, 3, 6 + round, 6, 0, 0);
        alarm = MakeAlarm();
        alarm->SetTime(EncodeTime(7, 0, 0));
        alarm->SetEnabled(true);
        SetNow(2024, 3, 6 + round, 7, 0, 1);
        ASSERT_TRUE(loop.WaitForQueued(kPatience));
        alarm.reset(); // the worker waits for the queued alarm; joining it must not wait for the alarm
        loop.RunFor(5ms);
        EXPECT_EQ(fired, 1);
        EXPECT_EQ(loop.QueuedCount(), 0u);
    }
}

TEST(AlarmQt, DefaultsToTheApplicationAndTheSystemClockAndStopsPromptly)
{
    const auto start = std::chrono::steady_clock::now();
    {
        Talarm alarm;
        alarm.SetTime(0.5);
        alarm.SetEnabled(true);
        QCoreApplication::processEvents();
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "the 10 s check must not hold up destruction";
}
