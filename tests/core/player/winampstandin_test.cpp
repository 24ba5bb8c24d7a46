// The Winamp player driving the real stand-in program (silent, with a fast clock), as the jukebox does:
// its own thread timer polls, the songs are real WAV files.
#include "core/player/custommediaplayerevents.h"
#include "core/player/winampmediaplayer.h"
#include "core/songs/audiotag.h"
#include "platform/folders.h"
#include "platform/winampipc.h"
#include "platform/windowmessages.h"
#include "support/fakeprompts.h"
#include "support/pumpevents.h"
#include "support/scopedenv.h"
#include "support/standinprocess.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
namespace wa = platform::winamp;
using platform::WM_USER;

namespace {

class WinampStandinTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(window_ = standin_.Start(), 0);

        player_ = std::make_unique<TwinampMediaPlayer>();
        player_->SetPollInterval(20);
        player_->SetWorkingFolder(dir_.File("work"));
        player_->SetEvents(&events_);
        events_.OnGetNextTagger = [this](TcustomMediaPlayer*, const TaudioTag*& tag) {
            tag = queue_.empty() ? nullptr : queue_.front();
        };
        // As the jukebox does: the started song leaves the queue, and the change prepares the next one.
        events_.OnPlaybackStart = [this](TcustomMediaPlayer* sender, const TaudioTag* tag) {
            started_.push_back(tag ? tag->Filename() : "<none>");
            if (tag && !queue_.empty() && queue_.front()->Filename() == tag->Filename()) {
                queue_.erase(queue_.begin());
                sender->PreloadNext();
            }
        };
        events_.OnTimeChange = [this](TcustomMediaPlayer*, std::uint32_t pos, std::uint32_t length) {
            times_.push_back({started_.size(), pos, length});
        };
        events_.OnStateChange = [this](TcustomMediaPlayer*, TmediaPlayState state) {
            states_.push_back(state);
        };
        player_->Initialise(0);
        ASSERT_TRUE(player_->Polling());
    }

    void TearDown() override
    {
        player_.reset(); // closes the stand-in
        standin_.Finish();
    }

    const TaudioTag* Song(const std::string& name, std::uint32_t ms, bool exists = true)
    {
        auto song = std::make_unique<TaudioTag>();
        song->SetFilename(exists ? dir_.Write("songs/" + name + ".wav", wavbytes::Song(ms))
                                 : dir_.File("songs/" + name + ".wav"));
        song->SetArtist("Artist");
        song->SetTitle(name);
        songs_.push_back(std::move(song));
        return songs_.back().get();
    }

    std::int32_t Ask(std::intptr_t code, std::intptr_t argument = 0)
    {
        return platform::SendMessage(window_, WM_USER, argument, code);
    }

    struct TtimeReport
    {
        std::size_t startsBefore;
        std::uint32_t position;
        std::uint32_t length;
    };

    TempDir dir_;
    ScopedEnv ipc_{"ORVANE_IPC_DIR", dir_.File("ipc")};
    ScopedEnv silent_{"ORVANE_STANDIN_SILENT", "1"};
    ScopedEnv speed_{"ORVANE_STANDIN_SPEED", "10"};
    TfakePrompts prompts_;
    TstandinProcess standin_;
    platform::TWindowHandle window_ = 0;
    TcustomMediaPlayerEvents events_;
    std::vector<std::unique_ptr<TaudioTag>> songs_;
    std::vector<const TaudioTag*> queue_;
    std::unique_ptr<TwinampMediaPlayer> player_;

    std::vector<std::string> started_;
    std::vector<TtimeReport> times_;
    std::vector<TmediaPlayState> states_;
};

} // namespace

TEST_F(WinampStandinTest, ThreeSongsPlayInOrderWithTheirLengths)
{
    const TaudioTag* a = Song("a", 4000);
    const TaudioTag* b = Song("b", 5000);
    const TaudioTag* c = Song("c", 6000);
    queue_ = {a, b, c};
    player_->Play();
    ASSERT_TRUE(PumpUntil([&] { return queue_.empty() && !states_.empty() && states_.back() == mpsStopped; }))
        << started_.size() << " started";

    EXPECT_EQ(started_, (std::vector<std::string>{a->Filename(), b->Filename(), c->Filename()}));
    ASSERT_NE(player_->GetCurrentTag(), nullptr);
    EXPECT_EQ(player_->GetCurrentTag()->Filename(), c->Filename());
    EXPECT_EQ(player_->GetCurrentTag()->Duration(), 6u) << "the length Winamp told";
    EXPECT_EQ(states_.front(), mpsPlaying);

    // Each song's time reports carry its length in milliseconds. A song may end between two requests of
    // one tick, so a report may already carry the next song's length.
    auto reported = [&](std::size_t starts, std::uint32_t length) {
        for (const TtimeReport& report : times_) {
            if (report.startsBefore == starts && report.length == length)
                return true;
        }
        return false;
    };
    EXPECT_TRUE(reported(1, 4000));
    EXPECT_TRUE(reported(2, 5000));
    EXPECT_TRUE(reported(3, 6000));
    for (const TtimeReport& report : times_)
        EXPECT_TRUE(report.length == 0 || report.length % 1000 == 0) << report.length;
    EXPECT_EQ(Ask(wa::IpcGetListLength), 2) << "the dummy and the last song";
}

// Jingles of an eighth of a poll start and end between two polls: each is still reported once, in order, and
// the next one follows.
TEST_F(WinampStandinTest, SongsShorterThanAPollPlayThroughOnceEach)
{
    player_->SetPollInterval(400);
    std::vector<std::string> wanted;
    for (const char* name : {"j1", "j2", "j3", "j4"}) {
        queue_.push_back(Song(name, 500));
        wanted.push_back(queue_.back()->Filename());
    }
    player_->Play();
    ASSERT_TRUE(PumpUntil([&] { return queue_.empty() && !states_.empty() && states_.back() == mpsStopped; }))
        << started_.size() << " started";
    EXPECT_EQ(started_, wanted);
}

TEST_F(WinampStandinTest, ShuffleRepeatAndVolumeAreImposed)
{
    player_->SetControlVolume(true);
    player_->SetVolume(128);
    Ask(wa::IpcSetShuffle, 1);
    Ask(wa::IpcSetRepeat, 1);
    Ask(wa::IpcSetVolume, 30);
    EXPECT_TRUE(PumpUntil([&] {
        return Ask(wa::IpcGetShuffle) == 0 && Ask(wa::IpcGetRepeat) == 0 &&
               Ask(wa::IpcSetVolume, wa::QueryVolume) == 128;
    }));

    player_->SetControlVolume(false);
    PumpFor(60ms);
    Ask(wa::IpcSetVolume, 30);
    PumpFor(100ms);
    EXPECT_EQ(Ask(wa::IpcSetVolume, wa::QueryVolume), 30) << "left alone without ControlVolume";
}

TEST_F(WinampStandinTest, MissingSongFileIsToldAndNothingPlays)
{
    queue_ = {Song("gone", 1000, false)};
    player_->Play();
    EXPECT_EQ(prompts_.Count("Could not locate file"), 1);
    EXPECT_EQ(Ask(wa::IpcGetListLength), 0);
    PumpFor(100ms);
    EXPECT_TRUE(started_.empty());
    EXPECT_EQ(Ask(wa::IpcIsPlaying), wa::StateStopped);
}

TEST_F(WinampStandinTest, KilledStandinIsAskedForOnceAndNoSilencesThePoll)
{
    queue_ = {Song("long", 60000)};
    player_->Play();
    ASSERT_TRUE(PumpUntil([&] { return !started_.empty(); }));
    standin_.Process().kill();
    ASSERT_TRUE(standin_.Process().waitForFinished(5000));

    prompts_.defaultAnswer = TmessageResult::No;
    ASSERT_TRUE(PumpUntil([&] { return prompts_.Count("Cannot find Winamp") == 1; }));
    EXPECT_TRUE(player_->Declined());
    const std::size_t reports = times_.size() + states_.size();
    PumpFor(150ms);
    EXPECT_EQ(prompts_.Count("Cannot find Winamp"), 1) << "no prompt after No";
    EXPECT_EQ(times_.size() + states_.size(), reports) << "the poll is silent";
}
