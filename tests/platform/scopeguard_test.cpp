#include "platform/scopeguard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

// Counts its brackets; EndUpdate throws when asked to, as a change handler may.
struct Bracketed
{
    int count = 0;
    int ended = 0;
    bool failOnEnd = false;

    void BeginUpdate() { ++count; }
    void EndUpdate()
    {
        --count;
        ++ended;
        if (failOnEnd)
            throw std::runtime_error("closing");
    }
};

} // namespace

TEST(ScopeGuard, UpdateBracketClosesOnceOnEveryWayOut)
{
    Bracketed target;
    {
        platform::TUpdateGuard guard(target);
        EXPECT_EQ(target.count, 1);
        guard.End();
        EXPECT_EQ(target.ended, 1);
    }
    EXPECT_EQ(target.count, 0);
    EXPECT_EQ(target.ended, 1);

    {
        const platform::TUpdateGuard guard(target);
    }
    EXPECT_EQ(target.ended, 2);

    // Unwinding closes the bracket the same way.
    try {
        const platform::TUpdateGuard guard(target);
        throw std::logic_error("work");
    } catch (const std::logic_error&) {
    }
    EXPECT_EQ(target.count, 0);
    EXPECT_EQ(target.ended, 3);
}

TEST(ScopeGuard, TheFirstFailureTravelsOn)
{
    Bracketed target;
    target.failOnEnd = true;
    // A closing step that fails on a normal exit reaches the caller, from End and from the scope's end.
    {
        platform::TUpdateGuard guard(target);
        EXPECT_THROW(guard.End(), std::runtime_error);
    }
    EXPECT_THROW({ const platform::TUpdateGuard guard(target); }, std::runtime_error);
    EXPECT_EQ(target.count, 0);

    // While unwinding, the work's failure goes on and the closing's own is dropped.
    std::string caught;
    try {
        const platform::TUpdateGuard guard(target);
        const platform::TScopeExit alsoFails([] { throw std::runtime_error("exit"); });
        throw std::logic_error("work");
    } catch (const std::exception& e) {
        caught = e.what();
    }
    EXPECT_EQ(caught, "work");
    EXPECT_EQ(target.count, 0);
}

TEST(ScopeGuard, ValuesComeBackAsTheyWere)
{
    bool flag = false;
    {
        const platform::TValueGuard outer(flag, true);
        {
            const platform::TValueGuard inner(flag, true);
        }
        EXPECT_TRUE(flag); // the inner guard puts back what it found, not false
    }
    EXPECT_FALSE(flag);

    std::string text = "before";
    EXPECT_THROW(
        {
            const platform::TValueGuard held(text, std::string("during"));
            throw std::runtime_error(text);
        },
        std::runtime_error);
    EXPECT_EQ(text, "before");

    int runs = 0;
    {
        platform::TScopeExit dismissed([&] { ++runs; });
        dismissed.Dismiss();
        const platform::TScopeExit kept([&] { ++runs; });
    }
    EXPECT_EQ(runs, 1);
}
