#pragma once

#include <exception>
#include <utility>

// Scope guards: an action on every way out of a scope, an update bracket, a value held for a scope.
//
// One rule for all of them: the closing step runs however the scope ends, and runs the same way on an
// exception as on a normal exit (an update bracket closes with EndUpdate, so whoever follows the object hears
// of what was done before the failure). On a normal exit a closing step that throws reaches the caller like
// any other failure. While an exception unwinds the scope, a closing step that throws is dropped: the first
// failure is the one that travels on.
//
// Guards live on the stack of the scope they guard: they are neither copied nor moved.
namespace platform {

namespace detail {

// The closing rule shared by the guards.
class TScopeClose
{
public:
    TScopeClose(const TScopeClose&) = delete;
    TScopeClose& operator=(const TScopeClose&) = delete;

protected:
    TScopeClose() = default;
    ~TScopeClose() = default;

    template <class F>
    void Close(F&& step) const
    {
        if (std::uncaught_exceptions() > exceptions_) {
            try {
                step();
            } catch (...) { // NOLINT(bugprone-empty-catch): the failure already unwinding goes on
            }
        } else {
            step();
        }
    }

private:
    int exceptions_ = std::uncaught_exceptions();
};

} // namespace detail

// Runs action when the scope ends, unless Dismiss was called.
template <class F>
class TScopeExit : private detail::TScopeClose
{
public:
    explicit TScopeExit(F action) : action_(std::move(action)) {}
    ~TScopeExit() noexcept(false)
    {
        if (armed_)
            Close(action_);
    }

    void Dismiss() { armed_ = false; }

private:
    F action_;
    bool armed_ = true;
};

template <class T>
concept UpdateBracketed = requires(T& target)
{
    target.BeginUpdate();
    target.EndUpdate();
};

// BeginUpdate now, EndUpdate when the scope ends or at End, whichever comes first.
template <UpdateBracketed T>
class TUpdateGuard : private detail::TScopeClose
{
public:
    explicit TUpdateGuard(T& target) : target_(&target) { target.BeginUpdate(); }
    ~TUpdateGuard() noexcept(false)
    {
        if (T* const target = std::exchange(target_, nullptr))
            Close([target] { target->EndUpdate(); });
    }

    // Closes the bracket here, before the scope ends: its change step runs now.
    void End()
    {
        if (T* const target = std::exchange(target_, nullptr))
            target->EndUpdate();
    }

private:
    T* target_;
};

// Sets target to value for the scope and puts back the value it had before.
template <class T>
class TValueGuard : private detail::TScopeClose
{
public:
    TValueGuard(T& target, T value) : target_(target), before_(std::exchange(target, std::move(value))) {}
    ~TValueGuard() noexcept(false)
    {
        Close([this] { target_ = std::move(before_); });
    }

private:
    T& target_;
    T before_;
};

} // namespace platform
