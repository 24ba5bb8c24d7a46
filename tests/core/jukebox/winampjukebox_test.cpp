// The playing jukebox driving the real stand-in program through the Winamp player, wired as the main
// window wires them: the player asks the jukebox for its next song and reports each start back to it.
#include "core/jukebox/localjukebox.h"
#include "core/player/custommediaplayerevents.h"
#include "core/player/winampmediaplayer.h"
#include "core/reports/audiotaghistorylist.h"
#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
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

namespace {

class WinampJukeboxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(standin_.Start(), 0);

        playerEvents_.OnGetNextTagger = [this](TcustomMediaPlayer*, const TaudioTag*& tag) {
            tag = jukebox_->GetNextTag();
        };
        playerEvents_.OnPlaybackStart = [this](TcustomMediaPlayer*, const TaudioTag* tag) {
            started_.push_back(tag ? tag->Filename() : "<none>");
            jukebox_->SongStarted(tag);
        };
        playerEvents_.OnStateChange = [this](TcustomMediaPlayer*, TmediaPlayState state) {
            states_.push_back(state);
        };

        jukebox_ = std::make_unique<TlocalJukebox>();
        jukebox_->SetPlayerEvents(&playerEvents_);
        auto player = std::make_unique<TwinampMediaPlayer>();
        player->SetPollInterval(20);
        player->SetWorkingFolder(dir_.File("work"));
        player_ = player.get();
        ASSERT_EQ(jukebox_->SetPlayer(std::move(player)), nullptr);
        player_->Initialise(0);
        ASSERT_TRUE(player_->Polling());
    }

    void TearDown() override
    {
        jukebox_.reset(); // frees the player, which closes the stand-in
        standin_.Finish();
    }

    std::string Queue(const std::string& name, std::uint32_t ms)
    {
        auto song = std::make_unique<TaudioTag>();
        song->SetFilename(dir_.Write("songs/" + name + ".wav", wavbytes::Song(ms)));
        song->SetArtist("Artist");
        song->SetTitle(name);
        const std::string fileName = song->Filename();
        jukebox_->Queue().Add(song.release());
        return fileName;
    }

    TempDir dir_;
    ScopedEnv home_{"ORVANE_HOME", dir_.Path() + "/"};
    ScopedEnv ipc_{"ORVANE_IPC_DIR", dir_.File("ipc")};
    ScopedEnv silent_{"ORVANE_STANDIN_SILENT", "1"};
    ScopedEnv speed_{"ORVANE_STANDIN_SPEED", "10"};
    TfakePrompts prompts_;
    TstandinProcess standin_;
    TcustomMediaPlayerEvents playerEvents_;
    std::unique_ptr<TlocalJukebox> jukebox_;
    TwinampMediaPlayer* player_ = nullptr; // owned by the jukebox

    std::vector<std::string> started_;
    std::vector<TmediaPlayState> states_;
};

} // namespace

TEST_F(WinampJukeboxTest, QueuedSongsPlayInOrderEmptyTheQueueAndEnterTheHistory)
{
    const std::vector<std::string> songs = {Queue("one", 3000), Queue("two", 3000), Queue("three", 3000)};
    player_->Play();
    ASSERT_TRUE(PumpUntil([&] {
        return jukebox_->History().GetCount() == 3 && !states_.empty() && states_.back() == mpsStopped;
    })) << started_.size()
        << " started";

    EXPECT_EQ(started_, songs);
    EXPECT_EQ(jukebox_->Queue().GetCount(), 0);
    EXPECT_EQ(jukebox_->GetNextTag(), nullptr) << "nothing left to play";
    ASSERT_NE(jukebox_->PlayingTag(), nullptr);
    EXPECT_EQ(jukebox_->PlayingTag()->Filename(), songs[2]);
    EXPECT_EQ(jukebox_->PlayingSource(), jsQueue);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(jukebox_->History().GetItem(i)->Filename(), songs[static_cast<std::size_t>(i)]);

    // history.txt: one CR LF line per song, in playing order.
    const std::string text = TempDir::Read(jukebox_->GetHistoryFileName());
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
        lines.push_back(text.substr(from, end - from));
    EXPECT_EQ(from, text.size()) << "the file ends with CR LF";
    ASSERT_EQ(lines.size(), 3u) << text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].find('\n'), std::string::npos) << lines[i];
        EXPECT_NE(lines[i].find(songs[i]), std::string::npos) << lines[i];
    }
    EXPECT_EQ(prompts_.boxes.size(), 0u);
}

// Winamp moves on to the prepared song while no tick runs, then a guest queues a song: that start is still
// reported once, the song leaves the queue and enters history.txt, and it is not played again.
TEST_F(WinampJukeboxTest, SongStartedBeforeTheNextTickIsNotLostWhenAGuestQueues)
{
    const std::string one = Queue("one", 5000);
    const std::string two = Queue("two", 20000);
    player_->Play();
    ASSERT_TRUE(PumpUntil([&] { return started_.size() == 1; }));
    const platform::TWindowHandle winamp = platform::FindWindowByClass(wa::kWindowClass);
    const auto ask = [&](std::intptr_t code) {
        return platform::SendMessage(winamp, platform::WM_USER, 0, code);
    };

    player_->SetPollInterval(3600000); // no tick until the guest's song
    ASSERT_TRUE(PumpUntil([&] { return ask(wa::IpcGetListPos) == 1; })) << "Winamp moved on to two";
    const std::string three = Queue("three", 3000);
    EXPECT_EQ(started_, (std::vector<std::string>{one, two}));
    ASSERT_EQ(jukebox_->Queue().GetCount(), 1);
    EXPECT_EQ(jukebox_->Queue().GetItem(0)->Filename(), three);
    EXPECT_NE(TempDir::Read(jukebox_->GetHistoryFileName()).find(two), std::string::npos);

    player_->SetPollInterval(20);
    ASSERT_TRUE(PumpUntil([&] {
        return jukebox_->History().GetCount() >= 3 && !states_.empty() && states_.back() == mpsStopped;
    })) << started_.size()
        << " started";
    EXPECT_EQ(started_, (std::vector<std::string>{one, two, three}));
    EXPECT_EQ(jukebox_->History().GetCount(), 3);
    EXPECT_EQ(prompts_.boxes.size(), 0u);
}
