#include "support/listtitles.h"
#include "support/memorytree.h"

#include "core/groupings/audiotaggenrelist.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

struct Songs
{
    std::vector<std::unique_ptr<TaudioTag>> all;

    TaudioTag* Add(const std::string& file, const std::string& genre, const std::string& artist,
                   const std::string& title, const std::string& album = "", std::uint32_t track = 0)
    {
        auto s = std::make_unique<TaudioTag>();
        s->SetFilename(file);
        s->SetGenreString(genre);
        s->SetArtist(artist);
        s->SetTitle(title);
        s->SetAlbum(album);
        s->SetTrackNo(track);
        all.push_back(std::move(s));
        return all.back().get();
    }
};

void Fill(TaudioTagGenreList& genres, const Songs& songs)
{
    genres.BeginUpdate();
    genres.Clear();
    for (const auto& s : songs.all)
        genres.AddTag(s.get());
    genres.EndUpdate();
}

} // namespace

TEST(AudioTagGenreList, GenresByTextWithTheirArtistsAndAlbums)
{
    Songs songs;
    songs.Add("/j/1.wav", "Jazz", "The Trio", "Blue", "Night", 2);
    songs.Add("/j/2.wav", "jazz", "the trio", "Autumn", "Night", 1);
    songs.Add("/r/1.wav", "Rock", "Band", "Zebra");
    songs.Add("/r/2.wav", "rock", "Band", "Apple");
    songs.Add("/c/1.wav", "Rock", "Band", "Mix A", "Hits", 1);
    songs.Add("/c/2.wav", "Rock", "Other", "Mix B", "Hits", 2);
    TaudioTag* untitled = songs.Add("/u/track.mp3", "", "", "");
    songs.Add("/u/2.mp3", "", "Someone", "Named");

    TaudioTagGenreList genres;
    genres.SetOwnsObjects(true);
    int changes = 0;
    genres.OnChange = [&](TaudioTagListList*) { ++changes; };
    Fill(genres, songs);
    EXPECT_EQ(changes, 1);

    EXPECT_EQ(ListTitles(genres), (Strings{"[Undefined]", "Jazz", "Rock"})); // the first spelling seen
    ASSERT_EQ(genres.GenreIndex().size(), 3u);
    EXPECT_EQ(genres.GenreIndex()[1].name, "Jazz");
    EXPECT_EQ(genres.GenreIndex()[1].genre, genres.FindGenre("JAZZ"));
    EXPECT_EQ(untitled->Title(), "track.mp3");

    // Each genre's songs by title once the set's update has ended.
    TaudioTagGenre* rock = genres.FindGenre("rock");
    EXPECT_EQ(rock->UpdateCount(), 0);
    EXPECT_EQ(SongTitles(*rock), (Strings{"Apple", "Mix A", "Mix B", "Zebra"}));
    EXPECT_EQ(rock->SortType(), tstTitle);
    EXPECT_EQ(rock->Genre(), "Rock");

    // Under a genre: its artists with their albums and name index; no special artists are made, so a
    // compilation album stays unattached.
    TaudioTagGenre* jazz = genres.FindGenre("Jazz");
    ASSERT_EQ(jazz->Artists().GetCount(), 1);
    TaudioTagArtist* trio = jazz->Artists().GetArtist(0);
    EXPECT_EQ(trio->Name(), "The Trio");
    ASSERT_EQ(trio->Albums().GetCount(), 1);
    EXPECT_EQ(SongTitles(*trio->Albums().GetAlbum(0)), (Strings{"Autumn", "Blue"})); // by track
    EXPECT_EQ(jazz->Artists().IndexNames().size(), 2u);                              // "Trio, The" too
    EXPECT_EQ(jazz->Artists().IndexNames()[1].name, "Trio, The");
    EXPECT_EQ(ListTitles(rock->Artists()), (Strings{"Band", "Other"}));
    EXPECT_EQ(ListTitles(rock->Albums()), (Strings{"Hits"}));
    EXPECT_TRUE(rock->Albums().GetAlbum(0)->Compilation());
    EXPECT_EQ(rock->Artists().FindArtist("Band")->Albums().GetCount(), 0);
    EXPECT_EQ(rock->Artists().FindArtist("[Compilations]"), nullptr);
    EXPECT_EQ(genres.FindGenre("[undefined]")->Artists().FindArtist("[Not Tagged]")->GetCount(), 1);

    // The set's switches only reach the tree.
    genres.SetUseAlbums(false);
    genres.SetUseArtists(false);
    EXPECT_FALSE(genres.UseAlbums());
    EXPECT_TRUE(jazz->UseAlbums());
    EXPECT_EQ(trio->Albums().GetCount(), 1);

    // Rebuilt from scratch: same result, nothing doubled.
    Fill(genres, songs);
    jazz = genres.FindGenre("jazz");
    EXPECT_EQ(jazz->GetCount(), 2);
    EXPECT_EQ(jazz->Artists().GetArtist(0)->Albums().GetCount(), 1);

    TmemoryTree tree;
    const TtreeNode root = tree.AddChild({}, "[Genres]", nullptr, tnkNone);
    for (int i = 0; i < genres.GetCount(); ++i)
        AddListTreeNode(genres.GetGenre(i), tree, root);
    EXPECT_EQ(tree.Dump(), "[Genres]\n  [Undefined] {genre}\n  Jazz {genre}\n  Rock {genre}\n");
}

TEST(AudioTagGenreList, AddingOutsideAnUpdateAndClearing)
{
    Songs songs;
    TaudioTagGenreList genres;
    genres.SetOwnsObjects(true);
    // Each song notifies the set at once; the genre's artists must not collect an album once per notice.
    genres.AddTag(songs.Add("/a/1.wav", "Pop", "Ann", "B", "First", 2));
    genres.AddTag(songs.Add("/b/1.wav", "Blues", "Bob", "x"));
    TaudioTagGenre* pop = genres.FindGenre("pop");
    pop->Add(songs.Add("/a/2.wav", "Pop", "Ann", "A", "First", 1));
    genres.AddTag(nullptr);
    genres.AddGenre(nullptr);
    EXPECT_EQ(genres.GetCount(), 2);
    TaudioTagArtist* ann = pop->Artists().FindArtist("Ann");
    ASSERT_NE(ann, nullptr);
    genres.Changed();
    EXPECT_EQ(ann->Albums().GetCount(), 1);
    EXPECT_EQ(SongTitles(*pop), (Strings{"A", "B"}));
    EXPECT_EQ(SongTitles(*pop->Albums().GetAlbum(0)), (Strings{"A", "B"}));

    // A genre of its own: without UseArtists the songs go to the genre only.
    TaudioTagGenre plain;
    plain.Add(songs.Add("/c/1.wav", "Folk", "Cy", "t", "Alb"));
    EXPECT_EQ(plain.GetCount(), 1);
    EXPECT_EQ(plain.Artists().GetCount(), 0);
    plain.SetUseArtists(true);
    plain.Add(songs.Add("/c/2.wav", "Folk", "Cy", "u", "Alb"));
    EXPECT_EQ(plain.Artists().GetCount(), 1);
    EXPECT_EQ(plain.Albums().GetCount(), 0); // albums only together with artists, and only when asked
    plain.Clear();
    EXPECT_EQ(plain.GetCount(), 0);
    EXPECT_EQ(plain.Artists().GetCount(), 0);

    genres.Clear();
    EXPECT_EQ(genres.GetCount(), 0);
    EXPECT_TRUE(genres.GenreIndex().empty());
}

// The genres made in a fill are sorted by title together; each must come out exactly as a stable sort of
// its own songs (in filing order) by the title comparer would put it, also when a later fill adds to
// genres that are already there.
TEST(AudioTagGenreList, GenresSortTheirSongsByTitleStably)
{
    const std::vector<std::string> titles = {
        "",   "a", "A", "\xC3\x84pfel", "apfel", "Zed", "\xC3\xA9t\xC3\xA9", "b", "\xC3\x89T\xC3\x89",
        "10", "9"};
    const std::vector<std::string> names = {"Jazz", "Rock", "Pop"};
    for (const char* locale : {"de_DE", "C"}) {
        const platform::TcollationLocaleScope scope(locale);
        std::mt19937 random(7);
        Songs songs;
        for (int i = 0; i < 90; ++i)
            songs.Add("/s/" + std::to_string(i) + ".wav", names[random() % names.size()], "A",
                      titles[random() % titles.size()]);
        TaudioTagGenreList genres;
        genres.SetOwnsObjects(true);
        const auto check = [&](std::size_t filedCount) {
            SetTagSortOrder(tsoAscending);
            for (int g = 0; g < genres.GetCount(); ++g) {
                TaudioTagGenre* genre = genres.GetGenre(g);
                std::vector<TaudioTag*> expected;
                for (std::size_t i = 0; i < filedCount; ++i)
                    if (songs.all[i]->GenreString() == genre->Genre())
                        expected.push_back(songs.all[i].get());
                std::stable_sort(expected.begin(), expected.end(),
                                 [](TaudioTag* a, TaudioTag* b) { return CompareByTitle(a, b) < 0; });
                EXPECT_EQ(genre->Items(), expected) << locale << " " << genre->Genre();
            }
        };
        genres.BeginUpdate();
        for (std::size_t i = 0; i < 60; ++i)
            genres.AddTag(songs.all[i].get());
        genres.EndUpdate();
        ASSERT_EQ(genres.GetCount(), 3);
        check(60);
        // A second fill without clearing: the genres are there already and hold songs of both fills.
        genres.BeginUpdate();
        for (std::size_t i = 60; i < songs.all.size(); ++i)
            genres.AddTag(songs.all[i].get());
        genres.EndUpdate();
        check(songs.all.size());
    }
}

// Songs handed over with the library album they joined wait for the genres to close; a song that comes
// without one, or a genre that closes on its own, files the waiting songs first. Either way each genre holds
// the albums filing every song by itself gives, the whole ones being the library's own.
TEST(AudioTagGenreList, SongsWaitingForTheirLibraryAlbumsAreFiledWhenAnotherWayComes)
{
    Songs songs;
    songs.Add("/w/2.wav", "Rock", "W", "Two", "Whole", 2);
    songs.Add("/s/1.wav", "Rock", "S", "One", "Split", 1);
    songs.Add("/w/1.wav", "Rock", "W", "One", "Whole", 1);
    songs.Add("/s/2.wav", "Jazz", "S", "Two", "Split", 2);
    songs.Add("/j/1.wav", "Jazz", "J", "Solo", "Alone", 1);
    songs.Add("/s/3.wav", "Rock", "S", "Three", "Split", 3);
    songs.Add("/n/1.wav", "Jazz", "N", "No album");
    const auto dump = [](const TaudioTagGenreList& genres, const TaudioTagAlbumList* library) {
        std::vector<std::string> lines;
        for (int g = 0; g < genres.GetCount(); ++g)
            for (int a = 0; a < genres.GetGenre(g)->Albums().GetCount(); ++a) {
                const TaudioTagList* album = genres.GetGenre(g)->Albums().GetItem(a);
                std::string line = genres.GetGenre(g)->Genre() + "/" + album->Title() + ":";
                for (const std::string& title : SongTitles(*album))
                    line += " " + title;
                if (library && library->Contains(album))
                    line += " (library's)";
                lines.push_back(line);
            }
        return lines;
    };
    TaudioTagGenreList plain;
    plain.SetOwnsObjects(true);
    Fill(plain, songs);
    const Strings expected = {"Jazz/Alone: Solo", "Jazz/Split: Two", "Rock/Split: One Three",
                              "Rock/Whole: One Two"};
    ASSERT_EQ(dump(plain, nullptr), expected);

    for (int way = 0; way < 3; ++way) {
        TaudioTagAlbumList library; // goes after the genres that link its albums
        library.SetOwnsObjects(true);
        TaudioTagGenreList genres;
        genres.SetOwnsObjects(true);
        genres.SetLibraryAlbums(&library);
        library.BeginUpdate();
        genres.BeginUpdate();
        for (std::size_t k = 0; k < songs.all.size(); ++k) {
            TaudioTag* song = songs.all[k].get();
            TaudioTagList* album = library.AddTag(song);
            genres.AddTag(song, way == 1 && k == 5 ? nullptr : album); // a Rock song without its album
        }
        if (way == 2)
            genres.FindGenre("Rock")->EndUpdate(); // closes on its own
        genres.EndUpdate();
        library.EndUpdate();
        EXPECT_EQ(dump(genres, nullptr), expected) << way;
        EXPECT_EQ(dump(genres, &library),
                  (Strings{"Jazz/Alone: Solo (library's)", "Jazz/Split: Two", "Rock/Split: One Three",
                           "Rock/Whole: One Two (library's)"}))
            << way;
    }
}
