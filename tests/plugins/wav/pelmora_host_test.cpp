// The plug-in loaded, configured and saved by the program's own host.
#include "core/plugins/taggerloader.h"
#include "support/wavbytes.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

using wavbytes::MakeWav;
using wavbytes::WavLayout;

namespace {

std::string TenSeconds()
{
    WavLayout layout;
    layout.dataBytes = 10 * 176400;
    return MakeWav(layout);
}

} // namespace

TEST(PelmoraHost, SettingsFileDrivesTheReadsAndSurvivesTheHostsSaves)
{
    TestPluginFolder folder;
    folder.AddFile(PELMORA_FILE, "TAG_Pelmora.so");
    folder.Write("TAG_Settings.ini", "[WAV Tag Reader]\r\nEnabled=1\r\nMask=%n - %t\r\nParenAlbum=0\r\n"
                                     "ParentArtist=1\r\n");
    const std::string song = folder.Write("Band/07 - Song.wav", TenSeconds());
    {
        TtaggerLoader loader;
        loader.SetSupportLevel(2);
        loader.SetPluginFolder(folder.Path());
        ASSERT_EQ(loader.GetCount(), 1);
        const TtaggerRecord* record = loader.ReadFileTag(song);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->TrackNo, 7);
        EXPECT_STREQ(record->Title(nullptr), "Song");
        EXPECT_STREQ(record->Artist(nullptr), "Band");
        EXPECT_STREQ(record->Album(nullptr), "");
        EXPECT_EQ(record->Duration, 10);

        ASSERT_TRUE(loader.SaveSettings());
        EXPECT_EQ(folder.Settings(), "[WAV Tag Reader]\r\nEnabled=1\r\nMask=%n - %t\r\nParenAlbum=0\r\n"
                                     "ParentArtist=1\r\nParentParentArtist=1\r\n");

        // Switched off, it serves nothing; the host's destruction saves the switch beside the keys.
        loader.GetPlugin(0)->SetEnabled(false);
        loader.RebuildExtensions();
        EXPECT_EQ(loader.ReadFileTag(song), nullptr);
    }
    EXPECT_EQ(folder.Settings(), "[WAV Tag Reader]\r\nEnabled=0\r\nMask=%n - %t\r\nParenAlbum=0\r\n"
                                 "ParentArtist=1\r\nParentParentArtist=1\r\n");

    TtaggerLoader again;
    again.SetSupportLevel(2);
    again.SetPluginFolder(folder.Path());
    ASSERT_EQ(again.GetCount(), 1);
    EXPECT_FALSE(again.GetPlugin(0)->Enabled());
    again.GetPlugin(0)->SetEnabled(true);
    again.RebuildExtensions();
    const TtaggerRecord* record = again.ReadFileTag(song);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->TrackNo, 7);
    EXPECT_STREQ(record->Artist(nullptr), "Band");
}

TEST(PelmoraHost, FailedReadsAnswerNilAndLeaveTheLastFilesValues)
{
    TestPluginFolder folder;
    folder.AddFile(PELMORA_FILE, "TAG_Pelmora.so");
    TtaggerLoader loader;
    loader.SetSupportLevel(2);
    loader.SetPluginFolder(folder.Path());
    const TtaggerRecord* record = loader.ReadFileTag(folder.Write("Music/Band/Album/Song.wav", TenSeconds()));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(loader.ReadFileTag(folder.Write("Music/Band/Album/Cut.wav", "RIFF")), nullptr);
    EXPECT_EQ(loader.ReadFileTag(folder.Path() + "/Music/Missing.wav"), nullptr);
    EXPECT_STREQ(record->Title(nullptr), "Song");
    EXPECT_STREQ(record->Album(nullptr), "Album");
    EXPECT_STREQ(record->Artist(nullptr), "Band");
    EXPECT_STREQ(record->TagType(), "WAV");

    WavLayout six;
    six.channels = 6;
    ASSERT_EQ(loader.ReadFileTag(folder.Write("Music/Band/Album/Six.wav", MakeWav(six))), record);
    EXPECT_STREQ(record->TagType(), "none");
    EXPECT_STREQ(record->Title(nullptr), "");
    EXPECT_EQ(record->GenreID, 255);
}
