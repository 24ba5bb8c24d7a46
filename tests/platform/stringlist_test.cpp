#include "platform/stringlist.h"

#include <gtest/gtest.h>

TEST(StringList, SortedCaseInsensitiveIgnoresDuplicates)
{
    TStringList<int> list;
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupIgnore);
    int a = 1, b = 2, c = 3;
    EXPECT_EQ(list.AddObject("beta", &b), 0);
    EXPECT_EQ(list.AddObject("Alpha", &a), 0);
    EXPECT_EQ(list.AddObject("gamma", &c), 2);
    EXPECT_EQ(list.AddObject("ALPHA", &c), 0); // ignored, index of the existing one
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[0], "Alpha");
    EXPECT_EQ(list.Objects(0), &a);
    EXPECT_EQ(list.IndexOf("GAMMA"), 2);
    EXPECT_EQ(list.IndexOf("delta"), -1);
    int at = -1;
    EXPECT_FALSE(list.Find("c", at));
    EXPECT_EQ(at, 2);
}

TEST(StringList, DuplicatesErrorAndAcceptFindFirst)
{
    TStrings list;
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupError);
    list.Add("x");
    EXPECT_THROW(list.Add("X"), EOrvaneError);

    TStrings accept;
    accept.SetSorted(true);
    for (const char* s : {"b", "a", "b", "B", "c"})
        accept.Add(s);
    int at = -1;
    ASSERT_TRUE(accept.Find("b", at));
    EXPECT_EQ(at, 1);
    EXPECT_EQ(accept.Count(), 5);
}

TEST(StringList, CommaTextQuotesAndSplits)
{
    TStrings list;
    for (const char* s : {"plain", "two words", "a,b", "say \"hi\"", ""})
        list.Add(s);
    EXPECT_EQ(list.CommaText(), "plain,\"two words\",\"a,b\",\"say \"\"hi\"\"\",\"\"");

    TStrings back;
    back.SetCommaText(list.CommaText());
    ASSERT_EQ(back.Count(), 5);
    EXPECT_EQ(back[1], "two words");
    EXPECT_EQ(back[2], "a,b");
    EXPECT_EQ(back[3], "say \"hi\"");
    EXPECT_EQ(back[4], "");

    back.SetCommaText("one two,three , \"four\"");
    ASSERT_EQ(back.Count(), 4);
    EXPECT_EQ(back[0], "one");
    EXPECT_EQ(back[1], "two");
    EXPECT_EQ(back[2], "three");
    EXPECT_EQ(back[3], "four");

    back.SetCommaText("");
    EXPECT_EQ(back.Count(), 0);
}

TEST(StringList, NameValueLines)
{
    TStrings list;
    list.SetText("Beatles=The Beatles\r\nno equals\nStones=Rolling Stones\n");
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Values("beatles"), "The Beatles");
    EXPECT_EQ(list.Names(2), "Stones");
    EXPECT_EQ(list.ValueFromIndex(2), "Rolling Stones");
    EXPECT_EQ(list.IndexOfName("no equals"), -1);
    list.SetValue("STONES", "Stones");
    EXPECT_EQ(list[2], "STONES=Stones");
    list.SetValue("Stones", "");
    EXPECT_EQ(list.Count(), 2);
    list.SetValue("Who", "The Who");
    EXPECT_EQ(list[2], "Who=The Who");
}

TEST(StringList, UpdateCountingFiresOnceAndOwnsObjects)
{
    struct Counted
    {
        int* deaths;
        ~Counted() { ++*deaths; }
    };
    int deaths = 0;
    int changes = 0;
    {
        TStringList<Counted> list;
        list.SetOwnsObjects(true);
        list.OnChange = [&](auto*) { ++changes; };
        list.BeginUpdate();
        list.BeginUpdate();
        list.AddObject("a", new Counted{&deaths});
        list.AddObject("b", new Counted{&deaths});
        list.EndUpdate();
        EXPECT_EQ(changes, 0);
        list.EndUpdate();
        EXPECT_EQ(changes, 1);
        list.EndUpdate(); // never below zero
        EXPECT_EQ(list.UpdateCount(), 0);
        list.Delete(0);
        EXPECT_EQ(deaths, 1);
        Counted* kept = list.Extract(0);
        EXPECT_EQ(deaths, 1);
        delete kept;
        list.AddObject("c", new Counted{&deaths});
    }
    EXPECT_EQ(deaths, 3);
}

TEST(StringList, CustomSortSeesIndexes)
{
    TStrings list;
    for (const char* s : {"10", "9", "100"})
        list.Add(s);
    list.CustomSort([](const TStrings& l, int a, int b) { return std::stoi(l[a]) - std::stoi(l[b]); });
    EXPECT_EQ(list.CommaText(), "9,10,100");
}

TEST(StringList, SortedListsFollowTheLocale)
{
    const platform::TcollationLocaleScope french("fr_FR");
    TStrings list;
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupIgnore);
    for (const char* name : {"Zed",
                             "\xC3\x89"
                             "coute",
                             "apple",
                             "\xC3\xA9"
                             "COUTE",
                             "Bach"})
        list.Add(name);
    EXPECT_EQ(list.Text(), "apple\nBach\n\xC3\x89"
                           "coute\nZed\n");
    EXPECT_EQ(list.IndexOf("\xC3\xA9"
                           "coute"),
              2);
    EXPECT_EQ(list.IndexOf("ecoute"), -1);

    // Bulk filling: one sort, the first of equal names in the appended order stays.
    TStrings bulk;
    bulk.SetDuplicates(TDuplicates::dupIgnore);
    for (const char* name : {"Zed",
                             "\xC3\xA9"
                             "coute",
                             "Bach",
                             "\xC3\x89"
                             "COUTE",
                             "bach"})
        bulk.Add(name);
    bulk.SortUnique();
    EXPECT_EQ(bulk.Text(), "Bach\n\xC3\xA9"
                           "coute\nZed\n");
    int at = 0;
    EXPECT_TRUE(bulk.Find("ZED", at));
    EXPECT_EQ(at, 2);

    // Equal names keep their order through a sort.
    TStrings accepting;
    accepting.Add("b");
    accepting.Add("A");
    accepting.Add("a");
    accepting.Sort();
    EXPECT_EQ(accepting.Text(), "A\na\nb\n");
}
