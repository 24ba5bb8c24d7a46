// The skinned window's skin: its parts through the skin folder (images, fonts and colours), the skin file
// and the user's copy of the current skin.
#include "app/windows/frmskinnedjukeboxapp.h"

#include "app/skins/skinfolder.h"
#include "controls/orvanebutton.h"
#include "controls/orvanepanel.h"

#include <algorithm>

// ---- Skin

void TfrmSkinnedJukeboxApp::LoadSkinImages(const TIniFile& ini, const std::string& folder)
{
    skinFolder_->TskinFolder::LoadSkinImages(ini, folder);
    // The queue controls' column is two of its buttons wide, whatever size the skin gives them.
    int widest = 0;
    for (const TorvaneButton* button : opnlQueueControls->findChildren<TorvaneButton*>())
        widest = std::max(widest, button->minimumWidth());
    if (widest > 0)
        opnlQueueControls->setFixedWidth(2 * widest + 10);
}

void TfrmSkinnedJukeboxApp::LoadSkinFonts(const TIniFile& ini)
{
    skinFolder_->TskinFolder::LoadSkinFonts(ini);
}

void TfrmSkinnedJukeboxApp::SaveSkinFonts(TIniFile& ini) const
{
    skinFolder_->TskinFolder::SaveSkinFonts(ini);
}

void TfrmSkinnedJukeboxApp::ApplySkinColors(TColor buttonColor, TColor panelColor)
{
    skinFolder_->TskinFolder::ApplySkinColors(buttonColor, panelColor);
}

void TfrmSkinnedJukeboxApp::LoadSkinFile(const std::string& fileName)
{
    skinFolder_->LoadSkinFile(fileName);
}

std::string TfrmSkinnedJukeboxApp::GetSkinFile() const
{
    return skinFolder_->GetSkinFile();
}

void TfrmSkinnedJukeboxApp::SaveCurrentSkin()
{
    skinFolder_->SaveCurrentSkin();
}
