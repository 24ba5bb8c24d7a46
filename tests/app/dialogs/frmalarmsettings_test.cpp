#include "app/dialogs/alarmsettingshost.h"
#include "app/dialogs/frmalarmsettings.h"
#include "controls/digitalclock2.h"
#include "core/timers/alarm.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <functional>

using platform::EncodeTime;

namespace {

void Click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, widget->height() / 2));
}

// The main window's side: its two alarms and its keep-settings flag.
struct TtestAlarmsHost : TalarmSettingsHost
{
    Talarm& AlarmOn() const override { return on; }
    Talarm& AlarmOff() const override { return off; }
    bool GetMaintainAlarms() const override { return maintain; }
    void SetMaintainAlarms(bool value) override { maintain = value; }
    QWidget* HostWindow() const override { return window; }

    mutable Talarm on;
    mutable Talarm off;
    bool maintain = true;
    QWidget* window = nullptr;
};

struct AlarmSettings : ::testing::Test
{
    AlarmSettings()
    {
        alarms.on.SetTime(EncodeTime(7, 30, 0));
        alarms.on.SetEnabled(true);
        alarms.off.SetTime(EncodeTime(22, 0, 0));
    }

    // Runs step on the dialog inside EditAlarms' modal loop.
    void Edit(std::function<void(TfrmAlarmSettings*)> step, QWidget* mainWindow = nullptr)
    {
        WhenModal([step = std::move(step)](QWidget* shown) {
            auto* dialog = qobject_cast<TfrmAlarmSettings*>(shown);
            if (dialog == nullptr) {
                ADD_FAILURE() << "the alarm settings are not up";
                shown->close();
                return;
            }
            step(dialog);
        });
        alarms.window = mainWindow;
        EditAlarms(&alarms);
    }

    TtestAlarmsHost alarms;
};

} // namespace

TEST_F(AlarmSettings, ShowsTheAlarmsCentredOnTheMainWindowAndOKHandsTheEditsOver)
{
    QWidget mainWindow;
    mainWindow.setGeometry(200, 150, 900, 700);
    mainWindow.show();
    Edit(
        [&](TfrmAlarmSettings* dialog) {
            EXPECT_EQ(dialog->frameGeometry().center(), mainWindow.frameGeometry().center());
            QTest::mouseClick(dialog->Clock(), Qt::LeftButton);
            EXPECT_EQ(dialog->Clock()->ClockStyle(), TclockStyle::cs24hr);
            EXPECT_EQ(dialog->OnTimePicker()->time(), QTime(7, 30));
            EXPECT_EQ(dialog->OffTimePicker()->time(), QTime(22, 0));
            EXPECT_TRUE(dialog->UseTimeOnBox()->isChecked());
            EXPECT_FALSE(dialog->UseTimeOffBox()->isChecked());
            EXPECT_FALSE(dialog->OffTimePicker()->isEnabled());
            EXPECT_TRUE(dialog->MaintainBox()->isEnabled() && dialog->MaintainBox()->isChecked());

            dialog->OnTimePicker()->setTime(QTime(6, 45));
            Click(dialog->UseTimeOffBox());
            EXPECT_TRUE(dialog->OffTimePicker()->isEnabled());
            dialog->OffTimePicker()->setTime(QTime(23, 15, 30));
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        },
        &mainWindow);
    EXPECT_TRUE(alarms.on.Enabled());
    EXPECT_EQ(alarms.on.Time(), EncodeTime(6, 45, 0));
    EXPECT_TRUE(alarms.off.Enabled());
    EXPECT_EQ(alarms.off.Time(), EncodeTime(23, 15, 30));
    EXPECT_TRUE(alarms.maintain);
}

TEST_F(AlarmSettings, NoAlarmOnMeansNothingToKeep)
{
    Edit([](TfrmAlarmSettings* dialog) {
        Click(dialog->UseTimeOnBox());
        EXPECT_FALSE(dialog->MaintainBox()->isEnabled());
        EXPECT_FALSE(dialog->MaintainBox()->isChecked());
        // The off alarm alone offers the box again, still cleared.
        Click(dialog->UseTimeOffBox());
        EXPECT_TRUE(dialog->MaintainBox()->isEnabled());
        EXPECT_FALSE(dialog->MaintainBox()->isChecked());
        EXPECT_FALSE(dialog->OnTimePicker()->isEnabled());
        Click(dialog->UseTimeOffBox());
        dialog->accept();
    });
    EXPECT_FALSE(alarms.on.Enabled() || alarms.off.Enabled() || alarms.maintain);
}

TEST_F(AlarmSettings, EscapeLeavesTheAlarmsAsTheyWere)
{
    Edit([](TfrmAlarmSettings* dialog) {
        dialog->OnTimePicker()->setTime(QTime(5, 0));
        Click(dialog->UseTimeOnBox());
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_TRUE(alarms.on.Enabled());
    EXPECT_EQ(alarms.on.Time(), EncodeTime(7, 30, 0));
    EXPECT_TRUE(alarms.maintain);
}
