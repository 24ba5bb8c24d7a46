// The plug-in as the program sees it: loaded from its file, reached only through GetTagger's record.
#include "core/plugins/taggerrecord.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <filesystem>

using wavbytes::MakeWav;
using wavbytes::WavLayout;

namespace {

std::string PluginFile()
{
    if (const char* bin = std::getenv("ORVANE_BIN_DIR")) {
        const std::string file = std::string(bin) + "/TagPlugins/TAG_Pelmora.so";
        if (std::filesystem::exists(file))
            return file;
    }
    return PELMORA_FILE;
}

// Ten seconds of 44100 Hz 16-bit stereo.
std::string TenSeconds()
{
    WavLayout layout;
    layout.dataBytes = 10 * 176400;
    return MakeWav(layout);
}

class PelmoraPlugin : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Load();
        // Every test starts from the default settings.
        rec->LoadSettings(dir.File("no-such.ini").c_str());
    }
    void TearDown() override { Unload(); }

    void Load()
    {
        handle = ::dlopen(PluginFile().c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle, nullptr) << ::dlerror();
        auto getTagger = reinterpret_cast<TGetTaggerFunc>(::dlsym(handle, ORVANE_TAGGER_EXPORT_NAME));
        ASSERT_NE(getTagger, nullptr);
        rec = getTagger();
        ASSERT_NE(rec, nullptr);
        ASSERT_EQ(getTagger(), rec);
        ASSERT_EQ(rec->Initialise(0, reinterpret_cast<TtaggerHandle>(handle)), 1);
    }
    void Unload()
    {
        if (handle) {
            EXPECT_EQ(::dlclose(handle), 0);
        }
        handle = nullptr;
        rec = nullptr;
    }

    std::string Artist() const { return rec->Artist(nullptr); }
    std::string Title() const { return rec->Title(nullptr); }
    std::string Album() const { return rec->Album(nullptr); }
    std::string Comment() const { return rec->Comment(nullptr); }
    std::string Date() const { return rec->Date(nullptr); }
    std::string Genre() const { return rec->GenreString(nullptr); }
    std::string TagType() const { return rec->TagType(); }

    std::string Ini(const std::string& keys) const
    {
        return dir.Write("settings.ini", "[WAV Tag Reader]\r\n" + keys);
    }
    bool Read(const std::string& relative, const std::string& bytes)
    {
        return rec->ReadFile(dir.Write(relative, bytes).c_str()) != 0;
    }

    TempDir dir;
    void* handle = nullptr;
    TtaggerRecord* rec = nullptr;
};

} // namespace

TEST_F(PelmoraPlugin, RecordFactsAndFixedAnswers)
{
    EXPECT_STREQ(rec->Name, "WAV Tag Reader");
    EXPECT_STREQ(rec->FileTypes, "WAV Format Audio Files");
    EXPECT_EQ(rec->Version, 256);
    EXPECT_EQ(rec->SupportLevel, 3u);
    EXPECT_EQ(rec->MediaType, 0);
    EXPECT_EQ(rec->HostHandle, 0);
    EXPECT_EQ(rec->PluginHandle, reinterpret_cast<TtaggerHandle>(handle));
    EXPECT_EQ(rec->Reserved96, 0);
    EXPECT_EQ(rec->Reserved100, 0);

    EXPECT_EQ(rec->ExtCount(), 1);
    char buffer[ORVANE_TAGGER_BUFFER_SIZE];
    std::memset(buffer, 'x', sizeof buffer);
    rec->GetExt(0, buffer);
    EXPECT_STREQ(buffer, "wav");
    rec->GetExt(1, buffer);
    EXPECT_STREQ(buffer, "");
    rec->GetExt(-1, buffer);
    EXPECT_STREQ(buffer, "");

    EXPECT_EQ(rec->ReservedFuncA(), 0);
    EXPECT_EQ(rec->ReservedFuncD(), 1);
    EXPECT_EQ(rec->ReservedFuncE(), 1);
    int32_t answer = 0;
    char first[] = "artist";
    char second[] = "title";
    rec->ReservedFuncB(0, first, second, &answer);
    EXPECT_EQ(answer, 1);
    EXPECT_STREQ(first, "");
    EXPECT_STREQ(second, "");
    rec->ReservedFuncB(0, nullptr, nullptr, nullptr);
    rec->ReservedProcC();

    EXPECT_EQ(rec->Initialise(1234, 5678), 1);
    EXPECT_EQ(rec->HostHandle, 1234);
    EXPECT_EQ(rec->PluginHandle, 5678);

    // A process without widgets (a folder scan) gets no dialog rather than a crash.
    EXPECT_EQ(rec->Configure(0), 0);
}

TEST_F(PelmoraPlugin, FreshlyLoadedRecordIsEmptyAndUnloadingForgetsTheLastFile)
{
    ASSERT_TRUE(Read("Music/Band/Album/Song.wav", TenSeconds()));
    ASSERT_EQ(Title(), "Song");
    Unload();
    Load();
    EXPECT_EQ(Artist(), "");
    EXPECT_EQ(Title(), "");
    EXPECT_EQ(Album(), "");
    EXPECT_EQ(TagType(), "");
    EXPECT_STREQ(rec->Extension(), "");
    EXPECT_EQ(rec->GenreID, 255);
    EXPECT_EQ(rec->TrackNo, 0);
    EXPECT_EQ(rec->Duration, 0);
}

TEST_F(PelmoraPlugin, DefaultSettingsTakeAlbumAndArtistFromTheFolders)
{
    ASSERT_TRUE(Read("Music/Band/Album/Song.wav", TenSeconds()));
    EXPECT_EQ(Title(), "Song");
    EXPECT_EQ(Album(), "Album");
    EXPECT_EQ(Artist(), "Band");
    EXPECT_EQ(TagType(), "WAV");
    EXPECT_STREQ(rec->Extension(), "wav");
    EXPECT_EQ(Genre(), "");
    EXPECT_EQ(rec->GenreID, 255);
    EXPECT_EQ(rec->TrackNo, 0);
    EXPECT_EQ(rec->BitRate, 16);
    EXPECT_EQ(rec->Duration, 10);
    EXPECT_EQ(rec->Channels, 2);
    EXPECT_EQ(rec->SampleRate, 44100);
    EXPECT_EQ(rec->MediaType, 0);

    // Only the last extension counts; a dot in a folder name is no extension.
    ASSERT_TRUE(Read("Music/Band.v2/Live/Song.take.1.WAV", TenSeconds()));
    EXPECT_EQ(Title(), "Song.take.1");
    EXPECT_EQ(Artist(), "Band.v2");
    EXPECT_STREQ(rec->Extension(), "WAV");
    ASSERT_TRUE(Read("Music/Band/Album/noext", TenSeconds()));
    EXPECT_EQ(Title(), "noext");
    EXPECT_STREQ(rec->Extension(), "");
}

TEST_F(PelmoraPlugin, MaskAndFolderRulesFromTheSettingsFile)
{
    rec->LoadSettings(Ini("Mask=%n - %t\r\nParenAlbum=0\r\nParentArtist=1\r\n").c_str());
    ASSERT_TRUE(Read("Band/07 - Song.wav", TenSeconds()));
    EXPECT_EQ(rec->TrackNo, 7);
    EXPECT_EQ(Title(), "Song");
    EXPECT_EQ(Artist(), "Band");
    EXPECT_EQ(Album(), "");

    // Neither folder rule: everything from the name, genre looked up in the table ignoring case.
    rec->LoadSettings(Ini("Mask=%a - %b - %n - %t - %g\r\nParenAlbum=0\r\nParentArtist=0\r\n").c_str());
    ASSERT_TRUE(Read("x/y/Band - Record - 12 - Tune - rock.wav", TenSeconds()));
    EXPECT_EQ(Artist(), "Band");
    EXPECT_EQ(Album(), "Record");
    EXPECT_EQ(rec->TrackNo, 12);
    EXPECT_EQ(Title(), "Tune");
    EXPECT_EQ(Genre(), "rock");
    EXPECT_EQ(rec->GenreID, 17);
    EXPECT_EQ(Date(), "");
    EXPECT_EQ(Comment(), "");

    // Placeholders the name does not fill come out empty; a track that is no number is 0.
    ASSERT_TRUE(Read("x/y/Band - Record - A1 - Tune - Nonsense.wav", TenSeconds()));
    EXPECT_EQ(rec->TrackNo, 0);
    EXPECT_EQ(rec->GenreID, 255);
    ASSERT_TRUE(Read("x/y/Only a title.wav", TenSeconds()));
    EXPECT_EQ(Artist(), "Only a title");
    EXPECT_EQ(Album(), "");
    EXPECT_EQ(Title(), "");
    EXPECT_EQ(Genre(), "");
    EXPECT_EQ(rec->TrackNo, 0);

    // Album from the folder, artist still from the mask when the grandparent rule is off.
    rec->LoadSettings(Ini("Mask=%a - %t\r\nParenAlbum=1\r\nParentParentArtist=0\r\n").c_str());
    ASSERT_TRUE(Read("Other/Record/Band - Tune.wav", TenSeconds()));
    EXPECT_EQ(Album(), "Record");
    EXPECT_EQ(Artist(), "Band");
    EXPECT_EQ(Title(), "Tune");

    // A file with no folder above it gets empty folder names.
    rec->LoadSettings(Ini("").c_str());
    WavLayout layout;
    dir.Write("Top.wav", MakeWav(layout));
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    EXPECT_TRUE(rec->ReadFile("Top.wav"));
    std::filesystem::current_path(cwd);
    EXPECT_EQ(Title(), "Top");
    EXPECT_EQ(Album(), "");
    EXPECT_EQ(Artist(), "");
}

TEST_F(PelmoraPlugin, InvalidHeaderEmptiesTheValuesUnreadableFileKeepsThem)
{
    ASSERT_TRUE(Read("Music/Band/Album/Song.wav", TenSeconds()));
    WavLayout six;
    six.channels = 6;
    six.dataBytes = 176400;
    ASSERT_TRUE(Read("Music/Band/Album/Surround.wav", MakeWav(six)));
    EXPECT_EQ(TagType(), "none");
    EXPECT_EQ(Title(), "");
    EXPECT_EQ(Album(), "");
    EXPECT_EQ(Artist(), "");
    EXPECT_EQ(rec->GenreID, 255);
    EXPECT_EQ(rec->TrackNo, 0);
    EXPECT_EQ(rec->Duration, 0);
    EXPECT_EQ(rec->Channels, 0);
    EXPECT_STREQ(rec->Extension(), "wav");

    ASSERT_TRUE(Read("Music/Band/Album/Song.wav", TenSeconds()));
    EXPECT_FALSE(rec->ReadFile(dir.File("Music/Nope/Missing.wav").c_str()));
    EXPECT_FALSE(Read("Music/X/Y/Short.wav", "RIFF"));
    EXPECT_FALSE(rec->ReadFile(nullptr));
    EXPECT_EQ(Title(), "Song");
    EXPECT_EQ(Album(), "Album");
    EXPECT_EQ(TagType(), "WAV");
    EXPECT_EQ(rec->Duration, 10);
}

TEST_F(PelmoraPlugin, TextFunctionsStoreCopiesAndDurationRoundsHalvesToEven)
{
    std::string value = "Someone";
    EXPECT_STREQ(rec->Artist(value.c_str()), "Someone");
    value = "changed";
    EXPECT_EQ(Artist(), "Someone");
    EXPECT_STREQ(rec->Date("1999"), "1999");
    EXPECT_STREQ(rec->Comment("note"), "note");
    EXPECT_STREQ(rec->GenreString("Jazz"), "Jazz");
    EXPECT_STREQ(rec->Title(""), "");

    WavLayout mono;
    mono.channels = 1;
    mono.sampleRate = 8000;
    mono.bitsPerSample = 8;
    for (const auto& [bytes, seconds] : {std::pair{20000u, 2}, {28000u, 4}, {27999u, 3}, {3999u, 0}}) {
        mono.dataBytes = bytes;
        ASSERT_TRUE(Read("a/b/mono.wav", MakeWav(mono)));
        EXPECT_EQ(rec->Duration, seconds) << bytes;
        EXPECT_EQ(rec->BitRate, 8);
        EXPECT_EQ(rec->Channels, 1);
        EXPECT_EQ(rec->SampleRate, 8000);
    }
}

TEST_F(PelmoraPlugin, SettingsRoundTripKeepsTheHostsKeys)
{
    // The host has written its own key into the file before the plug-in saves.
    const std::string file = dir.Write("TAG_Settings.ini", "[Other Reader]\r\nEnabled=1\r\n\r\n"
                                                           "[WAV Tag Reader]\r\nEnabled=0\r\n");
    rec->LoadSettings(file.c_str());
    rec->SaveSettings(file.c_str());
    EXPECT_EQ(TempDir::Read(file), "[Other Reader]\r\nEnabled=1\r\n\r\n"
                                   "[WAV Tag Reader]\r\nEnabled=0\r\nMask=%t\r\nParenAlbum=1\r\n"
                                   "ParentArtist=0\r\nParentParentArtist=1\r\n");

    const std::string other =
        Ini("mask=%a - %t\r\nPARENALBUM=0\r\nParentArtist=5\r\nParentParentArtist=0\r\n");
    rec->LoadSettings(other.c_str());
    rec->SaveSettings(file.c_str());
    EXPECT_EQ(TempDir::Read(file), "[Other Reader]\r\nEnabled=1\r\n\r\n"
                                   "[WAV Tag Reader]\r\nEnabled=0\r\nMask=%a - %t\r\nParenAlbum=0\r\n"
                                   "ParentArtist=1\r\nParentParentArtist=0\r\n");

    // Back to defaults, then the saved file brings the settings back.
    rec->LoadSettings(dir.File("none.ini").c_str());
    rec->LoadSettings(file.c_str());
    ASSERT_TRUE(Read("Band/Record/Singer - Tune.wav", TenSeconds()));
    EXPECT_EQ(Artist(), "Record");
    EXPECT_EQ(Title(), "Tune");
    EXPECT_EQ(Album(), "");

    // A file that cannot be written is no crash, and the settings stay.
    rec->SaveSettings(dir.File("no/such/folder/TAG_Settings.ini").c_str());
    rec->SaveSettings(nullptr);
    rec->SaveSettings("");
    EXPECT_FALSE(std::filesystem::exists(dir.File("no")));
    ASSERT_TRUE(Read("Band/Record/Singer - Tune.wav", TenSeconds()));
    EXPECT_EQ(Artist(), "Record");

    // No file name: the defaults.
    rec->LoadSettings(nullptr);
    ASSERT_TRUE(Read("Band/Record/Singer - Tune.wav", TenSeconds()));
    EXPECT_EQ(Album(), "Record");
    EXPECT_EQ(Artist(), "Band");
}
