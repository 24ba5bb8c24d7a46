#include "standin/standinplaylist.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

TEST(StandinPlaylist, ExtendedHandOverFile)
{
    TempDir dir;
    // What the jukebox writes: a dummy entry, then the song, CR LF line ends.
    const std::string m3u = dir.Write("winamp.m3u", "#EXTM3U\r\n"
                                                    "#EXTINF:0,Dummy Entry\r\n"
                                                    "DoesNotExist\r\n"
                                                    "#EXTINF:200,Artist - Title\r\n"
                                                    "/music/Artist/Title.wav\r\n");
    TstandinPlaylist list;
    ASSERT_TRUE(list.Append(m3u));
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.At(0).fileName, dir.File("DoesNotExist"));
    EXPECT_EQ(list.At(0).title, "Dummy Entry");
    EXPECT_EQ(list.At(0).seconds, 0);
    EXPECT_EQ(list.At(1).fileName, "/music/Artist/Title.wav");
    EXPECT_EQ(list.At(1).title, "Artist - Title");
    EXPECT_EQ(list.At(1).seconds, 200);

    ASSERT_TRUE(list.Append(m3u));
    EXPECT_EQ(list.Count(), 4) << "a second hand-over appends";
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(StandinPlaylist, PlainListsFilesAndOddLines)
{
    TempDir dir;
    const std::string m3u = dir.Write("sub/list.M3U8", "\xEF\xBB\xBF"
                                                       "first.wav\n"
                                                       "\n"
                                                       "   \r\n"
                                                       "# a comment\n"
                                                       "#EXTINF:abc\n"
                                                       "deeper/second.wav\n"
                                                       "#EXTINF:-1,\n"
                                                       "http://radio.example/stream\n"
                                                       "/abs/third.wav");
    TstandinPlaylist list;
    ASSERT_TRUE(list.Append(m3u));
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.At(0).fileName, dir.File("sub/first.wav"));
    EXPECT_EQ(list.At(0).seconds, -1);
    EXPECT_EQ(list.At(1).fileName, dir.File("sub/deeper/second.wav"));
    EXPECT_EQ(list.At(1).seconds, -1) << "an EXTINF without a number gives no length";
    EXPECT_EQ(list.At(2).fileName, "http://radio.example/stream");
    EXPECT_EQ(list.At(3).fileName, "/abs/third.wav");
    EXPECT_EQ(list.At(3).title, "") << "an EXTINF describes only the next entry";

    ASSERT_TRUE(list.Append(dir.File("song.wav")));
    EXPECT_EQ(list.At(4).fileName, dir.File("song.wav"))
        << "a song file is an entry, whether it exists or not";
    EXPECT_FALSE(list.Append(dir.File("missing.m3u")));
    EXPECT_FALSE(list.Append(""));
    EXPECT_EQ(list.Count(), 5);
    EXPECT_TRUE(TstandinPlaylist::IsPlaylistFile("A.m3u"));
    EXPECT_FALSE(TstandinPlaylist::IsPlaylistFile("m3u"));
}

TEST(StandinPlaylist, LinesNoFileCanHaveAndEntriesPastTheLimitAreLeftOut)
{
    TempDir dir;
    std::string m3u = "/" + std::string(TstandinPlaylist::kMaxNameBytes, 'n') + "\n/short.wav\n";
    for (int i = 1; i < TstandinPlaylist::kMaxEntries; ++i)
        m3u += "song.wav\n";
    TstandinPlaylist list;
    ASSERT_TRUE(list.Append(dir.Write("full.m3u", m3u)));
    ASSERT_EQ(list.Count(), TstandinPlaylist::kMaxEntries);
    EXPECT_EQ(list.At(0).fileName, "/short.wav") << "a name too long to open is passed over";

    EXPECT_FALSE(list.Append(dir.File("song.wav")));
    EXPECT_FALSE(list.Append(dir.Write("one.m3u", "one.wav\n"))) << "a full list leaves the entry out";
    EXPECT_EQ(list.Count(), TstandinPlaylist::kMaxEntries);
}
