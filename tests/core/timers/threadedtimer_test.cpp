#include "core/timers/threadedtimer.h"

#include "support/testmainthread.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Long enough for a failing condition to be plainly stuck; passing tests never wait this long.
constexpr auto kPatience = 5s;

class ThreadedTimerTest : public ::testing::Test
{
protected:
    // Declared first so that it outlives the timers of a test.
    TtestMainThread loop;
};

} // namespace

TEST_F(ThreadedTimerTest, StaysSilentWithoutIntervalEnabledOrHandler)
{
    TThreadedTimer timer(&loop);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_EQ(timer.Interval(), 1000u);
    EXPECT_EQ(timer.ThreadPriority(), tpNormal);

    int ticks = 0;
    timer.OnTimer = [&](TThreadedTimer*) { ++ticks; };
    timer.SetInterval(0);
    loop.RunFor(60ms);
    EXPECT_EQ(loop.RunCount(), 0u) << "a timer with interval 0 must not hand anything over";

    timer.SetInterval(5);
    timer.SetEnabled(false);
    loop.RunFor(60ms);
    EXPECT_EQ(loop.RunCount(), 0u);

    timer.OnTimer = nullptr;
    timer.SetEnabled(true);
    loop.RunFor(60ms);
    EXPECT_EQ(ticks, 0);

    timer.OnTimer = [&](TThreadedTimer*) { ++ticks; };
    EXPECT_TRUE(loop.RunUntil([&] { return ticks >= 2; }, kPatience));
}

TEST_F(ThreadedTimerTest, TicksOnTheCallingLoopWithTheTimerAsSenderAndCountsFromTheEndOfEachTick)
{
    TThreadedTimer timer(&loop);
    timer.SetThreadPriority(tpLower);
    std::vector<Clock::time_point> starts, ends;
    std::vector<TThreadedTimer*> senders;
    bool otherThread = false;
    timer.OnTimer = [&](TThreadedTimer* sender) {
        starts.push_back(Clock::now());
        senders.push_back(sender);
        otherThread = otherThread || QThread::currentThread() != QCoreApplication::instance()->thread();
        std::this_thread::sleep_for(15ms); // a slow handler delays the next tick
        ends.push_back(Clock::now());
    };
    timer.SetInterval(10);
    ASSERT_TRUE(loop.RunUntil([&] { return ends.size() >= 4; }, kPatience));

    EXPECT_FALSE(otherThread);
    for (TThreadedTimer* sender : senders)
        EXPECT_EQ(sender, &timer);
    for (std::size_t i = 1; i < starts.size(); ++i)
        EXPECT_GE(starts[i] - ends[i - 1], 10ms) << "tick " << i;
}

TEST_F(ThreadedTimerTest, HandlerMayDisableReenableOrRetimeItsTimer)
{
    TThreadedTimer timer(&loop);
    timer.SetInterval(5);
    int ticks = 0;
    timer.OnTimer = [&](TThreadedTimer* sender) {
        ++ticks;
        sender->SetEnabled(false);
    };
    ASSERT_TRUE(loop.RunUntil([&] { return ticks == 1; }, kPatience));
    loop.RunFor(60ms);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.Enabled());

    // Switched off and on again inside the tick: it goes on ticking, a full interval after the tick.
    Clock::time_point lastEnd;
    std::vector<Clock::duration> gaps;
    timer.OnTimer = [&](TThreadedTimer* sender) {
        if (lastEnd != Clock::time_point())
            gaps.push_back(Clock::now() - lastEnd);
        sender->SetEnabled(false);
        sender->SetEnabled(true);
        lastEnd = Clock::now();
    };
    timer.SetEnabled(true);
    ASSERT_TRUE(loop.RunUntil([&] { return gaps.size() >= 3; }, kPatience));
    for (const auto gap : gaps)
        EXPECT_GE(gap, 5ms);

    // A long interval set inside the tick holds the next tick back.
    ticks = 0;
    timer.OnTimer = [&](TThreadedTimer* sender) {
        ++ticks;
        sender->SetInterval(60000);
    };
    ASSERT_TRUE(loop.RunUntil([&] { return ticks == 1; }, kPatience));
    loop.RunFor(60ms);
    EXPECT_EQ(ticks, 1);

    // And a short one set between ticks cuts the long pause under way short.
    timer.SetInterval(5);
    EXPECT_TRUE(loop.RunUntil([&] { return ticks >= 2; }, kPatience));
}

TEST_F(ThreadedTimerTest, TicksNeverNestWhenTheHandlerLetsTheLoopRun)
{
    TThreadedTimer timer(&loop);
    TThreadedTimer other(&loop);
    int depth = 0, maxDepth = 0, ticks = 0, otherTicks = 0;
    timer.OnTimer = [&](TThreadedTimer*) {
        ++ticks;
        maxDepth = std::max(maxDepth, ++depth);
        const int before = otherTicks;
        loop.RunUntil([&] { return otherTicks >= before + 2; }, kPatience); // as a message pump would
        --depth;
    };
    other.OnTimer = [&](TThreadedTimer*) { ++otherTicks; };
    timer.SetInterval(1);
    other.SetInterval(1);
    ASSERT_TRUE(loop.RunUntil([&] { return ticks >= 3; }, kPatience));
    EXPECT_EQ(maxDepth, 1);
}

TEST_F(ThreadedTimerTest, DestroyedInsideItsOwnTickDeliversNothingMore)
{
    auto timer = std::make_unique<TThreadedTimer>(&loop);
    timer->SetInterval(1);
    int ticks = 0;
    timer->OnTimer = [&](TThreadedTimer*) {
        ++ticks;
        timer.reset();
    };
    ASSERT_TRUE(loop.RunUntil([&] { return timer == nullptr; }, kPatience));
    loop.RunFor(30ms);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(loop.QueuedCount(), 0u);
}

TEST_F(ThreadedTimerTest, DestroyedWhileItsWorkerWaitsForTheHandOver)
{
    for (int round = 0; round < 5; ++round) {
        int ticks = 0;
        auto timer = std::make_unique<TThreadedTimer>(&loop);
        timer->OnTimer = [&](TThreadedTimer*) { ++ticks; };
        timer->SetInterval(1);
        // The worker has queued a tick and now waits for it; joining it here must not wait for the tick.
        ASSERT_TRUE(loop.WaitForQueued(kPatience));
        timer.reset();
        loop.RunFor(10ms); // the stale tick runs now, against a timer that is gone
        EXPECT_EQ(ticks, 0);
        EXPECT_EQ(loop.QueuedCount(), 0u);
    }
}

TEST_F(ThreadedTimerTest, DestroyedPromptlyDuringALongPause)
{
    auto timer = std::make_unique<TThreadedTimer>(&loop);
    timer->OnTimer = [](TThreadedTimer*) {};
    timer->SetInterval(60000);
    std::this_thread::sleep_for(5ms);
    const auto start = Clock::now();
    timer.reset();
    EXPECT_LT(Clock::now() - start, 2s);
}

TEST_F(ThreadedTimerTest, QueuedTickIsDroppedWhenTheTimerIsPausedMeanwhile)
{
    TThreadedTimer timer(&loop);
    int ticks = 0;
    timer.OnTimer = [&](TThreadedTimer*) { ++ticks; };
    timer.SetInterval(1);
    ASSERT_TRUE(loop.WaitForQueued(kPatience));
    timer.SetEnabled(false);
    timer.SetEnabled(true); // a fresh cycle: the tick queued before does not count
    loop.RunUntil([&] { return loop.RunCount() >= 1; }, kPatience);
    EXPECT_EQ(ticks, 0);
    EXPECT_TRUE(loop.RunUntil([&] { return ticks >= 1; }, kPatience));
}

TEST(ThreadedTimerQt, TicksFromTheApplicationEventLoop)
{
    ASSERT_NE(TmainThread::Default(), nullptr);
    const auto runEvents = [](const std::function<bool()>& done) {
        const auto deadline = Clock::now() + kPatience;
        while (!done() && Clock::now() < deadline) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(1ms);
        }
        return done();
    };
    int ticks = 0;
    bool otherThread = false;
    auto timer = std::make_unique<TThreadedTimer>();
    timer->OnTimer = [&](TThreadedTimer*) {
        ++ticks;
        otherThread = otherThread || QThread::currentThread() != QCoreApplication::instance()->thread();
    };
    timer->SetInterval(2);
    ASSERT_TRUE(runEvents([&] { return ticks >= 3; }));
    EXPECT_FALSE(otherThread);

    // Freed with a tick very likely posted and unrun: the posted call must find the timer gone.
    std::this_thread::sleep_for(10ms);
    const int before = ticks;
    timer.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks, before);
}
