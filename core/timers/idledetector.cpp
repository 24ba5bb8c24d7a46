#include "core/timers/idledetector.h"

#include <algorithm>

void TidleDetector::SetTimeout(int minutes)
{
    timeout_ = std::clamp(minutes, 0, kMaxTimeout);
}

std::uint64_t TidleDetector::Limit() const
{
    if (timeout_ == 0)
        return kShortestLimit;
    return static_cast<std::uint64_t>(timeout_) * 60 * 1000;
}

TidleAction TidleDetector::Tick(std::uint32_t activity, bool showing, bool hostActive)
{
    if (activity >= kActivityThreshold) {
        idleTime_ = 0;
        return showing ? TidleAction::CloseScreenSaver : TidleAction::None;
    }
    if (showing) {
        // The screensaver stays up; the idle time starts again once it has gone.
        idleTime_ = 0;
        return TidleAction::None;
    }
    idleTime_ += kTickInterval;
    if (hostActive && idleTime_ > Limit()) {
        idleTime_ = 0;
        return TidleAction::ShowScreenSaver;
    }
    return TidleAction::None;
}
