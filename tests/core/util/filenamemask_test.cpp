#include "core/util/filenamemask.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Parse(std::string_view name, std::string_view mask)
{
    TStrings lines;
    ParseFileNameMask(name, mask, lines);
    std::vector<std::string> out;
    for (const auto& item : lines)
        out.push_back(item.text);
    return out;
}

using Lines = std::vector<std::string>;

} // namespace

TEST(FileNameMask, FillsPlaceholdersLastOneFirst)
{
    EXPECT_EQ(Parse("Song - Band - 05", "%t - %a - %n"), (Lines{"%n=05", "%a=Band", "%t=Song"}));
    EXPECT_EQ(Parse("[05] Song", "[%n] %t"), (Lines{"%t=Song", "%n=05"}));
    EXPECT_EQ(Parse("Band_Album_03_Title_Rock", "%a_%b_%n_%t_%g"),
              (Lines{"%g=Rock", "%t=Title", "%n=03", "%b=Album", "%a=Band"}));
}

TEST(FileNameMask, MissingSeparatorGivesTheRestToThePlaceholder)
{
    EXPECT_EQ(Parse("Song", "%t - %a - %n"), (Lines{"%t=Song"}));
    EXPECT_EQ(Parse("Song - Band", "%t - %a - %n"), (Lines{"%a=Band", "%t=Song"}));
    EXPECT_EQ(Parse("Whole Name - x", "%t"), (Lines{"%t=Whole Name - x"}));
    // Adjacent placeholders have no separator between them: the first takes everything.
    EXPECT_EQ(Parse("BandSong", "%a%t"), (Lines{"%a=BandSong"}));
}

TEST(FileNameMask, PrefixIsDroppedByLengthWhereverItWasFound)
{
    EXPECT_EQ(Parse("x[05] Song", "[%n] %t"), (Lines{"%t=Song", "%n=[05"}));
    // A prefix that does not occur at all gives the whole name to the placeholder, nothing dropped.
    EXPECT_EQ(Parse("05 Song", "[%n] %t"), (Lines{"%n=05 Song"}));
    // Dropping counts characters, not bytes: a name never gets cut inside a character.
    EXPECT_EQ(Parse("\xC3\xA9[05] Song", "[%n] %t"), (Lines{"%t=Song", "%n=[05"}));
    EXPECT_EQ(Parse("[05] Song", "\xC3\xA9%n] %t"), (Lines{"%n=[05] Song"}));
    // A placeholder letter outside ASCII is one character too; its separator still matches.
    EXPECT_EQ(Parse("x - y", "%\xC3\xA9 - %t"), (Lines{"%t=y", "%\xC3\xA9=x"}));
}

TEST(FileNameMask, OddMasks)
{
    EXPECT_TRUE(Parse("Song", "no placeholder").empty());
    EXPECT_TRUE(Parse("Song", "").empty());
    EXPECT_EQ(Parse("", "%t"), (Lines{"%t="}));
    // A lone "%" at the end is a placeholder of its own.
    EXPECT_EQ(Parse("Song - x", "%t - %"), (Lines{"%=x", "%t=Song"}));
    // A trailing literal ends the match; the text it matched is not part of any value.
    EXPECT_EQ(Parse("Song.x", "%t.x"), (Lines{"%t=Song"}));
    // A repeated placeholder gives two lines; a lookup by name finds the last occurrence's, listed first.
    TStrings lines;
    ParseFileNameMask("A - B", "%t - %t", lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines.Values("%T"), "B");
}

TEST(FileNameMask, AppendsToExistingLinesAndSurvivesLongMasks)
{
    TStrings lines;
    lines.Add("keep");
    ParseFileNameMask("a-b", "%a-%b", lines);
    EXPECT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines[0], "keep");

    std::string mask;
    std::string name;
    for (int i = 0; i < 200000; ++i) {
        mask += "%t-";
        name += "x-";
    }
    TStrings many;
    ParseFileNameMask(name, mask, many);
    EXPECT_EQ(many.Count(), 200000);
    EXPECT_EQ(many[0], "%t=x");
}
