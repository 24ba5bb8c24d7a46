#include "controls/picture.h"

#include <QString>

void TPicture::Assign(const QImage& graphic)
{
    m_graphic = graphic;
    Changed();
}

void TPicture::Assign(const TPicture& other)
{
    if (&other == this) {
        return;
    }
    Assign(other.m_graphic);
}

void TPicture::Clear()
{
    m_graphic = QImage();
    Changed();
}

bool TPicture::LoadFromFile(const std::string& fileName)
{
    QImage loaded;
    const bool ok = loaded.load(QString::fromStdString(fileName));
    m_graphic = ok ? loaded : QImage();
    Changed();
    return ok;
}

void TPicture::Changed()
{
    if (OnChange) {
        OnChange(this);
    }
}
