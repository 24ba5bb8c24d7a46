#include "app/qt/services/closesignals.h"
#include "app/qt/services/dialogservice.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/qt/services/qtdialogservice.h"
#include "platform/qtstring.h"
#include "platform/singleinstance.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <vector>

TEST(DialogService, PipeFiltersBecomeQtFiltersAndInputBoxCancelGivesTheDefault)
{
    EXPECT_EQ(PipeFilterToQt("Playlists|*.m3u|Cartridges|*.ctg;*.CTG"),
              (std::vector<std::string>{"Playlists (*.m3u)", "Cartridges (*.ctg *.CTG)"}));
    EXPECT_EQ(PipeFilterToQt("Text files (*.txt)|*.txt"), (std::vector<std::string>{"Text files (*.txt)"}));
    EXPECT_TRUE(PipeFilterToQt("").empty());
    EXPECT_TRUE(PipeFilterToQt("Caption without patterns").empty());

    TdialogService* const qtDialogs = &TdialogService::Current();
    {
        TfakeDialogs dialogs;
        EXPECT_EQ(&TdialogService::Current(), &dialogs);
        dialogs.inputAnswers = {std::nullopt, std::string("typed")};
        EXPECT_EQ(TdialogService::Current().InputBox(nullptr, "Name", "New name:", "default"), "default");
        EXPECT_EQ(TdialogService::Current().InputBox(nullptr, "Name", "New name:", "default"), "typed");
        ASSERT_EQ(dialogs.asked.size(), 2u);
        EXPECT_EQ(dialogs.asked[0].detail, "New name:");
    }
    EXPECT_EQ(&TdialogService::Current(), qtDialogs);

    // The Qt dialogs ask the queue position through the popup the program hands them; none keeps the place.
    EXPECT_EQ(qtDialogs->AskQueuePosition(nullptr, 0, 4, 2, 120, 80), 2);
    std::vector<int> shown;
    TqtDialogService::SetQueuePositionDialog(
        [&shown](QWidget*, int lowest, int highest, int current, int left, int top) {
            shown = {lowest, highest, current, left, top};
            return 3;
        });
    EXPECT_EQ(qtDialogs->AskQueuePosition(nullptr, 0, 4, 2, 120, 80), 3);
    EXPECT_EQ(shown, (std::vector<int>{0, 4, 2, 120, 80}));
    TqtDialogService::SetQueuePositionDialog(nullptr);
    EXPECT_EQ(qtDialogs->AskQueuePosition(nullptr, 0, 4, 2, 120, 80), 2);
}

TEST(ExceptionBoundary, AnExceptionIsShownOnceWithTheTitleAndTheWorkGoesOn)
{
    TfakePrompts prompts;
    EXPECT_FALSE(Guarded([] { throw std::logic_error("bad"); }));
    EXPECT_TRUE(Guarded([] {}));
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "bad");
    EXPECT_EQ(prompts.boxes[0].caption, ApplicationTitle());
    EXPECT_EQ(prompts.boxes[0].icon, TmessageIcon::Error);
}

TEST(CloseSignals, SigtermBecomesACloseRequestOnTheGuiThread)
{
    int closes = 0;
    {
        TcloseSignals closeSignals([&] { ++closes; });
        // SIGHUP too: closing the terminal that started the program is a close, not a kill.
        for (const int signal : {SIGTERM, SIGHUP}) {
            const int before = closes;
            std::raise(signal);
            QElapsedTimer waited;
            waited.start();
            while (closes == before && waited.elapsed() < 5000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            EXPECT_EQ(closes, before + 1) << signal;
        }
    }
}

TEST(SingleInstance, ASecondCopyRaisesTheFirstAndOwnsNothing)
{
    const std::string title = "Orvane Jukebox Test " + std::to_string(QCoreApplication::applicationPid());
    platform::TsingleInstance first(title);
    ASSERT_TRUE(first.Owns());
    int activations = 0;
    first.OnActivate = [&] { ++activations; };

    // In this process, a second gate finds the lock taken.
    EXPECT_FALSE(platform::TsingleInstance(title).Owns());

    QProcess second;
    second.start(QStringLiteral(SINGLE_INSTANCE_PROBE), {platform::ToQString(title)});
    ASSERT_TRUE(second.waitForStarted(5000));
    // The first copy answers from its event loop while the second waits.
    QElapsedTimer waited;
    waited.start();
    while (second.state() != QProcess::NotRunning && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(second.readAllStandardOutput().trimmed().toStdString(), "second activated");
    EXPECT_EQ(activations, 1);

    // Once the first lets go, the next copy is the instance.
    first.Release();
    QProcess third;
    third.start(QStringLiteral(SINGLE_INSTANCE_PROBE), {platform::ToQString(title)});
    ASSERT_TRUE(third.waitForFinished(10000));
    EXPECT_EQ(third.readAllStandardOutput().trimmed().toStdString(), "first");
}

TEST(SingleInstance, OneCopyPerProgramFolderAndAFailedLockIsNoRunningCopy)
{
    const std::string title = "Orvane Home Test " + std::to_string(QCoreApplication::applicationPid());
    const char* ipc = std::getenv("ORVANE_IPC_DIR");
    const std::string savedIpc = ipc ? ipc : "";
    TempDir dir;
    ::setenv("ORVANE_IPC_DIR", dir.File("one").c_str(), 1);
    platform::TsingleInstance first(title);
    ASSERT_TRUE(first.Owns());
    // Another window-message folder, the same program folder: another copy runs.
    ::setenv("ORVANE_IPC_DIR", dir.File("two").c_str(), 1);
    {
        const platform::TsingleInstance second(title);
        EXPECT_FALSE(second.Owns());
        EXPECT_FALSE(second.Failed());
    }
    // A window-message folder others may write to: no lock at all, which is a failure to tell of.
    std::filesystem::create_directories(dir.File("shared"));
    ::chmod(dir.File("shared").c_str(), 0777);
    ::setenv("ORVANE_IPC_DIR", dir.File("shared").c_str(), 1);
    {
        const platform::TsingleInstance third(title);
        EXPECT_FALSE(third.Owns());
        EXPECT_TRUE(third.Failed());
        EXPECT_FALSE(third.Failure().empty());
    }
    first.Release();
    ::setenv("ORVANE_IPC_DIR", dir.File("two").c_str(), 1);
    EXPECT_TRUE(platform::TsingleInstance(title).Owns());
    if (ipc)
        ::setenv("ORVANE_IPC_DIR", savedIpc.c_str(), 1);
    else
        ::unsetenv("ORVANE_IPC_DIR");
}
