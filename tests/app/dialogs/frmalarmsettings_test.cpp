#include "app/dialogs/frmalarmsettings.h"
#include "controls/digitalclock2.h"
#include "core/timers/alarmclock.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimeEdit>

#include <functional>

using platform::EncodeTime;

namespace {

// Runs step inside the dialog's modal loop (closing whatever else came up).
void WhenDialogUp(std::function<void(TfrmAlarmSettings*)> step)
{
    WhenModal([step = std::move(step)](QWidget* shown) {
        if (auto* dialog = qobject_cast<TfrmAlarmSettings*>(shown)) {
            step(dialog);
            return;
        }
        ADD_FAILURE() << "the alarm settings are not up";
        if (shown != nullptr)
            shown->close();
    });
}

void Click(QWidget* widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(5, widget->height() / 2));
}

void ClickButton(QWidget* dialog, const char* name)
{
    auto* button = dialog->findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

struct AlarmSettings : ::testing::Test
{
    AlarmSettings()
    {
        alarms.AlarmOn().SetTime(EncodeTime(7, 30, 0));
        alarms.AlarmOn().SetEnabled(true);
        alarms.AlarmOff().SetTime(EncodeTime(22, 0, 0));
        alarms.SetMaintain(true);
    }

    TalarmClock alarms;
};

} // namespace

TEST_F(AlarmSettings, ShowsTheAlarmsAndOKHandsTheEditsOver)
{
    WhenDialogUp([](TfrmAlarmSettings* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Alarm Clock Settings");
        EXPECT_EQ(dialog->OnTimePicker()->time(), QTime(7, 30));
        EXPECT_EQ(dialog->OffTimePicker()->time(), QTime(22, 0));
        EXPECT_TRUE(dialog->UseTimeOnBox()->isChecked());
        EXPECT_FALSE(dialog->UseTimeOffBox()->isChecked());
        EXPECT_TRUE(dialog->OnTimePicker()->isEnabled());
        EXPECT_FALSE(dialog->OffTimePicker()->isEnabled());
        EXPECT_TRUE(dialog->MaintainBox()->isEnabled());
        EXPECT_TRUE(dialog->MaintainBox()->isChecked());

        dialog->OnTimePicker()->setTime(QTime(6, 45));
        Click(dialog->UseTimeOffBox());
        EXPECT_TRUE(dialog->OffTimePicker()->isEnabled());
        dialog->OffTimePicker()->setTime(QTime(23, 15, 30));
        ClickButton(dialog, "btnOK");
    });
    EditAlarms(&alarms, nullptr);
    EXPECT_TRUE(alarms.AlarmOn().Enabled());
    EXPECT_EQ(alarms.AlarmOn().Time(), EncodeTime(6, 45, 0));
    EXPECT_TRUE(alarms.AlarmOff().Enabled());
    EXPECT_EQ(alarms.AlarmOff().Time(), EncodeTime(23, 15, 30));
    EXPECT_TRUE(alarms.Maintain());
}

TEST_F(AlarmSettings, NoAlarmOnMeansNothingToKeep)
{
    WhenDialogUp([](TfrmAlarmSettings* dialog) {
        Click(dialog->UseTimeOnBox());
        EXPECT_FALSE(dialog->OnTimePicker()->isEnabled());
        EXPECT_FALSE(dialog->MaintainBox()->isEnabled());
        EXPECT_FALSE(dialog->MaintainBox()->isChecked());
        // The off alarm alone offers the box again, still cleared.
        Click(dialog->UseTimeOffBox());
        EXPECT_TRUE(dialog->MaintainBox()->isEnabled());
        EXPECT_FALSE(dialog->MaintainBox()->isChecked());
        EXPECT_FALSE(dialog->OnTimePicker()->isEnabled());
        Click(dialog->UseTimeOffBox());
        ClickButton(dialog, "btnOK");
    });
    EditAlarms(&alarms, nullptr);
    EXPECT_FALSE(alarms.AlarmOn().Enabled());
    EXPECT_FALSE(alarms.AlarmOff().Enabled());
    EXPECT_FALSE(alarms.Maintain());
}

TEST_F(AlarmSettings, CancelAndEscapeLeaveTheAlarmsAsTheyWere)
{
    const auto edit = [](TfrmAlarmSettings* dialog) {
        dialog->OnTimePicker()->setTime(QTime(5, 0));
        Click(dialog->UseTimeOnBox());
        Click(dialog->UseTimeOffBox());
    };
    WhenDialogUp([&](TfrmAlarmSettings* dialog) {
        edit(dialog);
        ClickButton(dialog, "btnCancel");
    });
    EditAlarms(&alarms, nullptr);
    WhenDialogUp([&](TfrmAlarmSettings* dialog) {
        edit(dialog);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EditAlarms(&alarms, nullptr);
    EXPECT_TRUE(alarms.AlarmOn().Enabled());
    EXPECT_EQ(alarms.AlarmOn().Time(), EncodeTime(7, 30, 0));
    EXPECT_FALSE(alarms.AlarmOff().Enabled());
    EXPECT_TRUE(alarms.Maintain());
}

TEST_F(AlarmSettings, CentredOnTheMainWindowWithAClockThatSwitchesItsStyle)
{
    QWidget mainWindow;
    mainWindow.setGeometry(200, 150, 900, 700);
    mainWindow.show();
    WhenDialogUp([&](TfrmAlarmSettings* dialog) {
        EXPECT_EQ(dialog->frameGeometry().center(), mainWindow.frameGeometry().center());
        TdigitalClock2* clock = dialog->Clock();
        EXPECT_EQ(clock->ClockStyle(), TclockStyle::cs12hr);
        EXPECT_FALSE(clock->UseTimeOn());
        EXPECT_FALSE(clock->UseTimeOff());
        QTest::mouseClick(clock, Qt::LeftButton);
        EXPECT_EQ(clock->ClockStyle(), TclockStyle::cs24hr);
        QTest::mouseClick(clock, Qt::LeftButton);
        EXPECT_EQ(clock->ClockStyle(), TclockStyle::cs12hr);
        dialog->reject();
    });
    EditAlarms(&alarms, &mainWindow);
}
