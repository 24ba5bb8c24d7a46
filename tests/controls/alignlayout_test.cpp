#include "controls/alignlayout.h"
#include "controls/alignsplitter.h"
#include "controls/transparentsplitter.h"
#include "skinimages.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

QWidget* Child(QWidget& parent, int w, int h, TAlign align)
{
    auto* c = new QWidget(&parent);
    c->resize(w, h);
    TalignLayout::SetAlign(c, align);
    return c;
}

void Drag(QWidget* w, QPoint from, QPoint to)
{
    QTest::mousePress(w, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), w->mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &move);
}

void Release(QWidget* w, QPoint at)
{
    QTest::mouseRelease(w, Qt::LeftButton, {}, at);
}

} // namespace

TEST(AlignLayout, PlacesTopBottomLeftRightThenClientInCreationOrder)
{
    QWidget parent;
    parent.resize(400, 300);
    QWidget* client = Child(parent, 10, 10, TAlign::alClient);
    QWidget* top1 = Child(parent, 10, 30, TAlign::alTop);
    QWidget* left = Child(parent, 50, 10, TAlign::alLeft);
    QWidget* top2 = Child(parent, 10, 20, TAlign::alTop);
    QWidget* bottom = Child(parent, 10, 40, TAlign::alBottom);
    QWidget* right1 = Child(parent, 60, 10, TAlign::alRight);
    QWidget* right2 = Child(parent, 25, 10, TAlign::alRight);
    QWidget* loose = new QWidget(&parent);
    loose->setGeometry(5, 6, 7, 8);
    parent.show();

    EXPECT_EQ(top1->geometry(), QRect(0, 0, 400, 30));
    EXPECT_EQ(top2->geometry(), QRect(0, 30, 400, 20));
    EXPECT_EQ(bottom->geometry(), QRect(0, 260, 400, 40));
    EXPECT_EQ(left->geometry(), QRect(0, 50, 50, 210));
    EXPECT_EQ(right1->geometry(), QRect(340, 50, 60, 210));
    EXPECT_EQ(right2->geometry(), QRect(315, 50, 25, 210));
    EXPECT_EQ(client->geometry(), QRect(50, 50, 265, 210));
    EXPECT_EQ(loose->geometry(), QRect(5, 6, 7, 8));
    EXPECT_EQ(TalignLayout::AlignOf(right2), TAlign::alRight);
    EXPECT_EQ(TalignLayout::AlignOf(loose), TAlign::alNone);

    // Parent resize, own resize, hiding and showing re-align at once.
    parent.resize(500, 300);
    EXPECT_EQ(client->geometry(), QRect(50, 50, 365, 210));
    top1->resize(top1->width(), 10);
    EXPECT_EQ(top2->geometry(), QRect(0, 10, 500, 20));
    EXPECT_EQ(client->geometry(), QRect(50, 30, 365, 230));
    left->hide();
    EXPECT_EQ(client->geometry(), QRect(0, 30, 415, 230));
    left->show();
    EXPECT_EQ(client->geometry(), QRect(50, 30, 365, 230));

    // Changing side keeps the place in the order; alNone leaves the geometry as it is.
    TalignLayout::SetAlign(top2, TAlign::alBottom);
    EXPECT_EQ(top2->geometry(), QRect(0, 280, 500, 20)); // aligned before `bottom`, so it comes first
    EXPECT_EQ(bottom->geometry(), QRect(0, 240, 500, 40));
    TalignLayout::SetAlign(bottom, TAlign::alNone);
    EXPECT_EQ(bottom->geometry(), QRect(0, 240, 500, 40));
    EXPECT_EQ(top2->geometry(), QRect(0, 280, 500, 20));
    EXPECT_EQ(client->geometry(), QRect(50, 10, 365, 270));
    delete right1;
    EXPECT_EQ(right2->geometry(), QRect(475, 10, 25, 270));

    // The client area is the contents rectangle; a crowded parent gives empty sizes, never negative.
    parent.setContentsMargins(3, 4, 5, 6);
    TalignLayout::Of(&parent)->Realign();
    EXPECT_EQ(top1->geometry(), QRect(3, 4, 492, 10));
    parent.resize(60, 30);
    EXPECT_EQ(client->width(), 0);
    EXPECT_GE(client->height(), 0);
}

TEST(AlignSplitter, ResizesTheLeftNeighbourWithinMinimumSizes)
{
    QWidget parent;
    parent.resize(400, 300);
    QWidget* left = Child(parent, 100, 10, TAlign::alLeft);
    auto* splitter = new TalignSplitter(&parent);
    QWidget* client = Child(parent, 10, 10, TAlign::alClient);
    splitter->SetResizeStyle(TResizeStyle::rsUpdate);
    splitter->SetAutoSnap(false);
    int moved = 0;
    splitter->OnMoved = [&moved](QObject*) { ++moved; };
    parent.show();
    ASSERT_EQ(splitter->geometry(), QRect(100, 0, 3, 300));
    EXPECT_EQ(splitter->FindControl(), left);

    Drag(splitter, QPoint(1, 50), QPoint(51, 50));
    EXPECT_EQ(left->width(), 150);
    EXPECT_EQ(splitter->x(), 150);
    EXPECT_EQ(client->geometry(), QRect(153, 0, 247, 300));
    Release(splitter, QPoint(1, 50));
    EXPECT_EQ(moved, 1);

    // Never below MinSize, and the rest keeps MinSize: 400 - 30 - (150 + 3) + 150 = 367.
    Drag(splitter, QPoint(1, 50), QPoint(-500, 50));
    EXPECT_EQ(left->width(), 30);
    Release(splitter, QPoint(-500, 50));
    Drag(splitter, QPoint(1, 50), QPoint(900, 50));
    EXPECT_EQ(left->width(), 367);
    EXPECT_EQ(client->width(), 30);
    Release(splitter, QPoint(900, 50));

    // AutoSnap collapses a neighbour dragged to its minimum; it can be pulled out again.
    splitter->SetAutoSnap(true);
    Drag(splitter, QPoint(1, 50), QPoint(-500, 50));
    Release(splitter, QPoint(-500, 50));
    EXPECT_EQ(left->width(), 0);
    EXPECT_EQ(splitter->x(), 0);
    EXPECT_EQ(splitter->FindControl(), left);
    Drag(splitter, QPoint(1, 50), QPoint(81, 50));
    Release(splitter, QPoint(81, 50));
    EXPECT_EQ(left->width(), 80);

    // A refusing handler keeps the size.
    splitter->OnCanResize = [](QObject*, int&, bool& accept) { accept = false; };
    Drag(splitter, QPoint(1, 50), QPoint(41, 50));
    Release(splitter, QPoint(41, 50));
    EXPECT_EQ(left->width(), 80);
}

TEST(AlignSplitter, BottomAndRightNeighboursAndTheLineStyle)
{
    QWidget parent;
    parent.resize(300, 400);
    QWidget* queue = Child(parent, 10, 100, TAlign::alBottom);
    auto* splitter = new TalignSplitter(&parent);
    splitter->SetAlign(TAlign::alBottom);
    splitter->resize(300, 4);
    QWidget* right = Child(parent, 80, 10, TAlign::alRight);
    auto* side = new TalignSplitter(&parent);
    side->SetAlign(TAlign::alRight);
    QWidget* client = Child(parent, 10, 10, TAlign::alClient);
    parent.show();
    ASSERT_EQ(queue->geometry(), QRect(0, 300, 300, 100));
    ASSERT_EQ(splitter->geometry(), QRect(0, 296, 300, 4));
    ASSERT_EQ(right->geometry(), QRect(220, 0, 80, 296));
    ASSERT_EQ(side->geometry(), QRect(217, 0, 3, 296));
    EXPECT_EQ(splitter->FindControl(), queue);
    EXPECT_EQ(side->FindControl(), right);

    // The default line style changes the size only on release.
    Drag(splitter, QPoint(5, 1), QPoint(5, -49));
    EXPECT_EQ(queue->height(), 100);
    Release(splitter, QPoint(5, -49));
    EXPECT_EQ(queue->height(), 150);
    EXPECT_EQ(splitter->y(), 246);
    EXPECT_EQ(client->geometry(), QRect(0, 0, 217, 246));

    Drag(side, QPoint(1, 5), QPoint(-19, 5));
    Release(side, QPoint(-19, 5));
    EXPECT_EQ(right->geometry(), QRect(200, 0, 100, 246));
    EXPECT_EQ(client->geometry(), QRect(0, 0, 197, 246));

    // Without a neighbour a drag does nothing.
    TalignLayout::SetAlign(queue, TAlign::alNone);
    queue->hide();
    EXPECT_EQ(splitter->FindControl(), nullptr);
    Drag(splitter, QPoint(5, 1), QPoint(5, -49));
    Release(splitter, QPoint(5, -49));
}

TEST(TransparentSplitter, PaintsThePanelColourAndItsGrips)
{
    QWidget parent;
    parent.resize(200, 300);
    auto* s = new TtransparentSplitter(&parent);
    s->resize(5, 300);
    s->SetPanelColor(RGBColor(200, 0, 0));
    EXPECT_EQ(s->Color(), RGBColor(200, 0, 0));
    parent.show();
    QImage shot = Shot(*s);
    EXPECT_EQ(At(shot, 2, 150), RGBColor(200, 0, 0));
    EXPECT_EQ(At(shot, 4, 299), RGBColor(200, 0, 0));

    QImage grip = Grey(5, 20, 64);
    Fill(grip, QRect(0, 0, 1, 1), clLime);
    s->SetBottomRightBitmap(grip);
    QImage top = Grey(3, 3, 255);
    s->SetTopLeftBitmap(top);
    shot = Shot(*s);
    EXPECT_EQ(At(shot, 0, 280), clLime);
    EXPECT_EQ(At(shot, 3, 290), RGBColor(100, 0, 0));
    EXPECT_EQ(At(shot, 3, 279), RGBColor(200, 0, 0));
    EXPECT_EQ(At(shot, 1, 1), clWhite);
    EXPECT_EQ(At(shot, 3, 3), RGBColor(200, 0, 0));

    s->SetPanelColor(RGBColor(0, 0, 100));
    shot = Shot(*s);
    EXPECT_EQ(At(shot, 3, 290), RGBColor(0, 0, 50));
    EXPECT_EQ(At(shot, 0, 280), clLime);
    EXPECT_EQ(At(shot, 2, 150), RGBColor(0, 0, 100));

    s->SetBottomRightBitmap(QImage());
    EXPECT_EQ(At(Shot(*s), 3, 290), RGBColor(0, 0, 100));
}
