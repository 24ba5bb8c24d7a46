#include "imagelist.h"

#include <QApplication>
#include <QBitmap>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include <algorithm>

TImageList::TImageList(int width, int height, QObject* parent)
    : QObject(parent), width_(std::max(width, 1)), height_(std::max(height, 1))
{}

int TImageList::Add(const QPixmap& picture)
{
    const int first = Count();
    const int count = std::max(1, picture.width() / width_);
    for (int i = 0; i < count; ++i) {
        QPixmap image = picture.copy(i * width_, 0, width_, height_);
        images_.push_back(std::move(image));
    }
    return first;
}

int TImageList::AddMasked(const QPixmap& picture, const QColor& maskColor)
{
    QPixmap masked = picture;
    masked.setMask(picture.createMaskFromColor(maskColor, Qt::MaskInColor));
    return Add(masked);
}

void TImageList::Clear()
{
    images_.clear();
}

QPixmap TImageList::Image(int index) const
{
    if (index < 0 || index >= Count())
        return QPixmap();
    return images_[static_cast<std::size_t>(index)];
}

void TImageList::Draw(QPainter& painter, int x, int y, int index, bool enabled) const
{
    if (index < 0 || index >= Count())
        return;
    const QPixmap& image = images_[static_cast<std::size_t>(index)];
    if (enabled) {
        painter.drawPixmap(x, y, image);
        return;
    }
    QStyleOption option;
    option.palette = QApplication::palette();
    painter.drawPixmap(x, y, QApplication::style()->generatedIconPixmap(QIcon::Disabled, image, &option));
}
