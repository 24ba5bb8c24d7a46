#include "markup/color.h"

#include <array>
#include <atomic>

namespace {

// Windows 2000 standard scheme, by COLOR_* index.
constexpr std::array<TColor, 31> kClassicColors = {
    RGBColor(212, 208, 200), // scroll bar
    RGBColor(58, 110, 165),  // desktop
    RGBColor(10, 36, 106),   // active caption
    RGBColor(128, 128, 128), // inactive caption
    RGBColor(212, 208, 200), // menu
    RGBColor(255, 255, 255), // window
    RGBColor(0, 0, 0),       // window frame
    RGBColor(0, 0, 0),       // menu text
    RGBColor(0, 0, 0),       // window text
    RGBColor(255, 255, 255), // caption text
    RGBColor(212, 208, 200), // active border
    RGBColor(212, 208, 200), // inactive border
    RGBColor(128, 128, 128), // application work space
    RGBColor(10, 36, 106),   // highlight
    RGBColor(255, 255, 255), // highlight text
    RGBColor(212, 208, 200), // button face
    RGBColor(128, 128, 128), // button shadow
    RGBColor(128, 128, 128), // grey text
    RGBColor(0, 0, 0),       // button text
    RGBColor(212, 208, 200), // inactive caption text
    RGBColor(255, 255, 255), // button highlight
    RGBColor(64, 64, 64),    // 3D dark shadow
    RGBColor(212, 208, 200), // 3D light
    RGBColor(0, 0, 0),       // info text
    RGBColor(255, 255, 225), // info background
    RGBColor(181, 181, 181), // (unused index 25)
    RGBColor(0, 0, 128),     // hot light
    RGBColor(166, 202, 240), // gradient active caption
    RGBColor(192, 192, 192), // gradient inactive caption
    RGBColor(49, 106, 197),  // menu highlight
    RGBColor(236, 233, 216), // menu bar
};

std::atomic<TSystemColorResolver> gResolver{nullptr};

} // namespace

TColor DefaultSystemColor(int index)
{
    if (index < 0 || index >= static_cast<int>(kClassicColors.size()))
        return clBlack;
    return kClassicColors[static_cast<std::size_t>(index)];
}

void SetSystemColorResolver(TSystemColorResolver resolver)
{
    gResolver.store(resolver);
}

TColor ColorToRGB(TColor color)
{
    if (!IsSystemColor(color))
        return color & 0xFFFFFF;
    const TSystemColorResolver resolver = gResolver.load();
    return (resolver ? resolver(SystemColorIndex(color)) : DefaultSystemColor(SystemColorIndex(color))) &
           0xFFFFFF;
}
