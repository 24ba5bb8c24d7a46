#include "app/skins/skinfolder.h"

#include "app/skins/skincomponents.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtcolor.h"
#include "controls/transparentsplitter.h"
#include "core/captions/tagfonts.h"
#include "core/util/promptservice.h"
#include "markup/htmlcolor.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"

#include <QCoreApplication>
#include <QImage>
#include <QPalette>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

// One bitmap of a control: its key in the control's section (also the suffix of the file written for it).
struct TskinPart
{
    const char* Key;
    std::function<QImage()> Get;
    std::function<void(const QImage&)> Set;
};

std::vector<TskinPart> PanelParts(TorvanePanel* panel)
{
    static constexpr std::pair<const char*, TorvanePanel::Piece> kPieces[] = {
        {"tlImage", TorvanePanel::TopLeft},     {"tcImage", TorvanePanel::TopCenter},
        {"trImage", TorvanePanel::TopRight},    {"lcImage", TorvanePanel::LeftCenter},
        {"ccImage", TorvanePanel::Middle},      {"rcImage", TorvanePanel::RightCenter},
        {"blImage", TorvanePanel::BottomLeft},  {"bcImage", TorvanePanel::BottomCenter},
        {"brImage", TorvanePanel::BottomRight},
    };
    std::vector<TskinPart> parts;
    for (const auto& [key, piece] : kPieces)
        parts.push_back(
            {key, [panel, piece = piece] { return panel->PieceBitmap(piece); },
             [panel, piece = piece](const QImage& image) { panel->SetPieceBitmap(piece, image); }});
    return parts;
}

std::vector<TskinPart> ScrollBarParts(TorvaneScrollBar* bar)
{
    return {
        {"UpImage", [bar] { return bar->UpButtonSkin(); },
         [bar](const QImage& i) { bar->SetUpButtonSkin(i); }},
        {"DownImage", [bar] { return bar->DownButtonSkin(); },
         [bar](const QImage& i) { bar->SetDownButtonSkin(i); }},
        {"ThumbImage", [bar] { return bar->ScrollButtonSkin(); },
         [bar](const QImage& i) { bar->SetScrollButtonSkin(i); }},
        {"BackImage", [bar] { return bar->BackBitmap(); }, [bar](const QImage& i) { bar->SetBackBitmap(i); }},
    };
}

// The bitmaps a control's section names, in the order they are read and written.
std::vector<TskinPart> PartsOf(QWidget* control)
{
    if (auto* button = qobject_cast<TorvaneButton*>(control))
        return {{"Image", [button] { return button->SkinBitmap(); },
                 [button](const QImage& i) { button->SetSkinBitmap(i); }}};
    if (auto* multi = qobject_cast<TorvaneMultiButton*>(control))
        return {{"Image", [multi] { return multi->SkinBitmap(); },
                 [multi](const QImage& i) { multi->SetSkinBitmap(i); }}};
    if (auto* bar = qobject_cast<TorvaneScrollBar*>(control))
        return ScrollBarParts(bar);
    if (auto* panel = qobject_cast<TorvanePanel*>(control))
        return PanelParts(panel);
    return {};
}

// A control takes the size its new bitmaps give it.
void FitToSkin(QWidget* control, const std::vector<std::string>& loadedKeys)
{
    if (loadedKeys.empty())
        return;
    if (auto* button = qobject_cast<TorvaneButton*>(control)) {
        const int frames = button->IsCheckButton() ? 5 : 3;
        button->resize(button->SkinBitmap().width() / frames, button->height());
    } else if (auto* multi = qobject_cast<TorvaneMultiButton*>(control)) {
        multi->resize(multi->SkinBitmap().width() / 4, multi->height());
    } else if (auto* bar = qobject_cast<TorvaneScrollBar*>(control)) {
        if (std::find(loadedKeys.begin(), loadedKeys.end(), "BackImage") == loadedKeys.end())
            return;
        // Fixed, not resized: the bars sit in layouts, which would undo a plain resize.
        if (bar->Style() == TosbStyle::osbVertical)
            bar->setFixedWidth(bar->BackBitmap().width());
        else
            bar->setFixedHeight(bar->BackBitmap().height());
    } else if (auto* panel = qobject_cast<TorvanePanel*>(control)) {
        FitPanelToSkin(panel);
    }
}

std::string Joined(const std::string& folder, const std::string& name)
{
    return (fs::path(folder) / name).string();
}

// The file of that name in the folder, found ignoring case when the exact name is not there (skins made
// on a system whose file names ignore case name their bitmaps in any case); empty when there is none.
std::string FindInFolder(const std::string& folder, const std::string& name)
{
    const std::string exact = Joined(folder, name);
    if (platform::FileExists(exact))
        return exact;
    if (name.find_first_of("*?") != std::string::npos)
        return {};
    for (const platform::TFolderEntry& entry : platform::FindEntries(folder, name, 0))
        if ((entry.Attr & platform::faDirectory) == 0)
            return Joined(folder, entry.Name);
    return {};
}

// A path with its links and dots resolved as far as it exists, for comparing folders.
fs::path Normal(const std::string& path)
{
    std::error_code ec;
    fs::path normal = fs::weakly_canonical(fs::path(path), ec);
    return ec ? fs::path(path).lexically_normal() : normal;
}

// The user's copy of a shipped skin's file (whether written yet or not); nothing for other files.
std::optional<fs::path> UserCopyPath(const std::string& skinFile)
{
    const fs::path file = Normal(skinFile);
    if (file.parent_path().parent_path() != Normal(platform::ShippedSkinsFolder()))
        return std::nullopt;
    const fs::path copy = fs::path(platform::SkinsFolder()) / file.parent_path().filename() / file.filename();
    if (Normal(copy.string()) == file)
        return std::nullopt; // the program folder is the shipped one
    return copy;
}

} // namespace

TskinFolder::TskinFolder(TskinComponents& components) : components_(components)
{
    ProcessMessages = [] { QCoreApplication::processEvents(); };
}

std::string TskinFolder::GetSkinsFolder()
{
    return platform::SkinsFolder();
}

std::string TskinFolder::DefaultSkinFile()
{
    const std::string user = Joined(Joined(GetSkinsFolder(), kDefaultSkinName), kSkinFileName);
    if (platform::FileExists(user))
        return user;
    const std::string shipped =
        Joined(Joined(platform::ShippedSkinsFolder(), kDefaultSkinName), kSkinFileName);
    return platform::FileExists(shipped) ? shipped : user;
}

std::string TskinFolder::GetSkinFile() const
{
    return currentSkinFile_.empty() ? DefaultSkinFile() : currentSkinFile_;
}

void TskinFolder::LoadSkinFile(const std::string& fileName)
{
    if (busy_)
        return;
    if (!fileName.empty() && platform::FileExists(fileName)) {
        const std::optional<fs::path> copy = UserCopyPath(fileName);
        currentSkinFile_ = copy && platform::FileExists(copy->string()) ? copy->string() : fileName;
    } else {
        currentSkinFile_ = GetSkinFile();
    }
    LoadSkin();
}

void TskinFolder::LoadSkin()
{
    if (busy_)
        return;
    const platform::TValueGuard<bool> busy(busy_, true);
    const std::string file = GetSkinFile();
    const TIniFile ini(file);
    LoadSkinImages(ini, fs::path(file).parent_path().string());
    const auto [exitColor, exitOuterColor] = ExitButtonColors();
    const TColor button = HtmlToColor(ini.ReadString("Colors", "ButtonColor", ColorToHtml(exitColor)));
    const TColor panel = HtmlToColor(ini.ReadString("Colors", "PanelColor", ColorToHtml(exitOuterColor)));
    ApplySkinColors(button, panel);
    LoadSkinFonts(ini);
}

void TskinFolder::EachControl(const std::string& caption, TColor windowColor,
                              const std::function<void(QWidget* control)>& work) const
{
    DoSkinProcessStart(caption);
    const platform::TScopeExit finished([this] { DoSkinProcessFinished(); });
    SetWindowColor(windowColor);
    const int count = components_.Count();
    for (int i = 0; i < count; ++i) {
        RunMessages();
        work(components_.Control(i));
        DoSkinProcess(i, count);
    }
}

void TskinFolder::LoadSkinImages(const TIniFile& ini, const std::string& folder)
{
    EachControl("Loading Skin Images...", panelColor_, [&](QWidget* control) {
        if (control && !control->objectName().isEmpty()) {
            const std::string section = platform::FromQString(control->objectName());
            std::vector<std::string> loaded;
            bool failed = false;
            try {
                for (const TskinPart& part : PartsOf(control)) {
                    const std::string name = ini.ReadString(section, part.Key, "");
                    if (!IsPlainName(name))
                        continue;
                    const std::string path = FindInFolder(folder, name);
                    if (path.empty())
                        continue;
                    QImage image;
                    if (!image.load(platform::ToQString(path))) {
                        failed = true; // an unreadable bitmap ends this control's parts
                        break;
                    }
                    part.Set(image);
                    loaded.push_back(part.Key);
                }
                if (!failed)
                    FitToSkin(control, loaded);
            } catch (const std::exception&) {
                // One control's files failing leaves the others to load.
            }
        }
    });
}

void TskinFolder::LoadSkinFonts(const TIniFile& ini)
{
    for (TtagFonts* fonts : components_.FontSets())
        if (!TtagFonts::FilterKeyName(fonts->NiceName()).empty())
            fonts->LoadSettings(ini, fonts->NiceName());
}

void TskinFolder::SaveSkinFonts(TIniFile& ini) const
{
    for (const TtagFonts* fonts : components_.FontSets())
        if (!TtagFonts::FilterKeyName(fonts->NiceName()).empty())
            fonts->SaveSettings(ini, fonts->NiceName());
}

void TskinFolder::ApplySkinColors(TColor buttonColor, TColor panelColor)
{
    buttonColor_ = buttonColor;
    panelColor_ = panelColor;
    EachControl("Applying Skin...", panelColor, [&](QWidget* control) {
        if (auto* button = qobject_cast<TorvaneButton*>(control)) {
            button->SetColor(buttonColor);
            button->SetOuterColor(panelColor);
        } else if (auto* bar = qobject_cast<TorvaneScrollBar*>(control)) {
            bar->SetButtonColor(buttonColor);
            bar->SetScrollerColor(buttonColor);
            bar->SetBackColor(panelColor);
        } else if (auto* panel = qobject_cast<TorvanePanel*>(control)) {
            panel->SetPanelColor(panelColor);
        } else if (qobject_cast<TtransparentSplitter*>(control)) {
            // A splitter shows what lies behind it.
        } else if (auto* multi = qobject_cast<TorvaneMultiButton*>(control)) {
            multi->SetButtonColor(buttonColor);
            multi->SetOuterColor(panelColor);
        } else if (control && control->parentWidget()) {
            // A plain panel takes its parent's colour (parents come first, so theirs is set already).
            QPalette palette = control->palette();
            palette.setColor(QPalette::Window, control->parentWidget()->palette().color(QPalette::Window));
            control->setPalette(palette);
        }
    });
}

void TskinFolder::SaveSkin(const std::string& fileName, bool withImages)
{
    WriteSkin(fileName, withImages, true);
}

void TskinFolder::WriteSkin(const std::string& fileName, bool withImages, bool keepContent)
{
    const std::string folder = fs::path(fileName).parent_path().string();
    platform::ForceDirectories(folder);
    TIniFile ini(fileName);
    if (!keepContent)
        ini.LoadFromText({});
    ini.WriteString("Colors", "ButtonColor", ColorToHtml(buttonColor_));
    ini.WriteString("Colors", "PanelColor", ColorToHtml(panelColor_));
    SaveSkinFonts(ini);
    if (withImages)
        SaveSkinImages(ini, folder);
    ini.UpdateFile();
}

void TskinFolder::SaveSkinImages(TIniFile& ini, const std::string& folder)
{
    DoSkinProcessStart("Saving Skin Images...");
    const platform::TScopeExit finished([this] { DoSkinProcessFinished(); });
    SetWindowColor(panelColor_);
    const int count = components_.Count();
    for (int i = 0; i < count; ++i) {
        RunMessages();
        QWidget* control = components_.Control(i);
        const std::string name = control ? platform::FromQString(control->objectName()) : std::string();
        try {
            for (const TskinPart& part : name.empty() ? std::vector<TskinPart>() : PartsOf(control)) {
                const QImage image = part.Get();
                if (image.isNull() || image.width() == 0 || image.height() == 0)
                    continue;
                const std::string file = name + "_" + part.Key + ".bmp";
                if (!IsPlainName(file) || !image.save(platform::ToQString(Joined(folder, file)), "BMP"))
                    break; // an unwritable bitmap ends this control's parts, silently
                ini.WriteString(name, part.Key, file);
            }
        } catch (const std::exception&) {
            // The other controls are still written.
        }
        DoSkinProcess(i, count);
    }
}

void TskinFolder::SaveCurrentSkin()
{
    if (busy_)
        return; // a skin half loaded: its colours and fonts are not yet the ones to keep
    const platform::TValueGuard<bool> busy(busy_, true);
    currentSkinFile_ = UserCopyOf(GetSkinFile());
    SaveSkin(currentSkinFile_, false);
}

TskinExportResult TskinFolder::ExportSkin(const std::string& name)
{
    if (busy_ || !IsPlainName(name))
        return TskinExportResult::Refused;
    const platform::TValueGuard<bool> busy(busy_, true);
    const std::string folder = Joined(GetSkinsFolder(), name);
    const std::string file = Joined(folder, kSkinFileName);
    const bool exists =
        platform::FileExists(file) ||
        platform::FileExists(Joined(Joined(platform::ShippedSkinsFolder(), name), kSkinFileName));
    if (exists && !ConfirmOverwrite(folder))
        return TskinExportResult::Declined;
    // A replaced skin is the current look only: none of its old keys stay. The old file stays until the new
    // one is whole.
    WriteSkin(file, true, false);
    return TskinExportResult::Exported;
}

bool TskinFolder::IsPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\\') == std::string_view::npos;
}

std::string TskinFolder::UserCopyOf(const std::string& skinFile)
{
    const std::optional<fs::path> copy = UserCopyPath(skinFile);
    if (!copy)
        return skinFile;
    if (platform::FileExists(copy->string()))
        return copy->string();
    const fs::path from = fs::path(skinFile).parent_path();
    const fs::path to = copy->parent_path();
    if (!platform::ForceDirectories(to.string()))
        throw EFileError("Cannot create the skin folder " + to.string());
    // The skin file goes last: a copy cut short is made again, whole, by the next write.
    const auto copyFile = [&to](const fs::path& file) {
        std::error_code ec;
        fs::copy_file(file, to / file.filename(), fs::copy_options::skip_existing, ec);
        if (ec)
            throw EFileError("Cannot copy the skin file " + file.string());
    };
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(from, ec))
        if (entry.is_regular_file(ec) && entry.path().filename() != copy->filename())
            copyFile(entry.path());
    copyFile(fs::path(skinFile).parent_path() / copy->filename());
    return copy->string();
}

void TskinFolder::DoSkinProcessStart(const std::string& caption) const
{
    if (OnSkinProcessStart)
        OnSkinProcessStart(caption);
}

void TskinFolder::DoSkinProcess(int index, int count) const
{
    if (OnSkinProcess)
        OnSkinProcess(index, count);
}

void TskinFolder::DoSkinProcessFinished() const
{
    if (OnSkinProcessFinished)
        OnSkinProcessFinished();
}

void TskinFolder::RunMessages() const
{
    if (ProcessMessages)
        ProcessMessages();
}

bool TskinFolder::ConfirmOverwrite(const std::string& skinFolder) const
{
    if (OnConfirmOverwrite)
        return OnConfirmOverwrite(skinFolder);
    const std::string text = "A skin named \"" + fs::path(skinFolder).filename().string() +
                             "\" already exists.\rReplace it with the current skin?";
    return ShowMessageBox(text, ApplicationTitle(), TmessageButtons::YesNo, TmessageIcon::Question) ==
           TmessageResult::Yes;
}

std::pair<TColor, TColor> TskinFolder::ExitButtonColors() const
{
    if (const auto* exit = qobject_cast<const TorvaneButton*>(components_.Find("obtnExit")))
        return {exit->Color(), exit->OuterColor()};
    return {buttonColor_, panelColor_};
}

void TskinFolder::SetWindowColor(TColor color) const
{
    QWidget* window = components_.Window();
    if (!window)
        return;
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, ToQColor(color));
    window->setPalette(palette);
}
