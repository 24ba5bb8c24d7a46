#include "controls/digitalclock2.h"

#include "controls/digitcells.h"
#include "controls/qtcolor.h"
#include "core/timers/threadedtimer.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

QString ClockDisplayText(const QString& hhmm, TclockStyle style)
{
    if (style == TclockStyle::cs24hr) {
        return hhmm;
    }
    const int h = hhmm.left(2).toInt();
    int shown = h;
    QChar half = QLatin1Char('a');
    if (h >= 13) {
        shown = h - 12;
        half = QLatin1Char('p');
    } else if (h == 12) {
        half = QLatin1Char('p');
    } else if (h == 0) {
        shown = 12;
    }
    return QString::asprintf("%2d", shown) + hhmm.mid(2) + half;
}

QString ClockTimeText(TDateTime value)
{
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    platform::DecodeTime(value, hour, minute, second, millisecond);
    return QString::asprintf("%02d:%02d", hour, minute);
}

TdigitalClock2::TdigitalClock2(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(50, 15);
    timer_ = std::make_unique<TThreadedTimer>();
    timer_->OnTimer = [this](TThreadedTimer*) { TimerTick(); };
    timer_->SetInterval(1000);
    timer_->SetEnabled(true);
}

TdigitalClock2::~TdigitalClock2()
{
    timer_->SetEnabled(false);
    timer_->OnTimer = nullptr;
}

void TdigitalClock2::SetClockStyle(TclockStyle value)
{
    clockStyle_ = value;
    update();
}

void TdigitalClock2::SetBackgroundColor(TColor value)
{
    backgroundColor_ = value;
    update();
}

void TdigitalClock2::SetFontColor(TColor value)
{
    fontColor_ = value;
    update();
}

void TdigitalClock2::SetTimeSource(std::function<TDateTime()> source)
{
    timeSource_ = std::move(source);
}

void TdigitalClock2::TimerTick()
{
    const TDateTime now = timeSource_ ? timeSource_() : platform::Now();
    text_ = ClockTimeText(now);
    if (text_ != lastText_) {
        repaint();
        lastText_ = text_;
    }
    // The handlers may free the clock; nothing of it is touched after they ran.
    const bool on = on_.Tick(now);
    const bool off = off_.Tick(now);
    const TNotifyEvent onEvent = on ? OnTimeOn : TNotifyEvent();
    const TNotifyEvent offEvent = off ? OnTimeOff : TNotifyEvent();
    if (onEvent) {
        onEvent(this);
    }
    if (offEvent) {
        offEvent(this);
    }
}

void TdigitalClock2::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(backgroundColor_));
    painter.setFont(font());
    painter.setPen(ToQColor(fontColor_));
    DrawDigitCells(painter, width(), height(), DisplayText());
}

void TdigitalClock2::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void TdigitalClock2::contextMenuEvent(QContextMenuEvent* event)
{
    if (popUpMenu_) {
        popUpMenu_->popup(event->globalPos());
        event->accept();
        return;
    }
    QWidget::contextMenuEvent(event);
}

void TdigitalClock2::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) {
        OnClick(this);
    }
    QWidget::mouseReleaseEvent(event);
}
