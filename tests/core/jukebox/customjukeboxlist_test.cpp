#include "support/bytes.h"

#include "core/jukebox/customjukeboxlist.h"
#include "core/jukebox/customjukeboxlistevents.h"
#include "core/jukebox/libraryview.h"
#include "platform/error.h"
#include "platform/inifile.h"
#include "support/discimage.h"
#include "support/generatedlibrary.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

class TtestLibrary : public TcustomJukeboxList
{
public:
    void JukeboxDestroyed(TcustomJukebox*) override {}
};

std::unique_ptr<TaudioTag> Song(const std::string& file, const std::string& artist, const std::string& title,
                                const std::string& album = "", const std::string& genre = "")
{
    auto s = std::make_unique<TaudioTag>();
    s->SetFilename(file);
    s->SetArtist(artist);
    s->SetTitle(title);
    s->SetAlbum(album);
    s->SetGenreString(genre);
    return s;
}

void AddSong(TaudioTagList& list, std::unique_ptr<TaudioTag> song)
{
    ASSERT_TRUE(list.Add(song.release()));
}

ino_t Inode(const std::string& file)
{
    struct stat st
    {
    };
    return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Names left in a folder, to show that a failed save leaves no temporary file behind.
std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Records the library's notifications as text.
struct Recorder
{
    TcustomJukeboxListEvents events;
    std::vector<std::string> log;
    TcustomJukeboxList* sender = nullptr;

    explicit Recorder(TcustomJukeboxList& library)
    {
        const auto seen = [this](TcustomJukeboxList* s) { sender = s; };
        events.OnGlobalListChange = [this, seen](TcustomJukeboxList* s) {
            seen(s);
            log.push_back("global");
        };
        events.OnPlaylistsChange = [this, seen](TcustomJukeboxList* s) {
            seen(s);
            log.push_back("playlists");
        };
        events.OnPlaylistListChange = [this, seen](TcustomJukeboxList* s, TaudioTagList* list) {
            seen(s);
            log.push_back("list " + list->Title());
        };
        events.OnListProcessStart = [this](TcustomJukeboxList*, const std::string& text) {
            log.push_back("start " + text);
        };
        events.OnListProcess = [this](TcustomJukeboxList*, std::uint32_t i, std::uint32_t count, TaudioTag*) {
            log.push_back(std::to_string(i) + "/" + std::to_string(count));
        };
        events.OnListProcessFinished = [this](TcustomJukeboxList*) { log.push_back("finished"); };
        library.SetEvents(&events);
    }
};

} // namespace

TEST(CustomJukeboxList, RebuildsEveryGroupingInOnePass)
{
    TtestLibrary library;
    Recorder recorder(library);
    TaudioTagList& global = library.GlobalList();
    global.BeginUpdate();
    AddSong(global, Song("/m/X/Hits/1.mp3", "X", "one", "Hits", "Rock"));
    AddSong(global, Song("/m/X/Hits/2.mp3", "X", "Two", "Hits", "Rock"));
    AddSong(global, Song("/m/Y/Live/3.mp3", "Y", "9 lives", "Live", "Jazz"));
    AddSong(global, Song("/m/Mix/4.mp3", "The Band", "zed", "Mix"));
    AddSong(global, Song("/m/Mix/5.mp3", "Z", "apple", "Mix"));
    // Same name but for case: the index keeps the first song.
    AddSong(global, Song("/M/X/HITS/1.MP3", "X", "copy"));
    global.EndUpdate();

    EXPECT_EQ(recorder.log, (std::vector<std::string>{"start Processing Tag Information", "0/5", "1/5", "2/5",
                                                      "3/5", "4/5", "5/5", "finished", "global"}));
    EXPECT_EQ(recorder.sender, &library);

    EXPECT_EQ(library.Albums().Count(), 3);
    const TaudioTagAlbum* mix =
        library.Albums().GetAlbum(library.Albums().IndexOf(library.Albums().Find("Mix")));
    ASSERT_NE(mix, nullptr);
    EXPECT_EQ(mix->AlbumArtist(), "[Compilations]");
    // X, Y, The Band, Z and the two made by AssignAlbums.
    EXPECT_EQ(library.Artists().Count(), 6);
    ASSERT_NE(library.Artists().FindArtist("X"), nullptr);
    EXPECT_EQ(library.Artists().FindArtist("X")->Albums().Count(), 1);
    EXPECT_EQ(library.Artists().FindArtist("[Compilations]")->Albums().Count(), 1);
    std::vector<std::string> names;
    for (const auto& e : library.Artists().IndexNames())
        names.push_back(e.name);
    EXPECT_NE(std::find(names.begin(), names.end(), "Band, The"), names.end());
    std::vector<std::string> letters;
    for (int i = 0; i < library.AlphaList().Count(); ++i)
        letters.push_back(library.AlphaList().GetItem(i)->Title());
    EXPECT_EQ(letters, (std::vector<std::string>{"9", "A", "C", "O", "T", "Z"}));
    ASSERT_EQ(library.Genres().Count(), 3);
    EXPECT_EQ(library.Genres().FindGenre("[Undefined]")->Count(), 3);

    const TfileNameIndex& index = library.FileNameIndex();
    ASSERT_EQ(index.Count(), 5);
    EXPECT_EQ(index[0], "/m/Mix/4.mp3");
    EXPECT_EQ(index[2], "/m/X/Hits/1.mp3");
    EXPECT_EQ(index.Objects(2)->Title(), "one");
    EXPECT_EQ(index.IndexOf("/M/MIX/5.MP3"), 1);
    EXPECT_EQ(index.Objects(1), global.GetItem(4)); // links, never clones

    // A rebuild starts from scratch: no group keeps a song that left.
    global.Delete(0);
    global.Delete(0);
    EXPECT_EQ(library.Albums().Find("Hits"), nullptr);
    EXPECT_EQ(library.FileNameIndex().IndexOf("/m/x/hits/1.mp3"), 2); // now the upper-case copy
    EXPECT_EQ(library.FileNameIndex().Objects(2)->Title(), "copy");
    EXPECT_EQ(library.Genres().FindGenre("Rock"), nullptr);

    library.SetLoadGenres(false);
    global.Changed();
    EXPECT_EQ(library.Genres().Count(), 0);
    EXPECT_EQ(library.Albums().Count(), 2);
}

// Songs held by the groupings, read down to each song's text: under the sanitizers a freed list or song
// fails here.
int GroupedSongs(const TcustomJukeboxList& library)
{
    int songs = 0;
    const TaudioTagListList* const sets[] = {&library.Albums(), &library.Artists(), &library.AlphaList()};
    for (const TaudioTagListList* set : sets)
        for (int i = 0; i < set->Count(); ++i)
            for (const TaudioTag* song : set->GetItem(i)->Items())
                songs += song->Title().empty() ? 0 : 1;
    const TfileNameIndex& index = library.FileNameIndex();
    for (int i = 0; i < index.Count(); ++i)
        songs += index.Objects(i)->Filename() == index[i] ? 1 : 0;
    return songs;
}

// A large library's file-name index is built beside the closing groupings: whole, and found by name, after
// every rebuild (under ASan too).
TEST(CustomJukeboxList, ALargeLibrarysNameIndexIsWholeAfterEveryRebuild)
{
    TlibraryShape shape;
    shape.Songs = 20000;
    TgeneratedLibrary library(shape);
    for (int round = 0; round < 2; ++round) {
        const TfileNameIndex& index = library.FileNameIndex();
        ASSERT_EQ(index.Count(), library.GlobalList().Count());
        for (int i = 0; i < library.GlobalList().Count(); i += 997) {
            const TaudioTag* song = library.GlobalList().GetItem(i);
            EXPECT_EQ(index.Find(song->Filename()), song);
        }
        library.GlobalList().Changed();
    }
}

// Whoever links into the groupings hears that they are about to go while they are still whole: once per
// rebuild, before the rebuild's progress and before any song is freed, whichever path frees them.
TEST(CustomJukeboxList, AnnouncesEveryRebuildWhileTheGroupingsAreWhole)
{
    TempDir dir;
    TtestLibrary library;
    library.SetDataFolder(dir.Path());
    Recorder recorder(library);
    std::vector<int> whole;
    recorder.events.OnGlobalListChanging = [&](TcustomJukeboxList* sender) {
        EXPECT_EQ(sender, &library);
        recorder.log.push_back("changing");
        whole.push_back(GroupedSongs(library));
    };
    const auto once = [&recorder] {
        const auto& log = recorder.log;
        EXPECT_EQ(std::count(log.begin(), log.end(), "changing"), 1);
        EXPECT_EQ(std::count(log.begin(), log.end(), "global"), 1);
        EXPECT_LT(std::find(log.begin(), log.end(), "changing"),
                  std::find(log.begin(), log.end(), "start Processing Tag Information"));
        recorder.log.clear();
    };
    TaudioTagList& global = library.GlobalList();
    global.BeginUpdate();
    for (int i = 0; i < 6; ++i)
        AddSong(global, Song("/m/" + std::to_string(i), i < 3 ? "A" : "B", "t" + std::to_string(i),
                             i < 3 ? "One" : "Two"));
    global.EndUpdate();
    once();
    EXPECT_EQ(whole, (std::vector<int>{0})); // the first rebuild finds nothing grouped yet
    const int grouped = GroupedSongs(library);
    ASSERT_GT(grouped, 6);

    // A deletion frees its song only after the announcement.
    global.Delete(0);
    once();
    EXPECT_EQ(whole.back(), grouped);

    // Many frees inside one update: one announcement, before the first.
    const int five = GroupedSongs(library);
    global.BeginUpdate();
    global.Delete(0);
    global.Delete(0);
    global.Clear();
    global.EndUpdate();
    once();
    EXPECT_EQ(whole.back(), five);

    // jukebox.dat replacing the songs, and missing files removed.
    for (int i = 0; i < 4; ++i)
        AddSong(global, Song("/gone/" + std::to_string(i), "C", "x", "Three"));
    library.SaveGlobal();
    recorder.log.clear();
    library.LoadGlobalList();
    EXPECT_EQ(recorder.log.front(), "changing");
    once();
    ASSERT_EQ(global.Count(), 4);
    const int loaded = GroupedSongs(library);
    global.RemoveMissing();
    once();
    EXPECT_EQ(whole.back(), loaded);
    EXPECT_EQ(global.Count(), 0);

    // A listener that fails does not cut the freeing short: the groupings follow, then the failure
    // reaches whoever changed the list.
    AddSong(global, Song("/m/a", "A", "a", "One"));
    AddSong(global, Song("/m/b", "A", "b", "One"));
    recorder.events.OnGlobalListChanging = [](TcustomJukeboxList*) { throw std::runtime_error("busy"); };
    recorder.log.clear();
    EXPECT_THROW(global.Delete(0), std::runtime_error);
    EXPECT_EQ(recorder.log.back(), "global");
    EXPECT_EQ(library.FileNameIndex().Count(), 1);
    ASSERT_EQ(library.Albums().Count(), 1);
    EXPECT_EQ(library.Albums().GetItem(0)->Count(), 1);
    recorder.events.OnGlobalListChanging = nullptr;
    global.Delete(0);
    EXPECT_EQ(GroupedSongs(library), 0);
}

TEST(CustomJukeboxList, ProgressIsThinnedByTheGlobalList)
{
    TtestLibrary library;
    Recorder recorder(library);
    library.GlobalList().SetListProcessFactor(2);
    library.GlobalList().BeginUpdate();
    for (int i = 0; i < 5; ++i)
        AddSong(library.GlobalList(), Song("/m/" + std::to_string(i), "A", "t"));
    library.GlobalList().EndUpdate();
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"start Processing Tag Information", "0/4", "2/4", "4/4",
                                                      "finished", "global"}));
}

TEST(CustomJukeboxList, LibraryFilesRoundTripWithoutSavingWhileLoading)
{
    TempDir dir;
    const std::string data = dir.File("Data/sub");
    {
        TtestLibrary library;
        library.SetDataFolder(data);
        EXPECT_EQ(library.GetGlobalFileName(), data + "/jukebox.dat");
        EXPECT_EQ(library.GetPlaylistsFileName(), data + "/playlists.dat");
        EXPECT_EQ(library.GetGlobalFileDate(), 0);
        EXPECT_EQ(library.GetPlaylistsFileDate(), 0);
        // Empty files: the song-list and list-of-lists layouts, written into a folder made on the way.
        library.SaveAll();
        EXPECT_EQ(TempDir::Read(library.GetGlobalFileName()),
                  std::string("OATL") + Raw({0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0}));
        EXPECT_EQ(TempDir::Read(library.GetPlaylistsFileName()), std::string("OALL") + Raw({0, 0, 0, 0}));
        EXPECT_GT(library.GetGlobalFileDate(), 0);

        library.SetAutoSaveGlobal(true);
        library.SetAutoSavePlaylists(true);
        AddSong(library.GlobalList(), Song("/m/a.mp3", "A", "Song", "Album"));
        auto list = std::make_unique<TaudioTagList>();
        list->SetTitle("Party");
        library.Playlists().Add(list.release());
        AddSong(*library.Playlists().Find("Party"), Song("/m/a.mp3", "A", "Song"));
    }
    const std::string playlists = TempDir::Read(data + "/playlists.dat");
    EXPECT_EQ(playlists.substr(0, 8), std::string("OALL") + Raw({1, 0, 0, 0}));
    EXPECT_EQ(playlists.substr(8, 13), std::string("OATL") + Raw({5, 0, 0, 0}) + "Party");

    TtestLibrary library;
    library.SetDataFolder(data);
    library.SetAutoSaveGlobal(true);
    library.SetAutoSavePlaylists(true);
    Recorder recorder(library);
    const ino_t globalInode = Inode(library.GetGlobalFileName());
    const ino_t playlistsInode = Inode(library.GetPlaylistsFileName());
    library.LoadGlobal();
    EXPECT_FALSE(library.GlobalLoading());
    EXPECT_EQ(std::count(recorder.log.begin(), recorder.log.end(), "global"), 1);
    ASSERT_EQ(library.GlobalList().Count(), 1);
    EXPECT_EQ(library.Albums().Count(), 1);
    library.LoadPlaylists();
    EXPECT_FALSE(library.PlaylistsLoading());
    ASSERT_NE(library.Playlists().Find("Party"), nullptr);
    EXPECT_EQ(library.Playlists().Find("Party")->Count(), 1);
    EXPECT_TRUE(library.Playlists().Find("Party")->OwnsObjects());
    // Every save replaces the file, so an unchanged inode shows that the loads wrote nothing back.
    EXPECT_EQ(Inode(library.GetGlobalFileName()), globalInode);
    EXPECT_EQ(Inode(library.GetPlaylistsFileName()), playlistsInode);

    recorder.log.clear();
    AddSong(*library.Playlists().Find("Party"), Song("/m/b.mp3", "B", "Other"));
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"list Party"}));
    EXPECT_NE(Inode(library.GetPlaylistsFileName()), playlistsInode);
    library.Playlists().Delete(0);
    EXPECT_EQ(recorder.log.back(), "playlists");
    EXPECT_EQ(TempDir::Read(library.GetPlaylistsFileName()), std::string("OALL") + Raw({0, 0, 0, 0}));
}

TEST(CustomJukeboxList, FailedSaveKeepsThePreviousFileAndReachesTheCaller)
{
    TempDir dir;
    TtestLibrary library;
    library.SetDataFolder(dir.Path());
    AddSong(library.GlobalList(), Song("/m/a.mp3", "A", "Song", "Album"));
    library.SaveGlobal();
    const std::string before = TempDir::Read(library.GetGlobalFileName());

    // A file-size limit makes the write fail half-way, as a full disk does (also for root).
    library.GlobalList().BeginUpdate();
    for (int i = 0; i < 2000; ++i)
        AddSong(library.GlobalList(), Song("/m/" + std::to_string(i) + ".mp3", "A", "Song", "Album"));
    library.GlobalList().EndUpdate();
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(library.SaveGlobal(), EFileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(TempDir::Read(library.GetGlobalFileName()), before);
    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"jukebox.dat"}));
}

TEST(CustomJukeboxList, FailedAutomaticSaveStillRebuildsAndNotifies)
{
    TempDir dir;
    TtestLibrary library;
    Recorder recorder(library);
    library.SetDataFolder(dir.Path());
    // A folder where the files should be: renaming over it fails, for root too.
    std::filesystem::create_directories(library.GetGlobalFileName());
    std::filesystem::create_directories(library.GetPlaylistsFileName());
    library.SetAutoSaveGlobal(true);
    library.SetAutoSavePlaylists(true);

    library.GlobalList().BeginUpdate();
    AddSong(library.GlobalList(), Song("/m/a.mp3", "A", "Song", "Album"));
    AddSong(library.GlobalList(), Song("/m/b.mp3", "B", "Other", "Album"));
    EXPECT_THROW(library.GlobalList().EndUpdate(), EFileError);
    EXPECT_EQ(recorder.log.back(), "global");
    EXPECT_EQ(library.FileNameIndex().Count(), 2);
    EXPECT_EQ(library.Albums().Count(), 1);
    // The groupings follow a removal even though its save fails: none keeps the freed song.
    EXPECT_THROW(library.GlobalList().Delete(0), EFileError);
    EXPECT_EQ(library.FileNameIndex().Count(), 1);
    EXPECT_EQ(library.Albums().GetItem(0)->Count(), 1);
    EXPECT_EQ(library.Albums().GetItem(0)->GetItem(0)->Title(), "Other");

    recorder.log.clear();
    auto list = std::make_unique<TaudioTagList>();
    list->SetTitle("P");
    EXPECT_THROW(library.Playlists().Add(list.release()), EFileError);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"playlists"}));
    EXPECT_THROW(AddSong(*library.Playlists().Find("P"), Song("/m/c.mp3", "C", "x")), EFileError);
    EXPECT_EQ(recorder.log.back(), "list P");

    EXPECT_EQ(Entries(dir.Path()), (std::vector<std::string>{"jukebox.dat", "playlists.dat"}));
    EXPECT_TRUE(std::filesystem::is_empty(library.GetGlobalFileName()));
}

TEST(CustomJukeboxList, CDCataloguesByVolumeSerial)
{
    TempDir dir;
    // "\x01CD001\x01" sums to 31 74 45 30 by byte position; these four bytes bring it to 00 12 AB 34.
    const std::string iso = dir.Write("disc.iso", discimage::HandmadeIso(std::string("\x04\xCF\x9E\x66", 4)));
    const std::string other = dir.Write("other.iso", discimage::HandmadeIso("\x12"));
    dir.Write("media/cd/Music/a.mp3", "");
    dir.Write("media/blank/x", "");
    dir.Write("run/media/user/CD/Music/a.mp3", "");
    const std::string scanTable =
        dir.Write("scan-mounts", iso + " " + dir.File("media/cd") + " iso9660 ro 0 0\n");
    const std::string root = dir.File("media/cd/");

    TtestLibrary library;
    library.SetDataFolder(dir.File("Data"));
    {
        const ScopedEnv mounts("ORVANE_MOUNT_TABLE", scanTable);
        EXPECT_EQ(library.GetCDCatalogueFileName(root), dir.File("Data/0012AB34.dat"));
        EXPECT_EQ(library.GetCDCatalogueFileName(dir.File("media")), "");

        TaudioTagList scanned;
        scanned.SetOwnsObjects(true);
        AddSong(scanned, Song(root + "Music/a.mp3", "A", "On disc", "Disc"));
        EXPECT_TRUE(library.SaveCDCatalogue(scanned, root));
        EXPECT_FALSE(library.SaveCDCatalogue(scanned, dir.File("media")));
        EXPECT_EQ(scanned.GetItem(0)->Filename(), root + "Music/a.mp3");
        // Stored in drive-letter form, as catalogues always were.
        const std::string bytes = TempDir::Read(dir.File("Data/0012AB34.dat"));
        EXPECT_NE(bytes.find(std::string("Filename") + Raw({6, 14}) + "d:\\Music\\a.mp3"), std::string::npos);
    }
    AddSong(library.GlobalList(), Song("/m/local.mp3", "L", "Local"));
    library.SaveGlobal();

    // Later the disc sits at a deeper mount point; an empty drive and a disc without catalogue are skipped.
    const std::string table =
        dir.Write("mounts", iso + " " + dir.File("run/media/user/CD") + " iso9660 ro 0 0\n" + other + " " +
                                dir.File("media/blank") + " iso9660 ro 0 0\n" + iso + " " +
                                dir.File("media/gone") + " iso9660 ro 0 0\n");
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE", table);
    int rebuilds = 0;
    TcustomJukeboxListEvents events;
    events.OnGlobalListChange = [&](TcustomJukeboxList*) { ++rebuilds; };
    library.SetEvents(&events);
    library.LoadGlobalList();
    EXPECT_EQ(library.GlobalList().Count(), 1); // catalogues only with LoadCDs
    library.SetLoadCDs(true);
    library.LoadGlobalList();
    EXPECT_EQ(rebuilds, 2);
    ASSERT_EQ(library.GlobalList().Count(), 2);
    EXPECT_EQ(library.GlobalList().GetItem(0)->Filename(), "/m/local.mp3");
    const std::string onDisc = dir.File("run/media/user/CD/Music/a.mp3");
    EXPECT_EQ(library.GlobalList().GetItem(1)->Filename(), onDisc);
    EXPECT_GE(library.FileNameIndex().IndexOf(onDisc), 0);
    EXPECT_NE(library.Albums().Find("Disc"), nullptr);
    EXPECT_TRUE(library.IsCDSong(*library.GlobalList().GetItem(1)));
    EXPECT_FALSE(library.IsCDSong(*library.GlobalList().GetItem(0)));

    // The library without CDs links the same songs, less the disc's, and owns none of them.
    std::vector<std::string> log;
    TcustomJukeboxListEvents viewEvents;
    viewEvents.OnGlobalListChanging = [&](TcustomJukeboxList*) { log.push_back("changing"); };
    viewEvents.OnGlobalListChange = [&](TcustomJukeboxList* sender) {
        log.push_back("change " + std::to_string(sender->FileNameIndex().Count()));
    };
    auto view = std::make_unique<TlibraryView>();
    view->SetDataFolder(dir.File("Data"));
    view->SetEvents(&viewEvents);
    EXPECT_TRUE(view->Stale());
    view->Follow(library);
    EXPECT_FALSE(view->Stale());
    ASSERT_EQ(view->GlobalList().Count(), 1);
    EXPECT_EQ(view->GlobalList().GetItem(0), library.GlobalList().GetItem(0));
    EXPECT_FALSE(view->GlobalList().OwnsObjects());
    EXPECT_EQ(view->FileNameIndex().Find(onDisc), nullptr);
    EXPECT_EQ(view->Genres().Count(), 1);
    // Without the disc's songs its groupings are its own.
    EXPECT_FALSE(view->SharesGroupings());
    EXPECT_EQ(view->Albums().Find("Disc"), nullptr);
    // Before the songs go it lets go, telling once; emptied, it tells nothing more until it follows again.
    view->Release();
    view->Release();
    EXPECT_TRUE(view->Stale());
    EXPECT_EQ(view->GlobalList().Count(), 0);
    EXPECT_EQ(view->FileNameIndex().Count(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "change 1", "changing"}));
    library.GlobalList().Clear();
    view->Follow(library);
    EXPECT_EQ(log.back(), "change 0");
    // It neither loads nor saves jukebox.dat.
    AddSong(library.GlobalList(), Song("/m/other.mp3", "O", "Other"));
    view->Follow(library);
    const std::string saved = TempDir::Read(library.GetGlobalFileName());
    view->LoadGlobal();
    view->SaveAll();
    ASSERT_EQ(view->GlobalList().Count(), 1);
    EXPECT_EQ(view->GlobalList().GetItem(0), library.GlobalList().GetItem(0));
    EXPECT_EQ(TempDir::Read(library.GetGlobalFileName()), saved);
    view.reset();
    EXPECT_EQ(library.GlobalList().GetItem(0)->Title(), "Other");
}

TEST(CustomJukeboxList, ALibraryWithoutCDsSharesTheGroupingsUntilReleased)
{
    TtestLibrary library;
    library.Artists().MappingList().Add("Zed Band=");
    library.Genres().SetUseArtists(false);
    TaudioTagList& global = library.GlobalList();
    global.BeginUpdate();
    AddSong(global, Song("/m/z/1.mp3", "Zed Band", "One", "First", "Rock"));
    AddSong(global, Song("/m/z/2.mp3", "Zed Band", "Two", "First", "Rock"));
    AddSong(global, Song("/m/y/3.mp3", "The Why", "Three", "Second"));
    global.EndUpdate();
    const auto names = [](const TaudioTagArtistList& artists) {
        std::vector<std::string> all;
        for (const auto& e : artists.IndexNames())
            all.push_back(e.name);
        return all;
    };

    auto view = std::make_unique<TlibraryView>();
    for (int round = 0; round < 2; ++round) {
        view->Follow(library);
        ASSERT_TRUE(view->SharesGroupings());
        // The same group lists, not copies of them.
        ASSERT_EQ(view->Albums().Count(), 2);
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(view->Albums().GetItem(i), library.Albums().GetItem(i));
        // Group lists carry no hooks of their sets: a window may sort one for showing, and nothing follows.
        EXPECT_FALSE(library.Albums().GetItem(0)->OnChange);
        EXPECT_FALSE(library.Artists().FindArtist("Zed Band")->Albums().GetItem(0)->OnModeChanged);
        EXPECT_EQ(view->Artists().FindArtist("zed band"), library.Artists().FindArtist("Zed Band"));
        EXPECT_EQ(view->AlphaList().Count(), library.AlphaList().Count());
        EXPECT_EQ(view->Genres().FindGenre("Rock"), library.Genres().FindGenre("Rock"));
        EXPECT_EQ(view->Genres().GenreIndex().size(), 2u);
        EXPECT_EQ(view->FileNameIndex().Find("/m/y/3.mp3"), global.GetItem(2));
        // Its own name index (the source's alias lines are not its own) and display switches.
        EXPECT_EQ(names(library.Artists()),
                  (std::vector<std::string>{"[Compilations]", "[Not Tagged]", "Band, Zed", "The Why",
                                            "Why, The", "Zed Band"}));
        EXPECT_EQ(names(view->Artists()), (std::vector<std::string>{"[Compilations]", "[Not Tagged]",
                                                                    "The Why", "Why, The", "Zed Band"}));
        EXPECT_TRUE(view->Genres().UseArtists());
        // Released before the source rebuilds, it keeps no link to the lists that go.
        view->Release();
        EXPECT_FALSE(view->SharesGroupings());
        EXPECT_EQ(view->Albums().Count() + view->AlphaList().Count() + view->Genres().Count(), 0);
        EXPECT_EQ(view->Artists().FindArtist("Zed Band"), nullptr);
        EXPECT_EQ(names(view->Artists()), (std::vector<std::string>{"[Compilations]", "[Not Tagged]"}));
        EXPECT_TRUE(view->Genres().GenreIndex().empty());
        global.Changed();
    }
    // Followed again after a rebuild it was not released for, it only drops the old links.
    view->Follow(library);
    global.Changed();
    view->Follow(library);
    EXPECT_EQ(view->Albums().GetItem(0), library.Albums().GetItem(0));
    view.reset();
    EXPECT_EQ(library.Albums().GetItem(0)->Count(), 2);
}

TEST(CustomJukeboxList, AGenreHoldingAWholeAlbumLinksTheAlbumGroupingsOwn)
{
    TtestLibrary library;
    TaudioTagList& global = library.GlobalList();
    // Every album's songs come out of track order.
    const auto add = [&global](const std::string& file, const std::string& artist, const std::string& title,
                               const std::string& album, const std::string& genre, std::uint32_t track) {
        auto song = Song(file, artist, title, album, genre);
        song->SetTrackNo(track);
        AddSong(global, std::move(song));
    };
    global.BeginUpdate();
    add("/m/w/2.mp3", "W", "Two", "Whole", "Rock", 2);
    add("/m/w/1.mp3", "W", "One", "Whole", "Rock", 1);
    add("/m/s/3.mp3", "S", "Three", "Split", "Rock", 3);
    add("/m/s/4.mp3", "S", "Four", "Split", "Jazz", 4);
    add("/m/s/2.mp3", "S", "Two", "Split", "Rock", 2);
    add("/m/s/1.mp3", "S", "One", "Split", "Rock", 1);
    global.EndUpdate();
    const auto titles = [](const TaudioTagList* list) {
        std::string line;
        for (const TaudioTag* song : list->Items())
            line += song->Title() + " ";
        return line;
    };
    for (int round = 0; round < 2; ++round) {
        const TaudioTagGenre* rock = library.Genres().FindGenre("Rock");
        ASSERT_NE(rock, nullptr);
        TaudioTagList* whole = library.Albums().Find("Whole");
        TaudioTagList* split = library.Albums().Find("Split");
        // The whole album is the album grouping's own; the genre's part of the split one is its own.
        EXPECT_EQ(rock->Albums().Find("Whole"), whole);
        const TaudioTagList* rockSplit = rock->Albums().Find("Split");
        ASSERT_NE(rockSplit, nullptr);
        EXPECT_NE(rockSplit, split);
        EXPECT_EQ(rock->Artists().FindArtist("W")->Albums().GetItem(0), whole);
        // Linked or not, every album is whole, closed and in track order.
        EXPECT_EQ(titles(whole), "One Two ");
        EXPECT_EQ(titles(split), "One Two Three Four ");
        EXPECT_EQ(titles(rockSplit), "One Two Three ");
        EXPECT_EQ(titles(library.Genres().FindGenre("Jazz")->Albums().Find("Split")), "Four ");
        for (const TaudioTagList* album :
             std::initializer_list<const TaudioTagList*>{whole, split, rockSplit})
            EXPECT_EQ(album->UpdateCount(), 0);
        // Rebuilt, the links go with the genres before the albums they point to (held under ASan).
        global.Changed();
    }
    TaudioTagAlbumList& rockAlbums = library.Genres().FindGenre("Rock")->Albums();
    rockAlbums.Remove(library.Albums().Find("Whole"));
    EXPECT_EQ(library.Albums().Find("Whole")->Count(), 2);
}

// Every list of a set with its songs in order; a list that is one of `linked`'s is marked.
std::vector<std::string> Dump(const TaudioTagListList& set, const TaudioTagListList* linked = nullptr)
{
    std::vector<std::string> lines;
    for (int i = 0; i < set.Count(); ++i) {
        const TaudioTagList* list = set.GetItem(i);
        std::string line = list->Title() + (linked && linked->Contains(list) ? " (linked):" : ":");
        for (const TaudioTag* song : list->Items())
            line += " " + song->Title();
        lines.push_back(line);
        if (const auto* artist = dynamic_cast<const TaudioTagArtist*>(list))
            for (const std::string& album : Dump(artist->Albums()))
                lines.push_back("  " + album);
        if (const auto* genre = dynamic_cast<const TaudioTagGenre*>(list)) {
            for (const std::string& album : Dump(genre->Albums(), linked))
                lines.push_back("  " + album);
            for (const std::string& artist : Dump(genre->Artists()))
                lines.push_back("  " + artist);
        }
    }
    return lines;
}

// A rebuild looks the songs up ahead in stretches; shuffled across several stretches, with titles in two
// cases and in two folders, albums split between genres and untagged songs, it must group exactly as the
// groupings filled song by song do.
TEST(CustomJukeboxList, AShuffledLibraryGroupsAsFilledSongBySong)
{
    TtestLibrary library;
    TaudioTagList& global = library.GlobalList();
    const int count = 300;
    global.BeginUpdate();
    for (int k = 0; k < count; ++k) {
        const int i = k * 7919 % count; // every song once, far from the one before
        const int album = i % 23;
        const std::string title =
            i % 50 == 0 ? "" : (album % 2 == 0 ? "Album " : "ALBUM ") + std::to_string(album % 9);
        AddSong(global, Song("/m/" + std::to_string(album % 17) + "/" + std::to_string(i) + ".mp3",
                             i % 61 == 0 ? "" : "Artist " + std::to_string(album % 7 + (i % 5 == 0 ? 1 : 0)),
                             "t" + std::to_string(i), title,
                             album % 4 == 0 && i % 3 == 0 ? "Jazz" : "Rock " + std::to_string(album % 3)));
    }
    global.EndUpdate();

    TaudioTagAlbumList albums;
    TaudioTagArtistList artists;
    TaudioTagArtistList alpha;
    TaudioTagGenreList genres; // goes before the albums it links
    for (TaudioTagListList* set :
         std::initializer_list<TaudioTagListList*>{&albums, &artists, &alpha, &genres})
        set->SetOwnsObjects(true);
    alpha.SetIsAlphaList(true);
    genres.SetLibraryAlbums(&albums);
    artists.BeginUpdate();
    albums.BeginUpdate();
    alpha.BeginUpdate();
    genres.BeginUpdate();
    for (TaudioTag* song : global.Items()) {
        albums.AddTag(song);
        artists.AddTag(song);
        alpha.AddTag(song);
        genres.AddTag(song);
    }
    genres.EndUpdate();
    artists.AssignAlbums(albums);
    artists.BuildIndex();
    albums.EndUpdate();
    artists.EndUpdate();
    alpha.EndUpdate();

    EXPECT_EQ(Dump(library.Albums()), Dump(albums));
    EXPECT_EQ(Dump(library.Artists()), Dump(artists));
    EXPECT_EQ(Dump(library.AlphaList()), Dump(alpha));
    const std::vector<std::string> grouped = Dump(library.Genres(), &library.Albums());
    EXPECT_EQ(grouped, Dump(genres, &albums));
    EXPECT_GT(
        std::count_if(grouped.begin(), grouped.end(),
                      [](const std::string& line) { return line.find("(linked)") != std::string::npos; }),
        0);
}

TEST(CustomJukeboxList, SettingsKeys)
{
    TempDir dir;
    TIniFile ini(dir.File("settings.ini"));
    TtestLibrary library;
    TaudioTagList& global = library.GlobalList();
    const std::string audioMask = global.AudioFileMask();
    const std::string videoMask = global.VideoFileMask();
    ini.WriteString("Jukebox", "MediaFolders", "/music,\"/my music\"");
    ini.WriteBool("Jukebox", "UseAudioMask", true);
    ini.WriteBool("Jukebox", "AlbumFromParentFolder", false);
    library.LoadSettings(ini, "Jukebox");
    EXPECT_EQ(library.MediaFolders().Count(), 2);
    EXPECT_EQ(library.MediaFolders()[1], "/my music");
    EXPECT_TRUE(global.UseAudioFileMask());
    EXPECT_EQ(global.AudioFileMask(), audioMask); // missing key: the current mask stays
    EXPECT_FALSE(global.UseVideoFileMask());
    EXPECT_EQ(global.VideoFileMask(), videoMask);
    EXPECT_FALSE(global.AlbumFromParentFolder());
    EXPECT_TRUE(global.ArtistFromParentFolder());

    global.SetUseVideoFileMask(true);
    global.SetVideoFileMask("%a - %t");
    TIniFile out(dir.File("out.ini"));
    library.SaveSettings(out, "Jukebox");
    TStrings keys;
    out.ReadSection("Jukebox", keys);
    EXPECT_EQ(keys.CommaText(),
              "MediaFolders,UseAudioMask,AudioMask,AlbumFromParentFolder,ArtistFromParentFolder,UseVideoMask,"
              "VideoMask");
    EXPECT_EQ(out.ReadString("Jukebox", "MediaFolders", ""), "/music,\"/my music\"");
    EXPECT_EQ(out.ReadString("Jukebox", "UseAudioMask", ""), "1");
    EXPECT_EQ(out.ReadString("Jukebox", "VideoMask", ""), "%a - %t");

    // Switched off: neither key is written, and the switch saved before cannot turn it back on.
    global.SetUseVideoFileMask(false);
    library.SaveSettings(out, "Jukebox");
    EXPECT_FALSE(out.ValueExists("Jukebox", "UseVideoMask"));
    TIniFile fresh(dir.File("fresh.ini"));
    library.SaveSettings(fresh, "Jukebox");
    fresh.ReadSection("Jukebox", keys);
    EXPECT_EQ(keys.CommaText(),
              "MediaFolders,UseAudioMask,AudioMask,AlbumFromParentFolder,ArtistFromParentFolder");
    TtestLibrary reloaded;
    reloaded.LoadSettings(out, "Jukebox");
    EXPECT_FALSE(reloaded.GlobalList().UseVideoFileMask());
}

TEST(CustomJukeboxList, EventsHolderMayGoFirst)
{
    TtestLibrary library;
    int changes = 0;
    {
        TcustomJukeboxListEvents events;
        events.OnGlobalListChange = [&](TcustomJukeboxList*) { ++changes; };
        library.SetEvents(&events);
        AddSong(library.GlobalList(), Song("/m/a", "A", "a"));
        EXPECT_EQ(library.Events(), &events);
    }
    EXPECT_EQ(library.Events(), nullptr);
    AddSong(library.GlobalList(), Song("/m/b", "A", "b"));
    EXPECT_EQ(changes, 1);
}
