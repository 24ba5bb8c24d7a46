#include "support/bytes.h"
#include "support/listtitles.h"
#include "support/testsongs.h"

#include "core/songs/audiotaglist.h"
#include "core/songs/audiotagstream.h"
#include "platform/textcompare.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <sys/stat.h>

namespace {

// An owning list of the given titles (artist "A").
void Fill(TaudioTagList& list, std::initializer_list<const char*> titles)
{
    list.SetOwnsObjects(true);
    for (const char* t : titles)
        ASSERT_TRUE(list.Add(Song("A", t).release()));
}

std::string Save(const TaudioTagList& list)
{
    TstreamWriter w;
    list.SaveToStream(w);
    return w.Bytes();
}

bool Load(TaudioTagList& list, const std::string& bytes, std::string_view root = {})
{
    TstreamReader r(bytes);
    return list.LoadFromStream(r, root);
}

// A list of n songs with every kind of value, long texts included.
std::string SampleFile(int n)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetTitle("Sample");
    list.SetFilename("/data/sample.dat");
    for (int i = 0; i < n; ++i) {
        auto s = Song("Artist " + std::to_string(i % 3), "Title " + std::to_string(i), "Album", i);
        s->SetFilename("/music/f" + std::to_string(i) + ".wav");
        s->SetComment(std::string(static_cast<std::size_t>(i * 37 % 400), 'c'));
        s->SetDuration(static_cast<std::uint32_t>(i * 1000));
        s->SetSampleRate(44100);
        s->SetModDate(40000 + i);
        s->SetTag(i % 2);
        list.Add(s.release());
    }
    return Save(list);
}

// One song with a file name and a title, and its stream.
const std::string kShortSong = std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) + //
                               Raw({8}) + "Filename" + Raw({6, 6}) + "/a.wav" +          //
                               Raw({5}) + "Title" + Raw({6, 1}) + "T" +                  //
                               Raw({7}) + "TrackNo" + Raw({2, 0}) + Raw({7}) + "GenreID" + Raw({2, 0}) +
                               Raw({7}) + "BitRate" + Raw({2, 0}) + Raw({8}) + "Duration" + Raw({2, 0}) +
                               Raw({10}) + "SampleRate" + Raw({2, 0}) + Raw({8}) + "Channels" + Raw({2, 0}) +
                               Raw({9}) + "MediaType" + Raw({2, 0}) + Raw({0, 0});

} // namespace

TEST(AudioTagList, InitialValues)
{
    TaudioTagList list;
    EXPECT_FALSE(list.Active());
    EXPECT_EQ(list.DataFileName(), "orvane.obf");
    EXPECT_EQ(list.DisplayFormat(), tdfArtistTitle);
    EXPECT_EQ(list.PlayMode(), lmLoop);
    EXPECT_EQ(list.Filename(), "");
    EXPECT_EQ(list.Max(), 0);
    EXPECT_FALSE(list.OwnsObjects());
    EXPECT_FALSE(list.SaveDataFiles());
    EXPECT_FALSE(list.Sorted());
    EXPECT_EQ(list.SortOrder(), tsoAscending);
    EXPECT_EQ(list.SortType(), tstTitle);
    EXPECT_EQ(list.Title(), "");
    EXPECT_EQ(list.ListProcessFactor(), 1);
    EXPECT_FALSE(list.UseAudioFileMask());
    EXPECT_EQ(list.AudioFileMask(), "%t - %a - %n");
    EXPECT_FALSE(list.UseVideoFileMask());
    EXPECT_EQ(list.VideoFileMask(), "%t");
    EXPECT_TRUE(list.AlbumFromParentFolder());
    EXPECT_TRUE(list.ArtistFromParentFolder());
    list.SetListProcessFactor(-3);
    EXPECT_EQ(list.ListProcessFactor(), 1);
    EXPECT_EQ(list.GetItem(0), nullptr);
    EXPECT_FALSE(list.Add(nullptr));
}

TEST(AudioTagList, ChangeStepUpdateCountingAndMax)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    int changes = 0;
    int exceeded = 0;
    list.OnChange = [&](TaudioTagList* sender) {
        EXPECT_EQ(sender, &list);
        ++changes;
    };
    list.OnMaxExceeded = [&](TaudioTagList*) { ++exceeded; };

    list.Add(Song("A", "1").release());
    EXPECT_EQ(changes, 1);
    list.BeginUpdate();
    list.BeginUpdate();
    list.Add(Song("A", "2").release());
    list.EndUpdate();
    EXPECT_EQ(changes, 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 2);
    list.EndUpdate(); // never below 0: the next bracket still works
    EXPECT_EQ(list.UpdateCount(), 0);
    list.BeginUpdate();
    list.Delete(0);
    EXPECT_EQ(changes, 2);
    list.EndUpdate();
    EXPECT_EQ(changes, 3);

    list.SetMax(2);
    list.Add(Song("A", "3").release());
    EXPECT_EQ(exceeded, 0);
    auto refused = Song("A", "4");
    EXPECT_FALSE(list.Add(refused.get())); // not taken over: still ours
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(changes, 5);
    EXPECT_EQ(exceeded, 1);
    list.MoveDown(0);
    EXPECT_EQ(changes, 6);
    EXPECT_EQ(exceeded, 2); // and after every later change step

    for (const int max : {0, -1}) {
        TaudioTagList open;
        open.SetOwnsObjects(true);
        open.SetMax(max);
        for (int i = 0; i < 5; ++i)
            EXPECT_TRUE(open.Add(Song("A", "x").release()));
    }
}

TEST(AudioTagList, MaskFillOnAdd)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    auto plain = Song("", "");
    plain->SetFilename("/music/Band/Disc/Song - Singer - 05.wav");
    TaudioTag* p = plain.get();
    list.Add(plain.release());
    EXPECT_EQ(p->Title(), ""); // only with UseAudioFileMask

    list.SetUseAudioFileMask(true);
    list.SetAlbumFromParentFolder(false);
    list.SetArtistFromParentFolder(false);
    auto audio = Song("", "");
    audio->SetFilename("/music/Band/Disc/Song - Singer - 05.wav");
    TaudioTag* a = audio.get();
    list.Add(audio.release());
    EXPECT_EQ(a->Title(), "Song");
    EXPECT_EQ(a->Artist(), "Singer");
    EXPECT_EQ(a->TrackNo(), 5u);

    auto tagged = Song("Known", "Name");
    tagged->SetFilename("/music/Band/Disc/Song - Singer - 05.wav");
    TaudioTag* t = tagged.get();
    list.Add(tagged.release());
    EXPECT_EQ(t->Title(), "Name"); // both tags present: no fill

    list.SetAlbumFromParentFolder(true);
    list.SetArtistFromParentFolder(true);
    auto video = Song("", "Clip");
    video->SetMediaType(1);
    video->SetFilename("/films/Band/Disc/Clip Name.avi");
    TaudioTag* v = video.get();
    list.Add(video.release());
    EXPECT_EQ(v->Artist(), ""); // video mask is off
    list.SetUseVideoFileMask(true);
    auto video2 = Song("", "");
    video2->SetMediaType(1);
    video2->SetFilename("/films/Band/Disc/Clip Name.avi");
    TaudioTag* v2 = video2.get();
    list.Add(video2.release());
    EXPECT_EQ(v2->Title(), "Clip Name");
    EXPECT_EQ(v2->Album(), "Disc");
    EXPECT_EQ(v2->Artist(), "Band");
}

TEST(AudioTagList, SortingRules)
{
    TaudioTagList list;
    Fill(list, {"c", "A", "b"});
    int changes = 0;
    list.OnChange = [&](TaudioTagList*) { ++changes; };

    list.SetSortType(tstArtist); // not Sorted: no sort
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"c", "A", "b"}));
    list.SetSortType(tstTitle);
    list.SetSortOrder(tsoDescending); // sorts once even when not Sorted
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"c", "b", "A"}));
    EXPECT_EQ(changes, 1);
    list.Add(Song("A", "d").release());
    EXPECT_EQ(SongTitles(list).back(), "d"); // still unsorted

    list.SetSortOrder(tsoAscending);
    changes = 0;
    list.SetSorted(true);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"A", "b", "c", "d"}));
    EXPECT_EQ(changes, 1);
    list.Add(Song("A", "a0").release());
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"A", "a0", "b", "c", "d"}));
    EXPECT_EQ(changes, 2); // one notification for the add and its sort

    list.GetItem(0)->SetDuration(50);
    list.SortBy(tstDuration); // by another key once; the key stays Title
    EXPECT_EQ(list.SortType(), tstTitle);
    EXPECT_EQ(list.GetItem(4)->Title(), "A");

    // Artist descending keeps one artist's songs in Title ascending order.
    TaudioTagList byArtist;
    byArtist.SetOwnsObjects(true);
    for (const auto& [artist, title] :
         std::vector<std::pair<std::string, std::string>>{{"X", "b"}, {"Y", "z"}, {"X", "a"}, {"Y", "m"}})
        byArtist.Add(Song(artist, title).release());
    byArtist.SetSortType(tstArtist);
    byArtist.SetSortOrder(tsoDescending);
    EXPECT_EQ(SongTitles(byArtist), (std::vector<std::string>{"m", "z", "a", "b"}));

    // Album: tracks ascending in both directions, then titles in the list's direction.
    TaudioTagList album;
    album.SetOwnsObjects(true);
    album.Add(Song("A", "t2", "Al", 2).release());
    album.Add(Song("A", "t1b", "Al", 1).release());
    album.Add(Song("A", "t1a", "Al", 1).release());
    album.Add(Song("A", "z", "Zz", 1).release());
    album.SetSortType(tstAlbum);
    album.SetSortOrder(tsoDescending);
    EXPECT_EQ(SongTitles(album), (std::vector<std::string>{"z", "t1b", "t1a", "t2"}));
    album.SetSortOrder(tsoAscending);
    EXPECT_EQ(SongTitles(album), (std::vector<std::string>{"t1a", "t1b", "t2", "z"}));
}

TEST(AudioTagList, SortingFollowsTheLocaleAndKeepsEqualSongsInOrder)
{
    const platform::TcollationLocaleScope french("fr_FR");
    TaudioTagList list;
    Fill(list, {"Zed",
                "\xC3\x89"
                "coute",
                "abc",
                "\xC3\xA9"
                "COUTE",
                "Bach"});
    list.SortBy(tstTitle);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"abc", "Bach",
                                                          "\xC3\x89"
                                                          "coute",
                                                          "\xC3\xA9"
                                                          "COUTE",
                                                          "Zed"}));
    list.SetSortOrder(tsoDescending);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"Zed",
                                                          "\xC3\x89"
                                                          "coute",
                                                          "\xC3\xA9"
                                                          "COUTE",
                                                          "Bach", "abc"}));
}

// The sort finds every text's place once; it must answer exactly what a stable sort by the comparers
// answers, equal songs in the order they were in (in the locale's order and in folded code points).
TEST(AudioTagList, SortAgreesWithTheComparers)
{
    for (const char* locale : {"de_DE", "C"}) {
        const platform::TcollationLocaleScope scope(locale);
        std::mt19937 random(3);
        const std::vector<std::string> words = {
            "", "a", "A", "\xC3\x84pfel", "apfel", "Zed", "\xC3\xA9t\xC3\xA9", "b"};
        const auto word = [&] { return words[random() % words.size()]; };
        TaudioTagList list;
        list.SetOwnsObjects(true);
        for (int i = 0; i < 60; ++i) {
            auto s = Song(word(), word(), word(), static_cast<std::uint32_t>(random() % 3));
            s->SetComment(word());
            s->SetGenreString(word());
            s->SetDate(word());
            s->SetTagType(word());
            s->SetDuration(static_cast<std::uint32_t>(random() % 3));
            s->SetSampleRate(static_cast<std::uint32_t>(random() % 2));
            s->SetBitRate(static_cast<std::uint32_t>(random() % 2));
            s->SetChannels(static_cast<std::uint32_t>(random() % 2));
            list.Add(s.release());
        }
        for (int type = tstTitle; type <= tstTagType; ++type) {
            for (const TaudioTagSortOrder order : {tsoAscending, tsoDescending}) {
                const auto sortType = static_cast<TaudioTagSortType>(type);
                std::vector<TaudioTag*> expected;
                for (int i = 0; i < list.Count(); ++i)
                    expected.push_back(list.GetItem(i));
                SetTagSortOrder(order);
                const TaudioTagCompare compare = TagComparer(sortType);
                std::stable_sort(expected.begin(), expected.end(),
                                 [compare](TaudioTag* a, TaudioTag* b) { return compare(a, b) < 0; });
                list.SetSortOrder(order);
                list.SortBy(sortType);
                for (int i = 0; i < list.Count(); ++i)
                    EXPECT_EQ(list.GetItem(i), expected[static_cast<std::size_t>(i)])
                        << locale << " type " << type << " order " << order << " at " << i;
            }
        }
    }
}

TEST(AudioTagList, ShuffleMovesAndBounds)
{
    TaudioTagList list;
    Fill(list, {"a", "b", "c"});
    std::set<std::vector<std::string>> seen;
    int changes = 0;
    list.OnChange = [&](TaudioTagList*) { ++changes; };
    for (int i = 0; i < 300; ++i) {
        list.Shuffle();
        std::vector<std::string> t = SongTitles(list);
        seen.insert(t);
        std::sort(t.begin(), t.end());
        ASSERT_EQ(t, (std::vector<std::string>{"a", "b", "c"}));
    }
    EXPECT_EQ(seen.size(), 6u); // every order turns up
    EXPECT_EQ(changes, 300);    // one change step per shuffle

    list.SetSorted(true);
    list.Shuffle();
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"a", "b", "c"}));
    list.SetSorted(false);

    changes = 0;
    list.MoveUp(0);
    list.MoveDown(2);
    list.Move(0, 3);
    list.Move(-1, 0);
    list.Delete(3);
    list.Delete(-1);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"a", "b", "c"}));
    list.Move(0, 2);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"b", "c", "a"}));
    list.Move(2, 0);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"a", "b", "c"}));
    list.MoveDown(0);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"b", "a", "c"}));
    list.MoveUp(2);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"b", "c", "a"}));
    list.Delete(1);
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(changes, 5);

    // A shuffle after Max was lowered below the count keeps what fits and frees the rest.
    list.SetMax(1);
    list.Shuffle();
    EXPECT_EQ(list.Count(), 1);
}

TEST(AudioTagList, SearchesCountsAndLines)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetTitle("blue");
    list.Add(Song("Ann", "Night Song", "Blue", 1).release());
    list.Add(Song("ann", "Day", "BLUE", 2).release());
    list.Add(Song("", "Songbird", "Blue", 3).release());
    list.GetItem(0)->SetDuration(100);
    list.GetItem(2)->SetDuration(23);
    EXPECT_EQ(list.TotalDuration(), 123u);
    EXPECT_EQ(list.ArtistCount(), 2); // "Ann" ignoring case, and the empty artist
    EXPECT_EQ(list.IndexOf(list.GetItem(2)), 2);
    TaudioTag stranger;
    EXPECT_EQ(list.IndexOf(&stranger), -1);

    TStringList<TaudioTag> lines;
    lines.Add("old");
    list.SearchTitle("song", lines);
    ASSERT_EQ(lines.Count(), 2);
    EXPECT_EQ(lines[0], "Night Song - Ann");
    EXPECT_EQ(lines.Objects(0), list.GetItem(0));
    EXPECT_EQ(lines[1], "Songbird - ");
    // Every letter folds, as in the artists' search; a sorted list comes back sorted, each line once.
    list.Add(Song("Zoé", "Été Indien", "Blue", 4).release());
    list.Add(Song("Ann", "Night Song", "Blue", 5).release());
    TStringList<TaudioTag> sorted;
    sorted.SetSorted(true);
    sorted.SetDuplicates(TDuplicates::dupIgnore);
    list.SearchTitle("été", sorted);
    ASSERT_EQ(sorted.Count(), 1);
    EXPECT_EQ(sorted[0], "Été Indien - Zoé");
    list.SearchTitle("SONG", sorted);
    ASSERT_EQ(sorted.Count(), 2);
    EXPECT_EQ(sorted[0], "Night Song - Ann");
    EXPECT_EQ(sorted.Objects(0), list.GetItem(0));
    EXPECT_EQ(sorted[1], "Songbird - ");
    EXPECT_TRUE(sorted.Sorted());
    list.Delete(4);
    list.Delete(3);

    list.FormatStrings(lines, tdfTitleDuration, true);
    ASSERT_EQ(lines.Count(), 3);
    EXPECT_EQ(lines[0], "001 : Night Song [1:40]");
    EXPECT_EQ(lines[2], "003 : Songbird [0:23]");
    EXPECT_EQ(lines.Objects(1), list.GetItem(1));
    list.SetDisplayFormat(tdfTitleArtist);
    list.GetStrings(lines);
    EXPECT_EQ(lines[1], "Day - ann");

    // An album: all songs share the list's title; the artist differs exactly, so "Compilation".
    std::string artist;
    EXPECT_TRUE(list.CheckAlbum(artist));
    EXPECT_EQ(artist, "Compilation");
    TaudioTagList one;
    one.SetOwnsObjects(true);
    one.SetTitle("X");
    EXPECT_TRUE(one.CheckAlbum(artist));
    one.Add(Song("", "a", "x").release());
    one.Add(Song("Bob", "b", "X").release());
    one.Add(Song("Bob", "c", "X").release());
    EXPECT_TRUE(one.CheckAlbum(artist));
    EXPECT_EQ(artist, "Bob"); // an empty first artist is replaced by the next one
    one.Add(Song("Bob", "d", "Other").release());
    EXPECT_FALSE(one.CheckAlbum(artist));
}

TEST(AudioTagList, BulkAddsAndProgress)
{
    TaudioTagList source;
    Fill(source, {"a", "b", "c", "d", "e", "f", "g"});
    TStringList<TaudioTag> strings;
    source.GetStrings(strings);
    strings.Add("no song attached");

    TaudioTagList view; // refers only
    std::vector<std::uint32_t> indexes;
    int starts = 0;
    int finishes = 0;
    int changes = 0;
    view.OnListProcessStart = [&](TaudioTagList*, const std::string& text) {
        EXPECT_EQ(text, "Adding Files...");
        ++starts;
    };
    view.OnListProcess = [&](TaudioTagList*, std::uint32_t i, std::uint32_t count, TaudioTag* tag) {
        EXPECT_EQ(count, 8u);
        EXPECT_NE(tag, nullptr);
        indexes.push_back(i);
    };
    view.OnListProcessFinished = [&](TaudioTagList*) { ++finishes; };
    view.OnChange = [&](TaudioTagList*) { ++changes; };
    view.SetListProcessFactor(5);
    view.AddTags(strings, false, false);
    EXPECT_EQ(view.Count(), 7);
    EXPECT_EQ(view.GetItem(3), source.GetItem(3));
    EXPECT_EQ(indexes, (std::vector<std::uint32_t>{5}));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(finishes, 1);
    EXPECT_EQ(changes, 1);

    TaudioTagList copies;
    copies.SetOwnsObjects(true);
    copies.AddTags(strings, true, false);
    EXPECT_EQ(copies.Count(), 7);
    EXPECT_NE(copies.GetItem(0), source.GetItem(0));
    EXPECT_EQ(copies.GetItem(0)->Title(), "a");
    copies.AppendFrom(copies, true); // into itself: doubles once
    EXPECT_EQ(copies.Count(), 14);
    copies.CopyFrom(source, true, false);
    EXPECT_EQ(copies.Count(), 7);

    view.CopyFrom(source, false, true);
    EXPECT_EQ(view.Count(), 14);
    view.CopyFrom(source, false, false);
    EXPECT_EQ(view.Count(), 7);
}

TEST(AudioTagList, AFailedBulkAddStillEndsWithTheChangeStep)
{
    TaudioTagList songs;
    Fill(songs, {"old", "new"});
    TStringList<TaudioTag> strings;
    strings.AddObject("new", songs.GetItem(1));

    // Refers only and plays at random: the play order must follow the list after a failure too.
    TaudioTagList view;
    view.SetActive(true);
    view.SetRandom(true);
    ASSERT_TRUE(view.Add(songs.GetItem(0)));
    ASSERT_EQ(view.CurrentTag(), songs.GetItem(0));
    int changes = 0;
    view.OnChange = [&](TaudioTagList*) { ++changes; };
    view.OnListProcess = [](TaudioTagList*, std::uint32_t, std::uint32_t, TaudioTag*) {
        throw std::runtime_error("cancelled");
    };
    EXPECT_THROW(view.AddTags(strings, false, false), std::runtime_error);
    EXPECT_EQ(view.UpdateCount(), 0);
    EXPECT_EQ(changes, 1); // whoever follows the list hears that "old" left it
    EXPECT_EQ(SongTitles(view), (std::vector<std::string>{"new"}));
    EXPECT_EQ(view.CurrentTag(), songs.GetItem(1));
}

TEST(AudioTagList, RemoveMissingReportsAsTheListShrinks)
{
    TempDir dir;
    TaudioTagList list;
    list.SetOwnsObjects(true);
    for (const char* name : {"a", "gone1", "b", "gone2", "gone3", "c"}) {
        auto s = Song("A", name);
        s->SetFilename(dir.File(name));
        if (std::string(name).find("gone") == std::string::npos)
            dir.Write(name, "x");
        list.Add(s.release());
    }
    std::vector<std::string> reports;
    list.OnListProcessStart = [&](TaudioTagList*, const std::string& text) {
        EXPECT_EQ(text, "Removing Missing Files...");
    };
    list.OnListProcess = [&](TaudioTagList*, std::uint32_t i, std::uint32_t count, TaudioTag* tag) {
        reports.push_back(std::to_string(i) + "/" + std::to_string(count) + " " + tag->Title());
    };
    int changes = 0;
    list.OnChange = [&](TaudioTagList*) { ++changes; };
    list.RemoveMissing();
    EXPECT_EQ(SongTitles(list), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(reports,
              (std::vector<std::string>{"0/6 a", "1/6 gone1", "1/5 b", "2/5 gone2", "2/4 gone3", "2/3 c"}));
    EXPECT_EQ(changes, 1);
}

TEST(AudioTagList, SongListFileBytes)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetTitle("Mix");
    list.SetActive(true);
    list.SetPlayMode(lmLoop | lmResetOnActivate);
    list.SetFilename("/d/mix.dat");
    auto s = std::make_unique<TaudioTag>();
    s->SetFilename("/a.wav");
    s->SetTitle("T");
    list.Add(s.release());

    const std::string expected = std::string("OATL") + Raw({3, 0, 0, 0}) + "Mix" + Raw({1, 6}) +
                                 Raw({10, 0, 0, 0}) + "/d/mix.dat" + Raw({1, 0, 0, 0}) + kShortSong;
    EXPECT_EQ(Save(list), expected);

    TempDir dir;
    const std::string file = dir.File("list.dat");
    list.SaveToFile(file);
    EXPECT_EQ(TempDir::Read(file), expected);

    TaudioTagList back;
    back.SetOwnsObjects(true);
    int activeChanges = 0;
    int modeChanges = 0;
    std::vector<std::string> events;
    back.OnActiveChanged = [&](TaudioTagList*) { ++activeChanges; };
    back.OnModeChanged = [&](TaudioTagList*) { ++modeChanges; };
    back.OnListProcessStart = [&](TaudioTagList*, const std::string& t) { events.push_back(t); };
    back.OnListProcess = [&](TaudioTagList*, std::uint32_t i, std::uint32_t c, TaudioTag*) {
        events.push_back(std::to_string(i) + "/" + std::to_string(c));
    };
    back.OnListProcessFinished = [&](TaudioTagList*) { events.push_back("end"); };
    back.OnChange = [&](TaudioTagList*) { events.push_back("change"); };
    EXPECT_TRUE(back.LoadFromFile(file, false));
    // The file load's own bracket closes last.
    EXPECT_EQ(events, (std::vector<std::string>{"Loading...", "0/1", "end", "change"}));
    EXPECT_EQ(back.Title(), "Mix");
    EXPECT_TRUE(back.Active());
    EXPECT_EQ(activeChanges, 1);
    EXPECT_EQ(back.PlayMode(), lmLoop | lmResetOnActivate);
    EXPECT_EQ(modeChanges, 0);
    EXPECT_EQ(back.Filename(), "/d/mix.dat");
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back.GetItem(0)->Filename(), "/a.wav");
    EXPECT_EQ(Save(back), expected);

    EXPECT_TRUE(back.LoadFromFile(file, true));
    EXPECT_EQ(back.Count(), 2);
    EXPECT_FALSE(back.LoadFromFile(dir.File("missing.dat"), false));
    EXPECT_EQ(back.Count(), 0); // cleared first

    // Texts above the file's limit are cut when written.
    list.SetTitle(std::string(9000, 't'));
    const std::string cut = Save(list);
    EXPECT_EQ(cut.substr(4, 4), Raw({0x00, 0x20, 0, 0}));
    TaudioTagList cutBack;
    cutBack.SetOwnsObjects(true);
    EXPECT_TRUE(Load(cutBack, cut));
    EXPECT_EQ(cutBack.Title(), std::string(8192, 't'));

    EXPECT_THROW(list.SaveToFile(dir.File("no/such/folder/list.dat")), EFileError);
}

TEST(AudioTagList, DriveLettersAndMountPoints)
{
    EXPECT_EQ(ApplyDriveRoot("d:\\music\\a.wav", "e"), "e:\\music\\a.wav");
    EXPECT_EQ(ApplyDriveRoot("d:\\music\\a.wav", "e:"), "e:\\music\\a.wav");
    EXPECT_EQ(ApplyDriveRoot("/media/bob/DISC/a/b.wav", "/media/ann/DISC/"), "/media/ann/DISC/a/b.wav");
    EXPECT_EQ(ApplyDriveRoot("/media/bob/DISC/a/b.wav", "/cdrom"), "/cdrom/bob/DISC/a/b.wav");
    EXPECT_EQ(ApplyDriveRoot("/cdrom/b.wav", "/media/ann/DISC/"), "/media/ann/DISC/b.wav");
    EXPECT_EQ(ApplyDriveRoot("d:\\music\\a.wav", "/media/ann/DISC/"), "/media/ann/DISC/music/a.wav");
    EXPECT_EQ(ApplyDriveRoot("relative.wav", "/media/ann/DISC/"), "relative.wav");
    EXPECT_EQ(ApplyDriveRoot("/x/a.wav", ""), "/x/a.wav");

    TaudioTagList list;
    list.SetOwnsObjects(true);
    auto a = std::make_unique<TaudioTag>();
    a->SetFilename("d:\\music\\a.wav");
    list.Add(a.release());
    list.Add(new TaudioTag()); // no file name: left alone
    const std::string bytes = Save(list);
    TaudioTagList back;
    back.SetOwnsObjects(true);
    EXPECT_TRUE(Load(back, bytes, "e"));
    EXPECT_EQ(back.GetItem(0)->Filename(), "e:\\music\\a.wav");
    EXPECT_EQ(back.GetItem(1)->Filename(), "");
    EXPECT_TRUE(Load(back, bytes, "/media/u/CD/"));
    EXPECT_EQ(back.GetItem(2)->Filename(), "/media/u/CD/music/a.wav");
}

TEST(AudioTagList, DamagedFilesLoadAsFalseKeepingWhatWasRead)
{
    const std::string good = SampleFile(5);
    TaudioTagList list;
    list.SetOwnsObjects(true);

    EXPECT_FALSE(Load(list, "OATX" + good.substr(4)));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(Load(list, ""));

    // Every truncation: false, with the whole songs before the cut kept, texts and all (the load gives the
    // songs their shared texts a batch at a time; the song cut short takes its own along).
    TaudioTagList whole;
    whole.SetOwnsObjects(true);
    ASSERT_TRUE(Load(whole, good));
    const auto texts = [](const TaudioTag* s) {
        return s->Artist() + "|" + s->Album() + "|" + s->Comment() + "|" + s->Date() + "|" +
               s->GenreString() + "|" + s->TagType() + "|" + s->Title();
    };
    ASSERT_NE(texts(whole.GetItem(4)), "||||||");
    int lastCount = 0;
    for (std::size_t n = 0; n < good.size(); ++n) {
        TaudioTagList part;
        part.SetOwnsObjects(true);
        ASSERT_FALSE(Load(part, good.substr(0, n))) << n;
        EXPECT_GE(part.Count(), lastCount);
        lastCount = part.Count();
        for (int i = 0; i < part.Count(); ++i)
            EXPECT_EQ(texts(part.GetItem(i)), texts(whole.GetItem(i))) << n;
    }
    EXPECT_EQ(lastCount, 4);

    const auto withInt = [&](std::size_t at, std::uint32_t v) {
        std::string b = good;
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<char>(v >> (8 * i));
        return b;
    };
    EXPECT_FALSE(Load(list, withInt(4, 0xFFFFFFFFu)));  // negative title length
    EXPECT_FALSE(Load(list, withInt(4, 8193)));         // above the limit
    EXPECT_FALSE(Load(list, withInt(4, 0x7FFFFFFFu)));  // huge
    const std::size_t countAt = 4 + 4 + 6 + 2 + 4 + 16; // "Sample", "/data/sample.dat"
    EXPECT_FALSE(Load(list, withInt(countAt, 0x80000000u)));
    list.Clear();
    EXPECT_FALSE(Load(list, withInt(countAt, 0x7FFFFFFFu))); // more songs claimed than there are
    EXPECT_EQ(list.Count(), 5);
    list.Clear();
    EXPECT_TRUE(Load(list, withInt(countAt, 2)));
    EXPECT_EQ(list.Count(), 2);

    // An unknown property in the third song: the two before it stay.
    std::string unknown = good;
    const std::size_t third = [&] {
        std::size_t at = 0;
        for (int i = 0; i < 3; ++i)
            at = unknown.find("TPF0", at + 1);
        return at;
    }();
    const std::size_t prop = unknown.find("Artist", third);
    unknown.replace(prop, 6, "Artixt");
    list.Clear();
    EXPECT_FALSE(Load(list, unknown));
    EXPECT_EQ(list.Count(), 2);
}

TEST(AudioTagList, MutatedFilesNeverCrashTheLoader)
{
    const std::string good = SampleFile(20);
    std::mt19937 random(1234);
    const auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    int loaded = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string b = good;
        const int mutations = 1 + static_cast<int>(pick(4));
        for (int m = 0; m < mutations; ++m) {
            switch (pick(6)) {
            case 0: // flip a byte
                b[pick(b.size())] ^= static_cast<char>(1 + pick(255));
                break;
            case 1: { // a random 32-bit value somewhere (lengths, counts)
                const std::size_t at = pick(b.size() - 4);
                const std::uint32_t v =
                    pick(2) ? static_cast<std::uint32_t>(random()) : 0x7FFFFFF0u + pick(16);
                for (int i = 0; i < 4; ++i)
                    b[at + i] = static_cast<char>(v >> (8 * i));
                break;
            }
            case 2:
                b.resize(pick(b.size()));
                break;
            case 3:
                b.insert(pick(b.size()), std::string(1 + pick(8), static_cast<char>(random())));
                break;
            case 4: { // repeat a chunk
                const std::size_t at = pick(b.size());
                b.insert(pick(b.size()), b.substr(at, pick(200)));
                break;
            }
            default:
                b.erase(pick(b.size()), pick(16));
                break;
            }
            if (b.size() < 8)
                b = good.substr(0, 8);
        }
        TaudioTagList list;
        list.SetOwnsObjects(round % 2 == 0);
        if (Load(list, b))
            ++loaded;
        ASSERT_LE(list.Count(), static_cast<int>(b.size() / 17));
    }
    EXPECT_GT(loaded, 0);
    for (int round = 0; round < 500; ++round) {
        std::string b(pick(400), '\0');
        for (char& c : b)
            c = static_cast<char>(random());
        if (round % 2)
            b.replace(0, std::min<std::size_t>(4, b.size()), "OATL");
        TaudioTagList list;
        Load(list, b);
    }
}

TEST(AudioTagList, ExportM3U)
{
    TempDir dir;
    TaudioTagList list;
    list.SetOwnsObjects(true);
    auto a = Song("Ann", "One");
    a->SetFilename("/m/one.wav");
    a->SetDuration(61);
    auto b = Song("", "Two");
    b->SetFilename("/m/two.wav");
    b->SetDuration(5);
    list.Add(a.release());
    list.Add(b.release());

    const std::string file = dir.File("out.m3u");
    list.ExportM3U(file, false, true, true);
    EXPECT_EQ(TempDir::Read(file), "#EXTM3U\n#EXTINF:0,Dummy Entry\nDoesNotExist\n#EXTINF:61,Ann - One\n"
                                   "/m/one.wav\n#EXTINF:5,Two\n/m/two.wav\n");
    EXPECT_EQ(list.Filename(), file);

    list.Delete(0);
    list.GetItem(0)->SetTitle("");
    list.ExportM3U(file, true, false, true); // the header is not doubled
    EXPECT_EQ(TempDir::Read(file), "#EXTM3U\n#EXTINF:0,Dummy Entry\nDoesNotExist\n#EXTINF:61,Ann - One\n"
                                   "/m/one.wav\n#EXTINF:5,Two\n/m/two.wav\n#EXTINF:5,\n/m/two.wav\n");

    const std::string plain = dir.Write("plain.m3u", "/x/old.wav\r\n");
    list.ExportM3U(plain, true, true, false); // without extended the dummy has no effect
    EXPECT_EQ(TempDir::Read(plain), "/x/old.wav\n/m/two.wav\n");
    list.ExportM3U(plain, true, false, true);
    EXPECT_EQ(TempDir::Read(plain), "#EXTM3U\n/x/old.wav\n/m/two.wav\n#EXTINF:5,\n/m/two.wav\n");
    EXPECT_THROW(list.ExportM3U(dir.File("no/folder/x.m3u"), false, false, false), EFileError);
}

// Sanitizer builds prove these: no song is freed twice, none is left behind.
TEST(AudioTagList, OwnershipFreesExactlyOnce)
{
    auto kept = Song("A", "kept");
    {
        TaudioTagList view; // not owning: never frees what it was given
        view.Add(kept.get());
        view.Add(kept.get());
        view.Delete(0);
        view.Clear();
        view.Add(kept.get());
    }
    EXPECT_EQ(kept->Title(), "kept");

    {
        TaudioTagList owner;
        owner.SetOwnsObjects(true);
        TaudioTag* twice = Song("A", "twice").release();
        owner.Add(twice);
        owner.Add(twice); // the same song twice: freed once
        owner.Delete(0);  // still held once more: not freed yet
        EXPECT_EQ(owner.GetItem(0)->Title(), "twice");
        owner.Add(Song("A", "x").release());
        owner.Clear();
        owner.Add(twice = Song("A", "y").release());
        owner.Add(twice);
    }

    {
        // Songs a non-owning list made itself (copies, loads) live as long as the list.
        TaudioTagList view;
        view.AddCopy(kept.get());
        EXPECT_TRUE(Load(view, SampleFile(3)));
        TaudioTag* made = view.GetItem(1);
        view.Delete(1);
        view.Clear();
        EXPECT_FALSE(made->Title().empty()); // still alive after leaving the list
        EXPECT_TRUE(Load(view, SampleFile(2)));
        view.SetOwnsObjects(true); // taking over later: freed once either way
        view.Delete(0);
    }

    {
        TaudioTagList full;
        full.SetOwnsObjects(true);
        full.SetMax(2);
        EXPECT_TRUE(Load(full, SampleFile(4))); // the refused songs are freed
        EXPECT_EQ(full.Count(), 2);
        EXPECT_FALSE(full.AddCopy(kept.get()));
    }

    {
        // A change handler that throws leaves the list consistent and leak-free.
        TaudioTagList owner;
        owner.SetOwnsObjects(false);
        owner.OnChange = [](TaudioTagList*) { throw std::runtime_error("listener failed"); };
        EXPECT_THROW(owner.AddCopy(kept.get()), std::runtime_error);
        EXPECT_EQ(owner.Count(), 1);
    }
}

TEST(AudioTagList, FileLoadsMatchMemoryLoads)
{
    // Enough songs to cross the file reader's buffer many times, and one text larger than the buffer.
    TaudioTagList list;
    ASSERT_TRUE(Load(list, SampleFile(300)));
    list.SetOwnsObjects(true);
    auto big = Song("Big", "Comment");
    big->SetComment(std::string(200000, 'b'));
    list.Add(big.release());
    list.Add(Song("After", "Big").release());
    const std::string bytes = Save(list);

    TempDir dir;
    const std::string file = dir.Write("big.dat", bytes);
    TaudioTagList back;
    back.SetOwnsObjects(true);
    ASSERT_TRUE(back.LoadFromFile(file, false));
    EXPECT_EQ(back.Count(), 302);
    EXPECT_EQ(Save(back), bytes);

    const std::string cut = dir.Write("cut.dat", bytes.substr(0, bytes.size() - 100000));
    EXPECT_FALSE(back.LoadFromFile(cut, false));
    EXPECT_EQ(back.Count(), 300);
}

TEST(AudioTagList, ALoadedSongsNameReadsAsIfItHadBeenSet)
{
    // A load reads its songs a batch at a time with their names whole and files their folders together:
    // across batches and up to a damaged end, every song's name must come out split as setting it splits it.
    const std::vector<std::string> names = {"/m/a/1.wav",
                                            "plain.wav",
                                            "/m/a b/2.wav",
                                            "/",
                                            "//x",
                                            "/m/a/",
                                            "/m/" + std::string(300, 'n') + "/3.wav",
                                            "/m/a/" + std::string(300, 'l')};
    TaudioTagList list;
    list.SetOwnsObjects(true);
    for (int i = 0; i < 150; ++i) {
        auto song = std::make_unique<TaudioTag>();
        song->SetFilename(names[static_cast<std::size_t>(i) % names.size()]);
        song->SetTitle("T");
        list.Add(song.release());
    }
    const std::string bytes = Save(list);
    const auto expectSplit = [&](const TaudioTagList& back) {
        for (int i = 0; i < back.Count(); ++i) {
            const TaudioTag* song = back.GetItem(i);
            TaudioTag set;
            set.SetFilename(names[static_cast<std::size_t>(i) % names.size()]);
            EXPECT_EQ(song->FolderName(), set.FolderName()) << i;
            EXPECT_EQ(song->LeafName(), set.LeafName()) << i;
            EXPECT_TRUE(song->SameFolder(*back.GetItem(i % static_cast<int>(names.size())))) << i;
        }
    };
    TaudioTagList back;
    back.SetOwnsObjects(true);
    ASSERT_TRUE(Load(back, bytes));
    EXPECT_EQ(back.Count(), 150);
    expectSplit(back);
    TaudioTagList cut;
    cut.SetOwnsObjects(true);
    EXPECT_FALSE(Load(cut, bytes.substr(0, bytes.size() - 10)));
    EXPECT_EQ(cut.Count(), 149);
    expectSplit(cut);
}
