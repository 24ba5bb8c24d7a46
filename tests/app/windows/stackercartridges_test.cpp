#include "app/windows/stackercartridges.h"
#include "core/songs/audiotaglist.h"
#include "platform/filesystem.h"
#include "stackerlibrary.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A cartridge file of the library's first albums; the stacker is left empty.
std::string WriteCartridge(TstackerCartridges& cartridges, const TcustomJukeboxList& library,
                           const std::string& name, int albums)
{
    for (int i = 0; i < albums; ++i)
        cartridges.AddListToStacker(*library.Albums().GetItem(i));
    cartridges.Stacker()->SaveToFile(cartridges.FileOf(name));
    cartridges.Stacker()->Clear();
    return cartridges.FileOf(name);
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
    EXPECT_EQ(shelf.Stacker().Count(), 3);
    EXPECT_EQ(shelf.Stacker().Find("Party Mix"), nullptr);

    // A cartridge that cannot be read (cut, garbage, empty, a negative count, missing) changes nothing
    // and says so, naming the file.
    TfakePrompts prompts;
    const std::string bytes = TempDir::Read(three);
    const std::vector<std::string> bad = {
        dir.Write("cut.ctg", bytes.substr(0, bytes.size() - 10)), dir.Write("garbage.ctg", "not a cartridge"),
        dir.Write("empty.ctg", ""), dir.Write("negative.ctg", std::string("OALL\xff\xff\xff\xff", 8)),
        dir.File("missing.ctg")};
    for (const std::string& file : bad) {
        EXPECT_FALSE(cartridges.LoadFile(file, false)) << file;
        EXPECT_EQ(shelf.Stacker().Count(), 3) << file;
        ASSERT_FALSE(prompts.boxes.empty());
        EXPECT_NE(prompts.boxes.back().text.find("\"" + file + "\""), std::string::npos);
    }
    EXPECT_EQ(prompts.boxes.size(), bad.size());

    // A cartridge saved from an empty stacker is a good one: it empties the stacker.
    shelf.Stacker().Clear();
    const std::string none = WriteCartridge(cartridges, shelf.library, "none", 0);
    cartridges.LoadFile(three, false);
    EXPECT_TRUE(cartridges.LoadFile(none, false));
    EXPECT_EQ(shelf.Stacker().Count(), 0);
}

TEST(StackerCartridges, TheGateRefusesEveryCommandBeforeAnyDialogAndAgainAfterTheSaveDialog)
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
    EXPECT_FALSE(cartridges.LoadCartridge(nullptr, true));
    EXPECT_FALSE(cartridges.LoadFile(two, false));
    EXPECT_EQ(cartridges.SaveCartridge(nullptr), "");
    EXPECT_FALSE(cartridges.AddListToStacker(*shelf.library.Albums().GetItem(0)));
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_EQ(shelf.Stacker().Count(), 0);

    // Party play switched on while the save dialog was open: nothing is written.
    TstackerCartridges racing(&shelf.library, [&dialogs] { return dialogs.asked.empty(); });
    racing.SetFolder(dir.Path());
    EXPECT_EQ(racing.SaveCartridge(nullptr), "");
    EXPECT_FALSE(platform::FileExists(dir.File("saved.ctg")));
    EXPECT_EQ(TstackerCartridges(nullptr).Stacker(), nullptr);
}
