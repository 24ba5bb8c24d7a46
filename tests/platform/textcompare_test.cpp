#include "platform/textcompare.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <sys/resource.h>
#include <vector>

using namespace platform;

// The C locale (the tests' default) orders by case-folded code points, ASCII and UTF-8 alike.
TEST(TextCompare, FoldsCaseAndOrdersByCodePoint)
{
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_LT(CompareText("abc", "abd"), 0);
    EXPECT_GT(CompareText("abcd", "ABC"), 0);
    EXPECT_LT(CompareText("", "a"), 0);
    // Folding goes to lower case, so '_' (0x5F) sorts before letters.
    EXPECT_LT(CompareText("_x", "a"), 0);
    EXPECT_EQ(CompareText("ÉDITH", "édith"), 0);
    EXPECT_EQ(CompareText("Straße", "STRASSE") != 0, true); // simple folding only
    EXPECT_GT(CompareText("é", "z"), 0);
    EXPECT_TRUE(SameText("Björk", "BJÖRK"));
    EXPECT_FALSE(SameText("a", "b"));
    EXPECT_NE(CompareStr("a", "A"), 0);
}

TEST(TextCompare, InvalidUtf8ComparesAsBytes)
{
    const std::string bad1 = "a\xff";
    const std::string bad2 = "a\xfe";
    EXPECT_GT(CompareText(bad1, bad2), 0);
    EXPECT_EQ(CompareText(bad1, bad1), 0);
    EXPECT_GT(CompareText("a\xc3", "a"), 0); // truncated sequence
}

TEST(TextCompare, CaseAndSearchHelpers)
{
    EXPECT_EQ(UpperCase("rock & roll"), "ROCK & ROLL");
    EXPECT_EQ(UpperCase("björk"), "BJÖRK");
    EXPECT_EQ(LowerCase("ÉTÉ"), "été");
    EXPECT_EQ(Trim("  x y \t"), "x y");
    EXPECT_EQ(FindText("The Beatles", "beat"), 4u);
    EXPECT_EQ(FindText("Café Noir", "NOIR"), 6u); // byte offset
    EXPECT_EQ(FindText("abc", "x"), std::string::npos);
    EXPECT_TRUE(StartsText("THE ", "The Who"));
    EXPECT_TRUE(StartsText("ÉD", "édith"));
    EXPECT_FALSE(StartsText("The Who!", "The Who"));
}

TEST(TextCompare, FoldKeyAgreesWithSameTextAndCompareFolded)
{
    const std::vector<std::string> texts = {"",
                                            "a",
                                            "A",
                                            "abc",
                                            "ABD",
                                            "ab",
                                            "The Band",
                                            "the band",
                                            "\xC3\x9C"
                                            "ber",
                                            "\xC3\xBC"
                                            "BER",
                                            "Stra\xC3\x9F"
                                            "e",
                                            "\xE2\x84\xAA"
                                            "elvin",
                                            "kelvin",
                                            "x\xFFy",
                                            "x\xFEy",
                                            "x\xC3",
                                            "\xF4\x90\x82\x80",
                                            "~",
                                            "[Z]",
                                            std::string("\0a", 2),
                                            "\xC0\x80"
                                            "a"};
    // Behind a long shared start too (a folder's path), which the comparison skips as bytes: the texts'
    // own first characters may then share a lead byte.
    for (const std::string start : {"", "/home/user/Music/Bj\xC3\xB6rk/"}) {
        for (const std::string& textA : texts) {
            for (const std::string& textB : texts) {
                const std::string a = start + textA;
                const std::string b = start + textB;
                const std::string ka = platform::FoldKey(a);
                const std::string kb = platform::FoldKey(b);
                EXPECT_EQ(ka == kb, platform::SameText(a, b)) << a << " / " << b;
                const int order = ka.compare(kb);
                EXPECT_EQ(order < 0   ? -1
                          : order > 0 ? 1
                                      : 0,
                          platform::CompareFolded(a, b))
                    << a << " / " << b;
            }
        }
    }
    std::string key = "left over";
    platform::FoldKey("MiXeD", key);
    EXPECT_EQ(key, "mixed");
}

TEST(TextCompare, OrderFollowsTheLocaleIgnoringCase)
{
    EXPECT_GT(CompareText("\xC3\x89"
                          "coute",
                          "Zed"),
              0); // C: code points, so accents after every letter
    for (const char* locale : {"fr_FR", "de_DE"}) {
        const TcollationLocaleScope scope(locale);
        EXPECT_EQ(CollationLocale(), locale);
        EXPECT_LT(CompareText("\xC3\x89"
                              "coute",
                              "Zed"),
                  0)
            << locale;
        EXPECT_LT(CompareText("ecoute", "\xC3\x89"
                                        "coute"),
                  0)
            << locale; // the accent still counts
        EXPECT_LT(CompareText("\xC3\x89"
                              "coute",
                              "Ecouter"),
                  0)
            << locale;
        EXPECT_EQ(CompareText("\xC3\xA9"
                              "COUTE",
                              "\xC3\x89"
                              "coute"),
                  0)
            << locale;
        EXPECT_EQ(CompareText("ABBA", "abba"), 0) << locale;
        EXPECT_LT(CompareText("10", "9"), 0) << locale; // numbers by their characters
        EXPECT_GT(CompareText("Zed", "\xC3\xA4pfel"), 0) << locale;
        // Texts the collation cannot tell apart still have an order, and only SameText texts compare 0.
        EXPECT_NE(CompareText("a\xFF", "a\xFE"), 0) << locale;
        EXPECT_EQ(CompareText("a\xFF", "a\xFE"), -CompareText("a\xFE", "a\xFF")) << locale;
    }
    EXPECT_EQ(CollationLocale(), "C"); // the scope put the tests' locale back
}

TEST(TextCompare, RanksAgreeWithCompareText)
{
    const std::vector<std::string> texts = {"",
                                            "a",
                                            "A",
                                            "Zed",
                                            "zed",
                                            "\xC3\x89"
                                            "coute",
                                            "ecoute",
                                            "Ecoute",
                                            "\xC3\xA9"
                                            "COUTE",
                                            "10",
                                            "9",
                                            "The Band",
                                            "the-band",
                                            "[x]",
                                            "a\xFF",
                                            "a\xFE",
                                            "\xF0\x9F\x8E\xB5",
                                            "Zed"};
    // Many repeats, in every case, find each other in the ranks' table of distinct texts; the distinct ones
    // are more than either ranking sorts in one piece.
    std::vector<std::string> many;
    for (int i = 0; i < 17000; ++i) {
        std::string text = (i % 3 == 0 ? "The " : "") + std::to_string(i % 2 == 0 ? (i * 7919) % 401 : i);
        if (i % 5 == 0)
            text += "\xC3\xA9";
        many.push_back(i % 2 == 0 ? text : platform::UpperCase(text));
    }
    for (const char* locale : {"C", "fr_FR", "en_US"}) {
        const TcollationLocaleScope scope(locale);
        const std::vector<std::string_view> manyViews(many.begin(), many.end());
        const std::vector<std::uint32_t> manyRanks = TextOrderRanks(manyViews);
        std::vector<std::size_t> order(many.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return CompareText(many[a], many[b]) < 0; });
        for (std::size_t k = 1; k < order.size(); ++k) {
            const std::size_t a = order[k - 1];
            const std::size_t b = order[k];
            EXPECT_EQ(manyRanks[a] == manyRanks[b], CompareText(many[a], many[b]) == 0)
                << many[a] << " / " << many[b];
            EXPECT_LE(manyRanks[a], manyRanks[b]) << many[a] << " / " << many[b];
        }

        const std::vector<std::string_view> views(texts.begin(), texts.end());
        const std::vector<std::uint32_t> ranks = TextOrderRanks(views);
        ASSERT_EQ(ranks.size(), texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) {
            for (std::size_t j = 0; j < texts.size(); ++j) {
                const int c = CompareText(texts[i], texts[j]);
                EXPECT_EQ(ranks[i] < ranks[j], c < 0) << locale << ": " << texts[i] << " / " << texts[j];
                EXPECT_EQ(ranks[i] == ranks[j], c == 0) << locale << ": " << texts[i] << " / " << texts[j];
                if (c == 0) {
                    EXPECT_TRUE(SameText(texts[i], texts[j])) << texts[i] << " / " << texts[j];
                }
            }
        }
    }
}

#if !defined(__SANITIZE_ADDRESS__) // the sanitizer's own reservations need the address space left open
// A collating ranking of many texts keys them on helper threads. Where no thread can be started (here: no
// address space left for a thread's stack), it still ranks them all, on the calling thread.
TEST(TextCompare, RanksWithoutHelperThreads)
{
    std::vector<std::string> texts;
    for (int i = 0; i < 20000; ++i)
        texts.push_back("Song " + std::to_string(i * 7919 % 20000));
    const std::vector<std::string_view> views(texts.begin(), texts.end());
    const auto rankInTightSpace = [&views] {
        const TcollationLocaleScope scope("en_US");
        TextOrderRanks({"warm", "up"}); // the collation's data is loaded while there is room
        std::ifstream status("/proc/self/status");
        std::string line;
        rlim_t used = 0;
        while (std::getline(status, line))
            if (line.rfind("VmSize:", 0) == 0)
                used = static_cast<rlim_t>(std::stoull(line.substr(7))) * 1024;
        const rlimit tight{used + (4u << 20), used + (4u << 20)};
        if (used == 0 || ::setrlimit(RLIMIT_AS, &tight) != 0)
            std::exit(2);
        const std::vector<std::uint32_t> ranks = TextOrderRanks(views);
        // The texts are distinct: each pair of neighbours ranks as it compares.
        for (std::size_t i = 0; i + 1 < views.size(); ++i)
            if ((ranks[i] < ranks[i + 1]) != (CompareText(views[i], views[i + 1]) < 0))
                std::exit(1);
        std::exit(0);
    };
    EXPECT_EXIT(rankInTightSpace(), ::testing::ExitedWithCode(0), "");
}
#endif
