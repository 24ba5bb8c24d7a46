#include "controls/scrollbanner3.h"

#include "controls/htmlrender.h"
#include "controls/qtcolor.h"
#include "core/timers/threadedtimer.h"

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

TScrollBanner3::TScrollBanner3(QWidget* parent, bool designing) : QWidget(parent), designing_(designing)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 20);
    strip_ = QImage(1, 1, QImage::Format_BGR888);
    if (!designing_) {
        timer_ = std::make_unique<TThreadedTimer>();
        // Off until scrolling is switched on, so a banner that is not scrolling stays put.
        timer_->SetEnabled(false);
        timer_->OnTimer = [this](TThreadedTimer*) { TimerTick(); };
        timer_->SetThreadPriority(TThreadPriority::tpLower);
    }
}

TScrollBanner3::~TScrollBanner3()
{
    if (timer_) {
        timer_->SetEnabled(false);
        timer_->OnTimer = nullptr;
    }
}

void TScrollBanner3::SetCaption(const std::string& value)
{
    caption_ = value;
    offset_ = 0;
    RenderBuffer();
    update();
}

void TScrollBanner3::SetColor(TColor value)
{
    color_ = value;
    RenderBuffer();
    repaint();
}

void TScrollBanner3::SetFontColor(TColor value)
{
    fontColor_ = value;
    RenderBuffer();
    update();
}

void TScrollBanner3::SetSpaces(int value)
{
    spaces_ = std::max(0, value);
    RenderBuffer();
    update();
}

int TScrollBanner3::ScrollDelay() const
{
    return timer_ ? static_cast<int>(timer_->Interval()) : storedDelay_;
}

void TScrollBanner3::SetScrollDelay(int value)
{
    storedDelay_ = value;
    if (designing_ || !timer_) {
        return;
    }
    timer_->SetInterval(static_cast<std::uint32_t>(std::max(0, value)));
    if (value == 0) {
        SetCaption(caption_);
    }
}

void TScrollBanner3::SetScrollEnabled(bool value)
{
    scrollEnabled_ = value;
    if (designing_ || !timer_) {
        return;
    }
    SetCaption(caption_);
    timer_->SetEnabled(value);
}

void TScrollBanner3::SetScrollInc(int value)
{
    scrollInc_ = std::clamp(value, 1, 100);
}

void TScrollBanner3::RenderBuffer()
{
    std::string text = caption_;
    text.append(static_cast<std::size_t>(spaces_), ' ');
    const int flags = Qt::AlignVCenter;
    // Measured in the fonts the runs are drawn in, on the strip itself, so the strip holds exactly the
    // drawn text: the seam of the loop neither cuts the end off nor leaves a gap.
    const int textWidth = MeasureTaggedText(text, font(), flags, &strip_).width();
    const int stripWidth = std::max(textWidth, width());
    const int stripHeight = height();
    if (stripWidth <= 0 || stripHeight <= 0) {
        offset_ = 0;
        return;
    }
    if (strip_.width() != stripWidth || strip_.height() != stripHeight) {
        strip_ = QImage(stripWidth, stripHeight, QImage::Format_BGR888);
    }
    offset_ = WrapBannerOffset(offset_, stripWidth);
    strip_.fill(ToQColor(color_));
    QPainter painter(&strip_);
    painter.setFont(font());
    painter.setPen(ToQColor(fontColor_));
    DrawTaggedText(text, QRect(0, 0, stripWidth, stripHeight), painter, painter.fontMetrics(), flags);
}

void TScrollBanner3::TimerTick()
{
    if (!scrollEnabled_) {
        return;
    }
    offset_ -= scrollInc_;
    RenderBuffer();
    repaint();
}

void TScrollBanner3::PaintTo(QPainter& painter)
{
    if (size() != paintedSize_) {
        RenderBuffer();
        paintedSize_ = size();
    }
    if (width() <= 0 || height() <= 0) {
        return;
    }
    if (offset_ == 0) {
        painter.drawImage(QPoint(0, 0), strip_);
    } else {
        painter.drawImage(QPoint(offset_, 0), strip_);
        painter.drawImage(QPoint(offset_ + strip_.width(), 0), strip_);
    }
    if (designing_) {
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
