#include "controls/orvanepanel.h"

#include "controls/alignlayout.h"
#include "controls/skindraw.h"

#include <QFrame>
#include <QPainter>

namespace {

// Draws pieces into the panel's off-screen picture: at a place, across a span or down a span, stretched
// or tiled. Tiling steps by the piece's size, so an empty piece is never tiled.
class PieceDrawer
{
public:
    PieceDrawer(QPainter& painter, bool stretch) : painter_(painter), stretch_(stretch) {}

    void At(const QImage& piece, int x, int y) { painter_.drawImage(QPoint(x, y), piece); }

    void Into(const QImage& piece, int x1, int y1, int x2, int y2)
    {
        if (x2 > x1 && y2 > y1) {
            painter_.drawImage(QRect(x1, y1, x2 - x1, y2 - y1), piece);
        }
    }

    void Across(const QImage& piece, int x, int end, int y)
    {
        if (stretch_) {
            Into(piece, x, y, end, y + piece.height());
            return;
        }
        TileRow(piece, x, end, y);
    }

    void Down(const QImage& piece, int y, int end, int x)
    {
        if (stretch_) {
            Into(piece, x, y, x + piece.width(), end);
            return;
        }
        if (piece.height() <= 0) {
            return;
        }
        for (; y < end; y += piece.height()) {
            At(piece, x, y);
        }
    }

    // Whole tiles from x while x < end (the last may run past end), in one textured fill.
    void TileRow(const QImage& piece, int x, int end, int y)
    {
        const int w = piece.width();
        if (w <= 0 || x >= end) {
            return;
        }
        const int tiles = (end - x + w - 1) / w;
        painter_.setBrushOrigin(x, y);
        painter_.fillRect(QRect(x, y, tiles * w, piece.height()), QBrush(piece));
    }

    bool Stretch() const { return stretch_; }

private:
    QPainter& painter_;
    bool stretch_;
};

int BevelSize(TPanelBevel bevel, int width)
{
    return bevel == TPanelBevel::bvNone ? 0 : width;
}

} // namespace

TorvanePanel::TorvanePanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(185, 41);
    UpdateClientMargins();
}

TorvanePanel::~TorvanePanel() = default;

void TorvanePanel::SetBitmap(const QImage& value)
{
    bitmap_ = value;
    RebuildCache();
    update();
}

void TorvanePanel::SetPieceBitmap(Piece piece, const QImage& value)
{
    if (piece < 0 || piece >= PieceCount) {
        return;
    }
    pieces_[piece] = value;
    // Any piece change invalidates the recoloured set, even while the panel is unskinned.
    pieceCacheBuilt_ = false;
    RebuildCache();
    update();
}

void TorvanePanel::SetIsSkinned(bool value)
{
    isSkinned_ = value;
    update();
}

void TorvanePanel::SetStretchDraw(bool value)
{
    stretchDraw_ = value;
    update();
}

void TorvanePanel::SetPanelColor(TColor value)
{
    panelColor_ = value;
    pieceCacheBuilt_ = false;
    RebuildCache();
    update();
}

void TorvanePanel::SetColor(TColor value)
{
    color_ = value;
    // The shaded centre picture is shaded onto this colour.
    if (!IsEmptyBitmap(bitmap_)) {
        shadedCache_ = QImage();
    }
    update();
}

void TorvanePanel::SetBevelOuter(TPanelBevel value)
{
    bevelOuter_ = value;
    UpdateClientMargins();
    update();
}

void TorvanePanel::SetBevelInner(TPanelBevel value)
{
    bevelInner_ = value;
    UpdateClientMargins();
    update();
}

void TorvanePanel::SetBevelWidth(int value)
{
    bevelWidth_ = value < 1 ? 1 : value;
    UpdateClientMargins();
    update();
}

void TorvanePanel::SetBorderWidth(int value)
{
    borderWidth_ = value < 0 ? 0 : value;
    UpdateClientMargins();
    update();
}

void TorvanePanel::UpdateClientMargins()
{
    const int m = borderWidth_ + BevelSize(bevelOuter_, bevelWidth_) + BevelSize(bevelInner_, bevelWidth_);
    setContentsMargins(m, m, m, m);
    if (TalignLayout* layout = TalignLayout::Of(this)) {
        layout->Realign();
    }
}

void TorvanePanel::RebuildCache()
{
    if (isSkinned_) {
        for (int i = 0; i < PieceCount; ++i) {
            cache_[std::size_t(i)] = RecoloredSkin(pieces_[std::size_t(i)], 1, panelColor_, {}, panelColor_);
        }
        pieceCacheBuilt_ = true;
        return;
    }
    if (IsEmptyBitmap(bitmap_)) {
        shadedCache_ = QImage();
        return;
    }
    QImage shaded(bitmap_.size(), QImage::Format_BGR888);
    shaded.fill(SkinColorToQColor(color_));
    DrawShadeMask(bitmap_, shaded, bitmap_.rect(), shaded.rect());
    shadedCache_ = std::move(shaded);
}

void TorvanePanel::paintEvent(QPaintEvent*)
{
    if (width() <= 0 || height() <= 0) {
        return;
    }
    QImage buffer(size(), QImage::Format_RGB32);
    Render(buffer);
    QPainter painter(this);
    painter.drawImage(0, 0, buffer);
}

void TorvanePanel::Render(QImage& target)
{
    // The framework erases the background with the panel's colour before it paints.
    target.fill(SkinColorToQColor(color_));
    if (isSkinned_) {
        if (!pieceCacheBuilt_) {
            RebuildCache();
        }
        if (!PaintSkinned(target)) {
            PaintUnskinned(target);
        }
    } else {
        PaintUnskinned(target);
    }
    painted_ = true;
}

void TorvanePanel::PaintUnskinned(QImage& target)
{
    if (!IsEmptyBitmap(bitmap_) && (!painted_ || IsEmptyBitmap(shadedCache_))) {
        QImage shaded(bitmap_.size(), QImage::Format_BGR888);
        shaded.fill(SkinColorToQColor(color_));
        DrawShadeMask(bitmap_, shaded, bitmap_.rect(), shaded.rect());
        shadedCache_ = std::move(shaded);
    }
    const TColor rgb = SkinColorToRgb(color_);
    const QRect client = target.rect();
    QPainter painter(&target);
    switch (bevelOuter_) {
    case TPanelBevel::bvNone:
        painter.fillRect(client, SkinColorToQColor(rgb));
        break;
    case TPanelBevel::bvLowered:
        DrawGradientBevel(painter, client, rgb, true, bevelWidth_);
        break;
    case TPanelBevel::bvRaised:
        DrawGradientBevel(painter, client, rgb, false, bevelWidth_);
        break;
    case TPanelBevel::bvSpace:
        break;
    }
    const QRect inner = client.adjusted(bevelWidth_, bevelWidth_, -bevelWidth_, -bevelWidth_);
    if (bevelInner_ == TPanelBevel::bvLowered) {
        DrawGradientBevel(painter, inner, rgb, true, bevelWidth_);
    } else if (bevelInner_ == TPanelBevel::bvRaised) {
        DrawGradientBevel(painter, inner, rgb, false, bevelWidth_);
    }
    if (!IsEmptyBitmap(shadedCache_)) {
        painter.drawImage(QPoint(RoundDivHalfEven(client.width() - shadedCache_.width(), 2),
                                 RoundDivHalfEven(client.height() - shadedCache_.height(), 2)),
                          shadedCache_);
    }
}

bool TorvanePanel::PaintSkinned(QImage& target)
{
    const auto has = [this](Piece p) { return !IsEmptyBitmap(cache_[p]); };
    const auto w = [this](Piece p) { return cache_[p].width(); };
    const auto h = [this](Piece p) { return cache_[p].height(); };
    const QImage& TL = cache_[TopLeft];
    const QImage& TC = cache_[TopCenter];
    const QImage& TR = cache_[TopRight];
    const QImage& LC = cache_[LeftCenter];
    const QImage& M = cache_[Middle];
    const QImage& RC = cache_[RightCenter];
    const QImage& BL = cache_[BottomLeft];
    const QImage& BC = cache_[BottomCenter];
    const QImage& BR = cache_[BottomRight];
    const int W = target.width();
    const int H = target.height();

    QPainter painter(&target);
    PieceDrawer d(painter, stretchDraw_);

    bool all = true;
    for (int i = 0; i < PieceCount; ++i) {
        all = all && has(Piece(i));
    }
    if (all) {
        d.At(TL, 0, 0);
        d.Across(TC, w(TopLeft), W - w(TopRight), 0);
        d.At(TR, W - w(TopRight), 0);
        if (stretchDraw_) {
            d.Into(LC, 0, h(TopRight), w(LeftCenter), H - h(BottomLeft));
            d.Into(M, w(LeftCenter), h(TopRight), W - w(RightCenter), H - h(BottomLeft));
            d.Into(RC, W - w(RightCenter), h(TopRight), W, H - h(BottomRight));
        } else if (h(RightCenter) > 0) {
            for (int y = h(TopRight); y < H - h(BottomRight); y += h(RightCenter)) {
                d.At(LC, 0, y);
                d.TileRow(M, w(LeftCenter), W - w(RightCenter), y);
                d.At(RC, W - w(RightCenter), y);
            }
        }
        const int y = H - h(BottomRight);
        d.At(BL, 0, y);
        d.Across(BC, w(BottomLeft), W - w(BottomRight), y);
        d.At(BR, W - w(BottomRight), y);
    } else if (has(TopLeft) && has(TopCenter) && has(TopRight)) {
        d.At(TL, 0, 0);
        d.Across(TC, w(TopLeft), W - w(TopRight), 0);
        d.At(TR, W - w(TopRight), 0);
    } else if (has(TopLeft) && has(LeftCenter) && has(BottomLeft)) {
        d.At(TL, 0, 0);
        d.Down(LC, h(TopLeft), H - h(BottomLeft), 0);
        d.At(BL, 0, H - h(BottomLeft));
    } else if (has(TopCenter) && has(Middle) && has(BottomCenter)) {
        d.Across(TC, 0, W, 0);
        if (stretchDraw_) {
            d.Into(M, 0, h(TopCenter), W, H - h(BottomCenter));
        } else if (h(Middle) > 0) {
            for (int y = h(TopCenter); y < H - h(BottomCenter); y += h(Middle)) {
                d.TileRow(M, 0, W, y);
            }
        }
        d.Across(BC, 0, W, H - h(BottomCenter));
    } else if (has(TopLeft) && has(TopCenter)) {
        d.At(TL, 0, 0);
        d.Across(TC, w(TopLeft), W, 0);
    } else if (has(TopLeft)) {
        d.At(TL, 0, 0);
    } else if (has(TopCenter)) {
        d.Across(TC, 0, W, 0);
    } else if (has(LeftCenter)) {
        d.Down(LC, 0, H, 0);
    } else {
        return false;
    }
    if (has(BottomRight)) {
        d.At(BR, W - w(BottomRight), H - h(BottomRight));
    }
    return true;
}

void FitPanelToSkin(TorvanePanel* panel)
{
    if (!panel || !panel->IsSkinned()) {
        return;
    }
    int w = panel->width();
    int h = panel->height();
    const QImage& tl = panel->BitmapTopLeft();
    const QImage& tc = panel->BitmapTopCenter();
    const QImage& lc = panel->BitmapLeftCenter();
    if (!IsEmptyBitmap(tl)) {
        w = tl.width();
        h = tl.height();
    }
    if (!IsEmptyBitmap(tc)) {
        w = panel->width();
        h = tc.height();
    }
    if (!IsEmptyBitmap(lc)) {
        h = panel->height();
        if (IsEmptyBitmap(tc)) {
            w = lc.width();
        }
    }
    QWidget* parent = panel->parentWidget();
    const bool parentIsPanel =
        parent && (qobject_cast<TorvanePanel*>(parent) || qobject_cast<QFrame*>(parent));
    if (TalignLayout::AlignOf(panel) == TAlign::alClient && parentIsPanel) {
        // The alignment sizes the panel; its parent takes the skin's size instead.
        int pw = parent->width();
        int ph = parent->height();
        if (w != pw && pw == panel->width()) {
            pw = w;
        }
        if (h != ph && ph == panel->height()) {
            ph = h;
        }
        if (pw != parent->width() || ph != parent->height()) {
            parent->resize(pw, ph);
        }
        return;
    }
    if (w != panel->width() || h != panel->height()) {
        ResizeToSkin(panel, w, h);
    }
}

void ResizeToSkin(QWidget* control, int width, int height)
{
    if (!control) {
        return;
    }
    if (control->minimumWidth() == control->maximumWidth()) {
        control->setFixedWidth(width);
    }
    if (control->minimumHeight() == control->maximumHeight()) {
        control->setFixedHeight(height);
    }
    control->resize(width, height);
}
