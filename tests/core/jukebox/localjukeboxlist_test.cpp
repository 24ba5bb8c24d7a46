#include "core/groupings/audiotagplaylistlist.h"
#include "core/groupings/taglistrules.h"
#include "core/jukebox/customjukeboxevents.h"
#include "core/jukebox/customjukeboxlistevents.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/jukebox/localjukeboxloader.h"
#include "core/player/custommediaplayerevents.h"
#include "platform/inifile.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::unique_ptr<TaudioTag> Song(const std::string& fileName, const std::string& album = "Album")
{
    auto song = std::make_unique<TaudioTag>();
    song->SetFilename(fileName);
    song->SetArtist("Artist");
    song->SetTitle("Title of " + fileName);
    song->SetAlbum(album);
    return song;
}

void Put(TaudioTagList& list, const std::string& fileName)
{
    ASSERT_TRUE(list.Add(Song(fileName).release()));
}

TaudioTagList* AddPlaylist(TaudioTagPlaylistList& set, const std::string& title,
                           const std::vector<std::string>& files)
{
    auto list = std::make_unique<TaudioTagList>();
    list->SetTitle(title);
    TaudioTagList* raw = list.get();
    set.Add(list.release());
    for (const auto& f : files)
        Put(*raw, f);
    return raw;
}

std::vector<std::string> Names(const TaudioTagList& list)
{
    std::vector<std::string> names;
    for (const TaudioTag* tag : list.Items())
        names.push_back(tag->Filename());
    return names;
}

// A library wired as the main window wires it: one events holder carrying the jukebox's and the player's
// holders, a test player answered by the jukebox, and every notification written down.
class LocalLibraryTest : public ::testing::Test
{
protected:
    LocalLibraryTest()
    {
        library.SetDataFolder(dir.File("Data"));
        playerEvents.OnGetNextTagger = [this](TcustomMediaPlayer*, const TaudioTag*& tag) {
            tag = library.Jukebox()->GetNextTag();
        };
        jukeboxEvents.OnQueueChange = [this](TcustomJukebox*) { lines.push_back("Queue"); };
        jukeboxEvents.OnPlaylistChange = [this](TcustomJukebox*) { lines.push_back("Playlist"); };
        jukeboxEvents.OnStackerChange = [this](TcustomJukebox*) { lines.push_back("Stacker"); };
        jukeboxEvents.OnActivePreloadedListChanged = [this](TcustomJukebox*, TaudioTagList* list) {
            lines.push_back("Active " + (list ? list->Title() : std::string("nil")));
        };
        events.OnGlobalListChange = [this](TcustomJukeboxList* sender) {
            EXPECT_EQ(sender, &library);
            lines.push_back("Global");
        };
        events.OnPlaylistsChange = [this](TcustomJukeboxList*) { lines.push_back("Playlists"); };
        events.OnListProcessStart = [this](TcustomJukeboxList* sender, const std::string& text) {
            EXPECT_EQ(sender, &library);
            lines.push_back("Start " + text);
        };
        events.SetJukeboxEvents(&jukeboxEvents);
        events.SetPlayerEvents(&playerEvents);
        library.SetEvents(&events);
        auto owned = std::make_unique<TtestMediaPlayer>();
        player = owned.get();
        library.Jukebox()->SetPlayer(std::move(owned));
    }

    TlocalJukebox& Jukebox() { return *library.Jukebox(); }
    TaudioTagList& Queue() { return library.Jukebox()->Queue(); }
    std::string Prepared() const { return player->PreparedTag() ? player->PreparedTag()->Filename() : "nil"; }

    TempDir dir;
    TcustomMediaPlayerEvents playerEvents;
    TcustomJukeboxEvents jukeboxEvents;
    TcustomJukeboxListEvents events;
    std::vector<std::string> lines;
    TlocalJukeboxList library;
    TtestMediaPlayer* player = nullptr;
};

} // namespace

TEST_F(LocalLibraryTest, WiresTheJukeboxToTheLibrary)
{
    EXPECT_EQ(Jukebox().JukeboxList(), &library);
    EXPECT_EQ(Jukebox().Events(), &jukeboxEvents);
    EXPECT_EQ(Jukebox().PlayerEvents(), &playerEvents);
    EXPECT_EQ(Jukebox().GetDataFolder(), dir.File("Data"));

    // A rebuild of the library refills the random-play list, and the player follows.
    library.GlobalList().BeginUpdate();
    Put(library.GlobalList(), "/m/a.mp3");
    Put(library.GlobalList(), "/m/b.mp3");
    library.GlobalList().EndUpdate();
    EXPECT_EQ(Jukebox().RandomPlayList().Count(), 2);
    EXPECT_EQ(Jukebox().RandomPlayList().GetItem(0), library.GlobalList().GetItem(0)); // shared, not cloned
    EXPECT_NE(Prepared(), "nil");
    EXPECT_EQ(lines.back(), "Global");

    // The queue's progress reaches the library's events with the library as sender.
    lines.clear();
    TStringList<TaudioTag> picked;
    picked.AddObject("a", library.GlobalList().GetItem(0));
    library.QueueTags(picked, true, true);
    EXPECT_EQ(lines, (std::vector<std::string>{"Start Adding Files...", "Queue"}));
    EXPECT_EQ(Prepared(), "/m/a.mp3");

    // Removing a saved playlist that is the active one clears the jukebox's choice.
    TaudioTagList* party = AddPlaylist(library.Playlists(), "Party", {"/m/p.mp3"});
    Jukebox().SetActivePreloadedList(party);
    ASSERT_EQ(Jukebox().ActivePreloadedList(), party);
    lines.clear();
    library.Playlists().Remove(party);
    EXPECT_EQ(Jukebox().ActivePreloadedList(), nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"Playlists", "Active nil"}));
}

TEST_F(LocalLibraryTest, NoFreedSongIsChosenWhileJukeboxDatLoads)
{
    library.GlobalList().BeginUpdate();
    for (const char* f : {"/m/a", "/m/b", "/m/c"})
        Put(library.GlobalList(), f);
    library.GlobalList().EndUpdate();
    library.SaveGlobal();
    ASSERT_EQ(Jukebox().RandomPlayList().Count(), 3);

    // A player tick may ask for the next song from inside the load's progress events.
    int asked = 0;
    events.OnListProcess = [&](TcustomJukeboxList*, std::uint32_t, std::uint32_t, TaudioTag*) {
        ++asked;
        if (const TaudioTag* tag = Jukebox().GetNextTag()) {
            EXPECT_GE(library.GlobalList().IndexOf(tag), 0) << "a song that is gone";
            EXPECT_FALSE(tag->Filename().empty());
        }
    };
    library.LoadGlobalList();
    EXPECT_GT(asked, 0);
    EXPECT_EQ(Jukebox().RandomPlayList().Count(), 3);
    EXPECT_EQ(Jukebox().RandomPlayList().GetItem(0)->Filename().substr(0, 3), "/m/");
}

TEST_F(LocalLibraryTest, NoFreedSongIsChosenWhileTheLibraryRebuildsAfterARemoval)
{
    library.GlobalList().BeginUpdate();
    for (const char* f : {"/m/a", "/m/b", "/m/c", "/m/d"})
        Put(library.GlobalList(), f);
    library.GlobalList().EndUpdate();
    ASSERT_EQ(Jukebox().RandomPlayList().Count(), 4);

    int asked = 0;
    events.OnListProcess = [&](TcustomJukeboxList*, std::uint32_t, std::uint32_t, TaudioTag*) {
        ++asked;
        if (const TaudioTag* tag = Jukebox().GetNextTag()) {
            EXPECT_GE(library.GlobalList().IndexOf(tag), 0) << "a song that is gone";
        }
    };
    // Files that no longer exist: every song goes but one, which a rebuild follows.
    library.GlobalList().BeginUpdate();
    for (int i = 2; i >= 0; --i)
        library.GlobalList().Delete(i);
    library.GlobalList().EndUpdate();
    EXPECT_GT(asked, 0);
    ASSERT_EQ(Jukebox().RandomPlayList().Count(), 1);
    EXPECT_EQ(Jukebox().RandomPlayList().GetItem(0)->Filename(), "/m/d");
}

// The scan window removes and replaces library songs inside one update; a player tick in between must not
// be handed a song that is already freed.
TEST_F(LocalLibraryTest, NoFreedSongIsChosenBeforeTheRebuild)
{
    library.GlobalList().BeginUpdate();
    for (const char* f : {"/m/a", "/m/b", "/m/c"})
        Put(library.GlobalList(), f);
    library.GlobalList().EndUpdate();
    ASSERT_EQ(Jukebox().RandomPlayList().Count(), 3);

    library.GlobalList().BeginUpdate();
    library.GlobalList().Delete(0);
    library.GlobalList().Delete(0);
    EXPECT_EQ(Jukebox().RandomPlayList().Count(), 0);
    for (int i = 0; i < 10; ++i) {
        if (const TaudioTag* tag = Jukebox().GetNextTag()) {
            EXPECT_GE(library.GlobalList().IndexOf(tag), 0) << "a song that is gone";
        }
    }
    library.GlobalList().EndUpdate();
    EXPECT_EQ(Jukebox().RandomPlayList().Count(), 1);
    EXPECT_EQ(Jukebox().RandomPlayList().GetItem(0)->Filename(), "/m/c");
}

TEST_F(LocalLibraryTest, LoadingJukeboxDatAsksThePlayerOnce)
{
    library.GlobalList().BeginUpdate();
    for (const char* f : {"/m/a", "/m/b"})
        Put(library.GlobalList(), f);
    library.GlobalList().EndUpdate();
    library.SaveGlobal();
    int randomChanges = 0;
    jukeboxEvents.OnCustomGlobalChange = [&](TcustomJukebox*, int) { ++randomChanges; };
    player->Calls.clear();
    lines.clear();

    TlocalJukeboxLoader loader;
    loader.SetJukeboxList(&library);
    loader.LoadGlobal();
    EXPECT_EQ(player->CountCalls("PreloadNext"), 1u);
    EXPECT_EQ(randomChanges, 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Global"), 1);
    EXPECT_EQ(Jukebox().RandomPlayList().Count(), 2);
    EXPECT_NE(Prepared(), "nil");
}

TEST_F(LocalLibraryTest, EventHolders)
{
    // A holder without the jukebox's holders hands on none; nullptr keeps what the jukebox has.
    TcustomJukeboxListEvents bare;
    library.SetEvents(&bare);
    EXPECT_EQ(Jukebox().Events(), nullptr);
    EXPECT_EQ(Jukebox().PlayerEvents(), nullptr);
    library.SetEvents(&events);
    library.SetEvents(nullptr);
    EXPECT_EQ(library.Events(), nullptr);
    EXPECT_EQ(Jukebox().Events(), &jukeboxEvents);
    EXPECT_EQ(Jukebox().PlayerEvents(), &playerEvents);

    // The holder's links forget holders that are gone.
    {
        TcustomJukeboxEvents shortLived;
        events.SetJukeboxEvents(&shortLived);
        EXPECT_EQ(events.JukeboxEvents(), &shortLived);
    }
    EXPECT_EQ(events.JukeboxEvents(), nullptr);
    {
        TcustomMediaPlayerEvents shortLived;
        events.SetPlayerEvents(&shortLived);
    }
    EXPECT_EQ(events.PlayerEvents(), nullptr);
}

TEST_F(LocalLibraryTest, QueueOperations)
{
    TaudioTagList source;
    source.SetOwnsObjects(true);
    for (const char* f : {"/m/1", "/m/2", "/m/3"})
        Put(source, f);

    // Clones always: the queue owns what it holds, even when a caller forgets the copy flag.
    library.QueueList(source, false);
    ASSERT_EQ(Names(Queue()), (std::vector<std::string>{"/m/1", "/m/2", "/m/3"}));
    EXPECT_NE(Queue().GetItem(0), source.GetItem(0));
    TStringList<TaudioTag> picked;
    picked.AddObject("x", source.GetItem(2));
    library.QueueTags(picked, false, false);
    ASSERT_EQ(Names(Queue()), (std::vector<std::string>{"/m/3"}));
    EXPECT_NE(Queue().GetItem(0), source.GetItem(2));
    EXPECT_TRUE(library.QueueTag(source.GetItem(0)));
    EXPECT_TRUE(library.QueueTag(source.GetItem(1)));
    EXPECT_FALSE(library.QueueTag(nullptr));
    EXPECT_EQ(Names(Queue()), (std::vector<std::string>{"/m/3", "/m/1", "/m/2"}));

    lines.clear();
    library.QueueMoveUp(0);
    library.QueueMoveDown(2);
    library.QueueMoveUp(3);
    library.QueueMoveDown(-1);
    library.QueueDelete(3);
    library.QueueDelete(-1);
    EXPECT_TRUE(lines.empty());
    library.QueueMoveUp(2);
    EXPECT_EQ(Names(Queue()), (std::vector<std::string>{"/m/3", "/m/2", "/m/1"}));
    library.QueueMoveDown(0);
    EXPECT_EQ(Names(Queue()), (std::vector<std::string>{"/m/2", "/m/3", "/m/1"}));
    library.QueueDelete(1);
    EXPECT_EQ(Names(Queue()), (std::vector<std::string>{"/m/2", "/m/1"}));
    EXPECT_EQ(lines, (std::vector<std::string>{"Queue", "Queue", "Queue"}));
    EXPECT_EQ(Prepared(), "/m/2");

    // A full queue refuses the song and says so.
    int exceeded = 0;
    Queue().OnMaxExceeded = [&](TaudioTagList*) { ++exceeded; };
    Queue().SetMax(2);
    EXPECT_FALSE(library.QueueTag(source.GetItem(2)));
    EXPECT_EQ(Queue().Count(), 2);
    EXPECT_EQ(exceeded, 1);

    library.QueueClear();
    EXPECT_EQ(Queue().Count(), 0);
    EXPECT_EQ(source.Count(), 3); // untouched by the queue's freeing

    library.SetStackerActive(true);
    EXPECT_TRUE(Jukebox().Stacker().Active());
    EXPECT_EQ(lines.back(), "Stacker");
    library.SetStackerActive(false);
    EXPECT_FALSE(Jukebox().Stacker().Active());
}

TEST_F(LocalLibraryTest, CurrentPlaylistAndSelection)
{
    EXPECT_EQ(library.GetCurrentPlaylist(), nullptr);
    TaudioTagList* a = AddPlaylist(library.Playlists(), "Alpha", {"/m/a"});
    AddPlaylist(library.Playlists(), "Beta", {"/m/b"});
    library.SelectPlaylist("ALPHA");
    EXPECT_EQ(library.GetCurrentPlaylist(), a);
    EXPECT_TRUE(a->Active());
    Jukebox().Playlist().SetActive(true);
    EXPECT_EQ(library.GetCurrentPlaylist(), &Jukebox().Playlist());
    Jukebox().Playlist().SetActive(false);
    library.SelectPlaylist("none");
    EXPECT_EQ(library.GetCurrentPlaylist(), nullptr);
}

TEST_F(LocalLibraryTest, AutoSaveSwitchesAndSettings)
{
    TlocalJukeboxList fresh;
    EXPECT_FALSE(fresh.AutoSavePlaylist() || fresh.AutoSaveQueue() || fresh.AutoSaveStacker());
    EXPECT_FALSE(fresh.Jukebox()->AutoSavePlaylist() || fresh.Jukebox()->AutoSaveQueue() ||
                 fresh.Jukebox()->AutoSaveStacker());
    fresh.SetAutoSaveQueue(true);
    fresh.SetAutoSaveStacker(true);
    EXPECT_TRUE(fresh.Jukebox()->AutoSaveQueue());
    EXPECT_TRUE(fresh.Jukebox()->AutoSaveStacker());
    EXPECT_FALSE(fresh.Jukebox()->AutoSavePlaylist());
    fresh.SetDesigning(true);
    fresh.SetAutoSaveQueue(false);
    fresh.SetAutoSavePlaylist(true);
    EXPECT_FALSE(fresh.AutoSaveQueue());
    EXPECT_TRUE(fresh.Jukebox()->AutoSaveQueue()); // not passed on while designing
    EXPECT_FALSE(fresh.Jukebox()->AutoSavePlaylist());

    // The library's keys, then the jukebox's in the same section.
    AddPlaylist(library.Playlists(), "Party", {"/m/p"});
    library.Jukebox()->SelectActivePlaylist("Party");
    TIniFile ini(dir.File("settings.ini"));
    library.SaveSettings(ini, "Jukebox");
    TStrings keys;
    ini.ReadSection("Jukebox", keys);
    ASSERT_GE(keys.Count(), 6);
    EXPECT_EQ(keys[0], "MediaFolders");
    EXPECT_EQ(keys[keys.Count() - 1], "ActivePlaylist");
    EXPECT_EQ(ini.ReadString("Jukebox", "ActivePlaylist", ""), "Party");

    library.Jukebox()->SetActivePreloadedList(nullptr);
    ini.WriteString("Jukebox", "MediaFolders", "/music");
    library.LoadSettings(ini, "Jukebox");
    EXPECT_EQ(library.MediaFolders().CommaText(), "/music");
    ASSERT_NE(library.Jukebox()->ActivePreloadedList(), nullptr);
    EXPECT_EQ(library.Jukebox()->ActivePreloadedList()->Title(), "Party");
}

TEST(LocalJukeboxList, DestructionOrders)
{
    // The library frees its jukebox, whose lists link to the library's songs, before those songs.
    {
        TlocalJukeboxList library;
        Put(library.GlobalList(), "/m/a");
        ASSERT_EQ(library.Jukebox()->RandomPlayList().Count(), 1);
    }
    // A jukebox destroyed from outside is forgotten, and the library does without it.
    TlocalJukeboxList library;
    delete library.Jukebox();
    EXPECT_EQ(library.Jukebox(), nullptr);
    Put(library.GlobalList(), "/m/a");
    EXPECT_FALSE(library.QueueTag(library.GlobalList().GetItem(0)));
    library.QueueClear();
    library.SetAutoSaveQueue(true);
    TIniFile ini("/nonexistent/settings.ini");
    library.SaveSettings(ini, "Jukebox");
    EXPECT_FALSE(ini.ValueExists("Jukebox", "ActivePlaylist"));
    EXPECT_EQ(library.GetCurrentPlaylist(), nullptr);
}

TEST(JukeboxLoader, LoadsEverythingInItsOrder)
{
    TempDir dir;
    const std::string data = dir.File("Data");
    {
        TlocalJukeboxList library;
        library.SetDataFolder(data);
        library.GlobalList().BeginUpdate();
        Put(library.GlobalList(), "/m/a");
        Put(library.GlobalList(), "/m/b");
        library.GlobalList().EndUpdate();
        AddPlaylist(library.Playlists(), "Party", {"/m/b"});
        TlocalJukebox& jukebox = *library.Jukebox();
        Put(jukebox.Playlist(), "/m/running");
        Put(jukebox.Queue(), "/m/queued");
        auto cartridge = std::make_unique<TaudioTagList>();
        cartridge->SetTitle("Cart");
        jukebox.Stacker().Add(cartridge.release());
        Put(*jukebox.Stacker().Find("Cart"), "/m/stacked");
        library.SaveAll();
        jukebox.SaveAll();
    }

    TlocalJukeboxList library;
    library.SetDataFolder(data);
    library.SetAutoSaveGlobal(true);
    library.SetAutoSavePlaylists(true);
    library.SetAutoSaveQueue(true);
    library.SetAutoSaveStacker(true);
    std::vector<std::string> order;
    TcustomJukeboxEvents jukeboxEvents;
    jukeboxEvents.OnPlaylistChange = [&](TcustomJukebox*) { order.push_back("playlist"); };
    jukeboxEvents.OnStackerChange = [&](TcustomJukebox*) { order.push_back("stacker"); };
    jukeboxEvents.OnQueueChange = [&](TcustomJukebox*) { order.push_back("queue"); };
    TcustomMediaPlayerEvents playerEvents;
    playerEvents.OnGetNextTagger = [&](TcustomMediaPlayer*, const TaudioTag*& tag) {
        tag = library.Jukebox()->GetNextTag();
    };
    TcustomJukeboxListEvents events;
    events.OnGlobalListChange = [&](TcustomJukeboxList*) { order.push_back("global"); };
    events.OnPlaylistsChange = [&](TcustomJukeboxList*) { order.push_back("playlists"); };
    events.SetJukeboxEvents(&jukeboxEvents);
    events.SetPlayerEvents(&playerEvents);
    library.SetEvents(&events);
    auto owned = std::make_unique<TtestMediaPlayer>();
    TtestMediaPlayer* player = owned.get();
    library.Jukebox()->SetPlayer(std::move(owned));

    const auto dates = [&] {
        std::vector<std::filesystem::file_time_type> times;
        for (const char* f : {"jukebox.dat", "playlists.dat", "playlist.dat", "queue.dat", "stacker.dat"})
            times.push_back(std::filesystem::last_write_time(data + "/" + f));
        return times;
    };
    const auto before = dates();
    TlocalJukeboxLoader loader;
    loader.SetJukeboxList(&library);
    loader.OnStartGlobalLoad = [&](TcustomJukeboxLoader* sender) {
        EXPECT_EQ(sender, &loader);
        order.push_back("start");
    };
    loader.LoadAll();
    // A loaded playlist also reports its Active flag, so repeats are folded.
    order.erase(std::unique(order.begin(), order.end()), order.end());
    EXPECT_EQ(order,
              (std::vector<std::string>{"start", "global", "playlists", "playlist", "stacker", "queue"}));
    EXPECT_EQ(Names(library.GlobalList()), (std::vector<std::string>{"/m/a", "/m/b"}));
    EXPECT_EQ(library.Jukebox()->RandomPlayList().Count(), 2);
    ASSERT_NE(library.Playlists().Find("Party"), nullptr);
    EXPECT_EQ(Names(library.Jukebox()->Playlist()), (std::vector<std::string>{"/m/running"}));
    EXPECT_EQ(Names(library.Jukebox()->Queue()), (std::vector<std::string>{"/m/queued"}));
    ASSERT_NE(library.Jukebox()->Stacker().Find("Cart"), nullptr);
    EXPECT_EQ(Names(*library.Jukebox()->Stacker().Find("Cart")), (std::vector<std::string>{"/m/stacked"}));
    // The last request follows the queue, and its song stays prepared.
    ASSERT_NE(player->PreparedTag(), nullptr);
    EXPECT_EQ(player->PreparedTag()->Filename(), "/m/queued");
    EXPECT_EQ(player->Calls.back(), "DoGetNextTagger");
    // Nothing loaded was written back.
    EXPECT_EQ(dates(), before);
}

TEST(JukeboxLoader, MissingFilesAndMissingLibrary)
{
    TempDir dir;
    auto library = std::make_unique<TlocalJukeboxList>();
    library->SetDataFolder(dir.File("nothing here"));
    Put(library->Jukebox()->Queue(), "/m/old");
    TlocalJukeboxLoader loader;
    loader.SetJukeboxList(library.get());
    int starts = 0;
    loader.OnStartGlobalLoad = [&](TcustomJukeboxLoader*) { ++starts; };
    loader.LoadAll();
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(library->GlobalList().Count(), 0);
    EXPECT_EQ(library->Playlists().Count(), 0);
    EXPECT_EQ(library->Jukebox()->Queue().Count(), 0);
    EXPECT_EQ(library->Jukebox()->Playlist().Count(), 0);
    EXPECT_EQ(library->Jukebox()->Stacker().Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("nothing here")));

    library.reset();
    EXPECT_EQ(loader.JukeboxList(), nullptr);
    loader.LoadAll();
    loader.LoadQueue();
    EXPECT_EQ(starts, 2);
}

TEST(JukeboxLoader, NamesTheFilesItCouldNotReadAndLeavesThemAsTheyAre)
{
    TempDir dir;
    const std::string data = dir.File("Data");
    {
        TlocalJukeboxList library;
        library.SetDataFolder(data);
        for (const char* name : {"/m/a", "/m/b", "/m/c"})
            Put(library.GlobalList(), name);
        AddPlaylist(library.Playlists(), "Party", {"/m/b"});
        Put(library.Jukebox()->Queue(), "/m/queued");
        library.SaveAll();
        library.Jukebox()->SaveAll(); // the stacker is saved empty: a good file
    }
    std::filesystem::resize_file(data + "/jukebox.dat",
                                 std::filesystem::file_size(data + "/jukebox.dat") - 5);
    std::filesystem::resize_file(data + "/playlists.dat", 6);
    std::ofstream(data + "/queue.dat", std::ios::binary) << "garbage";
    const std::string global = TempDir::Read(data + "/jukebox.dat");

    TlocalJukeboxList library;
    library.SetDataFolder(data);
    library.SetAutoSaveGlobal(true);
    library.SetAutoSavePlaylists(true);
    library.SetAutoSaveQueue(true);
    library.SetAutoSaveStacker(true);
    TlocalJukeboxLoader loader;
    loader.SetJukeboxList(&library);
    loader.LoadAll();
    EXPECT_EQ(
        loader.UnreadableFiles(),
        (std::vector<std::string>{data + "/jukebox.dat", data + "/playlists.dat", data + "/queue.dat"}));
    EXPECT_EQ(Names(library.GlobalList()), (std::vector<std::string>{"/m/a", "/m/b"})); // read before the cut
    EXPECT_EQ(TempDir::Read(data + "/jukebox.dat"), global);
    EXPECT_EQ(TempDir::Read(data + "/playlists.dat").size(), 6u);
    EXPECT_EQ(TempDir::Read(data + "/queue.dat"), "garbage");
}
