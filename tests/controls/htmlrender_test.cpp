#include "controlstest.h"

#include "controls/htmlrender.h"
#include "markup/taggedtext.h"
#include "platform/qtstring.h"

#include <QPainter>

using HtmlRender = ControlsTest;

namespace {

ThtmlLineLayout Layout(std::string_view text, const QRect& rect, const QFont& font, int flags = 0,
                       bool force = false, const QColor& forced = QColor())
{
    return LayoutTaggedText(text, rect, font, Qt::black, QFontMetrics(font), flags, force, forced);
}

} // namespace

TEST_F(HtmlRender, RunsLieSideBySideInTheirFonts)
{
    const QFont font = TestFont(10);
    const QFont bold = TestFont(10, true);
    const QRect rect(5, 0, 400, 20);
    const ThtmlLineLayout line = Layout("<b>Bold</b> plain", rect, font);
    ASSERT_EQ(line.Runs.size(), 2u);
    EXPECT_EQ(line.Runs[0].Text, "Bold");
    EXPECT_TRUE(line.Runs[0].Font.bold());
    EXPECT_EQ(line.Runs[0].Left, 5);
    EXPECT_EQ(line.Runs[0].Width, QFontMetrics(bold).horizontalAdvance("Bold"));
    EXPECT_EQ(line.Runs[1].Text, " plain");
    EXPECT_FALSE(line.Runs[1].Font.bold());
    EXPECT_EQ(line.Runs[1].Left, 5 + line.Runs[0].Width);
    EXPECT_EQ(line.Right, line.Runs[1].Left + QFontMetrics(font).horizontalAdvance(" plain"));

    const ThtmlLineLayout unknown = Layout("a<x>b", rect, font);
    ASSERT_EQ(unknown.Runs.size(), 3u);
    EXPECT_EQ(unknown.Right, 5 + QFontMetrics(font).horizontalAdvance("axb"));
    EXPECT_EQ(Layout("a<b", rect, font).Right, 5 + QFontMetrics(font).horizontalAdvance("a"));
    EXPECT_EQ(Layout("", rect, font).Right, 5);

    // Escaped data measures as its plain text.
    const ThtmlLineLayout escaped = Layout(EscapeMarkup("AC>DC <live>"), rect, font);
    ASSERT_EQ(escaped.Runs.size(), 1u);
    EXPECT_EQ(escaped.Runs[0].Text, "AC>DC <live>");
}

TEST_F(HtmlRender, RunsShareTheBaseBaselineAndTheBaseLineIsCentred)
{
    const QFont font = TestFont(10);
    const QFontMetrics base(font);
    const QFontMetrics big(TestFont(20));
    const QRect rect(0, 10, 300, 60);
    const ThtmlLineLayout line = Layout("small<font size=20>BIG</font>tail", rect, font);
    ASSERT_EQ(line.Runs.size(), 4u);
    const int shift = (rect.height() - base.height()) / 2;
    const int baseline = rect.top() + rect.height() - base.descent() - shift;
    for (const ThtmlRunLayout& r : line.Runs)
        EXPECT_EQ(r.Baseline, baseline) << platform::FromQString(r.Text);
    EXPECT_EQ(line.Runs[1].Font.pointSize(), 20);
    EXPECT_EQ(line.Runs[1].Top, baseline - big.ascent());
    EXPECT_EQ(line.Runs[1].Height, big.height());
    // The base line box is centred: as much room above it as below, give or take the odd pixel.
    const int above = line.Runs[0].Top - rect.top();
    const int below = rect.top() + rect.height() - (line.Runs[0].Top + base.height());
    EXPECT_LE(std::abs(above - below), 1);

    // A run whose font does not fit keeps the rectangle's top, moved by the centring shift.
    const QRect tight(0, 10, 300, base.height());
    const ThtmlLineLayout cramped = Layout("a<font size=20>B", tight, font);
    EXPECT_EQ(cramped.Runs[0].Top, 10);
    EXPECT_EQ(cramped.Runs[1].Top, 10);
    EXPECT_EQ(Layout("a<font size=20>B", tight, font, Qt::AlignVCenter).Runs[1].Top,
              10 + (base.height() - big.height()) / 2);
    // A rectangle lower than the base font moves the line down (the shift rounds toward zero).
    const QRect low(0, 0, 300, base.height() - 3);
    EXPECT_EQ(Layout("a", low, font).Runs[0].Top, -((low.height() - base.height()) / 2));
}

TEST_F(HtmlRender, AlignmentPlacesTheWholeLine)
{
    const QFont font = TestFont(10);
    const QRect rect(10, 0, 300, 20);
    const std::string text = "<b>Jukebox</b> List";
    const int width = Layout(text, rect, font).Right - 10;
    const ThtmlLineLayout right = Layout(text, rect, font, Qt::AlignRight);
    EXPECT_EQ(right.Right, 310);
    EXPECT_EQ(right.Runs[0].Left, 310 - width);
    EXPECT_EQ(right.Runs[1].Left, right.Runs[0].Left + right.Runs[0].Width);
    EXPECT_EQ(Layout(text, rect, font, Qt::AlignHCenter).Runs[0].Left, 10 + (300 - width) / 2);

    const QFontMetrics fm(font);
    EXPECT_EQ(Layout("&Play", rect, font, Qt::TextShowMnemonic).Runs[0].Width,
              fm.size(Qt::TextShowMnemonic, "&Play").width());
    EXPECT_EQ(Layout("&Play", rect, font).Runs[0].Width, fm.horizontalAdvance("&Play"));
}

TEST_F(HtmlRender, ColoursFromTagsAndTheForcedColour)
{
    const QFont font = TestFont(10);
    const QRect rect(0, 0, 300, 20);
    const ThtmlLineLayout tagged = Layout("pre<font color=#FF0000>red<x>after", rect, font);
    EXPECT_EQ(tagged.Runs[0].Color, QColor(Qt::black));
    EXPECT_EQ(tagged.Runs[1].Color, QColor(Qt::red));
    EXPECT_EQ(tagged.Runs[2].Color, QColor(Qt::red));

    const QColor forced(1, 2, 250);
    const ThtmlLineLayout f = Layout("pre<font color=#FF0000>red<b>bold", rect, font, 0, true, forced);
    EXPECT_EQ(f.Runs[0].Color, QColor(Qt::black));
    EXPECT_EQ(f.Runs[1].Color, forced);
    EXPECT_EQ(f.Runs[2].Color, forced);

    const ThtmlLineLayout sized = Layout("<font size=0 name=\"dejavu serif\">x", rect, font);
    EXPECT_EQ(sized.Runs[0].Font.pointSizeF(), QApplication::font().pointSizeF());
    EXPECT_EQ(sized.Runs[0].Font.family(), "DEJAVU SERIF");
}

TEST_F(HtmlRender, DrawsRunsInTheirColoursInsideTheRectangle)
{
    QImage image = BlankImage(200, 40);
    QPainter painter(&image);
    const QFont font = TestFont(12);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 255));
    const QRect rect(10, 5, 120, 30);
    const std::string text = "Blue<font color=#FF0000>Red<font color=#00FF00>WWWWWWWWWWWWWWWWWWWW";
    const int right = DrawTaggedText(text, rect, painter, painter.fontMetrics(), 0);
    EXPECT_EQ(painter.font(), font);
    EXPECT_EQ(painter.pen().color(), QColor(0, 0, 255));
    painter.end();

    const ThtmlLineLayout line = LayoutTaggedText(text, rect, font, Qt::blue, QFontMetrics(font, &image), 0);
    EXPECT_EQ(right, line.Right);
    const QRect blue = ColorBox(image, QColor(0, 0, 255));
    const QRect red = ColorBox(image, QColor(255, 0, 0));
    const QRect green = ColorBox(image, QColor(0, 255, 0));
    ASSERT_FALSE(blue.isEmpty());
    ASSERT_FALSE(red.isEmpty());
    ASSERT_FALSE(green.isEmpty());
    EXPECT_GE(blue.left(), line.Runs[0].Left);
    EXPECT_LE(blue.right(), line.Runs[0].Left + line.Runs[0].Width);
    EXPECT_GE(red.left(), line.Runs[1].Left);
    EXPECT_LE(red.right(), line.Runs[1].Left + line.Runs[1].Width);
    for (const ThtmlRunLayout& r : line.Runs) {
        EXPECT_GE(std::min({blue.top(), red.top()}), r.Top);
        EXPECT_LE(std::max({blue.bottom(), red.bottom()}), r.Top + r.Height);
    }
    // The run that passes the right edge is clipped there.
    EXPECT_GT(line.Right, rect.right());
    EXPECT_EQ(green.right(), rect.right());

    QImage unclipped = BlankImage(200, 40);
    QPainter p2(&unclipped);
    p2.setFont(font);
    DrawTaggedText(text, rect, p2, p2.fontMetrics(), Qt::TextDontClip);
    p2.end();
    EXPECT_GT(ColorBox(unclipped, QColor(0, 255, 0)).right(), rect.right());
}

TEST_F(HtmlRender, DrawTextRunDrawsOnePlainRun)
{
    QImage image = BlankImage(100, 30);
    QPainter painter(&image);
    painter.setFont(TestFont(10));
    painter.setPen(Qt::red);
    const QRect rect(20, 0, 80, 30);
    EXPECT_EQ(DrawTextRun("<b>", rect, painter, painter.fontMetrics(), 0),
              painter.fontMetrics().horizontalAdvance("<b>"));
    EXPECT_EQ(DrawTextRun("", rect, painter, painter.fontMetrics(), 0), 0);
    painter.end();
    const QRect red = ColorBox(image, Qt::red);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_GE(red.left(), 20);
}

TEST_F(HtmlRender, MeasureGivesTheLeastHeightThatHoldsEveryRun)
{
    const QFont font = TestFont(10);
    const QFontMetrics fm(font);
    EXPECT_EQ(MeasureTaggedText("Plain text", font), QSize(fm.horizontalAdvance("Plain text"), fm.height()));
    EXPECT_EQ(MeasureTaggedText("", font), QSize(0, fm.height()));
    EXPECT_EQ(MeasureTaggedText("<b>x</b>y", font).width(),
              QFontMetrics(TestFont(10, true)).horizontalAdvance("x") + fm.horizontalAdvance("y"));

    const std::string mixed = "small<font size=24>BIG</font>g";
    const QSize size = MeasureTaggedText(mixed, font);
    auto inside = [&](int height) {
        const ThtmlLineLayout line = Layout(mixed, QRect(0, 0, size.width(), height), font);
        for (const ThtmlRunLayout& r : line.Runs)
            if (r.Top < 0 || r.Top + r.Height > height)
                return false;
        return true;
    };
    EXPECT_GT(size.height(), QFontMetrics(TestFont(24)).height());
    EXPECT_TRUE(inside(size.height()));
    EXPECT_FALSE(inside(size.height() - 1));
}
