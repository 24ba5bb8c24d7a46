#include "controls/daskellabel.h"

#include "controls/qtcolor.h"

#include <QEvent>
#include <QPainter>

#include <array>

TdaskelLabel::TdaskelLabel(QWidget* parent) : QLabel(parent) {}

TdaskelLabel::TdaskelLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

TdaskelLabel::~TdaskelLabel() = default;

void TdaskelLabel::SetLabelStyle(TlabelStyle value)
{
    labelStyle_ = value;
    AdjustBounds();
    update();
}

void TdaskelLabel::SetFontColor(TColor value)
{
    fontColor_ = value;
    update();
}

void TdaskelLabel::SetShowAccelChar(bool value)
{
    showAccelChar_ = value;
    AdjustBounds();
    update();
}

void TdaskelLabel::SetAutoSize(bool value)
{
    autoSize_ = value;
    AdjustBounds();
}

void TdaskelLabel::SetCaption(const QString& value)
{
    setText(value);
    AdjustBounds();
    update();
}

int TdaskelLabel::TextFlags() const
{
    int flags = int(alignment());
    if (wordWrap()) {
        flags |= Qt::TextWordWrap;
    }
    if (showAccelChar_) {
        flags |= Qt::TextShowMnemonic;
    }
    return flags;
}

QSize TdaskelLabel::sizeHint() const
{
    QString measured = text();
    // An empty label keeps one line's height.
    if (measured.isEmpty() || (showAccelChar_ && measured == QStringLiteral("&"))) {
        measured += QLatin1Char(' ');
    }
    const int wrapWidth = wordWrap() && contentsRect().width() > 0 ? contentsRect().width() : 0x7FFF;
    const int flags = TextFlags() & ~int(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask);
    const QRect used = fontMetrics().boundingRect(QRect(0, 0, wrapWidth, 0x7FFF), flags, measured);
    const QMargins m = contentsMargins();
    QSize size(used.width() + m.left() + m.right(), used.height() + m.top() + m.bottom());
    if (labelStyle_ == TlabelStyle::lsShadow) {
        size += QSize(2, 2);
    }
    return size;
}

QSize TdaskelLabel::minimumSizeHint() const
{
    return sizeHint();
}

void TdaskelLabel::AdjustBounds()
{
    if (autoSize_) {
        resize(sizeHint());
    }
}

void TdaskelLabel::DoDrawText(QPainter& painter, const QRect& rect, int flags)
{
    const QString caption = text();
    const auto drawAt = [&](int dx, int dy, const QColor& color) {
        painter.setPen(color);
        painter.drawText(rect.translated(dx, dy), flags, caption);
    };
    if (!isEnabled()) {
        drawAt(1, 1, ToQColor(clBtnHighlight));
        drawAt(0, 0, ToQColor(clBtnShadow));
        return;
    }
    const QColor color = ToQColor(fontColor_);
    switch (labelStyle_) {
    case TlabelStyle::lsNormal:
        drawAt(0, 0, color);
        break;
    case TlabelStyle::lsShadow:
        drawAt(2, 2, Qt::black);
        drawAt(0, 0, color);
        break;
    case TlabelStyle::lsBorder: {
        static constexpr std::array<QPoint, 8> kRing = {QPoint(1, 2), QPoint(2, 2), QPoint(2, 1),
                                                        QPoint(2, 0), QPoint(1, 0), QPoint(0, 0),
                                                        QPoint(0, 1), QPoint(0, 2)};
        for (const QPoint& p : kRing) {
            drawAt(p.x(), p.y(), Qt::black);
        }
        drawAt(1, 1, color);
        break;
    }
    }
}

const QImage& TdaskelLabel::Render()
{
    if (buffer_.size() != size()) {
        buffer_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    }
    if (buffer_.isNull()) {
        return buffer_;
    }
    buffer_.fill(Qt::transparent);
    {
        QPainter painter(&buffer_);
        painter.setFont(font());
        DoDrawText(painter, contentsRect(), TextFlags());
    }
    // The key colour is the picture's transparent colour: pixels of exactly that colour vanish.
    const QRgb key = qRgb(GetRValue(kKeyColor), GetGValue(kKeyColor), GetBValue(kKeyColor));
    for (int y = 0; y < buffer_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(buffer_.scanLine(y));
        for (int x = 0; x < buffer_.width(); ++x) {
            if (line[x] == key) {
                line[x] = 0;
            }
        }
    }
    return buffer_;
}

void TdaskelLabel::paintEvent(QPaintEvent*)
{
    const QImage& buffer = Render();
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), buffer);
}

void TdaskelLabel::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::EnabledChange) {
        AdjustBounds();
        update();
    }
    QLabel::changeEvent(event);
}
