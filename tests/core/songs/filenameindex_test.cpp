#include "support/testsongs.h"

#include "core/songs/filenameindex.h"
#include "platform/textcompare.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::unique_ptr<TaudioTag> File(const std::string& name, const std::string& title)
{
    auto s = Song("A", title);
    s->SetFilename(name);
    return s;
}

} // namespace

TEST(FileNameIndex, LinksTheFirstSongOfEachNameAndFindsNamesIgnoringCase)
{
    // The locale must not move the order lookups rely on.
    const platform::TcollationLocaleScope german("de_DE");
    std::vector<std::unique_ptr<TaudioTag>> songs;
    songs.push_back(File("/m/Zed.mp3", "z"));
    songs.push_back(File("/m/\xC3\x84rger.mp3", "first"));
    songs.push_back(File("/m/a.mp3", "a"));
    songs.push_back(File("/M/\xC3\xA4RGER.MP3", "second"));
    std::vector<TaudioTag*> links;
    for (const auto& s : songs)
        links.push_back(s.get());

    TfileNameIndex index;
    index.Rebuild(links);
    ASSERT_EQ(index.Count(), 3);
    EXPECT_EQ(index[0], "/m/a.mp3");
    EXPECT_EQ(index[2], "/m/\xC3\x84rger.mp3");
    EXPECT_EQ(index.Objects(2), songs[1].get()); // a link to the song, never a copy
    EXPECT_EQ(index.Find("/M/\xC3\xA4rger.mp3"), songs[1].get());
    EXPECT_EQ(index.IndexOf("/m/ZED.mp3"), 1);
    EXPECT_EQ(index.IndexOf("/m/Arger.mp3"), -1);
    EXPECT_EQ(index.Find(""), nullptr);

    // Names that tie in their first bytes after the shared folder, or end inside them, keep the folded
    // names' order.
    std::vector<std::unique_ptr<TaudioTag>> deep;
    for (const char* name :
         {"/m/Artist Name/2/b.mp3", "/m/Artist Name/Long Album Title Here/2.mp3", "/m/Artist Name/10/a.mp3",
          "/m/artist name/1/A.mp3", "/m/Artist Nam", "/m/Artist Name/", "/m/Artist Name/1/a.mp3",
          "/m/Artist Named/1.mp3", "/m/ARTIST NAME/LONG ALBUM TITLE HERE/2.MP3", "/m/ARTIST NAME/2/B.MP3",
          "/m/Artist Name/Long Album Title Here/10.mp3", "/m/Artist Name/1/a.mp3x",
          "/m/Artist Name/Long Album Title Here", "/x/B.mp3", "/x/a/c.mp3", "/x/a b/c", "/x/A/b", "/x/0"})
        deep.push_back(File(name, name));
    std::vector<TaudioTag*> deepLinks;
    for (const auto& s : deep)
        deepLinks.push_back(s.get());
    index.Rebuild(deepLinks);
    std::vector<std::string> names;
    for (int i = 0; i < index.Count(); ++i)
        names.push_back(index[i]);
    EXPECT_EQ(names,
              (std::vector<std::string>{
                  "/m/Artist Nam", "/m/Artist Name/", "/m/artist name/1/A.mp3", "/m/Artist Name/1/a.mp3x",
                  "/m/Artist Name/10/a.mp3", "/m/Artist Name/2/b.mp3", "/m/Artist Name/Long Album Title Here",
                  "/m/Artist Name/Long Album Title Here/10.mp3", "/m/Artist Name/Long Album Title Here/2.mp3",
                  "/m/Artist Named/1.mp3", "/x/0", "/x/a b/c", "/x/A/b", "/x/a/c.mp3", "/x/B.mp3"}));
    EXPECT_EQ(index.Find("/m/ARTIST NAME/1/A.MP3"), deep[3].get()); // the first of a name
    EXPECT_EQ(index.Find("/m/artist name/long album title here/2.mp3"), deep[1].get());
    // A name is found whole, wherever its folder ends.
    EXPECT_EQ(index.Find("/X/b.MP3"), deep[13].get());
    EXPECT_EQ(index.Find("/x/a/b"), deep[16].get());
    EXPECT_EQ(index.IndexOf("/x/a"), -1);
    EXPECT_EQ(index.IndexOf("/x/a/"), -1);
    EXPECT_EQ(index.IndexOf("/x/a/c.mp"), -1);

    index.Rebuild(links);
    // A copy keeps what it was copied from, whatever becomes of the original.
    const TfileNameIndex copy = index;
    links.erase(links.begin() + 1);
    index.Rebuild(links);
    EXPECT_EQ(index.Find("/m/\xC3\x84rger.mp3"), songs[3].get());
    index.Clear();
    EXPECT_TRUE(index.Empty());
    EXPECT_EQ(index.Find("/m/a.mp3"), nullptr);
    ASSERT_EQ(copy.Count(), 3);
    EXPECT_EQ(copy.Find("/m/\xC3\x84rger.mp3"), songs[1].get());
}

// A large library in no order sorts in buckets and runs that tie at several depths: the index must hold
// exactly what a plain stable sort of the folded names, keeping the first song of each name, holds.
TEST(FileNameIndex, ManyShuffledNamesTyingAtSeveralDepthsSortAsAPlainSortDoes)
{
    std::vector<std::unique_ptr<TaudioTag>> songs;
    for (int i = 0; i < 17000; ++i) { // more than sort in one piece
        const int j = i % 8000;       // most names twice, in other cases
        const int artist = j % 97;
        const std::string name = "/home/user/Music/" + std::string(j % 3 == 0 ? "The " : "") +
                                 static_cast<char>('A' + artist % 26) + std::to_string(artist) +
                                 " Artist With A Long Name/Album Title Longer Than Sixteen " +
                                 std::to_string(j % 7) + "/" + std::to_string(j) +
                                 (i % 7 == 0 ? ".MP3" : ".mp3");
        songs.push_back(File(i % 5 == 0 ? platform::UpperCase(name) : name, std::to_string(i)));
    }
    std::vector<TaudioTag*> links;
    for (std::size_t k = 0; k < songs.size(); ++k)
        links.push_back(songs[k * 7919 % songs.size()].get());
    std::vector<TaudioTag*> expected = links;
    std::stable_sort(expected.begin(), expected.end(), [](const TaudioTag* a, const TaudioTag* b) {
        return platform::FoldKey(a->Filename()) < platform::FoldKey(b->Filename());
    });
    expected.erase(std::unique(expected.begin(), expected.end(),
                               [](const TaudioTag* a, const TaudioTag* b) {
                                   return platform::FoldKey(a->Filename()) ==
                                          platform::FoldKey(b->Filename());
                               }),
                   expected.end());

    TfileNameIndex index;
    index.Rebuild(links);
    std::vector<TaudioTag*> got;
    for (int i = 0; i < index.Count(); ++i)
        got.push_back(index.Objects(i));
    EXPECT_EQ(got, expected);
    EXPECT_LT(expected.size(), links.size()); // some names come twice
}
