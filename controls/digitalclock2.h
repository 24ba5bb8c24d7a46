#pragma once

#include "controls/clockswitch.h"
#include "controls/controlevents.h"
#include "markup/color.h"
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

    TclockStyle ClockStyle() const { return clockStyle_; }
    void SetClockStyle(TclockStyle value);
    TColor BackgroundColor() const { return backgroundColor_; }
    void SetBackgroundColor(TColor value);
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor value);

    bool UseTimeOn() const { return on_.Use(); }
    void SetUseTimeOn(bool value) { on_.SetUse(value); }
    TDateTime TimeOn() const { return on_.Time(); }
    void SetTimeOn(TDateTime value) { on_.SetTime(value); }
    bool UseTimeOff() const { return off_.Use(); }
    void SetUseTimeOff(bool value) { off_.SetUse(value); }
    TDateTime TimeOff() const { return off_.Time(); }
    void SetTimeOff(TDateTime value) { off_.SetTime(value); }

    QMenu* PopUpMenu() const { return popUpMenu_; }
    void SetPopUpMenu(QMenu* value) { popUpMenu_ = value; }

    // Where the clock reads the time; platform::Now unless replaced.
    void SetTimeSource(std::function<TDateTime()> source);
    // The "hh:mm" of the last tick (initially "12:00") and the text shown for it.
    const QString& TimeText() const { return text_; }
    QString DisplayText() const { return ClockDisplayText(text_, clockStyle_); }
    TThreadedTimer* Timer() const { return timer_.get(); }

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
    TclockStyle clockStyle_ = TclockStyle::cs12hr;
    TColor backgroundColor_ = clBlack;
    TColor fontColor_ = clLime;
    TclockSwitch on_;
    TclockSwitch off_;
    QMenu* popUpMenu_ = nullptr;
    std::function<TDateTime()> timeSource_;
    QString text_ = QStringLiteral("12:00");
    QString lastText_;
    std::unique_ptr<TThreadedTimer> timer_;
};
