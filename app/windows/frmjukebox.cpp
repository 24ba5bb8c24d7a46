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

QWidget* TfrmJukebox::HostWindow() const
{
    return const_cast<TfrmJukebox*>(this);
}

const TcustomJukeboxList* TfrmJukebox::SearchLibrary() const
{
    return library_.get();
}

TcustomJukeboxList* TfrmJukebox::ReportLibrary() const
{
    return library_.get();
}

TaudioTagList* TfrmJukebox::PlayQueue()
{
    return library_ && library_->Jukebox() ? &library_->Jukebox()->Queue() : nullptr;
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
