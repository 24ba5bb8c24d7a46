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
    m_buffer = QImage(size(), QImage::Format_BGR888);
}

TdigitalDisplay::~TdigitalDisplay() = default;

void TdigitalDisplay::SetSeconds(int value)
{
    m_seconds = value;
    m_text = SecondsToDisplayText(value);
    repaint();
}

void TdigitalDisplay::SetBackColor(TColor value)
{
    m_backColor = value;
    update();
}

void TdigitalDisplay::SetFontColor(TColor value)
{
    m_fontColor = value;
    update();
}

const QImage& TdigitalDisplay::Render()
{
    if (m_buffer.size() != size()) {
        m_buffer = QImage(size(), QImage::Format_BGR888);
    }
    if (m_buffer.isNull()) {
        return m_buffer;
    }
    m_buffer.fill(ToQColor(m_backColor));
    QPainter painter(&m_buffer);
    painter.setFont(font());
    painter.setPen(ToQColor(m_fontColor));
    DrawDigitCells(painter, width(), height(), m_text);
    return m_buffer;
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
