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
    PieceDrawer(QPainter& painter, bool stretch) : m_painter(painter), m_stretch(stretch) {}

    void At(const QImage& piece, int x, int y) { m_painter.drawImage(QPoint(x, y), piece); }

    void Into(const QImage& piece, int x1, int y1, int x2, int y2)
    {
        if (x2 > x1 && y2 > y1) {
            m_painter.drawImage(QRect(x1, y1, x2 - x1, y2 - y1), piece);
        }
    }

    void Across(const QImage& piece, int x, int end, int y)
    {
        if (m_stretch) {
            Into(piece, x, y, end, y + piece.height());
            return;
        }
        TileRow(piece, x, end, y);
    }

    void Down(const QImage& piece, int y, int end, int x)
    {
        if (m_stretch) {
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
        m_painter.setBrushOrigin(x, y);
        m_painter.fillRect(QRect(x, y, tiles * w, piece.height()), QBrush(piece));
    }

    bool Stretch() const { return m_stretch; }

private:
    QPainter& m_painter;
    bool m_stretch;
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
    m_bitmap = value;
    RebuildCache();
    update();
}

void TorvanePanel::SetPieceBitmap(Piece piece, const QImage& value)
{
    if (piece < 0 || piece >= PieceCount) {
        return;
    }
    m_pieces[piece] = value;
    // Any piece change invalidates the recoloured set, even while the panel is unskinned.
    m_pieceCacheBuilt = false;
    RebuildCache();
    update();
}

void TorvanePanel::SetIsSkinned(bool value)
{
    m_isSkinned = value;
    update();
}

void TorvanePanel::SetStretchDraw(bool value)
{
    m_stretchDraw = value;
    update();
}

void TorvanePanel::SetPanelColor(TColor value)
{
    m_panelColor = value;
    m_pieceCacheBuilt = false;
    RebuildCache();
    update();
}

void TorvanePanel::SetColor(TColor value)
{
    m_color = value;
    // The shaded centre picture is shaded onto this colour.
    if (!IsEmptyBitmap(m_bitmap)) {
        m_shadedCache = QImage();
    }
    update();
}

void TorvanePanel::SetBevelOuter(TPanelBevel value)
{
    m_bevelOuter = value;
    UpdateClientMargins();
    update();
}

void TorvanePanel::SetBevelInner(TPanelBevel value)
{
    m_bevelInner = value;
    UpdateClientMargins();
    update();
}

void TorvanePanel::SetBevelWidth(int value)
{
    m_bevelWidth = value < 1 ? 1 : value;
    UpdateClientMargins();
    update();
}

void TorvanePanel::SetBorderWidth(int value)
{
    m_borderWidth = value < 0 ? 0 : value;
    UpdateClientMargins();
    update();
}

void TorvanePanel::UpdateClientMargins()
{
    const int m =
        m_borderWidth + BevelSize(m_bevelOuter, m_bevelWidth) + BevelSize(m_bevelInner, m_bevelWidth);
    setContentsMargins(m, m, m, m);
    if (TalignLayout* layout = TalignLayout::Of(this)) {
        layout->Realign();
    }
}

void TorvanePanel::RebuildCache()
{
    if (m_isSkinned) {
        for (int i = 0; i < PieceCount; ++i) {
            m_cache[std::size_t(i)] =
                RecoloredSkin(m_pieces[std::size_t(i)], 1, m_panelColor, {}, m_panelColor);
        }
        m_pieceCacheBuilt = true;
        return;
    }
    if (IsEmptyBitmap(m_bitmap)) {
        m_shadedCache = QImage();
        return;
    }
    QImage shaded(m_bitmap.size(), QImage::Format_BGR888);
    shaded.fill(SkinColorToQColor(m_color));
    DrawShadeMask(m_bitmap, shaded, m_bitmap.rect(), shaded.rect());
    m_shadedCache = std::move(shaded);
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
    target.fill(SkinColorToQColor(m_color));
    if (m_isSkinned) {
        if (!m_pieceCacheBuilt) {
            RebuildCache();
        }
        if (!PaintSkinned(target)) {
            PaintUnskinned(target);
        }
    } else {
        PaintUnskinned(target);
    }
    m_painted = true;
}

void TorvanePanel::PaintUnskinned(QImage& target)
{
    if (!IsEmptyBitmap(m_bitmap) && (!m_painted || IsEmptyBitmap(m_shadedCache))) {
        QImage shaded(m_bitmap.size(), QImage::Format_BGR888);
        shaded.fill(SkinColorToQColor(m_color));
        DrawShadeMask(m_bitmap, shaded, m_bitmap.rect(), shaded.rect());
        m_shadedCache = std::move(shaded);
    }
    const TColor rgb = SkinColorToRgb(m_color);
    const QRect client = target.rect();
    QPainter painter(&target);
    switch (m_bevelOuter) {
    case TPanelBevel::bvNone:
        painter.fillRect(client, SkinColorToQColor(rgb));
        break;
    case TPanelBevel::bvLowered:
        DrawGradientBevel(painter, client, rgb, true, m_bevelWidth);
        break;
    case TPanelBevel::bvRaised:
        DrawGradientBevel(painter, client, rgb, false, m_bevelWidth);
        break;
    case TPanelBevel::bvSpace:
        break;
    }
    const QRect inner = client.adjusted(m_bevelWidth, m_bevelWidth, -m_bevelWidth, -m_bevelWidth);
    if (m_bevelInner == TPanelBevel::bvLowered) {
        DrawGradientBevel(painter, inner, rgb, true, m_bevelWidth);
    } else if (m_bevelInner == TPanelBevel::bvRaised) {
        DrawGradientBevel(painter, inner, rgb, false, m_bevelWidth);
    }
    if (!IsEmptyBitmap(m_shadedCache)) {
        painter.drawImage(QPoint(RoundDivHalfEven(client.width() - m_shadedCache.width(), 2),
                                 RoundDivHalfEven(client.height() - m_shadedCache.height(), 2)),
                          m_shadedCache);
    }
}

bool TorvanePanel::PaintSkinned(QImage& target)
{
    const auto has = [this](Piece p) { return !IsEmptyBitmap(m_cache[p]); };
    const auto w = [this](Piece p) { return m_cache[p].width(); };
    const auto h = [this](Piece p) { return m_cache[p].height(); };
    const QImage& TL = m_cache[TopLeft];
    const QImage& TC = m_cache[TopCenter];
    const QImage& TR = m_cache[TopRight];
    const QImage& LC = m_cache[LeftCenter];
    const QImage& M = m_cache[Middle];
    const QImage& RC = m_cache[RightCenter];
    const QImage& BL = m_cache[BottomLeft];
    const QImage& BC = m_cache[BottomCenter];
    const QImage& BR = m_cache[BottomRight];
    const int W = target.width();
    const int H = target.height();

    QPainter painter(&target);
    PieceDrawer d(painter, m_stretchDraw);

    bool all = true;
    for (int i = 0; i < PieceCount; ++i) {
        all = all && has(Piece(i));
    }
    if (all) {
        d.At(TL, 0, 0);
        d.Across(TC, w(TopLeft), W - w(TopRight), 0);
        d.At(TR, W - w(TopRight), 0);
        if (m_stretchDraw) {
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
        if (m_stretchDraw) {
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
        panel->resize(w, h);
    }
}
