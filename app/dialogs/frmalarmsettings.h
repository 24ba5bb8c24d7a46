#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;
class QTimeEdit;
class TalarmSettingsHost;
class TdigitalClock2;

// "Alarm Clock Settings": the on and off alarms' switches and times, and whether they are kept when the
// program ends. The controls hold the edits until OK hands them to the alarms.
class TfrmAlarmSettings : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmAlarmSettings(QWidget* parent = nullptr);

    // The main window whose alarms are edited (a link; null: the controls keep their own state).
    void SetJukebox(TalarmSettingsHost* host) { host_ = host; }
    TalarmSettingsHost* Jukebox() const { return host_; }

    // Each picker follows its box; the keep box is offered only while an alarm is on, and cleared when
    // none is.
    void UpdateKeepSettings();
    // OK's step: the controls into the alarms, in the order the alarms expect (switch, then time).
    void ApplySettings();
    // Switches the dialog's clock between 12 and 24 hours (not stored).
    void clockClick();

    TdigitalClock2* Clock() const { return clock; }
    QCheckBox* UseTimeOnBox() const { return cbUseTimeOn; }
    QCheckBox* UseTimeOffBox() const { return cbUseTimeOff; }
    QCheckBox* MaintainBox() const { return cbMaintainSettings; }
    QTimeEdit* OnTimePicker() const { return dtpOnTime; }
    QTimeEdit* OffTimePicker() const { return dtpOffTime; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();

    TalarmSettingsHost* host_ = nullptr; // link

    TdigitalClock2* clock;
    QCheckBox* cbUseTimeOn;
    QTimeEdit* dtpOnTime;
    QCheckBox* cbUseTimeOff;
    QTimeEdit* dtpOffTime;
    QCheckBox* cbMaintainSettings;
    QPushButton* btnOK;
    QPushButton* btnCancel;
};

// The main window's "Alarm Clock" command: edits its alarms modally, centred on it; OK applies the edits,
// Cancel leaves the alarms as they were. Without a main window nothing happens.
void EditAlarms(TalarmSettingsHost* host);
