#include "platform/atomicfile.h"
#include "platform/error.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

TEST(AtomicFile, ReplacesOnlyOnCommit)
{
    TempDir dir;
    const std::string name = dir.Write("data.bin", "old");
    {
        TAtomicFileWriter writer(name);
        writer.Write("new content");
        EXPECT_EQ(TempDir::Read(name), "old");
        // Dropped without Commit: the old file stays, no temporary is left behind.
    }
    EXPECT_EQ(TempDir::Read(name), "old");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    std::string big(200000, 'x');
    TAtomicFileWriter writer(name);
    writer.Write("a");
    writer.Write(big);
    writer.Commit();
    EXPECT_EQ(TempDir::Read(name), "a" + big);
}

TEST(AtomicFile, FailureLeavesTargetIntact)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    TempDir dir;
    const std::string name = dir.Write("sub/data.bin", "precious");
    ::chmod((dir.Path() + "/sub").c_str(), 0555);
    EXPECT_THROW(WriteFileAtomically(name, "lost"), EFileError);
    ::chmod((dir.Path() + "/sub").c_str(), 0755);
    EXPECT_EQ(TempDir::Read(name), "precious");
}

TEST(AtomicFile, FailedRenameRemovesTemporary)
{
    TempDir dir;
    const std::string target = dir.File("occupied");
    std::filesystem::create_directories(target + "/inside");
    EXPECT_THROW(WriteFileAtomically(target, "x"), EFileError);
    EXPECT_TRUE(std::filesystem::is_directory(target + "/inside"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(AtomicFile, MissingFolderIsAnError)
{
    TempDir dir;
    EXPECT_THROW(WriteFileAtomically(dir.File("no/such/file"), "x"), EFileError);
}

TEST(AtomicFile, ReadOnlyTargetIsRefusedAndKept)
{
    TempDir dir;
    const std::string name = dir.Write("settings.ini", "kept");
    ::chmod(name.c_str(), 0444);
    // Also for root, who could rename over it: the file's own read-only mark decides.
    EXPECT_THROW(WriteFileAtomically(name, "replaced"), EFileError);
    EXPECT_EQ(TempDir::Read(name), "kept");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
    ::chmod(name.c_str(), 0644);
    WriteFileAtomically(name, "replaced");
    EXPECT_EQ(TempDir::Read(name), "replaced");
}
