#include "platform/opticaldrives.h"

#include "support/discimage.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr std::size_t kSector = discimage::kSector;

const unsigned char* SectorOf(const std::string& image, std::size_t sector)
{
    return reinterpret_cast<const unsigned char*>(image.data() + sector * kSector);
}

// Writes a UDF descriptor tag (identifier, tag location, checksum) at the start of a sector.
void PutUdfTag(std::string& image, std::size_t sector, unsigned identifier)
{
    unsigned char* p = reinterpret_cast<unsigned char*>(image.data() + sector * kSector);
    p[0] = static_cast<unsigned char>(identifier);
    p[1] = 0;
    p[2] = 2; // descriptor version
    for (int i = 0; i < 4; ++i)
        p[12 + i] = static_cast<unsigned char>(sector >> (8 * i));
    unsigned sum = 0;
    for (int i = 0; i < 16; ++i)
        if (i != 4)
            sum += p[i];
    p[4] = static_cast<unsigned char>(sum);
}

// A UDF-only image: recognition sequence at 16-18, anchor at 256 pointing at a main sequence at 32 that
// holds a primary volume descriptor and a terminator.
std::string HandmadeUdf()
{
    std::string image(260 * kSector, '\0');
    const char* vrs[] = {"BEA01", "NSR02", "TEA01"};
    for (int i = 0; i < 3; ++i) {
        image[(16 + i) * kSector + 1] = 0;
        image.replace((16 + i) * kSector + 1, 5, vrs[i]);
        image[(16 + i) * kSector + 6] = 1;
    }
    PutUdfTag(image, 256, 2);
    unsigned char* anchor = reinterpret_cast<unsigned char*>(image.data() + 256 * kSector);
    anchor[16 + 1] = 0x80; // length 0x8000 = 16 sectors
    anchor[20] = 32;       // location 32
    PutUdfTag(image, 256, 2);
    PutUdfTag(image, 32, 1);
    image.replace(32 * kSector + 24, 9, "\x08MyVolume");
    PutUdfTag(image, 33, 8);
    return image;
}

} // namespace

TEST(OpticalMountTable, ParsesAndPicksOpticalDiscs)
{
    const std::string table = "sysfs /sys sysfs rw,nosuid 0 0\n"
                              "/dev/nvme0n1p2 / ext4 rw,relatime 0 0\n"
                              "/dev/sr1 /media/user/My\\040Disc udf ro,nosuid 0 0\n"
                              "/dev/sr0 /media/user/AUDIO_CD iso9660 ro 0 0\n"
                              "\n"
                              "garbage\n"
                              "/dev/loop3 /mnt/image iso9660 ro 0 0\n"
                              "/dev/cdrom /mnt/cd auto ro 0 0\n"
                              "/dev/sr2 /mnt/hidden iso9660 ro 0 0\n"
                              "tmpfs /mnt/hidden tmpfs rw 0 0\n"
                              "tmpfs /run tmpfs rw 0 0";
    const auto entries = ParseMountTable(table);
    ASSERT_EQ(entries.size(), 9u);
    EXPECT_EQ(entries[2].MountPoint, "/media/user/My Disc");
    EXPECT_EQ(entries[2].FsType, "udf");
    EXPECT_EQ(entries[8].MountPoint, "/run");

    const auto discs = OpticalDiscs(table);
    ASSERT_EQ(discs.size(), 4u);
    EXPECT_EQ(discs[0].Root, "/media/user/AUDIO_CD/");
    EXPECT_EQ(discs[0].Device, "/dev/sr0");
    EXPECT_EQ(discs[1].Root, "/media/user/My Disc/");
    EXPECT_EQ(discs[2].Root, "/mnt/cd/");
    EXPECT_EQ(discs[3].Root, "/mnt/image/");
    EXPECT_EQ(discs[3].FsType, "iso9660");

    EXPECT_TRUE(IsOpticalMount({"/dev/scd0", "/x", "auto"}));
    EXPECT_FALSE(IsOpticalMount({"/dev/sda1", "/x", "vfat"}));
    EXPECT_TRUE(OpticalDiscs("").empty());
    // The escape for a backslash itself, and a truncated escape kept as it is.
    EXPECT_EQ(ParseMountTable("/dev/sr0 /a\\134b\\04 iso9660 ro\n")[0].MountPoint, "/a\\b\\04");
}

TEST(OpticalSerial, ChecksumSumsEachBytePositionWithoutCarry)
{
    unsigned char d[kSector] = {};
    EXPECT_EQ(VolumeDescriptorChecksum(d), 0u);
    d[3] = 0xFF;
    EXPECT_EQ(VolumeDescriptorChecksum(d), 0x000000FFu);
    d[0] = 0x12;
    d[2045] = 0x34;
    EXPECT_EQ(VolumeDescriptorChecksum(d), 0x123400FFu);
    // 0xFF + 0x02 in the last position wraps to 0x01 and carries nothing into the next one.
    d[7] = 0x02;
    EXPECT_EQ(VolumeDescriptorChecksum(d), 0x12340001u);
}

TEST(OpticalSerial, HandmadeImages)
{
    TempDir dir;
    // Header 01 "CD001" 01 sums to 31 74 45 30 by position; the next four bytes bring it to 000000FF.
    const std::string iso = discimage::HandmadeIso(std::string("\x00\xCF\x8C\xBB\xCF", 5));
    EXPECT_EQ(ReadVolumeSerial(dir.Write("ff.iso", iso)), 0x000000FFu);
    EXPECT_EQ(ReadVolumeSerial(dir.Write("plain.iso", discimage::HandmadeIso(""))), 0x31744530u);

    const std::string udf = HandmadeUdf();
    EXPECT_EQ(ReadVolumeSerial(dir.Write("disc.udf", udf)), VolumeDescriptorChecksum(SectorOf(udf, 32)));

    std::string badAnchor = udf;
    badAnchor[256 * kSector + 4] ^= 1;
    EXPECT_FALSE(ReadVolumeSerial(dir.Write("bad.udf", badAnchor)).has_value());

    EXPECT_FALSE(ReadVolumeSerial(dir.Write("short.iso", iso.substr(0, 17 * kSector - 1))).has_value());
    EXPECT_FALSE(ReadVolumeSerial(dir.Write("zero.iso", std::string(40 * kSector, '\0'))).has_value());
    EXPECT_FALSE(ReadVolumeSerial(dir.File("missing.iso")).has_value());
    EXPECT_FALSE(ReadVolumeSerial(dir.Path()).has_value());
}

TEST(OpticalSerial, ImagesBuiltByAuthoringTools)
{
    if (!discimage::HasTool("genisoimage") && !discimage::HasTool("xorriso"))
        GTEST_SKIP() << "neither genisoimage nor xorriso is installed";
    TempDir dir;
    dir.Write("disc/Artist/Album/01 - Song.wav", std::string(5000, 'x'));
    dir.Write("disc/readme.txt", "hello");

    auto check = [&](const std::string& name, bool joliet) {
        const std::string image = TempDir::Read(dir.File(name));
        ASSERT_GT(image.size(), 20 * kSector);
        // Find the descriptor the rule names: the Joliet one when asked for, else the primary one.
        std::size_t wanted = 0;
        for (std::size_t s = 16; s < 32 && SectorOf(image, s)[0] != 255; ++s)
            if (SectorOf(image, s)[0] == (joliet ? 2 : 1) && wanted == 0)
                wanted = s;
        ASSERT_NE(wanted, 0u) << name;
        EXPECT_EQ(ReadVolumeSerial(dir.File(name)), VolumeDescriptorChecksum(SectorOf(image, wanted)))
            << name;
    };
    if (discimage::HasTool("genisoimage")) {
        ASSERT_TRUE(discimage::Genisoimage(dir.File("disc"), dir.File("plain.iso"), "PLAIN", "-r"));
        ASSERT_TRUE(discimage::Genisoimage(dir.File("disc"), dir.File("joliet.iso"), "JOLIET", "-r -J"));
        ASSERT_TRUE(discimage::Genisoimage(dir.File("disc"), dir.File("other.iso"), "OTHER", "-r"));
        check("plain.iso", false);
        check("joliet.iso", true);
        EXPECT_NE(ReadVolumeSerial(dir.File("plain.iso")), ReadVolumeSerial(dir.File("other.iso")));
        // A UDF bridge disc is named by its ISO 9660 side, whichever way it is mounted.
        if (discimage::Genisoimage(dir.File("disc"), dir.File("bridge.iso"), "BRIDGE", "-r -udf")) {
            check("bridge.iso", false);
            // Without a primary ISO 9660 descriptor the UDF side names it: its primary volume descriptor.
            std::string image = TempDir::Read(dir.File("bridge.iso"));
            ASSERT_EQ(image[16 * kSector], '\x01');
            image[16 * kSector] = 0;
            const unsigned char* anchor = SectorOf(image, 256);
            ASSERT_EQ(anchor[0], 2);
            const std::size_t mainSequence = anchor[20] | anchor[21] << 8 | anchor[22] << 16;
            ASSERT_EQ(SectorOf(image, mainSequence)[0], 1);
            EXPECT_EQ(ReadVolumeSerial(dir.Write("udfonly.iso", image)),
                      VolumeDescriptorChecksum(SectorOf(image, mainSequence)));
        } else {
            ADD_FAILURE() << "genisoimage -udf failed";
        }
    }
    if (discimage::HasTool("xorriso")) {
        ASSERT_TRUE(discimage::Xorriso(dir.File("disc"), dir.File("xorriso.iso"), "XORRISO", false));
        ASSERT_TRUE(discimage::Xorriso(dir.File("disc"), dir.File("xjoliet.iso"), "XORRISO", true));
        check("xorriso.iso", false);
        check("xjoliet.iso", true);
    }
}

TEST(OpticalSerial, SerialOfMountedRootThroughTheMountTable)
{
    TempDir dir;
    const std::string image =
        dir.Write("ff.iso", discimage::HandmadeIso(std::string("\x00\xCF\x8C\xBB\xCF", 5)));
    dir.Write("mnt/disc/a.mp3", "");
    const std::string table =
        dir.Write("mounts", image + " " + dir.File("mnt/disc") + " iso9660 ro 0 0\n" +
                                dir.File("missing.iso") + " " + dir.File("mnt/gone") + " udf ro 0 0\n");
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE", table);
    const auto discs = MountedOpticalDiscs();
    ASSERT_EQ(discs.size(), 2u);
    EXPECT_EQ(discs[0].Root, dir.File("mnt/disc/"));
    EXPECT_EQ(VolumeSerialOfRoot(dir.File("mnt/disc/")), 0x000000FFu);
    EXPECT_EQ(VolumeSerialOfRoot(dir.File("mnt/disc")), 0x000000FFu);
    EXPECT_FALSE(VolumeSerialOfRoot(dir.File("mnt/gone/")).has_value());
    EXPECT_FALSE(VolumeSerialOfRoot(dir.File("mnt/")).has_value());
    EXPECT_FALSE(VolumeSerialOfRoot("").has_value());
}

TEST(OpticalMountTable, PathsOnAMountedDisc)
{
    TempDir dir;
    const std::string table =
        dir.Write("mounts", "/dev/sr0 " + dir.File("media/cd") + " iso9660 ro 0 0\n" + "/dev/sda1 " +
                                dir.File("media/usb") + " vfat rw 0 0\n");
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE", table);
    EXPECT_TRUE(IsOnOpticalDisc(dir.File("media/cd")));
    EXPECT_TRUE(IsOnOpticalDisc(dir.File("media/cd/")));
    EXPECT_TRUE(IsOnOpticalDisc(dir.File("media/cd/Album/Disc 1")));
    // Whole folder names only: a sibling whose name starts the same is not on the disc.
    EXPECT_FALSE(IsOnOpticalDisc(dir.File("media/cd2/Album")));
    EXPECT_FALSE(IsOnOpticalDisc(dir.File("media")));
    EXPECT_FALSE(IsOnOpticalDisc(dir.File("media/usb/Music")));
    EXPECT_FALSE(IsOnOpticalDisc(""));
}
