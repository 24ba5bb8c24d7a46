#include "core/jukebox/customjukebox.h"

#include "core/groupings/audiotagplaylistlist.h"
#include "core/groupings/taglistrules.h"
#include "core/jukebox/customjukeboxevents.h"
#include "core/jukebox/customjukeboxlist.h"
#include "core/jukebox/customjukeboxlistevents.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/jukebox/localjukeboxloader.h"
#include "core/player/custommediaplayerevents.h"
#include "core/reports/audiotaghistorylist.h"
#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
#include "platform/atomicfile.h"
#include "platform/error.h"
#include "platform/inifile.h"
#include "support/bytes.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

std::unique_ptr<TaudioTag> Song(const std::string& fileName)
{
    auto song = std::make_unique<TaudioTag>();
    song->SetFilename(fileName);
    song->SetArtist("Artist of " + fileName);
    song->SetTitle("Title of " + fileName);
    return song;
}

void Put(TaudioTagList& list, const std::string& fileName)
{
    list.Add(Song(fileName).release());
}

// A list for the stacker, owning its songs, titled and switched as asked.
TaudioTagList* StackerList(TaudioTagPlaylistList& stacker, const std::string& title,
                           const std::vector<std::string>& files, bool active)
{
    auto list = std::make_unique<TaudioTagList>();
    list->SetTitle(title);
    list->SetOwnsObjects(true);
    for (const auto& f : files)
        Put(*list, f);
    list->SetActive(active);
    TaudioTagList* raw = list.release();
    stacker.Add(raw);
    return raw;
}

// A jukebox whose data-file writes can be made to fail half-way, as a crash or a full disk would.
class TtestJukebox : public TlocalJukebox
{
public:
    int writes = 0;
    bool failWrites = false;

protected:
    void WriteDataFile(const std::string& fileName, std::string_view bytes) override
    {
        ++writes;
        if (!failWrites) {
            TlocalJukebox::WriteDataFile(fileName, bytes);
            return;
        }
        platform::TAtomicFileWriter writer(fileName);
        writer.Write(bytes.substr(0, bytes.size() / 2));
        throw EFileError("Cannot write file \"" + fileName + "\": No space left on device");
    }
};

// The jukebox as the main window wires it: the player's get-next and playback-start events answered by
// GetNextTag and SongStarted, the jukebox's own events written down one line each.
class JukeboxTest : public ::testing::Test
{
protected:
    JukeboxTest() : home_("ORVANE_HOME", dir.Path() + "/")
    {
        playerEvents.OnGetNextTagger = [this](TcustomMediaPlayer*, const TaudioTag*& tag) {
            tag = jukebox.GetNextTag();
        };
        playerEvents.OnPlaybackStart = [this](TcustomMediaPlayer*, const TaudioTag* tag) {
            jukebox.SongStarted(tag);
        };
        const auto note = [this](TcustomJukebox* sender, const std::string& line) {
            EXPECT_EQ(sender, &jukebox);
            lines.push_back(line);
        };
        events.OnQueueChange = [=](TcustomJukebox* s) { note(s, "Queue"); };
        events.OnPlaylistChange = [=](TcustomJukebox* s) { note(s, "Playlist"); };
        events.OnStackerChange = [=](TcustomJukebox* s) { note(s, "Stacker"); };
        events.OnCustomGlobalChange = [=](TcustomJukebox* s, int) { note(s, "Random"); };
        events.OnStackerListChange = [=](TcustomJukebox* s, TaudioTagList* list) {
            note(s, "StackerList " + list->Title());
        };
        events.OnActivePreloadedListChanged = [=](TcustomJukebox* s, TaudioTagList* list) {
            note(s, "Active " + (list != nullptr ? list->Title() : std::string("nil")));
        };
        jukebox.SetEvents(&events);
        jukebox.SetPlayerEvents(&playerEvents);
        auto owned = std::make_unique<TtestMediaPlayer>();
        player = owned.get();
        EXPECT_EQ(jukebox.SetPlayer(std::move(owned)), nullptr);
    }

    // The random-play list only links to songs, as it does to the library's; the test keeps them.
    void PutRandom(const std::string& fileName)
    {
        library_.push_back(Song(fileName));
        jukebox.RandomPlayList().Add(library_.back().get());
    }
    std::size_t Preloads() const { return player->CountCalls("PreloadNext"); }
    void Forget()
    {
        player->Calls.clear();
        lines.clear();
    }
    std::string Next() { return Name(jukebox.GetNextTag()); }
    static std::string Name(const TaudioTag* tag) { return tag != nullptr ? tag->Filename() : "nil"; }
    std::string Prepared() const { return Name(player->PreparedTag()); }
    // The prepared song begins, as the player would report it; its file name.
    std::string Play() { return Name(player->StartPrepared()); }

    TempDir dir;
    ScopedEnv home_;
    std::vector<std::unique_ptr<TaudioTag>> library_;
    TcustomMediaPlayerEvents playerEvents;
    TcustomJukeboxEvents events;
    std::vector<std::string> lines;
    TtestJukebox jukebox;
    TtestMediaPlayer* player = nullptr;
};

TEST_F(JukeboxTest, StartsWithTheListsSetUpForPlaying)
{
    EXPECT_TRUE(jukebox.Queue().OwnsObjects());
    EXPECT_TRUE(jukebox.Queue().Active());
    EXPECT_TRUE(jukebox.Playlist().OwnsObjects());
    EXPECT_FALSE(jukebox.Playlist().Active());
    EXPECT_EQ(jukebox.Stacker().Mode(), plmStacker);
    EXPECT_TRUE(jukebox.Stacker().OwnsObjects());
    EXPECT_TRUE(jukebox.Stacker().ListsOwnObjects());
    EXPECT_FALSE(jukebox.RandomPlayList().OwnsObjects());
    EXPECT_TRUE(jukebox.RandomPlay());
    EXPECT_EQ(jukebox.RandomPlayList().PlayMode(), lmRandom | lmLoop);
    EXPECT_FALSE(jukebox.StackerPlayList().OwnsObjects());
    EXPECT_EQ(jukebox.StackerPlayList().PlayMode(), lmRandom | lmLoop);
    EXPECT_TRUE(jukebox.History().OwnsObjects());
    EXPECT_TRUE(jukebox.WriteHistory());
    EXPECT_FALSE(jukebox.AutoSavePlaylist() || jukebox.AutoSaveQueue() || jukebox.AutoSaveStacker());
    EXPECT_TRUE(jukebox.Rules().PathsAllowed());
    EXPECT_EQ(jukebox.ChosenSource(), jsNone);
    EXPECT_EQ(jukebox.JukeboxList(), nullptr);

    // Without a library the files live in the program folder.
    EXPECT_EQ(jukebox.GetDataFolder(), dir.Path() + "/");
    EXPECT_EQ(jukebox.GetQueueFileName(), dir.Path() + "/queue.dat");
    EXPECT_EQ(jukebox.GetPlaylistFileName(), dir.Path() + "/playlist.dat");
    EXPECT_EQ(jukebox.GetStackerFileName(), dir.Path() + "/stacker.dat");
    EXPECT_EQ(jukebox.GetHistoryFileName(), dir.Path() + "/history.txt");
}

TEST_F(JukeboxTest, NextSongComesFromTheFirstSourceThatHasOneAndNothingMoves)
{
    PutRandom("/m/random.mp3");
    jukebox.Playlist().SetActive(true);
    Put(jukebox.Playlist(), "/m/playlist.mp3");
    StackerList(jukebox.Stacker(), "Cart", {"/m/stacker.mp3"}, true);
    jukebox.Stacker().SetActive(true);
    Put(jukebox.Queue(), "/m/queue1.mp3");
    Put(jukebox.Queue(), "/m/queue2.mp3");

    EXPECT_EQ(Next(), "/m/queue1.mp3");
    EXPECT_EQ(Next(), "/m/queue1.mp3");
    EXPECT_EQ(jukebox.ChosenSource(), jsQueue);
    EXPECT_EQ(jukebox.Queue().GetCount(), 2);

    jukebox.Queue().SetActive(false);
    EXPECT_EQ(Next(), "/m/stacker.mp3");
    EXPECT_EQ(jukebox.ChosenSource(), jsStacker);
    EXPECT_EQ(jukebox.ChosenStackerListName(), "Cart");

    jukebox.Stacker().SetActive(false);
    EXPECT_EQ(Next(), "/m/playlist.mp3");
    EXPECT_EQ(jukebox.ChosenSource(), jsPlaylist);
    EXPECT_EQ(jukebox.ChosenStackerListName(), "");

    jukebox.Playlist().SetActive(false);
    EXPECT_EQ(Next(), "/m/random.mp3");
    EXPECT_EQ(jukebox.ChosenSource(), jsRandomPlayList);
    EXPECT_EQ(jukebox.ChosenTag(), jukebox.RandomPlayList().GetItem(0));

    jukebox.SetRandomPlay(false);
    EXPECT_EQ(jukebox.GetNextTag(), nullptr);
    EXPECT_EQ(jukebox.ChosenSource(), jsNone);
    EXPECT_EQ(jukebox.ChosenTag(), nullptr);
}

TEST_F(JukeboxTest, QueuedSongsPlayFromTheHeadThroughThePlayer)
{
    jukebox.SetRandomPlay(false);
    Put(jukebox.Queue(), "/m/a.mp3");
    Put(jukebox.Queue(), "/m/b.mp3");
    EXPECT_EQ(Prepared(), "/m/a.mp3");

    EXPECT_EQ(Play(), "/m/a.mp3");
    EXPECT_EQ(jukebox.PlayingSource(), jsQueue);
    ASSERT_EQ(jukebox.Queue().GetCount(), 1);
    EXPECT_EQ(jukebox.Queue().GetItem(0)->Filename(), "/m/b.mp3");
    EXPECT_EQ(Prepared(), "/m/b.mp3");
    ASSERT_EQ(jukebox.History().GetCount(), 1);
    EXPECT_EQ(jukebox.PlayingTag(), jukebox.History().GetItem(0));
    EXPECT_EQ(jukebox.PlayingTag()->Filename(), "/m/a.mp3");
    EXPECT_NE(jukebox.PlayingTag(), player->GetCurrentTag());

    EXPECT_EQ(Play(), "/m/b.mp3");
    EXPECT_EQ(jukebox.Queue().GetCount(), 0);
    EXPECT_EQ(player->PreparedTag(), nullptr);
    EXPECT_EQ(jukebox.History().GetCount(), 2);

    // Nothing prepared: the player reports a start without a song.
    EXPECT_EQ(Play(), "nil");
    EXPECT_EQ(jukebox.PlayingTag(), nullptr);
    EXPECT_EQ(jukebox.PlayingSource(), jsNone);
    EXPECT_EQ(jukebox.History().GetCount(), 2);
}

TEST_F(JukeboxTest, ASongThatIsNotTheSourcesOwnMovesNothingButEntersHistory)
{
    Put(jukebox.Queue(), "/m/Song.mp3");
    EXPECT_EQ(Next(), "/m/Song.mp3");

    // The user played something else, then the same name in other letter case: both compare unequal.
    jukebox.SongStarted(Song("/m/other.mp3").get());
    jukebox.SongStarted(Song("/m/song.mp3").get());
    EXPECT_EQ(jukebox.Queue().GetCount(), 1);
    ASSERT_EQ(jukebox.History().GetCount(), 2);
    EXPECT_EQ(jukebox.History().GetItem(1)->Filename(), "/m/song.mp3");

    // A played song from the random-play list with the chosen source set to random play.
    jukebox.Queue().Clear();
    PutRandom("/m/r1.mp3");
    EXPECT_EQ(Next(), "/m/r1.mp3");
    jukebox.SongStarted(Song("/m/R1.mp3").get());
    EXPECT_EQ(jukebox.RandomPlayList().RandomList().GetCount(), 1);
    jukebox.SongStarted(Song("/m/r1.mp3").get());
    EXPECT_EQ(jukebox.RandomPlayList().RandomList().GetCount(), 0);
}

TEST_F(JukeboxTest, HistoryFileIsRewrittenAtEverySongStart)
{
    Put(jukebox.Queue(), "/m/a.mp3");
    Put(jukebox.Queue(), "/m/b.mp3");
    Play();
    Play();
    const std::string text = TempDir::Read(jukebox.GetHistoryFileName());
    const auto first = text.find("/m/a.mp3");
    const auto second = text.find("/m/b.mp3");
    ASSERT_NE(first, std::string::npos);
    ASSERT_NE(second, std::string::npos);
    EXPECT_LT(first, second);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

    jukebox.SetWriteHistory(false);
    Put(jukebox.Queue(), "/m/c.mp3");
    Play();
    EXPECT_EQ(TempDir::Read(jukebox.GetHistoryFileName()), text);
    EXPECT_EQ(jukebox.History().GetCount(), 3);
}

// The prepared song began unseen by the player, and a guest queues a song before the next poll: the player
// reports the start first, and the song leaves the queue and enters the history once.
TEST_F(JukeboxTest, SongStartedBetweenTwoPollsIsPlayedOnceWhenAGuestQueues)
{
    jukebox.SetRandomPlay(false);
    Put(jukebox.Queue(), "/m/a.mp3");
    Put(jukebox.Queue(), "/m/b.mp3");
    Play();
    ASSERT_EQ(Prepared(), "/m/b.mp3");

    player->StartUnnoticed();
    Forget();
    Put(jukebox.Queue(), "/m/c.mp3");
    EXPECT_EQ(player->CountCalls("DoPlaybackStart /m/b.mp3"), 1u);
    ASSERT_EQ(jukebox.Queue().GetCount(), 1);
    EXPECT_EQ(jukebox.Queue().GetItem(0)->Filename(), "/m/c.mp3");
    EXPECT_EQ(Prepared(), "/m/c.mp3");
    ASSERT_EQ(jukebox.History().GetCount(), 2);
    EXPECT_EQ(Name(jukebox.PlayingTag()), "/m/b.mp3");
    EXPECT_EQ(jukebox.PlayingSource(), jsQueue);
    EXPECT_NE(TempDir::Read(jukebox.GetHistoryFileName()).find("/m/b.mp3"), std::string::npos);

    EXPECT_EQ(Play(), "/m/c.mp3");
    ASSERT_EQ(jukebox.History().GetCount(), 3);
    EXPECT_EQ(jukebox.History().GetItem(1)->Filename(), "/m/b.mp3");

    // A random-play song moves its own list on, although the queue is what changed.
    jukebox.SetRandomPlay(true);
    PutRandom("/m/r1.mp3");
    PutRandom("/m/r2.mp3");
    const std::string random = Prepared();
    ASSERT_NE(random, "nil");
    player->StartUnnoticed();
    Put(jukebox.Queue(), "/m/q.mp3");
    EXPECT_EQ(Name(jukebox.PlayingTag()), random);
    EXPECT_EQ(jukebox.PlayingSource(), jsRandomPlayList);
    EXPECT_EQ(jukebox.RandomPlayList().RandomList().GetCount(), 1);
    EXPECT_EQ(Prepared(), "/m/q.mp3");
}

TEST_F(JukeboxTest, PlaylistPlaysInOrderAndWrapsWhenLooping)
{
    jukebox.SetRandomPlay(false);
    TaudioTagList& playlist = jukebox.Playlist();
    playlist.SetPlayMode(lmLoop);
    Put(playlist, "/m/1.mp3");
    Put(playlist, "/m/2.mp3");
    EXPECT_EQ(Prepared(), "nil");
    playlist.SetActive(true);
    EXPECT_EQ(Prepared(), "/m/1.mp3");

    std::vector<std::string> played;
    for (int i = 0; i < 3; ++i)
        played.push_back(Play());
    EXPECT_EQ(played, (std::vector<std::string>{"/m/1.mp3", "/m/2.mp3", "/m/1.mp3"}));
    EXPECT_EQ(jukebox.PlayingSource(), jsPlaylist);
    EXPECT_EQ(playlist.GetCount(), 2);

    // Without looping the playlist ends after its last song.
    playlist.SetPlayMode(0);
    EXPECT_EQ(Play(), "/m/2.mp3");
    EXPECT_EQ(Prepared(), "nil");
}

TEST_F(JukeboxTest, RandomPlayPlaysEverySongOncePerPass)
{
    for (int i = 0; i < 5; ++i)
        PutRandom("/m/" + std::to_string(i) + ".mp3");
    std::set<std::string> pass;
    for (int i = 0; i < 5; ++i)
        pass.insert(Play());
    EXPECT_EQ(pass.size(), 5u);
    EXPECT_EQ(jukebox.PlayingSource(), jsRandomPlayList);
    // The next pass is shuffled again from all of them.
    EXPECT_NE(Play(), "nil");
    EXPECT_EQ(jukebox.RandomPlayList().GetCount(), 5);
}

TEST_F(JukeboxTest, StackerPlaysTheSongsOfItsActiveListsAndNamesThePlayingList)
{
    jukebox.SetRandomPlay(false);
    TaudioTagPlaylistList& stacker = jukebox.Stacker();
    EXPECT_EQ(jukebox.GetStackerStatus(), "");

    TaudioTagList* rock = StackerList(stacker, "Rock", {"/m/r1.mp3", "/m/r2.mp3"}, true);
    StackerList(stacker, "Jazz", {"/m/j1.mp3"}, false);
    EXPECT_EQ(jukebox.StackerPlayList().GetCount(), 0); // the stacker is off
    stacker.SetActive(true);
    EXPECT_TRUE(jukebox.StackerPlayList().Active());
    ASSERT_EQ(jukebox.StackerPlayList().GetCount(), 2);
    for (const TaudioTag* song : jukebox.StackerPlayList().Items())
        EXPECT_GE(rock->IndexOf(song), 0); // the very song objects, no copies
    EXPECT_EQ(jukebox.GetStackerStatus(), "Inactive");

    Play();
    EXPECT_EQ(jukebox.PlayingSource(), jsStacker);
    EXPECT_EQ(jukebox.PlayingStackerListName(), "Rock");
    EXPECT_EQ(jukebox.GetStackerStatus(), "Rock");
    // The stacker list keeps its songs; only the shuffled order moved on.
    EXPECT_EQ(rock->GetCount(), 2);
    EXPECT_EQ(jukebox.StackerPlayList().RandomList().GetCount(), 1);

    rock->SetActive(false);
    jukebox.RebuildStackerList();
    EXPECT_EQ(jukebox.GetStackerStatus(), "Empty");
    stacker.SetActive(false);
    EXPECT_FALSE(jukebox.StackerPlayList().Active());
    EXPECT_EQ(jukebox.GetStackerStatus(), "");
}

TEST_F(JukeboxTest, AMissingSongIsSkippedSoTheNextSourcePlays)
{
    PutRandom("/m/random.mp3");
    TaudioTagPlaylistList& stacker = jukebox.Stacker();
    StackerList(stacker, "Gone", {"/m/gone.mp3"}, true);
    stacker.SetActive(true);
    Put(jukebox.Queue(), "/m/queued-gone.mp3");

    // The player finds each chosen file missing: its source moves past it, and no history is written.
    for (const char* gone : {"/m/queued-gone.mp3", "/m/gone.mp3"}) {
        TaudioTag* chosen = jukebox.GetNextTag();
        ASSERT_EQ(Name(chosen), gone);
        const std::unique_ptr<TaudioTag> copy = chosen->Clone();
        jukebox.SongMissing(copy.get());
    }
    EXPECT_EQ(jukebox.Queue().GetCount(), 0);
    EXPECT_EQ(Name(jukebox.GetNextTag()), "/m/random.mp3");
    EXPECT_EQ(jukebox.History().GetCount(), 0);
    EXPECT_EQ(jukebox.PlayingStackerListName(), "");
}

TEST_F(JukeboxTest, DeletingThePlayingStackerListLeavesNoStackerPosition)
{
    jukebox.SetRandomPlay(false);
    TaudioTagPlaylistList& stacker = jukebox.Stacker();
    TaudioTagList* rock = StackerList(stacker, "Rock", {"/m/r1.mp3", "/m/r2.mp3"}, true);
    StackerList(stacker, "Jazz", {"/m/j1.mp3"}, true);
    stacker.SetActive(true);
    for (int i = 0; i < 6 && jukebox.PlayingStackerListName() != "Rock"; ++i)
        Play();
    ASSERT_EQ(jukebox.GetStackerStatus(), "Rock");

    stacker.Remove(rock);
    EXPECT_EQ(jukebox.PlayingStackerListName(), "");
    EXPECT_EQ(jukebox.GetStackerStatus(), "Inactive");
    EXPECT_EQ(Next(), "/m/j1.mp3");
    EXPECT_EQ(Play(), "/m/j1.mp3");
    EXPECT_EQ(jukebox.GetStackerStatus(), "Jazz");
}

TEST_F(JukeboxTest, StackerWithoutActiveListsIsEmpty)
{
    StackerList(jukebox.Stacker(), "Off", {"/m/x.mp3"}, false);
    jukebox.Stacker().SetActive(true);
    EXPECT_EQ(jukebox.GetStackerStatus(), "Empty");
}

TEST_F(JukeboxTest, StackerSongsHeldByTwoListsAreNamedAfterTheFirstByTitle)
{
    TaudioTagPlaylistList& stacker = jukebox.Stacker();
    TaudioTagList* b = StackerList(stacker, "B list", {"/m/shared.mp3"}, true);
    TaudioTagList* a = StackerList(stacker, "A list", {}, false);
    a->SetOwnsObjects(false);
    a->Add(b->GetItem(0)); // the same song object, in a list that is not even Active
    stacker.SetActive(true);
    EXPECT_EQ(Next(), "/m/shared.mp3");
    EXPECT_EQ(jukebox.ChosenStackerListName(), "A list");
    a->Clear();
}

// Every change of a list the jukebox plays from asks the player once to prepare the next song again.
TEST_F(JukeboxTest, EveryListChangeAsksThePlayerToPrepareOnce)
{
    struct Step
    {
        const char* what;
        std::function<void()> change;
        std::vector<std::string> events;
    };
    TaudioTagList* cart = nullptr;
    const std::vector<Step> steps = {
        {"queue add", [&] { Put(jukebox.Queue(), "/m/q.mp3"); }, {"Queue"}},
        {"queue add and move",
         [&] {
             Put(jukebox.Queue(), "/m/q2.mp3");
             jukebox.Queue().MoveUp(1);
         },
         {"Queue", "Queue"}},
        {"queue delete", [&] { jukebox.Queue().Delete(0); }, {"Queue"}},
        {"queue clear", [&] { jukebox.Queue().Clear(); }, {"Queue"}},
        {"playlist add", [&] { Put(jukebox.Playlist(), "/m/p.mp3"); }, {"Playlist"}},
        {"playlist on", [&] { jukebox.Playlist().SetActive(true); }, {"Playlist"}},
        {"playlist mode", [&] { jukebox.Playlist().SetLoop(false); }, {"Playlist"}},
        {"stacker list",
         [&] { cart = StackerList(jukebox.Stacker(), "Cart", {"/m/s.mp3"}, true); },
         {"Stacker"}},
        {"stacker on", [&] { jukebox.Stacker().SetActive(true); }, {"Stacker"}},
        {"stacker member", [&] { Put(*cart, "/m/s2.mp3"); }, {"StackerList Cart"}},
        {"random list", [&] { PutRandom("/m/r.mp3"); }, {"Random"}},
        {"random off", [&] { jukebox.SetRandomPlay(false); }, {}},
        {"rules", [&] { jukebox.ApplyRandomPlayRules(); }, {}},
        {"rebuild", [&] { jukebox.RebuildStackerList(); }, {}},
    };
    for (const Step& step : steps) {
        Forget();
        step.change();
        const std::size_t changes = step.events.empty() ? 1 : step.events.size();
        EXPECT_EQ(Preloads(), changes) << step.what;
        EXPECT_EQ(player->CountCalls("DoGetNextTagger"), changes) << step.what;
        EXPECT_EQ(lines, step.events) << step.what;
    }
    // Moving a source on is no change: the player asks for the next song itself after the start.
    Forget();
    jukebox.Queue().Clear();
    Forget();
    jukebox.SetRandomPlay(true);
    Forget();
    Play();
    EXPECT_EQ(Preloads(), 1u);
    EXPECT_TRUE(lines.empty());
}

TEST_F(JukeboxTest, PlayerAndItsEventsAreHandedOn)
{
    TcustomMediaPlayerEvents other;
    jukebox.SetPlayerEvents(&other);
    EXPECT_EQ(player->Events(), &other);
    EXPECT_EQ(jukebox.PlayerEvents(), &other);

    auto second = std::make_unique<TtestMediaPlayer>();
    TtestMediaPlayer* raw = second.get();
    std::unique_ptr<TcustomMediaPlayer> previous = jukebox.SetPlayer(std::move(second));
    EXPECT_EQ(previous.get(), player);
    EXPECT_EQ(jukebox.Player(), raw);
    EXPECT_EQ(raw->Events(), &other);
    player = raw;

    // Without events holder nothing is raised, and a jukebox without player asks nobody.
    jukebox.SetEvents(nullptr);
    Put(jukebox.Queue(), "/m/a.mp3");
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(jukebox.SetPlayer(nullptr).get(), raw);
    Put(jukebox.Queue(), "/m/b.mp3");
}

TEST_F(JukeboxTest, EventsHolderDestroyedFirstIsForgotten)
{
    {
        TcustomJukeboxEvents shortLived;
        int heard = 0;
        shortLived.OnQueueChange = [&](TcustomJukebox*) { ++heard; };
        jukebox.SetEvents(&shortLived);
        Put(jukebox.Queue(), "/m/a.mp3");
        EXPECT_EQ(heard, 1);
    }
    EXPECT_EQ(jukebox.Events(), nullptr);
    Put(jukebox.Queue(), "/m/b.mp3");

    // The player's holder too: a player handed over later is not given the freed one.
    {
        TcustomMediaPlayerEvents shortLived;
        jukebox.SetPlayerEvents(&shortLived);
    }
    EXPECT_EQ(jukebox.PlayerEvents(), nullptr);
    auto next = std::make_unique<TtestMediaPlayer>();
    TtestMediaPlayer* raw = next.get();
    const std::unique_ptr<TcustomMediaPlayer> previous = jukebox.SetPlayer(std::move(next));
    EXPECT_EQ(raw->Events(), nullptr);
    player = raw;
}

TEST(JukeboxLifetime, FreesItsPlayerAndTellsNobodyWhileGoing)
{
    int destroyed = 0;
    struct TcountedPlayer : TtestMediaPlayer
    {
        explicit TcountedPlayer(int& counter) : counter_(counter) {}
        ~TcountedPlayer() override { ++counter_; }
        int& counter_;
    };
    TcustomJukeboxEvents events;
    int heard = 0;
    events.OnStackerChange = [&](TcustomJukebox*) { ++heard; };
    events.OnQueueChange = [&](TcustomJukebox*) { ++heard; };
    {
        TlocalJukebox jukebox;
        jukebox.SetEvents(&events);
        jukebox.SetPlayer(std::make_unique<TcountedPlayer>(destroyed));
        Put(jukebox.Queue(), "/m/a.mp3");
        StackerList(jukebox.Stacker(), "Cart", {"/m/b.mp3"}, true);
        heard = 0;
    }
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(heard, 0);
}

// Song-list file of an empty, active queue: magic, empty title, Active, play mode, empty file name, no songs.
const std::string kEmptyQueueFile =
    "OATL" + Raw({0, 0, 0, 0}) + Raw({1}) + Raw({2}) + Raw({0, 0, 0, 0}) + Raw({0, 0, 0, 0});

TEST_F(JukeboxTest, DataFilesHaveTheSongListLayouts)
{
    jukebox.SaveQueue();
    EXPECT_EQ(TempDir::Read(jukebox.GetQueueFileName()), kEmptyQueueFile);

    jukebox.Playlist().SetTitle("RUNNING");
    jukebox.SavePlaylist();
    EXPECT_EQ(TempDir::Read(jukebox.GetPlaylistFileName()), "OATL" + Raw({7, 0, 0, 0}) + "RUNNING" +
                                                                Raw({0}) + Raw({2}) + Raw({0, 0, 0, 0}) +
                                                                Raw({0, 0, 0, 0}));

    StackerList(jukebox.Stacker(), "B", {}, false);
    StackerList(jukebox.Stacker(), "A", {}, true);
    jukebox.SaveStacker();
    const std::string list = Raw({1, 0, 0, 0});
    EXPECT_EQ(TempDir::Read(jukebox.GetStackerFileName()),
              "OALL" + Raw({2, 0, 0, 0}) + "OATL" + list + "A" + Raw({1, 2}) + Raw({0, 0, 0, 0}) +
                  Raw({0, 0, 0, 0}) + "OATL" + list + "B" + Raw({0, 2}) + Raw({0, 0, 0, 0}) +
                  Raw({0, 0, 0, 0}));
}

TEST_F(JukeboxTest, DataFilesComeBackIntoAFreshJukebox)
{
    Put(jukebox.Queue(), "/m/q1.mp3");
    Put(jukebox.Queue(), "/m/q2.mp3");
    jukebox.Playlist().SetTitle("RUNNING");
    Put(jukebox.Playlist(), "/m/p.mp3");
    StackerList(jukebox.Stacker(), "Cart", {"/m/s1.mp3", "/m/s2.mp3"}, true);
    jukebox.SaveAll();

    TlocalJukebox fresh;
    auto ownedPlayer = std::make_unique<TtestMediaPlayer>();
    TtestMediaPlayer* freshPlayer = ownedPlayer.get();
    fresh.SetPlayer(std::move(ownedPlayer));
    fresh.SetAutoSaveQueue(true);
    fresh.SetAutoSavePlaylist(true);
    fresh.SetAutoSaveStacker(true);
    const std::string queueBefore = TempDir::Read(fresh.GetQueueFileName());
    std::filesystem::remove(fresh.GetPlaylistFileName());
    fresh.LoadAll();
    // Loading writes nothing back, even with every automatic save on.
    EXPECT_FALSE(std::filesystem::exists(fresh.GetPlaylistFileName()));
    EXPECT_EQ(TempDir::Read(fresh.GetQueueFileName()), queueBefore);
    EXPECT_FALSE(fresh.QueueLoading() || fresh.PlaylistLoading() || fresh.StackerLoading());
    EXPECT_GE(freshPlayer->CountCalls("PreloadNext"), 2u);

    ASSERT_EQ(fresh.Queue().GetCount(), 2);
    EXPECT_EQ(fresh.Queue().GetItem(1)->Filename(), "/m/q2.mp3");
    EXPECT_EQ(fresh.Queue().GetItem(0)->Title(), "Title of /m/q1.mp3");
    EXPECT_EQ(fresh.Playlist().GetCount(), 0); // its file was removed
    ASSERT_EQ(fresh.Stacker().GetCount(), 1);
    TaudioTagList* cart = fresh.Stacker().GetItem(0);
    EXPECT_EQ(cart->Title(), "Cart");
    EXPECT_TRUE(cart->OwnsObjects());
    EXPECT_EQ(cart->GetCount(), 2);

    // Once loaded, the switches do write.
    Put(fresh.Queue(), "/m/q3.mp3");
    EXPECT_NE(TempDir::Read(fresh.GetQueueFileName()), queueBefore);
    Put(fresh.Playlist(), "/m/p2.mp3");
    EXPECT_TRUE(std::filesystem::exists(fresh.GetPlaylistFileName()));
}

TEST_F(JukeboxTest, AutomaticSavesFollowTheirSwitches)
{
    Put(jukebox.Queue(), "/m/a.mp3");
    Put(jukebox.Playlist(), "/m/b.mp3");
    StackerList(jukebox.Stacker(), "Cart", {}, true);
    EXPECT_EQ(jukebox.writes, 0);

    jukebox.SetAutoSaveQueue(true);
    Put(jukebox.Queue(), "/m/c.mp3");
    EXPECT_EQ(jukebox.writes, 1);
    EXPECT_TRUE(std::filesystem::exists(jukebox.GetQueueFileName()));

    jukebox.SetAutoSavePlaylist(true);
    jukebox.Playlist().SetActive(true);
    EXPECT_EQ(jukebox.writes, 2);

    jukebox.SetAutoSaveStacker(true);
    Put(*jukebox.Stacker().GetItem(0), "/m/d.mp3");
    EXPECT_EQ(jukebox.writes, 3);
    StackerList(jukebox.Stacker(), "More", {}, true);
    EXPECT_EQ(jukebox.writes, 4);
    // Switching the stacker on or off is no change of its file.
    jukebox.Stacker().SetActive(true);
    EXPECT_EQ(jukebox.writes, 4);

    // The data folder is made when missing.
    std::filesystem::remove_all(dir.Path());
    Put(jukebox.Queue(), "/m/e.mp3");
    EXPECT_TRUE(std::filesystem::exists(jukebox.GetQueueFileName()));
}

TEST_F(JukeboxTest, FailedSaveKeepsThePreviousFileAndStillLetsThePlayerFollow)
{
    Put(jukebox.Queue(), "/m/a.mp3");
    jukebox.SaveQueue();
    const std::string before = TempDir::Read(jukebox.GetQueueFileName());

    jukebox.SetAutoSaveQueue(true);
    jukebox.failWrites = true;
    Forget();
    EXPECT_THROW(Put(jukebox.Queue(), "/m/b.mp3"), EFileError);
    EXPECT_EQ(TempDir::Read(jukebox.GetQueueFileName()), before);
    // The change itself happened, and everyone following the queue heard of it.
    EXPECT_EQ(jukebox.Queue().GetCount(), 2);
    EXPECT_EQ(Preloads(), 1u);
    EXPECT_EQ(lines, std::vector<std::string>{"Queue"});
    EXPECT_THROW(jukebox.SaveAll(), EFileError);
    EXPECT_THROW(jukebox.SaveStacker(), EFileError);
    EXPECT_THROW(jukebox.SavePlaylist(), EFileError);
    // No temporary file is left beside the data files.
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(JukeboxTest, SongStartWithAFailingQueueSaveStillRecordsTheSong)
{
    Put(jukebox.Queue(), "/m/a.mp3");
    Put(jukebox.Queue(), "/m/b.mp3");
    jukebox.SetAutoSaveQueue(true);
    jukebox.failWrites = true;
    EXPECT_THROW(Play(), EFileError);
    EXPECT_EQ(jukebox.Queue().GetCount(), 1);
    ASSERT_EQ(jukebox.History().GetCount(), 1);
    ASSERT_NE(jukebox.PlayingTag(), nullptr);
    EXPECT_EQ(jukebox.PlayingTag()->Filename(), "/m/a.mp3");
    EXPECT_TRUE(std::filesystem::exists(jukebox.GetHistoryFileName()));
    EXPECT_EQ(Name(jukebox.ChosenTag()), "/m/b.mp3");
}

TEST_F(JukeboxTest, DataFileInTheWayOfASaveIsReportedAndLeftAlone)
{
    // A folder where queue.dat belongs: the temporary file is written but cannot replace it.
    std::filesystem::create_directories(dir.File("queue.dat") + "/keep");
    EXPECT_THROW(jukebox.SaveQueue(), EFileError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("queue.dat") + "/keep"));
    std::filesystem::create_directories(dir.File("history.txt"));
    PutRandom("/m/a.mp3");
    EXPECT_THROW(Play(), EFileError);
    EXPECT_EQ(jukebox.History().GetCount(), 1);
    EXPECT_NE(jukebox.PlayingTag(), nullptr);
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

TEST_F(JukeboxTest, AFullDiskIsToldOnceUntilASaveWorksAgain)
{
    for (int i = 0; i < 4; ++i)
        PutRandom("/m/" + std::to_string(i) + ".mp3");
    Put(jukebox.Queue(), "/m/q1.mp3");
    Put(jukebox.Queue(), "/m/q2.mp3");
    jukebox.SetAutoSaveQueue(true);
    jukebox.failWrites = true;
    std::filesystem::create_directories(dir.File("history.txt")); // history.txt cannot be written either
    EXPECT_THROW(Play(), EFileError);
    EXPECT_NO_THROW(Play()); // the queue's and the history's failures again: not told twice
    EXPECT_NO_THROW(Play());
    EXPECT_EQ(jukebox.History().GetCount(), 3);

    // Room again: the next save works, and a failure after it is told again.
    std::filesystem::remove(dir.File("history.txt"));
    EXPECT_NO_THROW(Play());
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("history.txt")));
    std::filesystem::remove(dir.File("history.txt"));
    std::filesystem::create_directories(dir.File("history.txt"));
    EXPECT_THROW(Play(), EFileError);
}

TEST_F(JukeboxTest, SettingsWithoutLibraryKeepNoActivePlaylist)
{
    jukebox.Rules().SetUseYear(true);
    jukebox.Rules().SetFromYear(1990);
    TIniFile ini(dir.File("settings.ini"));
    jukebox.SaveSettings(ini, "Jukebox");
    EXPECT_EQ(ini.ReadString("Jukebox", "ActivePlaylist", "x"), "");
    EXPECT_TRUE(ini.ReadBool("Jukebox", "UseYear", false));
    EXPECT_EQ(ini.ReadInteger("Jukebox", "FromYear", 0), 1990);

    TlocalJukebox other;
    other.LoadSettings(ini, "Jukebox");
    EXPECT_TRUE(other.Rules().UseYear());
    EXPECT_EQ(other.Rules().FromYear(), 1990u);
    EXPECT_EQ(other.ActivePreloadedList(), nullptr);
}

// A library that passes its changes on to a jukebox, as the local library does.
class TtestLibrary : public TcustomJukeboxList
{
public:
    TcustomJukebox* jukebox = nullptr;
    TcustomJukebox* destroyedJukebox = nullptr;

    void GlobalListChanged() override
    {
        TcustomJukeboxList::GlobalListChanged();
        if (jukebox != nullptr)
            jukebox->GlobalListChanged();
    }
    void PlaylistsChanged() override
    {
        TcustomJukeboxList::PlaylistsChanged();
        if (jukebox != nullptr)
            jukebox->PlaylistsChanged();
    }
    void JukeboxDestroyed(TcustomJukebox* gone) override
    {
        destroyedJukebox = gone;
        jukebox = nullptr;
    }
};

class JukeboxLibraryTest : public JukeboxTest
{
protected:
    JukeboxLibraryTest()
    {
        library.SetDataFolder(dir.File("Data"));
        library.jukebox = &jukebox;
        jukebox.SetJukeboxList(&library);
    }
    ~JukeboxLibraryTest() override { jukebox.SetJukeboxList(nullptr); }

    void AddToLibrary(const std::string& fileName, const std::string& genre)
    {
        auto song = Song(fileName);
        song->SetGenreString(genre);
        library.GlobalList().Add(song.release());
    }
    TaudioTagList* SavedPlaylist(const std::string& title, const std::vector<std::string>& files)
    {
        auto list = std::make_unique<TaudioTagList>();
        list->SetTitle(title);
        list->SetOwnsObjects(true);
        for (const auto& f : files)
            Put(*list, f);
        TaudioTagList* raw = list.release();
        library.Playlists().Add(raw);
        return raw;
    }

    TtestLibrary library;
};

TEST_F(JukeboxLibraryTest, DataFilesLiveInTheLibrarysFolder)
{
    EXPECT_EQ(jukebox.GetDataFolder(), dir.File("Data"));
    EXPECT_EQ(jukebox.GetQueueFileName(), dir.File("Data") + "/queue.dat");
    jukebox.SaveQueue();
    EXPECT_EQ(TempDir::Read(dir.File("Data/queue.dat")), kEmptyQueueFile);
}

TEST_F(JukeboxLibraryTest, RandomPlayListFollowsTheLibraryThroughTheRules)
{
    library.GlobalList().BeginUpdate();
    AddToLibrary("/m/rock1.mp3", "Rock");
    AddToLibrary("/m/jazz.mp3", "Jazz");
    AddToLibrary("/m/rock2.mp3", "rock");
    Forget();
    library.GlobalList().EndUpdate();
    // Without rules: the library's very songs, no copies; the player was asked once.
    ASSERT_EQ(jukebox.RandomPlayList().GetCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(jukebox.RandomPlayList().GetItem(i), library.GlobalList().GetItem(i));
    EXPECT_EQ(Preloads(), 1u);
    EXPECT_EQ(lines, std::vector<std::string>{"Random"});

    jukebox.Rules().SetUseGenres(true);
    jukebox.Rules().Genres().Add("ROCK");
    Forget();
    jukebox.ApplyRandomPlayRules();
    ASSERT_EQ(jukebox.RandomPlayList().GetCount(), 2);
    EXPECT_EQ(jukebox.RandomPlayList().GetItem(0), library.GlobalList().GetItem(0));
    EXPECT_EQ(jukebox.RandomPlayList().GetItem(1), library.GlobalList().GetItem(2));
    EXPECT_EQ(Preloads(), 1u);
    const std::string next = Prepared();
    EXPECT_TRUE(next == "/m/rock1.mp3" || next == "/m/rock2.mp3") << next;

    // A song leaving the library leaves random play with it.
    library.GlobalList().Delete(0);
    ASSERT_EQ(jukebox.RandomPlayList().GetCount(), 1);
    EXPECT_EQ(Prepared(), "/m/rock2.mp3");
}

TEST_F(JukeboxLibraryTest, ActiveSavedPlaylistPlaysAfterThePlaylistAndBeforeRandomPlay)
{
    AddToLibrary("/m/random.mp3", "");
    TaudioTagList* evening = SavedPlaylist("Evening", {"/m/e1.mp3", "/m/e2.mp3"});
    evening->SetActive(false);
    Forget();
    jukebox.SetActivePreloadedList(evening);
    EXPECT_EQ(jukebox.ActivePreloadedList(), evening);
    EXPECT_TRUE(jukebox.HasActivePreloadedList());
    EXPECT_TRUE(evening->Active());
    EXPECT_EQ(lines, std::vector<std::string>{"Active Evening"});
    EXPECT_EQ(Preloads(), 1u);
    EXPECT_EQ(Prepared(), "/m/e1.mp3");
    EXPECT_EQ(jukebox.ChosenSource(), jsActivePreloadedList);

    jukebox.Playlist().SetActive(true);
    Put(jukebox.Playlist(), "/m/own.mp3");
    EXPECT_EQ(Prepared(), "/m/own.mp3");
    jukebox.Playlist().SetActive(false);

    // Its song moves on even when the player started another file.
    jukebox.SongStarted(Song("/m/something-else.mp3").get());
    EXPECT_EQ(jukebox.PlayingSource(), jsActivePreloadedList);
    EXPECT_EQ(Next(), "/m/e2.mp3");
    EXPECT_EQ(evening->GetCount(), 2);

    // A list that is not one of the library's saved playlists clears the choice.
    TaudioTagList stranger;
    jukebox.SetActivePreloadedList(&stranger);
    EXPECT_EQ(jukebox.ActivePreloadedList(), nullptr);
    EXPECT_EQ(lines.back(), "Active nil");
    EXPECT_EQ(Next(), "/m/random.mp3");
}

TEST_F(JukeboxLibraryTest, DeletingTheActiveSavedPlaylistClearsIt)
{
    SavedPlaylist("A", {"/m/a.mp3"});
    TaudioTagList* b = SavedPlaylist("B", {"/m/b.mp3"});
    jukebox.SetActivePreloadedList(b);
    Forget();
    library.Playlists().Remove(b);
    EXPECT_EQ(jukebox.ActivePreloadedList(), nullptr);
    EXPECT_EQ(lines, std::vector<std::string>{"Active nil"});
    EXPECT_EQ(Prepared(), "nil");

    // Gone but not yet reported (the set is inside an update): the link is not followed.
    TaudioTagList* a = library.Playlists().Find("A");
    jukebox.SetActivePreloadedList(a);
    library.Playlists().BeginUpdate();
    library.Playlists().Remove(a);
    EXPECT_EQ(jukebox.GetNextTag(), nullptr);
    library.Playlists().EndUpdate();
    EXPECT_EQ(jukebox.ActivePreloadedList(), nullptr);
}

TEST_F(JukeboxLibraryTest, ChangesOfOtherSavedPlaylistsDoNotRestartTheActiveOne)
{
    TaudioTagList* evening = SavedPlaylist("Evening", {"/m/e1.mp3", "/m/e2.mp3", "/m/e3.mp3"});
    evening->SetResetOnActivate(true);
    jukebox.SetActivePreloadedList(evening);
    EXPECT_EQ(Play(), "/m/e1.mp3");
    ASSERT_EQ(Prepared(), "/m/e2.mp3");

    TaudioTagList* other = SavedPlaylist("Other", {"/m/x.mp3"});
    EXPECT_EQ(Next(), "/m/e2.mp3") << "added";
    library.Playlists().Rename(other, "Renamed");
    EXPECT_EQ(Next(), "/m/e2.mp3") << "renamed";
    library.Playlists().Rename(evening, "Late Evening");
    EXPECT_EQ(Next(), "/m/e2.mp3") << "the active one renamed";
    library.Playlists().Remove(other);
    EXPECT_EQ(Next(), "/m/e2.mp3") << "removed";
    EXPECT_EQ(jukebox.ActivePreloadedList(), evening);
    EXPECT_EQ(Prepared(), "/m/e2.mp3");

    // Choosing it again does restart it, as does a change of its own songs.
    jukebox.SetActivePreloadedList(evening);
    EXPECT_EQ(Next(), "/m/e1.mp3");
    EXPECT_EQ(Play(), "/m/e1.mp3");
    Put(*evening, "/m/e4.mp3");
    EXPECT_EQ(Next(), "/m/e1.mp3");
}

TEST_F(JukeboxLibraryTest, ActivePlaylistSettingNamesASavedPlaylist)
{
    TaudioTagList* party = SavedPlaylist("Party", {"/m/p.mp3"});
    TIniFile ini(dir.File("settings.ini"));
    jukebox.SaveSettings(ini, "Jukebox");
    EXPECT_EQ(ini.ReadString("Jukebox", "ActivePlaylist", "x"), "");

    jukebox.SelectActivePlaylist("PARTY");
    EXPECT_EQ(jukebox.ActivePreloadedList(), party);
    jukebox.SaveSettings(ini, "Jukebox");
    EXPECT_EQ(ini.ReadString("Jukebox", "ActivePlaylist", ""), "Party");
    EXPECT_EQ(ini.ReadString("Jukebox", "NotPaths", "x"), "0");

    jukebox.SelectActivePlaylist("");
    EXPECT_EQ(jukebox.ActivePreloadedList(), nullptr);
    jukebox.LoadSettings(ini, "Jukebox");
    EXPECT_EQ(jukebox.ActivePreloadedList(), party);

    ini.WriteString("Jukebox", "ActivePlaylist", "Gone");
    jukebox.LoadSettings(ini, "Jukebox");
    EXPECT_EQ(jukebox.ActivePreloadedList(), nullptr);
}

TEST_F(JukeboxLibraryTest, LoadedRulesFilterTheRandomPlayListAtOnce)
{
    AddToLibrary("/m/rock.mp3", "Rock");
    AddToLibrary("/m/jazz.mp3", "Jazz");
    ASSERT_EQ(jukebox.RandomPlayList().GetCount(), 2);
    TIniFile ini(dir.File("settings.ini"));
    ini.WriteString("Jukebox", "Genres", "Jazz");
    ini.WriteBool("Jukebox", "UseGenres", true);
    jukebox.LoadSettings(ini, "Jukebox");
    ASSERT_EQ(jukebox.RandomPlayList().GetCount(), 1);
    EXPECT_EQ(Prepared(), "/m/jazz.mp3");
}

TEST_F(JukeboxLibraryTest, ChangeInsideTheActiveSavedPlaylistReachesThePlayer)
{
    TaudioTagList* list = SavedPlaylist("List", {"/m/1.mp3"});
    TaudioTagList* other = SavedPlaylist("Other", {"/m/x.mp3"});
    jukebox.SetActivePreloadedList(list);
    Put(*list, "/m/0.mp3");
    list->Move(1, 0);
    Forget();
    jukebox.PlaylistListChanged(other);
    EXPECT_EQ(Preloads(), 0u);
    jukebox.PlaylistListChanged(list);
    EXPECT_EQ(Preloads(), 1u);
    EXPECT_EQ(Prepared(), "/m/0.mp3");
}

TEST(JukeboxInLibrary, TellsItsLibraryWhenDestroyed)
{
    TtestLibrary library;
    auto jukebox = std::make_unique<TlocalJukebox>();
    jukebox->SetJukeboxList(&library);
    library.jukebox = jukebox.get();
    TcustomJukebox* raw = jukebox.get();
    jukebox.reset();
    EXPECT_EQ(library.destroyedJukebox, raw);
}

// The road of songs from the data files through the library, the queue and the player into the history.
TEST(JukeboxRoad, FromTheLoadedFilesThroughTheQueueAndRandomPlayIntoHistory)
{
    TempDir dir;
    {
        TaudioTagList songs;
        songs.SetOwnsObjects(true);
        for (const char* f : {"/m/1.mp3", "/m/2.mp3", "/m/3.mp3"})
            Put(songs, f);
        songs.SaveToFile(dir.File("jukebox.dat"));
        TaudioTagList queue;
        queue.SetOwnsObjects(true);
        queue.SetActive(true);
        Put(queue, "/m/queued.mp3");
        queue.SaveToFile(dir.File("queue.dat"));
    }
    const std::string queueFile = TempDir::Read(dir.File("queue.dat"));

    TlocalJukeboxList library;
    library.SetDataFolder(dir.Path());
    library.SetAutoSaveQueue(true);
    TcustomMediaPlayerEvents playerEvents;
    TcustomJukeboxEvents jukeboxEvents;
    TcustomJukeboxListEvents libraryEvents;
    libraryEvents.SetPlayerEvents(&playerEvents);
    libraryEvents.SetJukeboxEvents(&jukeboxEvents);
    library.SetEvents(&libraryEvents);
    ASSERT_NE(library.Jukebox(), nullptr);
    TcustomJukebox& jukebox = *library.Jukebox();
    EXPECT_EQ(jukebox.Events(), &jukeboxEvents);
    playerEvents.OnGetNextTagger = [&](TcustomMediaPlayer*, const TaudioTag*& tag) {
        tag = jukebox.GetNextTag();
    };
    playerEvents.OnPlaybackStart = [&](TcustomMediaPlayer*, const TaudioTag* tag) {
        jukebox.SongStarted(tag);
    };
    auto owned = std::make_unique<TtestMediaPlayer>();
    TtestMediaPlayer* player = owned.get();
    jukebox.SetPlayer(std::move(owned));
    EXPECT_EQ(player->Events(), &playerEvents);

    TlocalJukeboxLoader loader;
    loader.SetJukeboxList(&library);
    loader.LoadAll();
    EXPECT_EQ(TempDir::Read(dir.File("queue.dat")), queueFile);
    EXPECT_EQ(jukebox.RandomPlayList().GetCount(), 3);
    ASSERT_EQ(jukebox.Queue().GetCount(), 1);
    ASSERT_NE(player->PreparedTag(), nullptr);
    EXPECT_EQ(player->PreparedTag()->Filename(), "/m/queued.mp3");

    // The user queues a library song: a copy goes into the queue, queue.dat follows, the head stays prepared.
    ASSERT_TRUE(library.QueueTag(library.GlobalList().GetItem(1)));
    EXPECT_NE(jukebox.Queue().GetItem(1), library.GlobalList().GetItem(1));
    EXPECT_EQ(player->PreparedTag()->Filename(), "/m/queued.mp3");
    EXPECT_NE(TempDir::Read(dir.File("queue.dat")), queueFile);

    EXPECT_EQ(player->StartPrepared()->Filename(), "/m/queued.mp3");
    EXPECT_EQ(player->PreparedTag()->Filename(), "/m/2.mp3");
    TaudioTagList saved;
    ASSERT_TRUE(saved.LoadFromFile(dir.File("queue.dat"), false));
    ASSERT_EQ(saved.GetCount(), 1);
    EXPECT_EQ(saved.GetItem(0)->Filename(), "/m/2.mp3");

    EXPECT_EQ(player->StartPrepared()->Filename(), "/m/2.mp3");
    EXPECT_EQ(jukebox.Queue().GetCount(), 0);
    ASSERT_NE(player->PreparedTag(), nullptr);
    const std::string random = player->PreparedTag()->Filename();
    EXPECT_EQ(jukebox.ChosenSource(), jsRandomPlayList);
    EXPECT_EQ(player->StartPrepared()->Filename(), random);
    EXPECT_EQ(jukebox.RandomPlayList().RandomList().GetCount(), 2);

    ASSERT_EQ(jukebox.History().GetCount(), 3);
    EXPECT_EQ(jukebox.History().GetItem(2)->Filename(), random);
    const std::string history = TempDir::Read(dir.File("history.txt"));
    EXPECT_NE(history.find("/m/queued.mp3"), std::string::npos);
    EXPECT_NE(history.find(random), std::string::npos);
}

} // namespace
