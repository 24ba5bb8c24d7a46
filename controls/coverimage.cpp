#include "coverimage.h"

#include "core/songs/coverpicture.h"

QImage ToQImage(const TcoverPicture& picture)
{
    if (picture.Empty() || picture.Width() <= 0 || picture.Height() <= 0)
        return {};
    // Assign takes rows as given: fewer bytes than the size asks for are refused, never read past.
    const auto needed =
        static_cast<std::size_t>(picture.Width()) * static_cast<std::size_t>(picture.Height()) * 3;
    if (picture.Pixels().size() < needed)
        return {};
    // The cover's rows are packed; a QImage wraps them without copying, then converts into its own,
    // aligned rows.
    const QImage packed(picture.Pixels().data(), picture.Width(), picture.Height(), picture.Width() * 3,
                        QImage::Format_RGB888);
    return packed.convertToFormat(QImage::Format_RGB32);
}
