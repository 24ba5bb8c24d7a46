#pragma once

#include "controls/qtcolor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QImage>
#include <QPalette>

#include <functional>

// Fixed fonts without antialiasing, so that text pixels carry exactly the colour they were drawn in.
inline QFont TestFont(int points, bool bold = false)
{
    QFont font("DejaVu Sans");
    font.setPointSize(points);
    font.setBold(bold);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

inline bool SameRgb(QRgb pixel, const QColor& color)
{
    return (pixel & 0xFFFFFF) == (color.rgb() & 0xFFFFFF);
}

// Bounding box of the pixels of one colour (empty when there is none).
inline QRect ColorBox(const QImage& image, const QColor& color)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (SameRgb(image.pixel(x, y), color))
                box |= QRect(x, y, 1, 1);
    return box;
}

inline QImage BlankImage(int width, int height, const QColor& color = Qt::white)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Every GUI test starts from the same palette and font and resolves system colours through the palette.
class ControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        palette_ = QApplication::palette();
        font_ = QApplication::font();
        QApplication::setFont(TestFont(10));
        InstallPaletteColorResolver();
    }
    void TearDown() override
    {
        QApplication::setPalette(palette_);
        QApplication::setFont(font_);
    }

private:
    QPalette palette_;
    QFont font_;
};
