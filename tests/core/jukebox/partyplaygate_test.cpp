// The party-play gate for every command, whatever route it comes by.
#include "core/jukebox/partyplaygate.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

constexpr TpartyPlayOption kOptions[] = {
    TpartyPlayOption::VolumeChange,   TpartyPlayOption::TrackSearching, TpartyPlayOption::QueueControls,
    TpartyPlayOption::NextControl,    TpartyPlayOption::PauseControl,   TpartyPlayOption::StopControl,
    TpartyPlayOption::StackerControl, TpartyPlayOption::PlaylistEditor, TpartyPlayOption::ApplicationClose,
};

TjukeboxCommand Command(std::size_t index)
{
    return static_cast<TjukeboxCommand>(index);
}

TpartyPlayGate AllChecked(bool partyPlay)
{
    TpartyPlayGate gate(partyPlay);
    for (TpartyPlayOption option : kOptions)
        gate.SetChecked(option, true);
    return gate;
}

} // namespace

TEST(PartyPlayGateTest, EveryCommandRunsWhenForcedOrWithPartyPlayOff)
{
    const TpartyPlayGate off = AllChecked(false);
    const TpartyPlayGate on = AllChecked(true);
    for (std::size_t i = 0; i < kJukeboxCommandCount; ++i) {
        SCOPED_TRACE(std::string(TpartyPlayGate::ActionName(Command(i))));
        EXPECT_TRUE(off.AllowsCommand(Command(i)));
        EXPECT_TRUE(on.AllowsCommand(Command(i), true));
    }
}

TEST(PartyPlayGateTest, EachCommandIsHeldByItsOwnOptionOnly)
{
    for (std::size_t i = 0; i < kJukeboxCommandCount; ++i) {
        const TjukeboxCommand command = Command(i);
        const TpartyPlayOption own = TpartyPlayGate::OptionOf(command);
        SCOPED_TRACE(std::string(TpartyPlayGate::ActionName(command)));
        TpartyPlayOptions onlyOthers;
        for (TpartyPlayOption option : kOptions)
            onlyOthers.SetChecked(option, option != own);
        EXPECT_EQ(TpartyPlayGate(true, onlyOthers).AllowsCommand(command), own != TpartyPlayOption::Always);
        EXPECT_TRUE(TpartyPlayGate(false, onlyOthers).AllowsCommand(command));
        EXPECT_EQ(AllChecked(true).AllowsCommand(command), own == TpartyPlayOption::None);
    }
}

TEST(PartyPlayGateTest, LockedCommandsCoverEveryWayIntoTheLockedParts)
{
    const TpartyPlayGate on = AllChecked(true);
    // Play is never refused; the library search and the album chooser stay for the guests (the queue
    // limit holds them); the password guards the party-play commands themselves.
    for (TjukeboxCommand open :
         {TjukeboxCommand::ControlPlay, TjukeboxCommand::QueueAlbum, TjukeboxCommand::Search,
          TjukeboxCommand::PartyPlayEnabled, TjukeboxCommand::PartyPlayConfigure})
        EXPECT_TRUE(on.AllowsCommand(open)) << TpartyPlayGate::ActionName(open);
    for (TjukeboxCommand locked :
         {TjukeboxCommand::FileQueueFile,        TjukeboxCommand::FileRefreshCDs,
          TjukeboxCommand::FileScanFolders,      TjukeboxCommand::FileExit,
          TjukeboxCommand::SettingsMusicFolders, TjukeboxCommand::SettingsGeneral,
          TjukeboxCommand::SettingsAlwaysOnTop,  TjukeboxCommand::SettingsPlugins,
          TjukeboxCommand::ControlNext,          TjukeboxCommand::ControlPause,
          TjukeboxCommand::ControlStop,          TjukeboxCommand::QueueRandomize,
          TjukeboxCommand::QueueClear,           TjukeboxCommand::StackerConfigure,
          TjukeboxCommand::StackerEnabled,       TjukeboxCommand::StackerLoadCartridge,
          TjukeboxCommand::StackerAddCartridge,  TjukeboxCommand::StackerSaveCartridge,
          TjukeboxCommand::PlaylistsShowEditor,  TjukeboxCommand::PlaylistEnabled,
          TjukeboxCommand::ViewMinimize})
        EXPECT_FALSE(on.AllowsCommand(locked)) << TpartyPlayGate::ActionName(locked);
    // The media folders have no option of their own: refused with every option clear.
    EXPECT_FALSE(TpartyPlayGate(true).AllowsCommand(TjukeboxCommand::SettingsMusicFolders));
    EXPECT_TRUE(TpartyPlayGate(true).AllowsCommand(TjukeboxCommand::ControlStop));
}

TEST(PartyPlayGateTest, ActionNamesAreDistinct)
{
    std::set<std::string> names;
    for (std::size_t i = 0; i < kJukeboxCommandCount; ++i) {
        const std::string name(TpartyPlayGate::ActionName(Command(i)));
        EXPECT_EQ(name.rfind("actn", 0), 0u) << name;
        EXPECT_TRUE(names.insert(name).second) << name;
    }
}

TEST(PartyPlayGateTest, TheOptionsKeepTheirTwoFixedAnswers)
{
    TpartyPlayOptions options;
    options.SetChecked(TpartyPlayOption::None, true);
    options.SetChecked(TpartyPlayOption::Always, false);
    EXPECT_EQ(options, TpartyPlayOptions());
    EXPECT_FALSE(options.Checked(TpartyPlayOption::None));
    EXPECT_TRUE(options.Checked(TpartyPlayOption::Always));
}
