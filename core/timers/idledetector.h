#pragma once

#include <cstdint>

// What the main window does after an idle tick.
enum class TidleAction
{
    None,
    ShowScreenSaver,
    CloseScreenSaver,
};

// The idle arithmetic behind the screensaver: fed the input weight counted since the last tick (see
// TactivityMonitor: mouse move 1, other mouse input 5, key 6), it keeps the time without input and tells
// when the screensaver should appear or go. Fewer than five mouse moves in one tick are jitter, not input;
// one click or key press is. The caller owns the 500 ms timer and resets its counter after every tick.
class TidleDetector
{
public:
    static constexpr std::uint32_t kTickInterval = 500;
    // Input weight within one tick that counts as the user being there.
    static constexpr std::uint32_t kActivityThreshold = 5;
    static constexpr int kMaxTimeout = 60;
    // A timeout of 0 minutes stands for a tenth of a minute.
    static constexpr std::uint64_t kShortestLimit = 6000;

    // Whole minutes, kept within 0..kMaxTimeout.
    int Timeout() const { return timeout_; }
    void SetTimeout(int minutes);
    // Milliseconds of idle time that must be exceeded before the screensaver shows.
    std::uint64_t Limit() const;

    // Milliseconds without counted input while the screensaver was not showing.
    std::uint64_t IdleTime() const { return idleTime_; }
    void ResetIdleTime() { idleTime_ = 0; }

    // One tick: `activity` is the weight counted since the previous tick, `showing` whether the screensaver
    // is up, `hostActive` whether the main window is the active window (the screensaver starts only then).
    TidleAction Tick(std::uint32_t activity, bool showing, bool hostActive);

private:
    int timeout_ = 0;
    std::uint64_t idleTime_ = 0;
};
