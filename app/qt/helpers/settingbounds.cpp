#include "app/qt/helpers/settingbounds.h"

#include "platform/inifile.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

int ExtentLimit()
{
    int side = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->virtualGeometry();
        side = std::max(desktop.width(), desktop.height());
    }
    return std::clamp(side, kLeastExtentLimit, kMostExtentLimit);
}

int ReadExtent(const TIniFile& ini, std::string_view section, std::string_view ident, int defaultValue,
               int minValue)
{
    return ini.ReadInteger(section, ident, defaultValue, minValue, ExtentLimit());
}

int ReadPosition(const TIniFile& ini, std::string_view section, std::string_view ident, int defaultValue)
{
    const int limit = ExtentLimit();
    return ini.ReadInteger(section, ident, defaultValue, -limit, limit);
}
