#pragma once

#include "app/skins/skinfolder.h"

#include <string>

class TfrmSkinnedJukeboxApp;

// The skin folder that lets the window's own operations do the skin's parts, so a descendant window
// can add to them.
class TwindowSkinFolder : public TskinFolder
{
public:
    TwindowSkinFolder(TskinComponents& components, TfrmSkinnedJukeboxApp& window);

    void LoadSkinImages(const TIniFile& ini, const std::string& folder) override;
    void LoadSkinFonts(const TIniFile& ini) override;
    void SaveSkinFonts(TIniFile& ini) const override;
    void ApplySkinColors(TColor buttonColor, TColor panelColor) override;

private:
    TfrmSkinnedJukeboxApp& window_; // link
};
