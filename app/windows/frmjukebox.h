#pragma once

#include "app/commands/jukeboxactions.h"
#include "app/commands/jukeboxcommands.h"
#include "app/dialogs/alarmsettingshost.h"
#include "app/dialogs/partyplayhost.h"
#include "app/dialogs/preferenceshost.h"
#include "app/dialogs/reportshost.h"
#include "app/dialogs/songsearchhost.h"
#include "app/qt/services/busyguard.h"
#include "app/windows/playlisteditorhost.h"
#include "app/windows/screensaverhost.h"
#include "app/windows/stackerhost.h"
#include "core/captions/tagfonts.h"
#include "core/jukebox/customjukeboxevents.h"
#include "core/jukebox/customjukeboxlistevents.h"
#include "core/jukebox/localjukeboxloader.h"
#include "core/jukebox/partyplaygate.h"
#include "core/player/custommediaplayerevents.h"
#include "core/player/mediaplaystate.h"
#include "core/timers/idledetector.h"

#include <QMainWindow>
#include <QPointer>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QMenu;
class TaudioTag;
class TaudioTagList;
class TcustomJukeboxList;
class TcustomlocalJukeboxList;
class TcustomMediaPlayer;
class TfrmAbout;
class TfrmPartyPlay;
class TactivityMonitor;
class TfrmPlaylist;
class TfrmPlaylistEditor;
class TfrmReports;
class TfrmScreenSaver;
class TfrmStackerList;
class TstackerCartridges;
class TfrmProgress;
class TIniFile;
class TlocalJukebox;
class TlibraryView;
class TlocalJukeboxList;
class Talarm;
class TmyHH;
class TQuyTipDialog;
class TQuyTipDialogForm;
class TThreadedTimer;

namespace platform {
class TsingleInstance;
}

// The application controller and the root of the main-window chain. It holds the library (with its playing
// jukebox) and the player, made through two factories that the concrete window overrides; it binds their
// event holders to its handlers and turns each event into a virtual operation for the descendants; it holds
// the commands and the main menu, and reads and writes the main window's part of settings.ini.
//
// Constructors do not reach overrides, so the creation step is FormCreate(), run after construction, and
// the destruction step FormDestroy(), run before delete: TmainWindowPtr and CreateMainWindow<T>() do both.
// Every override of a virtual operation calls the inherited one first, except FormClose, where the most
// derived class does its own part first.
//
// The other windows reach it through small host interfaces (party play, song search, reports, alarms,
// preferences, the stacker window, the playlist editor, the screensaver) instead of this class.
class TfrmJukebox : public QMainWindow,
                    public TpartyPlayHost,
                    public TsongSearchHost,
                    public TreportsHost,
                    public TalarmSettingsHost,
                    public TpreferencesHost,
                    public TstackerHost,
                    public TplaylistEditorHost,
                    public TscreenSaverHost
{
public:
    explicit TfrmJukebox(QWidget* parent = nullptr);
    ~TfrmJukebox() override;

    // Creation and destruction steps.
    virtual void FormCreate();
    virtual void FormDestroy();

    // Virtual operations, in slot order.
    virtual void SetPartyPlayEnabled(bool on);
    virtual void SetStackerEnabled(bool on);
    virtual void LoadSettings(const TIniFile& ini);
    virtual void SaveSettings(TIniFile& ini);
    virtual void SetShowTimeRemaining(bool on);
    virtual void StackerChanged();
    virtual void QueueChanged();
    virtual void PlaylistChanged();
    virtual void PlaybackStarted(const TaudioTag* song);
    virtual void PlayerStateChanged(TmediaPlayState state);
    virtual void VolumeChanged(std::uint8_t volume);
    virtual void PlaylistsChanged();
    virtual void PlaylistListChanged(TaudioTagList* list);
    virtual void ActivePreloadedListChanged(TaudioTagList* list);
    virtual std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList();
    virtual std::unique_ptr<TcustomMediaPlayer> CreatePlayer();
    virtual TfrmAbout* GetAboutForm() const;
    virtual void BeforeFormStyleChange();
    virtual void AfterFormStyleChange();
    virtual void LoadPreferences();
    virtual void SavePreferences();
    virtual void ShowMediaFolders(bool force);
    virtual void ApplyPartyPlayState();
    virtual void Startup();
    // Offers to scan the discs in the drives that the library does not know yet (force: scans them without
    // asking), then reloads the library with their catalogues. Refused under party play.
    void ScanCDs(bool force);

    // The library and the player; throw EOrvaneError "No Jukebox has been assigned." and "No Player has been
    // assigned." while there is none.
    TcustomJukeboxList& GetJukeboxList() const;
    TcustomlocalJukeboxList& GetLocalJukeboxList() const;
    TlocalJukebox& GetJukebox() const;
    TcustomMediaPlayer& GetPlayer() const;

    // The program's folders and files, without a trailing "/" (the program folder has one).
    std::string GetProgramFolder() const;
    std::string GetDataFolder() const;
    std::string GetSettingsFolder() const;
    std::string GetSettingsFile() const;
    std::string GetCartridgesFolder() const;
    std::string GetReportsFolder() const;
    std::string GetReportsIniFile() const;
    std::string GetPluginsFolder() const;
    std::string GetDocsFolder() const;
    std::string GetHelpFile() const;
    // The chosen folder, else the shipped TagPlugins folder.
    std::string GetTagReadersFolder() const;
    // Stores the folder ("" or the shipped folder itself: follow the program wherever it lives) and points
    // the tag-reader host at the result, which rescans.
    void SetTagReadersFolder(const std::string& folder);
    // The folder as stored: "" while it is the shipped one.
    const std::string& StoredTagReadersFolder() const { return tagReadersFolder_; }
    const std::string& GetCoverArtFolder() const { return coverArtFolder_; }
    void SetCoverArtFolder(std::string value) { coverArtFolder_ = std::move(value); }
    const std::string& GetPlaylistsFolder() const { return playlistsFolder_; }
    void SetPlaylistsFolder(const std::string& value) override { playlistsFolder_ = value; }

    // Accessors.
    bool GetShowTimeRemaining() const;
    bool GetAlwaysOnTop() const;
    void SetAlwaysOnTop(bool on);
    // The shared keyboard window's outer size, which the prompts change with Bigger and Smaller; the
    // values here stand in while that window does not exist.
    int GetKeyboardWidth() const;
    void SetKeyboardWidth(int value);
    int GetKeyboardHeight() const;
    void SetKeyboardHeight(int value);
    bool GetKeyboardsEnabled() const;
    void SetKeyboardsEnabled(bool on);
    bool GetShowTipsAtStartup() const;
    void SetShowTipsAtStartup(bool on);
    bool GetScreenSaverEnabled() const;
    void SetScreenSaverEnabled(bool on) override;
    unsigned GetScreenSaverTimeout() const { return screenSaverTimeout_; }
    // Minutes; above 60 and below 0 become 60.
    void SetScreenSaverTimeout(int minutes) override;
    bool GetAutoPlay() const;
    void SetAutoPlay(bool on);
    bool GetRandomPlayEnabled() const;
    void SetRandomPlayEnabled(bool on);
    bool GetStackerEnabled() const;
    std::string GetStackerTitle() const;
    bool IsPartyPlay() const;
    bool GetMaintainAlarms() const override { return maintainAlarms_; }
    void SetMaintainAlarms(bool on) override { maintainAlarms_ = on; }
    Talarm& AlarmOn() const override { return *alarmOn; }
    Talarm& AlarmOff() const override { return *alarmOff; }
    TQuyTipDialog& TipDialog() const { return *tdMain; }
    // The tip window the start-up step opened, while it shows.
    TQuyTipDialogForm* StartupTip() const;
    bool SettingsLoaded() const { return settingsLoaded_; }
    bool Closing() const { return closing_; }

    // Gated operations: each does nothing while party play is on and its option is checked, unless forced.
    // Unforced, each runs through the command table, which asks the busy flag and party play once.
    void SetVolume(std::uint8_t volume, bool force);
    void SetPosition(std::uint32_t ms, bool force);
    void ClearQueue(bool force);
    void DeleteQueueItem(int index, bool force);
    void MoveQueueItemDown(int index, bool force);
    void MoveQueueItem(int from, int to, bool force);
    void MoveQueueItemUp(int index, bool force);
    void PlayNext(bool force);
    void Pause(bool force);
    void Play(bool force);
    void Stop(bool force);
    void ToggleStacker(bool force);
    // The stacker window and the playlist editor, modal.
    void ConfigureStacker(bool force);
    void ShowPlaylistEditor(bool force);

    // The stacker's cartridges and copies of library lists, each through the command table (the stacker's
    // party-play lock). "&Load Cartridge" (mode 0) and "&Add Cartridge" (mode 1): a *.ctg file into the
    // stacker.
    void LoadCartridge(int mode);
    // "&Save Cartridge".
    void SaveStackerCartridge();
    // A copy of the list, with its songs copied, appended to the stacker, active.
    bool AddListToStacker(const TaudioTagList& list);

    // The party-play state and options now, as the gate of every command and gated operation sees them.
    TpartyPlayGate PartyPlayGate() const;
    // The command table: every route into a command runs it through Commands().Run.
    TjukeboxCommands& Commands() { return *commands_; }

    // The windows made once for the run (links; the main window links itself to them at the start-up step
    // and unlinks itself in its destruction step). Without one its commands do nothing.
    void SetPartyPlayForm(TfrmPartyPlay* form) { partyPlay_ = form; }
    TfrmPartyPlay* PartyPlayForm() const { return partyPlay_; }
    void SetReportsWindow(TfrmReports* window) { reports_ = window; }
    void SetPlaylistWindow(TfrmPlaylist* window) { playlist_ = window; }
    TfrmPlaylist* PlaylistWindow() const { return playlist_; }
    void SetPlaylistEditor(TfrmPlaylistEditor* editor) { playlistEditor_ = editor; }
    TfrmPlaylistEditor* PlaylistEditor() const { return playlistEditor_; }
    void SetStackerWindow(TfrmStackerList* window) { stackerList_ = window; }
    TfrmStackerList* StackerWindow() const { return stackerList_; }
    void SetScreenSaverForm(TfrmScreenSaver* form) { screenSaver_ = form; }
    TfrmScreenSaver* ScreenSaverForm() const { return screenSaver_; }

    // Idle detection: the activity monitor counts input from the start-up step to the destruction step,
    // and every tick of the 500 ms idle timer (running while the screensaver is enabled) weighs it.
    TactivityMonitor& ActivityMonitor() const { return *activity_; }
    const TidleDetector& IdleDetector() const { return idle_; }
    void IdleTick();

    // Host interfaces.
    bool UseOnScreenKeyboard() const override { return GetKeyboardsEnabled(); }
    int KeyboardWidth() const override { return GetKeyboardWidth(); }
    int KeyboardHeight() const override { return GetKeyboardHeight(); }
    QWidget* HostWindow() const override;
    void TogglePartyPlay() override;
    bool PartyPlayEnabled() const override { return IsPartyPlay(); }
    const TcustomJukeboxList* SearchLibrary() const override;
    TcustomJukeboxList* ReportLibrary() const override;
    std::string CoverArtFolder() const override { return coverArtFolder_; }
    TbusyGuard* BusyGuard() override { return &busy_; }
    bool ScreenSaverEnabled() const override { return GetScreenSaverEnabled(); }
    int ScreenSaverTimeout() const override { return static_cast<int>(screenSaverTimeout_); }
    std::string AlbumArtFolder() const override { return coverArtFolder_; }
    void SetAlbumArtFolder(const std::string& folder) override { coverArtFolder_ = folder; }
    void RunMediaFolderScan() override { ShowMediaFolders(true); }
    // The library is about to rebuild its groupings: every window linking into them lets go.
    void LibraryChanging() override;
    bool StackerLocked() const override;
    // Built from the main library when it is stale.
    TcustomJukeboxList* LibraryWithoutCDs() override;
    void PrepareTreeLibrary() override;
    std::string PlaylistsFolder() const override { return playlistsFolder_; }
    void LoadCartridge() override { commands_->Run(TjukeboxCommand::StackerLoadCartridge); }
    void AddCartridge() override { commands_->Run(TjukeboxCommand::StackerAddCartridge); }
    void SaveCartridge() override { commands_->Run(TjukeboxCommand::StackerSaveCartridge); }
    const TtagFonts& ScreenSaverFonts() const override { return tfScreenSaver; }

    // The single-instance gate runs in main() before any core object exists; the window keeps the gate
    // (a link) and releases it in its destruction step. Without one, this process counts as the only copy.
    void SetSingleInstance(platform::TsingleInstance* gate) { gate_ = gate; }
    void CheckSingleInstance();
    bool OwnsSingleInstance() const;
    void ReleaseSingleInstance();

    // The one progress window (a link): it shows the library's long operations and holds the busy flag
    // while it shows.
    void SetProgressWindow(TfrmProgress* window) { progress_ = window; }
    TfrmProgress* ProgressWindow() const override { return progress_; }

    // A close that comes from outside (a signal): runs as soon as no long operation is under way, subject
    // to the close query; a failure to save the settings then goes to the error stream, not a box.
    void CloseFromSystem();
    // The close step ran and the window closed.
    std::function<void(TfrmJukebox* sender)> OnClosed;
    // How the close step tells that the settings could not be written; a box unless the close came from
    // the system. Replaceable for tests.
    std::function<void(const std::string& message)> OnSaveFailure;

    // A first start (no songs, no media folders) gets the demo songs at the start-up step.
    bool LoadDemoLibrary() const { return loadDemoLibrary_; }
    void SetLoadDemoLibrary(bool on) { loadDemoLibrary_ = on; }

    TjukeboxActions& Actions() { return alMain; }
    QMenu* PopupMenu() const { return pmMain; }

    // Saves what the close step would save (settings, skin, queue, stacker) without closing: a close from the
    // system that party play refuses is often followed by a kill (a logout), which then loses nothing.
    void SaveWithoutClosing();
    // Writes the party-play section into the settings file at once and keeps a note while party play is on,
    // so that neither a crash nor a kill loses the evening's options and password or unlocks the party.
    void SavePartyPlaySettings();
    // The note kept while party play is on; a start that finds it turns party play on again.
    std::string PartyPlayNoteFile() const;
    TbusyGuard& Busy() { return busy_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    // The close query and the close step (the form's OnCloseQuery and OnClose).
    virtual void FormCloseQuery(bool& canClose);
    virtual void FormClose();

    // Event handlers; each returns at once while closing, except the three progress handlers.
    virtual void PlayerEventsGetNextTagger(TcustomMediaPlayer* sender, const TaudioTag*& tag);
    virtual void PlayerEventsPlaybackStart(TcustomMediaPlayer* sender, const TaudioTag* tag);
    virtual void PlayerEventsPlaybackFinished(TcustomMediaPlayer* sender, const TaudioTag* tag);
    virtual void PlayerEventsStateChange(TcustomMediaPlayer* sender, TmediaPlayState state);
    virtual void PlayerEventsVolumeChange(TcustomMediaPlayer* sender, std::uint8_t volume);
    virtual void JukeboxEventsQueueChange(TcustomJukebox* sender);
    virtual void JukeboxEventsStackerChange(TcustomJukebox* sender);
    virtual void JukeboxEventsStackerListChange(TcustomJukebox* sender, TaudioTagList* list);
    virtual void JukeboxEventsPlaylistChange(TcustomJukebox* sender);
    virtual void JukeboxEventsActivePreloadedListChanged(TcustomJukebox* sender, TaudioTagList* list);
    virtual void JukeboxListEventsGlobalListChange(TcustomJukeboxList* sender);
    virtual void JukeboxListEventsPlaylistsChange(TcustomJukeboxList* sender);
    virtual void JukeboxListEventsPlaylistListChange(TcustomJukeboxList* sender, TaudioTagList* list);
    virtual void JukeboxListEventsListProcessStart(TcustomJukeboxList* sender, const std::string& text);
    virtual void JukeboxListEventsListProcess(TcustomJukeboxList* sender, std::uint32_t index,
                                              std::uint32_t count, TaudioTag* tag);
    virtual void JukeboxListEventsListProcessFinished(TcustomJukeboxList* sender);
    virtual void NoCDJukeboxListEventsGlobalListChange(TcustomJukeboxList* sender);
    virtual void NoCDJukeboxListEventsGlobalListChanging(TcustomJukeboxList* sender);
    // Fills the library without CDs from the main library (and its playlists from playlists.dat when they
    // changed meanwhile). Quietly, for the window that asked and fills its tree itself: the other windows
    // hear nothing.
    void FollowLibrary(bool quietly);
    void FollowPlaylists();
    virtual void alarmOnTime(Talarm* sender);
    virtual void alarmOffTime(Talarm* sender);

    // Copies the main menu into the popup menu: the same actions, new sub-menus, the same visibility.
    void MirrorMainMenu();
    // The party-play window's option; none is checked while that window does not exist.
    virtual bool PartyPlayOption(TpartyPlayOption option) const;
    // A gated operation never asks party play itself. Forced (by the command table once the command passed
    // the gate, or by a caller that overrides party play) it runs at once; otherwise it runs as its command,
    // through the table, and Forced answers false. A command's work therefore calls its operation forced.
    bool Forced(bool force, TjukeboxCommand command);
    bool Forced(bool force, QAction* command);
    // The same for an operation of no command of its own: unforced, the table runs work under the option.
    void Gated(bool force, TpartyPlayOption option, bool runsWhileBusy, const std::function<void()>& work);
    // True while SaveWithoutClosing runs: the window stays as it is.
    bool SavingWhileOpen() const { return savingWhileOpen_; }
    // Whether this is the active window, which the screensaver needs to appear.
    virtual bool IsActiveHost() const;

    // Components. The event holders come before the libraries, which link to them.
    TcustomMediaPlayerEvents PlayerEvents;
    TcustomJukeboxEvents JukeboxEvents;
    TcustomJukeboxListEvents JukeboxListEvents;
    TcustomJukeboxListEvents NoCDJukeboxListEvents;
    TjukeboxActions alMain;
    QMenu* pmMain;
    // The library without CDs: a view sharing the main library's songs, built when a window first needs it
    // and released before the main library frees songs.
    std::unique_ptr<TlibraryView> NoCDJukebox;
    TlocalJukeboxLoader Loader;
    std::unique_ptr<Talarm> alarmOn;
    std::unique_ptr<Talarm> alarmOff;
    std::unique_ptr<TQuyTipDialog> tdMain;
    std::unique_ptr<TThreadedTimer> ssTimer;
    TtagFonts tfScreenSaver;
    std::unique_ptr<TmyHH> myHH1;

private:
    void BindEvents();
    void SetUpScreenSaverFonts();
    void CreateFolders() const;
    void ApplyTitleHints();
    void BindCommands();
    void BindToggles();
    void BindStackerCommands();
    void LinkWindows();
    void UnlinkWindows();
    void QueueFile();
    void QueueAlbum();
    void SetRandomPlayFilters();
    void ConfigurePartyPlay();
    void ShowHistory();
    void ShowAbout();
    // Names the data files the start-up load could not read, in one box.
    void TellUnreadableFiles(const std::vector<std::string>& files);
    void ShowSplash();
    void ShowDeferredTips();
    void ShowProgress(const std::string& caption);
    void StepProgress(std::uint32_t index, std::uint32_t count);
    void CloseProgress();
    // The stored tag-reader folder, or the shipped one (the user told) when the stored one is gone.
    static std::string ExistingTagReadersFolder(const std::string& stored);
    // After the start-up step read the party-play section: a party the last run left on goes on.
    void PartyPlaySettingsLoaded();
    // The close step ran: the next start begins with party play off.
    void PartyPlayClosed();
    // A settings file that could not be read: the user is told, and the file is copied beside itself as
    // "settings.ini.bad" before the close step replaces it.
    void KeepDamagedSettings(const TIniFile& ini);
    // Runs one part of the close step; a failure is shown and the step goes on.
    void CloseStepPart(const std::function<void()>& part);

    std::unique_ptr<TcustomlocalJukeboxList> library_;
    // The main library's playlists changed while the library without CDs was not built.
    bool noCDPlaylistsStale_ = true;
    bool followingQuietly_ = false;
    TcustomMediaPlayer* player_ = nullptr; // owned by the playing jukebox once handed over
    std::string tagReadersFolder_;
    std::string coverArtFolder_;
    std::string playlistsFolder_;
    bool maintainAlarms_ = false;
    unsigned screenSaverTimeout_ = 5;
    int keyboardWidth_ = 310;
    int keyboardHeight_ = 100;
    bool settingsLoaded_ = false;
    bool partyPlayLoaded_ = false;
    bool savingWhileOpen_ = false;
    bool closing_ = false;
    // Set while the player's start event runs the windows' PlaybackStarted: a start the jukebox could not
    // save waits here until every window has shown the song.
    bool inStartEvent_ = false;
    std::exception_ptr startFailure_;
    bool exitRequested_ = false;
    bool closeFromSystem_ = false;
    platform::TsingleInstance* gate_ = nullptr; // link
    bool gateHasRun_ = false;
    TfrmProgress* progress_ = nullptr; // link
    bool popupEnabled_ = true;
    bool loadDemoLibrary_ = false;
    QPointer<TQuyTipDialogForm> startupTip_; // the start-up tip while it shows; deletes itself
    TbusyGuard busy_;
    std::unique_ptr<TjukeboxCommands> commands_;
    TfrmPartyPlay* partyPlay_ = nullptr;           // link
    TfrmReports* reports_ = nullptr;               // link
    TfrmPlaylist* playlist_ = nullptr;             // link
    TfrmPlaylistEditor* playlistEditor_ = nullptr; // link
    TfrmStackerList* stackerList_ = nullptr;       // link
    TfrmScreenSaver* screenSaver_ = nullptr;       // link
    std::unique_ptr<TstackerCartridges> cartridges_;
    std::unique_ptr<TactivityMonitor> activity_;
    TidleDetector idle_;
};

// Deletes a main window after running its destruction step.
struct TmainWindowDeleter
{
    void operator()(TfrmJukebox* window) const;
};
using TmainWindowPtr = std::unique_ptr<TfrmJukebox, TmainWindowDeleter>;

// Constructs the window, then runs its creation step (which reaches the overrides).
template <typename T, typename... Args>
TmainWindowPtr CreateMainWindow(Args&&... args)
{
    TmainWindowPtr window(new T(std::forward<Args>(args)...));
    window->FormCreate();
    return window;
}
