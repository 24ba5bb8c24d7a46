#include "app/windows/stackercartridges.h"
#include "core/songs/audiotaglist.h"
#include "stackerlibrary.h"
#include "support/fakedialogs.h"
#include "support/tempdir.h"

#include "platform/filesystem.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Titles(const TaudioTagListList& lists)
{
    std::vector<std::string> titles;
    for (int i = 0; i < lists.Count(); ++i)
        titles.push_back(lists.GetItem(i)->Title());
    return titles;
}

// A cartridge file of the library's first albums.
std::string WriteCartridge(TstackerCartridges& cartridges, const TcustomJukeboxList& library,
                           const std::string& file, int albums)
{
    TaudioTagPlaylistList lists;
    lists.SetOwnsObjects(true);
    lists.SetListsOwnObjects(true);
    for (int i = 0; i < albums; ++i) {
        auto list = std::make_unique<TaudioTagList>();
        list->CopyFrom(*library.Albums().GetItem(i), true, false);
        list->SetTitle(library.Albums().GetItem(i)->Title());
        lists.Add(list.release());
    }
    lists.SaveToFile(cartridges.FileOf(file));
    return cartridges.FileOf(file);
}

} // namespace

TEST(StackerCartridges, ListsOnlyCartridgeFilesOfTheFolderWithoutTheirExtension)
{
    TstackerLibrary shelf;
    TempDir dir;
    TstackerCartridges cartridges(&shelf.library);
    cartridges.SetFolder(dir.Path());
    EXPECT_TRUE(cartridges.Names().empty());
    dir.Write("Sunday.ctg", "OALL");
    dir.Write("Road Trip.CTG", "OALL");
    dir.Write("notes.txt", "x");
    dir.Write("folder.ctg/inside.ctg", "x");
    std::vector<std::string> names = cartridges.Names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Road Trip", "Sunday"}));
    EXPECT_EQ(cartridges.FileOf("Sunday"), dir.Path() + "/Sunday.ctg");
}

TEST(StackerCartridges, LoadReplacesAddAppendsAndACancelledDialogChangesNothing)
{
    TstackerLibrary shelf;
    TempDir dir;
    TfakeDialogs dialogs;
    TstackerCartridges cartridges(&shelf.library);
    cartridges.SetFolder(dir.Path());
    const std::string three = WriteCartridge(cartridges, shelf.library, "three", 3);
    ASSERT_TRUE(cartridges.AddListToStacker(*shelf.library.Playlists().GetItem(0)));

    dialogs.openAnswers.push_back({three});
    EXPECT_TRUE(cartridges.LoadCartridge(nullptr, true));
    EXPECT_EQ(shelf.Stacker().Count(), 4);
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].kind, "open");
    EXPECT_EQ(dialogs.asked[0].detail, "Stacker Cartridges (*.ctg)|*.ctg");

    EXPECT_FALSE(cartridges.LoadCartridge(nullptr, false)); // cancelled
    EXPECT_EQ(shelf.Stacker().Count(), 4);

    dialogs.openAnswers.push_back({three});
    EXPECT_TRUE(cartridges.LoadCartridge(nullptr, false));
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i)
        expected.push_back(shelf.library.Albums().GetItem(i)->Title());
    std::vector<std::string> titles = Titles(shelf.Stacker());
    std::sort(titles.begin(), titles.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(titles, expected);

    // A cut file keeps the lists read before the cut.
    const std::string bytes = TempDir::Read(three);
    const std::string cut = dir.Write("cut.ctg", bytes.substr(0, bytes.size() - 10));
    EXPECT_FALSE(cartridges.LoadFile(cut, false));
    EXPECT_EQ(shelf.Stacker().Count(), 2);
    EXPECT_FALSE(cartridges.LoadFile(dir.File("missing.ctg"), true));
}

TEST(StackerCartridges, TheGateRefusesEveryCommandBeforeAnyDialog)
{
    TstackerLibrary shelf;
    TempDir dir;
    TfakeDialogs dialogs;
    bool locked = true;
    TstackerCartridges cartridges(&shelf.library, [&locked] { return !locked; });
    cartridges.SetFolder(dir.Path());
    const std::string two = WriteCartridge(cartridges, shelf.library, "two", 2);
    dialogs.openAnswers.push_back({two});
    dialogs.saveAnswers.push_back(dir.File("saved.ctg"));

    EXPECT_FALSE(cartridges.LoadCartridge(nullptr, false));
    EXPECT_FALSE(cartridges.LoadCartridge(nullptr, true));
    EXPECT_FALSE(cartridges.LoadFile(two, false));
    EXPECT_EQ(cartridges.SaveCartridge(nullptr), "");
    EXPECT_FALSE(cartridges.AddListToStacker(*shelf.library.Albums().GetItem(0)));
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(shelf.Stacker().Count(), 0);
    EXPECT_FALSE(platform::FileExists(dir.File("saved.ctg")));

    // Party play switched on while the save dialog was open: nothing is written.
    TstackerCartridges racing(&shelf.library, [&locked, &dialogs] { return dialogs.asked.empty(); });
    racing.SetFolder(dir.Path());
    EXPECT_EQ(racing.SaveCartridge(nullptr), "");
    EXPECT_FALSE(platform::FileExists(dir.File("saved.ctg")));

    locked = false;
    EXPECT_TRUE(cartridges.LoadCartridge(nullptr, false));
    EXPECT_EQ(shelf.Stacker().Count(), 2);
}

TEST(StackerCartridges, AListGoesInAsAnActiveOwningCopyAndWithoutALibraryNothingRuns)
{
    TstackerLibrary shelf;
    TstackerCartridges cartridges(&shelf.library);
    const TaudioTagList& album = *shelf.library.Albums().GetItem(0);
    ASSERT_TRUE(cartridges.AddListToStacker(album));
    const TaudioTagList* copy = shelf.Stacker().GetItem(0);
    EXPECT_EQ(copy->Title(), album.Title());
    EXPECT_TRUE(copy->Active());
    EXPECT_TRUE(copy->OwnsObjects());
    ASSERT_EQ(copy->Count(), album.Count());
    for (int i = 0; i < album.Count(); ++i) {
        EXPECT_NE(copy->GetItem(i), album.GetItem(i));
        EXPECT_EQ(copy->GetItem(i)->Filename(), album.GetItem(i)->Filename());
    }

    TstackerCartridges unlinked(nullptr);
    EXPECT_EQ(unlinked.Stacker(), nullptr);
    EXPECT_FALSE(unlinked.Allowed());
    EXPECT_FALSE(unlinked.AddListToStacker(album));
    {
        TstackerLibrary gone;
        unlinked = TstackerCartridges(&gone.library);
    }
    EXPECT_EQ(unlinked.Stacker(), nullptr);
}
