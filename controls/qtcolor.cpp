#include "qtcolor.h"

#include <QGuiApplication>
#include <QPalette>

#include <iterator>

namespace {

struct PaletteEntry
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The nearest palette role of each Windows system colour index (as Qt's Windows theme fills the palette).
constexpr PaletteEntry kPaletteRoles[] = {
    {QPalette::Active, QPalette::Button},          // scroll bar
    {QPalette::Active, QPalette::Window},          // desktop
    {QPalette::Active, QPalette::Highlight},       // active caption
    {QPalette::Inactive, QPalette::Dark},          // inactive caption
    {QPalette::Active, QPalette::Window},          // menu
    {QPalette::Active, QPalette::Base},            // window
    {QPalette::Active, QPalette::Shadow},          // window frame
    {QPalette::Active, QPalette::WindowText},      // menu text
    {QPalette::Active, QPalette::Text},            // window text
    {QPalette::Active, QPalette::HighlightedText}, // caption text
    {QPalette::Active, QPalette::Window},          // active border
    {QPalette::Inactive, QPalette::Window},        // inactive border
    {QPalette::Active, QPalette::Mid},             // application work space
    {QPalette::Active, QPalette::Highlight},       // highlight
    {QPalette::Active, QPalette::HighlightedText}, // highlight text
    {QPalette::Active, QPalette::Button},          // button face
    {QPalette::Active, QPalette::Dark},            // button shadow
    {QPalette::Disabled, QPalette::Text},          // grey text
    {QPalette::Active, QPalette::ButtonText},      // button text
    {QPalette::Inactive, QPalette::Light},         // inactive caption text
    {QPalette::Active, QPalette::Light},           // button highlight
    {QPalette::Active, QPalette::Shadow},          // 3D dark shadow
    {QPalette::Active, QPalette::Midlight},        // 3D light
    {QPalette::Active, QPalette::ToolTipText},     // info text
    {QPalette::Active, QPalette::ToolTipBase},     // info background
    {QPalette::Active, QPalette::Window},          // (unused index 25)
    {QPalette::Active, QPalette::Link},            // hot light
    {QPalette::Active, QPalette::Highlight},       // gradient active caption
    {QPalette::Inactive, QPalette::Dark},          // gradient inactive caption
    {QPalette::Active, QPalette::Highlight},       // menu highlight
    {QPalette::Active, QPalette::Window},          // menu bar
};

} // namespace

TColor PaletteSystemColor(int index)
{
    constexpr int count = static_cast<int>(std::size(kPaletteRoles));
    if (index < 0 || index >= count)
        return clBlack;
    if (!qGuiApp)
        return DefaultSystemColor(index);
    const PaletteEntry& e = kPaletteRoles[index];
    const QColor c = QGuiApplication::palette().color(e.group, e.role).toRgb();
    return RGBColor(c.red(), c.green(), c.blue());
}

QColor ToQColor(TColor color)
{
    if (color == clNone)
        return QColor(Qt::transparent);
    if (color == clDefault)
        return QColor();
    const TColor rgb = IsSystemColor(color) ? PaletteSystemColor(SystemColorIndex(color)) : color;
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

TColor FromQColor(const QColor& color)
{
    if (!color.isValid())
        return clDefault;
    if (color.alpha() == 0)
        return clNone;
    const QColor rgb = color.toRgb();
    return RGBColor(rgb.red(), rgb.green(), rgb.blue());
}

void InstallPaletteColorResolver()
{
    SetSystemColorResolver(&PaletteSystemColor);
}
