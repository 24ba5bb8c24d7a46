#include "platform/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace platform;

TEST(DateTime, DaysSince1899)
{
    EXPECT_DOUBLE_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_DOUBLE_EQ(EncodeDate(1970, 1, 1), 25569.0);
    EXPECT_DOUBLE_EQ(EncodeDate(2000, 3, 1), 36586.0);
    EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0), 0.5);
    int y, m, d, h, mi, s, ms;
    DecodeDate(EncodeDate(2024, 2, 29) + 0.75, y, m, d);
    EXPECT_EQ(y, 2024);
    EXPECT_EQ(m, 2);
    EXPECT_EQ(d, 29);
    DecodeTime(EncodeTime(23, 59, 58, 250), h, mi, s, ms);
    EXPECT_EQ(h, 23);
    EXPECT_EQ(mi, 59);
    EXPECT_EQ(s, 58);
    EXPECT_EQ(ms, 250);
}

TEST(DateTime, UnixRoundTripInLocalTime)
{
    const double unix = 1700000000.5;
    EXPECT_NEAR(UnixFromDateTime(DateTimeFromUnix(unix)), unix, 0.002);
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
    EXPECT_EQ(Date(), std::floor(Now()));
}
