#include "controls/alignlayout.h"
#include "controls/orvanepanel.h"
#include "controls/skindraw.h"
#include "skinimages.h"

#include <gtest/gtest.h>

#include <QTest>

namespace {

constexpr TColor kMark = RGBColor(0, 255, 0); // coloured: never recoloured

// A mid-grey piece with a coloured mark in its top-left pixel and a white one in its bottom-right.
QImage Piece(int w, int h, TColor mark = kMark)
{
    QImage p = Grey(w, h, 128);
    FillGrey(p, QRect(w - 1, h - 1, 1, 1), 255);
    Fill(p, QRect(0, 0, 1, 1), mark);
    return p;
}

std::unique_ptr<TorvanePanel> SkinnedPanel(int w, int h)
{
    auto p = std::make_unique<TorvanePanel>();
    p->resize(w, h);
    p->SetPanelColor(RGBColor(255, 0, 0));
    p->SetIsSkinned(true);
    return p;
}

void SetAllNine(TorvanePanel& p, int corner, int edge)
{
    p.SetBitmapTopLeft(Piece(corner, corner, RGBColor(0, 0, 1)));
    p.SetBitmapTopCenter(Piece(edge, corner));
    p.SetBitmapTopRight(Piece(corner, corner, RGBColor(0, 0, 2)));
    p.SetBitmapLeftCenter(Piece(corner, edge, RGBColor(0, 0, 3)));
    p.SetBitmapMiddle(Piece(edge, edge, RGBColor(0, 0, 4)));
    p.SetBitmapRightCenter(Piece(corner, edge, RGBColor(0, 0, 5)));
    p.SetBitmapBottomLeft(Piece(corner, corner, RGBColor(0, 0, 6)));
    p.SetBitmapBottomCenter(Piece(edge, corner, RGBColor(0, 0, 7)));
    p.SetBitmapBottomRight(Piece(corner, corner, RGBColor(0, 0, 8)));
}

} // namespace

TEST(OrvanePanel, FitsItselfToSinglePicturesAndBars)
{
    auto p = SkinnedPanel(185, 41);
    p->SetBitmapTopLeft(Grey(40, 20, 128));
    FitPanelToSkin(p.get());
    EXPECT_EQ(p->size(), QSize(40, 20));

    auto bar = SkinnedPanel(185, 41);
    bar->SetBitmapTopLeft(Grey(20, 20, 128));
    bar->SetBitmapTopCenter(Grey(5, 20, 128));
    bar->SetBitmapTopRight(Grey(20, 20, 128));
    FitPanelToSkin(bar.get());
    EXPECT_EQ(bar->size(), QSize(185, 20));

    auto column = SkinnedPanel(185, 41);
    column->SetBitmapTopLeft(Grey(15, 10, 128));
    column->SetBitmapLeftCenter(Grey(15, 4, 128));
    FitPanelToSkin(column.get());
    EXPECT_EQ(column->size(), QSize(15, 41));

    // Unskinned panels are left as they are.
    TorvanePanel plain;
    plain.SetBitmapTopLeft(Grey(40, 20, 128));
    FitPanelToSkin(&plain);
    EXPECT_EQ(plain.size(), QSize(185, 41));
}

TEST(OrvanePanel, ClientAlignedPanelResizesItsParentPanelInstead)
{
    TorvanePanel parent;
    parent.SetBevelOuter(TPanelBevel::bvNone);
    parent.resize(200, 100);
    auto* child = new TorvanePanel(&parent);
    TalignLayout::SetAlign(child, TAlign::alClient);
    parent.show();
    ASSERT_EQ(child->size(), QSize(200, 100));

    child->SetIsSkinned(true);
    child->SetBitmapTopLeft(Grey(40, 20, 128));
    FitPanelToSkin(child);
    EXPECT_EQ(parent.size(), QSize(40, 20));
    EXPECT_EQ(child->size(), QSize(40, 20));

    // With a bevel the parent is larger than the child, so nothing changes.
    TorvanePanel beveled;
    beveled.resize(200, 100);
    auto* inner = new TorvanePanel(&beveled);
    TalignLayout::SetAlign(inner, TAlign::alClient);
    beveled.show();
    inner->SetIsSkinned(true);
    inner->SetBitmapTopLeft(Grey(40, 20, 128));
    FitPanelToSkin(inner);
    EXPECT_EQ(beveled.size(), QSize(200, 100));
    EXPECT_EQ(inner->size(), QSize(198, 98));
}

TEST(OrvanePanel, NinePiecesTileAcrossAndDown)
{
    auto p = SkinnedPanel(100, 70);
    SetAllNine(*p, 20, 10);
    p->show();
    const QImage s = Shot(*p);
    EXPECT_EQ(At(s, 0, 0), RGBColor(0, 0, 1));
    for (int x = 20; x <= 70; x += 10) {
        EXPECT_EQ(At(s, x, 0), kMark) << x;
    }
    EXPECT_EQ(At(s, 80, 0), RGBColor(0, 0, 2));
    EXPECT_EQ(At(s, 25, 5), RGBColor(255, 0, 0)); // mid-grey takes the panel colour
    EXPECT_EQ(At(s, 29, 19), clWhite);
    // Middle rows from y 20 in steps of the right piece's height, while y < 70 - 20.
    EXPECT_EQ(At(s, 0, 20), RGBColor(0, 0, 3));
    EXPECT_EQ(At(s, 0, 30), RGBColor(0, 0, 3));
    EXPECT_EQ(At(s, 0, 40), RGBColor(0, 0, 3));
    EXPECT_EQ(At(s, 20, 20), RGBColor(0, 0, 4));
    EXPECT_EQ(At(s, 70, 40), RGBColor(0, 0, 4));
    EXPECT_EQ(At(s, 80, 30), RGBColor(0, 0, 5));
    EXPECT_EQ(At(s, 0, 50), RGBColor(0, 0, 6));
    EXPECT_EQ(At(s, 20, 50), RGBColor(0, 0, 7));
    EXPECT_EQ(At(s, 60, 50), RGBColor(0, 0, 7));
    EXPECT_EQ(At(s, 80, 50), RGBColor(0, 0, 8));
    EXPECT_EQ(At(s, 99, 69), clWhite);
}

TEST(OrvanePanel, NinePiecesStretched)
{
    auto p = SkinnedPanel(100, 70);
    SetAllNine(*p, 20, 10);
    p->SetStretchDraw(true);
    p->show();
    const QImage s = Shot(*p);
    EXPECT_EQ(At(s, 20, 0), kMark);
    EXPECT_EQ(At(s, 30, 0), RGBColor(255, 0, 0)); // one stretched piece, no second mark
    EXPECT_EQ(At(s, 20, 20), RGBColor(0, 0, 4));
    EXPECT_EQ(At(s, 40, 30), RGBColor(255, 0, 0));
    EXPECT_EQ(At(s, 79, 49), clWhite); // the middle's corner pixel stretched to its corner
    EXPECT_EQ(At(s, 80, 20), RGBColor(0, 0, 5));
    EXPECT_EQ(At(s, 20, 50), RGBColor(0, 0, 7));
}

TEST(OrvanePanel, PartialPieceSetsGiveBarsAndPictures)
{
    {
        auto p = SkinnedPanel(100, 40); // horizontal bar
        p->SetBitmapTopLeft(Piece(20, 20, RGBColor(0, 0, 1)));
        p->SetBitmapTopCenter(Piece(10, 20));
        p->SetBitmapTopRight(Piece(20, 20, RGBColor(0, 0, 2)));
        p->show();
        const QImage s = Shot(*p);
        EXPECT_EQ(At(s, 70, 0), kMark);
        EXPECT_EQ(At(s, 80, 0), RGBColor(0, 0, 2));
    }
    {
        auto p = SkinnedPanel(30, 100); // vertical bar
        p->SetBitmapTopLeft(Piece(30, 20, RGBColor(0, 0, 1)));
        p->SetBitmapLeftCenter(Piece(30, 15, RGBColor(0, 0, 3)));
        p->SetBitmapBottomLeft(Piece(30, 20, RGBColor(0, 0, 6)));
        p->show();
        const QImage s = Shot(*p);
        EXPECT_EQ(At(s, 0, 20), RGBColor(0, 0, 3));
        EXPECT_EQ(At(s, 0, 35), RGBColor(0, 0, 3));
        EXPECT_EQ(At(s, 0, 65), RGBColor(0, 0, 3));
        EXPECT_EQ(At(s, 0, 80), RGBColor(0, 0, 6));
    }
    {
        auto p = SkinnedPanel(50, 60); // full-width band
        p->SetBitmapTopCenter(Piece(10, 10, RGBColor(0, 0, 2)));
        p->SetBitmapMiddle(Piece(25, 20, RGBColor(0, 0, 4)));
        p->SetBitmapBottomCenter(Piece(10, 10, RGBColor(0, 0, 7)));
        p->show();
        const QImage s = Shot(*p);
        EXPECT_EQ(At(s, 0, 0), RGBColor(0, 0, 2));
        EXPECT_EQ(At(s, 40, 0), RGBColor(0, 0, 2));
        EXPECT_EQ(At(s, 0, 10), RGBColor(0, 0, 4));
        EXPECT_EQ(At(s, 25, 30), RGBColor(0, 0, 4));
        EXPECT_EQ(At(s, 0, 50), RGBColor(0, 0, 7));
    }
    {
        auto p = SkinnedPanel(50, 30); // top-left and top centre, plus the extra bottom-right
        p->SetBitmapTopLeft(Piece(20, 10, RGBColor(0, 0, 1)));
        p->SetBitmapTopCenter(Piece(10, 10));
        p->SetBitmapBottomRight(Piece(5, 5, RGBColor(0, 0, 8)));
        p->show();
        const QImage s = Shot(*p);
        EXPECT_EQ(At(s, 20, 0), kMark);
        EXPECT_EQ(At(s, 40, 0), kMark);
        EXPECT_EQ(At(s, 45, 25), RGBColor(0, 0, 8));
    }
    {
        auto p = SkinnedPanel(50, 30); // left centre only: stretched down the height
        p->SetBitmapLeftCenter(Piece(8, 3, RGBColor(0, 0, 3)));
        p->SetStretchDraw(true);
        p->show();
        const QImage s = Shot(*p);
        EXPECT_EQ(At(s, 0, 0), RGBColor(0, 0, 3));
        EXPECT_EQ(At(s, 7, 29), clWhite);
    }
    {
        // One-pixel pieces tile a large panel without trouble.
        auto p = SkinnedPanel(400, 300);
        SetAllNine(*p, 1, 1);
        p->show();
        EXPECT_EQ(At(Shot(*p), 200, 150), RGBColor(0, 0, 4));
    }
    {
        // No usable set: the unskinned look.
        auto p = SkinnedPanel(50, 30);
        p->SetColor(RGBColor(100, 100, 100));
        p->SetBitmapMiddle(Piece(10, 10));
        p->SetBevelOuter(TPanelBevel::bvNone);
        p->show();
        EXPECT_EQ(At(Shot(*p), 25, 15), RGBColor(100, 100, 100));
    }
}

TEST(OrvanePanel, PanelColourRecoloursGreyAndKeepsWhite)
{
    auto p = SkinnedPanel(40, 20);
    p->SetBitmapTopLeft(Piece(40, 20));
    p->show();
    EXPECT_EQ(At(Shot(*p), 10, 10), RGBColor(255, 0, 0));
    EXPECT_EQ(At(Shot(*p), 39, 19), clWhite);
    p->SetPanelColor(RGBColor(0, 0, 200));
    EXPECT_EQ(At(Shot(*p), 10, 10), RGBColor(0, 0, 200));
    EXPECT_EQ(At(Shot(*p), 0, 0), kMark);

    // A piece changed while unskinned is shown once the panel is skinned again.
    p->SetIsSkinned(false);
    p->SetBitmapTopLeft(Grey(40, 20, 64));
    p->SetIsSkinned(true);
    EXPECT_EQ(At(Shot(*p), 10, 10), RGBColor(0, 0, 100));
}

TEST(OrvanePanel, UnskinnedBevelsAndShadedCentrePicture)
{
    const TColor c = RGBColor(100, 100, 100);
    TorvanePanel p;
    p.resize(40, 30);
    p.SetColor(c);
    p.SetBevelOuter(TPanelBevel::bvRaised);
    p.SetBevelInner(TPanelBevel::bvLowered);
    p.SetBevelWidth(2);
    p.show();
    QImage s = Shot(p);
    EXPECT_EQ(At(s, 0, 0), LightenColor(c, 25));
    EXPECT_EQ(At(s, 1, 1), LightenColor(c, 50));
    EXPECT_EQ(At(s, 39, 29), DarkenColor(c, 90));
    EXPECT_EQ(At(s, 38, 28), DarkenColor(c, 45));
    EXPECT_EQ(At(s, 2, 2), DarkenColor(c, 45));
    EXPECT_EQ(At(s, 3, 3), DarkenColor(c, 90));
    EXPECT_EQ(At(s, 37, 27), DarkenColor(LightenColor(c, 30), 25));
    EXPECT_EQ(At(s, 36, 26), DarkenColor(LightenColor(c, 30), 50));
    EXPECT_EQ(At(s, 4, 4), c);
    // Aligned children sit inside both bevels.
    EXPECT_EQ(p.contentsRect(), QRect(4, 4, 32, 22));

    p.SetBevelOuter(TPanelBevel::bvSpace);
    p.SetBevelInner(TPanelBevel::bvNone);
    s = Shot(p);
    EXPECT_EQ(At(s, 0, 0), c);
    EXPECT_EQ(At(s, 39, 29), c);

    // A grey picture shaded onto the colour at round(W/2 - w/2), round(H/2 - h/2).
    QImage picture = Grey(5, 4, 127);
    FillGrey(picture, QRect(0, 0, 1, 1), 255);
    Fill(picture, QRect(1, 0, 1, 1), clBlue);
    FillGrey(picture, QRect(2, 0, 1, 1), 0);
    p.SetBevelOuter(TPanelBevel::bvNone);
    p.SetBitmap(picture);
    s = Shot(p);
    EXPECT_EQ(At(s, 18, 13), clWhite); // round(17.5) = 18, round(13) = 13
    EXPECT_EQ(At(s, 19, 13), clBlue);
    EXPECT_EQ(At(s, 20, 13), clBlack);
    EXPECT_EQ(At(s, 21, 13), c);
    // Its shading follows a new panel colour.
    p.SetColor(RGBColor(0, 50, 0));
    EXPECT_EQ(At(Shot(p), 21, 13), RGBColor(0, 50, 0));
}
