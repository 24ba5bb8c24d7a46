#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The party-play options that make an operation refuse, plus the two fixed answers: None (never refused)
// and Always (refused whenever party play is on: the program's configuration).
enum class TpartyPlayOption : std::uint8_t
{
    None,
    VolumeChange,
    TrackSearching,
    QueueControls,
    NextControl,
    PauseControl,
    StopControl,
    StackerControl,
    PlaylistEditor,
    ApplicationClose,
    Always,
};

// The main window's commands, in the order of its command table.
enum class TjukeboxCommand : std::uint8_t
{
    FileQueueFile,
    FileRefreshCDs,
    FileScanFolders,
    FileInformation,
    FileExit,
    SettingsMusicFolders,
    SettingsGeneral,
    SettingsAlarmClock,
    SettingsAutoPlay,
    SettingsAlwaysOnTop,
    SettingsPlayer,
    SettingsPlugins,
    SettingsShowTimeRemaining,
    ControlPlay,
    ControlNext,
    ControlPause,
    ControlStop,
    RandomPlayEnabled,
    RandomPlayFilters,
    QueueAlbum,
    QueueRandomize,
    QueueClear,
    StackerConfigure,
    StackerEnabled,
    StackerLoadCartridge,
    StackerAddCartridge,
    StackerSaveCartridge,
    PlaylistsShow,
    PlaylistsShowEditor,
    PlaylistEnabled,
    PartyPlayEnabled,
    PartyPlayConfigure,
    ReportsRun,
    ReportsShowHistory,
    Search,
    ViewKeyboards,
    ViewMinimize,
    HelpHelp,
    HelpTips,
    HelpAbout,
};

inline constexpr std::size_t kJukeboxCommandCount = static_cast<std::size_t>(TjukeboxCommand::HelpAbout) + 1;

// The party-play window's options as one value: which of the nine options are checked. None is never
// checked and Always always is.
class TpartyPlayOptions
{
public:
    bool Checked(TpartyPlayOption option) const;
    void SetChecked(TpartyPlayOption option, bool checked);
    bool operator==(const TpartyPlayOptions&) const = default;

private:
    std::array<bool, static_cast<std::size_t>(TpartyPlayOption::Always) + 1> checked_{};
};

// The party-play rule for every route into the main window's operations (menu, popup, shortcut, button,
// drag and drop): an operation runs when forced, when party play is off, or when its option is unchecked.
// A snapshot: the main window builds one from party play's state and the party-play window's options.
class TpartyPlayGate
{
public:
    TpartyPlayGate() = default;
    explicit TpartyPlayGate(bool partyPlay, const TpartyPlayOptions& options = {})
        : partyPlay_(partyPlay), options_(options)
    {}

    bool PartyPlay() const { return partyPlay_; }
    void SetPartyPlay(bool on) { partyPlay_ = on; }
    const TpartyPlayOptions& Options() const { return options_; }
    bool Checked(TpartyPlayOption option) const { return options_.Checked(option); }
    void SetChecked(TpartyPlayOption option, bool checked) { options_.SetChecked(option, checked); }

    bool Allows(TpartyPlayOption option, bool force = false) const;
    bool AllowsCommand(TjukeboxCommand command, bool force = false) const
    {
        return Allows(OptionOf(command), force);
    }

    // The option that covers a command wherever it comes from.
    static TpartyPlayOption OptionOf(TjukeboxCommand command);
    // Commands that may run while a long operation holds the busy flag: they start none themselves.
    static bool RunsWhileBusy(TjukeboxCommand command);
    // The command's action name ("actnFileQueueFile").
    static std::string_view ActionName(TjukeboxCommand command);

private:
    bool partyPlay_ = false;
    TpartyPlayOptions options_;
};
