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
