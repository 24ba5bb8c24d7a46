#include "controls/digitalclock2.h"

#include "controls/digitcells.h"
#include "controls/qtcolor.h"
#include "core/threadedtimer.h"

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
    m_timer = std::make_unique<TThreadedTimer>();
    m_timer->OnTimer = [this](TThreadedTimer*) { TimerTick(); };
    m_timer->SetInterval(1000);
    m_timer->SetEnabled(true);
}

TdigitalClock2::~TdigitalClock2()
{
    m_timer->SetEnabled(false);
    m_timer->OnTimer = nullptr;
}

void TdigitalClock2::SetClockStyle(TclockStyle value)
{
    m_clockStyle = value;
    update();
}

void TdigitalClock2::SetBackgroundColor(TColor value)
{
    m_backgroundColor = value;
    update();
}

void TdigitalClock2::SetFontColor(TColor value)
{
    m_fontColor = value;
    update();
}

void TdigitalClock2::SetTimeSource(std::function<TDateTime()> source)
{
    m_timeSource = std::move(source);
}

void TdigitalClock2::TimerTick()
{
    const TDateTime now = m_timeSource ? m_timeSource() : platform::Now();
    m_text = ClockTimeText(now);
    if (m_text != m_lastText) {
        repaint();
        m_lastText = m_text;
    }
    // The handlers may free the clock; nothing of it is touched after they ran.
    const bool on = m_on.Tick(now);
    const bool off = m_off.Tick(now);
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
    painter.fillRect(rect(), ToQColor(m_backgroundColor));
    painter.setFont(font());
    painter.setPen(ToQColor(m_fontColor));
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
    if (m_popUpMenu) {
        m_popUpMenu->popup(event->globalPos());
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
