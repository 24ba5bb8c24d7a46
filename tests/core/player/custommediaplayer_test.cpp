#include "core/player/custommediaplayer.h"

#include "core/player/custommediaplayerevents.h"
#include "core/songs/audiotag.h"
#include "platform/inifile.h"
#include "support/testmediaplayer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<TaudioTag> Song(const std::string& fileName)
{
    auto song = std::make_unique<TaudioTag>();
    song->SetFilename(fileName);
    return song;
}

// Binds all nine events and writes one line per notification received.
struct Recorder
{
    explicit Recorder(TcustomMediaPlayerEvents& events)
    {
        const auto line = [this](TcustomMediaPlayer* sender, std::string text) {
            senders.push_back(sender);
            lines.push_back(std::move(text));
        };
        const auto name = [](const TaudioTag* tag) { return tag != nullptr ? tag->Filename() : "nil"; };
        events.OnGetNextTagger = [=, this](TcustomMediaPlayer* s, const TaudioTag*& tag) {
            line(s, "GetNextTagger " + name(tag));
            tag = answer;
        };
        events.OnFileNotFound = [=](TcustomMediaPlayer* s, const TaudioTag* tag) {
            line(s, "FileNotFound " + name(tag));
        };
        events.OnPlaybackStart = [=](TcustomMediaPlayer* s, const TaudioTag* tag) {
            line(s, "PlaybackStart " + name(tag));
        };
        events.OnPlaybackFinished = [=](TcustomMediaPlayer* s, const TaudioTag* tag) {
            line(s, "PlaybackFinished " + name(tag));
        };
        events.OnTimeChange = [=](TcustomMediaPlayer* s, std::uint32_t pos, std::uint32_t length) {
            line(s, "TimeChange " + std::to_string(pos) + " " + std::to_string(length));
        };
        events.OnInitialise = [=](TcustomMediaPlayer* s) { line(s, "Initialise"); };
        events.OnUninitialise = [=](TcustomMediaPlayer* s) { line(s, "Uninitialise"); };
        events.OnStateChange = [=](TcustomMediaPlayer* s, TmediaPlayState state) {
            line(s, "StateChange " + std::to_string(state));
        };
        events.OnVolumeChange = [=](TcustomMediaPlayer* s, std::uint8_t volume) {
            line(s, "VolumeChange " + std::to_string(volume));
        };
    }

    std::vector<TcustomMediaPlayer*> senders;
    std::vector<std::string> lines;
    const TaudioTag* answer = nullptr;
};

void RaiseEverything(TtestMediaPlayer& player, const TaudioTag* song)
{
    player.DoFileNotFound(song);
    player.DoInitialise();
    player.DoPlaybackFinished(song);
    player.DoPlaybackStart(nullptr);
    player.DoStateChange(mpsPaused);
    player.DoTimeChange(4294967295u, 200000);
    player.DoUninitialise();
    player.DoVolumeChange(255);
    player.SetVolume(7);
    player.Initialise(0x1234);
    player.Uninitialise();
}

} // namespace

TEST(CustomMediaPlayer, RaisesEachEventWithThePlayerAsSenderAndItsArgumentsUnchanged)
{
    TcustomMediaPlayerEvents events;
    Recorder recorder(events);
    TtestMediaPlayer player;
    player.SetEvents(&events);
    EXPECT_EQ(player.Events(), &events);
    const auto song = Song("/music/a.mp3");

    RaiseEverything(player, song.get());
    const TaudioTag* asked = song.get();
    player.DoGetNextTagger(asked);
    EXPECT_EQ(asked, nullptr) << "the handler's answer comes back";

    EXPECT_EQ(recorder.lines, (std::vector<std::string>{
                                  "FileNotFound /music/a.mp3",
                                  "Initialise",
                                  "PlaybackFinished /music/a.mp3",
                                  "PlaybackStart nil",
                                  "StateChange 2",
                                  "TimeChange 4294967295 200000",
                                  "Uninitialise",
                                  "VolumeChange 255",
                                  "VolumeChange 7",
                                  "Initialise",
                                  "Uninitialise",
                                  "GetNextTagger /music/a.mp3",
                              }));
    for (TcustomMediaPlayer* sender : recorder.senders)
        EXPECT_EQ(sender, &player);
    EXPECT_EQ(player.GetSupportLevel(), 0) << "a player that keeps the base's level gets no tag readers";
}

TEST(CustomMediaPlayer, CompletesSilentlyWithoutHolderHandlersOrALiveHolder)
{
    TtestMediaPlayer player;
    const auto song = Song("/music/a.mp3");
    RaiseEverything(player, song.get());
    const TaudioTag* asked = song.get();
    player.DoGetNextTagger(asked);
    EXPECT_EQ(asked, song.get());

    TcustomMediaPlayerEvents unbound;
    player.SetEvents(&unbound);
    RaiseEverything(player, song.get());
    player.DoGetNextTagger(asked);
    EXPECT_EQ(asked, song.get());

    // A holder destroyed before its player (the main window's order at shutdown) must not be called.
    auto events = std::make_unique<TcustomMediaPlayerEvents>();
    Recorder recorder(*events);
    player.SetEvents(events.get());
    events.reset();
    EXPECT_EQ(player.Events(), nullptr);
    RaiseEverything(player, song.get());
    player.DoGetNextTagger(asked);
    EXPECT_EQ(asked, song.get());
    EXPECT_TRUE(recorder.lines.empty());

    player.SetEvents(nullptr);
    EXPECT_EQ(player.Events(), nullptr);
}

TEST(CustomMediaPlayer, VolumeSettingsKeepTheLowByte)
{
    TcustomMediaPlayerEvents events;
    Recorder recorder(events);
    TtestMediaPlayer player;
    player.SetEvents(&events);

    TIniFile ini("unused.ini");
    player.LoadSettings(ini, "Player");
    EXPECT_EQ(player.Volume, 128);
    EXPECT_EQ(recorder.lines, std::vector<std::string>{"VolumeChange 128"});

    ini.LoadFromText("[Player]\r\nVolume=300\r\n[Other]\r\nVolume=-1\r\n");
    player.LoadSettings(ini, "Player");
    EXPECT_EQ(player.Volume, 44);
    player.LoadSettings(ini, "Other");
    EXPECT_EQ(player.Volume, 255);

    player.SetVolume(44);
    TIniFile saved("unused.ini");
    player.SaveSettings(saved, "Player");
    EXPECT_EQ(saved.ToText(), "[Player]\r\nVolume=44\r\n");
}

TEST(TestMediaPlayer, PreparesACopyOfTheNextSongAndReportsItsStart)
{
    TcustomMediaPlayerEvents events;
    Recorder recorder(events);
    TtestMediaPlayer player;
    player.SetEvents(&events);
    const auto first = Song("/music/first.mp3");
    const auto second = Song("/music/second.mp3");

    recorder.answer = first.get();
    player.PreloadNext();
    ASSERT_NE(player.PreparedTag(), nullptr);
    EXPECT_NE(player.PreparedTag(), first.get());
    EXPECT_EQ(player.PreparedTag()->Filename(), "/music/first.mp3");

    recorder.answer = second.get();
    const TaudioTag* started = player.StartPrepared();
    ASSERT_NE(started, nullptr);
    EXPECT_EQ(started->Filename(), "/music/first.mp3");
    EXPECT_EQ(player.GetCurrentTag(), started);
    EXPECT_EQ(player.PreparedTag()->Filename(), "/music/second.mp3");

    recorder.answer = nullptr;
    player.PreloadNext();
    EXPECT_EQ(player.PreparedTag(), nullptr);
    EXPECT_EQ(player.StartPrepared(), nullptr);
    EXPECT_EQ(player.CountCalls("PreloadNext"), 4u);
    EXPECT_EQ(player.CountCalls("DoPlaybackStart /music/first.mp3"), 1u);
    EXPECT_EQ(player.CountCalls("DoPlaybackStart nil"), 1u);
    EXPECT_EQ(std::vector<std::string>(recorder.lines.begin(), recorder.lines.begin() + 3),
              (std::vector<std::string>{"GetNextTagger nil", "PlaybackStart /music/first.mp3",
                                        "GetNextTagger nil"}));
}
