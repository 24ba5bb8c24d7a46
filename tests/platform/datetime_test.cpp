#include "platform/datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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

TEST(DateTime, AnyValueDecodesWithinTheCalendar)
{
    const double inf = std::numeric_limits<double>::infinity();
    int y, m, d, h, mi, s, ms;
    for (const double value : {std::nan(""), inf, -inf, 1e300, -1e300, 9.3e18, -9.3e18}) {
        DecodeDate(value, y, m, d);
        DecodeTime(value, h, mi, s, ms);
        EXPECT_GE(y, 1) << value;
        EXPECT_LE(y, 9999) << value;
        EXPECT_GE(h, 0) << value;
        EXPECT_LE(h, 23) << value;
        EXPECT_FALSE(IsValidDateTime(value)) << value;
    }
    DecodeDate(1e300, y, m, d);
    DecodeTime(1e300, h, mi, s, ms);
    EXPECT_EQ(y * 10000 + m * 100 + d, 99991231);
    EXPECT_EQ(h * 10000 + mi * 100 + s, 235959);
    DecodeDate(-inf, y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 10101);
    DecodeDate(std::nan(""), y, m, d);
    EXPECT_EQ(y * 10000 + m * 100 + d, 18991230);

    EXPECT_TRUE(IsValidDateTime(EncodeDate(1, 1, 1)));
    EXPECT_TRUE(IsValidDateTime(EncodeDateTime(9999, 12, 31, 23, 59, 59, 999)));
    EXPECT_FALSE(IsValidDateTime(EncodeDate(10000, 1, 1)));

    EXPECT_EQ(DateTimeFromUnix(std::nan("")), 0.0);
    for (const double unix : {inf, -inf, 1e300, -1e300}) {
        EXPECT_TRUE(IsValidDateTime(DateTimeFromUnix(unix))) << unix;
        EXPECT_TRUE(std::isfinite(UnixFromDateTime(unix))) << unix;
    }
}
