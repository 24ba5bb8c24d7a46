#include "core/plugins/taggerplugin.h"
#include "platform/inifile.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <string>

TEST(TaggerPlugin, LoadInitialisesOnceWithBothHandles)
{
    TestPluginFolder folder;
    TtaggerPlugin plugin;
    EXPECT_EQ(plugin.Record(), nullptr);
    EXPECT_EQ(plugin.ModuleHandle(), 0);
    EXPECT_TRUE(plugin.Enabled());

    ASSERT_TRUE(plugin.Load(folder.Add("alpha"), 0));
    ASSERT_NE(plugin.Record(), nullptr);
    EXPECT_NE(plugin.ModuleHandle(), 0);
    EXPECT_EQ(plugin.Name(), "A");
    EXPECT_EQ(plugin.FileTypes(), "Alpha Files");
    EXPECT_EQ(plugin.Record()->HostHandle, 0);
    EXPECT_EQ(plugin.Record()->PluginHandle, plugin.ModuleHandle());
    EXPECT_EQ(TestHook<int (*)()>(plugin, "TestInitialiseCount")(), 1);

    // A second load through the same object is refused and does not initialise again.
    EXPECT_FALSE(plugin.Load(folder.Add("beta"), 0));
    EXPECT_EQ(plugin.Name(), "A");
    EXPECT_EQ(TestHook<int (*)()>(plugin, "TestInitialiseCount")(), 1);

    plugin.Unload();
    EXPECT_EQ(plugin.Record(), nullptr);
    EXPECT_EQ(plugin.ModuleHandle(), 0);
    EXPECT_EQ(plugin.Name(), "");
    EXPECT_TRUE(plugin.Load(folder.Path() + "/TAG_beta.so", 0));
    EXPECT_EQ(plugin.Name(), "B");
}

TEST(TaggerPlugin, UnusableFilesDoNotLoad)
{
    TestPluginFolder folder;
    for (const std::string& file : {folder.Write("TAG_junk.so", "MZ this is no library"), folder.Add("null"),
                                    folder.Add("noexport"), folder.Path() + "/missing.so"}) {
        TtaggerPlugin plugin;
        EXPECT_FALSE(plugin.Load(file, 0)) << file;
        EXPECT_EQ(plugin.Record(), nullptr);
        EXPECT_EQ(plugin.GetExtensionMask(), "");
        EXPECT_EQ(plugin.GetExtensionList(), "");
    }
}

TEST(TaggerPlugin, ExtensionTexts)
{
    TestPluginFolder folder;
    TtaggerPlugin alpha, empty, none;
    ASSERT_TRUE(alpha.Load(folder.Add("alpha"), 0));
    ASSERT_TRUE(empty.Load(folder.Add("empty"), 0));

    EXPECT_EQ(alpha.GetExtensionMask(), "*.shr;*.aon");
    EXPECT_EQ(alpha.GetExtensionList(), "shr,aon");
    EXPECT_EQ(alpha.GetFilter(), "Alpha Files (*.shr;*.aon)|*.shr;*.aon");

    EXPECT_EQ(empty.GetExtensionMask(), "");
    EXPECT_EQ(empty.GetExtensionList(), "");
    EXPECT_EQ(empty.GetFilter(), "Empty Files ()|");

    EXPECT_EQ(none.GetExtensionMask(), "");
    EXPECT_EQ(none.GetFilter(), " ()|");
}

TEST(TaggerPlugin, ExtensionWithoutTerminatorIsCutAtTheBufferEnd)
{
    TestPluginFolder folder;
    TtaggerPlugin plugin;
    ASSERT_TRUE(plugin.Load(folder.Add("long"), 0));
    ASSERT_EQ(plugin.Extensions().size(), 1u);
    EXPECT_EQ(plugin.Extensions()[0], std::string(254, 'x'));
}

TEST(TaggerPlugin, SettingsHostKeyFirstAndPluginKeysSurviveLaterWrites)
{
    TestPluginFolder folder;
    TtaggerPlugin alpha, beta;
    ASSERT_TRUE(alpha.Load(folder.Add("alpha"), 0));
    ASSERT_TRUE(beta.Load(folder.Add("beta"), 0));
    TestHook<void (*)(const char*)>(alpha, "TestSetPluginKey")("kept");

    TIniFile ini(folder.SettingsFileName());
    EXPECT_TRUE(alpha.SaveSettings(ini));
    beta.SetEnabled(false);
    // The host flushes again for beta; alpha's own keys must come through that.
    EXPECT_TRUE(beta.SaveSettings(ini));
    ini.UpdateFile();
    EXPECT_EQ(folder.Settings(), "[A]\r\nEnabled=1\r\nPluginKey=kept\r\nAlive=1\r\n"
                                 "\r\n[B]\r\nEnabled=0\r\n");

    TtaggerPlugin reader;
    ASSERT_TRUE(reader.Load(folder.Add("alpha", "TAG_alpha2.so"), 0));
    reader.SetEnabled(false);
    reader.LoadSettings(TIniFile(folder.SettingsFileName()));
    EXPECT_TRUE(reader.Enabled());
    EXPECT_STREQ(TestHook<const char* (*)()>(reader, "TestPluginKey")(), "kept");
    EXPECT_EQ(TestHook<const char* (*)()>(reader, "TestLastLoadFile")(), folder.SettingsFileName());
    beta.LoadSettings(TIniFile(folder.SettingsFileName()));
    EXPECT_FALSE(beta.Enabled());
}
