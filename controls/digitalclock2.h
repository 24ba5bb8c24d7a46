#pragma once

#include "controls/clockswitch.h"
#include "controls/controlevents.h"
#include "controls/markup/color.h"
#include "platform/datetime.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class TThreadedTimer;
class QMenu;

enum class TclockStyle
{
    cs12hr = 0,
    cs24hr = 1
};

// The shown text of a 24-hour "hh:mm": as it is in cs24hr; in cs12hr "%2d" of the 12-hour hour, ":mm"
// and "a" or "p" (00:05 gives "12:05a", 13:30 " 1:30p", 12:00 "12:00p").
QString ClockDisplayText(const QString& hhmm, TclockStyle style);
// "hh:mm" of the time of day of a date-time, with leading zeros.
QString ClockTimeText(TDateTime value);

// The time of day in hours and minutes, each character in its own digit cell, with two switch times
// that raise OnTimeOn and OnTimeOff once a day.
class TdigitalClock2 : public QWidget
{
    Q_OBJECT

public:
    explicit TdigitalClock2(QWidget* parent = nullptr);
    ~TdigitalClock2() override;

    TclockStyle ClockStyle() const { return m_clockStyle; }
    void SetClockStyle(TclockStyle value);
    TColor BackgroundColor() const { return m_backgroundColor; }
    void SetBackgroundColor(TColor value);
    TColor FontColor() const { return m_fontColor; }
    void SetFontColor(TColor value);

    bool UseTimeOn() const { return m_on.Use(); }
    void SetUseTimeOn(bool value) { m_on.SetUse(value); }
    TDateTime TimeOn() const { return m_on.Time(); }
    void SetTimeOn(TDateTime value) { m_on.SetTime(value); }
    bool UseTimeOff() const { return m_off.Use(); }
    void SetUseTimeOff(bool value) { m_off.SetUse(value); }
    TDateTime TimeOff() const { return m_off.Time(); }
    void SetTimeOff(TDateTime value) { m_off.SetTime(value); }

    QMenu* PopUpMenu() const { return m_popUpMenu; }
    void SetPopUpMenu(QMenu* value) { m_popUpMenu = value; }

    // Where the clock reads the time; platform::Now unless replaced.
    void SetTimeSource(std::function<TDateTime()> source);
    // The "hh:mm" of the last tick (initially "12:00") and the text shown for it.
    const QString& TimeText() const { return m_text; }
    QString DisplayText() const { return ClockDisplayText(m_text, m_clockStyle); }
    TThreadedTimer* Timer() const { return m_timer.get(); }

    // One tick: the shown time, then the switches.
    void TimerTick();

    TNotifyEvent OnTimeOn;
    TNotifyEvent OnTimeOff;
    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    TclockStyle m_clockStyle = TclockStyle::cs12hr;
    TColor m_backgroundColor = clBlack;
    TColor m_fontColor = clLime;
    TclockSwitch m_on;
    TclockSwitch m_off;
    QMenu* m_popUpMenu = nullptr;
    std::function<TDateTime()> m_timeSource;
    QString m_text = QStringLiteral("12:00");
    QString m_lastText;
    std::unique_ptr<TThreadedTimer> m_timer;
};
