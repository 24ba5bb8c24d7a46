#include "app/dialogs/orvanelogo.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>

namespace {

const QColor kGroundTop(0x0E, 0x1C, 0x3A);
const QColor kGroundBottom(0x22, 0x44, 0x88);
const QColor kAccent(0xFF, 0x80, 0x40);
const QColor kLight(0xF2, 0xF4, 0xF8);

void DrawGround(QPainter& p, const QRect& area)
{
    QLinearGradient ground(area.topLeft(), area.bottomLeft());
    ground.setColorAt(0, kGroundTop);
    ground.setColorAt(1, kGroundBottom);
    p.fillRect(area, ground);
    p.setPen(QPen(kAccent, 2));
    p.drawLine(area.left(), area.bottom() - 1, area.right(), area.bottom() - 1);
}

// A record seen from above: grooves, an accent label and the spindle hole.
void DrawRecord(QPainter& p, const QPointF& centre, qreal radius)
{
    QRadialGradient vinyl(centre, radius);
    vinyl.setColorAt(0, QColor(0x30, 0x30, 0x36));
    vinyl.setColorAt(1, QColor(0x08, 0x08, 0x0C));
    p.setPen(Qt::NoPen);
    p.setBrush(vinyl);
    p.drawEllipse(centre, radius, radius);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x50, 0x50, 0x5A), 1));
    for (qreal r = radius * 0.45; r < radius - 2; r += radius * 0.09)
        p.drawEllipse(centre, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(centre, radius * 0.32, radius * 0.32);
    p.setBrush(kGroundTop);
    p.drawEllipse(centre, radius * 0.06, radius * 0.06);
}

// The largest pixel size at which text fits the width, at most the given size.
int FittingPixelSize(QFont font, const QString& text, qreal width, int largest)
{
    for (int size = largest; size > 6; --size) {
        font.setPixelSize(size);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width)
            return size;
    }
    return 6;
}

void DrawName(QPainter& p, const QRectF& area)
{
    const QString title = QStringLiteral("Orvane");
    const QString subtitle = QStringLiteral("JUKEBOX");
    QFont name("Liberation Sans");
    name.setStyleHint(QFont::SansSerif);
    name.setBold(true);
    name.setPixelSize(FittingPixelSize(name, title, area.width(), static_cast<int>(area.height() * 0.42)));
    p.setFont(name);
    p.setPen(kLight);
    const QRectF upper(area.left(), area.top(), area.width(), area.height() * 0.58);
    p.drawText(upper, Qt::AlignLeft | Qt::AlignBottom, title);

    QFont sub = name;
    sub.setBold(false);
    sub.setLetterSpacing(QFont::PercentageSpacing, 125);
    sub.setPixelSize(FittingPixelSize(sub, subtitle, area.width(), static_cast<int>(area.height() * 0.2)));
    p.setFont(sub);
    p.setPen(kAccent);
    const QRectF lower(area.left(), upper.bottom(), area.width(), area.height() - upper.height());
    p.drawText(lower, Qt::AlignLeft | Qt::AlignTop, subtitle);
}

} // namespace

QImage OrvaneLogo(const QSize& size)
{
    QImage logo(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    const QRect area = logo.rect();
    DrawGround(p, area);
    const qreal radius = area.height() * 0.3;
    const QPointF centre(area.left() + area.height() * 0.42, area.center().y());
    DrawRecord(p, centre, radius);
    const qreal textLeft = centre.x() + radius + area.height() * 0.1;
    const qreal margin = area.height() * 0.08;
    DrawName(p, QRectF(textLeft, area.top() + area.height() * 0.2, area.right() - textLeft - margin,
                       area.height() * 0.6));
    return logo;
}
