#pragma once

#include "controls/picture.h"
#include "markup/color.h"

#include <QImage>
#include <QRect>
#include <QWidget>

#include <vector>

enum class TdaskelBitmapStyle
{
    dbsMaintainAspect = 0,
    dbsStretch = 1,
    dbsTile = 2
};

enum class TdaskelBitmapAlignment
{
    dbaCenter = 0,
    dbaLeftTop = 1,
    dbaRightBottom = 2
};

// Where a picture goes in a box: the box's whole rectangle when stretched, the largest rectangle of the
// picture's proportions placed by the alignment otherwise. Empty when either has no area.
QRect FitPictureRect(QSize box, QSize picture, TdaskelBitmapStyle style, TdaskelBitmapAlignment alignment);
// Top-left corners of the unscaled copies that tile a box, row by row from (0, 0).
std::vector<QPoint> TileOrigins(QSize box, QSize picture);

// A picture over a background colour, kept in proportion, stretched or tiled (the cover art).
class TdaskelBitmap : public QWidget
{
    Q_OBJECT

public:
    explicit TdaskelBitmap(QWidget* parent = nullptr);
    ~TdaskelBitmap() override;

    // The owned picture; changing it through this reference re-renders the box too.
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    void SetPicture(const QImage& value);
    TdaskelBitmapStyle Style() const { return style_; }
    void SetStyle(TdaskelBitmapStyle value);
    TdaskelBitmapAlignment Alignment() const { return alignment_; }
    void SetAlignment(TdaskelBitmapAlignment value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    // Design mode draws a dashed frame round the box.
    bool Designing() const { return designing_; }
    void SetDesigning(bool value);

    const QImage& Buffer() const { return buffer_; }
    void RenderBuffer();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TPicture picture_;
    TdaskelBitmapStyle style_ = TdaskelBitmapStyle::dbsMaintainAspect;
    TdaskelBitmapAlignment alignment_ = TdaskelBitmapAlignment::dbaCenter;
    TColor color_ = clBlack;
    bool designing_ = false;
    QImage buffer_;
};
