// TfrmJukebox's construction and form: the constructor and destructor, the creation and destruction steps,
// the menus, the single-instance gate, the library and the player, the host interfaces and the folders.
// The other concerns are in frmjukeboxcommands.cpp, frmjukeboxevents.cpp, frmjukeboxsettings.cpp and
// frmjukeboxsaving.cpp.
#include "app/windows/frmjukebox.h"

#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmreports.h"
#include "app/qt/services/activitymonitor.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/windows/frmjukeboxinternal.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmscreensaver.h"
#include "app/windows/frmstackerlist.h"
#include "app/windows/stackercartridges.h"
#include "controls/myhh.h"
#include "controls/quytipdialog.h"
#include "controls/windowplacement.h"
#include "core/jukebox/libraryview.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/player/custommediaplayer.h"
#include "core/plugins/taggerloader.h"
#include "core/timers/alarm.h"
#include "core/timers/threadedtimer.h"
#include "core/util/promptservice.h"
#include "platform/error.h"
#include "platform/folders.h"
#include "platform/qtstring.h"
#include "platform/singleinstance.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace {

using frmjukeboxinternal::kNoon;

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
    CentreOnOwner(*this);
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
    cartridges_ = std::make_unique<TstackerCartridges>(library_.get());
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
    const QString title = platform::ToQString(ApplicationTitle());
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

// ---- Host interfaces

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

// ---- Virtual operations

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
