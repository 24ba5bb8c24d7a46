#pragma once

#include "controls/colorpanel.h"
#include "controls/picture.h"

#include <QImage>
#include <QPoint>
#include <QSize>

enum class TimageDrawStyle
{
    idsNormal = 0,
    idsScale = 1,
    idsStretch = 2
};

enum class TverticalAlignment
{
    tvaCenter = 0,
    tvaTop = 1,
    tvaBottom = 2
};

// The largest size of the picture's proportions inside `inner` (a picture or an inner area without height
// counts as square); a side may come out 0 for a picture far wider or taller than the area.
QSize ScaledImageSize(QSize picture, QSize inner);
// Where a picture of `cache` size goes in the client rectangle `client` with a frame `extent` wide.
QPoint ImageCachePosition(const QRect& client, int extent, QSize cache, TAlignment horizontal,
                          TverticalAlignment vertical);

// A colour panel showing a picture inside its bevels: unscaled, scaled in proportion or stretched, both
// with bilinear resampling, placed by the image alignments; the caption may be drawn over it.
class TimageColorPanel : public TcolorPanel
{
    Q_OBJECT

public:
    explicit TimageColorPanel(QWidget* parent = nullptr);
    ~TimageColorPanel() override;

    // The owned picture; changing it through this reference rebuilds the panel's picture as well.
    TPicture& Image() { return image_; }
    const TPicture& Image() const { return image_; }
    void SetImage(const QImage& value);
    TimageDrawStyle ImageDrawStyle() const { return drawStyle_; }
    void SetImageDrawStyle(TimageDrawStyle value);
    TAlignment ImageHorizontalAlignment() const { return horizontal_; }
    void SetImageHorizontalAlignment(TAlignment value);
    TverticalAlignment ImageVerticalAlignment() const { return vertical_; }
    void SetImageVerticalAlignment(TverticalAlignment value);
    bool DrawCaption() const { return drawCaption_; }
    void SetDrawCaption(bool value);
    bool TransparentCaption() const { return transparentCaption_; }
    void SetTransparentCaption(bool value);

    // The picture as last built for the inner area (empty when there is nothing to show).
    const QImage& ImageCache() const { return cache_; }
    void RebuildImage();

    void PaintTo(QPainter& painter) override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TPicture image_;
    TimageDrawStyle drawStyle_ = TimageDrawStyle::idsNormal;
    TAlignment horizontal_ = TAlignment::taLeftJustify;
    TverticalAlignment vertical_ = TverticalAlignment::tvaCenter;
    bool drawCaption_ = false;
    bool transparentCaption_ = false;

    QImage cache_;
    TColor cacheColor_ = clWhite;
    QSize cacheInner_;
};
