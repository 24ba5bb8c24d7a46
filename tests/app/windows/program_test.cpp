// The program itself, run as a process: the single-instance gate, the close on SIGTERM, settings.ini and
// auto play through the stand-in player.
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "platform/winampipc.h"
#include "platform/windowmessages.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <sys/stat.h>
#include <thread>

using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 30s)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// The data files with their sizes and modification times; the running copy's own hand-over file to its
// player (winamp.m3u) left out.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> Snapshot(const std::string& folder)
{
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename().string().rfind("winamp.m3u", 0) != 0)
            files[entry.path().string()] = {entry.file_size(), entry.last_write_time()};
    return files;
}

// The number of entries of the stand-in's playlist.
std::int32_t StandinListLength()
{
    const platform::TWindowHandle window = platform::FindWindowByClass(platform::winamp::kWindowClass);
    return window == 0
               ? -1
               : platform::SendMessage(window, platform::WM_USER, 0, platform::winamp::IpcGetListLength);
}

class ProgramTest : public ::testing::Test
{
protected:
    void Start(QProcess& process)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("ORVANE_HOME", platform::ToQString(home_.Path() + "/"));
        env.insert("ORVANE_IPC_DIR", platform::ToQString(ipc_.Path()));
        env.insert("ORVANE_STANDIN_SILENT", "1");
        env.insert("ORVANE_STANDIN_SPEED", "10");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(ORVANE_PROGRAM), {});
        ASSERT_TRUE(process.waitForStarted(5000));
    }

    // The program has made its windows and started the stand-in.
    bool Running() const
    {
        return platform::FindWindowByClass("Orvane Jukebox") != 0 &&
               platform::FindWindowByClass(platform::winamp::kWindowClass) != 0;
    }
    bool StandinGone() const { return platform::FindWindowByClass(platform::winamp::kWindowClass) == 0; }

    void Terminate(QProcess& process)
    {
        process.terminate(); // SIGTERM
        EXPECT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_TRUE(WaitUntil([this] { return StandinGone(); }, 10s)) << "the stand-in was closed";
    }

    void TearDown() override
    {
        for (QProcess* process : {&first_, &second_})
            if (process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(5000);
            }
    }

    std::string SettingsFile() const { return home_.Path() + "/Settings/settings.ini"; }
    std::string DataFolder() const { return home_.Path() + "/Data"; }

    TempDir home_;
    TempDir ipc_;
    ScopedEnv ipcEnv_{"ORVANE_IPC_DIR", ipc_.Path()};
    QProcess first_;
    QProcess second_;
};

} // namespace

TEST_F(ProgramTest, SecondCopyEndsWithoutTouchingAnythingAndSigtermSavesTheSettings)
{
    Start(first_);
    ASSERT_TRUE(WaitUntil([this] { return Running() && fs::exists(DataFolder() + "/jukebox.dat"); }))
        << "the first start loads the demo library";
    ASSERT_FALSE(fs::exists(SettingsFile())) << "nothing is written while running";
    const auto before = Snapshot(DataFolder());
    ASSERT_TRUE(WaitUntil([] { return StandinListLength() > 0; })) << "the next song waits in the stand-in";
    const std::int32_t listLength = StandinListLength();

    Start(second_);
    ASSERT_TRUE(second_.waitForFinished(15000));
    EXPECT_EQ(second_.exitCode(), 0);
    EXPECT_FALSE(fs::exists(SettingsFile()));
    EXPECT_EQ(Snapshot(DataFolder()), before) << "the second copy writes no data file";
    EXPECT_TRUE(Running()) << "the first copy and its stand-in go on";
    EXPECT_EQ(StandinListLength(), listLength) << "the second copy started no player of its own";

    Terminate(first_);
    const TIniFile ini(SettingsFile());
    const struct
    {
        const char* section;
        const char* key;
        const char* value;
    } defaults[] = {
        {"Preferences", "ShowTimeRemaining", "0"},
        {"Preferences", "AlwaysOnTop", "0"},
        {"Preferences", "ShowTipsAtStartup", "1"},
        {"Preferences", "LastTipNo", nullptr},
        {"Preferences", "AutoPlay", "0"},
        {"OnScreenKeyboards", "KeyboardWidth", nullptr},
        {"OnScreenKeyboards", "KeyboardHeight", nullptr},
        {"OnScreenKeyboards", "Enabled", "1"},
        {"ScreenSaver", "Enabled", "0"},
        {"ScreenSaver", "Timeout", "5"},
        {"Stacker", "Enabled", "0"},
        {"RandomPlay", "Enabled", "1"},
        {"Paths", "TagReaders", ""},
        {"Paths", "CoverArt", ""},
        {"Paths", "Playlists", nullptr},
        {"Alarm", "Maintain", "0"},
        {"Alarm", "TimeOn", "0.5"},
        {"Alarm", "TimeOff", "0.5"},
        {"Alarm", "TimeOnEnabled", "0"},
        {"Alarm", "TimeOffEnabled", "0"},
    };
    for (const auto& d : defaults) {
        EXPECT_TRUE(ini.ValueExists(d.section, d.key)) << d.section << "/" << d.key;
        if (d.value) {
            EXPECT_EQ(ini.ReadString(d.section, d.key, "?"), d.value) << d.section << "/" << d.key;
        }
    }
}

TEST_F(ProgramTest, AutoPlayPlaysAndTheHistoryGainsALine)
{
    TIniFile ini(SettingsFile());
    ini.WriteBool("Preferences", "AutoPlay", true);
    ini.WriteBool("Preferences", "ShowTipsAtStartup", false);
    fs::create_directories(home_.Path() + "/Settings");
    ini.UpdateFile();

    Start(first_);
    const std::string history = DataFolder() + "/history.txt";
    EXPECT_TRUE(WaitUntil([&] {
        return fs::exists(history) && TempDir::Read(history).find("\r\n") != std::string::npos;
    })) << "a song started";
    Terminate(first_);
}

TEST_F(ProgramTest, ReadOnlySettingsFileStaysAndTheProgramStillEnds)
{
    fs::create_directories(home_.Path() + "/Settings");
    const std::string text = "[Preferences]\r\nShowTipsAtStartup=0\r\n";
    home_.Write("Settings/settings.ini", text);
    ::chmod(SettingsFile().c_str(), 0444);

    Start(first_);
    ASSERT_TRUE(WaitUntil([this] { return Running(); }));
    Terminate(first_);
    EXPECT_EQ(TempDir::Read(SettingsFile()), text);
}
