#include "app/qt/services/activitymonitor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

// Input the window system delivers reaches a window and then its widgets; each is counted once, with the
// idle detection's weights, only while the monitor is installed, and nothing is swallowed.
TEST(ActivityMonitor, WeighsEachInputOnceAndLetsItThrough)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    window.resize(200, 80);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWindow* handle = window.windowHandle();
    ASSERT_NE(handle, nullptr);
    edit->setFocus();

    TactivityMonitor monitor;
    QTest::keyClick(handle, Qt::Key_X);
    EXPECT_EQ(monitor.Count(), 0u);

    monitor.Install();
    monitor.Install();
    EXPECT_TRUE(monitor.Installed());
    QTest::keyClick(handle, Qt::Key_A);
    EXPECT_EQ(monitor.Count(), TactivityMonitor::kKeyWeight);
    EXPECT_EQ(edit->text(), "xa");

    monitor.Reset();
    const QPoint inside = edit->geometry().center();
    for (int i = 0; i < 4; ++i)
        QTest::mouseMove(handle, inside + QPoint(i, 0));
    EXPECT_EQ(monitor.Count(), 4 * TactivityMonitor::kMouseMoveWeight);
    monitor.Reset();
    // A press and a release where the pointer already is.
    QTest::mouseClick(handle, Qt::LeftButton, Qt::NoModifier, inside + QPoint(3, 0));
    EXPECT_EQ(monitor.Count(), 2 * TactivityMonitor::kMouseWeight);

    monitor.Remove();
    QTest::keyClick(handle, Qt::Key_B);
    EXPECT_EQ(monitor.Count(), 2 * TactivityMonitor::kMouseWeight);
    EXPECT_EQ(edit->text(), "xab");

    // Destroying an installed monitor takes it out of the application.
    {
        TactivityMonitor gone;
        gone.Install();
    }
    QTest::keyClick(handle, Qt::Key_C);
    EXPECT_EQ(edit->text(), "xabc");
}
