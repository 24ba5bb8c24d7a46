#pragma once

#include "markup/color.h"
#include "platform/inifile.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QWidget;
class TskinComponents;

// What an export under a name came to.
enum class TskinExportResult
{
    Exported,
    Refused,  // the name is not a plain folder name
    Declined, // a skin of that name exists and the user kept it
};

// The skin folder and the skin file skin.osk: which skin is current, loading it onto the registered
// controls (bitmaps, the button and panel colours, the font sets), and writing the current look back or
// into a new skin. Skins live in the user's skins folder (platform::SkinsFolder()); the shipped ones are
// listed and loaded from the shipped folder, and copied to the user's folder before they are first written.
// Bitmap names in a skin file are plain file names in the skin's own folder; any other name is passed over.
// Only skin files directly in a skin folder of the user's or the program's Skins folder are read or
// written (links resolved); a file or bitmap that cannot be used is named in a message and the controls
// keep their look.
class TskinFolder
{
public:
    static constexpr const char* kSkinFileName = "skin.osk";
    static constexpr const char* kDefaultSkinName = "Default";

    explicit TskinFolder(TskinComponents& components);
    virtual ~TskinFolder() = default;
    TskinFolder(const TskinFolder&) = delete;
    TskinFolder& operator=(const TskinFolder&) = delete;

    // The user's skins folder.
    static std::string GetSkinsFolder();
    // The Default skin's file: the user's copy when there is one, else the shipped one when that exists,
    // else the user's (not yet written) file.
    static std::string DefaultSkinFile();
    // The current skin file, or the Default skin's file when none is set.
    std::string GetSkinFile() const;
    const std::string& CurrentSkinFile() const { return currentSkinFile_; }

    // The colours last applied.
    TColor ButtonColor() const { return buttonColor_; }
    TColor PanelColor() const { return panelColor_; }

    // Makes the file current when it exists and lies in a Skins folder (a shipped skin's user copy when
    // there is one), then loads the current skin; a file that cannot be used leaves the current one.
    void LoadSkinFile(const std::string& fileName);
    // Reads the current skin file (a missing one reads as empty) and applies it: bitmaps, colours, fonts.
    // A skin file that is not a regular file, is too large or holds no skin is refused with a message and
    // nothing changes; a bitmap or colour that cannot be used is named in a message and its control keeps
    // its look. A user's copy of a shipped skin is repaired first.
    void LoadSkin();
    virtual void LoadSkinImages(const TIniFile& ini, const std::string& folder);
    virtual void LoadSkinFonts(const TIniFile& ini);
    virtual void SaveSkinFonts(TIniFile& ini) const;
    // Stores both colours and gives them to every control.
    virtual void ApplySkinColors(TColor buttonColor, TColor panelColor);

    // Writes a skin file (its folder made first; what the file holds besides stays): the colours, the font
    // sets and, withImages, every control's non-empty bitmaps with their keys. Throws EFileError when the
    // file cannot be written.
    void SaveSkin(const std::string& fileName, bool withImages);
    void SaveSkinImages(TIniFile& ini, const std::string& folder);
    // Writes the colours and fonts in use into the current skin's user copy (bitmaps and their keys stay),
    // which becomes the current skin file.
    void SaveCurrentSkin();
    // The current look as the user's skin `name` (skins folder + name + "/skin.osk", with images). An
    // existing skin of that name, user's or shipped, is replaced only when OnConfirmOverwrite agrees.
    TskinExportResult ExportSkin(const std::string& name);

    // A name that stays in its folder: not empty, no "/" or "\", not "." or "..".
    static bool IsPlainName(std::string_view name);
    // True when the file, links resolved, lies in a skin folder of the user's or the program's Skins folder.
    static bool InSkinsFolders(const std::string& skinFile);
    // The writable file of a skin file: a shipped skin's file is copied (with the other files of its folder,
    // each through a temporary and a rename) to the user's skins folder, a copy there already made whole
    // again where files are missing or cut, and the copy's file is answered; any other file is answered as
    // it is.
    static std::string UserCopyOf(const std::string& skinFile);

    // Progress of the loops over the controls (caption; index of count; end).
    std::function<void(const std::string& caption)> OnSkinProcessStart;
    std::function<void(int index, int count)> OnSkinProcess;
    std::function<void()> OnSkinProcessFinished;
    // Lets pending messages run before each control; QCoreApplication::processEvents unless replaced.
    std::function<void()> ProcessMessages;
    // Asked before an export replaces a skin (the skin's folder); a Yes/No box unless replaced.
    std::function<bool(const std::string& skinFolder)> OnConfirmOverwrite;
    // Told what of a skin cannot be used or written; a warning box unless replaced.
    std::function<void(const std::string& text)> OnSkinProblem;

private:
    // SaveSkin; without keepContent the file holds only what this write puts in it.
    void WriteSkin(const std::string& fileName, bool withImages, bool keepContent);
    // LoadSkin; false when the skin file as a whole was refused.
    bool LoadCurrentSkin();
    bool HoldsSkin(const TIniFile& ini) const;
    // A colour of the Colors section; an unreadable one is named and the previous colour stays.
    TColor ReadColor(const TIniFile& ini, const char* key, TColor previous);
    // The skin file with every unreadable font colour named and replaced by the colour in use.
    TIniFile ReadableFonts(const TIniFile& ini);
    void ReportProblem(const std::string& text) const;
    void DoSkinProcessStart(const std::string& caption) const;
    void DoSkinProcess(int index, int count) const;
    void DoSkinProcessFinished() const;
    void RunMessages() const;
    // One pass over the registered controls in order, in the window's panel colour, reported to the
    // progress events under the caption.
    void EachControl(const std::string& caption, TColor windowColor,
                     const std::function<void(QWidget* control)>& work) const;
    bool ConfirmOverwrite(const std::string& skinFolder) const;
    // The exit button's colour and outer colour, the defaults of a skin without colours.
    std::pair<TColor, TColor> ExitButtonColors() const;
    void SetWindowColor(TColor color) const;

    TskinComponents& components_; // link
    std::string currentSkinFile_;
    TColor buttonColor_ = clBtnFace;
    TColor panelColor_ = clBlack;
    // Set while a skin loads, saves or exports: a message run meanwhile starts none of them again.
    bool busy_ = false;
    // What of the skin being loaded could not be used.
    std::vector<std::string> problems_;
};
