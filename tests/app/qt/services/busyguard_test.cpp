#include "app/qt/services/busyguard.h"
#include "support/fakeprompts.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(BusyGuard, ACloseRequestWaitsForTheOutermostOperation)
{
    TbusyGuard guard;
    int closes = 0;
    EXPECT_TRUE(guard.RequestClose([&] { ++closes; }));
    EXPECT_EQ(closes, 1);
    {
        TbusyGuard::TScope outer(guard);
        {
            TbusyGuard::TScope inner(guard);
            EXPECT_TRUE(guard.Busy());
            EXPECT_FALSE(guard.RequestClose([&] { ++closes; }));
        }
        EXPECT_EQ(closes, 1);
        EXPECT_TRUE(guard.Busy());
    }
    EXPECT_FALSE(guard.Busy());
    EXPECT_EQ(closes, 2);
}

TEST(BusyGuard, AHeldCloseThatFailsIsShownAndTheGuardGoesOn)
{
    TfakePrompts prompts;
    TbusyGuard guard;
    {
        TbusyGuard::TScope busy(guard);
        EXPECT_FALSE(guard.RequestClose([] { throw std::runtime_error("Cannot write settings.ini"); }));
    }
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "Cannot write settings.ini");
    EXPECT_FALSE(guard.Busy());
    int closes = 0;
    EXPECT_TRUE(guard.RequestClose([&] { ++closes; }));
    EXPECT_EQ(closes, 1);
}
