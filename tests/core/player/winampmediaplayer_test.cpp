// The Winamp player against a Winamp of the test's own (TfakeWinamp): what it sends, when, and what it
// reports back. Poll ticks are run by calling PollWinamp, except where the timer itself is under test.
#include "core/player/winampmediaplayer.h"

#include "core/player/custommediaplayerevents.h"
#include "core/songs/audiotag.h"
#include "platform/error.h"
#include "platform/inifile.h"
#include "platform/shellexecute.h"
#include "platform/winampipc.h"
#include "support/fakeprompts.h"
#include "support/fakewinamp.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/testmainthread.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace std::chrono_literals;
namespace wa = platform::winamp;
using platform::WM_COMMAND;
using platform::WM_USER;

namespace {

// The player with its shell and message pump in the test's hands: "/add" goes straight into the fake
// Winamp, a start of Winamp itself runs onLaunch.
class TtestPlayer : public TwinampMediaPlayer
{
public:
    using TwinampMediaPlayer::DoPlaybackFinished;
    using TwinampMediaPlayer::TwinampMediaPlayer;

    struct TshellCall
    {
        std::string file;
        std::string parameters;
        std::string folder;
    };

    std::vector<TshellCall> shellCalls;
    TfakeWinamp* winamp = nullptr;
    std::function<void()> onLaunch;
    bool launchStarts = true;
    std::function<void()> duringMessages;
    int messagesRun = 0;

    int Launches() const
    {
        int count = 0;
        for (const TshellCall& call : shellCalls)
            count += call.parameters.empty();
        return count;
    }

protected:
    bool ShellOpen(const std::string& file, const std::string& parameters, const std::string& folder) override
    {
        shellCalls.push_back({file, parameters, folder});
        if (parameters.rfind("/add ", 0) == 0) {
            if (winamp == nullptr)
                return false;
            winamp->AddPlaylistFile(platform::SplitCommandLine(parameters).at(1));
            return true;
        }
        if (onLaunch)
            onLaunch();
        return launchStarts;
    }
    void ProcessMessages() override
    {
        ++messagesRun;
        if (duringMessages) {
            const auto call = duringMessages;
            call();
        }
    }
};

class WinampPlayerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Winamp's folder: the shipped folder, holding the stand-in's program file.
        dir_.Write("bin/orvane-standin", "");
        player_->onLaunch = [this] { OpenWinamp(); };
        player_->SetWorkingFolder(dir_.File("work"));
        player_->SetEvents(&events_);
        events_.OnGetNextTagger = [this](TcustomMediaPlayer*, const TaudioTag*& tag) {
            ++asked_;
            tag = next_;
        };
        events_.OnPlaybackStart = [this](TcustomMediaPlayer* sender, const TaudioTag* tag) {
            EXPECT_EQ(sender, player_.get());
            started_.push_back(tag ? tag->Filename() : "<none>");
        };
        events_.OnTimeChange = [this](TcustomMediaPlayer*, std::uint32_t pos, std::uint32_t length) {
            times_.push_back({pos, length});
        };
        events_.OnStateChange = [this](TcustomMediaPlayer*, TmediaPlayState state) {
            states_.push_back(state);
        };
        events_.OnVolumeChange = [this](TcustomMediaPlayer*, std::uint8_t volume) {
            volumes_.push_back(volume);
        };
    }

    void OpenWinamp()
    {
        if (!winamp_ || winamp_->closed) {
            player_->winamp = nullptr;
            winamp_.reset();
            winamp_ = std::make_unique<TfakeWinamp>();
        }
        player_->winamp = winamp_.get();
    }

    // A song whose file exists (unless told otherwise), kept by the fixture.
    const TaudioTag* Song(const std::string& name, const std::string& artist, const std::string& title,
                          std::uint32_t seconds, bool exists = true)
    {
        auto song = std::make_unique<TaudioTag>();
        const std::string file = dir_.File("songs/" + name + ".wav");
        if (exists)
            dir_.Write("songs/" + name + ".wav", "RIFF");
        song->SetFilename(file);
        song->SetArtist(artist);
        song->SetTitle(title);
        song->SetDuration(seconds);
        songs_.push_back(std::move(song));
        return songs_.back().get();
    }

    // Initialised against a running Winamp, with the messages of the start forgotten.
    void Initialise()
    {
        OpenWinamp();
        player_->Initialise(0);
        ASSERT_TRUE(player_->Polling());
        winamp_->received.clear();
    }

    // Plays a from stopped and runs the tick that reports its start.
    void StartPlaying(const TaudioTag* a)
    {
        next_ = a;
        player_->Play();
        player_->PollWinamp();
    }

    TempDir dir_;
    ScopedEnv bin_{"ORVANE_BIN_DIR", dir_.File("bin")};
    ScopedEnv ipc_{"ORVANE_IPC_DIR", dir_.File("ipc")};
    TfakePrompts prompts_;
    TtestMainThread mainThread_;
    TcustomMediaPlayerEvents events_;
    std::vector<std::unique_ptr<TaudioTag>> songs_;
    std::unique_ptr<TfakeWinamp> winamp_;
    // Declared after the fake Winamp: the player closes it when it goes.
    std::unique_ptr<TtestPlayer> player_ = std::make_unique<TtestPlayer>(&mainThread_);

    const TaudioTag* next_ = nullptr;
    int asked_ = 0;
    std::vector<std::string> started_;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> times_;
    std::vector<TmediaPlayState> states_;
    std::vector<std::uint8_t> volumes_;
};

} // namespace

TEST_F(WinampPlayerTest, InitialiseStartsWinampThenPollsAndClearsItsPlaylist)
{
    EXPECT_EQ(player_->WinampWindowClass(), "Winamp v1.x");
    EXPECT_EQ(player_->GetSupportLevel(), 2);
    EXPECT_EQ(player_->PollInterval(), 500u);
    EXPECT_FALSE(player_->Polling()) << "created with the poll off";

    player_->Initialise(42);
    ASSERT_EQ(player_->Launches(), 1);
    EXPECT_EQ(player_->shellCalls[0].file, dir_.File("bin/winamp.exe"));
    EXPECT_EQ(player_->shellCalls[0].folder, dir_.File("bin/"));
    EXPECT_EQ(player_->WinampPath(), dir_.File("bin/")) << "the folder found is kept";
    EXPECT_TRUE(player_->Polling());
    EXPECT_TRUE(player_->IsConnected());
    ASSERT_EQ(winamp_->received.size(), 1u);
    EXPECT_EQ(winamp_->received[0].lParam, wa::IpcClearPlaylist);
    EXPECT_TRUE(prompts_.boxes.empty());

    // Started again while it runs: Winamp is launched once more and found at the first look.
    TtestPlayer second(&mainThread_);
    second.onLaunch = [] {};
    second.Initialise(0);
    EXPECT_EQ(second.Launches(), 1);
    EXPECT_TRUE(second.Polling());

    player_->Uninitialise();
    EXPECT_FALSE(player_->Polling());
    EXPECT_TRUE(winamp_->closed) << "Uninitialise closes Winamp";
    EXPECT_EQ(winamp_->CountButtons(wa::CommandClose), 1);
}

TEST_F(WinampPlayerTest, WithThePollOffNothingIsSent)
{
    OpenWinamp(); // running, but the player was never initialised
    EXPECT_TRUE(player_->IsConnected());
    winamp_->state = wa::StatePlaying;
    winamp_->positionMs = 5000;
    EXPECT_EQ(player_->GetState(), mpsStopped);
    EXPECT_EQ(player_->GetPosition(), 0u);
    EXPECT_EQ(player_->PlaylistIndex(), 0);
    player_->Stop();
    player_->Pause();
    player_->SetPosition(100);
    player_->SetVolume(99);
    EXPECT_TRUE(winamp_->received.empty());
    EXPECT_EQ(player_->GetVolume(), 99);
    EXPECT_EQ(volumes_, std::vector<std::uint8_t>{99}) << "the volume change is still reported";
}

TEST_F(WinampPlayerTest, HandOverWritesTheDummyEntryAndTheSongAndLeavesWinampOnTheDummy)
{
    Initialise();
    next_ = Song("one", "Artist", "Title", 200);
    ASSERT_TRUE(player_->PreloadNextTag());

    const std::string m3u = dir_.File("work/winamp.m3u");
    EXPECT_EQ(player_->HandOverFileName(), m3u);
    EXPECT_EQ(TempDir::Read(m3u), "#EXTM3U\r\n"
                                  "#EXTINF:0,Dummy Entry\r\n"
                                  "DoesNotExist\r\n"
                                  "#EXTINF:200,Artist - Title\r\n" +
                                      next_->Filename() + "\r\n");
    ASSERT_EQ(player_->shellCalls.size(), 2u);
    const TtestPlayer::TshellCall& add = player_->shellCalls[1];
    EXPECT_EQ(add.file, "\"" + dir_.File("bin/winamp.exe") + "\"");
    EXPECT_EQ(add.parameters, "/add \"" + m3u + "\"");
    EXPECT_EQ(add.folder, "\"" + dir_.File("bin/") + "\"");

    // Only a look at the position (for a start not yet seen) comes before the list is cleared.
    ASSERT_GE(winamp_->received.size(), 3u);
    EXPECT_EQ(winamp_->received[0].lParam, wa::IpcGetListPos);
    EXPECT_EQ(winamp_->received[1].lParam, wa::IpcClearPlaylist) << "the list is cleared first";
    EXPECT_EQ(winamp_->received.back().lParam, wa::IpcSetPlaylistPos);
    EXPECT_EQ(winamp_->received.back().wParam, 0);
    EXPECT_EQ(winamp_->playlist, (std::vector<std::string>{"DoesNotExist", next_->Filename()}));
    EXPECT_EQ(winamp_->position, 0);
    EXPECT_GE(player_->messagesRun, 1) << "pending messages run during the hand-over";

    // Captions with one half missing, and with none.
    next_ = Song("two", "", "Only Title", 5);
    player_->PreloadNextTag();
    EXPECT_NE(TempDir::Read(m3u).find("#EXTINF:5,Only Title\r\n"), std::string::npos);
    next_ = Song("three", "Only Artist", "", 6);
    player_->PreloadNextTag();
    EXPECT_NE(TempDir::Read(m3u).find("#EXTINF:6,Only Artist\r\n"), std::string::npos);
    next_ = Song("four", "", "", 7);
    player_->PreloadNextTag();
    EXPECT_NE(TempDir::Read(m3u).find("#EXTINF:7,\r\n"), std::string::npos);
    EXPECT_EQ(winamp_->playlist.size(), 2u) << "each hand-over replaces the list";

    // No song: Winamp's playlist stays as it is.
    winamp_->received.clear();
    next_ = nullptr;
    EXPECT_FALSE(player_->PreloadNextTag());
    ASSERT_EQ(winamp_->received.size(), 1u) << "nothing but the look at the position";
    EXPECT_EQ(winamp_->received[0].lParam, wa::IpcGetListPos);
    EXPECT_EQ(winamp_->playlist.size(), 2u);
}

TEST_F(WinampPlayerTest, PollReportsEachStartAndPreparesTheNextSong)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "First", 200);
    const TaudioTag* b = Song("b", "B", "Second", 100);

    StartPlaying(a);
    EXPECT_EQ(winamp_->CountButtons(wa::CommandPlay), 1);
    EXPECT_EQ(winamp_->position, 0) << "the next hand-over put Winamp back on the dummy";
    ASSERT_EQ(started_, std::vector<std::string>{a->Filename()});
    ASSERT_NE(player_->GetCurrentTag(), nullptr);
    EXPECT_NE(player_->GetCurrentTag(), a) << "the player's own copy";
    EXPECT_EQ(player_->GetCurrentTag()->Filename(), a->Filename());

    // The start prepared a again (the test's lists did not move on); now they do.
    next_ = b;
    player_->PreloadNext();
    player_->PollWinamp();
    EXPECT_EQ(started_.size(), 1u) << "no start without a position change";
    winamp_->EndSong();
    player_->PollWinamp();
    EXPECT_EQ(started_, (std::vector<std::string>{a->Filename(), b->Filename()}));
    EXPECT_EQ(player_->GetCurrentTag()->Filename(), b->Filename());

    // The prepared song was dropped and nothing replaced it: Winamp still plays it, reported without one.
    next_ = nullptr;
    EXPECT_FALSE(player_->PreloadNextTag());
    winamp_->EndSong();
    player_->PollWinamp();
    EXPECT_EQ(started_.back(), "<none>");
    EXPECT_EQ(player_->GetCurrentTag(), nullptr);
}

TEST_F(WinampPlayerTest, HandOverAfterWinampRanOutReportsNoStartUntilItPlays)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "First", 200);
    const TaudioTag* b = Song("b", "B", "Second", 100);
    // a plays twice (the lists offer it again), then nothing follows and Winamp stops on its last entry.
    StartPlaying(a);
    next_ = nullptr;
    winamp_->EndSong();
    player_->PollWinamp();
    winamp_->EndSong();
    ASSERT_EQ(winamp_->state, wa::StateStopped);
    ASSERT_EQ(winamp_->position, 1);
    const std::vector<std::string> played{a->Filename(), a->Filename()};
    ASSERT_EQ(started_, played);

    // The lists change while Winamp stands still: each hand-over moves its position, nothing starts.
    next_ = Song("gone", "G", "Gone", 100, false);
    player_->PreloadNext();
    player_->PollWinamp();
    EXPECT_EQ(started_, played) << "a missing song empties Winamp's list";
    next_ = b;
    player_->PreloadNext();
    player_->PollWinamp();
    EXPECT_EQ(started_, played);

    next_ = b;
    player_->Play();
    player_->PollWinamp();
    EXPECT_EQ(started_, (std::vector<std::string>{a->Filename(), a->Filename(), b->Filename()}));
}

// A song shorter than a tick starts and ends before the poll sees it: Winamp stops at the end of its list.
// The start is still reported once, and the song prepared then follows at once; Stop is not undone.
TEST_F(WinampPlayerTest, ASongEndedBetweenTwoTicksIsReportedOnceAndTheNextFollows)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "First", 100);
    const TaudioTag* jingle = Song("jingle", "J", "Jingle", 1);
    const TaudioTag* c = Song("c", "C", "Third", 100);
    StartPlaying(a);
    next_ = jingle;
    player_->PreloadNext();
    winamp_->EndSong(); // the jingle plays
    winamp_->EndSong(); // and ends before the next tick
    ASSERT_EQ(winamp_->state, wa::StateStopped);
    next_ = c;
    player_->PollWinamp();
    EXPECT_EQ(winamp_->state, wa::StatePlaying);
    player_->PollWinamp();
    EXPECT_EQ(started_, (std::vector<std::string>{a->Filename(), jingle->Filename(), c->Filename()}));
    EXPECT_EQ(std::count(states_.begin(), states_.end(), mpsStopped), 0);

    // Stopped by the user just after a short song started: it stays stopped.
    next_ = jingle;
    player_->PreloadNext();
    winamp_->EndSong();
    player_->Stop();
    player_->PollWinamp();
    player_->PollWinamp();
    EXPECT_EQ(winamp_->state, wa::StateStopped);
    EXPECT_EQ(started_.size(), 4u);
}

// Winamp moves on to the prepared song, and before the next tick a list change hands over another one.
TEST_F(WinampPlayerTest, StartBeforeTheNextTickIsReportedByTheHandOverFirst)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "First", 100);
    const TaudioTag* b = Song("b", "B", "Second", 100);
    const TaudioTag* c = Song("c", "C", "Third", 100);
    const TaudioTag* d = Song("d", "D", "Fourth", 100);
    StartPlaying(a);
    next_ = b;
    player_->PreloadNext();
    winamp_->EndSong(); // b plays; no tick yet
    next_ = c;
    player_->PreloadNext();
    EXPECT_EQ(started_, (std::vector<std::string>{a->Filename(), b->Filename()}));
    ASSERT_NE(player_->GetCurrentTag(), nullptr);
    EXPECT_EQ(player_->GetCurrentTag()->Filename(), b->Filename());
    EXPECT_EQ(winamp_->playlist, (std::vector<std::string>{"DoesNotExist", c->Filename()}));
    player_->PollWinamp();
    EXPECT_EQ(started_.size(), 2u) << "reported once";

    // Playing a chosen song replaces the prepared one: a start not yet seen is reported first there too.
    winamp_->EndSong();
    player_->PlayTag(d);
    player_->PollWinamp();
    EXPECT_EQ(started_,
              (std::vector<std::string>{a->Filename(), b->Filename(), c->Filename(), d->Filename()}));
}

// The start's handler fails (history.txt or queue.dat cannot be written): the player goes on as after any
// start, and the user is told once.
TEST_F(WinampPlayerTest, FailingStartHandlerIsToldOnceAndThePollGoesOn)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "First", 100);
    const TaudioTag* b = Song("b", "B", "Second", 100);
    const TaudioTag* c = Song("c", "C", "Third", 100);
    StartPlaying(a);
    const std::string failure = "Cannot write file \"history.txt\": No space left on device";
    events_.OnPlaybackStart = [&](TcustomMediaPlayer*, const TaudioTag* tag) {
        started_.push_back(tag ? tag->Filename() : "<none>");
        throw EFileError(failure);
    };

    next_ = b;
    player_->PreloadNext();
    next_ = c;
    winamp_->EndSong();
    EXPECT_NO_THROW(player_->PollWinamp());
    EXPECT_EQ(started_, (std::vector<std::string>{a->Filename(), b->Filename()}));
    EXPECT_EQ(winamp_->playlist, (std::vector<std::string>{"DoesNotExist", c->Filename()}))
        << "the next song is prepared";
    // The box waits until the tick is over: the poll's thread waits for its tick, and a box open inside
    // it would hold up the next start until the user answers.
    EXPECT_TRUE(prompts_.boxes.empty());
    ASSERT_TRUE(mainThread_.RunUntil([&] { return !prompts_.boxes.empty(); }, std::chrono::seconds(5)));
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    EXPECT_EQ(prompts_.boxes[0].text, failure);
    EXPECT_EQ(prompts_.boxes[0].caption, "Orvane Jukebox");
    EXPECT_EQ(prompts_.boxes[0].buttons, TmessageButtons::Ok);
    EXPECT_EQ(prompts_.boxes[0].icon, TmessageIcon::Error);
    player_->PollWinamp();
    EXPECT_EQ(started_.size(), 2u) << "the start is not reported again";
    ASSERT_NE(player_->GetCurrentTag(), nullptr) << "nor does the playing song go blank";
    EXPECT_EQ(player_->GetCurrentTag()->Filename(), b->Filename());
    EXPECT_EQ(prompts_.boxes.size(), 1u);

    // The same through a hand-over that reports a start the poll has not seen.
    winamp_->EndSong();
    EXPECT_NO_THROW(player_->PreloadNext());
    EXPECT_EQ(started_.size(), 3u);
    EXPECT_EQ(prompts_.boxes.size(), 2u);
    EXPECT_EQ(winamp_->playlist.back(), c->Filename());

    // No other handler's error leaves the tick either.
    events_.OnTimeChange = [](TcustomMediaPlayer*, std::uint32_t, std::uint32_t) {
        throw EFileError("time");
    };
    winamp_->positionMs += 500;
    EXPECT_NO_THROW(player_->PollWinamp());
    ASSERT_TRUE(mainThread_.RunUntil([&] { return prompts_.boxes.size() == 3; }, std::chrono::seconds(5)));
    EXPECT_EQ(prompts_.boxes[2].text, "time");
}

TEST_F(WinampPlayerTest, PollSwitchesShuffleAndRepeatOffAndReportsTimeStateAndLength)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "Song", 190);
    StartPlaying(a);
    winamp_->shuffle = true;
    winamp_->repeat = true;
    winamp_->lengthSeconds = 200;
    winamp_->positionMs = 1234;
    times_.clear();
    states_.clear();
    player_->PollWinamp();
    EXPECT_FALSE(winamp_->shuffle);
    EXPECT_FALSE(winamp_->repeat);
    ASSERT_EQ(times_.size(), 1u);
    EXPECT_EQ(times_[0], std::make_pair(1234u, 200000u)) << "3:20 is 200000 ms";
    EXPECT_EQ(player_->GetCurrentTag()->Duration(), 200u) << "Winamp's length wins";
    EXPECT_EQ(a->Duration(), 190u) << "the caller's song is not touched";
    EXPECT_TRUE(states_.empty()) << "reported at the start's tick already";

    player_->PollWinamp();
    EXPECT_EQ(times_.size(), 1u) << "no time change without a new position";

    // Without a song loaded Winamp answers a length of 0 or -1: no news for the song.
    for (const std::int32_t none : {0, -1}) {
        winamp_->lengthSeconds = none;
        winamp_->positionMs += 500;
        player_->PollWinamp();
        EXPECT_EQ(player_->GetCurrentTag()->Duration(), 200u);
        EXPECT_EQ(times_.back().second, 0u);
    }

    player_->Pause();
    player_->PollWinamp();
    player_->Stop();
    player_->PollWinamp();
    EXPECT_EQ(states_, (std::vector<TmediaPlayState>{mpsPaused, mpsStopped}));
    EXPECT_EQ(player_->GetPosition(), 0u) << "stopped: no position asked";
}

TEST_F(WinampPlayerTest, ControlVolumeReimposesTheVolumeAtEveryTick)
{
    Initialise();
    player_->SetVolume(128);
    EXPECT_EQ(winamp_->volume, 128);
    winamp_->volume = 40; // the user turned Winamp's own knob
    volumes_.clear();
    player_->PollWinamp();
    EXPECT_EQ(winamp_->volume, 40) << "ControlVolume is off";
    EXPECT_TRUE(volumes_.empty());

    player_->SetControlVolume(true);
    player_->PollWinamp();
    EXPECT_EQ(winamp_->volume, 128);
    player_->PollWinamp();
    EXPECT_EQ(volumes_, (std::vector<std::uint8_t>{128, 128})) << "reported at every tick";
}

TEST_F(WinampPlayerTest, TransportCommands)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "Song", 100);
    next_ = a;

    player_->Next();
    EXPECT_TRUE(winamp_->playlist.empty()) << "Next while stopped does nothing";
    EXPECT_EQ(winamp_->CountButtons(wa::CommandNext) + winamp_->CountButtons(wa::CommandPlay), 0);

    player_->SkipToNext();
    EXPECT_EQ(winamp_->CountButtons(wa::CommandPlay), 1) << "SkipToNext while stopped plays";
    EXPECT_EQ(winamp_->state, wa::StatePlaying);

    winamp_->received.clear();
    player_->Play();
    EXPECT_EQ(winamp_->CountButtons(wa::CommandPlay), 0) << "Play while playing";
    EXPECT_EQ(winamp_->CountRequests(wa::IpcClearPlaylist), 0);

    player_->Pause();
    EXPECT_EQ(winamp_->state, wa::StatePaused);
    winamp_->received.clear();
    player_->Play();
    EXPECT_EQ(winamp_->CountButtons(wa::CommandPlay), 1) << "Play while paused resumes";
    EXPECT_EQ(winamp_->CountRequests(wa::IpcClearPlaylist), 0) << "nothing is prepared on resume";

    player_->SetPosition(4321);
    EXPECT_EQ(winamp_->positionMs, 4321);
    player_->SetPlaylistIndex(1);
    EXPECT_EQ(player_->PlaylistIndex(), 1);

    // A finished song skips on before it is reported.
    winamp_->received.clear();
    int finished = 0;
    events_.OnPlaybackFinished = [&](TcustomMediaPlayer*, const TaudioTag*) {
        EXPECT_EQ(winamp_->CountButtons(wa::CommandNext), 1);
        ++finished;
    };
    player_->DoPlaybackFinished(nullptr);
    EXPECT_EQ(finished, 1);

    player_->Stop();
    EXPECT_EQ(winamp_->state, wa::StateStopped);
    winamp_->received.clear();
    winamp_->playlist.clear();
    next_ = nullptr;
    player_->Play();
    EXPECT_EQ(winamp_->CountButtons(wa::CommandPlay), 0) << "nothing to play: Winamp's list is empty";
}

TEST_F(WinampPlayerTest, PlayTagPlaysThatSongAndReportsItsStart)
{
    Initialise();
    const TaudioTag* queued = Song("queued", "Q", "Queued", 100);
    const TaudioTag* asked = Song("asked", "P", "Picked", 100);
    next_ = queued;
    player_->PlayTag(asked);
    EXPECT_EQ(winamp_->playlist, (std::vector<std::string>{"DoesNotExist", asked->Filename()}));
    EXPECT_EQ(winamp_->state, wa::StatePlaying);
    player_->PollWinamp();
    ASSERT_EQ(started_.size(), 1u);
    EXPECT_EQ(started_[0], asked->Filename());
    EXPECT_EQ(winamp_->playlist.back(), queued->Filename()) << "then the lists' song is prepared";

    // While playing, the song is handed over and skipped to at once.
    player_->PlayTag(asked);
    player_->PollWinamp();
    EXPECT_EQ(started_.back(), asked->Filename());
    EXPECT_EQ(started_.size(), 2u);
}

TEST_F(WinampPlayerTest, MissingSongFileIsToldAndNothingPlays)
{
    Initialise();
    next_ = Song("gone", "A", "Gone", 100, false);
    player_->Play();
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    const TfakePrompts::Tbox& box = prompts_.boxes[0];
    EXPECT_EQ(box.caption, "Could not locate file");
    EXPECT_EQ(box.text, "The file " + next_->Filename() +
                            " could not be located.\rMake sure that all removable/network devices where your "
                            "files are stored are connected.  Rescan your Music Folders if you have moved or "
                            "removed files from your search paths.");
    EXPECT_EQ(box.buttons, TmessageButtons::Ok);
    EXPECT_EQ(box.icon, TmessageIcon::Warning);
    EXPECT_TRUE(winamp_->playlist.empty());
    EXPECT_EQ(winamp_->CountButtons(wa::CommandPlay), 0);
    EXPECT_FALSE(std::filesystem::exists(dir_.File("work/winamp.m3u")));

    player_->Play();
    EXPECT_EQ(prompts_.Count("Could not locate file"), 2) << "each new attempt tells again";
    player_->PollWinamp();
    EXPECT_TRUE(started_.empty());

    // The lists hear of the missing file and move past it: the next source's song is handed over at once.
    // A second missing song in the same request is skipped untold.
    const TaudioTag* gone = next_;
    const TaudioTag* alsoGone = Song("also gone", "A", "Gone Too", 100, false);
    const TaudioTag* present = Song("present", "A", "Here", 100);
    std::vector<std::string> missing;
    events_.OnFileNotFound = [&](TcustomMediaPlayer*, const TaudioTag* tag) {
        missing.push_back(tag->Filename());
        next_ = next_ == gone ? alsoGone : present;
    };
    player_->Play();
    EXPECT_EQ(prompts_.Count("Could not locate file"), 3);
    EXPECT_EQ(missing, (std::vector<std::string>{gone->Filename(), alsoGone->Filename()}));
    EXPECT_EQ(winamp_->playlist, (std::vector<std::string>{"DoesNotExist", present->Filename()}));
    player_->PollWinamp();
    EXPECT_EQ(started_, std::vector<std::string>{present->Filename()});
}

TEST_F(WinampPlayerTest, FailedHandOverAsksAgainBoundedThenTells)
{
    Initialise();
    dir_.Write("work", "a file where the working folder should be");
    next_ = Song("a", "A", "Song", 100);
    asked_ = 0;
    EXPECT_TRUE(player_->PreloadNextTag());
    EXPECT_EQ(asked_, 3) << "a fresh song is asked for, a bounded number of times";
    EXPECT_TRUE(winamp_->playlist.empty());
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    EXPECT_EQ(prompts_.boxes[0].caption, "Orvane Jukebox");
    EXPECT_EQ(prompts_.boxes[0].icon, TmessageIcon::Error);
    EXPECT_FALSE(prompts_.boxes[0].text.empty());
}

TEST_F(WinampPlayerTest, WinampGoneAsksOnceAndNoSilencesThePollUntilPlay)
{
    Initialise();
    StartPlaying(Song("a", "A", "Song", 100));
    player_->winamp = nullptr;
    winamp_.reset(); // Winamp died
    player_->onLaunch = nullptr;
    player_->launchStarts = false;

    player_->PollWinamp();
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    const TfakePrompts::Tbox& box = prompts_.boxes[0];
    EXPECT_EQ(box.caption, "Cannot find Winamp");
    EXPECT_EQ(box.text, "Winamp cannot be located, it might not be running.\rOrvane Jukebox will not be "
                        "functional without Winamp running.\rWould you like to try to run Winamp?");
    EXPECT_EQ(box.buttons, TmessageButtons::YesNo);
    EXPECT_EQ(box.icon, TmessageIcon::Error);
    EXPECT_TRUE(player_->Declined());

    player_->PollWinamp();
    player_->Next();
    player_->Stop();
    EXPECT_EQ(prompts_.boxes.size(), 1u) << "declined: no more prompts";

    // Play clears the refusal; Yes starts Winamp again and the poll goes on with it.
    player_->onLaunch = [this] { OpenWinamp(); };
    player_->launchStarts = true;
    prompts_.answers.push_back(TmessageResult::Yes);
    player_->Play();
    EXPECT_EQ(prompts_.boxes.size(), 2u);
    EXPECT_FALSE(player_->Declined());
    ASSERT_TRUE(winamp_);
    EXPECT_TRUE(player_->Polling());
    EXPECT_TRUE(player_->IsConnected());
    EXPECT_EQ(winamp_->state, wa::StatePlaying) << "and Play went on";
    winamp_->shuffle = true;
    player_->PollWinamp();
    EXPECT_FALSE(winamp_->shuffle);
}

TEST_F(WinampPlayerTest, NotFoundAtInitialiseAsksAndPlayTriesAgain)
{
    player_->onLaunch = nullptr;
    player_->launchStarts = false;
    player_->Initialise(0);
    EXPECT_EQ(prompts_.Count("Cannot find Winamp"), 1);
    EXPECT_FALSE(player_->Polling());
    EXPECT_TRUE(player_->Declined());
    player_->Stop();
    player_->Next();
    EXPECT_EQ(prompts_.boxes.size(), 1u) << "buttons are ignored without a poll";

    // Yes, but Winamp does not come up within the bound: still nothing to talk to.
    player_->launchStarts = true;
    player_->SetLaunchTimeout(30);
    prompts_.answers.push_back(TmessageResult::Yes);
    player_->Play();
    EXPECT_EQ(prompts_.Count("Cannot find Winamp"), 2) << "Play asks again";
    EXPECT_FALSE(player_->Polling());

    // Yes, and it starts: the poll starts with it and the song plays.
    player_->onLaunch = [this] { OpenWinamp(); };
    prompts_.answers.push_back(TmessageResult::Yes);
    const TaudioTag* a = Song("a", "A", "Song", 100);
    next_ = a;
    player_->Play();
    EXPECT_EQ(prompts_.Count("Cannot find Winamp"), 3);
    EXPECT_TRUE(player_->Polling());
    ASSERT_TRUE(winamp_);
    EXPECT_EQ(winamp_->state, wa::StatePlaying);
    player_->PollWinamp();
    EXPECT_EQ(started_, std::vector<std::string>{a->Filename()});
}

TEST_F(WinampPlayerTest, LaunchWaitIsBounded)
{
    player_->onLaunch = nullptr;
    player_->SetLaunchTimeout(60);
    const auto start = std::chrono::steady_clock::now();
    player_->LaunchWinamp(); // started, but no window ever comes
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 50ms);
    EXPECT_LT(waited, 2s);
    player_->launchStarts = false;
    player_->SetLaunchTimeout(5000);
    const auto again = std::chrono::steady_clock::now();
    player_->LaunchWinamp(); // nothing could be started: no wait
    EXPECT_LT(std::chrono::steady_clock::now() - again, 1s);
}

TEST_F(WinampPlayerTest, HandOverHoldsCommandsThatArriveMeanwhile)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "First", 100);
    const TaudioTag* b = Song("b", "B", "Second", 100);
    StartPlaying(a);
    ASSERT_EQ(started_.size(), 1u);

    // While a's successor is handed over, the lists change (b) and a tick comes in.
    bool once = true;
    player_->duringMessages = [&] {
        if (!once)
            return;
        once = false;
        next_ = b;
        player_->PreloadNext();
        winamp_->position = 1; // what a tick would misread as a start
        player_->PollWinamp();
        winamp_->position = 0;
    };
    player_->PreloadNext();
    player_->duringMessages = nullptr;
    EXPECT_EQ(started_.size(), 1u) << "the tick inside the hand-over did nothing";
    EXPECT_EQ(winamp_->playlist, (std::vector<std::string>{"DoesNotExist", b->Filename()}))
        << "the later choice was handed over after the first";
    winamp_->EndSong();
    player_->PollWinamp();
    EXPECT_EQ(started_.back(), b->Filename());
}

TEST_F(WinampPlayerTest, ShutdownDuringAHandOverClosesWinampOnceTheSongIsHandedOver)
{
    Initialise();
    const TaudioTag* a = Song("a", "A", "First", 100);
    next_ = a;
    // The program closes while the song goes to Winamp (the hand-over lets messages run).
    bool once = true;
    player_->duringMessages = [&] {
        if (std::exchange(once, false))
            player_->Uninitialise();
    };
    player_->PreloadNext();
    player_->duringMessages = nullptr;
    EXPECT_EQ(winamp_->playlist, (std::vector<std::string>{"DoesNotExist", a->Filename()}))
        << "the \"/add\" was waited for, so it cannot start a Winamp of its own later";
    EXPECT_TRUE(winamp_->closed);
    EXPECT_FALSE(player_->Polling());
}

TEST_F(WinampPlayerTest, TheThreadTimerDrivesThePoll)
{
    Initialise();
    player_->SetPollInterval(10);
    next_ = Song("a", "A", "Song", 100);
    player_->Play();
    EXPECT_TRUE(mainThread_.RunUntil([&] { return !started_.empty(); }, 5s));
    player_->Uninitialise();
    mainThread_.RunFor(30ms);
    const std::size_t count = winamp_->received.size();
    mainThread_.RunFor(50ms);
    EXPECT_EQ(winamp_->received.size(), count) << "no tick after Uninitialise";
}

TEST_F(WinampPlayerTest, SettingsRoundTrip)
{
    const std::string file = dir_.File("settings.ini");
    {
        TIniFile ini(file);
        player_->LoadSettings(ini, "Player");
        EXPECT_EQ(player_->GetVolume(), 128);
        EXPECT_FALSE(player_->ControlVolume()) << "not read while not allowed";
        EXPECT_EQ(player_->WinampPath(), dir_.File("bin/")) << "located when the stored folder lacks it";

        player_->SetAllowControlVolume(true);
        player_->LoadSettings(ini, "Player");
        EXPECT_TRUE(player_->ControlVolume()) << "on by default";
    }
    {
        dir_.Write("winamp/orvane-standin", "");
        TIniFile ini(file);
        ini.WriteString("Player", "WinampPath", dir_.File("winamp"));
        ini.WriteInteger("Player", "Volume", 300);
        ini.WriteBool("Player", "ControlVolume", false);
        player_->LoadSettings(ini, "Player");
        EXPECT_EQ(player_->WinampPath(), dir_.File("winamp"));
        EXPECT_EQ(player_->GetVolume(), 44);
        EXPECT_FALSE(player_->ControlVolume());

        player_->SetControlVolume(true);
        player_->SaveSettings(ini, "Player");
        EXPECT_EQ(ini.ReadInteger("Player", "Volume", 0), 44);
        EXPECT_EQ(ini.ReadString("Player", "ControlVolume", ""), "1");
        EXPECT_EQ(ini.ReadString("Player", "WinampPath", ""), dir_.File("winamp"));

        TIniFile other(dir_.File("other.ini"));
        player_->SetAllowControlVolume(false);
        player_->SaveSettings(other, "Player");
        EXPECT_EQ(other.ReadString("Player", "ControlVolume", "absent"), "absent");
        EXPECT_EQ(other.ReadString("Player", "WinampPath", ""), dir_.File("winamp"));
    }
}

TEST_F(WinampPlayerTest, LocateWinampLooksInItsFolderThenBesideTheProgram)
{
    dir_.Write("mine/orvane-standin", "");
    player_->SetWinampPath(dir_.File("mine"));
    EXPECT_EQ(player_->LocateWinamp(), dir_.File("mine"));
    EXPECT_EQ(player_->GetWinampExe(), dir_.File("mine/winamp.exe"));

    player_->SetWinampPath(dir_.File("elsewhere"));
    EXPECT_EQ(player_->LocateWinamp(), dir_.File("bin/"));
    EXPECT_EQ(player_->WinampPath(), dir_.File("bin/"));
    EXPECT_EQ(player_->GetWinampExe(), dir_.File("bin/winamp.exe"));

    std::filesystem::remove(dir_.File("bin/orvane-standin"));
    player_->SetWinampPath(dir_.File("elsewhere"));
    EXPECT_EQ(player_->LocateWinamp(), "");
    EXPECT_EQ(player_->WinampPath(), dir_.File("elsewhere")) << "an empty result is not stored";
}

TEST_F(WinampPlayerTest, ConfigureGoesThroughTheInstalledDialog)
{
    player_->Configure(); // none installed: nothing happens
    TwinampMediaPlayer* shown = nullptr;
    TwinampMediaPlayer::SetConfigDialogHook([&](TwinampMediaPlayer& player) { shown = &player; });
    player_->Configure();
    TwinampMediaPlayer::SetConfigDialogHook(nullptr);
    EXPECT_EQ(shown, player_.get());
}

TEST_F(WinampPlayerTest, DestructionClosesWinampOnlyWhenStarted)
{
    OpenWinamp();
    int uninitialised = 0;
    events_.OnUninitialise = [&](TcustomMediaPlayer*) { ++uninitialised; };
    {
        TtestPlayer idle(&mainThread_);
        idle.SetEvents(&events_);
    }
    EXPECT_FALSE(winamp_->closed);
    EXPECT_EQ(uninitialised, 0);

    player_->Initialise(0);
    player_.reset();
    EXPECT_TRUE(winamp_->closed);
    EXPECT_EQ(uninitialised, 1);
}

TEST(PromptService, WithoutAServiceTheBoxAnswersWithItsLastButton)
{
    TpromptService* const previous = TpromptService::Install(nullptr);
    EXPECT_EQ(ShowMessageBox("t", "c", TmessageButtons::YesNo, TmessageIcon::Question), TmessageResult::No);
    EXPECT_EQ(ShowMessageBox("t", "c", TmessageButtons::Ok, TmessageIcon::None), TmessageResult::Ok);
    {
        TfakePrompts prompts;
        prompts.answers.push_back(TmessageResult::Yes);
        EXPECT_EQ(ShowMessageBox("t", "c", TmessageButtons::YesNo, TmessageIcon::Question),
                  TmessageResult::Yes);
        EXPECT_EQ(TpromptService::Current(), &prompts);
    }
    EXPECT_EQ(TpromptService::Current(), nullptr);
    TpromptService::Install(previous);
    EXPECT_EQ(ApplicationTitle(), "Orvane Jukebox");
}
