#include "controls/daskelbitmap.h"
#include "controls/daskellabel.h"
#include "controls/digitaldisplay.h"
#include "controls/digitcells.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <set>
#include <utility>

namespace {

QImage Solid(int w, int h, Qt::GlobalColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// Opaque pixels of a rendered label.
std::set<std::pair<int, int>> Opaque(const QImage& image, QRgb* only = nullptr)
{
    std::set<std::pair<int, int>> pixels;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) != 0 && (!only || p == *only)) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

QFont CrispFont()
{
    QFont font;
    font.setPixelSize(16);
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

} // namespace

TEST(DigitalDisplay, SecondsTextKeepsSignAndPadding)
{
    EXPECT_EQ(SecondsToDisplayText(0), QStringLiteral("  0:00"));
    EXPECT_EQ(SecondsToDisplayText(65), QStringLiteral("  1:05"));
    EXPECT_EQ(SecondsToDisplayText(-65), QStringLiteral("- 1:05"));
    EXPECT_EQ(SecondsToDisplayText(6000), QStringLiteral(" 100:00"));
    EXPECT_EQ(SecondsToDisplayText(-59), QStringLiteral("- 0:59"));
    EXPECT_EQ(SecondsToDisplayText(59), QStringLiteral("  0:59"));
    EXPECT_EQ(SecondsToDisplayText(-60), QStringLiteral("- 1:00"));
    EXPECT_EQ(SecondsToDisplayText(-2147483647 - 1), QStringLiteral("-35791394:08"));
}

TEST(DigitalDisplay, CellsCentreEachCharacterAndRoundHalvesToEven)
{
    // 40 x 20, six characters in cells of 6, text 13 high; the colon is 2 wide.
    const auto positions =
        DigitCellPositions(40, 20, 6, 6, 13, [](int i) { return i == 3 ? 2 : (i == 0 ? 5 : 6); });
    ASSERT_EQ(positions.size(), 6u);
    EXPECT_EQ(positions[0], QPoint(2 + 0, 4)); // round(0.5) = 0, round(3.5) = 4
    EXPECT_EQ(positions[1], QPoint(8, 4));
    EXPECT_EQ(positions[3], QPoint(18 + 2 + 2, 4));
    EXPECT_EQ(positions[5], QPoint(32, 4));
    // An odd total: round(20 - 7.5) = 12.
    EXPECT_EQ(DigitCellPositions(40, 10, 5, 3, 9, [](int) { return 3; })[0], QPoint(12, 0));
}

TEST(DigitalDisplay, RendersTheTextOverTheBackColour)
{
    TdigitalDisplay display;
    display.resize(80, 24);
    display.SetBackColor(clBlue);
    display.SetFontColor(clWhite);
    display.SetSeconds(-125);
    EXPECT_EQ(display.DisplayText(), QStringLiteral("- 2:05"));
    const QImage& buffer = display.Render();
    ASSERT_EQ(buffer.size(), QSize(80, 24));
    EXPECT_EQ(buffer.pixelColor(0, 0), QColor(Qt::blue));
    bool anyText = false;
    for (int y = 0; y < 24 && !anyText; ++y) {
        for (int x = 0; x < 80; ++x) {
            if (buffer.pixelColor(x, y) != QColor(Qt::blue)) {
                anyText = true;
                break;
            }
        }
    }
    EXPECT_TRUE(anyText);
}

TEST(DaskelBitmap, FitRectanglesKeepProportionByAlignment)
{
    using S = TdaskelBitmapStyle;
    using A = TdaskelBitmapAlignment;
    EXPECT_EQ(FitPictureRect({200, 200}, {400, 100}, S::dbsMaintainAspect, A::dbaCenter),
              QRect(0, 75, 200, 50));
    EXPECT_EQ(FitPictureRect({200, 200}, {400, 100}, S::dbsMaintainAspect, A::dbaRightBottom),
              QRect(0, 150, 200, 50));
    EXPECT_EQ(FitPictureRect({200, 200}, {400, 100}, S::dbsMaintainAspect, A::dbaLeftTop),
              QRect(0, 0, 200, 50));
    EXPECT_EQ(FitPictureRect({200, 200}, {100, 400}, S::dbsMaintainAspect, A::dbaCenter),
              QRect(75, 0, 50, 200));
    EXPECT_EQ(FitPictureRect({200, 200}, {100, 400}, S::dbsStretch, A::dbaCenter), QRect(0, 0, 200, 200));
    // round(100 x 3 / 8) = round(37.5) = 38; centred round(31 / 2) = 16 (15.5 to even).
    EXPECT_EQ(FitPictureRect({100, 69}, {8, 3}, S::dbsMaintainAspect, A::dbaCenter), QRect(0, 16, 100, 38));
    // Nothing to fit in a box without height or width.
    EXPECT_TRUE(FitPictureRect({200, 0}, {400, 100}, S::dbsMaintainAspect, A::dbaCenter).isNull());
    EXPECT_TRUE(FitPictureRect({0, 10}, {400, 100}, S::dbsStretch, A::dbaCenter).isNull());
    EXPECT_TRUE(FitPictureRect({10, 10}, {0, 0}, S::dbsMaintainAspect, A::dbaCenter).isNull());
}

TEST(DaskelBitmap, TilesStepByThePictureSize)
{
    const auto origins = TileOrigins({100, 100}, {64, 64});
    ASSERT_EQ(origins.size(), 4u);
    EXPECT_EQ(origins[0], QPoint(0, 0));
    EXPECT_EQ(origins[1], QPoint(64, 0));
    EXPECT_EQ(origins[2], QPoint(0, 64));
    EXPECT_EQ(origins[3], QPoint(64, 64));
    EXPECT_TRUE(TileOrigins({100, 100}, {0, 5}).empty());
    EXPECT_EQ(TileOrigins({128, 1}, {64, 64}).size(), 2u);
}

TEST(DaskelBitmap, RendersOverItsColourAndFollowsPictureChanges)
{
    TdaskelBitmap box;
    box.resize(200, 200);
    box.SetColor(clBlack);
    box.SetPicture(Solid(400, 100, Qt::red));
    EXPECT_EQ(box.Buffer().pixelColor(100, 100), QColor(Qt::red));
    EXPECT_EQ(box.Buffer().pixelColor(100, 70), QColor(Qt::black));
    box.SetAlignment(TdaskelBitmapAlignment::dbaRightBottom);
    EXPECT_EQ(box.Buffer().pixelColor(100, 199), QColor(Qt::red));
    EXPECT_EQ(box.Buffer().pixelColor(100, 100), QColor(Qt::black));

    box.Picture().Assign(Solid(10, 10, Qt::green)); // changed from outside
    EXPECT_EQ(box.Buffer().pixelColor(199, 199), QColor(Qt::green));

    box.SetStyle(TdaskelBitmapStyle::dbsTile);
    box.Picture().Assign(Solid(64, 64, Qt::blue));
    EXPECT_EQ(box.Buffer().pixelColor(199, 199), QColor(Qt::blue));

    box.Picture().Clear();
    EXPECT_EQ(box.Buffer().pixelColor(199, 199), QColor(Qt::black));
    EXPECT_FALSE(box.Picture().LoadFromFile("/nonexistent/cover.jpg"));
    EXPECT_TRUE(box.Picture().Empty());
}

TEST(DaskelBitmap, ZeroHeightBoxDrawsNothing)
{
    TdaskelBitmap box;
    box.resize(50, 0);
    box.SetPicture(Solid(40, 30, Qt::red));
    EXPECT_TRUE(box.Buffer().isNull());
    box.resize(0, 0);
    box.SetStyle(TdaskelBitmapStyle::dbsTile);
    EXPECT_TRUE(box.Buffer().isNull());
}

TEST(DaskelBitmap, DesignModeDrawsADashedFrame)
{
    TdaskelBitmap box;
    box.resize(20, 20);
    box.SetColor(clWhite);
    box.SetDesigning(true);
    EXPECT_EQ(box.Buffer().pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(box.Buffer().pixelColor(10, 10), QColor(Qt::white));
}

TEST(DaskelLabel, ShadowAndBorderDrawBlackCopiesAroundTheText)
{
    TdaskelLabel label(QStringLiteral("Hi"));
    label.setFont(CrispFont());
    label.resize(60, 30);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.SetFontColor(clRed);
    QRgb red = qRgb(255, 0, 0);
    QRgb black = qRgb(0, 0, 0);
    const auto text = Opaque(label.Render(), &red);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(Opaque(label.Render()).size(), text.size());

    label.SetLabelStyle(TlabelStyle::lsShadow);
    const QImage shadow = label.Render();
    EXPECT_EQ(Opaque(shadow, &red), text);
    for (const auto& [x, y] : text) {
        if (!text.count({x + 2, y + 2})) {
            EXPECT_EQ(shadow.pixel(x + 2, y + 2), black) << x << "," << y;
        }
    }

    label.SetLabelStyle(TlabelStyle::lsBorder);
    const QImage border = label.Render();
    std::set<std::pair<int, int>> moved;
    for (const auto& [x, y] : text) {
        moved.insert({x + 1, y + 1});
    }
    EXPECT_EQ(Opaque(border, &red), moved);
    for (const auto& [x, y] : moved) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (!moved.count({x + dx, y + dy})) {
                    EXPECT_EQ(border.pixel(x + dx, y + dy), black);
                }
            }
        }
    }
}

TEST(DaskelLabel, KeyColourTextVanishesAndDisabledIsEmbossed)
{
    TdaskelLabel label(QStringLiteral("Key"));
    label.setFont(CrispFont());
    label.resize(60, 30);
    label.SetFontColor(TdaskelLabel::kKeyColor);
    EXPECT_TRUE(Opaque(label.Render()).empty());

    label.SetFontColor(clRed);
    label.setEnabled(false);
    QRgb red = qRgb(255, 0, 0);
    const QImage disabled = label.Render();
    EXPECT_TRUE(Opaque(disabled, &red).empty());
    EXPECT_FALSE(Opaque(disabled).empty());
}

TEST(DaskelLabel, AutoSizeGrowsOnlyForTheShadow)
{
    TdaskelLabel label;
    label.setFont(CrispFont());
    label.SetAutoSize(true);
    label.SetCaption(QString());
    const QSize empty = label.size();
    EXPECT_GT(empty.height(), 0); // an empty label keeps one line's height
    label.SetCaption(QStringLiteral("Song title"));
    const QSize normal = label.size();
    EXPECT_GT(normal.width(), empty.width());
    label.SetLabelStyle(TlabelStyle::lsBorder);
    EXPECT_EQ(label.size(), normal);
    label.SetLabelStyle(TlabelStyle::lsShadow);
    EXPECT_EQ(label.size(), normal + QSize(2, 2));
}
