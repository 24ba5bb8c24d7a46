#pragma once

#include "controls/markup/color.h"

#include <QImage>
#include <QString>
#include <QWidget>

#include <array>

enum class TPanelBevel
{
    bvNone,
    bvLowered,
    bvRaised,
    bvSpace
};

// The program's own panel. Skinned, up to nine pieces (corners, edges, middle) recoloured to PanelColor
// cover it, edges and middle stretched or tiled; partial sets give bars and single pictures. Unskinned,
// it draws its outer and inner bevels as gradient bevels in Color and shades the grey Bitmap onto Color
// in its centre. Aligned children sit inside its border and bevels.
class TorvanePanel : public QWidget
{
    Q_OBJECT

public:
    enum Piece
    {
        TopLeft,
        TopCenter,
        TopRight,
        LeftCenter,
        Middle,
        RightCenter,
        BottomLeft,
        BottomCenter,
        BottomRight,
        PieceCount
    };

    explicit TorvanePanel(QWidget* parent = nullptr);
    ~TorvanePanel() override;

    const QImage& Bitmap() const { return m_bitmap; }
    void SetBitmap(const QImage& value);
    const QImage& PieceBitmap(Piece piece) const { return m_pieces[piece]; }
    void SetPieceBitmap(Piece piece, const QImage& value);

    const QImage& BitmapTopLeft() const { return m_pieces[TopLeft]; }
    void SetBitmapTopLeft(const QImage& v) { SetPieceBitmap(TopLeft, v); }
    const QImage& BitmapTopCenter() const { return m_pieces[TopCenter]; }
    void SetBitmapTopCenter(const QImage& v) { SetPieceBitmap(TopCenter, v); }
    const QImage& BitmapTopRight() const { return m_pieces[TopRight]; }
    void SetBitmapTopRight(const QImage& v) { SetPieceBitmap(TopRight, v); }
    const QImage& BitmapLeftCenter() const { return m_pieces[LeftCenter]; }
    void SetBitmapLeftCenter(const QImage& v) { SetPieceBitmap(LeftCenter, v); }
    const QImage& BitmapMiddle() const { return m_pieces[Middle]; }
    void SetBitmapMiddle(const QImage& v) { SetPieceBitmap(Middle, v); }
    const QImage& BitmapRightCenter() const { return m_pieces[RightCenter]; }
    void SetBitmapRightCenter(const QImage& v) { SetPieceBitmap(RightCenter, v); }
    const QImage& BitmapBottomLeft() const { return m_pieces[BottomLeft]; }
    void SetBitmapBottomLeft(const QImage& v) { SetPieceBitmap(BottomLeft, v); }
    const QImage& BitmapBottomCenter() const { return m_pieces[BottomCenter]; }
    void SetBitmapBottomCenter(const QImage& v) { SetPieceBitmap(BottomCenter, v); }
    const QImage& BitmapBottomRight() const { return m_pieces[BottomRight]; }
    void SetBitmapBottomRight(const QImage& v) { SetPieceBitmap(BottomRight, v); }

    bool IsSkinned() const { return m_isSkinned; }
    void SetIsSkinned(bool value);
    bool StretchDraw() const { return m_stretchDraw; }
    void SetStretchDraw(bool value);
    TColor PanelColor() const { return m_panelColor; }
    void SetPanelColor(TColor value);

    // The framework panel's own properties.
    TColor Color() const { return m_color; }
    void SetColor(TColor value);
    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int value);
    const QString& Caption() const { return m_caption; }
    void SetCaption(const QString& value) { m_caption = value; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void RebuildCache();
    void UpdateClientMargins();
    void Render(QImage& target);
    bool PaintSkinned(QImage& target);
    void PaintUnskinned(QImage& target);

    QImage m_bitmap;
    std::array<QImage, PieceCount> m_pieces;
    std::array<QImage, PieceCount> m_cache;
    QImage m_shadedCache;
    bool m_pieceCacheBuilt = false;
    bool m_painted = false;
    bool m_isSkinned = false;
    bool m_stretchDraw = false;
    TColor m_panelColor = clBtnFace;

    TColor m_color = clBtnFace;
    TPanelBevel m_bevelOuter = TPanelBevel::bvRaised;
    TPanelBevel m_bevelInner = TPanelBevel::bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    QString m_caption;
};

// Sizes a skinned panel to its pieces: a single picture gives the picture's size, a horizontal bar keeps
// the width and takes the bar's height, a vertical bar keeps the height and takes its width. A client
// aligned panel resizes its parent panel instead, when that parent has the panel's size.
void FitPanelToSkin(TorvanePanel* panel);
