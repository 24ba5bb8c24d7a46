#include "support/bytes.h"
#include "support/listtitles.h"

#include "core/groupings/audiotaglistlist.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "support/tempdir.h"

#include "platform/textcompare.h"

#include <gtest/gtest.h>

namespace {

std::string Int32(std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    return Raw({static_cast<int>(u & 0xFF), static_cast<int>((u >> 8) & 0xFF),
                static_cast<int>((u >> 16) & 0xFF), static_cast<int>(u >> 24)});
}

// The component stream of a song holding only a file name and a title (numbers are always written).
std::string SongBytes(const std::string& file, const std::string& title)
{
    return std::string("TPF0") + Raw({9}) + "TaudioTag" + Raw({0}) +                      //
           Raw({8}) + "Filename" + Raw({6, static_cast<int>(file.size())}) + file +       //
           Raw({5}) + "Title" + Raw({6, static_cast<int>(title.size())}) + title +        //
           Raw({7}) + "TrackNo" + Raw({2, 0}) + Raw({7}) + "GenreID" + Raw({2, 0}) +      //
           Raw({7}) + "BitRate" + Raw({2, 0}) + Raw({8}) + "Duration" + Raw({2, 0}) +     //
           Raw({10}) + "SampleRate" + Raw({2, 0}) + Raw({8}) + "Channels" + Raw({2, 0}) + //
           Raw({9}) + "MediaType" + Raw({2, 0}) + Raw({0, 0});
}

// A song-list record: magic, title, active flag, play mode, file name, count, songs.
std::string ListBytes(const std::string& title, int active, int mode, const std::string& file,
                      const std::vector<std::string>& songs)
{
    std::string out = "OATL" + Int32(static_cast<std::int32_t>(title.size())) + title + Raw({active, mode}) +
                      Int32(static_cast<std::int32_t>(file.size())) + file +
                      Int32(static_cast<std::int32_t>(songs.size()));
    for (const std::string& s : songs)
        out += s;
    return out;
}

const std::string kAlpha = ListBytes("Alpha", 1, lmRandom | lmLoop, "/p/a.m3u",
                                     {SongBytes("/m/a.wav", "One"), SongBytes("/m/b.wav", "Two")});
const std::string kBeta = ListBytes("beta", 0, lmResetOnActivate, "", {});
const std::string kGamma = ListBytes("Gamma", 0, lmLoop, "", {SongBytes("/m/c.wav", "Three")});
// Three lists, in title order.
const std::string kFile = "OALL" + Int32(3) + kAlpha + kBeta + kGamma;

TaudioTagList* NewList(const std::string& title, std::initializer_list<const char*> songs = {})
{
    auto* list = new TaudioTagList;
    list->SetTitle(title);
    for (const char* s : songs) {
        auto song = std::make_unique<TaudioTag>();
        song->SetTitle(s);
        list->AddCopy(song.get());
    }
    return list;
}

bool Load(TaudioTagListList& set, const std::string& bytes)
{
    TstreamReader r(bytes);
    return set.LoadFromStream(r);
}

std::string Save(const TaudioTagListList& set)
{
    TstreamWriter w;
    set.SaveToStream(w);
    return w.Bytes();
}

using Strings = std::vector<std::string>;

} // namespace

TEST(AudioTagListListFile, SavesThreeListsByteForByteAndReadsThemBack)
{
    // Built out of order: the file holds them by title.
    TaudioTagListList set;
    set.SetOwnsObjects(true);
    TaudioTagList* gamma = NewList("Gamma", {});
    auto three = std::make_unique<TaudioTag>();
    three->SetFilename("/m/c.wav");
    three->SetTitle("Three");
    gamma->AddCopy(three.get());
    set.Add(gamma);
    set.Add(NewList("beta"));
    TaudioTagList* alpha = NewList("Alpha");
    for (const auto& [file, title] : {std::pair{"/m/a.wav", "One"}, std::pair{"/m/b.wav", "Two"}}) {
        TaudioTag s;
        s.SetFilename(file);
        s.SetTitle(title);
        alpha->AddCopy(&s);
    }
    alpha->SetActive(true);
    alpha->SetPlayMode(lmRandom | lmLoop);
    alpha->SetFilename("/p/a.m3u");
    set.Add(alpha);
    set.GetItem(1)->SetPlayMode(lmResetOnActivate);
    EXPECT_EQ(Save(set), kFile);

    TaudioTagListList back;
    back.SetOwnsObjects(true);
    ASSERT_TRUE(Load(back, kFile));
    EXPECT_EQ(ListTitles(back), (Strings{"Alpha", "beta", "Gamma"}));
    const TaudioTagList* a = back.GetItem(0);
    EXPECT_TRUE(a->Active());
    EXPECT_EQ(a->PlayMode(), lmRandom | lmLoop);
    EXPECT_EQ(a->Filename(), "/p/a.m3u");
    ASSERT_EQ(a->GetCount(), 2);
    EXPECT_EQ(a->GetItem(1)->Filename(), "/m/b.wav");
    EXPECT_EQ(a->GetItem(1)->Title(), "Two");
    EXPECT_FALSE(back.GetItem(1)->Active());
    EXPECT_EQ(back.GetItem(1)->PlayMode(), lmResetOnActivate);
    EXPECT_EQ(back.GetItem(2)->GetItem(0)->Title(), "Three");
    EXPECT_EQ(Save(back), kFile);

    // The same through files; saving replaces what was there.
    TempDir dir;
    const std::string file = dir.Write("playlists.dat", "old contents, much longer than nothing at all");
    back.SaveToFile(file);
    EXPECT_EQ(TempDir::Read(file), kFile);
    TaudioTagListList fromFile;
    fromFile.SetOwnsObjects(true);
    EXPECT_TRUE(fromFile.LoadFromFile(file, false));
    EXPECT_EQ(Save(fromFile), kFile);
    EXPECT_FALSE(fromFile.LoadFromFile(dir.File("missing.dat"), false));
    EXPECT_EQ(fromFile.GetCount(), 0); // not appending: cleared first
}

TEST(AudioTagListListFile, AppendKeepsListsAndEqualTitlesStandSideBySide)
{
    TaudioTagListList set;
    set.SetOwnsObjects(true);
    ASSERT_TRUE(Load(set, kFile));
    TempDir dir;
    const std::string file = dir.Write("a.ctg", "OALL" + Int32(1) + ListBytes("ALPHA", 0, 0, "", {}));
    int changes = 0;
    set.OnChange = [&](TaudioTagListList*) { ++changes; };
    ASSERT_TRUE(set.LoadFromFile(file, true));
    EXPECT_EQ(changes, 1); // one notification for the whole load
    EXPECT_EQ(ListTitles(set), (Strings{"ALPHA", "Alpha", "beta", "Gamma"}));
    // The one filed last stands first among equal titles and is the one found.
    EXPECT_EQ(set.Find("alpha"), set.GetItem(0));
    EXPECT_EQ(set.Find("nothing"), nullptr);
}

TEST(AudioTagListListFile, DamagedFilesLoadWhatTheyCanAndAnswerFalse)
{
    const auto loaded = [](const std::string& bytes, Strings titles) {
        TaudioTagListList set;
        const bool ok = Load(set, bytes);
        EXPECT_EQ(ListTitles(set), titles);
        return ok;
    };
    EXPECT_FALSE(loaded("OATL" + Int32(3) + kAlpha, {}));                        // wrong magic
    EXPECT_FALSE(loaded(kAlpha, {}));                                            // a song list, not a set
    EXPECT_TRUE(loaded("OALL" + Int32(0), {}));                                  // no lists: a good file
    EXPECT_FALSE(loaded("OALL" + Int32(-5) + kAlpha, {}));                       // negative count
    EXPECT_FALSE(loaded("OALL" + Int32(5) + kAlpha + kBeta, {"Alpha", "beta"})); // fewer records than counted
    EXPECT_FALSE(loaded("OALL" + Int32(0x7FFFFFFF) + kAlpha, {"Alpha"}));        // absurd count
    EXPECT_FALSE(loaded("OALL" + Int32(2) + kAlpha + "OATX" + kBeta, {"Alpha"})); // damaged second record
    EXPECT_FALSE(loaded("", {}));
    EXPECT_FALSE(loaded("OAL", {}));
    EXPECT_TRUE(loaded("OALL" + Int32(1) + kAlpha + "trailing bytes", {"Alpha"}));

    // Cut anywhere: the whole lists before the cut stay, never a half-read one.
    for (std::size_t n = 0; n < kFile.size(); ++n) {
        TaudioTagListList set;
        set.SetOwnsObjects(n % 2 == 0); // every ownership path frees what it made
        set.SetListsOwnObjects(n % 3 == 0);
        EXPECT_FALSE(Load(set, kFile.substr(0, n))) << n;
        const std::size_t whole = n < 8 + kAlpha.size() ? 0 : n < 8 + kAlpha.size() + kBeta.size() ? 1 : 2;
        ASSERT_EQ(static_cast<std::size_t>(set.GetCount()), whole) << n;
        if (whole > 0) {
            EXPECT_EQ(set.GetItem(0)->GetCount(), 2);
        }
    }
}

TEST(AudioTagListList, OrderFindAndRename)
{
    TaudioTagListList set;
    set.SetOwnsObjects(true);
    TaudioTagList* b = NewList("b", {"x"});
    TaudioTagList* a = NewList("A", {"y", "z"});
    TaudioTagList* c = NewList("c");
    set.Add(b);
    set.BeginUpdate();
    set.Add(c);
    set.Add(a);
    TaudioTagList* a2 = NewList("a");
    set.Add(a2);
    EXPECT_EQ(set.Find("A"), a2); // found inside the update too
    set.EndUpdate();
    EXPECT_EQ(ListTitles(set), (Strings{"a", "A", "b", "c"}));
    EXPECT_EQ(set.IndexOf(a), 1);
    EXPECT_EQ(set.IndexOf(nullptr), -1);
    EXPECT_EQ(set.GetItem(4), nullptr);
    EXPECT_EQ(set.GetItem(-1), nullptr);
    EXPECT_EQ(set.TotalSongs(), 3);

    set.Rename(a2, "d");
    EXPECT_EQ(ListTitles(set), (Strings{"A", "b", "c", "d"}));
    EXPECT_EQ(set.Find("a"), a);
    EXPECT_EQ(set.Find("D"), a2);
    TaudioTagList outsider;
    set.Rename(&outsider, "zz"); // not a member: only the title changes
    EXPECT_EQ(outsider.Title(), "zz");
    EXPECT_EQ(set.GetCount(), 4);

    EXPECT_EQ(set.FindListOf(b->GetItem(0)), b);
    EXPECT_EQ(set.FindListOf(nullptr), nullptr);

    TStringList<TaudioTagList> names;
    names.Add("stale");
    set.GetNames(names);
    ASSERT_EQ(names.Count(), 4);
    EXPECT_EQ(names[3], "d");
    EXPECT_EQ(names.Objects(3), a2);

    set.Remove(b);
    set.Delete(7); // ignored
    EXPECT_EQ(ListTitles(set), (Strings{"A", "c", "d"}));
    EXPECT_EQ(set.Find("B"), nullptr);
}

TEST(AudioTagListList, LargeSetsFindTheirListsWhileFillingAndOnceWhole)
{
    TaudioTagListList set;
    set.SetOwnsObjects(true);
    std::vector<TaudioTagList*> lists;
    set.BeginUpdate();
    for (int i = 0; i < 20; ++i) {
        lists.push_back(NewList("L" + std::to_string(i)));
        set.Add(lists.back());
        EXPECT_EQ(set.Find("l" + std::to_string(i / 2)), lists[static_cast<std::size_t>(i / 2)]);
    }
    set.EndUpdate();
    // Whole, it still finds every title, and follows what changes after.
    EXPECT_EQ(set.Find("L7"), lists[7]);
    TaudioTagList* newer = NewList("l7");
    set.Add(newer);
    EXPECT_EQ(set.Find("L7"), newer);
    set.Remove(newer);
    EXPECT_EQ(set.Find("L7"), lists[7]);
    set.BeginUpdate();
    set.Rename(lists[3], "Three");
    set.EndUpdate();
    EXPECT_EQ(set.Find("L3"), nullptr);
    EXPECT_EQ(set.Find("three"), lists[3]);
    EXPECT_EQ(set.GetCount(), 20);
}

TEST(AudioTagListList, TitlesInTheLocaleOrderWhetherAddedInBulkOrOneByOne)
{
    const platform::TcollationLocaleScope french("fr_FR");
    TaudioTagListList set;
    set.SetOwnsObjects(true);
    set.BeginUpdate();
    for (const char* title : {"Zed",
                              "\xC3\x89"
                              "coute",
                              "abc"})
        set.Add(NewList(title));
    set.EndUpdate();
    EXPECT_EQ(ListTitles(set), (Strings{"abc",
                                        "\xC3\x89"
                                        "coute",
                                        "Zed"}));
    // Merged into the sorted index; the newer of two equal titles first.
    TaudioTagList* again = NewList("\xC3\xA9"
                                   "COUTE");
    set.Add(again);
    set.Add(NewList("Bach"));
    EXPECT_EQ(ListTitles(set), (Strings{"abc", "Bach",
                                        "\xC3\xA9"
                                        "COUTE",
                                        "\xC3\x89"
                                        "coute",
                                        "Zed"}));
    EXPECT_EQ(set.Find("\xC3\xA9"
                       "coute"),
              again);
}

TEST(AudioTagListList, NotificationsAndUpdateCounting)
{
    TaudioTagListList set;
    set.SetOwnsObjects(true);
    int changes = 0;
    std::vector<TaudioTagList*> changed;
    int activeChanges = 0;
    set.OnChange = [&](TaudioTagListList* sender) {
        EXPECT_EQ(sender, &set);
        ++changes;
    };
    set.OnPlaylistChange = [&](TaudioTagListList*, TaudioTagList* list) { changed.push_back(list); };
    set.OnActiveChanged = [&](TaudioTagListList*) { ++activeChanges; };

    TaudioTagList* list = NewList("one");
    set.Add(list);
    EXPECT_EQ(changes, 1);
    set.BeginUpdate();
    set.BeginUpdate();
    set.Add(NewList("two"));
    set.Delete(0);
    set.EndUpdate();
    EXPECT_EQ(changes, 1);
    set.EndUpdate();
    set.EndUpdate(); // never below 0
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(set.UpdateCount(), 0);
    set.Clear();
    EXPECT_EQ(changes, 3);

    TaudioTagList* member = NewList("three");
    set.Add(member);
    member->SetLoop(false); // play-mode change
    auto song = std::make_unique<TaudioTag>();
    member->AddCopy(song.get()); // song change
    EXPECT_EQ(changed, (std::vector<TaudioTagList*>{member, member}));

    set.SetActive(true);
    EXPECT_TRUE(set.Active());
    EXPECT_EQ(activeChanges, 1);
}

TEST(AudioTagListList, OwnershipAndListsThatOutliveTheSet)
{
    // Not owning: removed lists stay the caller's; a list outliving the set notifies nobody.
    TaudioTagList kept;
    kept.SetTitle("kept");
    {
        TaudioTagListList set;
        set.SetListsOwnObjects(true);
        set.Add(&kept);
        EXPECT_TRUE(kept.OwnsObjects());
        set.SetListsOwnObjects(false);
        EXPECT_FALSE(kept.OwnsObjects());
        ASSERT_TRUE(Load(set, kFile)); // lists it makes itself are its own to free
        set.Remove(set.GetItem(0));    // one it made: kept alive until the set goes
    }
    kept.SetLoop(true);
    auto song = std::make_unique<TaudioTag>();
    kept.AddCopy(song.get());

    // Owning: Delete and Clear free; a list filed twice is freed once, when its last entry goes.
    TaudioTagListList set;
    set.SetOwnsObjects(true);
    TaudioTagList* twice = NewList("twice");
    set.Add(twice);
    set.Add(twice);
    set.Delete(0);
    EXPECT_EQ(set.GetItem(0), twice);
    set.Add(NewList("other"));
    set.Clear();
    EXPECT_EQ(set.GetCount(), 0);
    set.Add(NewList("freed with the set"));
}

TEST(AudioTagListList, DurationsAndCoverOfEmptyList)
{
    TaudioTagListList set;
    set.SetOwnsObjects(true);
    for (int i = 0; i < 3; ++i) {
        TaudioTagList* list = NewList("l" + std::to_string(i));
        TaudioTag s;
        s.SetDuration(0xFFFFFFF0u);
        list->AddCopy(&s);
        set.Add(list);
    }
    EXPECT_EQ(set.TotalDuration(), 3 * static_cast<std::int64_t>(0xFFFFFFF0u)); // no 32-bit wrap
    TaudioTagList empty;
    EXPECT_EQ(GetListCoverFile(empty, "/covers"), "");

    // The first song's cover stands for the list.
    TempDir dir;
    const std::string cover = dir.Write("Abba - Arrival.jpg", "jpeg");
    TaudioTagList list;
    for (const char* artist : {"Abba", "Other"}) {
        TaudioTag s;
        s.SetArtist(artist);
        s.SetAlbum("Arrival");
        s.SetFilename(dir.File("song.wav"));
        list.AddCopy(&s);
    }
    EXPECT_EQ(GetListCoverFile(list, ""), cover);
}

TEST(AudioTagPlaylistList, SelectCurrentAndForgetRemovedCurrent)
{
    TaudioTagPlaylistList set;
    set.SetOwnsObjects(true);
    TaudioTagList* one = NewList("One");
    TaudioTagList* two = NewList("Two");
    set.Add(one);
    set.Add(two);
    EXPECT_EQ(set.GetCurrent(), nullptr);
    set.SelectByName("two");
    EXPECT_EQ(set.GetCurrent(), two);
    EXPECT_TRUE(two->Active());
    EXPECT_TRUE(set.Active());
    set.SetActive(false);
    EXPECT_EQ(set.GetCurrent(), nullptr); // kept, but only shown while active
    set.SetActive(true);
    EXPECT_EQ(set.GetCurrent(), two);

    TaudioTagList outsider;
    set.Select(&outsider);
    EXPECT_EQ(set.GetCurrent(), nullptr);
    EXPECT_FALSE(set.Active());
    EXPECT_FALSE(outsider.Active());

    set.Select(one);
    set.Delete(set.IndexOf(one));
    EXPECT_EQ(set.GetCurrent(), nullptr);
    set.Select(two);
    set.Remove(two);
    EXPECT_EQ(set.GetCurrent(), nullptr);
    TaudioTagList* three = NewList("Three");
    set.Add(three);
    set.Select(three);
    set.Clear();
    EXPECT_EQ(set.GetCurrent(), nullptr);

    set.SetMode(plmStacker);
    EXPECT_EQ(set.Mode(), plmStacker);
}

namespace {

// A list that counts the lists of its kind alive.
class CountedList : public TaudioTagList
{
public:
    CountedList(const std::string& title, int& alive) : alive_(alive)
    {
        SetTitle(title);
        ++alive_;
    }
    ~CountedList() override { --alive_; }

private:
    int& alive_;
};

// A set that makes lists itself, as the groupings do, and shows its title visits.
class MakingSet : public TaudioTagListList
{
public:
    using TaudioTagListList::AddCreated;
    using TaudioTagListList::AddCreatedGrouped;
    TaudioTagList* Make(const std::string& title, int& alive, bool grouped = false)
    {
        auto list = std::make_unique<CountedList>(title, alive);
        TaudioTagList* made = list.get();
        if (grouped)
            AddCreatedGrouped(std::move(list));
        else
            AddCreated(std::move(list));
        return made;
    }
    std::vector<TaudioTagList*> Titled(std::string_view title) const
    {
        std::vector<TaudioTagList*> out;
        ForEachTitled(title, [&out](TaudioTagList* list) {
            out.push_back(list);
            return true;
        });
        return out;
    }
};

} // namespace

TEST(AudioTagListList, ListsTheSetMadeLiveUntilItGoesWhicheverWayTheyLeave)
{
    int alive = 0;
    int others = 0;
    CountedList elsewhere("linked", others); // another set's list
    {
        MakingSet set; // not owning
        TaudioTagList* renamed = set.Make("renamed", alive);
        TaudioTagList* removed = set.Make("removed", alive, true);
        TaudioTagList* twice = set.Make("twice", alive);
        TaudioTagList* replaced = set.Make("replaced", alive, true);
        set.Make("cleared", alive);
        EXPECT_EQ(alive, 5);

        // Renamed, then removed: still the set's to free.
        set.Rename(renamed, "a renamed");
        set.Remove(renamed);
        // Removed, taken back, removed again while owning: freed then, once.
        set.Remove(removed);
        set.Add(removed);
        set.SetOwnsObjects(true);
        set.Remove(removed);
        set.SetOwnsObjects(false);
        EXPECT_EQ(alive, 4);
        // Filed a second time, then the entry it was made under goes first.
        set.Add(twice);
        const int newer = set.IndexOf(twice);
        ASSERT_EQ(set.GetItem(newer + 1), twice);
        set.Delete(newer + 1);
        set.Remove(twice);
        EXPECT_EQ(set.IndexOf(twice), -1);
        // A made member that gives way to another set's list is freed at once; the link never is.
        set.ReplaceByLinks({{replaced, &elsewhere}});
        EXPECT_EQ(alive, 3);
        EXPECT_EQ(set.Find("replaced"), &elsewhere); // filed as the member was
        set.Clear();
        EXPECT_EQ(set.GetCount(), 0);
        EXPECT_EQ(alive, 3);
    }
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(others, 1);
}

TEST(AudioTagListList, FilesAListUnderItsTitleWhenAddedAndTheNewestFirst)
{
    // Small sets search their entries, large ones a table made while they fill; both answer alike.
    for (const int fillers : {0, 12}) {
        SCOPED_TRACE(fillers);
        int alive = 0;
        MakingSet set;
        set.SetOwnsObjects(true);
        set.BeginUpdate();
        for (int i = 0; i < fillers; ++i)
            set.Add(NewList("filler " + std::to_string(i)));
        TaudioTagList* first = set.Make("Same", alive, true);
        TaudioTagList* second = NewList("SAME");
        set.Add(second);
        TaudioTagList* third = set.Make("same", alive);
        EXPECT_EQ(set.Titled("sAmE"), (std::vector<TaudioTagList*>{third, second, first}));
        // A title changed behind the set's back: still filed, and found, under the old one.
        TaudioTagList* moved = NewList("Before");
        set.Add(moved);
        moved->SetTitle("After");
        EXPECT_EQ(set.Find("before"), moved);
        EXPECT_EQ(set.Find("after"), nullptr);
        set.Remove(second);
        EXPECT_EQ(set.Titled("same"), (std::vector<TaudioTagList*>{third, first}));
        set.Remove(moved);
        EXPECT_EQ(set.Find("before"), nullptr);
        set.EndUpdate();
        EXPECT_EQ(set.IndexOf(third) + 1, set.IndexOf(first));
        EXPECT_EQ(set.Find("SAME"), third);
    }
}
