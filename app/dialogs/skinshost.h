#pragma once

#include <vector>

class QWidget;
class TskinFolder;
class TtagFonts;

// What the skins dialog needs of the skinned main window: its skin folder (colours, loading and exporting
// skins), its font sets in component order, and the window to centre on. The main window implements it and
// hands itself to ShowSkinsDialog.
class TskinsHost
{
public:
    virtual TskinFolder& SkinFolder() = 0;
    // Links that outlive the dialog.
    virtual std::vector<TtagFonts*> SkinFontSets() const = 0;
    // The main window; null when it has none to centre on.
    virtual QWidget* HostWindow() const = 0;

protected:
    ~TskinsHost() = default;
};
