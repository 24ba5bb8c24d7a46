#include "app/windows/windowskinfolder.h"

#include "app/windows/frmskinnedjukeboxapp.h"

TwindowSkinFolder::TwindowSkinFolder(TskinComponents& components, TfrmSkinnedJukeboxApp& window)
    : TskinFolder(components), window_(window)
{}

void TwindowSkinFolder::LoadSkinImages(const TIniFile& ini, const std::string& folder)
{
    window_.LoadSkinImages(ini, folder);
}

void TwindowSkinFolder::LoadSkinFonts(const TIniFile& ini)
{
    window_.LoadSkinFonts(ini);
}

void TwindowSkinFolder::SaveSkinFonts(TIniFile& ini) const
{
    window_.SaveSkinFonts(ini);
}

void TwindowSkinFolder::ApplySkinColors(TColor buttonColor, TColor panelColor)
{
    window_.ApplySkinColors(buttonColor, panelColor);
}
