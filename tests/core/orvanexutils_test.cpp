#include "core/orvanexutils.h"

#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <utime.h>

TEST(OrvaneXUtils, ExtractFileNameOnlyDropsFolderAndLastExtension)
{
    EXPECT_EQ(ExtractFileNameOnly("/music/Band/01 - Song.mp3"), "01 - Song");
    EXPECT_EQ(ExtractFileNameOnly("/music/a.b.c.ogg"), "a.b.c");
    EXPECT_EQ(ExtractFileNameOnly("/music/Readme"), "Readme");
    EXPECT_EQ(ExtractFileNameOnly("song.wav"), "song");
    // A dot in a folder name is not an extension.
    EXPECT_EQ(ExtractFileNameOnly("/music/Vol.2/Track"), "Track");
    EXPECT_EQ(ExtractFileNameOnly("/music/Vol.2/"), "");
    EXPECT_EQ(ExtractFileNameOnly("name."), "name");
    EXPECT_EQ(ExtractFileNameOnly(""), "");
}

TEST(OrvaneXUtils, FileExistenceAndModificationTime)
{
    TempDir dir;
    const std::string file = dir.Write("a.txt", "x");
    EXPECT_TRUE(FileExistsNoError(file));
    EXPECT_FALSE(FileExistsNoError(dir.Path()));
    EXPECT_FALSE(FileExistsNoError(dir.File("missing/a.txt")));
    EXPECT_FALSE(FileExistsNoError(""));
    EXPECT_EQ(GetFileDateTime(dir.File("missing/a.txt")), 0);
    EXPECT_EQ(GetFileDateTime(dir.Path()), 0);

    const utimbuf times{1700000000, 1700000000};
    ASSERT_EQ(::utime(file.c_str(), &times), 0);
    EXPECT_DOUBLE_EQ(GetFileDateTime(file), platform::DateTimeFromUnix(1700000000));
}

TEST(OrvaneXUtils, DurationFormats)
{
    EXPECT_EQ(SecondsToHMS(3725), "1:02:05");
    EXPECT_EQ(SecondsToHMS(0), "0:00:00");
    EXPECT_EQ(SecondsToHMS(59), "0:00:59");
    EXPECT_EQ(SecondsToHMS(360000), "100:00:00");
    EXPECT_EQ(SecondsToMS(59), "0:59");
    EXPECT_EQ(SecondsToMS(60), "1:00");
    EXPECT_EQ(SecondsToMS(3725), "62:05");
    EXPECT_EQ(SecondsToMS(2147483647), "35791394:07");
}
