#include "app/skins/skinfolder.h"

#include "app/skins/skincomponents.h"
#include "app/skins/skinfiles.h"
#include "controls/orvanebutton.h"
#include "controls/orvanemultibutton.h"
#include "controls/orvanepanel.h"
#include "controls/orvanescrollbar.h"
#include "controls/qtcolor.h"
#include "controls/transparentsplitter.h"
#include "core/captions/tagfonts.h"
#include "core/util/promptservice.h"
#include "markup/htmlcolor.h"
#include "platform/atomicfile.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QImage>
#include <QPalette>
#include <QString>

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

// A control takes the size its new bitmaps give it: a button and the multi-button one frame of the bitmap
// (its width and height), a scroll bar its track's width or height, a panel what its pieces give it. A
// side that the window's layout holds fixed is fixed again at the new length.
void FitToSkin(QWidget* control, const std::vector<std::string>& loadedKeys)
{
    if (loadedKeys.empty())
        return;
    if (auto* button = qobject_cast<TorvaneButton*>(control)) {
        const int frames = button->IsCheckButton() ? 5 : 3;
        ResizeToSkin(button, button->SkinBitmap().width() / frames, button->SkinBitmap().height());
    } else if (auto* multi = qobject_cast<TorvaneMultiButton*>(control)) {
        ResizeToSkin(multi, multi->SkinBitmap().width() / 4, multi->SkinBitmap().height());
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

// True when the colour text reads as a colour: six hexadecimal digits, with or without "#".
bool IsColorText(std::string_view text)
{
    if (text.size() == 7 && text[0] == '#')
        text.remove_prefix(1);
    return text.size() == 6 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

// A bitmap a control can draw: the multi-button's needs four frames, the last holding the hit colour of
// each of its buttons (a bitmap a few pixels wider than four frames loses the spare columns), a button's
// at least one pixel per frame.
bool FitsControl(QWidget* control, QImage& image)
{
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return false;
    if (auto* multi = qobject_cast<TorvaneMultiButton*>(control)) {
        const int frame = image.width() / 4;
        if (frame <= 0)
            return false;
        if (image.width() != 4 * frame)
            image = image.copy(0, 0, 4 * frame, image.height());
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int button = 1; button <= 4; ++button) {
            const QRgb wanted = ToQColor(multi->ButtonHitColor(button)).rgb() & 0xFFFFFFu;
            bool found = false;
            for (int y = 0; y < rgb.height() && !found; ++y)
                for (int x = 3 * frame; x < 4 * frame && !found; ++x)
                    found = (rgb.pixel(x, y) & 0xFFFFFFu) == wanted;
            if (!found)
                return false;
        }
    } else if (auto* button = qobject_cast<TorvaneButton*>(control)) {
        return image.width() >= (button->IsCheckButton() ? 5 : 3);
    }
    return true;
}

// Reads a bitmap of the skin's folder: a regular file of a bitmap's size that lies in the folder itself
// (a link out of it is refused), whole, and decodable.
bool ReadSkinBitmap(const std::string& path, const std::string& folder, QImage& image)
{
    if (!skinfiles::IsDirectlyIn(path, folder))
        return false;
    const std::optional<std::string> bytes = skinfiles::ReadRegularFile(path, skinfiles::kMaxBitmapSize);
    if (!bytes || (bytes->rfind("BM", 0) == 0 && !skinfiles::IsWholeBitmap(*bytes)))
        return false;
    return image.loadFromData(reinterpret_cast<const uchar*>(bytes->data()),
                              static_cast<int>(bytes->size())) &&
           !image.isNull();
}

// The skin file's text when it is a regular file of a skin file's size; a missing file reads as empty.
std::optional<std::string> ReadSkinText(const std::string& file, std::string& reason)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(fs::path(file), ec)))
        return std::string();
    return skinfiles::ReadRegularFile(file, skinfiles::kMaxSkinFileSize, &reason);
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

// The shipped skin file of a user's copy (whether the copy exists or not); nothing for other files.
std::optional<fs::path> ShippedPathOf(const std::string& skinFile)
{
    const fs::path file = Normal(skinFile);
    if (file.parent_path().parent_path() != Normal(platform::SkinsFolder()))
        return std::nullopt;
    const fs::path shipped =
        fs::path(platform::ShippedSkinsFolder()) / file.parent_path().filename() / file.filename();
    if (Normal(shipped.string()) == file || !platform::FileExists(shipped.string()))
        return std::nullopt;
    return shipped;
}

// An INI held in memory from a file's text (never opened by the INI itself: it would read a FIFO for good).
TIniFile IniFromText(const std::string& text)
{
    TIniFile ini{std::string()};
    ini.LoadFromText(text);
    return ini;
}

bool IsBitmapName(const fs::path& file)
{
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext == ".bmp";
}

// Brings a user's copy of a shipped skin back to whole: a file missing from it, not a regular file, or a
// cut bitmap is copied again from the shipped skin, and sections and keys missing from its skin file
// (a file cut short) are taken from the shipped one; what the user changed stays. Every write goes
// through a temporary and a rename.
void RepairCopy(const fs::path& shippedFolder, const fs::path& copyFolder, const std::string& skinFileName)
{
    std::error_code ec;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(shippedFolder, ec))
        if (entry.is_regular_file(ec) && entry.path().filename() != skinFileName)
            files.push_back(entry.path());
    // The skin file goes last: a copy cut short before it is not yet taken for the user's skin.
    files.push_back(shippedFolder / skinFileName);
    for (const fs::path& from : files) {
        const fs::path to = copyFolder / from.filename();
        const fs::file_status status = fs::symlink_status(to, ec);
        const std::optional<std::string> own =
            fs::is_regular_file(status) ? skinfiles::ReadRegularFile(to.string(), skinfiles::kMaxBitmapSize)
                                        : std::nullopt;
        if (!own) {
            skinfiles::CopyFileAtomically(from.string(), to.string());
        } else if (from.filename() == skinFileName) {
            const std::optional<std::string> shippedText =
                skinfiles::ReadRegularFile(from.string(), skinfiles::kMaxSkinFileSize);
            if (!shippedText)
                continue;
            const TIniFile shipped = IniFromText(*shippedText);
            TIniFile mine = IniFromText(*own);
            bool changed = false;
            TStrings sections;
            shipped.ReadSections(sections);
            for (int i = 0; i < sections.Count(); ++i) {
                TStrings keys;
                shipped.ReadSection(sections[i], keys);
                for (int k = 0; k < keys.Count(); ++k)
                    if (!mine.ValueExists(sections[i], keys[k])) {
                        mine.WriteString(sections[i], keys[k], shipped.ReadString(sections[i], keys[k], ""));
                        changed = true;
                    }
            }
            if (changed)
                platform::WriteFileAtomically(to.string(), mine.ToText(), platform::TFileKind::Data,
                                              platform::TLinks::Replace);
        } else if (IsBitmapName(to) && !skinfiles::IsWholeBitmap(*own)) {
            skinfiles::CopyFileAtomically(from.string(), to.string());
        }
    }
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
    const std::string previous = currentSkinFile_;
    if (!fileName.empty() && platform::FileExists(fileName)) {
        if (!InSkinsFolders(fileName)) {
            ReportProblem("The skin file \"" + fileName +
                          "\" is not in a Skins folder and is left untouched; the current skin stays.");
        } else {
            const std::optional<fs::path> copy = UserCopyPath(fileName);
            currentSkinFile_ = copy && platform::FileExists(copy->string()) ? copy->string() : fileName;
        }
    }
    currentSkinFile_ = GetSkinFile();
    // A skin file that cannot be used leaves the look, and the file written at exit, as they were; with no
    // skin loaded yet, the Default skin is loaded instead.
    if (!LoadCurrentSkin()) {
        const std::string refused = currentSkinFile_;
        currentSkinFile_ = previous;
        if (previous.empty() && GetSkinFile() != refused)
            LoadCurrentSkin();
    }
}

void TskinFolder::LoadSkin()
{
    LoadCurrentSkin();
}

bool TskinFolder::InSkinsFolders(const std::string& skinFile)
{
    const fs::path folder = Normal(skinFile).parent_path().parent_path();
    return folder == Normal(platform::SkinsFolder()) || folder == Normal(platform::ShippedSkinsFolder());
}

bool TskinFolder::LoadCurrentSkin()
{
    if (busy_)
        return false;
    const platform::TValueGuard<bool> busy(busy_, true);
    const std::string file = GetSkinFile();
    if (!InSkinsFolders(file)) {
        ReportProblem("The skin file \"" + file + "\" is not in a Skins folder and is left untouched.");
        return false;
    }
    if (const std::optional<fs::path> shipped = ShippedPathOf(file); shipped && platform::FileExists(file)) {
        try {
            RepairCopy(shipped->parent_path(), fs::path(file).parent_path(),
                       fs::path(file).filename().string());
        } catch (const std::exception&) {
            // A copy that cannot be mended now is loaded as it is; the next write tries again.
        }
    }
    std::string reason;
    const std::optional<std::string> text = ReadSkinText(file, reason);
    if (!text) {
        ReportProblem("The skin file \"" + file + "\" " + reason +
                      " and cannot be used; the current skin stays.");
        return false;
    }
    const TIniFile ini = IniFromText(*text);
    if (!text->empty() || platform::FileExists(file)) {
        if (!HoldsSkin(ini)) {
            ReportProblem("The skin file \"" + file +
                          "\" holds no skin and cannot be used; the current skin stays.");
            return false;
        }
    }
    problems_.clear();
    LoadSkinImages(ini, fs::path(file).parent_path().string());
    const auto [exitColor, exitOuterColor] = ExitButtonColors();
    const TColor button = ReadColor(ini, "ButtonColor", exitColor);
    const TColor panel = ReadColor(ini, "PanelColor", exitOuterColor);
    ApplySkinColors(button, panel);
    LoadSkinFonts(ReadableFonts(ini));
    if (!problems_.empty()) {
        std::string text = "Some parts of the skin \"" + file + "\" cannot be used and keep their look:";
        for (const std::string& problem : problems_)
            text += "\r" + problem;
        problems_.clear();
        ReportProblem(text);
    }
    return true;
}

bool TskinFolder::HoldsSkin(const TIniFile& ini) const
{
    if (ini.SectionExists("Colors"))
        return true;
    for (const TtagFonts* fonts : components_.FontSets())
        if (ini.SectionExists(TtagFonts::FilterKeyName(fonts->NiceName())))
            return true;
    for (int i = 0; i < components_.Count(); ++i)
        if (const QWidget* control = components_.Control(i);
            control && !control->objectName().isEmpty() &&
            ini.SectionExists(platform::FromQString(control->objectName())))
            return true;
    return false;
}

TColor TskinFolder::ReadColor(const TIniFile& ini, const char* key, TColor previous)
{
    if (!ini.ValueExists("Colors", key))
        return previous;
    const std::string text = ini.ReadString("Colors", key, "");
    if (IsColorText(text))
        return HtmlToColor(text);
    problems_.push_back(std::string("Colors: ") + key + "=" + text);
    return previous;
}

TIniFile TskinFolder::ReadableFonts(const TIniFile& ini)
{
    TIniFile fixed = IniFromText(ini.ToText());
    for (const TtagFonts* fonts : components_.FontSets()) {
        const std::string section = TtagFonts::FilterKeyName(fonts->NiceName());
        if (section.empty())
            continue;
        const auto check = [&](const std::string& key, TColor previous) {
            if (!fixed.ValueExists(section, key))
                return;
            const std::string text = fixed.ReadString(section, key, "");
            if (IsColorText(text))
                return;
            problems_.push_back(section + ": " + key + "=" + text);
            fixed.WriteString(section, key, ColorToHtml(previous));
        };
        for (int k = 0; k < TtagFonts::kFontCount; ++k) {
            const auto kind = static_cast<TtagFonts::FontKind>(k);
            check(TtagFonts::FilterKeyName(fonts->FontNiceName(kind)) + "Color", fonts->Font(kind).Color);
        }
        const std::string colorKey = TtagFonts::FilterKeyName(fonts->ColorNiceName());
        if (!colorKey.empty())
            check(colorKey, fonts->Color());
    }
    return fixed;
}

void TskinFolder::ReportProblem(const std::string& text) const
{
    if (OnSkinProblem)
        OnSkinProblem(text);
    else
        ShowMessageBox(text, ApplicationTitle(), TmessageButtons::Ok, TmessageIcon::Warning);
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
                    if (!ReadSkinBitmap(path, folder, image) || !FitsControl(control, image)) {
                        // An unusable bitmap ends this control's parts; the control keeps its look.
                        problems_.push_back(section + ": " + name);
                        failed = true;
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
    // What the file holds besides stays; a file that is not a regular file in the folder (a link out of
    // it, a FIFO) is not read, and the rename of the write replaces it.
    TIniFile ini{std::string()};
    if (keepContent && skinfiles::IsDirectlyIn(fileName, folder))
        if (const std::optional<std::string> text =
                skinfiles::ReadRegularFile(fileName, skinfiles::kMaxSkinFileSize))
            ini.LoadFromText(*text);
    ini.WriteString("Colors", "ButtonColor", ColorToHtml(buttonColor_));
    ini.WriteString("Colors", "PanelColor", ColorToHtml(panelColor_));
    SaveSkinFonts(ini);
    if (withImages)
        SaveSkinImages(ini, folder);
    platform::WriteFileAtomically(fileName, ini.ToText(), platform::TFileKind::Data,
                                  platform::TLinks::Replace);
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
                QByteArray bytes;
                QBuffer buffer(&bytes);
                if (!IsPlainName(file) || !buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "BMP"))
                    break; // an unwritable bitmap ends this control's parts, silently
                // Through a temporary and a rename: a link of that name is replaced, never written through.
                platform::WriteFileAtomically(Joined(folder, file),
                                              std::string_view(bytes.constData(), std::size_t(bytes.size())),
                                              platform::TFileKind::Data, platform::TLinks::Replace);
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
    // Only a skin of the Skins folders is ever written.
    if (!InSkinsFolders(GetSkinFile()))
        return;
    const std::string file = UserCopyOf(GetSkinFile());
    if (!InSkinsFolders(file))
        return;
    currentSkinFile_ = file;
    SaveSkin(currentSkinFile_, false);
}

TskinExportResult TskinFolder::ExportSkin(const std::string& name)
{
    if (busy_ || !IsPlainName(name))
        return TskinExportResult::Refused;
    const platform::TValueGuard<bool> busy(busy_, true);
    const std::string folder = Joined(GetSkinsFolder(), name);
    const std::string file = Joined(folder, kSkinFileName);
    std::error_code ec;
    // A folder of that name that leads out of the skins folder (a link) is never written into.
    if (fs::exists(fs::symlink_status(fs::path(folder), ec)) &&
        !skinfiles::IsSubfolderOf(folder, GetSkinsFolder())) {
        ReportProblem("The skin folder \"" + folder +
                      "\" leads outside the Skins folder; nothing was written.");
        return TskinExportResult::Refused;
    }
    const bool exists =
        platform::FileExists(file) ||
        platform::FileExists(Joined(Joined(platform::ShippedSkinsFolder(), name), kSkinFileName));
    if (exists && !ConfirmOverwrite(folder))
        return TskinExportResult::Declined;
    // A replaced skin keeps what this write does not put in it (its information, sections the program
    // does not know); the old file stays until the new one is whole.
    WriteSkin(file, true, true);
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
    const fs::path from = fs::path(skinFile).parent_path();
    const fs::path to = copy->parent_path();
    if (!platform::ForceDirectories(to.string()) || !skinfiles::IsSubfolderOf(to.string(), GetSkinsFolder()))
        throw EFileError("Cannot create the skin folder " + to.string());
    // Each file through a temporary and a rename, the skin file last; a copy cut short or damaged is made
    // whole again by the next load or write.
    RepairCopy(from, to, copy->filename().string());
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
