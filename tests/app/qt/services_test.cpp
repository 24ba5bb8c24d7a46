#include "app/qt/busyguard.h"
#include "app/qt/closesignals.h"
#include "app/qt/dialogservice.h"
#include "app/qt/exceptionboundary.h"
#include "platform/singleinstance.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <csignal>
#include <stdexcept>

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
}

TEST(BusyGuard, ACloseRequestWaitsForTheOutermostOperation)
{
    TbusyGuard guard;
    int closes = 0;
    EXPECT_TRUE(guard.RequestClose([&] { ++closes; }));
    EXPECT_EQ(closes, 1);
    {
        TbusyGuard::TScope outer(guard);
        {
            TbusyGuard::TScope inner(guard);
            EXPECT_TRUE(guard.Busy());
            EXPECT_FALSE(guard.RequestClose([&] { ++closes; }));
        }
        EXPECT_EQ(closes, 1);
        EXPECT_TRUE(guard.Busy());
    }
    EXPECT_FALSE(guard.Busy());
    EXPECT_EQ(closes, 2);
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
        std::raise(SIGTERM);
        QElapsedTimer waited;
        waited.start();
        while (closes == 0 && waited.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        EXPECT_EQ(closes, 1);
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
    second.start(QStringLiteral(SINGLE_INSTANCE_PROBE), {QString::fromStdString(title)});
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
    third.start(QStringLiteral(SINGLE_INSTANCE_PROBE), {QString::fromStdString(title)});
    ASSERT_TRUE(third.waitForFinished(10000));
    EXPECT_EQ(third.readAllStandardOutput().trimmed().toStdString(), "first");
}
