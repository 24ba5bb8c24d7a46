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
    m_image.OnChange = [this](TPicture*) {
        RebuildImage();
        update();
    };
}

TimageColorPanel::~TimageColorPanel()
{
    m_image.OnChange = nullptr;
}

void TimageColorPanel::SetImage(const QImage& value)
{
    m_image.Assign(value);
}

void TimageColorPanel::SetImageDrawStyle(TimageDrawStyle value)
{
    m_drawStyle = value;
    RebuildImage();
    update();
}

void TimageColorPanel::SetImageHorizontalAlignment(TAlignment value)
{
    m_horizontal = value;
    update();
}

void TimageColorPanel::SetImageVerticalAlignment(TverticalAlignment value)
{
    m_vertical = value;
    update();
}

void TimageColorPanel::SetDrawCaption(bool value)
{
    m_drawCaption = value;
    update();
}

void TimageColorPanel::SetTransparentCaption(bool value)
{
    m_transparentCaption = value;
    update();
}

void TimageColorPanel::RebuildImage()
{
    const QSize inner = InnerRect().size().expandedTo(QSize(0, 0));
    const QColor color = ToQColor(Color());
    m_cacheInner = inner;
    m_cacheColor = Color();

    QSize size = inner;
    if (!m_image.Empty() && m_drawStyle == TimageDrawStyle::idsScale) {
        size = ScaledImageSize(m_image.Graphic().size(), inner);
    }
    // A panel smaller than its frame, or a picture too thin to keep a row, shows no picture at all.
    if (size.width() <= 0 || size.height() <= 0) {
        m_cache = QImage();
        return;
    }
    m_cache = QImage(size, QImage::Format_BGR888);
    m_cache.fill(color);
    if (m_image.Empty()) {
        return;
    }
    // Transparent parts of the picture show the panel's colour.
    QImage picture(m_image.Graphic().size(), QImage::Format_BGR888);
    picture.fill(color);
    {
        QPainter p(&picture);
        p.drawImage(QPoint(0, 0), m_image.Graphic());
    }
    if (m_drawStyle == TimageDrawStyle::idsNormal) {
        QPainter p(&m_cache);
        p.drawImage(QPoint(0, 0), picture);
    } else {
        ResampleBitmap(picture, m_cache);
    }
}

void TimageColorPanel::PaintTo(QPainter& painter)
{
    TcolorPanel::PaintTo(painter);
    if (m_cacheInner != InnerRect().size().expandedTo(QSize(0, 0)) || m_cacheColor != Color()) {
        RebuildImage();
    }
    if (!m_cache.isNull()) {
        painter.drawImage(
            ImageCachePosition(ClientRect(), Extent(), m_cache.size(), m_horizontal, m_vertical), m_cache);
    }
    if (m_drawCaption) {
        PaintCaption(painter, m_transparentCaption);
    }
}

void TimageColorPanel::resizeEvent(QResizeEvent* event)
{
    RebuildImage();
    TcolorPanel::resizeEvent(event);
}
