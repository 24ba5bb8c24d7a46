#pragma once

// Skin bitmaps built in the tests, and pixel reads from grabbed widgets.

#include "markup/color.h"

#include <QImage>
#include <QRect>
#include <QWidget>

inline QImage Grey(int w, int h, int level)
{
    QImage image(w, h, QImage::Format_BGR888);
    image.fill(QColor(level, level, level));
    return image;
}

inline QImage Solid(int w, int h, TColor c)
{
    QImage image(w, h, QImage::Format_BGR888);
    image.fill(QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
    return image;
}

inline void Fill(QImage& image, const QRect& r, TColor c)
{
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            image.setPixelColor(x, y, QColor(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    }
}

inline void FillGrey(QImage& image, const QRect& r, int level)
{
    Fill(image, r, RGBColor(level, level, level));
}

inline TColor At(const QImage& image, int x, int y)
{
    const QRgb p = image.pixel(x, y);
    return RGBColor(qRed(p), qGreen(p), qBlue(p));
}

// The widget painted into an image at one device pixel per pixel.
inline QImage Shot(QWidget& w)
{
    return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
}
