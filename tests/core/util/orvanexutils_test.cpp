#include "core/util/orvanexutils.h"

#include "platform/error.h"
#include "platform/folders.h"
#include "support/discimage.h"
#include "support/scopedenv.h"
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
    // A leading dot starts the extension too, so nothing is left.
    EXPECT_EQ(ExtractFileNameOnly("/music/.hidden"), "");
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

TEST(OrvaneXUtils, SpecialFolders)
{
    TempDir dir;
    const ScopedEnv home("HOME", dir.Path());
    const ScopedEnv config("XDG_CONFIG_HOME", nullptr);
    const ScopedEnv data("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(GetSpecialFolderPath(platform::CSIDL_MYMUSIC), dir.File("Music"));
    EXPECT_EQ(GetSpecialFolderPath(platform::CSIDL_APPDATA), dir.File(".config"));
    EXPECT_EQ(GetSpecialFolderPath(2), dir.File(".local/share/applications"));
    EXPECT_THROW(GetSpecialFolderPath(0x7777), EOrvaneError);
}

TEST(OrvaneXUtils, OpticalDrivesAndSerials)
{
    TempDir dir;
    // Header 01 "CD001" 01 sums to 31 74 45 30 by byte position; the next four bytes bring it to 000000FF.
    const std::string ff =
        dir.Write("ff.iso", discimage::HandmadeIso(std::string("\x00\xCF\x8C\xBB\xCF", 5)));
    const std::string other = dir.Write("other.iso", discimage::HandmadeIso("\x12"));
    dir.Write("media/B/song.mp3", "");
    dir.Write("media/A/song.mp3", "");
    const std::string table =
        dir.Write("mounts", "/dev/sda1 / ext4 rw 0 0\n" + ff + " " + dir.File("media/B") +
                                " iso9660 ro 0 0\n" + other + " " + dir.File("media/A") + " udf ro 0 0\n" +
                                dir.File("missing.iso") + " " + dir.File("media/C") + " iso9660 ro 0 0\n");
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE", table);

    TStrings drives;
    drives.Add("stale");
    int changes = 0;
    drives.OnChange = [&](TStrings*) { ++changes; };
    GetCDRomDrives(drives);
    EXPECT_EQ(changes, 1);
    ASSERT_EQ(drives.Count(), 3);
    EXPECT_EQ(drives[0], dir.File("media/A/"));
    EXPECT_EQ(drives[1], dir.File("media/B/"));
    EXPECT_EQ(drives[2], dir.File("media/C/"));

    std::string serial = "unchanged";
    GetVolumeSerial(drives[1], serial);
    EXPECT_EQ(serial, "000000FF");
    GetVolumeSerial(dir.File("media/A"), serial);
    EXPECT_EQ(serial, "31744542"); // 0x12 lands in the last byte position
    // Not a mounted disc, or a disc that cannot be read: the text stays as it was.
    serial = "unchanged";
    GetVolumeSerial(drives[2], serial);
    GetVolumeSerial(dir.File("media"), serial);
    GetVolumeSerial("/", serial);
    GetVolumeSerial("", serial);
    EXPECT_EQ(serial, "unchanged");
}

TEST(OrvaneXUtils, NoOpticalDrives)
{
    TempDir dir;
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE", dir.Write("mounts", "/dev/sda1 / ext4 rw 0 0\n"));
    TStrings drives;
    drives.Add("stale");
    GetCDRomDrives(drives);
    EXPECT_EQ(drives.Count(), 0);
}
