#include "core/captions/nowplayingtexts.h"

#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"

#include <gtest/gtest.h>

// The album label names the track only for a named album with a track number.
TEST(NowPlayingTexts, AlbumTrackSampleRateAndFileType)
{
    EXPECT_EQ(AlbumTrackText("", 5), "");
    EXPECT_EQ(AlbumTrackText("Blue", 0), "Blue");
    EXPECT_EQ(AlbumTrackText("Blue", 5), "Blue [Track 5]");

    EXPECT_EQ(SampleRateText(44100), "44.1kHz");
    EXPECT_EQ(SampleRateText(8000), "8.0kHz");
    EXPECT_EQ(SampleRateText(0), "0.0kHz");

    EXPECT_EQ(FileTypeText("/music/a.wav"), "WAV");
    EXPECT_EQ(FileTypeText("/music/a.b/song"), "") << "a dot in a folder name is no extension";
    EXPECT_EQ(FileTypeText("/music/song"), "");
    EXPECT_EQ(FileTypeText("/music/a.abcdefghijklmnopqrstuvwxyz"), "ABCDEFGHIJKLMNOPQRST");
}

TEST(NowPlayingTexts, CountPanelsAndTheTrackLength)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    for (const std::uint32_t seconds : {3000u, 725u}) {
        auto* song = new TaudioTag;
        song->SetDuration(seconds);
        list.Add(song);
    }
    const TlistDetailsTexts library = ListDetailsTexts(&list);
    EXPECT_EQ(library.Count, "2");
    EXPECT_EQ(library.Duration, "1:02:05");
    EXPECT_EQ(ListDetailsTexts(nullptr).Count, "0");
    EXPECT_EQ(ListDetailsTexts(nullptr).Duration, "0:00:00");

    // The queue counts only while it is active, in minutes without a limit.
    list.SetActive(false);
    EXPECT_EQ(QueueDetailsTexts(&list).Count, "0");
    EXPECT_EQ(QueueDetailsTexts(&list).Duration, "0:00");
    list.SetActive(true);
    EXPECT_EQ(QueueDetailsTexts(&list).Count, "2");
    EXPECT_EQ(QueueDetailsTexts(&list).Duration, "62:05");
    auto* marathon = new TaudioTag;
    marathon->SetDuration(3'000'000'000u); // past the signed range
    list.Add(marathon);
    EXPECT_EQ(QueueDetailsTexts(&list).Duration, "50000062:05");

    EXPECT_EQ(TrackLengthMs(200'000), 200'000);
    EXPECT_EQ(TrackLengthMs(0xFFFFFFFFu), 0) << "an unknown length";
}
