#include "controls/scrollbanner3.h"

#include "controls/htmlrender.h"
#include "controls/qtcolor.h"
#include "core/threadedtimer.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>

int WrapBannerOffset(int offset, int stripWidth)
{
    if (stripWidth <= 0) {
        return 0;
    }
    // Whole strips only: a step wider than the strip must not leave the offset drifting away.
    if (-static_cast<long long>(offset) > stripWidth) {
        const long long past = -static_cast<long long>(offset) - stripWidth;
        const long long strips = (past + stripWidth - 1) / stripWidth;
        return static_cast<int>(offset + strips * stripWidth);
    }
    return offset;
}

int NextBannerOffset(int offset, int inc, int stripWidth)
{
    return WrapBannerOffset(
        static_cast<int>(std::max<long long>(static_cast<long long>(offset) - inc, INT32_MIN)), stripWidth);
}

TScrollBanner3::TScrollBanner3(QWidget* parent, bool designing) : QWidget(parent), m_designing(designing)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 20);
    m_strip = QImage(1, 1, QImage::Format_BGR888);
    if (!m_designing) {
        m_timer = std::make_unique<TThreadedTimer>();
        // Off until scrolling is switched on, so a banner that is not scrolling stays put.
        m_timer->SetEnabled(false);
        m_timer->OnTimer = [this](TThreadedTimer*) { TimerTick(); };
        m_timer->SetThreadPriority(TThreadPriority::tpLower);
    }
}

TScrollBanner3::~TScrollBanner3()
{
    if (m_timer) {
        m_timer->SetEnabled(false);
        m_timer->OnTimer = nullptr;
    }
}

void TScrollBanner3::SetCaption(const std::string& value)
{
    m_caption = value;
    m_offset = 0;
    RenderBuffer();
    update();
}

void TScrollBanner3::SetColor(TColor value)
{
    m_color = value;
    RenderBuffer();
    repaint();
}

void TScrollBanner3::SetFontColor(TColor value)
{
    m_fontColor = value;
    RenderBuffer();
    update();
}

void TScrollBanner3::SetSpaces(int value)
{
    m_spaces = std::max(0, value);
    RenderBuffer();
    update();
}

int TScrollBanner3::ScrollDelay() const
{
    return m_timer ? static_cast<int>(m_timer->Interval()) : m_storedDelay;
}

void TScrollBanner3::SetScrollDelay(int value)
{
    m_storedDelay = value;
    if (m_designing || !m_timer) {
        return;
    }
    m_timer->SetInterval(static_cast<std::uint32_t>(std::max(0, value)));
    if (value == 0) {
        SetCaption(m_caption);
    }
}

void TScrollBanner3::SetScrollEnabled(bool value)
{
    m_scrollEnabled = value;
    if (m_designing || !m_timer) {
        return;
    }
    SetCaption(m_caption);
    m_timer->SetEnabled(value);
}

void TScrollBanner3::SetScrollInc(int value)
{
    m_scrollInc = std::clamp(value, 1, 100);
}

void TScrollBanner3::RenderBuffer()
{
    std::string text = m_caption;
    text.append(static_cast<std::size_t>(m_spaces), ' ');
    const int flags = Qt::AlignVCenter;
    // Measured in the fonts the runs are drawn in, on the strip itself, so the strip holds exactly the
    // drawn text: the seam of the loop neither cuts the end off nor leaves a gap.
    const int textWidth = MeasureTaggedText(text, font(), flags, &m_strip).width();
    const int stripWidth = std::max(textWidth, width());
    const int stripHeight = height();
    if (stripWidth <= 0 || stripHeight <= 0) {
        m_offset = 0;
        return;
    }
    if (m_strip.width() != stripWidth || m_strip.height() != stripHeight) {
        m_strip = QImage(stripWidth, stripHeight, QImage::Format_BGR888);
    }
    m_offset = WrapBannerOffset(m_offset, stripWidth);
    m_strip.fill(ToQColor(m_color));
    QPainter painter(&m_strip);
    painter.setFont(font());
    painter.setPen(ToQColor(m_fontColor));
    DrawTaggedText(text, QRect(0, 0, stripWidth, stripHeight), painter, painter.fontMetrics(), flags);
}

void TScrollBanner3::TimerTick()
{
    if (!m_scrollEnabled) {
        return;
    }
    m_offset -= m_scrollInc;
    RenderBuffer();
    repaint();
}

void TScrollBanner3::PaintTo(QPainter& painter)
{
    if (size() != m_paintedSize) {
        RenderBuffer();
        m_paintedSize = size();
    }
    if (width() <= 0 || height() <= 0) {
        return;
    }
    if (m_offset == 0) {
        painter.drawImage(QPoint(0, 0), m_strip);
    } else {
        painter.drawImage(QPoint(m_offset, 0), m_strip);
        painter.drawImage(QPoint(m_offset + m_strip.width(), 0), m_strip);
    }
    if (m_designing) {
        painter.setPen(QPen(Qt::black, 0, Qt::DashLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TScrollBanner3::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    PaintTo(painter);
}

void TScrollBanner3::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        RenderBuffer();
        update();
    }
    QWidget::changeEvent(event);
}
