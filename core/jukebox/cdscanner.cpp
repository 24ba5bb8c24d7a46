#include "core/jukebox/cdscanner.h"

#include "core/jukebox/customjukeboxlist.h"
#include "core/jukebox/customjukeboxloader.h"
#include "core/songs/audiotaglist.h"
#include "core/util/orvanexutils.h"
#include "core/util/promptservice.h"
#include "platform/filesystem.h"
#include "platform/opticaldrives.h"

#include <algorithm>

namespace {

const char* const kCaption = "New CD";

bool AskYes(const std::string& text)
{
    return ShowMessageBox(text, kCaption, TmessageButtons::YesNo, TmessageIcon::None) == TmessageResult::Yes;
}

} // namespace

std::vector<TcdDrive> MountedCDDrives()
{
    std::vector<TcdDrive> drives;
    for (const platform::TOpticalDisc& disc : platform::MountedOpticalDiscs())
        drives.push_back({disc.Root, platform::ReadVolumeSerial(disc.Device)});
    return drives;
}

TcdScanner::TcdScanner(TcustomJukeboxList& library, TcustomJukeboxLoader& loader, TcdDriveSource drives)
    : library_(library), loader_(loader), drives_(std::move(drives))
{}

std::string TcdScanner::NewCDText(const std::string& root)
{
    return "The CD in drive " + root +
           " has not been scanned before.\r\rDo you wish to scan it for Mp3 files?";
}

std::string TcdScanner::SameSerialText(const std::string& root)
{
    return "The CD in drive " + root +
           " has the same serial number as another CD scanned before, whose songs are not on it.\r\r"
           "Do you wish to scan it for Mp3 files? Its songs will replace those of the other CD.";
}

int TcdScanner::ScanCDs(bool force)
{
    const std::vector<TcdDrive> drives = drives_ ? drives_() : std::vector<TcdDrive>{};
    if (drives.empty())
        return 0;
    TaudioTagList songs;
    songs.SetOwnsObjects(true);
    int counted = 0;
    for (const TcdDrive& drive : drives)
        if (Visit(drive, force, songs))
            ++counted;
    if (counted > 0)
        loader_.LoadGlobal();
    return counted;
}

bool TcdScanner::Visit(const TcdDrive& drive, bool force, TaudioTagList& songs)
{
    // An empty drive, or a disc whose serial cannot be read and so can have no catalogue.
    if (!drive.Serial || !platform::DirectoryExists(drive.Root))
        return false;
    const std::string catalogue = library_.GetCDCatalogueFileName(*drive.Serial);
    switch (StateOf(drive, catalogue)) {
    case TdiscState::Known:
        return true;
    case TdiscState::SharedSerial:
        // Declined, the other disc's catalogue stays and still counts.
        if (!AskYes(SameSerialText(drive.Root)))
            return true;
        break;
    case TdiscState::New:
        if (!force && !AskYes(NewCDText(drive.Root)))
            return false;
        break;
    }
    songs.ScanTree(drive.Root, false, nullptr);
    library_.SaveCDCatalogue(songs, drive.Root, *drive.Serial);
    return true;
}

TcdScanner::TdiscState TcdScanner::StateOf(const TcdDrive& drive, const std::string& catalogue) const
{
    if (!FileExistsNoError(catalogue))
        return TdiscState::New;
    // The catalogue's songs are the disc's identity: one of them on this disc makes it the same CD. An
    // empty or unreadable catalogue tells nothing and is taken as this disc's, as before.
    TaudioTagList stored;
    stored.SetOwnsObjects(true);
    stored.LoadFromFile(catalogue, false, drive.Root);
    const auto& items = stored.Items();
    const bool onDisc = items.empty() || std::any_of(items.begin(), items.end(), [](const TaudioTag* tag) {
                            return FileExistsNoError(tag->Filename());
                        });
    return onDisc ? TdiscState::Known : TdiscState::SharedSerial;
}
