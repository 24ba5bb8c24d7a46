// The stand-in as the jukebox meets it: a separate program found by its window class.
#include "platform/qtstring.h"
#include "platform/winampipc.h"
#include "platform/windowmessages.h"
#include "support/pumpevents.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

using namespace platform;
namespace wa = platform::winamp;

namespace {

QString StandinProgram()
{
    return QStringLiteral(ORVANE_STANDIN_PROGRAM);
}

class StandinProcess : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ::setenv("ORVANE_IPC_DIR", dir_.File("ipc").c_str(), 1);
        ::setenv("ORVANE_STANDIN_SILENT", "1", 1);
        ::setenv("ORVANE_STANDIN_SPEED", "20", 1);
        ASSERT_TRUE(std::filesystem::exists(platform::FromQString(StandinProgram())));
    }
    void TearDown() override
    {
        for (auto& process : running_) {
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(2000);
            }
        }
        ::unsetenv("ORVANE_IPC_DIR");
        ::unsetenv("ORVANE_STANDIN_SILENT");
        ::unsetenv("ORVANE_STANDIN_SPEED");
    }

    // Starts the stand-in; it stays running.
    QProcess& Start(const QStringList& arguments = {})
    {
        running_.push_back(std::make_unique<QProcess>());
        QProcess& process = *running_.back();
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(StandinProgram(), arguments);
        EXPECT_TRUE(process.waitForStarted(5000));
        return process;
    }
    // Starts a second stand-in and waits for it to hand over and end; its exit code.
    int RunToEnd(const QStringList& arguments)
    {
        QProcess process;
        process.start(StandinProgram(), arguments);
        if (!process.waitForFinished(10000))
            return -1;
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    TWindowHandle WaitForWindow()
    {
        TWindowHandle window = 0;
        EXPECT_TRUE(PumpUntil([&] { return (window = FindWindowByClass(wa::kWindowClass)) != 0; }));
        return window;
    }
    std::int32_t Ask(TWindowHandle window, std::intptr_t code, std::intptr_t argument = 0)
    {
        return SendMessage(window, WM_USER, argument, code);
    }
    void Press(TWindowHandle window, std::intptr_t command) { SendMessage(window, WM_COMMAND, command, 0); }

    std::string HandOverFile(const std::vector<std::string>& songs)
    {
        std::string m3u = "#EXTM3U\r\n#EXTINF:0,Dummy Entry\r\nDoesNotExist\r\n";
        for (const std::string& song : songs)
            m3u += "#EXTINF:1,Artist - Title\r\n" + song + "\r\n";
        return dir_.Write("work/winamp.m3u", m3u);
    }

    TempDir dir_;
    std::vector<std::unique_ptr<QProcess>> running_;
};

} // namespace

TEST_F(StandinProcess, AddedListPlaysToItsEndAndCloseEndsTheProgram)
{
    const std::string a = dir_.Write("songs/a.wav", wavbytes::Song(1000));
    const std::string b = dir_.Write("songs/b.wav", wavbytes::Song(2000));
    QProcess& first = Start();
    const TWindowHandle window = WaitForWindow();
    EXPECT_EQ(Ask(window, wa::IpcGetVersion), wa::Version);
    EXPECT_EQ(Ask(window, wa::IpcGetListLength), 0);

    EXPECT_EQ(RunToEnd({"/add", platform::ToQString(HandOverFile({a, b}))}), 0);
    EXPECT_EQ(Ask(window, wa::IpcGetListLength), 3) << "the running instance took the entries";
    EXPECT_EQ(FindWindowByClass(wa::kWindowClass), window) << "still the first instance";

    Ask(window, wa::IpcSetPlaylistPos, 0);
    Ask(window, wa::IpcSetShuffle, 0);
    Ask(window, wa::IpcSetRepeat, 0);
    Ask(window, wa::IpcSetVolume, 128);
    EXPECT_EQ(Ask(window, wa::IpcSetVolume, wa::QueryVolume), 128);
    Press(window, wa::CommandPlay);
    EXPECT_EQ(Ask(window, wa::IpcIsPlaying), wa::StatePlaying);
    EXPECT_EQ(Ask(window, wa::IpcGetListPos), 1) << "the dummy entry is passed over";
    EXPECT_EQ(Ask(window, wa::IpcGetOutputTime, wa::OutputLengthSeconds), 1);
    ASSERT_TRUE(PumpUntil([&] { return Ask(window, wa::IpcGetListPos) == 2; }));
    EXPECT_EQ(Ask(window, wa::IpcGetOutputTime, wa::OutputLengthSeconds), 2);
    const std::int32_t early = Ask(window, wa::IpcGetOutputTime, wa::OutputPositionMs);
    EXPECT_TRUE(PumpUntil([&] { return Ask(window, wa::IpcGetOutputTime, wa::OutputPositionMs) > early; }));
    ASSERT_TRUE(PumpUntil([&] { return Ask(window, wa::IpcIsPlaying) == wa::StateStopped; }));

    Press(window, wa::CommandClose);
    ASSERT_TRUE(first.waitForFinished(5000));
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Ask(window, wa::IpcGetListLength), 0);
    EXPECT_FALSE(std::filesystem::exists(MessageSocketName(wa::kWindowClass))) << "the socket went with it";
}

TEST_F(StandinProcess, FirstStartWithAddBecomesTheInstance)
{
    const std::string a = dir_.Write("songs/a.wav", wavbytes::Song(1000));
    Start({"/ADD", platform::ToQString(HandOverFile({a}))});
    const TWindowHandle window = WaitForWindow();
    EXPECT_EQ(Ask(window, wa::IpcGetListLength), 2);
    EXPECT_EQ(Ask(window, wa::IpcIsPlaying), wa::StateStopped) << "/add does not start playback";

    // Started again without files (as the jukebox does at start-up): the first one stays as it was.
    EXPECT_EQ(RunToEnd({}), 0);
    EXPECT_EQ(FindWindowByClass(wa::kWindowClass), window);
    EXPECT_EQ(Ask(window, wa::IpcGetListLength), 2);

    // Files without /add replace the list and play.
    const std::string b = dir_.Write("songs/b.wav", wavbytes::Song(60000));
    EXPECT_EQ(RunToEnd({platform::ToQString(b)}), 0);
    EXPECT_EQ(Ask(window, wa::IpcGetListLength), 1);
    EXPECT_EQ(Ask(window, wa::IpcIsPlaying), wa::StatePlaying);
    EXPECT_EQ(Ask(window, wa::IpcGetOutputTime, wa::OutputLengthSeconds), 60);

    EXPECT_NE(RunToEnd({"/add", platform::ToQString(dir_.File("missing.m3u"))}), 0)
        << "a playlist that cannot be read is reported";
}

TEST_F(StandinProcess, OwnClassAndRelativeNames)
{
    dir_.Write("work/a.wav", wavbytes::Song(1000));
    dir_.Write("work/list.m3u", "a.wav\r\n");
    QProcess& process =
        Start({"/CLASS=Other Player", platform::ToQString("--log=" + dir_.File("played.log"))});
    TWindowHandle window = 0;
    ASSERT_TRUE(PumpUntil([&] { return (window = FindWindowByClass("Other Player")) != 0; }));
    EXPECT_EQ(FindWindowByClass(wa::kWindowClass), 0u);

    QProcess second;
    second.setWorkingDirectory(platform::ToQString(dir_.File("work")));
    second.start(StandinProgram(), {"/class=Other Player", "/add", "list.m3u"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(Ask(window, wa::IpcGetListLength), 1);
    Press(window, wa::CommandPlay);
    EXPECT_EQ(Ask(window, wa::IpcIsPlaying), wa::StatePlaying)
        << "the name was taken from the caller's folder";

    process.terminate();
    ASSERT_TRUE(process.waitForFinished(5000));
    std::ifstream log(dir_.File("played.log"));
    std::string line;
    ASSERT_TRUE(std::getline(log, line));
    EXPECT_EQ(line, "play " + dir_.File("work/a.wav")) << "--log tells what plays";
    EXPECT_EQ(FindWindowByClass("Other Player"), 0u);
    EXPECT_FALSE(std::filesystem::exists(MessageSocketName("Other Player")))
        << "a terminated stand-in cleans up";
}

TEST_F(StandinProcess, KilledInstanceIsReplacedByTheNextStart)
{
    QProcess& first = Start();
    const TWindowHandle old = WaitForWindow();
    first.kill();
    ASSERT_TRUE(first.waitForFinished(5000));
    EXPECT_TRUE(std::filesystem::exists(MessageSocketName(wa::kWindowClass)))
        << "a killed server leaves its socket";
    EXPECT_EQ(Ask(old, wa::IpcGetVersion), 0);

    Start();
    const TWindowHandle window = WaitForWindow();
    EXPECT_NE(window, old);
    EXPECT_EQ(Ask(window, wa::IpcGetVersion), wa::Version);
}
