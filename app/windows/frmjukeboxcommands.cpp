// TfrmJukebox's commands: binding the command table, the operations behind the menu items, party play on
// and off, and the gated operations with the party-play gate they ask.
#include "app/windows/frmjukebox.h"

#include "app/dialogs/frmabout.h"
#include "app/dialogs/frmalarmsettings.h"
#include "app/dialogs/frmchoosecd.h"
#include "app/dialogs/frmconfigureplugins.h"
#include "app/dialogs/frmjukeboxinfo.h"
#include "app/dialogs/frmmusicsearch.h"
#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmplaylist.h"
#include "app/dialogs/frmpreferences.h"
#include "app/dialogs/frmreports.h"
#include "app/dialogs/frmsongsearch.h"
#include "app/dialogs/frmtaglistrules.h"
#include "app/qt/services/dialogservice.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmstackerlist.h"
#include "app/windows/stackercartridges.h"
#include "controls/myhh.h"
#include "controls/quytipdialog.h"
#include "core/groupings/audiotagalbum.h"
#include "core/jukebox/cdscanner.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/player/custommediaplayer.h"
#include "core/plugins/taggerloader.h"
#include "core/util/promptservice.h"
#include "platform/shellexecute.h"

void TfrmJukebox::BindCommands()
{
    using C = TjukeboxCommand;
    TjukeboxCommands& c = *commands_;
    c.Bind(C::FileQueueFile, [this] { QueueFile(); });
    c.Bind(C::FileRefreshCDs, [this] { TcdScanner(GetJukeboxList(), Loader).ScanCDs(false); });
    c.Bind(C::FileScanFolders, [this] { ShowMediaFolders(true); });
    c.Bind(C::FileInformation, [this] { ShowJukeboxInfo(GetLocalJukeboxList(), this); });
    c.Bind(C::FileExit, [this] {
        exitRequested_ = !IsPartyPlay();
        close();
    });
    c.Bind(C::SettingsMusicFolders, [this] { ShowMediaFolders(true); });
    c.Bind(C::SettingsGeneral, [this] { ShowPreferences(GetJukeboxList(), *this, "general"); });
    c.Bind(C::SettingsAlarmClock, [this] { EditAlarms(this); });
    c.Bind(C::SettingsPlayer, [this] { GetPlayer().Configure(); });
    c.Bind(C::SettingsPlugins, [this] {
        ConfigurePluginsFolder(this, {[this] { return GetTagReadersFolder(); },
                                      [this](const std::string& folder) { SetTagReadersFolder(folder); }});
    });
    c.Bind(C::ControlPlay, [this] { Play(false); });
    c.Bind(C::ControlNext, [this] { PlayNext(true); });
    c.Bind(C::ControlPause, [this] { Pause(true); });
    c.Bind(C::ControlStop, [this] { Stop(true); });
    c.Bind(C::RandomPlayFilters, [this] { SetRandomPlayFilters(); });
    c.Bind(C::QueueAlbum, [this] { QueueAlbum(); });
    c.Bind(C::QueueRandomize, [this] { GetJukebox().Queue().Shuffle(); });
    c.Bind(C::QueueClear, [this] { ClearQueue(true); });
    c.Bind(C::PlaylistsShow, [this] {
        if (playlist_)
            playlist_->ShowPlaylist(&GetLocalJukeboxList());
    });
    c.Bind(C::PlaylistsShowEditor, [this] { ShowPlaylistEditor(true); });
    c.Bind(C::PlaylistEnabled, [this] { GetJukebox().SetActivePreloadedList(nullptr); });
    c.Bind(C::PartyPlayConfigure, [this] { ConfigurePartyPlay(); });
    c.Bind(C::ReportsRun, [this] {
        if (reports_)
            reports_->exec();
    });
    c.Bind(C::ReportsShowHistory, [this] { ShowHistory(); });
    c.Bind(C::Search, [this] {
        if (const TaudioTag* song =
                SearchSong(this, GetKeyboardWidth(), GetKeyboardHeight(), GetKeyboardsEnabled());
            song && library_)
            library_->QueueTag(song);
    });
    c.Bind(C::ViewMinimize, [this] { showMinimized(); });
    c.Bind(C::HelpHelp, [this] { myHH1->ShowHelp(); });
    c.Bind(C::HelpTips, [this] { tdMain->Execute(); });
    c.Bind(C::HelpAbout, [this] { ShowAbout(); });
    // Deactivate waits for an active playlist.
    c.SetAvailable(C::PlaylistEnabled, false);
    BindStackerCommands();
    BindToggles();
}

void TfrmJukebox::BindStackerCommands()
{
    using C = TjukeboxCommand;
    TjukeboxCommands& c = *commands_;
    c.Bind(C::StackerConfigure, [this] { ConfigureStacker(true); });
    c.Bind(C::StackerLoadCartridge, [this] { cartridges_->LoadCartridge(this, false); });
    c.Bind(C::StackerAddCartridge, [this] { cartridges_->LoadCartridge(this, true); });
    c.Bind(C::StackerSaveCartridge, [this] { cartridges_->SaveCartridge(this); });
}

void TfrmJukebox::BindToggles()
{
    using C = TjukeboxCommand;
    TjukeboxCommands& c = *commands_;
    c.Bind(
        C::SettingsAutoPlay, [this] { SetAutoPlay(!GetAutoPlay()); }, [this] { return GetAutoPlay(); });
    c.Bind(
        C::SettingsAlwaysOnTop, [this] { SetAlwaysOnTop(!GetAlwaysOnTop()); },
        [this] { return GetAlwaysOnTop(); });
    c.Bind(
        C::SettingsShowTimeRemaining, [this] { SetShowTimeRemaining(!GetShowTimeRemaining()); },
        [this] { return GetShowTimeRemaining(); });
    // Read back from the jukebox: a refused change leaves the mark true to it.
    c.Bind(
        C::RandomPlayEnabled, [this] { SetRandomPlayEnabled(!GetRandomPlayEnabled()); },
        [this] { return library_ && library_->Jukebox() && GetRandomPlayEnabled(); });
    c.Bind(
        C::StackerEnabled, [this] { ToggleStacker(true); },
        [this] { return library_ && library_->Jukebox() && GetStackerEnabled(); });
    c.Bind(
        C::PartyPlayEnabled, [this] { SetPartyPlayEnabled(!IsPartyPlay()); },
        [this] { return IsPartyPlay(); });
    c.Bind(
        C::ViewKeyboards, [this] { SetKeyboardsEnabled(!GetKeyboardsEnabled()); },
        [this] { return GetKeyboardsEnabled(); });
}

void TfrmJukebox::QueueFile()
{
    TfileDialogOptions options;
    options.Filter = TaggerLoader().GetOpenDialogFilter();
    // Where the music is, not wherever the program was started from.
    if (const TStrings& folders = GetJukeboxList().MediaFolders(); folders.Count() > 0)
        options.InitialDir = folders[0];
    const std::vector<std::string> files = TdialogService::Current().OpenFile(this, options);
    if (files.empty())
        return;
    TStrings lines;
    lines.Add(files.front());
    GetJukebox().Queue().AddFileList(lines, true);
}

void TfrmJukebox::QueueAlbum()
{
    TaudioTagAlbum* album = nullptr;
    if (ChooseAlbum(library_.get(), album, nullptr, clWhite, this) && album)
        GetLocalJukeboxList().QueueList(*album, true);
}

void TfrmJukebox::SetRandomPlayFilters()
{
    if (EditTagListRules(GetJukebox().Rules(), library_.get(), this))
        GetJukebox().ApplyRandomPlayRules();
}

void TfrmJukebox::ConfigurePartyPlay()
{
    if (!partyPlay_)
        return;
    partyPlay_->HideTrackSearchingAndVolumeOptions();
    partyPlay_->ShowOptions();
    // The options may have changed under party play: the limit and the locks follow.
    if (IsPartyPlay())
        ApplyPartyPlayState();
    SavePartyPlaySettings();
}

void TfrmJukebox::ShowHistory()
{
    platform::ShellOpenDocument("\"" + GetJukebox().GetHistoryFileName() + "\"");
}

void TfrmJukebox::ShowAbout()
{
    if (TfrmAbout* about = GetAboutForm(); about && !about->isVisible()) {
        about->SetLinksEnabled(!IsPartyPlay());
        about->ShowAboutBox();
    }
}

// ---- Virtual operations

void TfrmJukebox::SetPartyPlayEnabled(bool on)
{
    // Without the party-play window (a bare window in tests) there is no password to ask.
    if (partyPlay_ && !partyPlay_->CheckAccess())
        return;
    alMain.actnPartyPlayEnabled->setChecked(on);
    ApplyPartyPlayState();
    SavePartyPlaySettings();
}

void TfrmJukebox::SetStackerEnabled(bool on)
{
    GetLocalJukeboxList().SetStackerActive(on);
    alMain.actnStackerEnabled->setChecked(GetStackerEnabled());
}

void TfrmJukebox::ShowMediaFolders(bool force)
{
    if (!Forced(force, TjukeboxCommand::SettingsMusicFolders))
        return;
    ShowMediaSearch(GetJukeboxList(), this, &busy_, [this](TfrmMusicSearch*) { LibraryChanging(); });
}

void TfrmJukebox::ScanCDs(bool force)
{
    commands_->RunGated(TpartyPlayGate::OptionOf(TjukeboxCommand::FileRefreshCDs), false,
                        [&] { TcdScanner(GetJukeboxList(), Loader).ScanCDs(force); });
}

void TfrmJukebox::ApplyPartyPlayState()
{
    TaudioTagList& queue = GetJukebox().Queue();
    if (IsPartyPlay()) {
        queue.SetMax(partyPlay_ ? partyPlay_->GetQueueLimit() : 0);
        popupEnabled_ = false;
    } else {
        popupEnabled_ = true;
        queue.SetMax(0);
    }
    commands_->ApplyLocks();
}

void TfrmJukebox::TogglePartyPlay()
{
    commands_->Run(TjukeboxCommand::PartyPlayEnabled);
}

bool TfrmJukebox::StackerLocked() const
{
    return !PartyPlayGate().Allows(TpartyPlayOption::StackerControl);
}

// ---- Gated operations

TpartyPlayGate TfrmJukebox::PartyPlayGate() const
{
    TpartyPlayGate gate(IsPartyPlay());
    for (auto o = static_cast<std::uint8_t>(TpartyPlayOption::VolumeChange);
         o < static_cast<std::uint8_t>(TpartyPlayOption::Always); ++o) {
        const auto option = static_cast<TpartyPlayOption>(o);
        gate.SetChecked(option, PartyPlayOption(option));
    }
    return gate;
}

bool TfrmJukebox::PartyPlayOption(TpartyPlayOption option) const
{
    return partyPlay_ && partyPlay_->Options().Checked(option);
}

bool TfrmJukebox::Forced(bool force, TjukeboxCommand command)
{
    if (!force)
        commands_->Run(command);
    return force;
}

bool TfrmJukebox::Forced(bool force, QAction* command)
{
    if (!force)
        commands_->Run(command);
    return force;
}

void TfrmJukebox::Gated(bool force, TpartyPlayOption option, bool runsWhileBusy,
                        const std::function<void()>& work)
{
    if (force)
        work();
    else
        commands_->RunGated(option, runsWhileBusy, work);
}

void TfrmJukebox::SetVolume(std::uint8_t volume, bool force)
{
    Gated(force, TpartyPlayOption::VolumeChange, true, [&] { GetPlayer().SetVolume(volume); });
}

void TfrmJukebox::SetPosition(std::uint32_t ms, bool force)
{
    if (!closing_)
        Gated(force, TpartyPlayOption::TrackSearching, true, [&] { GetPlayer().SetPosition(ms); });
}

void TfrmJukebox::ClearQueue(bool force)
{
    if (!Forced(force, TjukeboxCommand::QueueClear) || GetJukebox().Queue().GetCount() == 0)
        return;
    if (ShowMessageBox("Are you sure you want to clear the queue?", ApplicationTitle(),
                       TmessageButtons::OkCancel, TmessageIcon::Warning) == TmessageResult::Ok)
        GetLocalJukeboxList().QueueClear();
}

void TfrmJukebox::DeleteQueueItem(int index, bool force)
{
    Gated(force, TpartyPlayOption::QueueControls, false, [&] { GetLocalJukeboxList().QueueDelete(index); });
}

void TfrmJukebox::MoveQueueItemDown(int index, bool force)
{
    Gated(force, TpartyPlayOption::QueueControls, false, [&] { GetLocalJukeboxList().QueueMoveDown(index); });
}

void TfrmJukebox::MoveQueueItem(int from, int to, bool force)
{
    Gated(force, TpartyPlayOption::QueueControls, false, [&] { GetJukebox().Queue().Move(from, to); });
}

void TfrmJukebox::MoveQueueItemUp(int index, bool force)
{
    Gated(force, TpartyPlayOption::QueueControls, false, [&] { GetLocalJukeboxList().QueueMoveUp(index); });
}

void TfrmJukebox::PlayNext(bool force)
{
    if (Forced(force, TjukeboxCommand::ControlNext))
        GetPlayer().Next();
}

void TfrmJukebox::Pause(bool force)
{
    if (Forced(force, TjukeboxCommand::ControlPause))
        GetPlayer().Pause();
}

void TfrmJukebox::Play(bool)
{
    GetPlayer().Play();
}

void TfrmJukebox::Stop(bool force)
{
    if (Forced(force, TjukeboxCommand::ControlStop))
        GetPlayer().Stop();
}

void TfrmJukebox::ToggleStacker(bool force)
{
    if (Forced(force, TjukeboxCommand::StackerEnabled))
        SetStackerEnabled(!GetStackerEnabled());
}

void TfrmJukebox::ConfigureStacker(bool force)
{
    if (!Forced(force, TjukeboxCommand::StackerConfigure) || !stackerList_ || stackerList_->isVisible())
        return;
    stackerList_->exec();
}

void TfrmJukebox::ShowPlaylistEditor(bool force)
{
    if (!Forced(force, TjukeboxCommand::PlaylistsShowEditor) || !playlistEditor_ ||
        playlistEditor_->isVisible())
        return;
    playlistEditor_->exec();
}

void TfrmJukebox::LoadCartridge(int mode)
{
    commands_->Run(mode == 1 ? TjukeboxCommand::StackerAddCartridge : TjukeboxCommand::StackerLoadCartridge);
}

void TfrmJukebox::SaveStackerCartridge()
{
    commands_->Run(TjukeboxCommand::StackerSaveCartridge);
}

bool TfrmJukebox::AddListToStacker(const TaudioTagList& list)
{
    bool added = false;
    commands_->RunGated(TpartyPlayOption::StackerControl, true,
                        [&] { added = cartridges_->AddListToStacker(list); });
    return added;
}
