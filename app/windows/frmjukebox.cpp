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
#include "app/dialogs/frmprogress.h"
#include "app/dialogs/frmreports.h"
#include "app/dialogs/frmsongsearch.h"
#include "app/dialogs/frmtaglistrules.h"
#include "app/dialogs/tips.h"
#include "app/keyboard/frmkeyboard.h"
#include "app/qt/activitymonitor.h"
#include "app/qt/demolibrary.h"
#include "app/qt/dialogservice.h"
#include "app/qt/exceptionboundary.h"
#include "app/qt/settingbounds.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmscreensaver.h"
#include "app/windows/frmstackerlist.h"
#include "app/windows/stackercartridges.h"
#include "controls/myhh.h"
#include "controls/quytipdialog.h"
#include "controls/quytipdialogform.h"
#include "core/groupings/audiotagalbum.h"
#include "core/jukebox/cdscanner.h"
#include "core/jukebox/libraryview.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/player/custommediaplayer.h"
#include "core/plugins/taggerloader.h"
#include "core/timers/alarm.h"
#include "core/timers/alarmtime.h"
#include "core/timers/threadedtimer.h"
#include "core/util/promptservice.h"
#include "platform/error.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/scopeguard.h"
#include "platform/shellexecute.h"
#include "platform/singleinstance.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kPreferences = "Preferences";
constexpr const char* kKeyboards = "OnScreenKeyboards";
constexpr const char* kScreenSaver = "ScreenSaver";
constexpr const char* kRandomPlay = "RandomPlay";
constexpr const char* kStacker = "Stacker";
constexpr const char* kPaths = "Paths";
constexpr const char* kAlarm = "Alarm";
constexpr const char* kPlayer = "Player";
constexpr const char* kJukebox = "Jukebox";
constexpr const char* kPartyPlay = "PartyPlay";
constexpr const char* kPlaylistEditor = "PlaylistEditor";

constexpr TDateTime kNoon = 0.5;
constexpr unsigned kMaxScreenSaverTimeout = 60;
constexpr std::uint32_t kIdleTickMs = TidleDetector::kTickInterval;

// The screensaver's fonts are given in pixels; fonts here are in points, at 96 dots per inch.
constexpr int PixelsToPoints(int pixels)
{
    return (pixels * 72 + 48) / 96;
}

std::string WithoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

} // namespace

TfrmJukebox::TfrmJukebox(QWidget* parent)
    : QMainWindow(parent), alMain(this), pmMain(new QMenu(this)),
      NoCDJukebox(std::make_unique<TlibraryView>()), alarmOn(std::make_unique<Talarm>()),
      alarmOff(std::make_unique<Talarm>()), tdMain(std::make_unique<TQuyTipDialog>()),
      ssTimer(std::make_unique<TThreadedTimer>()), myHH1(std::make_unique<TmyHH>(this)),
      activity_(std::make_unique<TactivityMonitor>())
{
    setObjectName(QStringLiteral("frmJukebox"));
    pmMain->setObjectName(QStringLiteral("pmMain"));
    menuBar()->setObjectName(QStringLiteral("mmMain"));
    alMain.BuildMainMenu(menuBar());

    for (Talarm* alarm : {alarmOn.get(), alarmOff.get()}) {
        alarm->SetTime(kNoon);
        alarm->SetEnabled(false);
    }
    tdMain->SetShowAtStart(false);
    tdMain->SetTipNo(0);
    tdMain->SetParent(this);
    ssTimer->SetEnabled(false);
    ssTimer->SetInterval(kIdleTickMs);
    ssTimer->OnTimer = [this](TThreadedTimer*) { Guarded([this] { IdleTick(); }); };
    idle_.SetTimeout(static_cast<int>(screenSaverTimeout_));
    SetUpScreenSaverFonts();
    playlistsFolder_ = GetProgramFolder();

    commands_ = std::make_unique<TjukeboxCommands>(this, alMain, busy_, [this] { return PartyPlayGate(); });
    BindEvents();
    BindCommands();
    resize(800, 600);
    CentreOnDesktop();
}

void TfrmJukebox::CentreOnDesktop()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect desktop = screen->availableGeometry();
        move(desktop.left() + (desktop.width() - width()) / 2,
             desktop.top() + (desktop.height() - height()) / 2);
    }
}

TfrmJukebox::~TfrmJukebox()
{
    // No tick and no rebuild notice reaches a window half gone.
    ssTimer->OnTimer = nullptr;
    JukeboxListEvents.OnGlobalListChanging = nullptr;
    NoCDJukeboxListEvents.OnGlobalListChanging = nullptr;
    // Its lists link the main library's songs: it goes first.
    NoCDJukebox.reset();
}

void TfrmJukebox::BindEvents()
{
    PlayerEvents.OnGetNextTagger = [this](TcustomMediaPlayer* s, const TaudioTag*& tag) {
        PlayerEventsGetNextTagger(s, tag);
    };
    PlayerEvents.OnFileNotFound = [this](TcustomMediaPlayer*, const TaudioTag* tag) {
        if (!closing_)
            Guarded([this, tag] { GetJukebox().SongMissing(tag); });
    };
    PlayerEvents.OnPlaybackStart = [this](TcustomMediaPlayer* s, const TaudioTag* tag) {
        PlayerEventsPlaybackStart(s, tag);
    };
    PlayerEvents.OnPlaybackFinished = [this](TcustomMediaPlayer* s, const TaudioTag* tag) {
        PlayerEventsPlaybackFinished(s, tag);
    };
    PlayerEvents.OnStateChange = [this](TcustomMediaPlayer* s, TmediaPlayState state) {
        PlayerEventsStateChange(s, state);
    };
    PlayerEvents.OnVolumeChange = [this](TcustomMediaPlayer* s, std::uint8_t volume) {
        PlayerEventsVolumeChange(s, volume);
    };
    JukeboxEvents.OnQueueChange = [this](TcustomJukebox* s) { JukeboxEventsQueueChange(s); };
    JukeboxEvents.OnStackerChange = [this](TcustomJukebox* s) { JukeboxEventsStackerChange(s); };
    JukeboxEvents.OnStackerListChange = [this](TcustomJukebox* s, TaudioTagList* list) {
        JukeboxEventsStackerListChange(s, list);
    };
    JukeboxEvents.OnPlaylistChange = [this](TcustomJukebox* s) { JukeboxEventsPlaylistChange(s); };
    JukeboxEvents.OnActivePreloadedListChanged = [this](TcustomJukebox* s, TaudioTagList* list) {
        JukeboxEventsActivePreloadedListChanged(s, list);
    };
    JukeboxListEvents.SetPlayerEvents(&PlayerEvents);
    JukeboxListEvents.SetJukeboxEvents(&JukeboxEvents);
    JukeboxListEvents.OnGlobalListChange = [this](TcustomJukeboxList* s) {
        JukeboxListEventsGlobalListChange(s);
    };
    JukeboxListEvents.OnPlaylistsChange = [this](TcustomJukeboxList* s) {
        JukeboxListEventsPlaylistsChange(s);
    };
    JukeboxListEvents.OnPlaylistListChange = [this](TcustomJukeboxList* s, TaudioTagList* list) {
        JukeboxListEventsPlaylistListChange(s, list);
    };
    JukeboxListEvents.OnListProcessStart = [this](TcustomJukeboxList* s, const std::string& text) {
        JukeboxListEventsListProcessStart(s, text);
    };
    JukeboxListEvents.OnListProcess = [this](TcustomJukeboxList* s, std::uint32_t index, std::uint32_t count,
                                             TaudioTag* tag) {
        JukeboxListEventsListProcess(s, index, count, tag);
    };
    JukeboxListEvents.OnListProcessFinished = [this](TcustomJukeboxList* s) {
        JukeboxListEventsListProcessFinished(s);
    };
    NoCDJukeboxListEvents.OnGlobalListChange = [this](TcustomJukeboxList* s) {
        NoCDJukeboxListEventsGlobalListChange(s);
    };
    // Raised in the middle of a load or a rebuild: a failure must not break it off.
    JukeboxListEvents.OnGlobalListChanging = [this](TcustomJukeboxList*) {
        // The library without CDs shares the songs about to go.
        Guarded([this] { NoCDJukebox->Release(); });
        Guarded([this] { LibraryChanging(); });
    };
    NoCDJukeboxListEvents.OnGlobalListChanging = [this](TcustomJukeboxList* s) {
        Guarded([this, s] { NoCDJukeboxListEventsGlobalListChanging(s); });
    };
    alarmOn->OnTime = [this](Talarm* s) { alarmOnTime(s); };
    alarmOff->OnTime = [this](Talarm* s) { alarmOffTime(s); };
}

void TfrmJukebox::BindCommands()
{
    using C = TjukeboxCommand;
    TjukeboxCommands& c = *commands_;
    c.Bind(C::FileQueueFile, [this] { QueueFile(); });
    c.Bind(C::FileRefreshCDs, [this] { ScanCDs(false); });
    c.Bind(C::FileScanFolders, [this] { ShowMediaFolders(false); });
    c.Bind(C::FileInformation, [this] { ShowJukeboxInfo(GetLocalJukeboxList(), this); });
    c.Bind(C::FileExit, [this] {
        exitRequested_ = !IsPartyPlay();
        close();
    });
    c.Bind(C::SettingsMusicFolders, [this] { ShowMediaFolders(false); });
    c.Bind(C::SettingsGeneral, [this] { ShowPreferences(GetJukeboxList(), *this, "general"); });
    c.Bind(C::SettingsAlarmClock, [this] { EditAlarms(this); });
    c.Bind(C::SettingsPlayer, [this] { GetPlayer().Configure(); });
    c.Bind(C::SettingsPlugins, [this] {
        ConfigurePluginsFolder(this, {[this] { return GetTagReadersFolder(); },
                                      [this](const std::string& folder) { SetTagReadersFolder(folder); }});
    });
    c.Bind(C::ControlPlay, [this] { Play(false); });
    c.Bind(C::ControlNext, [this] { PlayNext(false); });
    c.Bind(C::ControlPause, [this] { Pause(false); });
    c.Bind(C::ControlStop, [this] { Stop(false); });
    c.Bind(C::RandomPlayFilters, [this] { SetRandomPlayFilters(); });
    c.Bind(C::QueueAlbum, [this] { QueueAlbum(); });
    c.Bind(C::QueueRandomize, [this] { GetJukebox().Queue().Shuffle(); });
    c.Bind(C::QueueClear, [this] { ClearQueue(false); });
    c.Bind(C::PlaylistsShow, [this] {
        if (playlist_)
            playlist_->ShowPlaylist(&GetLocalJukeboxList());
    });
    c.Bind(C::PlaylistsShowEditor, [this] { ShowPlaylistEditor(false); });
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
    c.Bind(C::StackerConfigure, [this] { ConfigureStacker(false); });
    c.Bind(C::StackerLoadCartridge, [this] { LoadCartridge(0); });
    c.Bind(C::StackerAddCartridge, [this] { LoadCartridge(1); });
    c.Bind(C::StackerSaveCartridge, [this] { SaveStackerCartridge(); });
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
        C::StackerEnabled, [this] { ToggleStacker(false); },
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

void TfrmJukebox::SetUpScreenSaverFonts()
{
    tfScreenSaver.BeginUpdate();
    tfScreenSaver.SetNiceName("Screen Saver");
    tfScreenSaver.SetColor(clBlack);
    const struct
    {
        TtagFonts::FontKind kind;
        TColor color;
        const char* niceName;
    } fonts[] = {
        {TtagFonts::fkArtist, RGBColor(0x81, 0xFE, 0xDC), "Artist"},
        {TtagFonts::fkAlbum, RGBColor(0x80, 0x80, 0xFF), "Album"},
        {TtagFonts::fkTitle, RGBColor(0x86, 0xFF, 0x80), "Title"},
        {TtagFonts::fkCharacter, RGBColor(0xFF, 0x80, 0xEC), "Characters"},
        {TtagFonts::fkDuration, RGBColor(0xFF, 0xCC, 0x80), nullptr},
        {TtagFonts::fkIndex, RGBColor(0xBC, 0x80, 0xFF), "Track Number"},
    };
    for (const auto& f : fonts) {
        TFontDesc font;
        font.Name = "Arial Black";
        font.Size = PixelsToPoints(27);
        font.Color = f.color;
        tfScreenSaver.SetFont(f.kind, font);
        if (f.niceName)
            tfScreenSaver.SetFontNiceName(f.kind, f.niceName);
    }
    tfScreenSaver.EndUpdate();
}

// ---- Creation and destruction

void TfrmJukebox::FormCreate()
{
    CheckSingleInstance();
    if (!library_)
        library_ = CreateJukeboxList();
    cartridges_ = std::make_unique<TstackerCartridges>(library_.get(), [this] { return !StackerLocked(); });
    if (library_)
        library_->SetEvents(&JukeboxListEvents);
    NoCDJukebox->SetEvents(&NoCDJukeboxListEvents);
    Loader.SetJukeboxList(library_.get());
    if (library_ && library_->Jukebox())
        library_->Jukebox()->Playlist().SetTitle("RUNNING");
    MirrorMainMenu();
    CreateFolders();
    if (library_) {
        library_->Artists().SetMappingListFile(GetSettingsFolder() + "/mappings.txt");
        library_->SetDataFolder(GetDataFolder());
    }
    NoCDJukebox->SetDataFolder(GetDataFolder());

    std::unique_ptr<TcustomMediaPlayer> player = CreatePlayer();
    player_ = player.get();
    if (player_)
        player_->Initialise(static_cast<platform::TWindowHandle>(winId()));
    if (player && library_ && library_->Jukebox())
        library_->Jukebox()->SetPlayer(std::move(player));
    else
        player_ = nullptr; // nobody would own it
    if (player_)
        TaggerLoader().SetSupportLevel(static_cast<std::uint32_t>(player_->GetSupportLevel()));
    // The tag readers' settings are the user's, beside settings.ini; the plug-in folder may be shared or
    // read-only.
    TaggerLoader().SetSettingsFolder(GetSettingsFolder());

    ApplyTitleHints();
    myHH1->SetFileName(GetHelpFile());
    myHH1->Attach();
}

void TfrmJukebox::FormDestroy()
{
    activity_->Remove();
    UnlinkWindows();
    myHH1->Detach();
    ReleaseSingleInstance();
}

void TfrmJukebox::LinkWindows()
{
    if (playlistEditor_)
        playlistEditor_->SetJukebox(this);
    if (reports_)
        reports_->SetJukebox(this);
    if (stackerList_)
        stackerList_->SetJukebox(library_.get(), this, NoCDJukebox.get());
    if (partyPlay_)
        partyPlay_->SetJukebox(this);
    if (screenSaver_)
        screenSaver_->SetJukebox(this);
}

void TfrmJukebox::UnlinkWindows()
{
    if (partyPlay_ && partyPlay_->Jukebox() == this)
        partyPlay_->SetJukebox(nullptr);
    if (reports_ && reports_->Jukebox() == this)
        reports_->SetJukebox(nullptr);
    if (playlistEditor_ && playlistEditor_->Jukebox() == this)
        playlistEditor_->SetJukebox(nullptr);
    if (stackerList_ && stackerList_->Jukebox() == library_.get())
        stackerList_->SetJukebox(nullptr, nullptr);
    if (screenSaver_ && screenSaver_->Jukebox() == this) {
        screenSaver_->close();
        screenSaver_->SetJukebox(nullptr);
    }
}

void TmainWindowDeleter::operator()(TfrmJukebox* window) const
{
    Guarded([window] { window->FormDestroy(); });
    delete window;
}

void TfrmJukebox::ApplyTitleHints()
{
    const QString title = QString::fromStdString(ApplicationTitle());
    TjukeboxActions::SetHint(alMain.actnFileExit, QStringLiteral("Exit ") + title);
    TjukeboxActions::SetHint(alMain.actnHelpHelp, QStringLiteral("Help for ") + title);
    TjukeboxActions::SetHint(alMain.actnHelpAbout, QStringLiteral("About ") + title);
    TjukeboxActions::SetHint(alMain.actnViewMinimize, QStringLiteral("Minimize ") + title);
}

void TfrmJukebox::CreateFolders() const
{
    for (const std::string& folder : {GetDataFolder(), GetSettingsFolder(), GetCartridgesFolder(),
                                      GetReportsFolder(), GetPluginsFolder(), GetDocsFolder()})
        platform::ForceDirectories(folder);
}

void TfrmJukebox::MirrorMainMenu()
{
    pmMain->clear();
    const std::function<void(const QMenu* from, QMenu* into)> copy = [&copy](const QMenu* from, QMenu* into) {
        for (QAction* item : from->actions()) {
            if (item->isSeparator()) {
                into->addSeparator()->setVisible(item->isVisible());
            } else if (QMenu* sub = item->menu()) {
                QMenu* mirror = into->addMenu(sub->title());
                mirror->setObjectName(sub->objectName());
                mirror->menuAction()->setVisible(item->isVisible());
                copy(sub, mirror);
            } else {
                into->addAction(item);
            }
        }
    };
    for (QAction* top : menuBar()->actions()) {
        if (QMenu* sub = top->menu()) {
            QMenu* mirror = pmMain->addMenu(sub->title());
            mirror->setObjectName(sub->objectName());
            mirror->menuAction()->setVisible(top->isVisible());
            copy(sub, mirror);
        } else if (top->isSeparator()) {
            pmMain->addSeparator();
        } else {
            pmMain->addAction(top);
        }
    }
}

// ---- Single instance

void TfrmJukebox::CheckSingleInstance()
{
    gateHasRun_ = true;
}

bool TfrmJukebox::OwnsSingleInstance() const
{
    return gate_ == nullptr || gate_->Owns();
}

void TfrmJukebox::ReleaseSingleInstance()
{
    if (gateHasRun_ && gate_)
        gate_->Release();
}

// ---- Library and player

TcustomJukeboxList& TfrmJukebox::GetJukeboxList() const
{
    return GetLocalJukeboxList();
}

TcustomlocalJukeboxList& TfrmJukebox::GetLocalJukeboxList() const
{
    if (!library_)
        throw EOrvaneError("No Jukebox has been assigned.");
    return *library_;
}

TlocalJukebox& TfrmJukebox::GetJukebox() const
{
    TlocalJukebox* jukebox = GetLocalJukeboxList().Jukebox();
    if (!jukebox)
        throw EOrvaneError("No Jukebox has been assigned.");
    return *jukebox;
}

TcustomMediaPlayer& TfrmJukebox::GetPlayer() const
{
    if (!player_)
        throw EOrvaneError("No Player has been assigned.");
    return *player_;
}

// ---- Folders

std::string TfrmJukebox::GetProgramFolder() const
{
    return platform::ProgramFolder();
}

std::string TfrmJukebox::GetDataFolder() const
{
    return platform::DataFolder();
}

std::string TfrmJukebox::GetSettingsFolder() const
{
    return platform::SettingsFolder();
}

std::string TfrmJukebox::GetSettingsFile() const
{
    return GetSettingsFolder() + "/settings.ini";
}

std::string TfrmJukebox::GetCartridgesFolder() const
{
    return platform::CartridgesFolder();
}

std::string TfrmJukebox::GetReportsFolder() const
{
    return platform::ReportsFolder();
}

std::string TfrmJukebox::GetReportsIniFile() const
{
    return GetReportsFolder() + "/reports.ini";
}

std::string TfrmJukebox::GetPluginsFolder() const
{
    return platform::PluginsFolder();
}

std::string TfrmJukebox::GetDocsFolder() const
{
    return platform::DocsFolder();
}

std::string TfrmJukebox::GetHelpFile() const
{
    // The help is a page the desktop's viewer opens, named after the program.
    return GetDocsFolder() + "/OrvaneJukebox.html";
}

std::string TfrmJukebox::GetTagReadersFolder() const
{
    return tagReadersFolder_.empty() ? platform::TagPluginsFolder() : tagReadersFolder_;
}

void TfrmJukebox::SetTagReadersFolder(const std::string& folder)
{
    // The shipped folder is kept as "the shipped folder", so a moved or reinstalled program still finds
    // its plug-ins; a folder of the user's own stays as chosen.
    const std::string chosen = WithoutTrailingSlash(folder);
    tagReadersFolder_ = chosen == WithoutTrailingSlash(platform::TagPluginsFolder()) ? std::string() : chosen;
    TaggerLoader().SetPluginFolder(GetTagReadersFolder());
}

// ---- Accessors

bool TfrmJukebox::GetShowTimeRemaining() const
{
    return alMain.actnSettingsShowTimeRemaining->isChecked();
}

bool TfrmJukebox::GetAlwaysOnTop() const
{
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TfrmJukebox::SetAlwaysOnTop(bool on)
{
    BeforeFormStyleChange();
    hide();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    alMain.actnSettingsAlwaysOnTop->setChecked(GetAlwaysOnTop());
    show();
    AfterFormStyleChange();
}

int TfrmJukebox::GetKeyboardWidth() const
{
    const TfrmKeyboard* keyboard = FindKeyboardForm();
    return keyboard != nullptr ? keyboard->width() : keyboardWidth_;
}

void TfrmJukebox::SetKeyboardWidth(int value)
{
    keyboardWidth_ = value;
    if (TfrmKeyboard* keyboard = FindKeyboardForm())
        keyboard->resize(value, keyboard->height());
}

int TfrmJukebox::GetKeyboardHeight() const
{
    const TfrmKeyboard* keyboard = FindKeyboardForm();
    return keyboard != nullptr ? keyboard->height() : keyboardHeight_;
}

void TfrmJukebox::SetKeyboardHeight(int value)
{
    keyboardHeight_ = value;
    if (TfrmKeyboard* keyboard = FindKeyboardForm())
        keyboard->resize(keyboard->width(), value);
}

bool TfrmJukebox::GetKeyboardsEnabled() const
{
    return alMain.actnViewKeyboards->isChecked();
}

void TfrmJukebox::SetKeyboardsEnabled(bool on)
{
    alMain.actnViewKeyboards->setChecked(on);
}

bool TfrmJukebox::GetShowTipsAtStartup() const
{
    return tdMain->ShowAtStart();
}

void TfrmJukebox::SetShowTipsAtStartup(bool on)
{
    tdMain->SetShowAtStart(on);
}

bool TfrmJukebox::GetScreenSaverEnabled() const
{
    return ssTimer && ssTimer->Enabled();
}

void TfrmJukebox::SetScreenSaverEnabled(bool on)
{
    if (ssTimer)
        ssTimer->SetEnabled(on);
}

void TfrmJukebox::SetScreenSaverTimeout(int minutes)
{
    screenSaverTimeout_ = minutes < 0 ? kMaxScreenSaverTimeout
                                      : std::min(static_cast<unsigned>(minutes), kMaxScreenSaverTimeout);
    idle_.SetTimeout(static_cast<int>(screenSaverTimeout_));
}

bool TfrmJukebox::GetAutoPlay() const
{
    return alMain.actnSettingsAutoPlay->isChecked();
}

void TfrmJukebox::SetAutoPlay(bool on)
{
    alMain.actnSettingsAutoPlay->setChecked(on);
}

bool TfrmJukebox::GetRandomPlayEnabled() const
{
    return GetJukebox().RandomPlay();
}

void TfrmJukebox::SetRandomPlayEnabled(bool on)
{
    GetJukebox().SetRandomPlay(on);
    alMain.actnRandomPlayEnabled->setChecked(GetJukebox().RandomPlay());
}

bool TfrmJukebox::GetStackerEnabled() const
{
    return GetJukebox().Stacker().Active();
}

std::string TfrmJukebox::GetStackerTitle() const
{
    return GetJukebox().GetStackerStatus();
}

bool TfrmJukebox::IsPartyPlay() const
{
    return alMain.actnPartyPlayEnabled->isChecked();
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

void TfrmJukebox::LoadSettings(const TIniFile& ini)
{
    SetShowTimeRemaining(ini.ReadBool(kPreferences, "ShowTimeRemaining", false));
    SetAlwaysOnTop(ini.ReadBool(kPreferences, "AlwaysOnTop", false));
    SetShowTipsAtStartup(ini.ReadBool(kPreferences, "ShowTipsAtStartup", true));
    tdMain->SetTipNo(ini.ReadInteger(kPreferences, "LastTipNo", 0));
    SetAutoPlay(ini.ReadBool(kPreferences, "AutoPlay", false));

    SetKeyboardWidth(ReadExtent(ini, kKeyboards, "KeyboardWidth", GetKeyboardWidth()));
    SetKeyboardHeight(ReadExtent(ini, kKeyboards, "KeyboardHeight", GetKeyboardHeight()));
    SetKeyboardsEnabled(ini.ReadBool(kKeyboards, "Enabled", true));

    SetScreenSaverEnabled(ini.ReadBool(kScreenSaver, "Enabled", false));
    SetScreenSaverTimeout(ini.ReadInteger(kScreenSaver, "Timeout", 5, 1, 60));

    SetRandomPlayEnabled(ini.ReadBool(kRandomPlay, "Enabled", true));

    SetTagReadersFolder(
        ExistingTagReadersFolder(ini.ReadString(kPaths, "TagReaders", StoredTagReadersFolder())));
    SetCoverArtFolder(ini.ReadString(kPaths, "CoverArt", ""));
    SetPlaylistsFolder(ini.ReadString(kPaths, "Playlists", GetProgramFolder()));

    SetMaintainAlarms(ini.ReadBool(kAlarm, "Maintain", false));
    alarmOn->SetTime(ReadAlarmTime(ini, kAlarm, "TimeOn", kNoon));
    alarmOff->SetTime(ReadAlarmTime(ini, kAlarm, "TimeOff", kNoon));
    if (GetMaintainAlarms()) {
        alarmOn->SetEnabled(ini.ReadBool(kAlarm, "TimeOnEnabled", false));
        alarmOff->SetEnabled(ini.ReadBool(kAlarm, "TimeOffEnabled", false));
    }

    SetStackerEnabled(ini.ReadBool(kStacker, "Enabled", false));

    GetPlayer().LoadSettings(ini, kPlayer);
}

void TfrmJukebox::SaveSettings(TIniFile& ini)
{
    ini.WriteBool(kPreferences, "ShowTimeRemaining", GetShowTimeRemaining());
    ini.WriteBool(kPreferences, "AlwaysOnTop", GetAlwaysOnTop());
    ini.WriteBool(kPreferences, "ShowTipsAtStartup", GetShowTipsAtStartup());
    ini.WriteInteger(kPreferences, "LastTipNo", tdMain->TipNo());
    ini.WriteBool(kPreferences, "AutoPlay", GetAutoPlay());

    ini.WriteInteger(kKeyboards, "KeyboardWidth", GetKeyboardWidth());
    ini.WriteInteger(kKeyboards, "KeyboardHeight", GetKeyboardHeight());
    ini.WriteBool(kKeyboards, "Enabled", GetKeyboardsEnabled());

    ini.WriteBool(kScreenSaver, "Enabled", GetScreenSaverEnabled());
    ini.WriteInteger(kScreenSaver, "Timeout", static_cast<int>(GetScreenSaverTimeout()));

    ini.WriteBool(kStacker, "Enabled", GetStackerEnabled());
    ini.WriteBool(kRandomPlay, "Enabled", GetRandomPlayEnabled());

    // "" is the shipped folder, wherever the program lives.
    ini.WriteString(kPaths, "TagReaders", StoredTagReadersFolder());
    ini.WriteString(kPaths, "CoverArt", GetCoverArtFolder());
    ini.WriteString(kPaths, "Playlists", GetPlaylistsFolder());

    ini.WriteBool(kAlarm, "Maintain", GetMaintainAlarms());
    WriteAlarmTime(ini, kAlarm, "TimeOn", alarmOn->Time());
    WriteAlarmTime(ini, kAlarm, "TimeOff", alarmOff->Time());
    ini.WriteBool(kAlarm, "TimeOnEnabled", alarmOn->Enabled());
    ini.WriteBool(kAlarm, "TimeOffEnabled", alarmOff->Enabled());

    GetPlayer().SaveSettings(ini, kPlayer);
    GetJukeboxList().SaveSettings(ini, kJukebox);
    if (partyPlay_)
        partyPlay_->SaveSettings(ini, kPartyPlay);
    if (playlistEditor_)
        playlistEditor_->SaveSettings(ini, kPlaylistEditor);
    if (stackerList_)
        stackerList_->SaveSettings(ini, kStacker);
}

void TfrmJukebox::SetShowTimeRemaining(bool on)
{
    alMain.actnSettingsShowTimeRemaining->setChecked(on);
}

void TfrmJukebox::StackerChanged() {}

void TfrmJukebox::QueueChanged()
{
    if (partyPlay_)
        partyPlay_->RefreshQueue();
}

void TfrmJukebox::PlaylistChanged()
{
    if (closing_)
        return;
    if (playlistEditor_)
        playlistEditor_->PlaylistChanged();
    if (playlist_)
        playlist_->Refresh(library_.get());
}

void TfrmJukebox::PlaybackStarted(const TaudioTag* song)
{
    GetJukebox().SongStarted(song);
    StackerChanged();
    if (screenSaver_)
        screenSaver_->SetSong(song);
}

void TfrmJukebox::PlayerStateChanged(TmediaPlayState) {}

void TfrmJukebox::VolumeChanged(std::uint8_t) {}

void TfrmJukebox::PlaylistsChanged()
{
    if (closing_)
        return;
    if (playlistEditor_)
        playlistEditor_->PlaylistsChanged();
    if (playlist_)
        playlist_->Refresh(library_.get());
}

void TfrmJukebox::PlaylistListChanged(TaudioTagList* list)
{
    if (closing_)
        return;
    if (playlistEditor_)
        playlistEditor_->PlaylistListChanged(list);
    if (playlist_)
        playlist_->Refresh(library_.get());
}

void TfrmJukebox::ActivePreloadedListChanged(TaudioTagList* list)
{
    if (closing_)
        return;
    if (playlistEditor_)
        playlistEditor_->SelectActivePlaylist(list);
    if (playlist_)
        playlist_->Refresh(library_.get());
    commands_->SetAvailable(TjukeboxCommand::PlaylistEnabled, list != nullptr);
}

std::unique_ptr<TcustomlocalJukeboxList> TfrmJukebox::CreateJukeboxList()
{
    return nullptr;
}

std::unique_ptr<TcustomMediaPlayer> TfrmJukebox::CreatePlayer()
{
    return nullptr;
}

TfrmAbout* TfrmJukebox::GetAboutForm() const
{
    return nullptr;
}

void TfrmJukebox::BeforeFormStyleChange() {}

void TfrmJukebox::AfterFormStyleChange() {}

void TfrmJukebox::LoadPreferences()
{
    settingsLoaded_ = true;
    FillTips(tdMain->Tips(), ApplicationTitle());
    const TIniFile ini(GetSettingsFile());
    KeepDamagedSettings(ini);
    LoadSettings(ini);
}

void TfrmJukebox::SavePreferences()
{
    // The file's current contents stay in the object, so keys nobody writes survive.
    TIniFile ini(GetSettingsFile());
    SaveSettings(ini);
    ini.UpdateFile();
}

void TfrmJukebox::ShowMediaFolders(bool force)
{
    if (!force && IsPartyPlay())
        return;
    ShowMediaSearch(GetJukeboxList(), this, &busy_, [this](TfrmMusicSearch*) { LibraryChanging(); });
}

void TfrmJukebox::ScanCDs(bool force)
{
    if (Gate(false, TpartyPlayGate::OptionOf(TjukeboxCommand::FileRefreshCDs)))
        TcdScanner(GetJukeboxList(), Loader).ScanCDs(force);
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

QWidget* TfrmJukebox::HostWindow() const
{
    return const_cast<TfrmJukebox*>(this);
}

void TfrmJukebox::TogglePartyPlay()
{
    commands_->Run(TjukeboxCommand::PartyPlayEnabled);
}

const TcustomJukeboxList* TfrmJukebox::SearchLibrary() const
{
    return library_.get();
}

TcustomJukeboxList* TfrmJukebox::ReportLibrary() const
{
    return library_.get();
}

void TfrmJukebox::LibraryChanging()
{
    // Nothing on this window links into the library's groupings; the library browser lets go of its own
    // links in its override.
}

TcustomJukeboxList* TfrmJukebox::LibraryWithoutCDs()
{
    if (NoCDJukebox->Stale() || noCDPlaylistsStale_)
        FollowLibrary(true);
    return NoCDJukebox.get();
}

void TfrmJukebox::PrepareTreeLibrary()
{
    (void)LibraryWithoutCDs();
}

void TfrmJukebox::FollowLibrary(bool quietly)
{
    const platform::TValueGuard quiet(followingQuietly_, quietly);
    if (NoCDJukebox->Stale() && library_)
        NoCDJukebox->Follow(*library_);
    if (noCDPlaylistsStale_) {
        noCDPlaylistsStale_ = false;
        NoCDJukebox->LoadPlaylists();
    }
}

bool TfrmJukebox::StackerLocked() const
{
    return !Gate(false, TpartyPlayOption::StackerControl);
}

void TfrmJukebox::Startup()
{
    {
        // A close asked for while the library loads waits until the load is done.
        const TbusyGuard::TScope busy(busy_);
        ShowSplash();
        PlayerEventsPlaybackStart(player_, nullptr);
        LinkWindows();
        Loader.LoadAll();
        {
            const TIniFile ini(GetSettingsFile());
            GetJukeboxList().LoadSettings(ini, kJukebox);
            if (partyPlay_)
                partyPlay_->LoadSettings(ini, kPartyPlay);
            if (playlistEditor_)
                playlistEditor_->LoadSettings(ini, kPlaylistEditor);
            if (stackerList_)
                stackerList_->LoadSettings(ini, kStacker);
        }
        PartyPlaySettingsLoaded();
        // After the library's settings: a library with media folders of its own is not a first start.
        if (loadDemoLibrary_)
            demolibrary::LoadIfEmpty(GetJukeboxList());
        StackerChanged();
        PlayerStateChanged(mpsStopped);
    }
    if (closing_)
        return;
    TellUnreadableFiles(Loader.UnreadableFiles());
    if (closing_)
        return;
    // The tip window is modal: it comes up once the start-up step is over, so it holds up neither the
    // rest of the start nor auto play.
    QTimer::singleShot(0, this, [this] { ShowDeferredTips(); });
    activity_->Install();
    if (GetAutoPlay())
        Play(true);
}

void TfrmJukebox::TellUnreadableFiles(const std::vector<std::string>& files)
{
    if (files.empty())
        return;
    std::string text = "These library files could not be read in full; they are kept as they are on disk "
                       "until the library is saved again:";
    for (const std::string& file : files)
        text += "\r" + file;
    ShowMessageBox(text, ApplicationTitle(), TmessageButtons::Ok, TmessageIcon::Warning);
}

void TfrmJukebox::ShowSplash()
{
    if (TfrmAbout* about = GetAboutForm())
        about->ShowSplash();
}

TQuyTipDialogForm* TfrmJukebox::StartupTip() const
{
    return startupTip_;
}

void TfrmJukebox::ShowDeferredTips()
{
    if (closing_ || !isVisible() || !GetShowTipsAtStartup() || startupTip_ || !tdMain->CreateForm)
        return;
    // Not blocking: the player's hand-over of the auto-played song may be letting messages run.
    startupTip_ = ShowStartupTip(*tdMain, this);
    // The splash stays on top of everything for its few seconds, also where no window manager keeps it
    // there.
    if (TfrmAbout* about = GetAboutForm(); about && about->isVisible())
        about->raise();
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
    const TfrmPartyPlay* form = partyPlay_;
    if (!form)
        return false;
    switch (option) {
    case TpartyPlayOption::VolumeChange:
        return form->GetDisableVolumeChange();
    case TpartyPlayOption::TrackSearching:
        return form->GetDisableTrackSearching();
    case TpartyPlayOption::QueueControls:
        return form->GetDisableQueueControls();
    case TpartyPlayOption::NextControl:
        return form->GetDisableNextControl();
    case TpartyPlayOption::PauseControl:
        return form->GetDisablePauseControl();
    case TpartyPlayOption::StopControl:
        return form->GetDisableStopControl();
    case TpartyPlayOption::StackerControl:
        return form->GetDisableStackerControl();
    case TpartyPlayOption::PlaylistEditor:
        return form->GetDisablePlaylistEditor();
    case TpartyPlayOption::ApplicationClose:
        return form->GetDisableApplicationClose();
    case TpartyPlayOption::None:
        return false;
    case TpartyPlayOption::Always:
        return true;
    }
    return false;
}

bool TfrmJukebox::Gate(bool force, TpartyPlayOption option) const
{
    return PartyPlayGate().Allows(option, force);
}

void TfrmJukebox::SetVolume(std::uint8_t volume, bool force)
{
    if (Gate(force, TpartyPlayOption::VolumeChange))
        GetPlayer().SetVolume(volume);
}

void TfrmJukebox::SetPosition(std::uint32_t ms, bool force)
{
    if (!closing_ && Gate(force, TpartyPlayOption::TrackSearching))
        GetPlayer().SetPosition(ms);
}

void TfrmJukebox::ClearQueue(bool force)
{
    if (!Gate(force, TpartyPlayOption::QueueControls) || GetJukebox().Queue().GetCount() == 0)
        return;
    if (ShowMessageBox("Are you sure you want to clear the queue?", ApplicationTitle(),
                       TmessageButtons::OkCancel, TmessageIcon::Warning) == TmessageResult::Ok)
        GetLocalJukeboxList().QueueClear();
}

void TfrmJukebox::DeleteQueueItem(int index, bool force)
{
    if (Gate(force, TpartyPlayOption::QueueControls))
        GetLocalJukeboxList().QueueDelete(index);
}

void TfrmJukebox::MoveQueueItemDown(int index, bool force)
{
    if (Gate(force, TpartyPlayOption::QueueControls))
        GetLocalJukeboxList().QueueMoveDown(index);
}

void TfrmJukebox::MoveQueueItem(int from, int to, bool force)
{
    if (Gate(force, TpartyPlayOption::QueueControls))
        GetJukebox().Queue().Move(from, to);
}

void TfrmJukebox::MoveQueueItemUp(int index, bool force)
{
    if (Gate(force, TpartyPlayOption::QueueControls))
        GetLocalJukeboxList().QueueMoveUp(index);
}

void TfrmJukebox::PlayNext(bool force)
{
    if (Gate(force, TpartyPlayOption::NextControl))
        GetPlayer().Next();
}

void TfrmJukebox::Pause(bool force)
{
    if (Gate(force, TpartyPlayOption::PauseControl))
        GetPlayer().Pause();
}

void TfrmJukebox::Play(bool)
{
    GetPlayer().Play();
}

void TfrmJukebox::Stop(bool force)
{
    if (Gate(force, TpartyPlayOption::StopControl))
        GetPlayer().Stop();
}

void TfrmJukebox::ToggleStacker(bool force)
{
    if (Gate(force, TpartyPlayOption::StackerControl))
        SetStackerEnabled(!GetStackerEnabled());
}

void TfrmJukebox::ConfigureStacker(bool force)
{
    if (!Gate(force, TpartyPlayOption::StackerControl) || !stackerList_ || stackerList_->isVisible())
        return;
    stackerList_->exec();
}

void TfrmJukebox::ShowPlaylistEditor(bool force)
{
    if (!Gate(force, TpartyPlayOption::PlaylistEditor) || !playlistEditor_ || playlistEditor_->isVisible())
        return;
    playlistEditor_->exec();
}

void TfrmJukebox::LoadCartridge(int mode)
{
    cartridges_->LoadCartridge(this, mode == 1);
}

void TfrmJukebox::SaveStackerCartridge()
{
    cartridges_->SaveCartridge(this);
}

bool TfrmJukebox::AddListToStacker(const TaudioTagList& list)
{
    return cartridges_->AddListToStacker(list);
}

// ---- Idle detection

bool TfrmJukebox::IsActiveHost() const
{
    return isActiveWindow();
}

void TfrmJukebox::IdleTick()
{
    if (closing_)
        return;
    // The screensaver comes up modeless over whatever the main window shows; a modal window of the
    // program keeps the main window from being the active one, so none shows over a dialog.
    ScreenSaverIdleTick(idle_, *activity_, screenSaver_, IsActiveHost());
}

// ---- Closing

void TfrmJukebox::CloseFromSystem()
{
    closeFromSystem_ = true;
    close();
}

void TfrmJukebox::closeEvent(QCloseEvent* event)
{
    if (closing_) {
        event->accept();
        return;
    }
    if (busy_.Busy()) {
        event->ignore();
        // The close runs once the operation is over, from the event loop, not from inside the operation.
        busy_.RequestClose([this] { QTimer::singleShot(0, this, [this] { close(); }); });
        return;
    }
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) {
        event->ignore();
        if (closeFromSystem_)
            SaveWithoutClosing();
        closeFromSystem_ = false;
        return;
    }
    FormClose();
    event->accept();
    if (OnClosed)
        OnClosed(this);
}

void TfrmJukebox::contextMenuEvent(QContextMenuEvent* event)
{
    if (!popupEnabled_) {
        event->ignore();
        return;
    }
    pmMain->exec(event->globalPos());
}

void TfrmJukebox::FormCloseQuery(bool& canClose)
{
    canClose = exitRequested_ || Gate(false, TpartyPlayOption::ApplicationClose);
}

void TfrmJukebox::CloseStepPart(const std::function<void()>& part)
{
    Guarded(part);
}

void TfrmJukebox::FormClose()
{
    closing_ = true;
    // The close step always runs to its end: a settings file that cannot be written is told once, after
    // the alarms, the idle timer and the player are shut down.
    std::string saveFailure;
    try {
        // Closed before the settings were read (a signal during the creation step): writing now would put
        // the defaults over the user's settings.
        if (settingsLoaded_) {
            SavePreferences();
            PartyPlayClosed();
        }
    } catch (const std::exception& error) {
        saveFailure = error.what();
    } catch (...) {
        saveFailure = "unknown error";
    }
    CloseStepPart([this] {
        alarmOn->SetEnabled(false);
        alarmOff->SetEnabled(false);
        alarmOn.reset();
        alarmOff.reset();
    });
    CloseStepPart([this] { SetScreenSaverEnabled(false); });
    CloseStepPart([this] {
        if (player_)
            player_->Uninitialise();
    });
    if (saveFailure.empty())
        return;
    const std::string message = "The settings could not be saved.\r" + saveFailure;
    if (OnSaveFailure) {
        CloseStepPart([&] { OnSaveFailure(message); });
        return;
    }
    std::string line = message;
    std::replace(line.begin(), line.end(), '\r', ' ');
    std::fprintf(stderr, "%s: %s\n", ApplicationTitle().c_str(), line.c_str());
    if (!closeFromSystem_)
        CloseStepPart(
            [&] { ShowMessageBox(message, ApplicationTitle(), TmessageButtons::Ok, TmessageIcon::Error); });
}

// ---- Event handlers

void TfrmJukebox::PlayerEventsGetNextTagger(TcustomMediaPlayer*, const TaudioTag*& tag)
{
    tag = closing_ ? nullptr : GetJukebox().GetNextTag();
}

void TfrmJukebox::PlayerEventsPlaybackStart(TcustomMediaPlayer*, const TaudioTag* tag)
{
    if (!closing_)
        PlaybackStarted(tag);
}

void TfrmJukebox::PlayerEventsPlaybackFinished(TcustomMediaPlayer*, const TaudioTag*)
{
    if (!closing_)
        GetPlayer().Next();
}

void TfrmJukebox::PlayerEventsStateChange(TcustomMediaPlayer*, TmediaPlayState state)
{
    if (closing_)
        return;
    StackerChanged();
    PlayerStateChanged(state);
}

void TfrmJukebox::PlayerEventsVolumeChange(TcustomMediaPlayer*, std::uint8_t volume)
{
    if (!closing_)
        VolumeChanged(volume);
}

void TfrmJukebox::JukeboxEventsQueueChange(TcustomJukebox*)
{
    if (!closing_)
        QueueChanged();
}

void TfrmJukebox::JukeboxEventsStackerChange(TcustomJukebox*)
{
    if (closing_)
        return;
    if (stackerList_)
        stackerList_->RefreshStacker();
    if (playlistEditor_)
        playlistEditor_->StackerChanged();
    StackerChanged();
}

void TfrmJukebox::JukeboxEventsStackerListChange(TcustomJukebox*, TaudioTagList* list)
{
    if (!closing_ && playlistEditor_)
        playlistEditor_->StackerListChanged(list);
}

void TfrmJukebox::JukeboxEventsPlaylistChange(TcustomJukebox*)
{
    if (!closing_)
        PlaylistChanged();
}

void TfrmJukebox::JukeboxEventsActivePreloadedListChanged(TcustomJukebox*, TaudioTagList* list)
{
    if (!closing_)
        ActivePreloadedListChanged(list);
}

void TfrmJukebox::JukeboxListEventsGlobalListChange(TcustomJukeboxList*)
{
    // The library without CDs follows at once while the editor or the stacker window shows its tree;
    // otherwise it is built again when a window next needs it (the windows let go of it already).
    if (closing_)
        return;
    if ((playlistEditor_ && playlistEditor_->isVisible()) || (stackerList_ && stackerList_->isVisible()))
        FollowLibrary(false);
}

void TfrmJukebox::JukeboxListEventsPlaylistsChange(TcustomJukeboxList*)
{
    if (closing_)
        return;
    PlaylistsChanged();
    FollowPlaylists();
}

void TfrmJukebox::JukeboxListEventsPlaylistListChange(TcustomJukeboxList*, TaudioTagList* list)
{
    if (closing_)
        return;
    PlaylistListChanged(list);
    FollowPlaylists();
}

void TfrmJukebox::FollowPlaylists()
{
    // The library without CDs reads them again only once it is built.
    noCDPlaylistsStale_ = true;
    if (!NoCDJukebox->Stale())
        FollowLibrary(false);
}

void TfrmJukebox::JukeboxListEventsListProcessStart(TcustomJukeboxList*, const std::string& text)
{
    ShowProgress(text);
}

void TfrmJukebox::JukeboxListEventsListProcess(TcustomJukeboxList*, std::uint32_t index, std::uint32_t count,
                                               TaudioTag*)
{
    StepProgress(index, count);
}

void TfrmJukebox::JukeboxListEventsListProcessFinished(TcustomJukeboxList*)
{
    CloseProgress();
}

void TfrmJukebox::NoCDJukeboxListEventsGlobalListChange(TcustomJukeboxList*)
{
    if (closing_ || followingQuietly_ || !playlistEditor_)
        return;
    // A hidden editor fills its tree when it is shown.
    if (playlistEditor_->isVisible())
        playlistEditor_->RebuildTree();
    if (stackerList_)
        stackerList_->LibraryChanged();
}

void TfrmJukebox::NoCDJukeboxListEventsGlobalListChanging(TcustomJukeboxList*)
{
    // A window filling its tree from the view built for it holds no link into it yet.
    if (followingQuietly_)
        return;
    // Not skipped while closing: links into freed songs are never kept.
    if (playlistEditor_)
        playlistEditor_->LibraryChanging();
    if (stackerList_)
        stackerList_->LibraryChanging();
}

void TfrmJukebox::alarmOnTime(Talarm*)
{
    if (!closing_)
        GetPlayer().Play();
}

void TfrmJukebox::alarmOffTime(Talarm*)
{
    if (!closing_)
        GetPlayer().Stop();
}

// ---- Progress

void TfrmJukebox::ShowProgress(const std::string& caption)
{
    if (progress_)
        progress_->ListProcessStart(caption);
}

void TfrmJukebox::StepProgress(std::uint32_t index, std::uint32_t count)
{
    if (progress_)
        progress_->ListProcess(index, count);
}

void TfrmJukebox::CloseProgress()
{
    if (progress_)
        progress_->ListProcessFinished();
}
