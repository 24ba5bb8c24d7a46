#include "platform/folders.h"

#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace platform;

TEST(Folders, UserFoldersFromXdgSettings)
{
    TempDir dir;
    const ScopedEnv home("HOME", dir.Path());
    const ScopedEnv config("XDG_CONFIG_HOME", dir.File("cfg"));
    const ScopedEnv data("XDG_DATA_HOME", nullptr);
    dir.Write("cfg/user-dirs.dirs", "# written by xdg-user-dirs-update\n"
                                    "XDG_MUSIC_DIR=\"$HOME/Meine Musik\"\n"
                                    "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\r\n"
                                    "XDG_PICTURES_DIR=\"relative/ignored\"\n"
                                    "XDG_VIDEOS_DIR=\"$HOMEVIDEOS\"\n"
                                    "XDG_DESKTOP_DIR=\"$HOME/Old\"\n"
                                    "XDG_DESKTOP_DIR=\"$HOME/Desk\"\n");
    EXPECT_EQ(SpecialFolder(CSIDL_MYMUSIC), dir.File("Meine Musik"));
    EXPECT_EQ(SpecialFolder(CSIDL_PERSONAL), "/srv/docs");
    EXPECT_EQ(SpecialFolder(CSIDL_MYPICTURES), dir.File("Pictures"));
    EXPECT_EQ(SpecialFolder(CSIDL_MYVIDEO), dir.File("Videos"));
    EXPECT_EQ(SpecialFolder(CSIDL_DESKTOP), dir.File("Desk"));
    EXPECT_EQ(SpecialFolder(CSIDL_DESKTOPDIRECTORY), dir.File("Desk"));
    EXPECT_EQ(SpecialFolder(CSIDL_TEMPLATES), dir.File("Templates"));
    EXPECT_EQ(SpecialFolder(CSIDL_APPDATA), dir.File("cfg"));
    EXPECT_EQ(SpecialFolder(CSIDL_STARTUP), dir.File("cfg/autostart"));
    EXPECT_EQ(SpecialFolder(CSIDL_LOCAL_APPDATA), dir.File(".local/share"));
    EXPECT_EQ(SpecialFolder(CSIDL_PROGRAMS), dir.File(".local/share/applications"));
    EXPECT_EQ(SpecialFolder(CSIDL_PROFILE), dir.Path());
    EXPECT_FALSE(SpecialFolder(0x7777).has_value());
    EXPECT_FALSE(SpecialFolder(-1).has_value());
}

TEST(Folders, DefaultsWithoutSettings)
{
    TempDir dir;
    const ScopedEnv home("HOME", dir.Path() + "/");
    const ScopedEnv config("XDG_CONFIG_HOME", "not/absolute");
    const ScopedEnv data("XDG_DATA_HOME", dir.File("data"));
    const ScopedEnv dirs("XDG_CONFIG_DIRS", nullptr);
    EXPECT_EQ(HomeFolder(), dir.Path());
    EXPECT_EQ(SpecialFolder(CSIDL_MYMUSIC), dir.File("Music"));
    EXPECT_EQ(SpecialFolder(CSIDL_APPDATA), dir.File(".config"));
    EXPECT_EQ(SpecialFolder(CSIDL_LOCAL_APPDATA), dir.File("data"));
    EXPECT_EQ(SpecialFolder(CSIDL_FONTS), dir.File("data/fonts"));
    EXPECT_EQ(SpecialFolder(CSIDL_COMMON_APPDATA), "/etc/xdg");
}

TEST(Folders, ProgramAndShippedFolders)
{
    TempDir dir;
    {
        const ScopedEnv home("ORVANE_HOME", dir.File("prog"));
        EXPECT_EQ(ProgramFolder(), dir.File("prog/"));
        EXPECT_EQ(DataFolder(), dir.File("prog/Data"));
        EXPECT_EQ(SettingsFolder(), dir.File("prog/Settings"));
        EXPECT_EQ(CartridgesFolder(), dir.File("prog/Cartridges"));
        EXPECT_EQ(ReportsFolder(), dir.File("prog/Reports"));
        EXPECT_EQ(PluginsFolder(), dir.File("prog/Plugins"));
        EXPECT_EQ(SkinsFolder(), dir.File("prog/Skins"));
    }
    {
        const ScopedEnv home("ORVANE_HOME", nullptr);
        const ScopedEnv data("XDG_DATA_HOME", dir.File("xdg"));
        EXPECT_EQ(ProgramFolder(), dir.File("xdg/OrvaneJukebox/"));
        const ScopedEnv relative("XDG_DATA_HOME", "xdg");
        const ScopedEnv user("HOME", dir.Path());
        EXPECT_EQ(ProgramFolder(), dir.File(".local/share/OrvaneJukebox/"));
    }
    {
        const ScopedEnv bin("ORVANE_BIN_DIR", dir.File("bin"));
        EXPECT_EQ(ShippedFolder(), dir.File("bin/"));
        EXPECT_EQ(TagPluginsFolder(), dir.File("bin/TagPlugins"));
        EXPECT_EQ(ShippedSkinsFolder(), dir.File("bin/Skins"));
        EXPECT_EQ(DocsFolder(), dir.File("bin/Docs"));
    }
    {
        const ScopedEnv bin("ORVANE_BIN_DIR", nullptr);
        const std::string shipped = ShippedFolder();
        ASSERT_FALSE(shipped.empty());
        EXPECT_EQ(shipped.back(), '/');
        EXPECT_TRUE(std::filesystem::exists(shipped + "platform_tests"));
    }
}

TEST(Folders, ForceDirectories)
{
    TempDir dir;
    EXPECT_TRUE(ForceDirectories(dir.File("a/b/c")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("a/b/c")));
    EXPECT_TRUE(ForceDirectories(dir.File("a/b/c/")));
    const std::string file = dir.Write("plain", "x");
    EXPECT_FALSE(ForceDirectories(file));
    EXPECT_FALSE(ForceDirectories(file + "/below"));
    EXPECT_FALSE(ForceDirectories(""));
}
