#include "htmllabel.h"

#include "htmlrender.h"

#include <QEvent>
#include <QPainter>

namespace {

// Room the offset copies of the shadow and border styles take beyond the text.
QSize StyleExtra(TlabelStyle style)
{
    switch (style) {
    case TlabelStyle::lsShadow:
        return QSize(2, 2);
    case TlabelStyle::lsBorder:
        return QSize(1, 3);
    case TlabelStyle::lsNormal:
        break;
    }
    return QSize(0, 0);
}

} // namespace

ThtmlLabel::ThtmlLabel(QWidget* parent) : QFrame(parent)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void ThtmlLabel::SetCaption(std::string caption)
{
    if (caption == caption_)
        return;
    caption_ = std::move(caption);
    AdjustBounds();
    update();
}

void ThtmlLabel::SetLabelStyle(TlabelStyle value)
{
    if (value == labelStyle_)
        return;
    labelStyle_ = value;
    AdjustBounds();
    update();
}

void ThtmlLabel::SetAlignment(Qt::Alignment value)
{
    if (value == alignment_)
        return;
    alignment_ = value;
    update();
}

void ThtmlLabel::SetAutoSize(bool value)
{
    if (value == autoSize_)
        return;
    autoSize_ = value;
    AdjustBounds();
}

void ThtmlLabel::SetShowAccelChar(bool value)
{
    if (value == showAccelChar_)
        return;
    showAccelChar_ = value;
    AdjustBounds();
    update();
}

int ThtmlLabel::TextFlags() const
{
    int flags = Qt::TextExpandTabs | static_cast<int>(alignment_ & Qt::AlignHorizontal_Mask);
    if (showAccelChar_)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

QSize ThtmlLabel::sizeHint() const
{
    const QMargins m = contentsMargins();
    return MeasureTaggedText(caption_, font(), TextFlags(), this) + StyleExtra(labelStyle_) +
           QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize ThtmlLabel::minimumSizeHint() const
{
    return sizeHint();
}

void ThtmlLabel::AdjustBounds()
{
    updateGeometry();
    if (!autoSize_)
        return;
    const QSize size = sizeHint();
    QRect bounds = geometry();
    const int dx = bounds.width() - size.width();
    if (alignment_ & Qt::AlignRight)
        bounds.moveLeft(bounds.left() + dx);
    else if (alignment_ & Qt::AlignHCenter)
        bounds.moveLeft(bounds.left() + dx / 2);
    bounds.setSize(size);
    setGeometry(bounds);
}

void ThtmlLabel::changeEvent(QEvent* event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        AdjustBounds();
}

void ThtmlLabel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    QRect rect = contentsRect();
    if (alignment_ & (Qt::AlignTop | Qt::AlignBottom)) {
        const int height = MeasureTaggedText(caption_, font(), TextFlags(), this).height();
        if (alignment_ & Qt::AlignTop)
            rect.setHeight(height);
        else
            rect.setTop(rect.top() + rect.height() - height);
    }
    DoDrawText(painter, rect, TextFlags());
}

void ThtmlLabel::DoDrawText(QPainter& painter, const QRect& rect, int flags)
{
    painter.setFont(font());
    const QFontMetrics base(font(), this);
    if (!isEnabled()) {
        // The text before the first tag keeps the font colour in both copies.
        painter.setPen(palette().color(QPalette::Active, QPalette::WindowText));
        DrawTaggedText(caption_, rect.translated(1, 1), painter, base, flags, true,
                       palette().color(QPalette::Active, QPalette::Light));
        DrawTaggedText(caption_, rect, painter, base, flags, true,
                       palette().color(QPalette::Active, QPalette::Dark));
        return;
    }
    const QColor black(Qt::black);
    switch (labelStyle_) {
    case TlabelStyle::lsNormal:
        painter.setPen(palette().color(QPalette::WindowText));
        DrawTaggedText(caption_, rect, painter, base, flags);
        break;
    case TlabelStyle::lsShadow:
        // The pen stays black for the last copy too: text before the first tag draws black, and the
        // caption's own colours come from its font tags.
        painter.setPen(black);
        DrawTaggedText(caption_, rect.translated(2, 2), painter, base, flags, true, black);
        DrawTaggedText(caption_, rect, painter, base, flags);
        break;
    case TlabelStyle::lsBorder:
        painter.setPen(black);
        for (const QPoint offset : {QPoint(1, 1), QPoint(-1, 1), QPoint(-1, 3), QPoint(1, 3)})
            DrawTaggedText(caption_, rect.translated(offset), painter, base, flags, true, black);
        DrawTaggedText(caption_, rect.translated(0, 2), painter, base, flags);
        break;
    }
}
