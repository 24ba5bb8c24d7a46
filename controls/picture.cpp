#include "controls/picture.h"

#include "platform/qtstring.h"

#include <QString>

void TPicture::Assign(const QImage& graphic)
{
    graphic_ = graphic;
    Changed();
}

void TPicture::Assign(const TPicture& other)
{
    if (&other == this) {
        return;
    }
    Assign(other.graphic_);
}

void TPicture::Clear()
{
    graphic_ = QImage();
    Changed();
}

bool TPicture::LoadFromFile(const std::string& fileName)
{
    QImage loaded;
    const bool ok = loaded.load(platform::ToQString(fileName));
    graphic_ = ok ? loaded : QImage();
    Changed();
    return ok;
}

void TPicture::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}
