#include "core/songs/audiotaglist.h"
#include "core/songs/randompointerlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

void Fill(TaudioTagList& list, int n)
{
    list.SetOwnsObjects(true);
    for (int i = 0; i < n; ++i) {
        auto s = std::make_unique<TaudioTag>();
        s->SetTitle(std::to_string(i + 1));
        list.Add(s.release());
    }
}

std::string Play(TaudioTagList& list, int calls)
{
    std::string out;
    for (int i = 0; i < calls; ++i) {
        const TaudioTag* s = list.NextTag();
        out += s ? s->Title() : "-";
    }
    return out;
}

} // namespace

TEST(RandomPointerList, FillShufflesClearAndExtract)
{
    TaudioTag songs[5];
    std::vector<TaudioTag*> items;
    for (TaudioTag& s : songs)
        items.push_back(&s);
    TrandomPointerList r;
    int changes = 0;
    r.OnChange = [&](TrandomPointerList* sender) {
        EXPECT_EQ(sender, &r);
        ++changes;
    };
    std::set<std::vector<TaudioTag*>> orders;
    for (int i = 0; i < 50; ++i) {
        r.Fill(items);
        std::vector<TaudioTag*> got;
        for (int k = 0; k < r.GetCount(); ++k)
            got.push_back(r.GetItem(k));
        orders.insert(got);
        std::sort(got.begin(), got.end());
        ASSERT_EQ(got, (std::vector<TaudioTag*>{&songs[0], &songs[1], &songs[2], &songs[3], &songs[4]}));
    }
    EXPECT_GT(orders.size(), 20u);
    EXPECT_EQ(changes, 50);

    EXPECT_EQ(r.GetItem(5), nullptr);
    EXPECT_EQ(r.GetItem(-1), nullptr);
    EXPECT_EQ(r.Extract(5), nullptr);
    TaudioTag* first = r.GetItem(0);
    EXPECT_EQ(r.Extract(0), first);
    EXPECT_EQ(r.GetCount(), 4);
    EXPECT_EQ(changes, 50); // no change step

    r.BeginUpdate();
    r.Clear();
    EXPECT_EQ(changes, 50);
    r.EndUpdate();
    EXPECT_EQ(changes, 51);
    r.EndUpdate(); // not below 0
    EXPECT_EQ(changes, 52);
    r.Clear();
    EXPECT_EQ(r.GetCount(), 0);
}

TEST(PlayOrder, ListOrderWithAndWithoutLoop)
{
    TaudioTagList list;
    Fill(list, 3);
    EXPECT_EQ(list.CurrentTag(), nullptr); // inactive
    EXPECT_EQ(list.NextTag(), nullptr);
    list.SetActive(true);
    EXPECT_EQ(Play(list, 4), "1231");
    EXPECT_EQ(list.CurrentTag(), list.CurrentTag());

    list.SetLoop(false);
    EXPECT_FALSE(list.GetLoop());
    list.ResetPosition();
    EXPECT_EQ(Play(list, 5), "123--");
    list.ResetPosition();
    EXPECT_EQ(Play(list, 1), "1");

    TaudioTagList empty;
    empty.SetActive(true);
    EXPECT_EQ(empty.CurrentTag(), nullptr);
}

TEST(PlayOrder, RandomPassesAndResets)
{
    TaudioTagList list;
    Fill(list, 3);
    list.SetActive(true);
    list.SetRandom(true);
    list.SetLoop(false); // a new pass starts anyway
    EXPECT_TRUE(list.GetRandom());
    for (int pass = 0; pass < 5; ++pass) {
        std::string p = Play(list, 3);
        std::sort(p.begin(), p.end());
        EXPECT_EQ(p, "123");
    }
    EXPECT_EQ(list.CurrentTag(), list.CurrentTag());

    // Adding in the middle of a pass starts a fresh one over every song.
    Play(list, 2);
    auto s = std::make_unique<TaudioTag>();
    s->SetTitle("4");
    list.Add(s.release());
    EXPECT_EQ(list.RandomList().GetCount(), 4);
    std::string p = Play(list, 4);
    std::sort(p.begin(), p.end());
    EXPECT_EQ(p, "1234");
}

TEST(PlayOrder, ActivationAndModes)
{
    TaudioTagList list;
    Fill(list, 3);
    int modes = 0;
    int actives = 0;
    list.OnModeChanged = [&](TaudioTagList*) { ++modes; };
    list.OnActiveChanged = [&](TaudioTagList*) { ++actives; };
    list.SetActive(true);
    EXPECT_EQ(actives, 1);
    Play(list, 2);
    list.SetActive(true); // without the reset flag it continues
    EXPECT_EQ(Play(list, 1), "3");
    list.SetResetOnActivate(true);
    EXPECT_TRUE(list.GetResetOnActivate());
    EXPECT_EQ(modes, 1);
    Play(list, 1);
    list.SetActive(false);
    EXPECT_EQ(list.CurrentTag(), nullptr);
    list.SetActive(true);
    EXPECT_EQ(actives, 4);
    EXPECT_EQ(Play(list, 1), "1");
    list.Activate(); // no event
    EXPECT_EQ(actives, 4);
    EXPECT_EQ(list.Position(), 0);

    Play(list, 2);
    list.MoveUp(1); // any change resets the position
    EXPECT_EQ(list.Position(), 0);
    list.SetPlayMode(lmRandom);
    EXPECT_EQ(modes, 2);
    EXPECT_FALSE(list.GetLoop());
}
