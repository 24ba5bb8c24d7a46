// The CD scan over folders standing in for discs, with real WAV files read through the program's WAV
// plug-in, and the catalogues the library writes and loads.
#include "core/jukebox/cdscanner.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/jukebox/localjukeboxloader.h"
#include "core/plugins/taggerloader.h"
#include "support/discimage.h"
#include "support/fakeprompts.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kSerial = 0x0012AB34;

class CdScan : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugins_.AddFile(PELMORA_FILE, "TAG_Pelmora.so");
        TaggerLoader().SetSupportLevel(2);
        TaggerLoader().SetPluginFolder(plugins_.Path());
        ASSERT_EQ(TaggerLoader().GetCount(), 1);
        library.SetDataFolder(dir.File("Data"));
        loader.SetJukeboxList(&library);
        loader.OnStartGlobalLoad = [this](TcustomJukeboxLoader*) { ++reloads; };
    }
    void TearDown() override { ReleaseTaggerLoader(); }

    // A disc's root ("/" at the end) holding the given WAV files.
    std::string Disc(const std::string& folder, const std::vector<std::string>& files) const
    {
        std::filesystem::create_directories(dir.File(folder));
        for (const std::string& file : files)
            dir.Write(folder + "/" + file, wavbytes::Song(100));
        return dir.File(folder) + "/";
    }
    int Scan(bool force)
    {
        return TcdScanner(library, loader, [this] { return drives; }).ScanCDs(force);
    }
    std::string Catalogue(std::uint32_t serial = kSerial) const
    {
        return library.GetCDCatalogueFileName(serial);
    }
    // The stored names of a catalogue, as written.
    std::set<std::string> Stored(std::uint32_t serial = kSerial) const
    {
        TaudioTagList list;
        list.SetOwnsObjects(true);
        EXPECT_TRUE(list.LoadFromFile(Catalogue(serial), false));
        std::set<std::string> names;
        for (const TaudioTag* tag : list.Items())
            names.insert(tag->Filename());
        return names;
    }

    TempDir dir;
    TlocalJukeboxList library;
    TlocalJukeboxLoader loader;
    std::vector<TcdDrive> drives;
    TfakePrompts prompts;
    int reloads = 0;

private:
    TestPluginFolder plugins_;
};

TEST_F(CdScan, NewDiscIsAskedAboutScannedOnceAndReloaded)
{
    const std::string root = Disc("cd", {"Music/a.wav", "b.wav"});
    // No drive: nothing at all. An empty drive and an unreadable disc are passed over silently.
    EXPECT_EQ(Scan(false), 0);
    drives = {{dir.File("empty/"), 7}, {Disc("unreadable", {"x.wav"}), std::nullopt}, {root, kSerial}};
    EXPECT_EQ(Scan(false), 0); // the default answer is No: not scanned, not reloaded
    EXPECT_FALSE(std::filesystem::exists(Catalogue()));
    EXPECT_EQ(reloads, 0);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].caption, "New CD");
    EXPECT_EQ(prompts.boxes[0].text,
              "The CD in drive " + root +
                  " has not been scanned before.\r\rDo you wish to scan it for Mp3 files?");
    EXPECT_EQ(prompts.boxes[0].buttons, TmessageButtons::YesNo);

    prompts.answers = {TmessageResult::Yes};
    EXPECT_EQ(Scan(false), 1);
    EXPECT_EQ(Stored(), (std::set<std::string>{"d:\\Music\\a.wav", "d:\\b.wav"}));
    EXPECT_EQ(reloads, 1);
    EXPECT_FALSE(std::filesystem::exists(root + "orvane.obf")); // nothing written onto the disc

    // Known now: counted and reloaded, neither asked about nor scanned again, also when forced.
    Disc("cd", {"c.wav"});
    EXPECT_EQ(Scan(true), 1);
    EXPECT_EQ(prompts.boxes.size(), 2u);
    EXPECT_EQ(Stored().size(), 2u);
    EXPECT_EQ(reloads, 2);
}

TEST_F(CdScan, DiscSharingAnotherDiscsSerialIsAskedBeforeReplacing)
{
    const std::string first = Disc("first", {"one.wav"});
    const std::string second = Disc("second", {"two.wav"});
    drives = {{first, kSerial}};
    EXPECT_EQ(Scan(true), 1);

    // The second disc has the first one's serial: asked even when forced; No keeps the first disc's songs.
    drives = {{second, kSerial}};
    EXPECT_EQ(Scan(true), 1);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, TcdScanner::SameSerialText(second));
    EXPECT_EQ(Stored(), (std::set<std::string>{"d:\\one.wav"}));

    prompts.answers = {TmessageResult::Yes};
    EXPECT_EQ(Scan(false), 1);
    EXPECT_EQ(Stored(), (std::set<std::string>{"d:\\two.wav"}));
    EXPECT_EQ(reloads, 3);

    // A disc without songs leaves an empty catalogue, which says nothing against the next disc.
    drives = {{Disc("blank", {}), 0xFF}};
    EXPECT_EQ(Scan(true), 1);
    EXPECT_TRUE(Stored(0xFF).empty());
    drives = {{first, 0xFF}};
    EXPECT_EQ(Scan(false), 1);
    EXPECT_EQ(prompts.boxes.size(), 2u);
}

TEST_F(CdScan, CatalogueLoadsUnderAnotherMountPoint)
{
    // "\x01CD001\x01" sums to 31 74 45 30 by byte position; these four bytes bring it to 00 12 AB 34.
    const std::string iso = dir.Write("disc.iso", discimage::HandmadeIso(std::string("\x04\xCF\x9E\x66", 4)));
    Disc("media/cd", {"Music/a.wav"});
    {
        const ScopedEnv mounts("ORVANE_MOUNT_TABLE",
                               dir.Write("mounts1", iso + " " + dir.File("media/cd") + " iso9660 ro 0 0\n"));
        EXPECT_EQ(TcdScanner(library, loader).ScanCDs(true), 1);
    }
    ASSERT_EQ(Stored(), (std::set<std::string>{"d:\\Music\\a.wav"}));

    const std::string later = Disc("run/media/user/CD", {"Music/a.wav"});
    const ScopedEnv mounts(
        "ORVANE_MOUNT_TABLE",
        dir.Write("mounts2", iso + " " + dir.File("run/media/user/CD") + " iso9660 ro 0 0\n"));
    library.SetLoadCDs(true);
    EXPECT_EQ(TcdScanner(library, loader).ScanCDs(false), 1);
    EXPECT_TRUE(prompts.boxes.empty());
    ASSERT_EQ(library.GlobalList().Count(), 1);
    EXPECT_EQ(library.GlobalList().GetItem(0)->Filename(), later + "Music/a.wav");
}

} // namespace
