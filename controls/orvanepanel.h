#pragma once

#include "markup/color.h"

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

    const QImage& Bitmap() const { return bitmap_; }
    void SetBitmap(const QImage& value);
    const QImage& PieceBitmap(Piece piece) const { return pieces_[piece]; }
    void SetPieceBitmap(Piece piece, const QImage& value);

    const QImage& BitmapTopLeft() const { return pieces_[TopLeft]; }
    void SetBitmapTopLeft(const QImage& v) { SetPieceBitmap(TopLeft, v); }
    const QImage& BitmapTopCenter() const { return pieces_[TopCenter]; }
    void SetBitmapTopCenter(const QImage& v) { SetPieceBitmap(TopCenter, v); }
    const QImage& BitmapTopRight() const { return pieces_[TopRight]; }
    void SetBitmapTopRight(const QImage& v) { SetPieceBitmap(TopRight, v); }
    const QImage& BitmapLeftCenter() const { return pieces_[LeftCenter]; }
    void SetBitmapLeftCenter(const QImage& v) { SetPieceBitmap(LeftCenter, v); }
    const QImage& BitmapMiddle() const { return pieces_[Middle]; }
    void SetBitmapMiddle(const QImage& v) { SetPieceBitmap(Middle, v); }
    const QImage& BitmapRightCenter() const { return pieces_[RightCenter]; }
    void SetBitmapRightCenter(const QImage& v) { SetPieceBitmap(RightCenter, v); }
    const QImage& BitmapBottomLeft() const { return pieces_[BottomLeft]; }
    void SetBitmapBottomLeft(const QImage& v) { SetPieceBitmap(BottomLeft, v); }
    const QImage& BitmapBottomCenter() const { return pieces_[BottomCenter]; }
    void SetBitmapBottomCenter(const QImage& v) { SetPieceBitmap(BottomCenter, v); }
    const QImage& BitmapBottomRight() const { return pieces_[BottomRight]; }
    void SetBitmapBottomRight(const QImage& v) { SetPieceBitmap(BottomRight, v); }

    bool IsSkinned() const { return isSkinned_; }
    void SetIsSkinned(bool value);
    bool StretchDraw() const { return stretchDraw_; }
    void SetStretchDraw(bool value);
    TColor PanelColor() const { return panelColor_; }
    void SetPanelColor(TColor value);

    // The framework panel's own properties.
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel value);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& value) { caption_ = value; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void RebuildCache();
    void UpdateClientMargins();
    void Render(QImage& target);
    bool PaintSkinned(QImage& target);
    void PaintUnskinned(QImage& target);

    QImage bitmap_;
    std::array<QImage, PieceCount> pieces_;
    std::array<QImage, PieceCount> cache_;
    QImage shadedCache_;
    bool pieceCacheBuilt_ = false;
    bool painted_ = false;
    bool isSkinned_ = false;
    bool stretchDraw_ = false;
    TColor panelColor_ = clBtnFace;

    TColor color_ = clBtnFace;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption_;
};

// Sizes a skinned panel to its pieces: a single picture gives the picture's size, a horizontal bar keeps
// the width and takes the bar's height, a vertical bar keeps the height and takes its width. A client
// aligned panel resizes its parent panel instead, when that parent has the panel's size.
void FitPanelToSkin(TorvanePanel* panel);

// Gives a skinned control the size its bitmaps ask for: a side that a layout holds fixed (its minimum and
// maximum alike) is fixed again at the new length, so the layout keeps it; the other sides are resized.
void ResizeToSkin(QWidget* control, int width, int height);
