#include "controls/alignlayout.h"
#include "controls/orvanebutton.h"
#include "controls/orvanescrollbar.h"
#include "controls/scrolltarget.h"
#include "skinimages.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <vector>

namespace {

class RowsTarget : public QWidget, public TscrollTarget
{
public:
    std::vector<int> rows;
    void SetTopRow(int row) override { rows.push_back(row); }
};

struct Bar
{
    QWidget window;
    TorvaneScrollBar* bar = nullptr;
    RowsTarget* target = nullptr;
    std::vector<int> changes;

    explicit Bar(TosbStyle style = TosbStyle::osbVertical)
    {
        window.resize(300, 300);
        bar = new TorvaneScrollBar(&window);
        target = new RowsTarget;
        target->setParent(&window);
        bar->SetStyle(style);
        if (style == TosbStyle::osbVertical) {
            bar->resize(20, 200);
        } else {
            bar->Thumb()->resize(40, 20);
            bar->resize(200, 20);
        }
        bar->SetMax(100);
        bar->SetScrollComponent(target);
        bar->PositionChanged = [this](QObject*, int v) { changes.push_back(v); };
        window.show();
        // A resize leaves the next change quiet; start from a settled bar.
        bar->SetValueQuiet(0);
    }
};

void MoveWithButton(QWidget* w, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(to), w->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

} // namespace

TEST(OrvaneScrollBar, ThumbFollowsTheValueAlongTheTrack)
{
    Bar b;
    EXPECT_EQ(b.bar->Thumb()->geometry(), QRect(0, 20, 20, 40));
    EXPECT_EQ(b.bar->DownButton()->geometry(), QRect(0, 180, 20, 20));
    b.bar->SetValue(50);
    EXPECT_EQ(b.bar->Thumb()->y(), 80); // 20 + 60 on a 120-pixel track
    b.bar->SetValue(100);
    EXPECT_EQ(b.bar->Thumb()->y(), 140);
    b.bar->SetValue(250);
    EXPECT_EQ(b.bar->Value(), 100);
    b.bar->SetValue(-5);
    EXPECT_EQ(b.bar->Value(), 0);
    b.bar->SetValue(1);
    EXPECT_EQ(b.bar->Thumb()->y(), 21); // round(1.2)
    EXPECT_EQ(b.changes, (std::vector<int>{50, 100, 100, 0, 1}));
    EXPECT_EQ(b.target->rows, (std::vector<int>{50, 100, 100, 0, 1}));

    Bar h(TosbStyle::osbHorizontal);
    EXPECT_EQ(h.bar->DownButton()->geometry(), QRect(180, 0, 20, 20));
    h.bar->SetValue(50);
    EXPECT_EQ(h.bar->Thumb()->geometry(), QRect(80, 0, 40, 20));
    // A horizontal bar never moves its scroll component.
    EXPECT_TRUE(h.target->rows.empty());
    EXPECT_EQ(h.changes, (std::vector<int>{50}));
}

TEST(OrvaneScrollBar, RangeChangesAreCheckedAndQuiet)
{
    Bar b;
    b.bar->SetValue(60);
    b.bar->SetMax(0); // not above Min
    EXPECT_EQ(b.bar->Max(), 100);
    b.bar->SetMin(-1);
    b.bar->SetMin(100);
    EXPECT_EQ(b.bar->Min(), 0);
    b.bar->SetMax(40); // below the value: the value waits for the next change
    EXPECT_EQ(b.bar->Max(), 40);
    EXPECT_EQ(b.bar->Value(), 60);
    EXPECT_EQ(b.changes, (std::vector<int>{60}));
    // The range change left the next change quiet as well.
    b.bar->SetValue(10);
    EXPECT_EQ(b.changes, (std::vector<int>{60}));
    EXPECT_EQ(b.target->rows, (std::vector<int>{60}));
    b.bar->SetValue(70);
    EXPECT_EQ(b.bar->Value(), 40);
    EXPECT_EQ(b.changes, (std::vector<int>{60, 40}));

    b.bar->SetValueQuiet(20);
    EXPECT_EQ(b.bar->Value(), 20);
    EXPECT_EQ(b.changes.size(), 2u);

    // After a resize the next change is quiet too.
    b.bar->resize(20, 300);
    b.bar->SetValue(30);
    EXPECT_EQ(b.changes.size(), 2u);
    b.bar->SetValue(31);
    EXPECT_EQ(b.changes.size(), 3u);
}

TEST(OrvaneScrollBar, ArrowsAndTrackStepOnEveryTick)
{
    Bar b;
    b.bar->SetLargeStep(25);
    QTest::mousePress(b.bar->UpButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(b.bar->Repeating());
    EXPECT_TRUE(b.changes.empty()); // no step at the press itself
    b.bar->RepeatTick();
    b.bar->RepeatTick();
    EXPECT_EQ(b.changes, (std::vector<int>{0, 0})); // held at Min, reported on every tick
    QTest::mouseRelease(b.bar->UpButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(b.bar->Repeating());
    EXPECT_FALSE(b.bar->UpButton()->hasFocus());

    b.changes.clear();
    QTest::mousePress(b.bar->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    b.bar->RepeatTick();
    QTest::mouseRelease(b.bar->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(b.changes, (std::vector<int>{1}));

    // The track below the thumb steps up by LargeStep, past the mouse, to Max.
    b.changes.clear();
    QTest::mousePress(b.bar, Qt::LeftButton, {}, QPoint(10, 120));
    for (int i = 0; i < 6; ++i) {
        b.bar->RepeatTick();
    }
    QTest::mouseRelease(b.bar, Qt::LeftButton, {}, QPoint(10, 120));
    EXPECT_FALSE(b.bar->Repeating());
    EXPECT_EQ(b.changes, (std::vector<int>{26, 51, 76, 100, 100, 100}));
    // Above the thumb it steps down.
    b.changes.clear();
    QTest::mousePress(b.bar, Qt::LeftButton, {}, QPoint(10, 30));
    b.bar->RepeatTick();
    QTest::mouseRelease(b.bar, Qt::LeftButton, {}, QPoint(10, 30));
    EXPECT_EQ(b.changes, (std::vector<int>{75}));
}

TEST(OrvaneScrollBar, TheRepeatTimerDrivesTheSteps)
{
    Bar b;
    // Released before the first tick: nothing changes.
    QTest::mousePress(b.bar->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(b.bar->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::qWait(150);
    EXPECT_EQ(b.bar->Value(), 0);

    QTest::mousePress(b.bar->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(QTest::qWaitFor([&b] { return b.bar->Value() >= 2; }, 2000));
    QTest::mouseRelease(b.bar->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    const int stopped = b.bar->Value();
    QTest::qWait(150);
    EXPECT_EQ(b.bar->Value(), stopped);

    // Destroying a bar while it repeats delivers nothing afterwards.
    auto* other = new TorvaneScrollBar(&b.window);
    QTest::mousePress(other->DownButton(), Qt::LeftButton, {}, QPoint(5, 5));
    delete other;
    QTest::qWait(120);
}

TEST(OrvaneScrollBar, ThumbDragMovesTheListAndReportsOnRelease)
{
    Bar b;
    b.bar->SetNoChangeWhileMoving(true);
    TorvaneButton* thumb = b.bar->Thumb();
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(b.bar->Dragging());
    MoveWithButton(thumb, QPoint(10, 40)); // +30 pixels: value round(30 / 1.2) = 25
    EXPECT_EQ(thumb->y(), 50);
    EXPECT_EQ(b.bar->Value(), 25);
    // Mirroring the list into the bar is ignored while dragging.
    b.bar->SetValueQuiet(90);
    EXPECT_EQ(b.bar->Value(), 25);
    MoveWithButton(thumb, QPoint(10, 1000)); // held at the end of the track
    EXPECT_EQ(thumb->y(), 140);
    EXPECT_EQ(b.bar->Value(), 100);
    MoveWithButton(thumb, QPoint(10, -13)); // thumb coordinates move with the thumb: 140 - 23 = 117
    EXPECT_EQ(thumb->y(), 117);
    EXPECT_EQ(b.bar->Value(), 81); // round(97 / 1.2) = round(80.83)
    EXPECT_TRUE(b.changes.empty());
    EXPECT_EQ(b.target->rows, (std::vector<int>{25, 100, 81}));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(10, -13));
    EXPECT_FALSE(b.bar->Dragging());
    EXPECT_EQ(b.changes, (std::vector<int>{81}));
    EXPECT_EQ(thumb->y(), 117); // 20 + round(81 * 1.2) = 117

    // Without the switch every move reports.
    b.changes.clear();
    b.bar->SetNoChangeWhileMoving(false);
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(10, 10));
    MoveWithButton(thumb, QPoint(10, 4));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(10, 4));
    EXPECT_EQ(b.changes, (std::vector<int>{76, 76}));

    // On a short bar the thumb without a skin shortens to leave a track: 80 - 2 x 20 leaves 20 for the
    // thumb and 20 to move in.
    b.bar->resize(20, 80);
    b.bar->SetValueQuiet(0);
    EXPECT_EQ(thumb->height(), 20);
    QTest::mousePress(thumb, Qt::LeftButton, {}, QPoint(10, 10));
    MoveWithButton(thumb, QPoint(10, 20));
    QTest::mouseRelease(thumb, Qt::LeftButton, {}, QPoint(10, 20));
    EXPECT_EQ(b.bar->Value(), 50);
}

// A bar thinner and shorter than the parts' default sizes (the main window's volume bar, 16 x 54): every
// row belongs to an arrow, the track or the thumb, both arrows show whole, and the wheel moves the value.
TEST(OrvaneScrollBar, UnskinnedPartsFitASmallBarAndTheWheelMovesIt)
{
    Bar b;
    b.bar->resize(16, 54);
    b.bar->SetMax(255);
    b.bar->SetValueQuiet(255);
    EXPECT_EQ(b.bar->UpButton()->geometry(), QRect(0, 0, 16, 16));
    EXPECT_EQ(b.bar->DownButton()->geometry(), QRect(0, 38, 16, 16));
    EXPECT_EQ(b.bar->Thumb()->geometry(), QRect(0, 38 - 11, 16, 11)) << "at Max, just above the down arrow";

    b.changes.clear();
    b.bar->SetValueQuiet(100);
    const int lines = QApplication::wheelScrollLines();
    Wheel(b.bar, 120);
    Wheel(b.bar, -60); // half a notch: nothing yet
    EXPECT_EQ(b.bar->Value(), 100 - lines);
    Wheel(b.bar, -60);
    EXPECT_EQ(b.changes, (std::vector<int>{100 - lines, 100}));
}

TEST(OrvaneScrollBar, LongListsAndPlainScrollAreas)
{
    Bar b;
    b.bar->SetMax(200000);
    b.bar->SetValue(1); // quiet after the range change
    b.bar->SetValue(150000);
    ASSERT_EQ(b.target->rows.size(), 1u);
    EXPECT_EQ(b.target->rows.back(), 150000);
    EXPECT_EQ(b.bar->Thumb()->y(), 20 + 90);

    // A list view that is not a scroll target is moved through its own vertical scroll bar.
    auto* list = new QListWidget(&b.window);
    list->resize(100, 60);
    for (int i = 0; i < 500; ++i) {
        list->addItem(QString::number(i));
    }
    list->show();
    QApplication::processEvents(); // the view lays out its rows later
    ASSERT_GT(list->verticalScrollBar()->maximum(), 120);
    b.bar->SetScrollComponent(list);
    b.bar->SetValue(120);
    EXPECT_EQ(list->verticalScrollBar()->value(), 120);

    // A removed component is forgotten.
    delete list;
    EXPECT_EQ(b.bar->ScrollComponent(), nullptr);
    b.bar->SetValue(10);
}

TEST(OrvaneScrollBar, SkinsSizeThePartsAndTileTheBackground)
{
    Bar b;
    b.bar->SetBackColor(RGBColor(0, 0, 200));
    EXPECT_EQ(At(Shot(*b.bar), 10, 70), RGBColor(0, 0, 200)); // no background bitmap: plain colour
    EXPECT_EQ(b.bar->Thumb()->OuterColor(), RGBColor(0, 0, 200));

    QImage back = Grey(3, 7, 64);
    Fill(back, QRect(0, 0, 1, 1), clLime);
    b.bar->SetBackBitmap(back);
    QImage arrow = Grey(48, 16, 128);
    Fill(arrow, QRect(32, 0, 16, 16), clWhite);
    b.bar->SetUpButtonSkin(arrow);
    b.bar->SetDownButtonSkin(arrow);
    QImage thumbSkin = Grey(48, 30, 128);
    Fill(thumbSkin, QRect(32, 0, 16, 30), clWhite);
    b.bar->SetScrollButtonSkin(thumbSkin);
    EXPECT_TRUE(b.bar->UpButton()->IsSkinned());
    b.bar->resize(16, 200);
    EXPECT_EQ(b.bar->UpButton()->size(), QSize(16, 16));
    EXPECT_EQ(b.bar->DownButton()->geometry(), QRect(0, 184, 16, 16));
    EXPECT_EQ(b.bar->Thumb()->size(), QSize(16, 30));
    b.bar->SetValue(100);
    EXPECT_EQ(b.bar->Thumb()->y(), 154);

    b.bar->SetValue(0);
    const QImage s = Shot(*b.bar);
    EXPECT_EQ(At(s, 3, 70), clLime);
    EXPECT_EQ(At(s, 3, 77), clLime);
    EXPECT_EQ(At(s, 4, 70), RGBColor(0, 0, 100));

    TorvaneScrollBar copy;
    copy.CopySkinFrom(*b.bar);
    EXPECT_EQ(copy.BackBitmap().size(), back.size());
    EXPECT_EQ(copy.ScrollButtonSkin().size(), thumbSkin.size());
    EXPECT_TRUE(copy.Thumb()->IsSkinned());
}

TEST(OrvaneScrollBar, BesideAListInALayoutKeepsTheThicknessOfItsParts)
{
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* list = new QListWidget(&window);
    auto* bar = new TorvaneScrollBar(&window);
    layout->addWidget(list);
    layout->addWidget(bar);
    window.resize(300, 200);
    window.show();
    EXPECT_EQ(bar->width(), 20) << "unskinned parts are 20 wide";

    const QImage arrow = Grey(48, 16, 128); // three frames of 16 x 16
    bar->SetUpButtonSkin(arrow);
    bar->SetDownButtonSkin(arrow);
    bar->SetScrollButtonSkin(Grey(42, 36, 128));
    layout->activate();
    EXPECT_EQ(bar->width(), 16) << "the thickest skinned part";
    EXPECT_EQ(bar->minimumSizeHint(), QSize(16, 32));

    bar->SetStyle(TosbStyle::osbHorizontal);
    EXPECT_EQ(bar->sizeHint(), QSize(16 + 16 + 14, 36));
}

TEST(OrvaneScrollBar, AlignsToTheSideItsStyleSays)
{
    QWidget window;
    window.resize(300, 200);
    auto* bar = new TorvaneScrollBar(&window);
    window.show();
    bar->SetIsAligned(true);
    EXPECT_EQ(bar->geometry(), QRect(280, 0, 20, 200));
    bar->SetLeftTopAligned(true);
    EXPECT_EQ(bar->geometry(), QRect(0, 0, 20, 200));
    bar->SetStyle(TosbStyle::osbHorizontal);
    EXPECT_EQ(TalignLayout::AlignOf(bar), TAlign::alTop);
    bar->SetLeftTopAligned(false);
    EXPECT_EQ(TalignLayout::AlignOf(bar), TAlign::alBottom);
    bar->SetIsAligned(false);
    EXPECT_EQ(TalignLayout::AlignOf(bar), TAlign::alNone);
}
