#pragma once

#include <QString>

#include <string>
#include <string_view>

// Text crosses between the core (UTF-8 bytes in std::string) and Qt (QString) here and nowhere else.
namespace platform {

inline QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string FromQString(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace platform
