#include "controls/greyskin.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace greyskin {
namespace {

QColor G(int level)
{
    return QColor(level, level, level);
}

QImage Blank(int w, int h, int level = 128)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(G(level));
    return image;
}

QPainterPath Rounded(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// A rounded face with a vertical gradient, lit from above (raised) or from below (sunken).
void Face(QPainter& p, const QRect& r, bool sunken, int top = 200, int bottom = 96)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, G(sunken ? bottom - 10 : top));
    g.setColorAt(0.5, G(sunken ? 110 : 140));
    g.setColorAt(1, G(sunken ? top - 30 : bottom));
    const QRectF f = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    p.setPen(QPen(G(40), 1));
    p.setBrush(g);
    p.drawPath(Rounded(f, r.height() / 4.0));
}

void Mask(QPainter& p, const QRect& r, qreal radius)
{
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(r, Qt::black);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(Rounded(QRectF(r).adjusted(0, 0, -1, -1), radius));
}

// The mark of a title or stacker button, centred in the face r; a pressed face draws it one pixel lower.
void DrawSymbol(QPainter& p, const QRect& r, Symbol symbol, bool pressed)
{
    if (symbol == Symbol::None)
        return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF c = QRectF(r).center() + QPointF(pressed ? 1 : 0, pressed ? 1 : 0);
    const qreal s = std::min(r.width(), r.height()) / 4.0;
    p.setPen(QPen(G(40), std::max<qreal>(1.5, s / 2.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    switch (symbol) {
    case Symbol::None:
        break;
    case Symbol::Close:
        p.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
        p.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
        break;
    case Symbol::Menu:
        for (int i = -1; i <= 1; ++i)
            p.drawLine(c + QPointF(-s, i * s * 0.8), c + QPointF(s, i * s * 0.8));
        break;
    case Symbol::Help: {
        QPainterPath hook;
        hook.moveTo(c + QPointF(-s * 0.7, -s * 0.5));
        hook.cubicTo(c + QPointF(-s * 0.7, -s * 1.3), c + QPointF(s * 0.8, -s * 1.3),
                     c + QPointF(s * 0.7, -s * 0.4));
        hook.cubicTo(c + QPointF(s * 0.6, 0), c + QPointF(0, 0), c + QPointF(0, s * 0.4));
        p.drawPath(hook);
        p.drawPoint(c + QPointF(0, s * 1.1));
        break;
    }
    case Symbol::Minimize:
        p.drawLine(c + QPointF(-s, s * 0.8), c + QPointF(s, s * 0.8));
        break;
    case Symbol::Maximize:
        p.drawRect(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s));
        p.drawLine(c + QPointF(-s, -s * 0.5), c + QPointF(s, -s * 0.5));
        break;
    case Symbol::Configure:
        p.drawEllipse(c, s * 0.55, s * 0.55);
        for (int i = 0; i < 8; ++i) {
            const qreal a = i * 3.14159265358979 / 4;
            p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * s * 0.8,
                       c + QPointF(std::cos(a), std::sin(a)) * s * 1.15);
        }
        break;
    case Symbol::Power:
        p.drawArc(QRectF(c.x() - s, c.y() - s * 0.8, 2 * s, 2 * s), 120 * 16, 300 * 16);
        p.drawLine(c + QPointF(0, -s * 1.1), c + QPointF(0, s * 0.1));
        break;
    case Symbol::MoveTo:
        p.drawLine(c + QPointF(-s, 0), c + QPointF(s, 0));
        p.drawLine(c + QPointF(s * 0.2, -s * 0.8), c + QPointF(s, 0));
        p.drawLine(c + QPointF(s * 0.2, s * 0.8), c + QPointF(s, 0));
        break;
    case Symbol::MoveUp:
    case Symbol::MoveDown: {
        const qreal tip = symbol == Symbol::MoveUp ? -s : s;
        p.drawLine(c + QPointF(0, -tip), c + QPointF(0, tip));
        p.drawLine(c + QPointF(-s * 0.8, tip * 0.2), c + QPointF(0, tip));
        p.drawLine(c + QPointF(s * 0.8, tip * 0.2), c + QPointF(0, tip));
        break;
    }
    case Symbol::Delete:
        p.drawLine(c + QPointF(-s, 0), c + QPointF(s, 0));
        break;
    case Symbol::Shuffle:
        p.drawPolyline(QPolygonF({c + QPointF(-s, s * 0.6), c + QPointF(-s * 0.33, -s * 0.6),
                                  c + QPointF(s * 0.33, s * 0.6), c + QPointF(s, -s * 0.6)}));
        break;
    }
    p.restore();
}

} // namespace

QImage PushButton(int w, int h, Symbol symbol)
{
    QImage image = Blank(3 * w, h);
    QPainter p(&image);
    Face(p, QRect(0, 0, w, h), false);
    Face(p, QRect(w, 0, w, h), true);
    DrawSymbol(p, QRect(0, 0, w, h), symbol, false);
    DrawSymbol(p, QRect(w, 0, w, h), symbol, true);
    Mask(p, QRect(2 * w, 0, w, h), h / 4.0);
    return image;
}

QImage CheckButton(int w, int h, Symbol symbol)
{
    QImage image = Blank(5 * w, h);
    QPainter p(&image);
    for (int i = 0; i < 4; ++i) {
        const QRect r(i * w, 0, w, h);
        Face(p, r, i % 2 == 1);
        // The checked frames carry a lit lamp: a coloured detail that no recolouring touches.
        const QRect lamp(r.left() + 6, r.center().y() - 3, 7, 7);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(G(40), 1));
        p.setBrush(i >= 2 ? QColor(40, 230, 60) : G(70));
        p.drawEllipse(lamp);
        DrawSymbol(p, r.adjusted(lamp.width() + 4, 0, 0, 0), symbol, i % 2 == 1);
    }
    Mask(p, QRect(4 * w, 0, w, h), h / 4.0);
    return image;
}

QImage MultiButton(int w, int h)
{
    QImage image = Blank(4 * w, h);
    QPainter p(&image);
    const int cell = w / 4;
    const QColor hit[4] = {QColor(255, 0, 255), QColor(0, 0, 255), QColor(0, 255, 0), QColor(255, 0, 0)};
    for (int frame = 0; frame < 3; ++frame) {
        for (int b = 0; b < 4; ++b) {
            const QRect r(frame * w + b * cell + 2, 2, cell - 4, h - 4);
            p.setRenderHint(QPainter::Antialiasing, true);
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, G(frame == 1 ? 90 : (frame == 2 ? 235 : 205)));
            g.setColorAt(1, G(frame == 1 ? 170 : (frame == 2 ? 150 : 90)));
            p.setPen(QPen(G(35), 1.5));
            p.setBrush(g);
            p.drawEllipse(QRectF(r));
            // The symbol: play, next, pause, stop.
            const QPointF c = QRectF(r).center();
            const qreal s = std::min(r.width(), r.height()) / 5.0;
            p.setPen(Qt::NoPen);
            p.setBrush(G(frame == 2 ? 250 : 45));
            if (b == 0 || b == 1) {
                QPolygonF tri;
                const qreal dx = b == 1 ? -s * 0.4 : 0;
                tri << QPointF(c.x() - s + dx, c.y() - s) << QPointF(c.x() + s + dx, c.y())
                    << QPointF(c.x() - s + dx, c.y() + s);
                p.drawPolygon(tri);
                if (b == 1) {
                    p.drawRect(QRectF(c.x() + s * 0.7, c.y() - s, s * 0.45, 2 * s));
                }
            } else if (b == 2) {
                p.drawRect(QRectF(c.x() - s, c.y() - s, s * 0.7, 2 * s));
                p.drawRect(QRectF(c.x() + s * 0.3, c.y() - s, s * 0.7, 2 * s));
            } else {
                p.drawRect(QRectF(c.x() - s, c.y() - s, 2 * s, 2 * s));
            }
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(3 * w, 0, w, h), Qt::black);
    for (int b = 0; b < 4; ++b) {
        p.setPen(Qt::NoPen);
        p.setBrush(hit[b]);
        p.drawEllipse(QRect(3 * w + b * cell + 2, 2, cell - 4, h - 4));
    }
    return image;
}

QImage PanelCorner(int size, int corner)
{
    QImage image = Blank(size, size);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // A quarter of a rounded raised frame, whose outer edge is lit at the top left.
    const QRect big(corner % 2 == 0 ? 0 : -size, corner < 2 ? 0 : -size, 2 * size, 2 * size);
    QLinearGradient g(big.topLeft(), big.bottomRight());
    g.setColorAt(0, G(215));
    g.setColorAt(1, G(60));
    p.setPen(QPen(G(30), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(big).adjusted(0.5, 0.5, -0.5, -0.5), size * 0.6, size * 0.6);
    p.setBrush(G(128));
    p.setPen(QPen(G(90), 1));
    p.drawRect(QRectF(big).adjusted(size * 0.45, size * 0.45, -size * 0.45, -size * 0.45));
    return image;
}

QImage PanelEdge(int length, int thickness, int side)
{
    const bool horizontal = side == 0 || side == 3;
    QImage image = Blank(horizontal ? length : thickness, horizontal ? thickness : length);
    QPainter p(&image);
    const int inner = int(thickness * 0.45);
    for (int i = 0; i < thickness; ++i) {
        int level = 128;
        if (i == 0) {
            level = 30;
        } else if (i < inner) {
            level = (side == 0 || side == 1) ? 215 - i * 8 : 60 + i * 6;
        } else if (i == inner) {
            level = 90;
        }
        const int pos = (side == 0 || side == 1) ? i : thickness - 1 - i;
        if (horizontal) {
            p.fillRect(QRect(0, pos, length, 1), G(level));
        } else {
            p.fillRect(QRect(pos, 0, 1, length), G(level));
        }
    }
    return image;
}

QImage PanelMiddle(int size)
{
    QImage image = Blank(size, size);
    // A faint weave keeps tiling visible.
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if ((x + y) % 4 == 0) {
                image.setPixelColor(x, y, G(122));
            }
        }
    }
    return image;
}

QImage TitleEnd(int w, int h, bool left)
{
    QImage image = Blank(w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, G(225));
    g.setColorAt(1, G(80));
    p.setPen(QPen(G(30), 1));
    p.setBrush(g);
    const QRectF r = left ? QRectF(0.5, 0.5, 2 * w, h - 1) : QRectF(-w - 0.5, 0.5, 2 * w, h - 1);
    p.drawRoundedRect(r, h / 2.5, h / 2.5);
    // A coloured lamp on the left end.
    if (left) {
        p.setBrush(QColor(250, 170, 20));
        p.drawEllipse(QRectF(w / 2.0 - 3, h / 2.0 - 3, 6, 6));
    }
    return image;
}

QImage TitleCentre(int w, int h)
{
    QImage image = Blank(w, h);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, G(225));
    g.setColorAt(1, G(80));
    p.fillRect(QRect(0, 0, w, h), g);
    p.fillRect(QRect(0, 0, w, 1), G(30));
    p.fillRect(QRect(0, h - 1, w, 1), G(30));
    return image;
}

QImage ScrollArrow(int size, int direction)
{
    QImage image = Blank(3 * size, size);
    QPainter p(&image);
    for (int frame = 0; frame < 2; ++frame) {
        const QRect r(frame * size, 0, size, size);
        Face(p, r, frame == 1);
        const QPointF c = QRectF(r).center();
        const qreal s = size / 4.5;
        QPolygonF tri;
        switch (direction) {
        case 0:
            tri << QPointF(c.x() - s, c.y() + s / 2) << QPointF(c.x() + s, c.y() + s / 2)
                << QPointF(c.x(), c.y() - s);
            break;
        case 1:
            tri << QPointF(c.x() - s, c.y() - s / 2) << QPointF(c.x() + s, c.y() - s / 2)
                << QPointF(c.x(), c.y() + s);
            break;
        case 2:
            tri << QPointF(c.x() + s / 2, c.y() - s) << QPointF(c.x() + s / 2, c.y() + s)
                << QPointF(c.x() - s, c.y());
            break;
        default:
            tri << QPointF(c.x() - s / 2, c.y() - s) << QPointF(c.x() - s / 2, c.y() + s)
                << QPointF(c.x() + s, c.y());
            break;
        }
        p.setPen(Qt::NoPen);
        p.setBrush(G(40));
        p.drawPolygon(tri);
    }
    Mask(p, QRect(2 * size, 0, size, size), size / 4.0);
    return image;
}

QImage ScrollThumb(int w, int h)
{
    QImage image = Blank(3 * w, h);
    QPainter p(&image);
    for (int frame = 0; frame < 2; ++frame) {
        const QRect r(frame * w, 0, w, h);
        Face(p, r, frame == 1, 215, 100);
        p.setRenderHint(QPainter::Antialiasing, false);
        const int cy = h / 2;
        const int cx = frame * w + w / 2;
        if (h >= w) {
            for (int d = -3; d <= 3; d += 3) {
                p.fillRect(QRect(frame * w + 4, cy + d, w - 8, 1), G(60));
                p.fillRect(QRect(frame * w + 4, cy + d + 1, w - 8, 1), G(220));
            }
        } else {
            for (int d = -3; d <= 3; d += 3) {
                p.fillRect(QRect(cx + d, 4, 1, h - 8), G(60));
                p.fillRect(QRect(cx + d + 1, 4, 1, h - 8), G(220));
            }
        }
    }
    Mask(p, QRect(2 * w, 0, w, h), std::min(w, h) / 4.0);
    return image;
}

QImage ScrollTrack(int w, int h)
{
    QImage image = Blank(w, h, 100);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, 1, h), G(60));
    p.fillRect(QRect(w - 1, 0, 1, h), G(170));
    for (int y = 0; y < h; y += 4) {
        p.fillRect(QRect(1, y, w - 2, 1), G(112));
    }
    return image;
}

QImage SplitterGrip(int w, int h)
{
    QImage image = Blank(w, h);
    for (int y = 2; y < h - 2; y += 3) {
        image.setPixelColor(w / 2, y, G(230));
        if (w / 2 + 1 < w) {
            image.setPixelColor(w / 2 + 1, y + 1, G(40));
        }
    }
    return image;
}

QImage Glyph(int size, bool twoHalves)
{
    QImage image = Blank(twoHalves ? 2 * size : size, size, 127);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int half = 0; half < (twoHalves ? 2 : 1); ++half) {
        const QRectF r(half * size + 2, 2, size - 4, size - 4);
        p.setPen(QPen(G(30), 2));
        p.setBrush(half == 1 ? QBrush(G(240)) : QBrush(G(90)));
        p.drawEllipse(r);
        p.setPen(QPen(half == 1 ? QColor(220, 30, 30) : G(250), 2));
        p.drawLine(r.center() - QPointF(0, size / 4.0), r.center() + QPointF(0, size / 4.0));
    }
    // The corner keeps the transparent colour: the neutral grey.
    return image;
}

} // namespace greyskin
