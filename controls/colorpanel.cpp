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
    color_ = value;
    update();
}

void TcolorPanel::SetFontColor(TColor value)
{
    fontColor_ = value;
    update();
}

void TcolorPanel::SetCaption(const QString& value)
{
    caption_ = value;
    update();
}

void TcolorPanel::SetAlignment(TAlignment value)
{
    alignment_ = value;
    update();
}

void TcolorPanel::SetBevelOuter(TPanelBevel value)
{
    bevelOuter_ = value;
    UpdateClientMargins();
}

void TcolorPanel::SetBevelInner(TPanelBevel value)
{
    bevelInner_ = value;
    UpdateClientMargins();
}

void TcolorPanel::SetBevelWidth(int value)
{
    bevelWidth_ = value < 1 ? 1 : value;
    UpdateClientMargins();
}

void TcolorPanel::SetBorderWidth(int value)
{
    borderWidth_ = value < 0 ? 0 : value;
    UpdateClientMargins();
}

void TcolorPanel::SetBorderStyle(TBorderStyle value)
{
    borderStyle_ = value;
    UpdateClientMargins();
}

QRect TcolorPanel::ClientRect() const
{
    return borderStyle_ == TBorderStyle::bsSingle ? rect().adjusted(1, 1, -1, -1) : rect();
}

int TcolorPanel::Extent() const
{
    return BevelExtent(bevelOuter_, bevelInner_, bevelWidth_, borderWidth_);
}

QRect TcolorPanel::InnerRect() const
{
    const int e = Extent();
    return ClientRect().adjusted(e, e, -e, -e);
}

void TcolorPanel::PaintTo(QPainter& painter)
{
    if (borderStyle_ == TBorderStyle::bsSingle) {
        painter.fillRect(rect(), ToQColor(clWindowFrame));
    }
    const QRect client = ClientRect();
    painter.fillRect(client, ToQColor(color_));
    DrawColorBevel(painter, client, bevelOuter_, color_, bevelWidth_);
    const int in = borderWidth_ + (bevelOuter_ != TPanelBevel::bvNone ? bevelWidth_ : 0);
    DrawColorBevel(painter, client.adjusted(in, in, -in, -in), bevelInner_, color_, bevelWidth_);
    PaintCaption(painter, false);
}

void TcolorPanel::PaintCaption(QPainter& painter, bool transparent)
{
    if (caption_.isEmpty()) {
        return;
    }
    const QRect inner = InnerRect();
    if (!transparent) {
        // The text's own background is the panel colour, as a solid brush draws it.
        const QRect used = painter.fontMetrics().boundingRect(
            inner, Qt::TextSingleLine | ToQtAlignment(alignment_) | Qt::AlignVCenter, caption_);
        painter.fillRect(used.intersected(inner), ToQColor(color_));
    }
    painter.setPen(ToQColor(fontColor_));
    painter.drawText(inner, Qt::TextSingleLine | ToQtAlignment(alignment_) | Qt::AlignVCenter, caption_);
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
    const int e = Extent() + (borderStyle_ == TBorderStyle::bsSingle ? 1 : 0);
    setContentsMargins(e, e, e, e);
    FrameChanged();
}
