#pragma once

#include <QImage>

#include <functional>
#include <string>

// A picture a control owns: its graphic is always a copy, and every change of it, from the control or
// from outside through the control's accessor, raises OnChange so the control can rebuild its caches.
class TPicture
{
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    const QImage& Graphic() const { return graphic_; }
    bool Empty() const { return graphic_.isNull() || graphic_.width() <= 0 || graphic_.height() <= 0; }
    int Width() const { return graphic_.width(); }
    int Height() const { return graphic_.height(); }

    void Assign(const QImage& graphic);
    void Assign(const TPicture& other);
    void Clear();
    // Any image format Qt reads; a file that does not read empties the picture and gives false.
    bool LoadFromFile(const std::string& fileName);

    std::function<void(TPicture* sender)> OnChange;

private:
    void Changed();

    QImage graphic_;
};
