#include "core/groupings/taglistrules.h"
#include "support/listtitles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct SongFacts
{
    std::string artist;
    std::string title;
    std::string date;
    std::string genre;
    std::string file;
};

// An owning list of songs made from the facts.
void Fill(TaudioTagList& list, const std::vector<SongFacts>& facts)
{
    list.SetOwnsObjects(true);
    for (const SongFacts& f : facts) {
        auto s = std::make_unique<TaudioTag>();
        s->SetArtist(f.artist);
        s->SetTitle(f.title);
        s->SetDate(f.date);
        s->SetGenreString(f.genre);
        s->SetFilename(f.file);
        list.Add(s.release());
    }
}

using Strings = std::vector<std::string>;

void SetList(TStrings& list, const Strings& items)
{
    for (const std::string& s : items)
        list.Add(s);
}

// The key=value lines of one section, in file order.
Strings SectionLines(const TIniFile& ini, const std::string& section)
{
    TStrings values;
    ini.ReadSectionValues(section, values);
    Strings out;
    for (const auto& item : values)
        out.push_back(item.text);
    return out;
}

const TtagListRulesProgress kNoProgress;

} // namespace

TEST(FilterByYear, RangeIsInclusiveAndTextThatIsNoNumberIsYearZero)
{
    TaudioTagList source;
    Fill(source, {{"", "none", "", "", ""},
                  {"", "iso", "1999-05-01", "", ""},
                  {"", "1989", "1989", "", ""},
                  {"", "1990", "1990", "", ""},
                  {"", "1999", " 1999", "", ""},
                  {"", "2000", "2000", "", ""},
                  {"", "negative", "-5", "", ""},
                  {"", "hex", "$7CF", "", ""}});
    TaudioTagList dest;
    FilterByYear(source, dest, false, kNoProgress, nullptr, false, 1999, 1990, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"1990", "1999", "hex"}));

    FilterByYear(source, dest, false, kNoProgress, nullptr, false, 9999, 0, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"none", "iso", "1989", "1990", "1999", "2000", "hex"}));
    // Inverted, a negative year is the only one outside 0-9999.
    FilterByYear(source, dest, false, kNoProgress, nullptr, true, 9999, 0, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"negative"}));
}

TEST(FilterByGenre, GenreTextMatchesIgnoringCaseAndInvertKeepsTheRest)
{
    TaudioTagList source;
    Fill(source, {{"", "rock", "", "rock", ""},
                  {"", "ROCK", "", "ROCK", ""},
                  {"", "jazz", "", "Jazz", ""},
                  {"", "none", "", "", ""},
                  {"", "electro", "", "ÉLECTRO", ""}});
    TStrings genres;
    SetList(genres, {"Rock", "électro"});
    TaudioTagList dest;
    FilterByGenre(source, dest, false, kNoProgress, nullptr, false, genres, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"rock", "ROCK", "electro"}));
    FilterByGenre(source, dest, false, kNoProgress, nullptr, true, genres, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"jazz", "none"}));

    // The genre number plays no part.
    source.GetItem(2)->SetGenreID(17);
    TStrings numbers;
    SetList(numbers, {"17"});
    FilterByGenre(source, dest, false, kNoProgress, nullptr, false, numbers, false);
    EXPECT_EQ(dest.Count(), 0);
}

TEST(FilterByArtist, ArtistMatchesIgnoringCase)
{
    TaudioTagList source;
    Fill(source, {{"abba", "a", "", "", ""}, {"ABBA", "b", "", "", ""}, {"Queen", "c", "", "", ""}});
    TStrings artists;
    SetList(artists, {"Abba"});
    TaudioTagList dest;
    FilterByArtist(source, dest, false, kNoProgress, nullptr, false, artists, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"a", "b"}));
    FilterByArtist(source, dest, false, kNoProgress, nullptr, true, artists, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"c"}));
}

TEST(FilterByPath, PlainTextPrefixIgnoringCase)
{
    TaudioTagList source;
    Fill(source, {{"", "inside", "", "", "/music/a.mp3"},
                  {"", "sibling", "", "", "/music2/a.mp3"},
                  {"", "upper", "", "", "/MUSIC/b.mp3"},
                  {"", "short", "", "", "/mus"},
                  {"", "deep", "", "", "/data/x/y/z.mp3"},
                  {"", "near", "", "", "/data/x/w.mp3"},
                  {"", "other", "", "", "/other/a.mp3"},
                  {"", "accent", "", "", "/Élan/a.mp3"},
                  {"", "into the name", "", "", "/data/x/yzz.mp3"},
                  {"", "accent into the name", "", "", "/élan2/Bé.mp3"},
                  {"", "accent beside", "", "", "/élan2/c.mp3"}});
    TStrings paths;
    // Overlapping prefixes: the longer one must not hide the shorter one, nor the reverse. A prefix may end
    // inside a song's own name, past its folder.
    SetList(paths, {"/music", "/data/x/y", "/data/x/yz", "/élan/", "/ÉLAN2/b"});
    TaudioTagList dest;
    FilterByPath(source, dest, false, kNoProgress, nullptr, false, paths, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"inside", "sibling", "upper", "deep", "accent", "into the name",
                                         "accent into the name"}));
    FilterByPath(source, dest, false, kNoProgress, nullptr, true, paths, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"short", "near", "other", "accent beside"}));

    TStrings none;
    FilterByPath(source, dest, false, kNoProgress, nullptr, false, none, false);
    EXPECT_EQ(dest.Count(), 0);
    // An empty entry is the prefix of every name.
    TStrings empty;
    empty.Add("");
    FilterByPath(source, dest, false, kNoProgress, nullptr, false, empty, false);
    EXPECT_EQ(dest.Count(), source.Count());
}

TEST(Filters, AppendCopiesProgressAndOneChange)
{
    TaudioTagList source;
    Fill(source, {{"A", "one", "", "", ""}, {"B", "two", "", "", ""}, {"A", "three", "", "", ""}});
    TStrings artists;
    SetList(artists, {"a"});

    TaudioTagList dest;
    dest.SetOwnsObjects(true);
    dest.AddCopy(source.GetItem(1));
    int changes = 0;
    dest.OnChange = [&](TaudioTagList*) { ++changes; };
    std::vector<std::uint32_t> indexes;
    std::vector<std::uint32_t> counts;
    TtagListRules rules;
    TtagListRules* seen = nullptr;
    const TtagListRulesProgress progress = [&](TtagListRules* sender, std::uint32_t index,
                                               std::uint32_t count, TaudioTag* tag) {
        seen = sender;
        indexes.push_back(index);
        counts.push_back(count);
        EXPECT_EQ(tag, source.GetItem(static_cast<int>(index)));
    };
    FilterByArtist(source, dest, true, progress, &rules, false, artists, true);
    EXPECT_EQ(SongTitles(dest), (Strings{"two", "one", "three"}));
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(seen, &rules);
    EXPECT_EQ(indexes, (std::vector<std::uint32_t>{0, 1, 2}));
    // The count is the number of songs minus one.
    EXPECT_EQ(counts, (std::vector<std::uint32_t>{2, 2, 2}));
    // Copies, not the source's songs.
    EXPECT_NE(dest.GetItem(1), source.GetItem(0));
    EXPECT_EQ(dest.GetItem(1)->Artist(), "A");

    // Filtering a non-owning list into itself with append ends and doubles the matches.
    TaudioTagList view;
    view.CopyFrom(source, false, false);
    FilterByArtist(view, view, false, kNoProgress, nullptr, false, artists, true);
    EXPECT_EQ(SongTitles(view), (Strings{"one", "two", "three", "one", "three"}));
}

TEST(TagListRules, ApplyWithoutRulesGivesEverySongAsTheSameObjects)
{
    TaudioTagList source;
    Fill(source, {{"A", "one", "", "", ""}, {"B", "two", "", "", ""}});
    TtagListRules rules;
    EXPECT_FALSE(rules.HasRules());
    TaudioTagList dest;
    rules.Apply(source, dest, false);
    ASSERT_EQ(dest.Count(), 2);
    EXPECT_EQ(dest.GetItem(0), source.GetItem(0));
    EXPECT_EQ(dest.GetItem(1), source.GetItem(1));

    TaudioTagList copies;
    copies.SetOwnsObjects(true);
    rules.Apply(source, copies, true);
    ASSERT_EQ(copies.Count(), 2);
    EXPECT_NE(copies.GetItem(0), source.GetItem(0));
    EXPECT_EQ(copies.GetItem(0)->Title(), "one");
}

TEST(TagListRules, ApplyRunsTheRulesInTurnOverTheSurvivors)
{
    TaudioTagList source;
    Fill(source, {{"Abba", "kept", "1975", "Pop", "/m/abba/1.mp3"},
                  {"Abba", "old", "1960", "Pop", "/m/abba/2.mp3"},
                  {"Queen", "artist", "1975", "pop", "/m/queen/1.mp3"},
                  {"Abba", "genre", "1975", "Rock", "/m/abba/3.mp3"},
                  {"Abba", "folder", "1975", "Pop", "/n/abba/4.mp3"}});
    TtagListRules rules;
    rules.SetPathsAllowed(true);
    rules.SetUseGenres(true);
    rules.Genres().Add("POP");
    rules.SetUseYear(true);
    rules.SetFromYear(1970);
    rules.SetToYear(1979);
    rules.SetUseArtists(true);
    rules.Artists().Add("abba");
    rules.SetUsePaths(true);
    rules.Paths().Add("/m/");
    EXPECT_TRUE(rules.HasRules());

    std::vector<std::string> events;
    rules.OnListProcessStart = [&](TtagListRules*, const std::string& text) { events.push_back(text); };
    rules.OnListProcess = [&](TtagListRules* sender, std::uint32_t index, std::uint32_t count, TaudioTag*) {
        EXPECT_EQ(sender, &rules);
        events.push_back(std::to_string(index) + "/" + std::to_string(count));
    };
    rules.OnListProcessFinished = [&](TtagListRules*) { events.push_back("done"); };

    TaudioTagList dest;
    dest.Add(source.GetItem(4));
    int changes = 0;
    dest.OnChange = [&](TaudioTagList*) { ++changes; };
    rules.Apply(source, dest, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"kept"}));
    EXPECT_EQ(changes, 1);
    // Genre sees 5 songs, year the 4 left, artist 3, folder 2.
    EXPECT_EQ(events, (Strings{"Applying Rules", "0/4", "1/4", "2/4", "3/4", "4/4", "0/3", "1/3", "2/3",
                               "3/3", "0/2", "1/2", "2/2", "0/1", "1/1", "done"}));

    // Every rule inverted: no song is outside all four.
    rules.SetNotGenres(true);
    rules.SetNotYear(true);
    rules.SetNotArtist(true);
    rules.SetNotPaths(true);
    rules.Apply(source, dest, false);
    EXPECT_EQ(dest.Count(), 0);
}

TEST(TagListRules, YearRuleKeepsSongsWithoutYearOnlyWhenNotInverted)
{
    TaudioTagList source;
    Fill(source, {{"", "a", "", "", ""}, {"", "b", "", "", ""}});
    TtagListRules rules;
    rules.SetUseYear(true);
    rules.SetToYear(9999);
    TaudioTagList dest;
    rules.Apply(source, dest, false);
    EXPECT_EQ(dest.Count(), 2);
    rules.SetNotYear(true);
    rules.Apply(source, dest, false);
    EXPECT_EQ(dest.Count(), 0);
}

TEST(TagListRules, FolderRuleNeedsPathsAllowed)
{
    TaudioTagList source;
    Fill(source, {{"", "in", "", "", "/m/a.mp3"}, {"", "out", "", "", "/n/a.mp3"}});
    TtagListRules rules;
    rules.SetUsePaths(true);
    rules.Paths().Add("/m");
    TaudioTagList dest;
    rules.Apply(source, dest, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"in", "out"}));
    rules.SetPathsAllowed(true);
    rules.Apply(source, dest, false);
    EXPECT_EQ(SongTitles(dest), (Strings{"in"}));
}

TEST(TagListRules, ListsAreSortedAndIgnoreDuplicates)
{
    TtagListRules rules;
    rules.Genres().Add("Rock");
    rules.Genres().Add("ROCK");
    rules.Genres().Add("Jazz");
    EXPECT_EQ(rules.Genres().CommaText(), "Jazz,Rock");
}

TEST(TagListRules, SettingsAreWrittenInTheirOrder)
{
    TtagListRules rules;
    rules.SetPathsAllowed(true);
    rules.Artists().Add("The Band");
    rules.Artists().Add("Abba");
    rules.SetUseArtists(true);
    rules.Genres().Add("Rock");
    rules.Paths().Add("/m/My Music/");
    rules.SetUsePaths(true);
    rules.SetUseYear(true);
    rules.SetFromYear(1990);
    rules.SetToYear(1999);
    rules.SetNotYear(true);
    rules.SetNotPaths(true);
    TIniFile ini("");
    rules.SaveSettings(ini, "Jukebox");
    EXPECT_EQ(SectionLines(ini, "Jukebox"),
              (Strings{"Artists=Abba,\"The Band\"", "UseArtists=1", "Genres=Rock", "UseGenres=0",
                       "Paths=\"/m/My Music/\"", "UsePaths=1", "UseYear=1", "FromYear=1990", "ToYear=1999",
                       "NotArtist=0", "NotGenres=0", "NotYear=1", "NotPaths=1"}));

    TtagListRules back;
    back.SetPathsAllowed(true);
    back.LoadSettings(ini, "Jukebox");
    EXPECT_EQ(back.Artists().CommaText(), "Abba,\"The Band\"");
    EXPECT_TRUE(back.UseArtists());
    EXPECT_EQ(back.Genres().CommaText(), "Rock");
    EXPECT_FALSE(back.UseGenres());
    EXPECT_EQ(back.Paths().CommaText(), "\"/m/My Music/\"");
    EXPECT_TRUE(back.UsePaths());
    EXPECT_TRUE(back.NotPaths());
    EXPECT_TRUE(back.UseYear());
    EXPECT_EQ(back.FromYear(), 1990u);
    EXPECT_EQ(back.ToYear(), 1999u);
    EXPECT_TRUE(back.NotYear());
    EXPECT_FALSE(back.NotArtist());
}

TEST(TagListRules, WithoutPathsAllowedFolderKeysAreLeftAloneButNotPathsIsWritten)
{
    TIniFile ini("");
    ini.LoadFromText("[PlaylistEditor]\r\nPaths=/m\r\nUsePaths=1\r\nNotPaths=1\r\n");
    TtagListRules rules;
    rules.LoadSettings(ini, "PlaylistEditor");
    EXPECT_EQ(rules.Paths().Count(), 0);
    EXPECT_FALSE(rules.UsePaths());
    EXPECT_FALSE(rules.NotPaths());

    TIniFile out("");
    rules.SaveSettings(out, "PlaylistEditor");
    EXPECT_EQ(SectionLines(out, "PlaylistEditor"),
              (Strings{"Artists=", "UseArtists=0", "Genres=", "UseGenres=0", "UseYear=0", "FromYear=0",
                       "ToYear=9999", "NotArtist=0", "NotGenres=0", "NotYear=0", "NotPaths=0"}));
}

TEST(TagListRules, DamagedSettingsLoadWhatTheyCan)
{
    TIniFile ini("");
    ini.LoadFromText("[Jukebox]\r\n"
                     "Artists=\"Unclosed, quote\r\n"
                     "UseArtists=yes\r\n"
                     "garbage line\r\n"
                     "Genres=Rock,,\"Hip Hop\",Jazz\r\n"
                     "UseGenres=7\r\n"
                     "FromYear=nineteen\r\n"
                     "ToYear=-1\r\n"
                     "UseYear=1\r\n");
    TtagListRules rules;
    rules.LoadSettings(ini, "Jukebox");
    EXPECT_EQ(rules.Artists().Count(), 1);
    EXPECT_FALSE(rules.UseArtists());
    EXPECT_EQ(rules.Genres().CommaText(), "\"\",\"Hip Hop\",Jazz,Rock");
    EXPECT_TRUE(rules.UseGenres());
    EXPECT_EQ(rules.FromYear(), 0u);
    // A stored -1 is the largest year, and is stored as -1 again.
    EXPECT_EQ(rules.ToYear(), 0xFFFFFFFFu);
    EXPECT_TRUE(rules.UseYear());
    TIniFile out("");
    rules.SaveSettings(out, "Jukebox");
    EXPECT_EQ(out.ReadString("Jukebox", "ToYear", ""), "-1");

    // A missing section gives the defaults, ToYear 9999 among them.
    TtagListRules fresh;
    fresh.SetUseGenres(true);
    fresh.LoadSettings(TIniFile(""), "Nowhere");
    EXPECT_FALSE(fresh.UseGenres());
    EXPECT_EQ(fresh.ToYear(), 9999u);
}
