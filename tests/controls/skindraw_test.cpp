#include "controls/skindraw.h"
#include "skinimages.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QPalette>

#include <array>

TEST(SkinDraw, RoundingAndClampingTakeHalvesToEven)
{
    EXPECT_EQ(ClampToByte(-0.4), 0);
    EXPECT_EQ(ClampToByte(-30), 0);
    EXPECT_EQ(ClampToByte(255.4), 255);
    EXPECT_EQ(ClampToByte(1000), 255);
    EXPECT_EQ(ClampToByte(127.5), 128);
    EXPECT_EQ(ClampToByte(128.5), 128);
    EXPECT_EQ(ClampToByte(2.5), 2);
    EXPECT_EQ(ClampToByte(3.5), 4);
    EXPECT_EQ(ClampToByte(3.49), 3);
    EXPECT_EQ(RoundDivHalfEven(5, 2), 2);
    EXPECT_EQ(RoundDivHalfEven(7, 2), 4);
    EXPECT_EQ(RoundDivHalfEven(-5, 2), -2);
    EXPECT_EQ(RoundDivHalfEven(-7, 2), -4);
    EXPECT_EQ(RoundDivHalfEven(10, 3), 3);
    EXPECT_EQ(RoundDivHalfEven(11, 3), 4);
}

TEST(SkinDraw, ColourAndTripleConversionsSplitBytes)
{
    EXPECT_EQ(BgrToColor(0x112233), RGBColor(0x11, 0x22, 0x33));
    EXPECT_EQ(BgrToColor(0xFF112233), RGBColor(0x11, 0x22, 0x33));
    const TbgrTriple t = ColorToBgrTriple(RGBColor(1, 2, 3));
    EXPECT_EQ(t.Red, 1);
    EXPECT_EQ(t.Green, 2);
    EXPECT_EQ(t.Blue, 3);
    EXPECT_EQ(BgrTripleValue(t), 0x010203u);
    // System colours are split as they are, not resolved.
    const TbgrTriple face = ColorToBgrTriple(clBtnFace);
    EXPECT_EQ(face.Red, 0x0F);
    EXPECT_EQ(face.Green, 0);
    EXPECT_EQ(face.Blue, 0);

    EXPECT_TRUE(IsGreyColor(0x808080));
    EXPECT_TRUE(IsGreyColor(0));
    EXPECT_FALSE(IsGreyColor(0x808081));
    EXPECT_FALSE(IsGreyColor(0x818080));
    const std::array<TColor, 2> list{clRed, clFuchsia};
    EXPECT_TRUE(ColorInList(clFuchsia, list));
    EXPECT_FALSE(ColorInList(clBlue, list));
    EXPECT_FALSE(ColorInList(clRed, {}));
}

TEST(SkinDraw, ShadingRuleLightensAndDarkensAroundMidGrey)
{
    const TbgrTriple base{0, 50, 100}; // blue 0, green 50, red 100
    EXPECT_EQ(ShadeBgrTriple(128, base), base);
    EXPECT_EQ(ShadeBgrTriple(255, base), (TbgrTriple{255, 255, 255}));
    EXPECT_EQ(ShadeBgrTriple(0, base), (TbgrTriple{0, 0, 0}));
    // 192: c + (255 - c) * 64 / 127
    EXPECT_EQ(ShadeBgrTriple(192, base), (TbgrTriple{129, 153, 178}));
    // 64: c * 64 / 128, halves to even (2.5 -> 2, 1.5 -> 2)
    EXPECT_EQ(ShadeBgrTriple(64, base), (TbgrTriple{0, 25, 50}));
    EXPECT_EQ(ShadeBgrTriple(64, (TbgrTriple{3, 5, 7})), (TbgrTriple{2, 2, 4}));
    EXPECT_EQ(ShadeBgrTriple(129, (TbgrTriple{0, 0, 0})), (TbgrTriple{2, 2, 2}));
}

TEST(SkinDraw, LightenAndDarkenMoveEachChannel)
{
    EXPECT_EQ(LightenColor(clBlack, 50), RGBColor(128, 128, 128));
    EXPECT_EQ(DarkenColor(clWhite, 50), RGBColor(128, 128, 128));
    EXPECT_EQ(LightenColor(RGBColor(100, 0, 255), 30), RGBColor(146, 76, 255));
    EXPECT_EQ(DarkenColor(RGBColor(146, 10, 0), 25), RGBColor(110, 8, 0));
    EXPECT_EQ(LightenColor(RGBColor(10, 20, 30), 0), RGBColor(10, 20, 30));
    EXPECT_EQ(DarkenColor(RGBColor(10, 20, 30), 100), clBlack);
}

TEST(SkinDraw, RecolouringShadesGreyFramesByTheMask)
{
    // Three 10-pixel frames and two spare columns; the mask's left half is white.
    QImage skin = Grey(32, 4, 128);
    FillGrey(skin, QRect(10, 0, 10, 4), 255);
    Fill(skin, QRect(20, 0, 10, 4), clBlack);
    Fill(skin, QRect(20, 0, 5, 4), clWhite);
    Fill(skin, QRect(3, 2, 1, 1), RGBColor(10, 200, 30));
    const std::array<TColor, 1> white{clWhite};

    RecolorSkinBitmap(skin, 3, RGBColor(200, 0, 0), white, RGBColor(0, 0, 90));
    EXPECT_EQ(skin.format(), QImage::Format_BGR888);
    EXPECT_EQ(At(skin, 0, 0), RGBColor(200, 0, 0));   // under white: main colour
    EXPECT_EQ(At(skin, 7, 0), RGBColor(0, 0, 90));    // under black: outer colour
    EXPECT_EQ(At(skin, 14, 1), clWhite);              // 255 stays white
    EXPECT_EQ(At(skin, 3, 2), RGBColor(10, 200, 30)); // coloured pixels stay
    EXPECT_EQ(At(skin, 22, 0), clWhite);              // the mask frame is untouched
    EXPECT_EQ(At(skin, 27, 0), clBlack);
    EXPECT_EQ(At(skin, 31, 3), RGBColor(128, 128, 128)); // columns past the last frame are ignored

    QImage narrow = Grey(2, 2, 128);
    RecolorSkinBitmap(narrow, 3, clRed, white, clBlue);
    EXPECT_EQ(At(narrow, 0, 0), RGBColor(128, 128, 128));
    QImage empty;
    RecolorSkinBitmap(empty, 3, clRed, white, clBlue);
    EXPECT_TRUE(empty.isNull());
    QImage zeroFrames = Grey(8, 2, 128);
    RecolorSkinBitmap(zeroFrames, 0, clRed, white, clBlue);
    EXPECT_EQ(At(zeroFrames, 0, 0), RGBColor(128, 128, 128));

    // One frame: everything grey takes the main colour, resolved from the palette for system colours.
    QImage one = Grey(3, 1, 128);
    RecolorSkinBitmap(one, 1, clBtnFace, {}, clNone);
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(At(one, 2, 0), RGBColor(face.red(), face.green(), face.blue()));
}

TEST(SkinDraw, ShadeMaskOverlaysTemplateOnBackground)
{
    QImage templ = Grey(8, 1, 127);
    FillGrey(templ, QRect(1, 0, 1, 1), 255);
    Fill(templ, QRect(2, 0, 1, 1), clRed);
    FillGrey(templ, QRect(3, 0, 1, 1), 200);
    FillGrey(templ, QRect(4, 0, 1, 1), 63);
    FillGrey(templ, QRect(5, 0, 1, 1), 0);
    FillGrey(templ, QRect(6, 0, 1, 1), 191);
    FillGrey(templ, QRect(7, 0, 1, 1), 191);
    QImage target = Grey(10, 3, 100);
    Fill(target, QRect(7, 1, 1, 1), RGBColor(2, 0, 1));

    DrawShadeMask(templ, target, templ.rect(), QRect(1, 1, 8, 1));
    EXPECT_EQ(At(target, 0, 1), RGBColor(100, 100, 100)); // outside the target rectangle
    EXPECT_EQ(At(target, 1, 1), RGBColor(100, 100, 100)); // 127 keeps the background
    EXPECT_EQ(At(target, 2, 1), clWhite);
    EXPECT_EQ(At(target, 3, 1), clRed);
    EXPECT_EQ(At(target, 4, 1), RGBColor(188, 188, 188)); // 100 + round(155 * 73 / 128)
    EXPECT_EQ(At(target, 5, 1), RGBColor(50, 50, 50));    // 100 - round(100 * 64/127)
    EXPECT_EQ(At(target, 6, 1), clBlack);
    EXPECT_EQ(At(target, 7, 1), RGBColor(128, 128, 128)); // red 2 + 126 (126.5), green 0 + 128 (127.5)
    EXPECT_EQ(At(target, 8, 1), RGBColor(178, 178, 178));
    EXPECT_EQ(At(target, 9, 1), RGBColor(100, 100, 100));
}

TEST(SkinDraw, GradientBevelRingsAndFill)
{
    const TColor c = RGBColor(100, 100, 100);
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(Qt::green);
    {
        QPainter p(&image);
        DrawGradientBevel(p, QRect(1, 1, 10, 6), c, false, 1);
    }
    const TColor light = RGBColor(178, 178, 178); // lighten by 50
    const TColor dark = RGBColor(10, 10, 10);     // darken by 90
    EXPECT_EQ(At(image, 0, 0), RGBColor(0, 255, 0));
    EXPECT_EQ(At(image, 1, 1), light);
    EXPECT_EQ(At(image, 1, 6), light); // the left line reaches the bottom row
    EXPECT_EQ(At(image, 10, 1), dark); // the right line covers the top line's end
    EXPECT_EQ(At(image, 10, 6), dark);
    EXPECT_EQ(At(image, 2, 6), dark);
    EXPECT_EQ(At(image, 5, 1), light);
    EXPECT_EQ(At(image, 5, 3), c);
    EXPECT_EQ(At(image, 11, 7), RGBColor(0, 255, 0));

    image.fill(Qt::green);
    {
        QPainter p(&image);
        DrawGradientBevel(p, QRect(0, 0, 12, 8), c, true, 2);
    }
    // Ring 1: darken 45 and darken(lighten 30 = 146, 25) = 109.5 -> 110; ring 2: darken 90, darken(146, 50).
    EXPECT_EQ(At(image, 0, 0), RGBColor(55, 55, 55));
    EXPECT_EQ(At(image, 11, 7), RGBColor(110, 110, 110));
    EXPECT_EQ(At(image, 1, 1), RGBColor(10, 10, 10));
    EXPECT_EQ(At(image, 10, 6), RGBColor(73, 73, 73));
    EXPECT_EQ(At(image, 1, 6), RGBColor(10, 10, 10)); // ring 2's bottom line stops short of its left line
    EXPECT_EQ(At(image, 2, 6), RGBColor(73, 73, 73));
    EXPECT_EQ(At(image, 0, 7), RGBColor(55, 55, 55));
    EXPECT_EQ(At(image, 2, 2), c);
    EXPECT_EQ(At(image, 9, 5), c);

    image.fill(Qt::green);
    {
        QPainter p(&image);
        DrawGradientBevel(p, QRect(2, 2, 4, 3), c, false, 0);
    }
    EXPECT_EQ(At(image, 2, 2), c);
    EXPECT_EQ(At(image, 5, 4), c);
    EXPECT_EQ(At(image, 6, 4), RGBColor(0, 255, 0));
    EXPECT_EQ(At(image, 5, 5), RGBColor(0, 255, 0));
}
