#include "app/qt/helpers/mediafolders.h"

#include "app/qt/services/dialogservice.h"
#include "core/util/promptservice.h"
#include "platform/opticaldrives.h"

#include <optional>

namespace {

const char* const kCannotAddCD = "You cannot add a CD to the scan list, CD-Roms are scanned automatically.";

} // namespace

std::string NormalizeMediaFolder(const std::string& folder)
{
    std::string out = folder;
    while (out.size() > 1 && out.back() == '/')
        out.pop_back();
    return out;
}

bool ChooseMediaFolder(QWidget* parent, TStrings& folders)
{
    const std::optional<std::string> chosen =
        TdialogService::Current().BrowseFolder(parent, "Choose a Music Folder", std::string());
    if (!chosen || chosen->empty())
        return false;
    if (platform::IsPathOnDisc(*chosen, platform::MountedOpticalDiscs())) {
        ShowMessageBox(kCannotAddCD, ApplicationTitle(), TmessageButtons::Ok, TmessageIcon::None);
        return false;
    }
    folders.Add(NormalizeMediaFolder(*chosen));
    return true;
}
