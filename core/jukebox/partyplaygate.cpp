#include "core/jukebox/partyplaygate.h"

namespace {

using C = TjukeboxCommand;
using O = TpartyPlayOption;

struct TcommandRule
{
    std::string_view name;
    O option;
    bool runsWhileBusy;
};

// One row per command, in enum order. Configuration (folders, scans, settings, plug-ins, the player's
// own settings, reports written to disk) is refused whenever party play is on, as the media folders are;
// anything that leaves or hides the window counts as closing the application.
constexpr TcommandRule kRules[kJukeboxCommandCount] = {
    {"actnFileQueueFile", O::QueueControls, false},
    {"actnFileRefreshCDs", O::Always, false},
    {"actnFileScanFolders", O::Always, false},
    {"actnFileInformation", O::None, false},
    {"actnFileExit", O::ApplicationClose, false},
    {"actnSettingsMusicFolders", O::Always, false},
    {"actnSettingsGeneral", O::Always, false},
    {"actnSettingsAlarmClock", O::Always, false},
    {"actnSettingsAutoPlay", O::Always, true},
    {"actnSettingsAlwaysOnTop", O::ApplicationClose, false},
    {"actnSettingsPlayer", O::Always, false},
    {"actnSettingsPlugins", O::Always, false},
    {"actnSettingsShowTimeRemaining", O::None, true},
    {"actnControlPlay", O::None, true},
    {"actnControlNext", O::NextControl, true},
    {"actnControlPause", O::PauseControl, true},
    {"actnControlStop", O::StopControl, true},
    {"actnRandomPlayEnabled", O::StackerControl, true},
    {"actnRandomPlayFilters", O::StackerControl, false},
    {"actnQueueAlbum", O::None, false},
    {"actnQueueRandomize", O::QueueControls, false},
    {"actnQueueClear", O::QueueControls, false},
    {"actnStackerConfigure", O::StackerControl, false},
    {"actnStackerEnabled", O::StackerControl, true},
    {"actnStackerLoadCartridge", O::StackerControl, false},
    {"actnStackerAddCartridge", O::StackerControl, false},
    {"actnStackerSaveCartridge", O::StackerControl, false},
    {"actnPlaylistsShow", O::None, true},
    {"actnPlaylistsShowEditor", O::PlaylistEditor, false},
    {"actnPlaylistEnabled", O::PlaylistEditor, false},
    {"actnPartyPlayEnabled", O::None, false},
    {"actnPartyPlayConfigure", O::None, false},
    {"actnReportsRun", O::Always, false},
    {"actnReportsShowHistory", O::None, true},
    {"actnSearch", O::None, false},
    {"actnViewKeyboards", O::None, true},
    {"actnViewMinimize", O::ApplicationClose, true},
    {"actnHelpHelp", O::None, true},
    {"actnHelpTips", O::None, true},
    {"actnHelpAbout", O::None, true},
};

const TcommandRule& Rule(C command)
{
    return kRules[static_cast<std::size_t>(command)];
}

} // namespace

bool TpartyPlayOptions::Checked(TpartyPlayOption option) const
{
    if (option == O::None)
        return false;
    if (option == O::Always)
        return true;
    return checked_[static_cast<std::size_t>(option)];
}

void TpartyPlayOptions::SetChecked(TpartyPlayOption option, bool checked)
{
    if (option != O::None && option != O::Always)
        checked_[static_cast<std::size_t>(option)] = checked;
}

bool TpartyPlayGate::Allows(TpartyPlayOption option, bool force) const
{
    return force || !partyPlay_ || !options_.Checked(option);
}

TpartyPlayOption TpartyPlayGate::OptionOf(TjukeboxCommand command)
{
    return Rule(command).option;
}

bool TpartyPlayGate::RunsWhileBusy(TjukeboxCommand command)
{
    return Rule(command).runsWhileBusy;
}

std::string_view TpartyPlayGate::ActionName(TjukeboxCommand command)
{
    return Rule(command).name;
}
