#include "app/skins/skinreclist.h"

#include "app/skins/skincomponents.h"
#include "app/skins/skinfolder.h"
#include "controls/orvanebutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "core/captions/tagfonts.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <filesystem>

namespace {

std::vector<std::string> Titles(const TskinRecList& list)
{
    std::vector<std::string> titles;
    for (int i = 0; i < list.Count(); ++i)
        titles.push_back(list.Item(i)->Title);
    return titles;
}

} // namespace

TEST(SkinRecList, ListsUserAndShippedSkinsWithDefaultFirst)
{
    TempDir dir;
    const ScopedEnv home("ORVANE_HOME", dir.File("home"));
    const ScopedEnv bin("ORVANE_BIN_DIR", dir.File("bin"));
    for (const char* name : {"Zeta", "Default", "alpha"})
        dir.Write(std::string("home/Skins/") + name + "/skin.osk", "");
    dir.Write("home/Skins/NoFile/readme.txt", "");
    dir.Write("home/Skins/.hidden/skin.osk", "");
    dir.Write("home/Skins/Beta/skin.osk", "[Info]\r\nTitle=Beta Mine\r\nCreator=Me\r\nDescription=Blue\r\n");
    dir.Write("bin/Skins/Beta/skin.osk", "[Info]\r\nTitle=Beta Shipped\r\n");
    dir.Write("bin/Skins/Gamma/Skin.OSK", "");
    TskinRecList list;
    list.ScanInstalled();
    EXPECT_EQ(Titles(list), (std::vector<std::string>{"Default", "alpha", "Beta Mine", "Gamma", "Zeta"}));
    EXPECT_EQ(list.Item(2)->Creator, "Me");
    EXPECT_EQ(list.Item(2)->Description, "Blue");
    EXPECT_EQ(list.Item(3)->FileName, dir.File("bin/Skins/Gamma/Skin.OSK"));
    EXPECT_EQ(list.Item(5), nullptr);
    EXPECT_EQ(list.Item(-1), nullptr);
}

// The Default skin drawn at build time: every bitmap it names loads, and it sets every font set's section.
TEST(SkinRecList, TheShippedDefaultSkinIsWhole)
{
    const std::string file = platform::ShippedSkinsFolder() + "/Default/skin.osk";
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    TskinRecList list;
    list.Scan({platform::ShippedSkinsFolder()});
    ASSERT_GE(list.Count(), 1);
    EXPECT_EQ(list.Item(0)->Title, "Default");

    const TIniFile ini(file);
    for (const char* section :
         {"JukeboxList", "TrackList", "QueueList", "SongTitleBanner", "Other", "ScreenSaver"})
        EXPECT_TRUE(ini.SectionExists(section)) << section;
    for (const char* name : {"opnlTitle",
                             "opnlBodyTop",
                             "opnlBodyLeft",
                             "opnlBodyRight",
                             "opnlBodyBottom",
                             "opnlSongTitle",
                             "opnlControls",
                             "opnlStacker",
                             "opnlJukeboxListTop",
                             "opnlJukeboxListBottom",
                             "pnlJukeboxListLeft",
                             "opnlTrackListTop",
                             "opnlTrackListBottom",
                             "opnlTrackListLeft",
                             "opnlQueueListTop",
                             "opnlQueueListBottom",
                             "opnlQueueLeft",
                             "opnlCoverArt",
                             "obtnExit",
                             "obtnMenu",
                             "obtnHelp",
                             "obtnMinimize",
                             "obtnMaximize",
                             "obtnStackerConfigure",
                             "obtnStackerPower",
                             "sbJukeboxList",
                             "sbTrackList",
                             "sbQueueList",
                             "ombtnControls"}) {
        TStrings keys;
        ini.ReadSection(name, keys);
        EXPECT_GT(keys.Count(), 0) << name;
        for (int k = 0; k < keys.Count(); ++k) {
            const std::string bitmap = ini.ReadString(name, keys[k], "");
            EXPECT_TRUE(TskinFolder::IsPlainName(bitmap)) << bitmap;
            EXPECT_FALSE(
                QImage(platform::ToQString(platform::ShippedSkinsFolder() + "/Default/" + bitmap)).isNull())
                << bitmap;
        }
    }

    // Loaded onto a skinned button, the skin gives it the width of one frame.
    QWidget window;
    auto* exit = new TorvaneButton(&window);
    exit->setObjectName("obtnExit");
    TtagFonts saver;
    saver.SetNiceName("Screen Saver");
    saver.SetTitleFontNiceName("Title");
    TskinComponents components;
    components.AddChildren(&window);
    components.AddFontSet(&saver);
    TskinFolder skin(components);
    skin.ProcessMessages = nullptr;
    skin.LoadSkinFile(file);
    EXPECT_EQ(exit->width(), exit->SkinBitmap().width() / 3);
    EXPECT_EQ(saver.TitleFont().Name, "Arial Black");
}

// The main window's volume bar is as high as its time display (54 pixels): the Default skin's arrows and
// thumb must leave the thumb room to move there, else the volume cannot be set by the bar.
TEST(SkinRecList, TheShippedDefaultVolumeBarLeavesItsThumbRoom)
{
    const std::string folder = platform::ShippedSkinsFolder() + "/Default/";
    const TIniFile ini(folder + "skin.osk");
    const auto height = [&](const char* key) {
        return QImage(platform::ToQString(folder + ini.ReadString("sbVolume", key, ""))).height();
    };
    const int parts = height("UpImage") + height("DownImage") + height("ThumbImage");
    EXPECT_GT(height("ThumbImage"), 0);
    EXPECT_LE(parts + 8, 54) << "the thumb moves less than 8 pixels";
}
