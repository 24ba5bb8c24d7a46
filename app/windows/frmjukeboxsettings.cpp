// TfrmJukebox's settings, start-up and closing: the accessors, reading and writing the main window's part of
// settings.ini, the start-up step with its tips, and the close query and close step.
#include "app/windows/frmjukebox.h"

#include "app/dialogs/frmabout.h"
#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/tips.h"
#include "app/keyboard/frmkeyboard.h"
#include "app/qt/helpers/demolibrary.h"
#include "app/qt/helpers/settingbounds.h"
#include "app/qt/services/activitymonitor.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/windows/frmjukeboxinternal.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmstackerlist.h"
#include "controls/quytipdialog.h"
#include "controls/quytipdialogform.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/player/custommediaplayer.h"
#include "core/timers/alarm.h"
#include "core/timers/alarmtime.h"
#include "core/timers/threadedtimer.h"
#include "core/util/promptservice.h"
#include "platform/inifile.h"

#include <QCloseEvent>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {

using frmjukeboxinternal::kNoon;

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

constexpr unsigned kMaxScreenSaverTimeout = 60;

} // namespace

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

// ---- Start-up

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
    canClose = exitRequested_ || PartyPlayGate().Allows(TpartyPlayOption::ApplicationClose);
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
