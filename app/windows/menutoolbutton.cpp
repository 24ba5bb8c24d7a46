#include "app/windows/menutoolbutton.h"

#include "controls/skindraw.h"

#include <QImage>
#include <QPainter>

namespace {

constexpr int kEdgePercent = 25;

} // namespace

TmenuToolButton::TmenuToolButton(QWidget* parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setAttribute(Qt::WA_Hover, true);
}

void TmenuToolButton::SetColor(TColor value)
{
    color_ = value;
    update();
}

void TmenuToolButton::SetFontColor(TColor value)
{
    fontColor_ = value;
    update();
}

QSize TmenuToolButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    const QSize caption = metrics.size(Qt::TextShowMnemonic, text());
    return {caption.width() + 14, metrics.height() + 8};
}

QImage TmenuToolButton::Render() const
{
    QImage face(size(), QImage::Format_RGB888);
    face.fill(SkinColorToQColor(color_));
    QPainter p(&face);
    const bool down = isDown();
    if (down || underMouse()) {
        // A raised edge while hot, the same lines swapped while pressed.
        const QColor light = SkinColorToQColor(LightenColor(SkinColorToRgb(color_), kEdgePercent));
        const QColor dark = SkinColorToQColor(DarkenColor(SkinColorToRgb(color_), kEdgePercent));
        const int right = width() - 1;
        const int bottom = height() - 1;
        p.setPen(down ? dark : light);
        p.drawLine(0, 0, right, 0);
        p.drawLine(0, 0, 0, bottom);
        p.setPen(down ? light : dark);
        p.drawLine(right, 0, right, bottom);
        p.drawLine(0, bottom, right, bottom);
    }
    p.setFont(font());
    constexpr int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    p.setPen(Qt::black);
    p.drawText(rect().translated(1, 1), flags, text());
    p.setPen(SkinColorToQColor(fontColor_));
    p.drawText(rect(), flags, text());
    return face;
}

void TmenuToolButton::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, Render());
}
