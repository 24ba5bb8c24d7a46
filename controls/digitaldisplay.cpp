#include "controls/digitaldisplay.h"

#include "controls/digitcells.h"
#include "controls/qtcolor.h"

#include <QEvent>
#include <QPainter>

#include <cstdlib>

QString SecondsToDisplayText(int seconds)
{
    if (seconds == 0) {
        return QStringLiteral("  0:00");
    }
    const long long value = seconds;
    const QString sign = value < 0 ? QStringLiteral("-") : QStringLiteral(" ");
    return sign + QString::asprintf("%2lld:%2.2lld", std::llabs(value / 60), std::llabs(value % 60));
}

TdigitalDisplay::TdigitalDisplay(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(40, 20);
    buffer_ = QImage(size(), QImage::Format_BGR888);
}

TdigitalDisplay::~TdigitalDisplay() = default;

void TdigitalDisplay::SetSeconds(int value)
{
    seconds_ = value;
    text_ = SecondsToDisplayText(value);
    repaint();
}

void TdigitalDisplay::SetBackColor(TColor value)
{
    backColor_ = value;
    update();
}

void TdigitalDisplay::SetFontColor(TColor value)
{
    fontColor_ = value;
    update();
}

const QImage& TdigitalDisplay::Render()
{
    if (buffer_.size() != size()) {
        buffer_ = QImage(size(), QImage::Format_BGR888);
    }
    if (buffer_.isNull()) {
        return buffer_;
    }
    buffer_.fill(ToQColor(backColor_));
    QPainter painter(&buffer_);
    painter.setFont(font());
    painter.setPen(ToQColor(fontColor_));
    DrawDigitCells(painter, width(), height(), text_);
    return buffer_;
}

void TdigitalDisplay::paintEvent(QPaintEvent*)
{
    const QImage& buffer = Render();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), buffer);
}

void TdigitalDisplay::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(event);
}
