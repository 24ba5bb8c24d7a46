#include "platform/registry.h"
#include "platform/shellexecute.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sys/stat.h>
#include <thread>

using namespace platform;

namespace {

using Args = std::vector<std::string>;

// Waits (briefly, in small steps) for a detached program to leave its output.
std::string WaitForFile(const std::string& name)
{
    for (int i = 0; i < 500 && !std::filesystem::exists(name + ".done"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return TempDir::Read(name);
}

} // namespace

TEST(ShellExecute, WinampProgramMapsToTheStandin)
{
    EXPECT_EQ(MapProgramFile("/opt/winamp/winamp.exe"), "/opt/winamp/orvane-standin");
    EXPECT_EQ(MapProgramFile("/opt/winamp/WinAmp.EXE"), "/opt/winamp/orvane-standin");
    EXPECT_EQ(MapProgramFile("C:\\Program Files\\Winamp\\winamp.exe"),
              "C:\\Program Files\\Winamp\\orvane-standin");
    EXPECT_EQ(MapProgramFile("winamp.exe"), "orvane-standin");
    EXPECT_EQ(MapProgramFile("/opt/winamp/notwinamp.exe"), "/opt/winamp/notwinamp.exe");
    EXPECT_EQ(MapProgramFile("/opt/winamp.exe/other"), "/opt/winamp.exe/other");
}

TEST(ShellExecute, ParametersSplitAsWindowsProgramsSplitThem)
{
    EXPECT_EQ(SplitCommandLine(""), Args{});
    EXPECT_EQ(SplitCommandLine("  "), Args{});
    EXPECT_EQ(SplitCommandLine("/add \"/my music/winamp.m3u\""), (Args{"/add", "/my music/winamp.m3u"}));
    EXPECT_EQ(SplitCommandLine("a\tb  c"), (Args{"a", "b", "c"}));
    EXPECT_EQ(SplitCommandLine("\"\" x"), (Args{"", "x"}));
    EXPECT_EQ(SplitCommandLine("ab\"c d\"e"), (Args{"abc de"}));
    EXPECT_EQ(SplitCommandLine(R"(a\\b \"q\" x\\\"y "z\\")"), (Args{R"(a\\b)", "\"q\"", R"(x\"y)", R"(z\)"}));
    EXPECT_EQ(SplitCommandLine(R"("say ""hi""")"), (Args{"say \"hi\""}));
    EXPECT_EQ(SplitCommandLine("\"unterminated arg"), (Args{"unterminated arg"}));
}

TEST(ShellExecute, StartsAProgramWithParametersInItsFolder)
{
    TempDir dir;
    const std::string out = dir.File("out.txt");
    const std::string script =
        dir.Write("bin dir/winamp-like.sh", "#!/bin/sh\n"
                                            "{ pwd; for a in \"$@\"; do echo \"[$a]\"; done; } > \"" +
                                                out + "\"\ntouch \"" + out + ".done\"\n");
    ::chmod(script.c_str(), 0755);
    std::filesystem::create_directories(dir.File("work"));
    ASSERT_TRUE(ShellExecute("\"" + script + "\"", "/add \"" + dir.File("a b.m3u") + "\"",
                             "\"" + dir.File("work") + "\""));
    EXPECT_EQ(WaitForFile(out), dir.File("work") + "\n[/add]\n[" + dir.File("a b.m3u") + "]\n");
}

TEST(ShellExecute, MappedWinampProgramIsStarted)
{
    TempDir dir;
    const std::string out = dir.File("out.txt");
    const std::string standin =
        dir.Write("orvane-standin", "#!/bin/sh\necho \"$1\" > \"" + out + "\"\ntouch \"" + out + ".done\"\n");
    ::chmod(standin.c_str(), 0755);
    ASSERT_TRUE(ShellExecute(dir.File("winamp.exe"), "/add x", ""));
    EXPECT_EQ(WaitForFile(out), "/add\n");
}

TEST(ShellExecute, NothingToStartIsReported)
{
    TempDir dir;
    EXPECT_FALSE(ShellExecute("", "", ""));
    EXPECT_FALSE(ShellExecute(dir.File("missing.exe"), "", ""));
    EXPECT_FALSE(ShellExecute(dir.File("winamp.exe"), "", "")) << "no stand-in in that folder";
}

TEST(Registry, EveryReadAnswersEmpty)
{
    EXPECT_EQ(ReadRegistryString(TRegistryRoot::LocalMachine,
                                 "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp",
                                 "UninstallString"),
              "");
    EXPECT_EQ(ReadRegistryString(TRegistryRoot::CurrentUser, "", ""), "");
}
