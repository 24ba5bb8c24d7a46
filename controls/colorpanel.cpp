#include "controls/colorpanel.h"

#include "controls/colorbevel.h"
#include "controls/qtcolor.h"

#include <QEvent>
#include <QPainter>

TcolorPanel::TcolorPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
    UpdateClientMargins();
}

TcolorPanel::~TcolorPanel() = default;

void TcolorPanel::SetColor(TColor value)
{
    m_color = value;
    update();
}

void TcolorPanel::SetFontColor(TColor value)
{
    m_fontColor = value;
    update();
}

void TcolorPanel::SetCaption(const QString& value)
{
    m_caption = value;
    update();
}

void TcolorPanel::SetAlignment(TAlignment value)
{
    m_alignment = value;
    update();
}

void TcolorPanel::SetBevelOuter(TPanelBevel value)
{
    m_bevelOuter = value;
    UpdateClientMargins();
}

void TcolorPanel::SetBevelInner(TPanelBevel value)
{
    m_bevelInner = value;
    UpdateClientMargins();
}

void TcolorPanel::SetBevelWidth(int value)
{
    m_bevelWidth = value < 1 ? 1 : value;
    UpdateClientMargins();
}

void TcolorPanel::SetBorderWidth(int value)
{
    m_borderWidth = value < 0 ? 0 : value;
    UpdateClientMargins();
}

void TcolorPanel::SetBorderStyle(TBorderStyle value)
{
    m_borderStyle = value;
    UpdateClientMargins();
}

QRect TcolorPanel::ClientRect() const
{
    return m_borderStyle == TBorderStyle::bsSingle ? rect().adjusted(1, 1, -1, -1) : rect();
}

int TcolorPanel::Extent() const
{
    return BevelExtent(m_bevelOuter, m_bevelInner, m_bevelWidth, m_borderWidth);
}

QRect TcolorPanel::InnerRect() const
{
    const int e = Extent();
    return ClientRect().adjusted(e, e, -e, -e);
}

void TcolorPanel::PaintTo(QPainter& painter)
{
    if (m_borderStyle == TBorderStyle::bsSingle) {
        painter.fillRect(rect(), ToQColor(clWindowFrame));
    }
    const QRect client = ClientRect();
    painter.fillRect(client, ToQColor(m_color));
    DrawColorBevel(painter, client, m_bevelOuter, m_color, m_bevelWidth);
    const int in = m_borderWidth + (m_bevelOuter != TPanelBevel::bvNone ? m_bevelWidth : 0);
    DrawColorBevel(painter, client.adjusted(in, in, -in, -in), m_bevelInner, m_color, m_bevelWidth);
    PaintCaption(painter, false);
}

void TcolorPanel::PaintCaption(QPainter& painter, bool transparent)
{
    if (m_caption.isEmpty()) {
        return;
    }
    const QRect inner = InnerRect();
    if (!transparent) {
        // The text's own background is the panel colour, as a solid brush draws it.
        const QRect used = painter.fontMetrics().boundingRect(
            inner, Qt::TextSingleLine | ToQtAlignment(m_alignment) | Qt::AlignVCenter, m_caption);
        painter.fillRect(used.intersected(inner), ToQColor(m_color));
    }
    painter.setPen(ToQColor(m_fontColor));
    painter.drawText(inner, Qt::TextSingleLine | ToQtAlignment(m_alignment) | Qt::AlignVCenter, m_caption);
}

void TcolorPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    PaintTo(painter);
}

void TcolorPanel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        update();
    }
    QWidget::changeEvent(event);
}

void TcolorPanel::FrameChanged()
{
    update();
}

void TcolorPanel::UpdateClientMargins()
{
    const int e = Extent() + (m_borderStyle == TBorderStyle::bsSingle ? 1 : 0);
    setContentsMargins(e, e, e, e);
    FrameChanged();
}
