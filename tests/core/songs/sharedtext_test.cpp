#include "support/testsongs.h"

#include "core/songs/sharedtext.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

TEST(SharedText, SongsShareAValueYetChangeOnTheirOwn)
{
    auto first = Song("Band", "One", "Album");
    auto second = Song("Band", "Two", "Album");
    EXPECT_EQ(&first->Artist(), &second->Artist()); // one copy
    second->SetArtist("Other");
    EXPECT_EQ(first->Artist(), "Band");
    EXPECT_EQ(second->Artist(), "Other");
    const std::unique_ptr<TaudioTag> copy = first->Clone();
    first.reset();
    EXPECT_EQ(copy->Artist(), "Band"); // the value outlives the song that made it
    EXPECT_EQ(copy->Album(), "Album");
    copy->SetAlbum("");
    EXPECT_EQ(copy->Album(), "");
    EXPECT_FALSE(Song("", "x")->HasArtist());

    TsharedText a("text");
    TsharedText b(a);
    TsharedText c;
    c = std::move(b);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(c.Get(), "text");
    c = c;
    a = TsharedText();
    EXPECT_EQ(c.Get(), "text");
}

// Scans fill songs on worker threads while the library holds the same values.
TEST(SharedText, ThreadsMakeAndDropTheSameValues)
{
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            std::vector<TsharedText> held;
            for (int i = 0; i < 5000; ++i) {
                held.emplace_back("Artist " + std::to_string(i % 7));
                if (i % 3 == t % 3)
                    held.erase(held.begin());
            }
            for (const TsharedText& text : held)
                ASSERT_EQ(text.Get().rfind("Artist ", 0), 0u);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(TsharedText("Artist 3").Get(), "Artist 3");
}

// Thousands of values made and dropped in every order: a value still held is found again (one copy), one
// dropped comes back as a new copy of the same text.
TEST(SharedText, ValuesComeAndGoInAnyOrderAndKeepOneCopyEach)
{
    std::vector<std::string> texts;
    for (int i = 0; i < 6000; ++i)
        texts.push_back("/music/Folder " + std::to_string(i * 7919 % 6007) + "/");
    std::vector<TsharedText> held;
    for (const std::string& text : texts)
        held.emplace_back(text);
    for (int round = 0; round < 3; ++round) {
        for (std::size_t i = round; i < held.size(); i += 3 + round)
            held[i] = TsharedText();
        int copies = 0;
        for (std::size_t i = 0; i < held.size(); ++i)
            copies += !held[i].Empty() && !(TsharedText(texts[i]) == held[i]) ? 1 : 0;
        EXPECT_EQ(copies, 0);
        for (std::size_t i = 0; i < held.size(); ++i) {
            if (held[i].Empty())
                held[i] = TsharedText(texts[i]);
            EXPECT_EQ(held[i].Get(), texts[i]);
        }
    }
    EXPECT_FALSE(TsharedText("a") == TsharedText("b"));
    EXPECT_TRUE(TsharedText() == TsharedText(""));
}
