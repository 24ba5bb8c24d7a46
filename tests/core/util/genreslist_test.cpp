#include "core/util/genreslist.h"

#include <gtest/gtest.h>

TEST(GenresList, LooksUpNamesIgnoringCase)
{
    const TgenresList& genres = GenresList();
    EXPECT_EQ(genres.GetCount(), 148);
    EXPECT_EQ(genres.IDOf("Rock"), 17);
    EXPECT_EQ(genres.IDOf("rOCK"), 17);
    EXPECT_EQ(genres.IDOf("Blues"), 0);
    EXPECT_EQ(genres.IDOf("Synthpop"), 147);
    EXPECT_EQ(genres.IDOf(""), 255);
    EXPECT_EQ(genres.IDOf("Ethnic"), 255);
    EXPECT_EQ(genres.IDOf("ethinic"), 48);
    EXPECT_EQ(genres.GetGenre(148), nullptr);
    EXPECT_EQ(genres.GetGenre(-1), nullptr);
    ASSERT_NE(genres.GetGenre(14), nullptr);
    EXPECT_EQ(genres.GetGenre(14)->Name, "R&B");
    EXPECT_EQ(genres.FindByName("drum & bass")->Number, 127);
}

TEST(GenresList, NamesInSortedOrderAndLoadedFlag)
{
    TStringList<const Tgenre> names;
    GenresList().GetNames(names);
    ASSERT_EQ(names.Count(), 148);
    EXPECT_EQ(names[0], "A CAPELLA");
    EXPECT_EQ(names.Objects(0)->Number, 123);
    EXPECT_EQ(names[147], "VOCAL");
    for (int i = 1; i < names.Count(); ++i)
        EXPECT_LT(platform::CompareText(names[i - 1], names[i]), 0);

    TgenresList own;
    EXPECT_EQ(own.GetCount(), 0);
    own.SetLoaded(true);
    EXPECT_EQ(own.GetCount(), 148);
    own.SetLoaded(false);
    EXPECT_EQ(own.GetCount(), 0);
    EXPECT_EQ(own.IDOf("Rock"), 255);
}
