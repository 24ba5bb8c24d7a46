#include "app/dialogs/frmprogress.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QGroupBox>
#include <QProgressBar>

#include <chrono>
#include <memory>

namespace {

struct ProgressWindow : ::testing::Test
{
    TbusyGuard guard;
    std::unique_ptr<TfrmProgress> progress = std::make_unique<TfrmProgress>(nullptr, &guard);
    int messageRuns = 0;
    std::chrono::steady_clock::time_point now;

    void SetUp() override
    {
        progress->ProcessMessages = [this] { ++messageRuns; };
        progress->Now = [this] { return now; };
    }
};

} // namespace

TEST_F(ProgressWindow, LayoutAndTexts)
{
    EXPECT_EQ(progress->size(), QSize(322, 55));
    EXPECT_TRUE(progress->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(progress->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(progress->GroupBox()->title(), "Processing ... Please Wait");
    EXPECT_EQ(progress->GroupBox()->cursor().shape(), Qt::WaitCursor);
}

TEST_F(ProgressWindow, AListOperationShowsStepsAndClosesTheWindow)
{
    progress->ListProcessStart("Processing Tag Information");
    EXPECT_TRUE(progress->isVisible());
    EXPECT_EQ(progress->Caption(), "Processing Tag Information");
    EXPECT_TRUE(guard.Busy());

    // Only the program closes it.
    progress->close();
    EXPECT_TRUE(progress->isVisible());

    progress->ListProcess(3, 40);
    EXPECT_EQ(progress->ProgressBar()->maximum(), 40);
    EXPECT_EQ(progress->ProgressBar()->value(), 3);
    EXPECT_EQ(messageRuns, 1);
    // Told of every song, the window follows by time: steps in between are passed over.
    now += TfrmProgress::kStepInterval / 2;
    progress->ListProcess(4, 40);
    EXPECT_EQ(progress->ProgressBar()->value(), 3);
    EXPECT_EQ(messageRuns, 1);
    now += TfrmProgress::kStepInterval / 2;
    progress->ListProcess(5, 40);
    EXPECT_EQ(progress->ProgressBar()->value(), 5);
    // A step due lets the messages run, also when nothing changed; the last step always shows.
    now += TfrmProgress::kStepInterval;
    progress->ListProcess(5, 40);
    progress->ListProcess(40, 40);
    EXPECT_EQ(progress->ProgressBar()->value(), 40);
    EXPECT_EQ(messageRuns, 4);

    progress->ListProcessFinished();
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(guard.Busy());
}

TEST_F(ProgressWindow, APositionPastTheMaximumKeepsBothAndShowsAFullBar)
{
    progress->SetProgress(150, 100);
    EXPECT_EQ(progress->Position(), 150);
    EXPECT_EQ(progress->Maximum(), 100);
    EXPECT_EQ(progress->ProgressBar()->value(), 100);

    progress->SetProgress(0, 0);
    EXPECT_EQ(progress->Maximum(), 0);
    // An empty range would make Qt's bar a busy indicator.
    EXPECT_GT(progress->ProgressBar()->maximum(), 0);
    EXPECT_EQ(progress->ProgressBar()->value(), 0);
}

TEST_F(ProgressWindow, ACloseRequestWaitsUntilTheOperationEnds)
{
    int closes = 0;
    progress->ListProcessStart("Loading...");
    // A second operation inside the first keeps the one busy hold.
    progress->ListProcessStart("Adding Files...");
    EXPECT_FALSE(guard.RequestClose([&] { ++closes; }));
    progress->ListProcess(1, 2);
    EXPECT_EQ(closes, 0);
    progress->ListProcessFinished();
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(guard.Busy());
    // A stray finish releases nothing more.
    progress->ListProcessFinished();
    EXPECT_TRUE(guard.RequestClose([&] { ++closes; }));
    EXPECT_EQ(closes, 2);
}

TEST_F(ProgressWindow, AHeldCloseMayFreeTheWindow)
{
    progress->ListProcessStart("Loading...");
    TfrmProgress* shown = progress.get();
    guard.RequestClose([&] { progress.reset(); });
    shown->ListProcessFinished();
    EXPECT_EQ(progress, nullptr);
    EXPECT_FALSE(guard.Busy());
}
