#include "core/plugins/taggerloader.h"
#include "core/songs/audiotag.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using wavbytes::MakeWav;
using wavbytes::WavLayout;

namespace {

std::vector<std::string> Names(const TtaggerLoader& loader)
{
    std::vector<std::string> names;
    for (int i = 0; i < loader.GetCount(); ++i)
        names.push_back(loader.GetPlugin(i)->Name());
    return names;
}

std::string ServedBy(TtaggerLoader& loader, const std::string& fileName)
{
    const TtaggerRecord* record = loader.ReadFileTag(fileName);
    return record ? record->Artist(nullptr) : "(none)";
}

using Strings = std::vector<std::string>;

} // namespace

TEST(TaggerLoader, ScanKeepsWhatFitsTheSupportLevelAndSkipsTheUnusable)
{
    TestPluginFolder folder{"alpha", "beta", "low", "wav", "empty", "null", "noexport"};
    folder.Write("TAG_junk.so", "not a library at all");
    folder.Write("TAG_Settings.ini", "");
    folder.Add("wav", "other.so");
    std::filesystem::create_directory(folder.Path() + "/TAG_folder.so");

    TtaggerLoader loader;
    EXPECT_EQ(loader.GetCount(), 0);
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    // Low (level 1) does not fit a level-2 player; A (level 3) does.
    EXPECT_EQ(Names(loader), (Strings{"A", "B", "Empty", "Wav"}));
    for (int i = 0; i < loader.GetCount(); ++i) {
        EXPECT_EQ(loader.GetPluginRecord(i), loader.GetPlugin(i)->Record());
        EXPECT_EQ(loader.GetPluginRecord(i)->HostHandle, 0);
    }
    EXPECT_EQ(loader.GetPlugin(-1), nullptr);
    EXPECT_EQ(loader.GetPlugin(loader.GetCount()), nullptr);
    EXPECT_EQ(loader.GetPluginRecord(loader.GetCount()), nullptr);

    // The level is used at the next scan only.
    loader.SetSupportLevel(1);
    EXPECT_EQ(loader.GetCount(), 4);
    loader.Scan();
    EXPECT_EQ(Names(loader), (Strings{"A", "Low"}));

    loader.SetPluginFolder(folder.Path() + "/missing");
    EXPECT_EQ(loader.GetCount(), 0);
    EXPECT_EQ(loader.ReadFileTag("x.shr"), nullptr);
    loader.SetPluginFolder("");
    EXPECT_EQ(loader.GetCount(), 0);
}

TEST(TaggerLoader, OfTwoNamesDifferingInCaseTheFirstListedIsKept)
{
    TestPluginFolder folder{"alpha", "dupcase"};
    std::string first;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        if (first.empty())
            first = entry.path().filename().string();

    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    ASSERT_EQ(loader.GetCount(), 1);
    const bool alphaFirst = first == "TAG_alpha.so";
    EXPECT_EQ(loader.GetPlugin(0)->Name(), alphaFirst ? "A" : "a");
    EXPECT_EQ(loader.GetTaggerForFile("x.shr") != nullptr, alphaFirst);
    EXPECT_EQ(loader.GetTaggerForFile("x.dup") != nullptr, !alphaFirst);
}

TEST(TaggerLoader, ExtensionsGoToTheFirstEnabledNameIgnoringCase)
{
    TestPluginFolder folder{"beta", "alpha", "empty"};
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    ASSERT_EQ(Names(loader), (Strings{"A", "B", "Empty"}));

    TStringList<TtaggerPlugin> map;
    loader.GetExtensions(map);
    ASSERT_EQ(map.Count(), 4);
    EXPECT_EQ(map.Text(), "shr\naon\nSHR\nbon\n");
    EXPECT_EQ(map.Objects(0), loader.GetPlugin(0));
    EXPECT_EQ(map.Objects(3), loader.GetPlugin(1));

    EXPECT_EQ(ServedBy(loader, "/music/song.shr"), "A");
    EXPECT_EQ(ServedBy(loader, "/music/song.Shr"), "A");
    EXPECT_EQ(ServedBy(loader, "/music/song.bon"), "B");
    EXPECT_EQ(loader.GetTaggerForFile("song.BON"), loader.GetPluginRecord(1));

    loader.GetPlugin(0)->SetEnabled(false);
    loader.RebuildExtensions();
    EXPECT_EQ(ServedBy(loader, "/music/song.shr"), "B");
    EXPECT_EQ(loader.GetTaggerForFile("song.aon"), nullptr);
    TStrings lines;
    loader.GetExtensions(lines);
    EXPECT_EQ(lines.Text(), "SHR\nbon\n");

    // Disabled plug-ins still count for the open dialog.
    EXPECT_EQ(loader.GetAllExtensionsMask(), "*.shr;*.aon;*.SHR;*.bon");
    EXPECT_EQ(loader.GetOpenDialogFilter(), "All Supported Files|*.shr;*.aon;*.SHR;*.bon"
                                            "|Alpha Files (*.shr;*.aon)|*.shr;*.aon"
                                            "|Beta Files (*.SHR;*.bon)|*.SHR;*.bon|Empty Files ()|");
}

TEST(TaggerLoader, ReadsOnlyFilesWithAServedExtension)
{
    TestPluginFolder folder{"beta"};
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    ASSERT_EQ(loader.GetCount(), 1);
    const auto readCount = TestHook<int (*)()>(*loader.GetPlugin(0), "TestReadCount");

    TtaggerRecord* record = loader.ReadFileTag("/music/a.b/song.bon");
    ASSERT_NE(record, nullptr);
    EXPECT_STREQ(record->Title(nullptr), "/music/a.b/song.bon");
    EXPECT_EQ(record->TrackNo, 7);
    EXPECT_EQ(record->GenreID, 17);
    EXPECT_EQ(readCount(), 1);

    for (const char* name : {"/music/song", "/music/song.", "/music/a.bon/song", "/music/song.xyz", "", ".",
                             "/music/song.bon.mp3"}) {
        EXPECT_EQ(loader.ReadFileTag(name), nullptr) << name;
        EXPECT_EQ(loader.GetTaggerForFile(name), nullptr) << name;
    }
    // A dot file's name is all extension.
    EXPECT_NE(loader.GetTaggerForFile("/music/.bon"), nullptr);
    // A failed read answers nil; asking for the tagger reads nothing.
    EXPECT_EQ(loader.ReadFileTag("/music/bad.bon"), nullptr);
    EXPECT_EQ(readCount(), 2);
    EXPECT_EQ(loader.GetTaggerForFile("/music/bad.bon"), loader.GetPluginRecord(0));
    EXPECT_EQ(readCount(), 2);
}

TEST(TaggerLoader, PluginTextsAndExtensionCountAreCapped)
{
    TestPluginFolder folder{"huge"};
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    ASSERT_EQ(loader.GetCount(), 1);
    const TtaggerPlugin& plugin = *loader.GetPlugin(0);
    EXPECT_EQ(plugin.FileTypes(), std::string(TtaggerPlugin::kMaxTextBytes, 'F'));
    const Strings extensions = plugin.Extensions();
    ASSERT_EQ(extensions.size(), 256u);
    EXPECT_EQ(extensions.back(), "e255");
    TStringList<TtaggerPlugin> map;
    loader.GetExtensions(map);
    EXPECT_EQ(map.Count(), 256);
    EXPECT_EQ(loader.ReadFileTag("/m/song.e256"), nullptr);

    const TtaggerRecord* record = loader.ReadFileTag("/m/song.e255");
    ASSERT_NE(record, nullptr);
    TaudioTag song;
    CopyTaggerValues(*record, song);
    EXPECT_EQ(song.Artist(), std::string(4095, 'a')) << "a cut character is left out whole";
    EXPECT_EQ(song.Title(), std::string(4094, 't'));
    EXPECT_EQ(song.Album(), std::string(4096, 'b'));
    EXPECT_EQ(song.Comment(), std::string(4096, 'c'));
    EXPECT_EQ(song.TagType(), std::string(4096, 'T'));
    EXPECT_EQ(TtaggerPlugin::CopyText(nullptr), "");
    EXPECT_EQ(TtaggerPlugin::CopyText("\xE2\x82\xAC"), "\xE2\x82\xAC");
}

TEST(TaggerLoader, OpenDialogFilterOfOnePlugin)
{
    TestPluginFolder folder{"wav"};
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    EXPECT_EQ(loader.GetOpenDialogFilter(), "All Supported Files|*.wav|WAV Format Audio Files (*.wav)|*.wav");

    TtaggerLoader empty;
    EXPECT_EQ(empty.GetOpenDialogFilter(), "All Supported Files|");
    EXPECT_EQ(empty.GetAllExtensionsMask(), "");
}

TEST(TaggerLoader, SettingsRoundTripWithTheHostKeyFirst)
{
    TestPluginFolder folder{"alpha", "beta"};
    {
        TtaggerLoader loader;
        loader.SetSupportLevel(2);
        loader.SetPluginFolder(folder.Path());
        ASSERT_EQ(loader.GetCount(), 2);
        EXPECT_TRUE(loader.GetPlugin(0)->Enabled());
        EXPECT_EQ(loader.SettingsFileName(), folder.SettingsFileName());
        // Each plug-in is handed the settings file's full name.
        EXPECT_EQ(TestHook<const char* (*)()>(*loader.GetPlugin(0), "TestLastLoadFile")(),
                  folder.SettingsFileName());
        EXPECT_STREQ(TestHook<const char* (*)()>(*loader.GetPlugin(0), "TestPluginKey")(), "unset");
        TestHook<void (*)(const char*)>(*loader.GetPlugin(0), "TestSetPluginKey")("first");
        loader.GetPlugin(1)->SetEnabled(false);
        EXPECT_TRUE(loader.SaveSettings());
        const std::string expected = "[A]\r\nEnabled=1\r\nPluginKey=first\r\nAlive=1\r\n"
                                     "\r\n[B]\r\nEnabled=0\r\n";
        EXPECT_EQ(folder.Settings(), expected);
        // Saving again must not lose the plug-in's keys to the host's write.
        EXPECT_TRUE(loader.SaveSettings());
        EXPECT_EQ(folder.Settings(), expected);
    }
    // The loader above saved once more when it went; now the plug-in's key is changed behind its back.
    folder.Write("TAG_Settings.ini", "[A]\r\nEnabled=1\r\nPluginKey=edited\r\n\r\n[B]\r\nEnabled=0\r\n");
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    ASSERT_EQ(loader.GetCount(), 2);
    EXPECT_STREQ(TestHook<const char* (*)()>(*loader.GetPlugin(0), "TestPluginKey")(), "edited");
    EXPECT_FALSE(loader.GetPlugin(1)->Enabled());
    EXPECT_EQ(loader.GetTaggerForFile("x.bon"), nullptr);
    EXPECT_EQ(loader.GetTaggerForFile("x.shr"), loader.GetPluginRecord(0));
}

TEST(TaggerLoader, DamagedSettingsLoadWhatTheyCan)
{
    TestPluginFolder folder{"alpha", "beta", "wav"};
    folder.Write("TAG_Settings.ini", "garbage line\n=x\n[A\nEnabled=0\n[a]\nEnabled=yes\n"
                                     "[B]\nEnabled\nEnabled=0\n[Wav]\nEnabled=\n");
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    ASSERT_EQ(Names(loader), (Strings{"A", "B", "Wav"}));
    EXPECT_TRUE(loader.GetPlugin(0)->Enabled());
    EXPECT_FALSE(loader.GetPlugin(1)->Enabled());
    EXPECT_TRUE(loader.GetPlugin(2)->Enabled());
}

TEST(TaggerLoader, ChangingTheFolderSavesTheOldPluginsInTheOldFolder)
{
    TestPluginFolder first{"beta"};
    TestPluginFolder second{"wav"};
    {
        TtaggerLoader loader;
        loader.SetSupportLevel(2);
        loader.SetPluginFolder(first.Path());
        loader.GetPlugin(0)->SetEnabled(false);
        loader.SetPluginFolder(second.Path());
        EXPECT_EQ(first.Settings(), "[B]\r\nEnabled=0\r\n");
        EXPECT_EQ(Names(loader), (Strings{"Wav"}));
        EXPECT_TRUE(loader.GetPlugin(0)->Enabled());
    }
    EXPECT_EQ(second.Settings(), "[Wav]\r\nEnabled=1\r\n");
}

TEST(TaggerLoader, AVanishedFolderMakesSavingFailQuietly)
{
    auto folder = std::make_unique<TestPluginFolder>(std::initializer_list<const char*>{"beta"});
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder->Path());
    ASSERT_EQ(loader.GetCount(), 1);
    folder.reset();
    EXPECT_FALSE(loader.SaveSettings());
    // The library stays mapped while loaded, so reads still work.
    EXPECT_NE(loader.ReadFileTag("x.bon"), nullptr);
}

TEST(TaggerLoader, DialogGoesThroughTheInstalledHook)
{
    TtaggerLoader loader;
    loader.ShowPluginsDialog();
    TtaggerLoader* shown = nullptr;
    TtaggerLoader::SetPluginsDialogHook([&](TtaggerLoader& l) { shown = &l; });
    loader.ShowPluginsDialog();
    TtaggerLoader::SetPluginsDialogHook(nullptr);
    EXPECT_EQ(shown, &loader);
}

TEST(TaggerLoader, TheGlobalHostIsCreatedOnFirstUseAndReleased)
{
    TtaggerLoader& host = TaggerLoader();
    EXPECT_EQ(&TaggerLoader(), &host);
    EXPECT_EQ(host.GetCount(), 0);
    host.SetSupportLevel(7);
    ReleaseTaggerLoader();
    ReleaseTaggerLoader();
    EXPECT_EQ(TaggerLoader().SupportLevel(), 0u);
    ReleaseTaggerLoader();
}

TEST(TaggerLoaderDeathTest, TheGlobalHostSavesAtExitWhilePluginsAreWhole)
{
    TestPluginFolder folder{"alpha"};
    EXPECT_EXIT(
        {
            TaggerLoader().SetSupportLevel(2);
            TaggerLoader().SetPluginFolder(folder.Path());
            TestHook<void (*)(const char*)>(*TaggerLoader().GetPlugin(0), "TestSetPluginKey")("atexit");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_EQ(folder.Settings(), "[A]\r\nEnabled=1\r\nPluginKey=atexit\r\nAlive=1\r\n");
}

TEST(TaggerLoader, TheWavPluginThroughTheHost)
{
    TestPluginFolder folder;
    folder.AddFile(PELMORA_FILE, "TAG_Pelmora.so");
    folder.Write("song.wav", "RIFF but no wave");
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    ASSERT_EQ(Names(loader), (Strings{"WAV Tag Reader"}));
    EXPECT_EQ(loader.GetOpenDialogFilter(), "All Supported Files|*.wav|WAV Format Audio Files (*.wav)|*.wav");
    EXPECT_EQ(loader.GetPluginRecord(0)->HostHandle, 0);
    EXPECT_EQ(loader.GetPluginRecord(0)->PluginHandle, loader.GetPlugin(0)->ModuleHandle());
    EXPECT_NE(loader.GetTaggerForFile("/music/Song.WAV"), nullptr);
    EXPECT_EQ(loader.ReadFileTag(folder.Path() + "/song.wav"), nullptr);
    WavLayout layout;
    layout.sampleRate = 22050;
    const std::string wav = folder.Write("Artist/Album/Title.wav", MakeWav(layout));
    const TtaggerRecord* record = loader.ReadFileTag(wav);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->SampleRate, 22050);
    EXPECT_STREQ(record->Title(nullptr), "Title");

    ASSERT_TRUE(loader.SaveSettings());
    const std::string settings = folder.Settings();
    EXPECT_EQ(settings.rfind("[WAV Tag Reader]\r\nEnabled=1\r\nMask=%t\r\n", 0), 0u) << settings;
    ASSERT_TRUE(loader.SaveSettings());
    EXPECT_EQ(folder.Settings(), settings);
}

TEST(TaggerLoader, TheUsersSettingsLiveInTheirOwnFolderWithTheShippedFileAsDefaults)
{
    TestPluginFolder folder{"alpha", "beta"};
    const std::string shipped = "[A]\r\nEnabled=1\r\nPluginKey=shipped\r\n\r\n[B]\r\nEnabled=0\r\n";
    folder.Write("TAG_Settings.ini", shipped);
    TempDir user;
    const std::string own = user.File("Settings/TAG_Settings.ini");
    {
        TtaggerLoader loader;
        loader.SetSupportLevel(2);
        loader.SetSettingsFolder(user.File("Settings"));
        loader.SetPluginFolder(folder.Path());
        ASSERT_EQ(loader.GetCount(), 2);
        EXPECT_EQ(loader.SettingsFileName(), own);
        EXPECT_STREQ(TestHook<const char* (*)()>(*loader.GetPlugin(0), "TestPluginKey")(), "shipped");
        EXPECT_FALSE(loader.GetPlugin(1)->Enabled());
        loader.GetPlugin(1)->SetEnabled(true);
        EXPECT_TRUE(loader.SaveSettings());
    }
    EXPECT_EQ(folder.Settings(), shipped) << "the shipped file is only read";
    EXPECT_EQ(TempDir::Read(own),
              "[A]\r\nEnabled=1\r\nPluginKey=shipped\r\nAlive=1\r\n\r\n[B]\r\nEnabled=1\r\n");
}
