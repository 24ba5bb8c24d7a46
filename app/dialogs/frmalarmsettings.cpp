#include "app/dialogs/frmalarmsettings.h"

#include "app/dialogs/alarmsettingshost.h"
#include "controls/digitalclock2.h"
#include "controls/windowplacement.h"
#include "core/timers/alarm.h"
#include "platform/datetime.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <cmath>

namespace {

QTime ToQTime(TDateTime value)
{
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    platform::DecodeTime(value - std::floor(value), hour, minute, second, millisecond);
    return QTime(hour, minute, second, millisecond);
}

TDateTime FromQTime(const QTime& time)
{
    return platform::EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
}

QTimeEdit* TimePicker(const char* name, QWidget* parent)
{
    auto* picker = new QTimeEdit(parent);
    picker->setObjectName(name);
    picker->setDisplayFormat("HH:mm:ss");
    return picker;
}

QCheckBox* Box(const char* name, const char* caption, QWidget* parent)
{
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    return box;
}

} // namespace

TfrmAlarmSettings::TfrmAlarmSettings(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmAlarmSettings");
    setWindowTitle("Alarm Clock Settings");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    clock = new TdigitalClock2(this);
    clock->setObjectName("clock");
    clock->SetClockStyle(TclockStyle::cs12hr);
    clock->SetBackgroundColor(clBlack);
    QFont clockFont = clock->font();
    clockFont.setPointSize(16);
    clock->setFont(clockFont);
    clock->setFixedSize(110, 32);
    clock->OnClick = [this](QObject*) { clockClick(); };

    cbUseTimeOn = Box("cbUseTimeOn", "Use Turn On alarm", this);
    dtpOnTime = TimePicker("dtpOnTime", this);
    cbUseTimeOff = Box("cbUseTimeOff", "Use Turn Off alarm", this);
    dtpOffTime = TimePicker("dtpOffTime", this);
    cbMaintainSettings = Box("cbMaintainSettings", "Keep settings on Application Exit", this);
    auto* lblTimeOn = new QLabel("Time On :", this);
    lblTimeOn->setObjectName("lblTimeOn");
    lblTimeOn->setBuddy(dtpOnTime);
    auto* lblTimeOff = new QLabel("Time Off :", this);
    lblTimeOff->setObjectName("lblTimeOff");
    lblTimeOff->setBuddy(dtpOffTime);

    btnOK = new QPushButton("&OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    btnCancel = new QPushButton("&Cancel", this);
    btnCancel->setObjectName("btnCancel");

    auto* grid = new QGridLayout;
    grid->addWidget(cbUseTimeOn, 0, 0);
    grid->addWidget(lblTimeOn, 0, 1);
    grid->addWidget(dtpOnTime, 0, 2);
    grid->addWidget(cbUseTimeOff, 1, 0);
    grid->addWidget(lblTimeOff, 1, 1);
    grid->addWidget(dtpOffTime, 1, 2);
    grid->addWidget(cbMaintainSettings, 2, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(clock, 0, Qt::AlignHCenter);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(cbUseTimeOn, &QCheckBox::clicked, this, [this] { UpdateKeepSettings(); });
    connect(cbUseTimeOff, &QCheckBox::clicked, this, [this] { UpdateKeepSettings(); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TfrmAlarmSettings::UpdateKeepSettings()
{
    dtpOnTime->setEnabled(cbUseTimeOn->isChecked());
    dtpOffTime->setEnabled(cbUseTimeOff->isChecked());
    const bool any = dtpOnTime->isEnabled() || dtpOffTime->isEnabled();
    cbMaintainSettings->setEnabled(any);
    if (!any)
        cbMaintainSettings->setChecked(false);
}

void TfrmAlarmSettings::ApplySettings()
{
    if (host_ == nullptr)
        return;
    host_->AlarmOn().SetEnabled(cbUseTimeOn->isChecked());
    host_->AlarmOn().SetTime(FromQTime(dtpOnTime->time()));
    host_->SetMaintainAlarms(cbMaintainSettings->isChecked());
    host_->AlarmOff().SetEnabled(cbUseTimeOff->isChecked());
    host_->AlarmOff().SetTime(FromQTime(dtpOffTime->time()));
}

void TfrmAlarmSettings::clockClick()
{
    clock->SetClockStyle(clock->ClockStyle() == TclockStyle::cs12hr ? TclockStyle::cs24hr
                                                                    : TclockStyle::cs12hr);
}

void TfrmAlarmSettings::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmAlarmSettings::FormShow()
{
    if (host_ != nullptr) {
        dtpOnTime->setTime(ToQTime(host_->AlarmOn().Time()));
        dtpOffTime->setTime(ToQTime(host_->AlarmOff().Time()));
        cbUseTimeOn->setChecked(host_->AlarmOn().Enabled());
        cbUseTimeOff->setChecked(host_->AlarmOff().Enabled());
        cbMaintainSettings->setChecked(host_->GetMaintainAlarms());
    }
    UpdateKeepSettings();
    clock->TimerTick(); // the present time at once, not a second late
    CentreOnOwner(*this, host_ != nullptr ? host_->HostWindow() : nullptr);
}

void EditAlarms(TalarmSettingsHost* host)
{
    if (host == nullptr)
        return;
    TfrmAlarmSettings form;
    form.SetJukebox(host);
    if (form.exec() == QDialog::Accepted)
        form.ApplySettings();
}
