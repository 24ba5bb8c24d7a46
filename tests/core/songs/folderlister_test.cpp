// The folder lister's walk: the scan's order, each folder once, and an end at any point.
#include "core/songs/folderlister.h"

#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

TfolderLister::TvisitedFolders VisitedRoot(const std::string& root)
{
    const auto self = platform::EntryInfo(root);
    return {{self->Device, self->Inode}};
}

// Each folder before the ones below it, a folder's subfolders in the order its listing gives them, and a
// folder that links lead into twice (or in a circle) once.
TEST(FolderLister, HandsOverEveryFolderOnceInTheOrderOfTheWalk)
{
    const TempDir dir;
    dir.Write("A/One.wav", "1");
    dir.Write("A/Deeper/Two.wav", "2");
    dir.Write("B/Three.wav", "3");
    fs::create_symlink(dir.Path(), dir.File("A/Deeper/Up"));
    fs::create_symlink(dir.File("A"), dir.File("LinkToA"));

    const TfolderLister::Tlisting top = TfolderLister::List(dir.Path(), true);
    std::vector<std::string> expected{dir.Path()};
    bool intoA = false;
    for (const TfolderLister::Tsubfolder& sub : top.subfolders) {
        if (sub.name == "B") {
            expected.push_back(dir.File("B"));
        } else if (!intoA) { // the first way into A
            intoA = true;
            expected.push_back(dir.File(sub.name));
            expected.push_back(dir.File(sub.name + "/Deeper"));
        }
    }

    TfolderLister::TvisitedFolders visited = VisitedRoot(dir.Path());
    std::vector<std::string> walked;
    std::vector<std::size_t> files;
    {
        TfolderLister lister(dir.Path(), visited, 1);
        while (const auto listing = lister.Next()) {
            walked.push_back(listing->folder);
            files.push_back(listing->files.size());
        }
    }
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(files, (std::vector<std::size_t>{0, 1, 1, 1}));
    EXPECT_EQ(visited.size(), 4u);
}

// A scan that stops early: the lister, waiting for room, ends with it.
TEST(FolderLister, EndsWhenDestroyedBeforeTheWalkIsOver)
{
    const TempDir dir;
    for (int i = 0; i < 50; ++i)
        dir.Write("F" + std::to_string(i) + "/Song.wav", "x");
    TfolderLister::TvisitedFolders visited = VisitedRoot(dir.Path());
    TfolderLister lister(dir.Path(), visited, 2);
    ASSERT_TRUE(lister.Next());
    ASSERT_TRUE(lister.Next());
}

} // namespace
