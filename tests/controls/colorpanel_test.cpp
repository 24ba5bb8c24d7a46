#include "controls/colorbevel.h"
#include "controls/imagecolorpanel.h"
#include "controls/resamplebitmap.h"

#include <gtest/gtest.h>

#include <QPainter>

namespace {

QImage Canvas(int w, int h, TColor fill)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(GetRValue(fill), GetGValue(fill), GetBValue(fill)));
    return image;
}

int Red(const QImage& image, int x, int y)
{
    return qRed(image.pixel(x, y));
}

QImage Bgr(int w, int h, std::initializer_list<int> greys)
{
    QImage image(w, h, QImage::Format_BGR888);
    auto it = greys.begin();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int g = *it++;
            image.setPixelColor(x, y, QColor(g, g, g));
        }
    }
    return image;
}

QImage Render(TcolorPanel& panel)
{
    QImage image(panel.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    panel.PaintTo(painter);
    return image;
}

} // namespace

TEST(ColorShades, LightenAndDarkenPerChannel)
{
    const TColor grey = RGBColor(128, 128, 128);
    EXPECT_EQ(LightenColor256(grey, 128), RGBColor(192, 192, 192));
    EXPECT_EQ(DarkenColor256(grey, 96), RGBColor(80, 80, 80));
    EXPECT_EQ(LightenColor256(RGBColor(0, 255, 10), 255), RGBColor(255, 255, 255));
    EXPECT_EQ(DarkenColor256(RGBColor(255, 1, 200), 64), RGBColor(192, 1, 150));
    EXPECT_EQ(LightenColor256(RGBColor(10, 20, 30), 0), RGBColor(10, 20, 30));
    // Channels stay apart: red in the low byte.
    EXPECT_EQ(LightenColor256(RGBColor(0, 0, 255), 128), RGBColor(128, 128, 255));
}

TEST(ColorShades, BevelShadesByKind)
{
    const TColor grey = RGBColor(128, 128, 128);
    const TbevelShades raised = ColorBevelShades(TPanelBevel::bvRaised, grey);
    EXPECT_EQ(raised.Top, RGBColor(192, 192, 192));
    EXPECT_EQ(raised.Left, RGBColor(176, 176, 176));
    EXPECT_EQ(raised.Right, RGBColor(96, 96, 96));
    EXPECT_EQ(raised.Bottom, RGBColor(80, 80, 80));
    const TbevelShades lowered = ColorBevelShades(TPanelBevel::bvLowered, grey);
    EXPECT_EQ(lowered.Top, RGBColor(80, 80, 80));
    EXPECT_EQ(lowered.Left, RGBColor(96, 96, 96));
    EXPECT_EQ(lowered.Right, RGBColor(160, 160, 160));
    EXPECT_EQ(lowered.Bottom, RGBColor(192, 192, 192));
}

TEST(ColorShades, ExtentCountsBevelsThatShowAndTheBorder)
{
    EXPECT_EQ(BevelExtent(TPanelBevel::bvRaised, TPanelBevel::bvLowered, 2, 1), 5);
    EXPECT_EQ(BevelExtent(TPanelBevel::bvNone, TPanelBevel::bvLowered, 2, 1), 3);
    EXPECT_EQ(BevelExtent(TPanelBevel::bvSpace, TPanelBevel::bvNone, 3, 0), 3);
    EXPECT_EQ(BevelExtent(TPanelBevel::bvNone, TPanelBevel::bvNone, 4, 0), 0);
}

TEST(ColorBevel, RaisedBevelFillsFourTrapezoids)
{
    QImage image = Canvas(10, 8, RGBColor(128, 128, 128));
    {
        QPainter p(&image);
        DrawColorBevel(p, QRect(0, 0, 10, 8), TPanelBevel::bvRaised, RGBColor(128, 128, 128), 2);
    }
    EXPECT_EQ(Red(image, 0, 0), 176); // the left side is drawn after the top
    EXPECT_EQ(Red(image, 5, 0), 192); // top
    EXPECT_EQ(Red(image, 5, 1), 192); // top, second row
    EXPECT_EQ(Red(image, 0, 4), 176); // left
    EXPECT_EQ(Red(image, 9, 4), 96);  // right
    EXPECT_EQ(Red(image, 8, 4), 96);  // right, second column
    EXPECT_EQ(Red(image, 5, 7), 80);  // bottom
    EXPECT_EQ(Red(image, 9, 7), 80);  // bottom wins the corner
    EXPECT_EQ(Red(image, 9, 0), 96);  // right wins over top on its diagonal
    EXPECT_EQ(Red(image, 5, 3), 128); // inside untouched
    EXPECT_EQ(Red(image, 2, 2), 128);
}

TEST(ColorBevel, WidthOneDrawsLinesAndOtherKindsNothing)
{
    QImage image = Canvas(6, 6, RGBColor(128, 128, 128));
    {
        QPainter p(&image);
        DrawColorBevel(p, QRect(0, 0, 6, 6), TPanelBevel::bvLowered, RGBColor(128, 128, 128), 1);
    }
    EXPECT_EQ(Red(image, 3, 0), 80);
    EXPECT_EQ(Red(image, 0, 3), 96);
    EXPECT_EQ(Red(image, 5, 3), 160);
    EXPECT_EQ(Red(image, 3, 5), 192);
    EXPECT_EQ(Red(image, 1, 1), 128);
    EXPECT_EQ(Red(image, 4, 4), 128);

    QImage untouched = Canvas(6, 6, RGBColor(1, 2, 3));
    const QImage before = untouched.copy();
    {
        QPainter p(&untouched);
        DrawColorBevel(p, untouched.rect(), TPanelBevel::bvNone, clWhite, 2);
        DrawColorBevel(p, untouched.rect(), TPanelBevel::bvSpace, clWhite, 2);
    }
    EXPECT_EQ(untouched, before);
}

TEST(ResampleBitmap, TwoByTwoToThreeByThreeBlendsWithFixedPointWeights)
{
    const QImage source = Bgr(2, 2, {0, 100, 200, 50});
    QImage target(3, 3, QImage::Format_BGR888);
    ASSERT_TRUE(ResampleBitmap(source, target));
    // Step 32767 div 3 = 10922; weights 14565, 7281, 7282, 3640 of 32768.
    EXPECT_EQ(target.pixelColor(1, 1).red(), 72);
    EXPECT_EQ(target.pixelColor(0, 0).red(), 0);
    // Column 2: X = 21844, fx = 21844; row 0: only the top pair.
    EXPECT_EQ(target.pixelColor(2, 0).red(), (21844 * 100) >> 15);
}

TEST(ResampleBitmap, KeepsChannelsAndCopiesAtOneToOne)
{
    QImage source(3, 2, QImage::Format_BGR888);
    source.fill(QColor(10, 20, 30));
    source.setPixelColor(2, 1, QColor(250, 0, 5));
    QImage target(3, 2, QImage::Format_BGR888);
    ASSERT_TRUE(ResampleBitmap(source, target));
    // At the same size the step is (n-1)/n of a pixel, so the first pixel copies exactly.
    EXPECT_EQ(target.pixelColor(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(target.pixelColor(0, 1), QColor(10, 20, 30));
}

TEST(ResampleBitmap, OnePixelSourcesAndEmptyTargets)
{
    QImage dot(1, 1, QImage::Format_BGR888);
    dot.fill(QColor(9, 8, 7));
    QImage wide(5, 3, QImage::Format_BGR888);
    ASSERT_TRUE(ResampleBitmap(dot, wide));
    EXPECT_EQ(wide.pixelColor(4, 2), QColor(9, 8, 7));

    QImage column = Bgr(1, 2, {0, 255});
    QImage tall(2, 4, QImage::Format_BGR888);
    ASSERT_TRUE(ResampleBitmap(column, tall));
    EXPECT_EQ(tall.pixelColor(1, 2).red(), 127); // Y = 2 x 8192 = half way

    QImage none(0, 0, QImage::Format_BGR888);
    EXPECT_FALSE(ResampleBitmap(dot, none));
    QImage flat(4, 0, QImage::Format_BGR888);
    EXPECT_FALSE(ResampleBitmap(dot, flat));
    EXPECT_FALSE(ResampleBitmap(QImage(), wide));
}

TEST(ImageFit, ScaledSizesKeepThePictureRatio)
{
    EXPECT_EQ(ScaledImageSize({400, 100}, {200, 200}), QSize(200, 50));
    EXPECT_EQ(ScaledImageSize({100, 400}, {200, 200}), QSize(50, 200));
    EXPECT_EQ(ScaledImageSize({300, 200}, {100, 100}), QSize(100, 66));
    EXPECT_EQ(ScaledImageSize({10, 0}, {50, 20}), QSize(20, 20)); // no height: square
    EXPECT_EQ(ScaledImageSize({10, 10}, {50, 0}), QSize(50, 50)); // p = q = 1 with no inner height
    EXPECT_EQ(ScaledImageSize({1000, 1}, {100, 100}), QSize(100, 0));
    EXPECT_EQ(ScaledImageSize({10, 10}, {-4, -4}), QSize(0, 0));
}

TEST(ImageFit, PositionsFollowTheAlignments)
{
    const QRect client(0, 0, 210, 210);
    const QSize cache(200, 50);
    EXPECT_EQ(ImageCachePosition(client, 5, cache, TAlignment::taLeftJustify, TverticalAlignment::tvaCenter),
              QPoint(5, 80));
    EXPECT_EQ(
        ImageCachePosition(client, 5, {50, 200}, TAlignment::taRightJustify, TverticalAlignment::tvaTop),
        QPoint(155, 5));
    EXPECT_EQ(ImageCachePosition(client, 5, {50, 200}, TAlignment::taCenter, TverticalAlignment::tvaBottom),
              QPoint(80, 5));
    // Odd remainders truncate toward zero, also when the picture is larger.
    EXPECT_EQ(ImageCachePosition(QRect(0, 0, 11, 11), 0, {20, 20}, TAlignment::taCenter,
                                 TverticalAlignment::tvaCenter),
              QPoint(-4, -4));
}

TEST(ColorPanelWidget, PaintsBevelsAndKeepsChildrenInside)
{
    TcolorPanel panel;
    panel.resize(40, 30);
    panel.SetColor(RGBColor(128, 128, 128));
    panel.SetBevelOuter(TPanelBevel::bvRaised);
    panel.SetBevelInner(TPanelBevel::bvLowered);
    panel.SetBevelWidth(2);
    panel.SetBorderWidth(1);
    EXPECT_EQ(panel.Extent(), 5);
    EXPECT_EQ(panel.InnerRect(), QRect(5, 5, 30, 20));
    EXPECT_EQ(panel.contentsMargins().left(), 5);
    const QImage image = Render(panel);
    EXPECT_EQ(Red(image, 20, 0), 192);  // outer raised top
    EXPECT_EQ(Red(image, 20, 2), 128);  // the border ring
    EXPECT_EQ(Red(image, 20, 3), 80);   // inner lowered top, 3 pixels in
    EXPECT_EQ(Red(image, 20, 26), 192); // inner lowered bottom
    EXPECT_EQ(Red(image, 20, 15), 128);
}

TEST(ImageColorPanelWidget, ScaledPictureIsCentredInTheInnerArea)
{
    TimageColorPanel panel;
    panel.SetBevelOuter(TPanelBevel::bvRaised);
    panel.SetBevelWidth(2);
    panel.resize(204, 204);
    panel.SetColor(clBlack);
    panel.SetImageDrawStyle(TimageDrawStyle::idsScale);
    QImage picture(400, 100, QImage::Format_RGB32);
    picture.fill(Qt::white);
    panel.SetImage(picture);
    ASSERT_EQ(panel.ImageCache().size(), QSize(200, 50));
    const QImage image = Render(panel);
    EXPECT_EQ(image.pixelColor(100, 2 + 75), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(100, 2 + 74), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(100, 2 + 125), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(100, 2 + 124), QColor(Qt::white));
}

TEST(ImageColorPanelWidget, NormalIgnoresAlignmentAndStretchFills)
{
    TimageColorPanel panel;
    panel.SetBevelOuter(TPanelBevel::bvNone);
    panel.resize(20, 10);
    panel.SetColor(RGBColor(0, 0, 255));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::green);
    panel.SetImage(picture);
    panel.SetImageHorizontalAlignment(TAlignment::taRightJustify);
    panel.SetImageVerticalAlignment(TverticalAlignment::tvaBottom);
    QImage image = Render(panel);
    EXPECT_EQ(panel.ImageCache().size(), QSize(20, 10));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::green));
    EXPECT_EQ(image.pixelColor(19, 9), QColor(Qt::blue)); // beyond the picture: the panel colour

    panel.SetImageDrawStyle(TimageDrawStyle::idsStretch);
    image = Render(panel);
    EXPECT_EQ(image.pixelColor(19, 9), QColor(Qt::green));
}

TEST(ImageColorPanelWidget, ChangesThroughThePictureAndTinyPanels)
{
    TimageColorPanel panel;
    panel.SetBevelOuter(TPanelBevel::bvRaised);
    panel.SetBevelWidth(3);
    panel.resize(30, 30);
    panel.SetImageDrawStyle(TimageDrawStyle::idsStretch);
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    panel.Image().Assign(red); // from outside, through the owned picture
    EXPECT_EQ(panel.ImageCache().pixelColor(10, 10), QColor(Qt::red));

    // Smaller than twice its frame: nothing to resample into, nothing drawn, no failure.
    panel.resize(5, 5);
    const QImage tiny = Render(panel); // a hidden widget gets its resize at the next paint
    EXPECT_TRUE(panel.ImageCache().isNull());
    EXPECT_NE(tiny.pixelColor(2, 2), QColor(Qt::red));

    panel.resize(30, 30);
    Render(panel);
    panel.SetImageDrawStyle(TimageDrawStyle::idsScale);
    QImage sliver(1000, 1, QImage::Format_RGB32);
    sliver.fill(Qt::red);
    panel.SetImage(sliver);
    EXPECT_TRUE(panel.ImageCache().isNull());

    panel.Image().Clear();
    EXPECT_EQ(panel.ImageCache().size(), QSize(24, 24));
}
