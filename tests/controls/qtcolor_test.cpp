#include "controlstest.h"

#include "controls/qtfont.h"
#include "markup/htmlcolor.h"

#include <QFontInfo>
#include <QLabel>

using QtColor = ControlsTest;
using QtFont = ControlsTest;

TEST_F(QtColor, RedSitsInTheLowestByte)
{
    EXPECT_EQ(ToQColor(RGBColor(1, 2, 3)), QColor(1, 2, 3));
    EXPECT_EQ(ToQColor(0x00563412), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(ToQColor(clRed), QColor(Qt::red));
    EXPECT_EQ(ToQColor(clBlue), QColor(Qt::blue));
    EXPECT_EQ(FromQColor(QColor(0x12, 0x34, 0x56)), 0x00563412u);
    EXPECT_EQ(FromQColor(QColor(Qt::red)), clRed);
    EXPECT_EQ(FromQColor(QColor(0, 0, 255, 128)), clBlue);
    EXPECT_EQ(FromQColor(QColor(Qt::transparent)), clNone);
    EXPECT_EQ(FromQColor(QColor()), clDefault);
    EXPECT_EQ(ToQColor(clNone).alpha(), 0);
    EXPECT_FALSE(ToQColor(clDefault).isValid());
}

TEST_F(QtColor, SystemColoursFollowTheApplicationPalette)
{
    QPalette palette = QApplication::palette();
    palette.setColor(QPalette::Button, QColor(10, 20, 30));
    palette.setColor(QPalette::Highlight, QColor(200, 0, 100));
    palette.setColor(QPalette::HighlightedText, QColor(1, 255, 2));
    QApplication::setPalette(palette);

    EXPECT_EQ(ToQColor(clBtnFace), QColor(10, 20, 30));
    EXPECT_EQ(ToQColor(clHighlight), QColor(200, 0, 100));
    EXPECT_EQ(ColorToRGB(clBtnFace), RGBColor(10, 20, 30));
    // Colour text holds the current value, never the system index.
    EXPECT_EQ(ColorToHtml(clBtnFace), "#0A141E");
    EXPECT_EQ(ColorToHtml(clHighlightText), "#01FF02");
    EXPECT_EQ(ToQColor(0x80000040u), QColor(Qt::black));
    EXPECT_EQ(PaletteSystemColor(-1), clBlack);
}

TEST_F(QtFont, ConvertsNameSizeAndStyles)
{
    const TFontDesc desc{"DejaVu Sans", 12, clRed, {TFontStyle::fsBold, TFontStyle::fsStrikeOut}};
    const QFont font = ToQFont(desc);
    EXPECT_EQ(font.family(), "DejaVu Sans");
    EXPECT_EQ(font.pointSize(), 12);
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_TRUE(font.strikeOut());
    EXPECT_EQ(FromQFont(font, clRed), desc);

    EXPECT_EQ(ToQFont({"DejaVu Sans", 0, clBlack, {}}).pointSizeF(), QApplication::font().pointSizeF());
    EXPECT_EQ(ToQFont({"DejaVu Sans", 1 << 30, clBlack, {}}).pointSize(), kMaxFontPointSize);

    QFont pixels("DejaVu Sans");
    pixels.setPixelSize(20);
    EXPECT_EQ(FromQFont(pixels, clBlack).Size, QFontInfo(pixels).pointSize());
    // Unchanged attributes keep the base font's own settings, such as a pixel size.
    TFontDesc from = FromQFont(pixels, clBlack);
    TFontDesc to = from;
    to.Style = {TFontStyle::fsItalic};
    const QFont overlaid = OverlayFontDesc(pixels, from, to);
    EXPECT_EQ(overlaid.pixelSize(), 20);
    EXPECT_TRUE(overlaid.italic());
    to.Size = 30;
    EXPECT_EQ(OverlayFontDesc(pixels, from, to).pointSize(), 30);
}

TEST_F(QtFont, WidgetsTakeFontAndColourTogether)
{
    QLabel label;
    ApplyFontDesc(label, {"DejaVu Sans", 14, RGBColor(1, 2, 3), {TFontStyle::fsUnderline}});
    EXPECT_EQ(label.font().pointSize(), 14);
    EXPECT_TRUE(label.font().underline());
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(1, 2, 3));
    EXPECT_EQ(label.palette().color(QPalette::Text), QColor(1, 2, 3));
    const TFontDesc back = WidgetFontDesc(label);
    EXPECT_EQ(back.Name, "DejaVu Sans");
    EXPECT_EQ(back.Size, 14);
    EXPECT_EQ(back.Color, RGBColor(1, 2, 3));
    EXPECT_TRUE(back.Underline());
}
