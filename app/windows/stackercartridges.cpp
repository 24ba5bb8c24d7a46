#include "app/windows/stackercartridges.h"

#include "app/qt/services/dialogservice.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/songs/audiotaglist.h"
#include "core/util/promptservice.h"
#include "platform/filesystem.h"
#include "platform/folders.h"

#include <memory>

namespace {

TfileDialogOptions CartridgeDialog(const std::string& title, const std::string& folder)
{
    TfileDialogOptions options;
    options.Title = title;
    options.Filter = TstackerCartridges::kFilter;
    options.DefaultExt = TstackerCartridges::kExtension;
    options.InitialDir = folder;
    return options;
}

} // namespace

TstackerCartridges::TstackerCartridges(TcustomlocalJukeboxList* library, TgateFunction gate)
    : library_(library), gate_(std::move(gate))
{}

TaudioTagPlaylistList* TstackerCartridges::Stacker() const
{
    TcustomlocalJukeboxList* library = library_.Get();
    TlocalJukebox* jukebox = library != nullptr ? library->Jukebox() : nullptr;
    return jukebox != nullptr ? &jukebox->Stacker() : nullptr;
}

bool TstackerCartridges::Allowed() const
{
    return Stacker() != nullptr && (!gate_ || gate_());
}

std::string TstackerCartridges::Folder() const
{
    return folder_.empty() ? platform::CartridgesFolder() : folder_;
}

std::vector<std::string> TstackerCartridges::Names() const
{
    std::vector<std::string> names;
    const std::string mask = std::string("*.") + kExtension;
    platform::ForEachEntry(Folder(), mask, platform::faAnyFile,
                           [&names](const platform::TFolderEntry& entry) {
                               // A folder of that name is no cartridge.
                               if (!entry.IsFolder())
                                   names.push_back(entry.Name.substr(0, entry.Name.size() - 4));
                               return true;
                           });
    return names;
}

std::string TstackerCartridges::FileOf(const std::string& name) const
{
    return Folder() + "/" + name + "." + kExtension;
}

bool TstackerCartridges::LoadFile(const std::string& fileName, bool append)
{
    if (!Allowed())
        return false;
    // The cartridge is read in full first: one that cannot be read leaves the stacker, and the stacker
    // file, as they were.
    TaudioTagListList check;
    check.SetOwnsObjects(true);
    check.SetListsOwnObjects(true);
    if (!check.LoadFromFile(fileName, false)) {
        ShowMessageBox("Could not read the cartridge \"" + fileName +
                           "\": it is missing or damaged.\rThe stacker was left as it was.",
                       ApplicationTitle(), TmessageButtons::Ok, TmessageIcon::Warning);
        return false;
    }
    return Stacker()->LoadFromFile(fileName, append);
}

bool TstackerCartridges::LoadCartridge(QWidget* parent, bool append)
{
    if (!Allowed())
        return false;
    const std::vector<std::string> files = TdialogService::Current().OpenFile(
        parent, CartridgeDialog(append ? "Add Cartridge" : "Load Cartridge", Folder()));
    if (files.empty())
        return false;
    return LoadFile(files.front(), append);
}

std::string TstackerCartridges::SaveCartridge(QWidget* parent)
{
    if (!Allowed())
        return {};
    platform::ForceDirectories(Folder());
    const std::optional<std::string> file =
        TdialogService::Current().SaveFile(parent, CartridgeDialog("Save Cartridge", Folder()));
    // The gate is asked again: the dialog let other work run.
    if (!file || !Allowed())
        return {};
    Stacker()->SaveToFile(*file);
    return *file;
}

bool TstackerCartridges::AddListToStacker(const TaudioTagList& list)
{
    if (!Allowed())
        return false;
    auto copy = std::make_unique<TaudioTagList>();
    for (const TaudioTag* song : list.Items())
        copy->AddCopy(song);
    copy->SetTitle(list.Title());
    copy->SetActive(true);
    copy->SetOwnsObjects(true);
    Stacker()->Add(copy.release());
    return true;
}
