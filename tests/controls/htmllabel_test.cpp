#include "controlstest.h"

#include "controls/htmllabel.h"
#include "controls/htmlrender.h"

using HtmlLabel = ControlsTest;

namespace {

QImage Paint(ThtmlLabel& label)
{
    QImage image = BlankImage(label.width(), label.height());
    label.render(&image);
    return image;
}

void SetTextColor(QWidget& widget, const QColor& color)
{
    QPalette p = widget.palette();
    p.setColor(QPalette::WindowText, color);
    widget.setPalette(p);
}

} // namespace

TEST_F(HtmlLabel, SizeHintMeasuresTheTaggedCaption)
{
    ThtmlLabel label;
    label.setFont(TestFont(10));
    label.SetCaption("<b>Jukebox</b> List");
    const QSize text = MeasureTaggedText("<b>Jukebox</b> List", TestFont(10));
    EXPECT_EQ(label.sizeHint(), text);
    EXPECT_EQ(text.width(), QFontMetrics(TestFont(10, true)).horizontalAdvance("Jukebox") +
                                QFontMetrics(TestFont(10)).horizontalAdvance(" List"));
    label.SetLabelStyle(TlabelStyle::lsShadow);
    EXPECT_EQ(label.LabelStyle(), TlabelStyle::lsShadow);
    EXPECT_EQ(label.sizeHint(), text + QSize(2, 2));
    label.setContentsMargins(3, 4, 5, 6);
    EXPECT_EQ(label.sizeHint(), text + QSize(2 + 8, 2 + 10));
}

TEST_F(HtmlLabel, AutoSizeFollowsTheCaptionAndKeepsTheAnchoredEdge)
{
    ThtmlLabel label;
    label.setFont(TestFont(10));
    label.setGeometry(100, 20, 300, 40);
    label.SetCaption("<font color=#FFFFFF>Jukebox List");
    EXPECT_EQ(label.geometry(), QRect(100, 20, 300, 40)); // a label keeps its size by default

    label.SetAutoSize(true);
    EXPECT_EQ(label.geometry(), QRect(QPoint(100, 20), label.sizeHint()));
    label.SetCaption("<font size=20>Bigger caption");
    EXPECT_EQ(label.size(), label.sizeHint());
    EXPECT_GT(label.height(), QFontMetrics(TestFont(20)).height());
    label.setFont(TestFont(14));
    EXPECT_EQ(label.size(), label.sizeHint());

    ThtmlLabel right;
    right.setFont(TestFont(10));
    right.SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
    right.setGeometry(100, 0, 300, 30);
    right.SetAutoSize(true);
    right.SetCaption("Queue");
    EXPECT_EQ(right.geometry().right(), 399);
    right.SetCaption("A longer queue caption");
    EXPECT_EQ(right.geometry().right(), 399);
}

TEST_F(HtmlLabel, AlignmentPlacesTheCaption)
{
    ThtmlLabel label;
    label.setFont(TestFont(10));
    SetTextColor(label, Qt::blue);
    label.resize(200, 60);
    label.SetCaption("Queue");
    const QSize text = label.sizeHint();

    QRect box = ColorBox(Paint(label), Qt::blue);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_LT(box.left(), 3);
    EXPECT_NEAR(box.center().y(), 30, text.height() / 2);

    label.SetAlignment(Qt::AlignRight | Qt::AlignTop);
    box = ColorBox(Paint(label), Qt::blue);
    EXPECT_GT(box.right(), 200 - 4);
    EXPECT_LE(box.bottom(), text.height());

    label.SetAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    box = ColorBox(Paint(label), Qt::blue);
    EXPECT_NEAR(box.center().x(), 100, 2);
    EXPECT_GE(box.top(), 60 - text.height());
}

TEST_F(HtmlLabel, ShadowAndBorderStylesDrawBlackCopiesBehind)
{
    ThtmlLabel label;
    label.setFont(TestFont(16));
    SetTextColor(label, Qt::blue);
    label.resize(120, 40);
    label.SetCaption("<font color=#FF0000>X");

    const QRect normalRed = ColorBox(Paint(label), Qt::red);
    ASSERT_FALSE(normalRed.isEmpty());
    EXPECT_TRUE(ColorBox(Paint(label), Qt::black).isEmpty());

    label.SetLabelStyle(TlabelStyle::lsShadow);
    QImage image = Paint(label);
    const QRect red = ColorBox(image, Qt::red);
    const QRect black = ColorBox(image, Qt::black);
    EXPECT_EQ(red, normalRed);
    ASSERT_FALSE(black.isEmpty());
    EXPECT_EQ(black.bottomRight(), red.bottomRight() + QPoint(2, 2));

    label.SetLabelStyle(TlabelStyle::lsBorder);
    image = Paint(label);
    EXPECT_EQ(ColorBox(image, Qt::red), normalRed.translated(0, 2));
    const QRect border = ColorBox(image, Qt::black);
    EXPECT_EQ(border.left(), normalRed.left() - 1);
    EXPECT_EQ(border.right(), normalRed.right() + 1);
    EXPECT_EQ(border.bottom(), normalRed.bottom() + 3);

    // In both styles the text before the first tag stays black: the caption's colours come from its tags.
    label.SetCaption("Plain");
    label.SetLabelStyle(TlabelStyle::lsShadow);
    image = Paint(label);
    EXPECT_TRUE(ColorBox(image, Qt::blue).isEmpty());
    EXPECT_FALSE(ColorBox(image, Qt::black).isEmpty());
}

TEST_F(HtmlLabel, DisabledLabelsUseTheButtonHighlightAndShadowColours)
{
    ThtmlLabel label;
    label.setFont(TestFont(16));
    QPalette p = label.palette();
    p.setColor(QPalette::Active, QPalette::WindowText, Qt::blue);
    p.setColor(QPalette::Active, QPalette::Light, QColor(0, 250, 0));
    p.setColor(QPalette::Active, QPalette::Dark, QColor(250, 0, 250));
    label.setPalette(p);
    label.resize(160, 40);
    label.SetCaption("A<b>B");
    label.setEnabled(false);
    const QImage image = Paint(label);
    const QRect light = ColorBox(image, QColor(0, 250, 0));
    const QRect dark = ColorBox(image, QColor(250, 0, 250));
    ASSERT_FALSE(dark.isEmpty());
    EXPECT_EQ(light.bottomRight(), dark.bottomRight() + QPoint(1, 1));
    // "A", before the first tag, keeps the font colour.
    const QRect blue = ColorBox(image, Qt::blue);
    ASSERT_FALSE(blue.isEmpty());
    EXPECT_LT(blue.right(), dark.left());
}

TEST_F(HtmlLabel, AcceleratorsOnlyWhenAsked)
{
    ThtmlLabel label;
    label.setFont(TestFont(10));
    label.SetCaption("Simon & Garfunkel");
    const int plain = label.sizeHint().width();
    EXPECT_EQ(plain, QFontMetrics(TestFont(10)).horizontalAdvance("Simon & Garfunkel"));
    label.SetShowAccelChar(true);
    EXPECT_LT(label.sizeHint().width(), plain);
}
