#include "platform/atomicfile.h"
#include "platform/error.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

namespace {

std::vector<std::string> Names(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void Age(const std::string& path, int seconds)
{
    const timespec old{std::time(nullptr) - seconds, 0};
    const timespec times[2] = {old, old};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

} // namespace

TEST(AtomicFile, ASaveKilledHalfWayLeavesNoLastingLitter)
{
    TempDir dir;
    const std::string name = dir.Write("jukebox.dat", "old");
    for (const TFileKind kind : {TFileKind::Data, TFileKind::Derived}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            TAtomicFileWriter writer(name, kind);
            writer.Write(std::string(100000, 'x'));
            ::_exit(0); // killed before Commit: no destructor runs
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        // Where the file system cannot keep the temporary unnamed, the dead writer's one is stale a minute
        // on.
        for (const std::string& left : Names(dir.Path()))
            if (left != "jukebox.dat")
                Age(dir.File(left), 120);
        WriteFileAtomically(name, "new", kind);
        EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"jukebox.dat"});
        EXPECT_EQ(TempDir::Read(name), "new");
    }
}

TEST(AtomicFile, OnlyStaleUnlockedTemporariesOfOursAreRemoved)
{
    TempDir dir;
    const std::string target = dir.Write("orvane.obf", "old cache"); // a replacing save sweeps
    const std::string stale = dir.Write(".orvane-tmp-a1B2c3", "dead writer");
    const std::string oldStyle = dir.Write("orvane.obf.tmp-Zz9y8X", "dead writer of an older version");
    const std::string fresh = dir.Write(".orvane-tmp-Fresh1", "writer at work");
    const std::string locked = dir.Write(".orvane-tmp-Lock00", "slow writer at work");
    const std::string otherOld = dir.Write("jukebox.dat.tmp-Zz9y8X", "not this target's");
    const std::string notOurs = dir.Write(".orvane-tmp-toolong", "another pattern");
    for (const std::string& file : {stale, oldStyle, locked, otherOld, notOurs})
        Age(file, 120);
    const int lockFd = ::open(locked.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(lockFd, 0);
    ASSERT_EQ(::flock(lockFd, LOCK_EX), 0);

    WriteFileAtomically(target, "cache", TFileKind::Derived);
    ::close(lockFd);

    EXPECT_EQ(Names(dir.Path()),
              (std::vector<std::string>{".orvane-tmp-Fresh1", ".orvane-tmp-Lock00", ".orvane-tmp-toolong",
                                        "jukebox.dat.tmp-Zz9y8X", "orvane.obf"}));
    EXPECT_EQ(TempDir::Read(target), "cache");
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

TEST(AtomicFile, ASymbolicLinkStaysALinkAndItsTargetIsReplaced)
{
    TempDir dir;
    const std::string target = dir.Write("real/settings.ini", "old");
    std::filesystem::create_directories(dir.File("home"));
    std::filesystem::create_symlink("../real/settings.ini", dir.File("home/link.ini"));
    std::filesystem::create_symlink(dir.File("home/link.ini"), dir.File("home/settings.ini"));
    platform::WriteFileAtomically(dir.File("home/settings.ini"), "new");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("home/settings.ini")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("home/link.ini")));
    EXPECT_EQ(TempDir::Read(target), "new");

    // A dangling link makes its target.
    std::filesystem::create_symlink("made.ini", dir.File("home/dangling.ini"));
    platform::WriteFileAtomically(dir.File("home/dangling.ini"), "made");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("home/dangling.ini")));
    EXPECT_EQ(TempDir::Read(dir.File("home/made.ini")), "made");
}
