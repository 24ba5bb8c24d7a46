#include "app/skins/skinreclist.h"

#include "app/skins/skinfiles.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/textcompare.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <set>

namespace {

constexpr const char* kSkinFileName = "skin.osk";

// The last folder of the file's path: the skin's folder name.
std::string SkinFolderName(const std::string& skinFile)
{
    return std::filesystem::path(skinFile).parent_path().filename().string();
}

// The folder's skin.osk, its name matched ignoring case; empty when there is none.
std::string SkinFileOf(const std::string& skinFolder)
{
    const std::string exact = skinFolder + "/" + kSkinFileName;
    if (platform::FileExists(exact))
        return exact;
    for (const platform::TFolderEntry& entry : platform::FindEntries(skinFolder, kSkinFileName, 0))
        if ((entry.Attr & platform::faDirectory) == 0)
            return skinFolder + "/" + entry.Name;
    return {};
}

} // namespace

void TskinRecList::Add(std::unique_ptr<TskinRec> skin)
{
    if (skin)
        items_.push_back(std::move(skin));
}

const TskinRec* TskinRecList::Item(int index) const
{
    if (index < 0 || index >= Count())
        return nullptr;
    return items_[static_cast<std::size_t>(index)].get();
}

void TskinRecList::Scan(const std::vector<std::string>& skinsFolders)
{
    Clear();
    std::set<std::string> seen;
    for (const std::string& folder : skinsFolders) {
        for (const platform::TFolderEntry& entry :
             platform::FindEntries(folder, "*", platform::faDirectory)) {
            if ((entry.Attr & platform::faDirectory) == 0 || seen.count(entry.Name) != 0)
                continue;
            const std::string file = SkinFileOf(folder + "/" + entry.Name);
            if (file.empty())
                continue;
            seen.insert(entry.Name);
            Add(ReadSkin(file));
        }
    }
    Sort();
}

void TskinRecList::ScanInstalled()
{
    Scan({platform::SkinsFolder(), platform::ShippedSkinsFolder()});
}

std::unique_ptr<TskinRec> TskinRecList::ReadSkin(const std::string& skinFile)
{
    // Read only when it is a regular file of a skin's size: a FIFO or a device would hang the list.
    TIniFile ini{std::string()};
    if (const std::optional<std::string> text =
            skinfiles::ReadRegularFile(skinFile, skinfiles::kMaxSkinFileSize))
        ini.LoadFromText(*text);
    auto skin = std::make_unique<TskinRec>();
    skin->FileName = skinFile;
    skin->Title = ini.ReadString("Info", "Title", SkinFolderName(skinFile));
    skin->Description = ini.ReadString("Info", "Description", "");
    skin->Creator = ini.ReadString("Info", "Creator", "");
    return skin;
}

void TskinRecList::Sort()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [](const std::unique_ptr<TskinRec>& a, const std::unique_ptr<TskinRec>& b) {
                         const bool aDefault = a->Title == "Default";
                         const bool bDefault = b->Title == "Default";
                         if (aDefault != bDefault)
                             return aDefault;
                         return platform::CompareText(a->Title, b->Title) < 0;
                     });
}
