#include "platform/winampipc.h"
#include "platform/windowmessages.h"
#include "standin/standinplayer.h"
#include "support/pumpevents.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

#include <chrono>
#include <functional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

using namespace platform;
namespace wa = platform::winamp;

namespace {

// The clock runs 20 times faster: a second of song passes in 50 ms.
constexpr double kSpeed = 20.0;

class StandinPlayer : public ::testing::Test
{
protected:
    StandinPlayer() : player_(std::make_unique<TsoundOutput>(true, kSpeed))
    {
        a_ = dir_.Write("a.wav", wavbytes::Song(1000));
        b_ = dir_.Write("b.wav", wavbytes::Song(2000));
        long_ = dir_.Write("long.wav", wavbytes::Song(60000));
    }

    std::int32_t Ask(std::intptr_t code, std::intptr_t argument = 0)
    {
        return player_.HandleMessage(WM_USER, argument, code);
    }
    void Press(std::intptr_t command) { player_.HandleMessage(WM_COMMAND, command, 0); }

    // What the jukebox hands over: a dummy entry first, then the songs.
    void HandOver(const std::vector<std::string>& songs)
    {
        std::string m3u = "#EXTM3U\r\n#EXTINF:0,Dummy Entry\r\nDoesNotExist\r\n";
        for (const std::string& song : songs)
            m3u += "#EXTINF:1,Song\r\n" + song + "\r\n";
        ASSERT_EQ(player_.HandleCopyData(wa::IpcPlayFile, dir_.Write("winamp.m3u", m3u)), 1);
    }
    void Add(const std::vector<std::string>& songs)
    {
        for (const std::string& song : songs)
            player_.HandleCopyData(wa::IpcPlayFile, song);
    }
    std::int32_t State() { return Ask(wa::IpcIsPlaying); }
    std::int32_t ListPos() { return Ask(wa::IpcGetListPos); }
    std::int32_t Seconds() { return Ask(wa::IpcGetOutputTime, wa::OutputLengthSeconds); }
    std::int32_t Ms() { return Ask(wa::IpcGetOutputTime, wa::OutputPositionMs); }

    TempDir dir_;
    TstandinPlayer player_;
    std::string a_, b_, long_;
};

} // namespace

TEST_F(StandinPlayer, PlayPassesOverTheDummyAndMovesOnAtTheEnd)
{
    HandOver({a_, b_});
    EXPECT_EQ(Ask(wa::IpcGetListLength), 3);
    EXPECT_EQ(ListPos(), 0);
    EXPECT_EQ(State(), wa::StateStopped);
    EXPECT_EQ(Seconds(), 0);

    Press(wa::CommandPlay);
    EXPECT_EQ(State(), wa::StatePlaying);
    EXPECT_EQ(ListPos(), 1) << "the dummy entry cannot be opened";
    EXPECT_EQ(Seconds(), 1);
    EXPECT_EQ(Ask(wa::IpcGetOutputTime, wa::OutputLengthMs), 1000);

    ASSERT_TRUE(PumpUntil([&] { return ListPos() == 2; }));
    EXPECT_EQ(Seconds(), 2);
    const std::int32_t early = Ms();
    ASSERT_TRUE(PumpUntil([&] { return Ms() > early; })) << "the position moves";
    EXPECT_LE(Ms(), 2000);

    ASSERT_TRUE(PumpUntil([&] { return State() == wa::StateStopped; })) << "no repeat: the list's end stops";
    EXPECT_EQ(ListPos(), 2);
    EXPECT_EQ(Seconds(), 2) << "the last song stays loaded";
    EXPECT_EQ(Ms(), 0);
}

TEST_F(StandinPlayer, ClearedListLetsTheSongPlayOnUntilTheNextHandOver)
{
    HandOver({long_});
    Press(wa::CommandPlay);
    ASSERT_EQ(ListPos(), 1);
    // The jukebox prepares the next song: clear, hand over, back onto the dummy entry.
    Ask(wa::IpcClearPlaylist);
    EXPECT_EQ(Ask(wa::IpcGetListLength), 0);
    EXPECT_EQ(ListPos(), 0);
    EXPECT_EQ(State(), wa::StatePlaying);
    EXPECT_EQ(Seconds(), 60);
    HandOver({b_});
    Ask(wa::IpcSetPlaylistPos, 0);
    EXPECT_EQ(ListPos(), 0);

    EXPECT_EQ(Ask(wa::IpcJumpToTime, 59900), wa::JumpDone);
    ASSERT_TRUE(PumpUntil([&] { return ListPos() == 1; }));
    EXPECT_EQ(Seconds(), 2) << "the prepared song follows";
    EXPECT_EQ(State(), wa::StatePlaying);

    Ask(wa::IpcClearPlaylist);
    ASSERT_TRUE(PumpUntil([&] { return State() == wa::StateStopped; })) << "nothing prepared: it stops";
    Ask(wa::IpcClearPlaylist);
    EXPECT_EQ(Seconds(), 0) << "a stopped song goes with its list";
}

TEST_F(StandinPlayer, PauseFreezesThePosition)
{
    Add({long_});
    Press(wa::CommandPause);
    EXPECT_EQ(State(), wa::StateStopped) << "pause does nothing while stopped";
    Press(wa::CommandPlay);
    ASSERT_TRUE(PumpUntil([&] { return Ms() > 100; }));
    Press(wa::CommandPause);
    EXPECT_EQ(State(), wa::StatePaused);
    const std::int32_t frozen = Ms();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(Ms(), frozen);
    EXPECT_EQ(Ask(wa::IpcJumpToTime, 30000), wa::JumpDone);
    EXPECT_EQ(State(), wa::StatePaused) << "a jump keeps the pause";
    EXPECT_EQ(Ms(), 30000);

    Press(wa::CommandPause);
    EXPECT_EQ(State(), wa::StatePlaying) << "the pause button toggles";
    ASSERT_TRUE(PumpUntil([&] { return Ms() > 30000; }));
    Press(wa::CommandPause);
    Press(wa::CommandPlay);
    EXPECT_EQ(State(), wa::StatePlaying) << "play resumes a paused song";
    EXPECT_GE(Ms(), 30000) << "...where it was";

    Press(wa::CommandStop);
    EXPECT_EQ(State(), wa::StateStopped);
    EXPECT_EQ(Ms(), 0);
    EXPECT_EQ(Ask(wa::IpcJumpToTime, 1000), wa::JumpNotPlaying);
}

TEST_F(StandinPlayer, JumpPastTheEndEndsTheSong)
{
    Add({long_, a_});
    Press(wa::CommandPlay);
    EXPECT_EQ(Ask(wa::IpcJumpToTime, 60000), wa::JumpPastEnd);
    EXPECT_EQ(ListPos(), 1);
    EXPECT_EQ(Seconds(), 1);
    EXPECT_EQ(Ask(wa::IpcJumpToTime, -5), wa::JumpDone);
}

TEST_F(StandinPlayer, ButtonsMoveThroughTheList)
{
    Add({long_, b_, long_});
    Press(wa::CommandNext);
    EXPECT_EQ(ListPos(), 1);
    EXPECT_EQ(State(), wa::StateStopped) << "next while stopped only moves";
    Press(wa::CommandPrevious);
    Press(wa::CommandPrevious);
    EXPECT_EQ(ListPos(), 0) << "no repeat: the first entry has none before it";

    Press(wa::CommandPlay);
    Press(wa::CommandNext);
    EXPECT_EQ(ListPos(), 1);
    EXPECT_EQ(Seconds(), 2);
    Press(wa::CommandNext);
    Press(wa::CommandNext);
    EXPECT_EQ(ListPos(), 2) << "no repeat: the last entry has none after it";
    EXPECT_EQ(State(), wa::StatePlaying);
    Ask(wa::IpcSetRepeat, 1);
    Press(wa::CommandNext);
    EXPECT_EQ(ListPos(), 0);
    Press(wa::CommandPrevious);
    EXPECT_EQ(ListPos(), 2);

    ASSERT_TRUE(PumpUntil([&] { return Ms() > 100; }));
    Ask(wa::IpcSetPlaylistPos, 1);
    EXPECT_EQ(Seconds(), 60) << "setting the position does not change the song";
    Press(wa::CommandPlay);
    EXPECT_EQ(Seconds(), 2) << "play while playing starts the entry at the position";
    EXPECT_LT(Ms(), 100);

    Ask(wa::IpcSetPlaylistPos, 3);
    Ask(wa::IpcSetPlaylistPos, -1);
    EXPECT_EQ(ListPos(), 1) << "positions outside the list are ignored";
    Ask(wa::IpcStartPlay);
    EXPECT_EQ(ListPos(), 1);
    EXPECT_EQ(State(), wa::StatePlaying);
}

TEST_F(StandinPlayer, RepeatStartsTheListAgain)
{
    Ask(wa::IpcSetRepeat, 1);
    EXPECT_EQ(Ask(wa::IpcGetRepeat), 1);
    HandOver({a_, dir_.File("missing.wav")});
    Press(wa::CommandPlay);
    ASSERT_EQ(ListPos(), 1);
    // At the end: the missing file, then the dummy are passed over, and the song starts again.
    ASSERT_TRUE(PumpUntil([&] { return Ms() > 700; }));
    ASSERT_TRUE(PumpUntil([&] { return Ms() < 300; }));
    EXPECT_EQ(ListPos(), 1);
    EXPECT_EQ(State(), wa::StatePlaying);
    Ask(wa::IpcSetRepeat, 0);
    EXPECT_EQ(Ask(wa::IpcGetRepeat), 0);
    ASSERT_TRUE(PumpUntil([&] { return State() == wa::StateStopped; }));
}

TEST_F(StandinPlayer, ShuffleChoosesAnotherEntry)
{
    EXPECT_EQ(Ask(wa::IpcGetShuffle), 0);
    Ask(wa::IpcSetShuffle, 1);
    EXPECT_EQ(Ask(wa::IpcGetShuffle), 1);
    Add({long_, long_, long_, long_, long_});
    Press(wa::CommandPlay);
    std::set<int> visited{ListPos()};
    for (int i = 0; i < 40; ++i) {
        const int before = ListPos();
        Press(wa::CommandNext);
        EXPECT_NE(ListPos(), before);
        visited.insert(ListPos());
    }
    EXPECT_GT(visited.size(), 2u);
    Ask(wa::IpcSetShuffle, 0);
    EXPECT_EQ(Ask(wa::IpcGetShuffle), 0);
}

TEST_F(StandinPlayer, NothingPlayableStops)
{
    HandOver({dir_.File("missing.wav"), dir_.Write("text.wav", "not a wave")});
    Press(wa::CommandPlay);
    EXPECT_EQ(State(), wa::StateStopped);
    EXPECT_EQ(ListPos(), 0);
    EXPECT_EQ(Seconds(), 0);
    Ask(wa::IpcClearPlaylist);
    Press(wa::CommandPlay);
    Press(wa::CommandNext);
    EXPECT_EQ(State(), wa::StateStopped) << "an empty list plays nothing";
}

TEST_F(StandinPlayer, VolumeVersionAndOtherMessages)
{
    EXPECT_EQ(Ask(wa::IpcSetVolume, wa::QueryVolume), 255);
    Ask(wa::IpcSetVolume, 100);
    EXPECT_EQ(Ask(wa::IpcSetVolume, wa::QueryVolume), 100);
    Ask(wa::IpcSetVolume, 300);
    EXPECT_EQ(player_.Volume(), 255);
    Ask(wa::IpcSetVolume, -5);
    EXPECT_EQ(player_.Volume(), 0);

    EXPECT_EQ(Ask(wa::IpcGetVersion), wa::Version);
    EXPECT_EQ(Ask(9999), 0);
    EXPECT_EQ(player_.HandleMessage(0x1234, 1, 2), 0);
    EXPECT_EQ(player_.HandleCopyData(7, a_), 0) << "only the play-file tag adds";
    EXPECT_EQ(player_.HandleCopyData(wa::IpcPlayFile, a_ + std::string(1, '\0')), 1);
    EXPECT_EQ(player_.Playlist().At(0).fileName, a_) << "the terminating NUL is not part of the name";
    EXPECT_EQ(player_.HandleCopyData(wa::IpcPlayFile, dir_.File("gone.m3u")), 0);
}

TEST_F(StandinPlayer, CloseStopsAndTellsTheOwner)
{
    int closed = 0;
    player_.OnClose = [&] { ++closed; };
    Add({long_});
    Press(wa::CommandPlay);
    Press(wa::CommandClose);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(State(), wa::StateStopped);
    player_.HandleMessage(WM_CLOSE, 0, 0);
    EXPECT_EQ(closed, 2);
}

TEST_F(StandinPlayer, ReportTellsWhatPlaysAndEachChangeOfStateOnce)
{
    std::vector<std::string> lines;
    player_.OnReport = [&](const std::string& line) { lines.push_back(line); };
    HandOver({a_, long_});
    Press(wa::CommandStop);
    Press(wa::CommandPlay);
    Press(wa::CommandPause);
    Press(wa::CommandPause);
    Press(wa::CommandNext);
    Press(wa::CommandStop);
    Press(wa::CommandStop);
    Press(wa::CommandClose);
    EXPECT_EQ(lines,
              (std::vector<std::string>{"play " + a_, "pause", "resume", "play " + long_, "stop", "close"}))
        << "the dummy entry that cannot be opened is not reported, a stop while stopped neither";
}

TEST_F(StandinPlayer, ReportTellsEachChangeOfVolume)
{
    std::vector<std::string> lines;
    player_.OnReport = [&](const std::string& line) { lines.push_back(line); };
    Ask(wa::IpcSetVolume, 100);
    Ask(wa::IpcSetVolume, 100);
    Ask(wa::IpcSetVolume, wa::QueryVolume);
    Ask(wa::IpcSetVolume, 300);
    EXPECT_EQ(lines, (std::vector<std::string>{"volume 100", "volume 255"}))
        << "a query and a volume already set are not reported; the report gives the clamped volume";
}

TEST_F(StandinPlayer, PlayFileTakesOnlyFilesThatAreThere)
{
    const std::string fifo = dir_.File("pipe.wav");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& refused : {
             dir_.File("missing.wav"),
             dir_.Path(),
             fifo,
             a_ + std::string(1, '\0') + "x",
             a_ + std::string(TstandinPlaylist::kMaxNameBytes + 1, '\0'),
             std::string(1 << 20, 'a'),
             std::string(),
         })
        EXPECT_EQ(player_.HandleCopyData(wa::IpcPlayFile, refused), 0) << refused.substr(0, 80);
    EXPECT_EQ(player_.Playlist().Count(), 0);

    for (int i = 0; i < TstandinPlaylist::kMaxEntries; ++i)
        ASSERT_EQ(player_.HandleCopyData(wa::IpcPlayFile, a_), 1) << i;
    EXPECT_EQ(player_.HandleCopyData(wa::IpcPlayFile, b_), 0) << "a full list takes no more";
    EXPECT_EQ(Ask(wa::IpcGetListLength), TstandinPlaylist::kMaxEntries);
    Ask(wa::IpcClearPlaylist);
    EXPECT_EQ(player_.HandleCopyData(wa::IpcPlayFile, b_), 1);
}
