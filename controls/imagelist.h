#pragma once

#include <QObject>
#include <QPixmap>

#include <vector>

class QPainter;

// Images of one size, drawn by index. Controls keep a QPointer to it, so a destroyed list is forgotten.
class TImageList : public QObject
{
    Q_OBJECT
public:
    explicit TImageList(int width = 16, int height = 16, QObject* parent = nullptr);

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const { return static_cast<int>(images_.size()); }

    // A picture wider than the list's width is a strip of images side by side; each becomes one image.
    // Returns the index of the first image added.
    int Add(const QPixmap& picture);
    // The same with `maskColor` made transparent.
    int AddMasked(const QPixmap& picture, const QColor& maskColor);
    void Clear();
    QPixmap Image(int index) const;

    // Draws image `index` with its top-left corner at (x, y); nothing for an index out of range.
    void Draw(QPainter& painter, int x, int y, int index, bool enabled = true) const;

private:
    int width_;
    int height_;
    std::vector<QPixmap> images_;
};
