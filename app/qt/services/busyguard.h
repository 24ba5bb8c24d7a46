#pragma once

#include <functional>

// The main window's busy flag. While a long operation lets pending messages run (the progress window),
// commands that would start another long operation are refused, and a close request waits until the
// operation ends. Scopes nest; the deferred close runs when the outermost scope ends.
class TbusyGuard
{
public:
    class TScope
    {
    public:
        explicit TScope(TbusyGuard& guard);
        ~TScope();
        TScope(const TScope&) = delete;
        TScope& operator=(const TScope&) = delete;

    private:
        TbusyGuard& guard_;
    };

    bool Busy() const { return depth_ > 0; }

    // Asks to close: runs close now when idle, else once the operation ends. True when it ran now.
    bool RequestClose(std::function<void()> close);

private:
    void Leave();

    int depth_ = 0;
    std::function<void()> deferredClose_;
};
