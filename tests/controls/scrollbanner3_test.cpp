#include "controls/htmlrender.h"
#include "controls/scrollbanner3.h"
#include "core/timers/threadedtimer.h"

#include <gtest/gtest.h>

#include <QPainter>

#include <vector>

namespace {

QImage Shown(TScrollBanner3& banner)
{
    QImage image(banner.size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    banner.PaintTo(painter);
    return image;
}

bool ColumnIs(const QImage& image, int x, const QColor& color)
{
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixelColor(x, y) != color) {
            return false;
        }
    }
    return true;
}

} // namespace

TEST(BannerOffsets, WrapAfterAWholeStrip)
{
    std::vector<int> offsets;
    int offset = 0;
    for (int i = 0; i < 27; ++i) {
        offset = NextBannerOffset(offset, 10, 250);
        offsets.push_back(offset);
    }
    EXPECT_EQ(offsets[0], -10);
    EXPECT_EQ(offsets[24], -250); // minus the strip width is kept for one tick
    EXPECT_EQ(offsets[25], -10);
    EXPECT_EQ(offsets[26], -20);
    // Steps wider than the strip still stay within one strip.
    EXPECT_EQ(NextBannerOffset(-30, 100, 40), -10);
    EXPECT_EQ(WrapBannerOffset(-1000, 40), -40);
    EXPECT_EQ(WrapBannerOffset(-1001, 40), -1);
    EXPECT_EQ(WrapBannerOffset(-5, 0), 0);
    EXPECT_EQ(WrapBannerOffset(0, 40), 0);
}

TEST(ScrollBanner, StripIsAtLeastTheBannerAndFilledWithColour)
{
    TScrollBanner3 banner;
    EXPECT_EQ(banner.size(), QSize(100, 20));
    banner.SetColor(clNavy);
    banner.RenderBuffer();
    ASSERT_EQ(banner.Strip().size(), QSize(100, 20));
    for (int x = 0; x < 100; x += 9) {
        EXPECT_TRUE(ColumnIs(banner.Strip(), x, QColor(0, 0, 128)));
    }
    banner.SetSpaces(3);
    EXPECT_EQ(banner.Strip().width(), 100);
}

TEST(ScrollBanner, StripIsMeasuredInTheFontsItDrawsWith)
{
    TScrollBanner3 banner;
    QFont font = banner.font();
    font.setPixelSize(12);
    banner.setFont(font);
    const std::string caption = "plain <font size=30><b>BIG BOLD TEXT</b></font> plain again";
    banner.SetCaption(caption);
    banner.SetSpaces(2);
    const int measured = MeasureTaggedText(caption + "  ", font, Qt::AlignVCenter, &banner.Strip()).width();
    ASSERT_GT(measured, 100);
    EXPECT_EQ(banner.Strip().width(), measured);
    // The strip is wider than its stripped text in the base font.
    EXPECT_GT(measured,
              QFontMetrics(font).horizontalAdvance(QStringLiteral("plain BIG BOLD TEXT plain again  ")));
    // Drawn, the runs end exactly where the strip does.
    QImage probe(banner.Strip().size(), QImage::Format_RGB32);
    QPainter painter(&probe);
    painter.setFont(font);
    EXPECT_EQ(DrawTaggedText(caption + "  ", probe.rect(), painter, painter.fontMetrics(), Qt::AlignVCenter),
              measured);
}

TEST(ScrollBanner, TicksMoveLeftAndTheSecondCopyCloses)
{
    TScrollBanner3 banner;
    banner.resize(50, 20);
    banner.SetColor(clBlack);
    banner.SetFontColor(clWhite);
    banner.SetScrollInc(10);
    banner.SetScrollEnabled(true);
    banner.SetCaption("<b>Some song title that is wide</b>");
    const int strip = banner.Strip().width();
    ASSERT_GT(strip, 50);
    banner.TimerTick();
    EXPECT_EQ(banner.Offset(), -10);
    const QImage shown = Shown(banner);
    EXPECT_EQ(shown.copy(0, 0, 40, 20),
              banner.Strip().copy(10, 0, 40, 20).convertToFormat(QImage::Format_RGB32));
    while (banner.Offset() > -strip + 10) {
        banner.TimerTick();
    }
    // Near the end the beginning follows at once: no gap, nothing of the magenta canvas shows.
    const QImage seam = Shown(banner);
    for (int x = 0; x < 50; ++x) {
        EXPECT_NE(seam.pixelColor(x, 10), QColor(Qt::magenta));
    }
    const int before = banner.Offset();
    banner.TimerTick();
    banner.TimerTick();
    EXPECT_EQ(banner.Offset(), before - 20 + (before - 20 < -strip ? strip : 0));

    banner.SetCaption("new title");
    EXPECT_EQ(banner.Offset(), 0);
}

TEST(ScrollBanner, StoppedBannersDoNotCreep)
{
    TScrollBanner3 banner;
    ASSERT_NE(banner.Timer(), nullptr);
    EXPECT_FALSE(banner.Timer()->Enabled());
    banner.SetCaption("a caption much longer than the banner is wide, to scroll");
    banner.TimerTick();
    EXPECT_EQ(banner.Offset(), 0);

    banner.SetScrollDelay(15);
    EXPECT_EQ(banner.ScrollDelay(), 15);
    banner.SetScrollEnabled(true);
    EXPECT_TRUE(banner.Timer()->Enabled());
    banner.TimerTick();
    banner.TimerTick();
    EXPECT_EQ(banner.Offset(), -20);
    banner.SetScrollDelay(0);
    EXPECT_EQ(banner.Offset(), 0);
    banner.TimerTick();
    banner.SetScrollEnabled(false);
    EXPECT_FALSE(banner.Timer()->Enabled());
    EXPECT_EQ(banner.Offset(), 0);
}

TEST(ScrollBanner, DesignedBannersHaveNoTimerAndAFrame)
{
    TScrollBanner3 banner(nullptr, true);
    EXPECT_EQ(banner.Timer(), nullptr);
    banner.SetScrollDelay(15);
    EXPECT_EQ(banner.ScrollDelay(), 15);
    banner.SetScrollEnabled(true);
    banner.SetColor(clWhite);
    const QImage shown = Shown(banner);
    EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(50, 10), QColor(Qt::white));
}

TEST(ScrollBanner, SizesAndIncrementsAtTheEdges)
{
    TScrollBanner3 banner;
    banner.SetScrollInc(0);
    EXPECT_EQ(banner.ScrollInc(), 1);
    banner.SetScrollInc(500);
    EXPECT_EQ(banner.ScrollInc(), 100);
    banner.SetScrollEnabled(true);
    banner.resize(0, 0);
    banner.TimerTick();
    EXPECT_EQ(banner.Offset(), 0);
    EXPECT_NO_FATAL_FAILURE(Shown(banner));
}
