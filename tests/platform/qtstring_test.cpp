#include "platform/qtstring.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

TEST(QtString, UTF8CrossesBothWaysWhole)
{
    const std::string text = "Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga \xF0\x9F\x8E\xB5";
    const QString shown = platform::ToQString(text);
    EXPECT_EQ(shown, QString::fromUtf8("Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga \xF0\x9F\x8E\xB5"));
    EXPECT_EQ(platform::FromQString(shown), text);

    // A view is taken to its length, not to a terminating zero; a zero inside survives.
    const std::string_view part = std::string_view("AlbumArtist").substr(0, 5);
    EXPECT_EQ(platform::ToQString(part), QStringLiteral("Album"));
    const std::string withZero("a\0b", 3);
    EXPECT_EQ(platform::FromQString(platform::ToQString(withZero)), withZero);
    EXPECT_TRUE(platform::FromQString(QString()).empty());
}
