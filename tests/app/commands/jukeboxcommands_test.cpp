// The command table: every route (menu, popup, shortcut, a button's call) runs a command through the same
// busy flag, party-play gate and exception boundary.
#include "app/commands/jukeboxcommands.h"

#include "app/commands/jukeboxactions.h"
#include "app/qt/services/busyguard.h"
#include "platform/error.h"
#include "support/fakeprompts.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <functional>
#include <stdexcept>
#include <vector>

namespace {

using C = TjukeboxCommand;

class JukeboxCommandsTest : public ::testing::Test
{
protected:
    JukeboxCommandsTest()
    {
        auto* layout = new QVBoxLayout(&window_);
        layout->addWidget(list_);
        for (int i = 0; i < 3; ++i)
            list_->addItem(QString::number(i));
        list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
        popup_.addAction(actions_.actnControlNext);
    }

    // Party play on with every option checked, or off.
    void Lock(bool on)
    {
        gate_ = TpartyPlayGate(on);
        for (auto option :
             {TpartyPlayOption::QueueControls, TpartyPlayOption::NextControl, TpartyPlayOption::PauseControl,
              TpartyPlayOption::StopControl, TpartyPlayOption::StackerControl,
              TpartyPlayOption::PlaylistEditor, TpartyPlayOption::ApplicationClose})
            gate_.SetChecked(option, true);
        commands_.ApplyLocks();
    }

    void ShowActive()
    {
        window_.show();
        window_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
        list_->setFocus();
    }

    TfakePrompts prompts_;
    QWidget window_;
    QListWidget* list_ = new QListWidget;
    TjukeboxActions actions_{&window_};
    TbusyGuard busy_;
    TpartyPlayGate gate_;
    int asked_ = 0;
    TjukeboxCommands commands_{&window_, actions_, busy_, [this] {
                                   ++asked_;
                                   return gate_;
                               }};
    QMenu popup_;
};

} // namespace

TEST_F(JukeboxCommandsTest, EveryRouteRunsTheWorkOnceAndNoneGetsPastALock)
{
    int next = 0;
    commands_.Bind(C::ControlNext, [&] { ++next; });
    ShowActive();
    const auto allRoutes = [&] {
        actions_.actnControlNext->trigger();                    // the menu
        popup_.actions().front()->trigger();                    // the popup copy
        QTest::keyClick(list_, Qt::Key_N, Qt::ControlModifier); // the shortcut
        commands_.Run(C::ControlNext);                          // a button of another window
    };
    allRoutes();
    EXPECT_EQ(next, 4);

    Lock(true);
    EXPECT_FALSE(actions_.actnControlNext->isEnabled());
    allRoutes();
    EXPECT_EQ(next, 4);
    // Play is never locked.
    int play = 0;
    commands_.Bind(C::ControlPlay, [&] { ++play; });
    QTest::keyClick(list_, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(play, 1);

    Lock(false);
    EXPECT_TRUE(actions_.actnControlNext->isEnabled());
    EXPECT_TRUE(commands_.Run(C::ControlNext));
    EXPECT_EQ(next, 5);
}

TEST_F(JukeboxCommandsTest, CtrlAIsPauseAlsoInsideAListAndNeverSelectsAll)
{
    int pause = 0;
    commands_.Bind(C::ControlPause, [&] { ++pause; });
    ShowActive();
    QTest::keyClick(list_, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pause, 1);
    EXPECT_TRUE(list_->selectedItems().isEmpty());
    // Locked, the key still belongs to Pause: nothing at all happens.
    Lock(true);
    QTest::keyClick(list_, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pause, 1);
    EXPECT_TRUE(list_->selectedItems().isEmpty());
}

TEST_F(JukeboxCommandsTest, UnboundAndUnavailableCommandsAreLockedLikeTheRest)
{
    EXPECT_FALSE(commands_.Bound(C::StackerLoadCartridge));
    EXPECT_FALSE(commands_.Run(C::StackerLoadCartridge));
    Lock(true);
    EXPECT_FALSE(actions_.actnStackerLoadCartridge->isEnabled());
    EXPECT_FALSE(actions_.actnSettingsMusicFolders->isEnabled());
    EXPECT_TRUE(actions_.actnSearch->isEnabled());
    Lock(false);
    EXPECT_TRUE(actions_.actnStackerLoadCartridge->isEnabled());

    int deactivate = 0;
    commands_.Bind(C::PlaylistEnabled, [&] { ++deactivate; });
    commands_.SetAvailable(C::PlaylistEnabled, false);
    EXPECT_FALSE(actions_.actnPlaylistEnabled->isEnabled());
    EXPECT_FALSE(commands_.Run(C::PlaylistEnabled));
    commands_.SetAvailable(C::PlaylistEnabled, true);
    EXPECT_TRUE(commands_.Run(C::PlaylistEnabled));
    EXPECT_EQ(deactivate, 1);
}

TEST_F(JukeboxCommandsTest, ARefusedOrFailedToggleKeepsItsMarkTrueToTheState)
{
    bool stacker = false;
    commands_.Bind(
        C::StackerEnabled, [&] { stacker = !stacker; }, [&] { return stacker; });
    actions_.actnStackerEnabled->trigger();
    EXPECT_TRUE(stacker);
    EXPECT_TRUE(actions_.actnStackerEnabled->isChecked());
    // A later window's button refused by the lock: the mark stays.
    Lock(true);
    EXPECT_FALSE(commands_.Run(C::StackerEnabled));
    EXPECT_TRUE(actions_.actnStackerEnabled->isChecked());
    Lock(false);

    // A setter that refuses (the jukebox keeps its state) and then throws: the mark follows the state and
    // the failure is shown, not thrown.
    commands_.Bind(
        C::StackerEnabled, [] { throw std::runtime_error("refused"); }, [&] { return stacker; });
    actions_.actnStackerEnabled->trigger();
    EXPECT_TRUE(actions_.actnStackerEnabled->isChecked());
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    EXPECT_EQ(prompts_.boxes[0].text, "refused");
}

TEST_F(JukeboxCommandsTest, ALongOperationHoldsBackEverythingButThePlayerControls)
{
    int scans = 0;
    int stops = 0;
    commands_.Bind(C::FileScanFolders, [&] { ++scans; });
    commands_.Bind(C::ControlStop, [&] { ++stops; });
    {
        const TbusyGuard::TScope busy(busy_);
        EXPECT_FALSE(commands_.Run(C::FileScanFolders));
        EXPECT_TRUE(commands_.Run(C::ControlStop));
    }
    EXPECT_TRUE(commands_.Run(C::FileScanFolders));
    EXPECT_EQ(scans, 1);
    EXPECT_EQ(stops, 1);
}

TEST_F(JukeboxCommandsTest, AnAddedCommandRunsUnderTheSameRuleAndEveryRunAsksTheGateOnce)
{
    QAction moveUp("Move Up");
    QAction grow("Grow");
    QAction stranger("Stranger");
    int moves = 0;
    commands_.Add(&moveUp, TpartyPlayOption::QueueControls, false, [&] { ++moves; });
    // Work that adds commands and binds another runs to its end.
    commands_.Add(&grow, TpartyPlayOption::None, false, [&] {
        for (int i = 0; i < 20; ++i)
            commands_.Add(new QAction(&window_), TpartyPlayOption::None, false, [] {});
        commands_.Bind(C::ControlNext, [] {});
        ++moves;
    });
    EXPECT_THROW(commands_.Add(&moveUp, TpartyPlayOption::None, false, [] {}), EOrvaneError);
    EXPECT_TRUE(commands_.Run(&grow));
    for (const auto& run : std::vector<std::function<bool()>>{
             [&] { return commands_.Run(&moveUp); }, [&] { return commands_.Run(C::ControlNext); },
             [&] { return commands_.RunGated(TpartyPlayOption::VolumeChange, true, [] {}); }}) {
        asked_ = 0;
        EXPECT_TRUE(run());
        EXPECT_EQ(asked_, 1);
    }
    EXPECT_FALSE(commands_.Run(&stranger) || commands_.Allowed(&stranger));

    Lock(true);
    EXPECT_FALSE(moveUp.isEnabled());
    moveUp.trigger();
    EXPECT_FALSE(commands_.RunGated(TpartyPlayOption::QueueControls, true, [&] { ++moves; }));
    EXPECT_EQ(moves, 2);
}
