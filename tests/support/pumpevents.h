#pragma once

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <thread>

// Runs the application's events (timer ticks and window messages among them) until condition holds; false
// when it still does not hold after timeout. The timeout only bounds a failing test, it is no speed limit.
inline bool PumpUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(10))
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Runs the application's events for a while.
inline void PumpFor(std::chrono::milliseconds duration)
{
    PumpUntil([] { return false; }, duration);
}
