#include "app/qt/helpers/demolibrary.h"

#include "core/jukebox/localjukeboxlist.h"
#include "core/plugins/taggerloader.h"
#include "platform/folders.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

TEST(DemoLibrary, AFirstStartScansTheDemoSongsThroughTheWavPluginOnce)
{
    TaggerLoader().SetSupportLevel(2);
    TaggerLoader().SetPluginFolder(platform::ShippedFolder() + "TagPlugins");
    ASSERT_GE(TaggerLoader().GetCount(), 1) << "the WAV plug-in is built into the shipped folder";
    TempDir data;
    TlocalJukeboxList library;
    library.SetDataFolder(data.Path());

    ASSERT_TRUE(demolibrary::LoadIfEmpty(library));
    const int songs = library.GlobalList().Count();
    EXPECT_GE(songs, 10);
    ASSERT_EQ(library.MediaFolders().Count(), 1);
    EXPECT_EQ(library.MediaFolders()[0], demolibrary::Folder());
    std::set<std::string> artists;
    for (const TaudioTag* song : library.GlobalList().Items()) {
        artists.insert(song->Artist());
        EXPECT_FALSE(song->Album().empty());
        EXPECT_GT(song->Duration(), 0);
    }
    EXPECT_EQ(artists.size(), 3u);
    EXPECT_GE(library.Albums().Count(), 4);
    EXPECT_TRUE(std::filesystem::exists(library.GetGlobalFileName()));

    // A library that has songs is left alone, and existing files are not written again.
    EXPECT_FALSE(demolibrary::LoadIfEmpty(library));
    EXPECT_EQ(demolibrary::WriteSongs(demolibrary::Folder()), 0);
    EXPECT_EQ(library.GlobalList().Count(), songs);

    // Nor is an empty library whose jukebox.dat is there (emptied, or damaged and kept for the user).
    TempDir other;
    TlocalJukeboxList damaged;
    damaged.SetDataFolder(other.Path());
    other.Write("jukebox.dat", "garbage");
    EXPECT_FALSE(demolibrary::LoadIfEmpty(damaged));
    EXPECT_EQ(TempDir::Read(damaged.GetGlobalFileName()), "garbage");
    ReleaseTaggerLoader();
}
