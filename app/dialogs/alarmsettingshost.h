#pragma once

class QWidget;
class Talarm;

// What the alarm settings need of the main window: its two daily alarms (play, stop), its keep-settings
// flag and the window to centre on. The main window implements it and hands itself to EditAlarms.
class TalarmSettingsHost
{
public:
    virtual Talarm& AlarmOn() const = 0;
    virtual Talarm& AlarmOff() const = 0;
    // Keep the alarms' on/off states across runs ("Keep settings on Application Exit").
    virtual bool GetMaintainAlarms() const = 0;
    virtual void SetMaintainAlarms(bool on) = 0;
    // The main window; null when it has none to centre on.
    virtual QWidget* HostWindow() const = 0;

protected:
    ~TalarmSettingsHost() = default;
};
