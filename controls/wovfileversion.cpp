#include "controls/wovfileversion.h"

#include "platform/qtstring.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <charconv>

#ifndef ORVANE_VERSION
#error "ORVANE_VERSION must name the program's version"
#endif

const char* ProgramVersionText()
{
    return ORVANE_VERSION;
}

std::optional<TfileVersionNumbers> ParseVersionText(const std::string& text)
{
    std::uint16_t parts[4] = {0, 0, 0, 0};
    const char* p = text.data();
    const char* end = text.data() + text.size();
    int count = 0;
    while (count < 4) {
        std::uint16_t value = 0;
        const auto [next, error] = std::from_chars(p, end, value);
        if (error != std::errc() || next == p) {
            return std::nullopt;
        }
        parts[count++] = value;
        p = next;
        if (p == end) {
            break;
        }
        if (*p != '.') {
            return std::nullopt;
        }
        ++p;
    }
    if (p != end) {
        return std::nullopt;
    }
    return TfileVersionNumbers{parts[0], parts[1], parts[2], parts[3]};
}

bool TwovFileVersion::ReadFromFile(const std::string& fileName)
{
    const auto numbers = QueryFileVersion(fileName);
    if (!numbers) {
        Clear();
        return false;
    }
    Assign(*numbers);
    return true;
}

void TwovFileVersion::Assign(const TfileVersionNumbers& numbers)
{
    numbers_ = numbers;
    text_ = std::to_string(numbers.Major) + "." + std::to_string(numbers.Minor) + "." +
            std::to_string(numbers.Release);
}

void TwovFileVersion::Clear()
{
    numbers_ = {};
    text_.clear();
}

std::optional<TfileVersionNumbers> TwovFileVersion::QueryFileVersion(const std::string& fileName)
{
    if (fileName.empty() || !QCoreApplication::instance()) {
        return std::nullopt;
    }
    const QString own = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    const QString asked = QFileInfo(platform::ToQString(fileName)).canonicalFilePath();
    if (own.isEmpty() || asked != own) {
        return std::nullopt;
    }
    return ParseVersionText(ProgramVersionText());
}
