// Albums, artists, the alphabetical list, the name index with its aliases, and the trees they fill.
#include "support/listtitles.h"
#include "support/memorytree.h"

#include "core/groupings/audiotagalbumlist.h"
#include "core/groupings/audiotagartistlist.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sys/stat.h>

namespace {

using Strings = std::vector<std::string>;

// Songs owned by the test, as the library's global list owns them.
class Songs
{
public:
    TaudioTag* Add(const std::string& file, const std::string& artist, const std::string& title,
                   const std::string& album = "", std::uint32_t track = 0)
    {
        auto s = std::make_unique<TaudioTag>();
        s->SetFilename(file);
        s->SetArtist(artist);
        s->SetTitle(title);
        s->SetAlbum(album);
        s->SetTrackNo(track);
        songs_.push_back(std::move(s));
        return songs_.back().get();
    }
    const std::vector<std::unique_ptr<TaudioTag>>& All() const { return songs_; }

private:
    std::vector<std::unique_ptr<TaudioTag>> songs_;
};

Strings IndexNames(const TaudioTagArtistList& artists)
{
    Strings out;
    for (const auto& e : artists.IndexNames())
        out.push_back(e.name + ">" + e.artist->Name());
    return out;
}

// The library's rebuild: every grouping from scratch inside one update of each.
struct Groupings
{
    TaudioTagAlbumList albums;
    TaudioTagArtistList artists;
    TaudioTagArtistList alpha;

    Groupings()
    {
        albums.SetOwnsObjects(true);
        artists.SetOwnsObjects(true);
        alpha.SetOwnsObjects(true);
        alpha.SetIsAlphaList(true);
    }
    void Rebuild(const Songs& songs)
    {
        artists.BeginUpdate();
        albums.BeginUpdate();
        alpha.BeginUpdate();
        artists.Clear();
        albums.Clear();
        alpha.Clear();
        for (const auto& s : songs.All()) {
            albums.AddTag(s.get());
            artists.AddTag(s.get());
            alpha.AddTag(s.get());
        }
        artists.AssignAlbums(albums);
        artists.BuildIndex();
        albums.EndUpdate();
        artists.EndUpdate();
        alpha.EndUpdate();
    }
};

} // namespace

TEST(AudioTagAlbumList, AlbumsByTitleAndFolder)
{
    Songs songs;
    TaudioTagAlbumList albums;
    albums.SetOwnsObjects(true);
    albums.BeginUpdate();
    const auto add = [&](auto... args) { albums.AddTag(songs.Add(args...)); };
    add("/A/1.wav", "X", "a1", "Greatest Hits", 2);
    add("/B/1.wav", "X", "b1", "Greatest Hits", 1);
    add("/C/1.wav", "X", "c1", "Greatest Hits", 1);
    add("/B/2.wav", "X", "b2", "greatest hits", 3); // joins B's, not the first of that title
    add("/A/2.wav", "X", "a2", "Greatest Hits", 1);
    add("/M/1.wav", "X", "m1", "Mixed", 1);
    add("/M/2.wav", "Y", "m2", "Mixed", 2);
    add("/M/3.wav", "x", "m3", "Mixed", 3);
    add("/L/1.wav", "Z", "l1", "Live", 2);
    add("/L/2.wav", "z", "l2", "LIVE", 1); // one album: same folder, case ignored, same artist
    add("/N/1.wav", "", "n1", "Nameless", 1);
    add("/N/2.wav", "W", "n2", "Nameless", 2);
    add("/E/1.wav", "E", "no album");
    albums.AddTag(nullptr);

    ASSERT_EQ(albums.GetCount(), 6);
    // New albums wait unsorted in their creation update until the set's update ends.
    EXPECT_EQ(albums.GetItem(0)->UpdateCount(), 1);
    albums.EndUpdate();
    EXPECT_EQ(ListTitles(albums),
              (Strings{"Greatest Hits", "Greatest Hits", "Greatest Hits", "Live", "Mixed", "Nameless"}));

    std::map<std::string, TaudioTagAlbum*> byFolder;
    for (int i = 0; i < albums.GetCount(); ++i) {
        TaudioTagAlbum* album = albums.GetAlbum(i);
        EXPECT_EQ(album->UpdateCount(), 0);
        EXPECT_TRUE(album->Sorted());
        EXPECT_EQ(album->SortType(), tstTrack);
        byFolder[album->GetItem(0)->Filename().substr(0, 3)] = album;
    }
    EXPECT_EQ(SongTitles(*byFolder["/A/"]), (Strings{"a2", "a1"})); // sorted by track
    EXPECT_EQ(SongTitles(*byFolder["/B/"]), (Strings{"b1", "b2"}));
    EXPECT_EQ(byFolder["/A/"]->AlbumArtist(), "X");
    EXPECT_FALSE(byFolder["/A/"]->Compilation());

    TaudioTagAlbum* mixed = byFolder["/M/"];
    EXPECT_EQ(mixed->GetCount(), 3);
    EXPECT_EQ(mixed->AlbumArtist(), "[Compilations]");
    EXPECT_TRUE(mixed->Compilation());
    TaudioTagAlbum* live = byFolder["/L/"];
    EXPECT_EQ(live->Title(), "Live");
    EXPECT_EQ(live->GetCount(), 2);
    EXPECT_FALSE(live->Compilation());
    // A first song without artist leaves the album artist empty whatever follows.
    EXPECT_EQ(byFolder["/N/"]->AlbumArtist(), "");
    EXPECT_FALSE(byFolder["/N/"]->Compilation());

    // Outside an update a new album notifies at once and is sorted from then on.
    int changes = 0;
    albums.OnChange = [&](TaudioTagListList*) { ++changes; };
    albums.AddTag(songs.Add("/Q/2.wav", "Q", "q2", "Quiet", 2));
    albums.AddTag(songs.Add("/Q/1.wav", "Q", "q1", "Quiet", 1));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(SongTitles(*albums.GetAlbum(albums.IndexOf(albums.Find("quiet")))), (Strings{"q1", "q2"}));

    live->SetSortByTrack(false);
    EXPECT_EQ(live->SortType(), tstArtist);
    EXPECT_FALSE(live->SortByTrack());

    TmemoryTree tree;
    const TtreeNode root = tree.AddChild({}, "[Albums]", nullptr, tnkNone);
    albums.FillTree(tree, root);
    EXPECT_EQ(tree.Dump(), "[Albums]\n"
                           "  Greatest Hits {album}\n  Greatest Hits {album}\n  Greatest Hits {album}\n"
                           "  Live {album}\n  Mixed {album}\n  Nameless {album}\n  Quiet {album}\n");
    EXPECT_EQ(tree.At(tree.Children(root)[3]).data, live);
}

// A fill from empty finds each song's album by title and folder at once; it must file every song where the
// title lookup outside an update does, also when the set is changed from outside halfway.
TEST(AudioTagAlbumList, AFillFindsTheAlbumsTheTitleLookupFinds)
{
    Songs songs;
    for (int i = 0; i < 240; ++i) {
        const int folder = (i * 37) % 40; // the folders' songs come interleaved
        const std::string title = folder % 3 == 0   ? "Greatest Hits"
                                  : folder % 3 == 1 ? "GREATEST hits"
                                                    : "Live";
        songs.Add("/m/" + std::to_string(folder) + "/" + std::to_string(i) + ".wav",
                  "A" + std::to_string(folder % 4), "t" + std::to_string(i), title,
                  static_cast<std::uint32_t>(i % 7));
    }
    const auto dump = [](const TaudioTagAlbumList& albums) {
        Strings out;
        for (int i = 0; i < albums.GetCount(); ++i) {
            std::string line = albums.GetItem(i)->Title() + ":";
            for (const std::string& title : SongTitles(*albums.GetItem(i)))
                line += " " + title;
            out.push_back(line);
        }
        return out;
    };
    // Each pass fills a set (inside one update or song by song) and may give it an album from outside
    // halfway, which the songs after it may join as the title lookup finds it. Songs looked up ahead in
    // runs must land where they land without: a song looked ahead and never filed (extra), one looked ahead
    // twice, one without an album and the songs of one folder in a row, their title in two cases, must not
    // hand one song's key to another.
    songs.Add("/m/3/u.wav", "A3", "u", "", 1);
    for (int i = 0; i < 6; ++i)
        songs.Add("/m/r/" + std::to_string(i) + ".wav", "A3", "r" + std::to_string(i),
                  i / 2 % 2 == 0 ? "Live" : "LIVE", 1);
    TaudioTag* extra = songs.Add("/m/1/x.wav", "A1", "x", "Greatest Hits", 9);
    const std::size_t filed = songs.All().size() - 1;
    const auto fill = [&](bool inUpdate, bool withGiven, bool lookAhead) {
        TaudioTagAlbumList albums;
        TaudioTagAlbum given;
        given.SetTitle("greatest HITS");
        given.Add(extra);
        if (inUpdate)
            albums.BeginUpdate();
        for (std::size_t i = 0; i < filed; ++i) {
            if (withGiven && i == 100)
                albums.AddAlbum(&given);
            if (lookAhead && i % 16 == 0)
                for (int step = 0; step < TaudioTagAlbumList::kLookAheadSteps; ++step)
                    for (std::size_t k = i; k < std::min(filed, i + 16); ++k) {
                        albums.LookAhead(songs.All()[k].get(), step);
                        if (k == i + 5)
                            albums.LookAhead(i % 32 == 0 ? extra : songs.All()[k].get(), step);
                    }
            albums.AddTag(songs.All()[i].get());
        }
        if (inUpdate)
            albums.EndUpdate();
        albums.Remove(&given);
        return dump(albums);
    };
    const Strings oneByOne = fill(false, false, false);
    EXPECT_EQ(oneByOne.size(), 41u);
    EXPECT_EQ(fill(true, false, false), oneByOne);
    EXPECT_EQ(fill(true, false, true), oneByOne);
    const Strings joined = fill(false, true, false);
    EXPECT_NE(joined, oneByOne); // the songs of folder 1 after the given album went to it
    EXPECT_EQ(fill(true, true, false), joined);
    EXPECT_EQ(fill(true, true, true), joined);

    // Right after a fill, an album is found by title and folder at once; an album given from outside after
    // the fill stands first among its title, as the title lookup finds it.
    TaudioTagAlbumList albums;
    albums.BeginUpdate();
    for (std::size_t i = 0; i + 1 < songs.All().size(); ++i)
        albums.AddTag(songs.All()[i].get());
    for (int folder = 0; folder < 40; ++folder) {
        const std::string path = "/m/" + std::to_string(folder) + "/";
        const TaudioTagAlbum* found = albums.FindAlbum("greatest HITS", path);
        ASSERT_EQ(found != nullptr, folder % 3 != 2) << path;
        if (found) {
            EXPECT_EQ(found->GetItem(0)->Filename().substr(0, path.size()), path);
            // A song's own folder text is the one the fill keyed: the same album, and no other title's.
            const std::string& shared = found->GetItem(0)->FolderName();
            EXPECT_EQ(albums.FindAlbum("Greatest hits", shared), found);
            EXPECT_EQ(albums.FindAlbum("Live", shared), nullptr);
        }
        EXPECT_EQ(albums.FindAlbum("Live", path) != nullptr, folder % 3 == 2) << path;
    }
    TaudioTagAlbum given;
    given.SetTitle("GREATEST HITS");
    given.Add(extra);
    albums.AddAlbum(&given);
    EXPECT_EQ(albums.FindAlbum("Greatest Hits", "/m/1/"), &given);
    albums.EndUpdate();
    albums.Remove(&given);
}

// A fill inside an update finds a song's artist by its shared name text; it must file every song where the
// name lookup outside an update does: names in other case, an artist given from outside halfway (which the
// later songs join), and a name text freed and taken again by another name.
TEST(AudioTagArtistList, AFillFindsTheArtistsTheNameLookupFinds)
{
    Songs songs;
    for (int i = 0; i < 120; ++i) {
        const int artist = (i * 7) % 12; // the artists' songs come interleaved
        const std::string name = artist % 3 == 0   ? "Abba"
                                 : artist % 3 == 1 ? "ABBA"
                                                   : "Band " + std::to_string(artist);
        songs.Add("/m/" + std::to_string(i) + ".wav", name, "t" + std::to_string(i));
    }
    const auto dump = [](const TaudioTagArtistList& artists) {
        Strings out;
        for (int i = 0; i < artists.GetCount(); ++i) {
            std::string line = artists.GetItem(i)->Title() + ":";
            for (const std::string& title : SongTitles(*artists.GetItem(i)))
                line += " " + title;
            out.push_back(line);
        }
        return out;
    };
    const auto fill = [&](bool inUpdate, bool withGiven, bool alpha) {
        TaudioTagArtistList artists;
        artists.SetOwnsObjects(true);
        artists.SetIsAlphaList(alpha);
        auto* given = new TaudioTagArtist;
        given->SetName(alpha ? "t" : "aBBa");
        if (inUpdate)
            artists.BeginUpdate();
        for (std::size_t i = 0; i < songs.All().size(); ++i) {
            if (withGiven && i == 60)
                artists.AddArtist(given);
            artists.AddTag(songs.All()[i].get());
        }
        if (inUpdate)
            artists.EndUpdate();
        if (!withGiven)
            delete given;
        return dump(artists);
    };
    for (const bool alpha : {false, true}) {
        const Strings oneByOne = fill(false, false, alpha);
        EXPECT_EQ(oneByOne.size(), alpha ? 1u : 5u);
        EXPECT_EQ(fill(true, false, alpha), oneByOne);
        const Strings joined = fill(false, true, alpha);
        EXPECT_NE(joined, oneByOne); // the songs after the given artist went to it
        EXPECT_EQ(fill(true, true, alpha), joined);
    }

    // The only song naming "Solo One" moves to another name, freeing that text; a name made next may take
    // its place in memory, and must still find (here: make) its own artist.
    Songs moved;
    TaudioTag* first = moved.Add("/m/a.wav", "Solo One", "a");
    TaudioTag* second = moved.Add("/m/b.wav", "Band Two", "b");
    TaudioTagArtistList artists;
    artists.SetOwnsObjects(true);
    artists.BeginUpdate();
    artists.AddTag(first);
    first->SetArtist("Solo Two");
    second->SetArtist("Solo Six");
    artists.AddTag(second);
    artists.EndUpdate();
    EXPECT_EQ(ListTitles(artists), (Strings{"Solo One", "Solo Six"}));
    EXPECT_EQ(SongTitles(*artists.FindArtist("Solo Six")), (Strings{"b"}));
}

TEST(AudioTagArtistList, ArtistsNotTaggedAndTheAlphabeticalList)
{
    Songs songs;
    Groupings g;
    songs.Add("/m/1.wav", "Abba", "SOS");
    songs.Add("/m/2.wav", "ABBA", "abc");
    songs.Add("/m/3.wav", "Zed Band", "Zed");
    songs.Add("/m/4.wav", "Nine", "9 Lives");
    songs.Add("/m/5.wav", "Umlaut",
              "\xC3\x9C"
              "ber");
    songs.Add("/m/6.wav", "Dash", "-dash");
    TaudioTag* untagged = songs.Add("/Music/track.mp3", "", "");
    TaudioTag* titled = songs.Add("/Music/other.mp3", "", "Has A Title");
    songs.Add("/m/7.wav", "Quiet", ""); // no title: left out of the alphabetical list only
    g.Rebuild(songs);

    EXPECT_EQ(ListTitles(g.artists), (Strings{"[Compilations]", "[Not Tagged]", "Abba", "Dash", "Nine",
                                              "Quiet", "Umlaut", "Zed Band"}));
    EXPECT_EQ(g.artists.FindArtist("abba")->GetCount(), 2); // named as the first song spelled it
    EXPECT_EQ(untagged->Title(), "track.mp3");
    EXPECT_EQ(titled->Title(), "Has A Title");
    EXPECT_EQ(SongTitles(*g.artists.FindArtist("[not tagged]")), (Strings{"track.mp3", "Has A Title"}));

    EXPECT_EQ(ListTitles(g.alpha), (Strings{"9", "A", "H", "S", "T", "Z", "~"}));
    EXPECT_EQ(SongTitles(*g.alpha.FindArtist("a")), (Strings{"abc"}));
    EXPECT_EQ(SongTitles(*g.alpha.FindArtist("~")), (Strings{"\xC3\x9C"
                                                             "ber",
                                                             "-dash"}));
    EXPECT_EQ(g.alpha.TotalSongs(), 8);
    for (int i = 0; i < g.artists.GetCount(); ++i)
        EXPECT_EQ(g.artists.GetItem(i)->UpdateCount(), 0) << i; // closed by BuildIndex
}

TEST(AudioTagArtistList, AssignAlbumsAndTheTree)
{
    Songs songs;
    Groupings g;
    songs.Add("/a/1.wav", "Abba", "SOS", "Waterloo", 1);
    songs.Add("/a/2.wav", "abba", "Honey", "Waterloo", 2);
    songs.Add("/b/1.wav", "Abba", "Dancing", "Arrival", 1);
    songs.Add("/c/1.wav", "Abba", "Mix 1", "Hits", 1);
    songs.Add("/c/2.wav", "Cher", "Mix 2", "Hits", 2);
    songs.Add("/d/1.wav", "", "Lost", "Found", 1);
    g.Rebuild(songs);

    TaudioTagArtist* abba = g.artists.FindArtist("ABBA");
    EXPECT_EQ(ListTitles(abba->Albums()), (Strings{"Arrival", "Waterloo"}));
    EXPECT_EQ(ListTitles(g.artists.FindArtist("[Compilations]")->Albums()), (Strings{"Hits"}));
    EXPECT_EQ(g.artists.FindArtist("Cher")->Albums().GetCount(), 0);
    // An album without album artist lands nowhere.
    EXPECT_EQ(g.artists.FindArtist("[Not Tagged]")->Albums().GetCount(), 0);

    // Again (a second rebuild step, or a genre set notifying twice): no album twice.
    g.artists.AssignAlbums(g.albums);
    EXPECT_EQ(abba->Albums().GetCount(), 2);
    EXPECT_EQ(g.artists.GetCount(), 4);

    TmemoryTree tree;
    const TtreeNode root = tree.AddChild({}, "[A]", nullptr, tnkNone);
    const TtreeNode node = abba->AddTreeNode(tree, root, true);
    abba->AddTreeNode(tree, root, false);
    tree.SetText(node, "Abba alias");
    EXPECT_EQ(tree.Dump(),
              "[A]\n  Abba alias {artist}\n    Arrival {album}\n    Waterloo {album}\n  Abba {artist}\n");
    EXPECT_EQ(tree.At(node).data, abba);
    tree.DeleteChildren(root);
    EXPECT_EQ(tree.Dump(), "[A]\n");

    // Switched off, the two special artists are not made.
    TaudioTagArtistList plain;
    plain.SetOwnsObjects(true);
    plain.SetUseCompilations(false);
    plain.SetUseNoName(false);
    plain.AssignAlbums(g.albums);
    EXPECT_EQ(plain.GetCount(), 0);
}

TEST(AudioTagArtistList, NameIndexWithTheAndAliases)
{
    Songs songs;
    TaudioTagArtistList artists;
    artists.SetOwnsObjects(true);
    artists.SetUseCompilations(false);
    artists.SetUseNoName(false);
    artists.MappingList().SetText("Prince=\nJohn Smith=\nJon Smith=Smith Jon\nJohn Smith Band=\n"
                                  "Madonna=Queen\nQueen=Freddie\n");
    artists.BeginUpdate();
    for (const char* name : {"The Band", "The The", "Prince", "John Smith", "Jon Smith", "John Smith Band",
                             "THE Loud", "Theatre", "Madonna", "Queen", "Band, The"})
        artists.AddTag(songs.Add(std::string("/m/") + name, name, "t"));
    artists.BuildIndex();
    artists.EndUpdate();

    EXPECT_EQ(IndexNames(artists),
              (Strings{"Band, The>Band, The", // the first artist keeps a shared name
                       "Freddie>Queen", "John Smith>John Smith", "John Smith Band>John Smith Band",
                       "Jon Smith>Jon Smith", "Madonna>Madonna", "Prince>Prince",
                       "Queen>Madonna", // an alias taken before the artist of that name
                       "Smith Band, John>John Smith Band", "Smith Jon>Jon Smith", "Smith, John>John Smith",
                       "The Band>The Band", "THE Loud>THE Loud", "The The>The The", "The, The>The The",
                       "Theatre>Theatre"}));
    TStringList<TaudioTagArtist> names;
    artists.GetIndexNames(names);
    ASSERT_EQ(names.Count(), 16);
    EXPECT_EQ(names[7], "Queen");
    EXPECT_EQ(names.Objects(7)->Name(), "Madonna");

    TaudioTagArtistList lower;
    lower.SetOwnsObjects(true);
    lower.AddTag(songs.Add("/m/x", "the band", "t"));
    lower.BuildIndex();
    EXPECT_EQ(IndexNames(lower), (Strings{"band, The>the band", "the band>the band"}));

    // A change of the aliases rebuilds the index at once, outside an update only.
    artists.MappingList().Add("Prince=The Artist");
    EXPECT_EQ(artists.IndexNames().size(), 16u); // "Prince=" sorts first and wins
    artists.BeginUpdate();
    artists.MappingList().Clear();
    EXPECT_EQ(artists.IndexNames().size(), 16u);
    artists.EndUpdate();
    artists.MappingList().Add("Theatre=Stage");
    EXPECT_EQ(artists.IndexNames().size(), 11u + 2); // the names, "The, The" and "Stage"
}

TEST(AudioTagArtistList, AliasFileBadLinesMissingFileAndSaving)
{
    TempDir dir;
    const std::string file = dir.Write("mappings.txt", "\xEF\xBB\xBF"
                                                       "John Smith=\r\n"
                                                       "\r\n"
                                                       "=\r\n"
                                                       "=Nobody\r\n"
                                                       "john smith=\r\n"
                                                       "no equals sign\r\n"
                                                       "Ann Lee=Lee, Ann\r\n"
                                                       "Ann Lee=Second\r\n");
    Songs songs;
    TaudioTagArtistList artists;
    artists.SetOwnsObjects(true);
    artists.SetUseCompilations(false);
    artists.SetUseNoName(false);
    artists.AddTag(songs.Add("/m/1", "John Smith", "t"));
    artists.AddTag(songs.Add("/m/2", "Ann Lee", "t"));
    artists.SetMappingListFile(file);
    EXPECT_EQ(artists.MappingListFile(), file);
    EXPECT_EQ(IndexNames(artists), (Strings{"Ann Lee>Ann Lee", "John Smith>John Smith", "Lee, Ann>Ann Lee",
                                            "Smith, John>John Smith"}));
    EXPECT_EQ(artists.MappingList().IndexOf("JOHN SMITH="), 5); // duplicates dropped, sorted

    artists.MappingList().Add("Zed=Last");
    artists.SaveMappings();
    EXPECT_EQ(TempDir::Read(file), "\n=\n=Nobody\nAnn Lee=Lee, Ann\nAnn Lee=Second\nJohn Smith=\n"
                                   "no equals sign\nZed=Last\n");

    artists.SetMappingListFile(dir.File("missing.txt"));
    EXPECT_EQ(artists.MappingList().Count(), 0);
    EXPECT_EQ(IndexNames(artists), (Strings{"Ann Lee>Ann Lee", "John Smith>John Smith"}));

    // Saving into a folder that is not there fails silently.
    artists.SetMappingListFile(dir.File("no/such/folder/mappings.txt"));
    artists.MappingList().Add("A=B");
    artists.SaveMappings();
    struct stat st;
    EXPECT_NE(stat(dir.File("no").c_str(), &st), 0);
}

TEST(AudioTagArtistList, SearchAppendsTheSongsOfMatchingArtists)
{
    Songs songs;
    TaudioTagArtistList artists;
    artists.SetOwnsObjects(true);
    TaudioTag* one = songs.Add("/m/1", "John Smith", "One");
    songs.Add("/m/2", "Ann Lee", "Two");
    TaudioTag* three = songs.Add("/m/3", "Smithereens", "Three");
    for (const auto& s : songs.All())
        artists.AddTag(s.get());

    TStringList<TaudioTag> lines;
    lines.Add("kept");
    artists.Search("SMITH", lines);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines[0], "kept");
    EXPECT_EQ(lines[1], FormatTagText(*one, tdfArtistTitle));
    EXPECT_EQ(lines.Objects(1), one);
    EXPECT_EQ(lines.Objects(2), three);
    artists.Search("", lines);
    artists.Search("nobody", lines);
    EXPECT_EQ(lines.Count(), 3);
}

TEST(AudioTagGroupings, NothingRemovedIsReusedForTheNextSong)
{
    // Songs of one album and artist in a row, with the groupings emptied or pruned between them.
    Songs songs;
    TaudioTagAlbumList albums;
    albums.SetOwnsObjects(true);
    TaudioTagArtistList artists;
    artists.SetOwnsObjects(true);
    for (int round = 0; round < 3; ++round) {
        TaudioTag* song = songs.Add("/a/" + std::to_string(round), "Abba", "t", "Arrival", 1);
        albums.AddTag(song);
        artists.AddTag(song);
        ASSERT_EQ(albums.GetCount(), 1);
        ASSERT_EQ(artists.GetCount(), 1);
        EXPECT_EQ(albums.GetItem(0)->GetCount(), 1);
        EXPECT_EQ(artists.GetItem(0)->GetCount(), 1);
        if (round == 0) {
            albums.Clear();
            artists.Clear();
        } else {
            albums.Delete(0);
            artists.Remove(artists.GetItem(0));
        }
    }
    // An album of the same title filed in between comes first among equal titles and is looked at first.
    TaudioTag* first = songs.Add("/b/1", "X", "t", "Same", 1);
    albums.AddTag(first);
    auto other = std::make_unique<TaudioTagAlbum>();
    other->SetTitle("Same");
    TaudioTagAlbum* otherAlbum = other.get();
    TaudioTag* seed = songs.Add("/b/0", "X", "seed", "Same", 1);
    other->Add(seed);
    albums.AddAlbum(other.release());
    albums.AddTag(songs.Add("/b/2", "X", "t2", "Same", 2));
    EXPECT_EQ(otherAlbum->GetCount(), 2);
}
