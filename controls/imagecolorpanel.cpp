#include "controls/imagecolorpanel.h"

#include "controls/qtcolor.h"
#include "controls/resamplebitmap.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

QSize ScaledImageSize(QSize picture, QSize inner)
{
    const int iw = std::max(0, inner.width());
    const int ih = std::max(0, inner.height());
    const double p = picture.height() > 0 ? double(picture.width()) / picture.height() : 1.0;
    const double q = ih > 0 ? double(iw) / ih : 1.0;
    if (p >= q) {
        const int w = iw;
        const int h = p > 0 ? static_cast<int>(std::trunc(w / p)) : 0;
        return {w, std::max(0, h)};
    }
    const int h = ih;
    return {std::max(0, static_cast<int>(std::trunc(h * p))), h};
}

QPoint ImageCachePosition(const QRect& client, int extent, QSize cache, TAlignment horizontal,
                          TverticalAlignment vertical)
{
    const int e = extent;
    const int innerWidth = client.width() - 2 * e;
    const int innerHeight = client.height() - 2 * e;
    int x = e;
    switch (horizontal) {
    case TAlignment::taRightJustify:
        x = client.width() - e - cache.width();
        break;
    case TAlignment::taCenter:
        x = e + (innerWidth - cache.width()) / 2;
        break;
    case TAlignment::taLeftJustify:
        break;
    }
    int y = e;
    switch (vertical) {
    case TverticalAlignment::tvaBottom:
        y = client.height() - e - cache.height();
        break;
    case TverticalAlignment::tvaCenter:
        y = e + (innerHeight - cache.height()) / 2;
        break;
    case TverticalAlignment::tvaTop:
        break;
    }
    return client.topLeft() + QPoint(x, y);
}

TimageColorPanel::TimageColorPanel(QWidget* parent) : TcolorPanel(parent)
{
    image_.OnChange = [this](TPicture*) {
        RebuildImage();
        update();
    };
}

TimageColorPanel::~TimageColorPanel()
{
    image_.OnChange = nullptr;
}

void TimageColorPanel::SetImage(const QImage& value)
{
    image_.Assign(value);
}

void TimageColorPanel::SetImageDrawStyle(TimageDrawStyle value)
{
    drawStyle_ = value;
    RebuildImage();
    update();
}

void TimageColorPanel::SetImageHorizontalAlignment(TAlignment value)
{
    horizontal_ = value;
    update();
}

void TimageColorPanel::SetImageVerticalAlignment(TverticalAlignment value)
{
    vertical_ = value;
    update();
}

void TimageColorPanel::SetDrawCaption(bool value)
{
    drawCaption_ = value;
    update();
}

void TimageColorPanel::SetTransparentCaption(bool value)
{
    transparentCaption_ = value;
    update();
}

void TimageColorPanel::RebuildImage()
{
    const QSize inner = InnerRect().size().expandedTo(QSize(0, 0));
    const QColor color = ToQColor(Color());
    cacheInner_ = inner;
    cacheColor_ = Color();

    QSize size = inner;
    if (!image_.Empty() && drawStyle_ == TimageDrawStyle::idsScale) {
        size = ScaledImageSize(image_.Graphic().size(), inner);
    }
    // A panel smaller than its frame, or a picture too thin to keep a row, shows no picture at all.
    if (size.width() <= 0 || size.height() <= 0) {
        cache_ = QImage();
        return;
    }
    cache_ = QImage(size, QImage::Format_BGR888);
    cache_.fill(color);
    if (image_.Empty()) {
        return;
    }
    // Transparent parts of the picture show the panel's colour.
    QImage picture(image_.Graphic().size(), QImage::Format_BGR888);
    picture.fill(color);
    {
        QPainter p(&picture);
        p.drawImage(QPoint(0, 0), image_.Graphic());
    }
    if (drawStyle_ == TimageDrawStyle::idsNormal) {
        QPainter p(&cache_);
        p.drawImage(QPoint(0, 0), picture);
    } else {
        ResampleBitmap(picture, cache_);
    }
}

void TimageColorPanel::PaintTo(QPainter& painter)
{
    TcolorPanel::PaintTo(painter);
    if (cacheInner_ != InnerRect().size().expandedTo(QSize(0, 0)) || cacheColor_ != Color()) {
        RebuildImage();
    }
    if (!cache_.isNull()) {
        painter.drawImage(ImageCachePosition(ClientRect(), Extent(), cache_.size(), horizontal_, vertical_),
                          cache_);
    }
    if (drawCaption_) {
        PaintCaption(painter, transparentCaption_);
    }
}

void TimageColorPanel::resizeEvent(QResizeEvent* event)
{
    RebuildImage();
    TcolorPanel::resizeEvent(event);
}
