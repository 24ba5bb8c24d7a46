#include "core/player/winampmediaplayer.h"

#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
#include "core/timers/mainthread.h"
#include "core/timers/threadedtimer.h"
#include "core/util/orvanexutils.h"
#include "core/util/promptservice.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "platform/scopeguard.h"
#include "platform/shellexecute.h"
#include "platform/winampipc.h"

#include <QCoreApplication>

#include <chrono>
#include <exception>
#include <filesystem>
#include <system_error>
#include <thread>
#include <utility>

namespace wa = platform::winamp;
using platform::WM_COMMAND;
using platform::WM_USER;

namespace {

constexpr std::uint32_t kPollInterval = 500;
constexpr int kLookStepMs = 10;
// Hand-overs one request may run: retries after errors, and a fresh choice after a list change that
// arrived while a song was being handed over.
constexpr int kHandOverRounds = 3;
constexpr const char* kHandOverFile = "winamp.m3u";
constexpr const char* kHandOverError = "The song could not be handed to Winamp.";
constexpr const char* kUnknownError = "An unknown error occurred.";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Winamp";

TwinampMediaPlayer::TconfigDialogHook& ConfigDialogHook()
{
    static TwinampMediaPlayer::TconfigDialogHook hook;
    return hook;
}

bool EndsWithSeparator(const std::string& folder)
{
    return !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
}

// folder + "/" + name, without doubling a separator the folder already ends with.
std::string JoinPath(const std::string& folder, const std::string& name)
{
    return EndsWithSeparator(folder) ? folder + name : folder + "/" + name;
}

// The folder part of a file name, with its trailing separator; either separator counts, as a stored
// Windows path uses backslashes.
std::string FolderPart(const std::string& fileName)
{
    const std::size_t separator = fileName.find_last_of("/\\");
    return separator == std::string::npos ? std::string() : fileName.substr(0, separator + 1);
}

std::string MissingFileText(const std::string& fileName)
{
    return "The file " + fileName +
           " could not be located.\rMake sure that all removable/network devices where your files are stored "
           "are connected.  Rescan your Music Folders if you have moved or removed files from your search "
           "paths.";
}

std::string CannotFindText()
{
    return "Winamp cannot be located, it might not be running.\r" + ApplicationTitle() +
           " will not be functional without Winamp running.\rWould you like to try to run Winamp?";
}

} // namespace

TwinampMediaPlayer::TwinampMediaPlayer(TmainThread* mainThread)
    : winampWindowClass_(wa::kWindowClass), handOverList_(std::make_unique<TaudioTagList>())
{
    handOverList_->SetOwnsObjects(true);
    if (mainThread == nullptr)
        mainThread = TmainThread::Default();
    mainThread_ = mainThread;
    if (mainThread != nullptr) {
        pollTimer_ = std::make_unique<TThreadedTimer>(mainThread);
        pollTimer_->SetEnabled(false);
        pollTimer_->SetInterval(kPollInterval);
        pollTimer_->OnTimer = [this](TThreadedTimer*) { PollWinamp(); };
    }
}

TwinampMediaPlayer::~TwinampMediaPlayer()
{
    // A player that never started Winamp leaves it alone.
    if (initialised_)
        Uninitialise();
    pollTimer_.reset();
}

int TwinampMediaPlayer::PlaylistIndex()
{
    return SendToWinamp(WM_USER, 0, wa::IpcGetListPos);
}

void TwinampMediaPlayer::SetPlaylistIndex(int value)
{
    SendToWinamp(WM_USER, value, wa::IpcSetPlaylistPos);
}

bool TwinampMediaPlayer::IsConnected()
{
    return FindWinampWindow(false) != 0;
}

TmediaPlayState TwinampMediaPlayer::GetState()
{
    switch (SendToWinamp(WM_USER, 0, wa::IpcIsPlaying)) {
    case wa::StatePlaying:
        return mpsPlaying;
    case wa::StatePaused:
        return mpsPaused;
    default:
        return mpsStopped;
    }
}

int TwinampMediaPlayer::GetSupportLevel() const
{
    return 2;
}

const TaudioTag* TwinampMediaPlayer::GetCurrentTag() const
{
    return currentTag_.get();
}

void TwinampMediaPlayer::PlayTag(const TaudioTag* aTag)
{
    if (handingOver_) {
        pendingPlay_ = true;
        pendingPlayTag_ = aTag != nullptr ? aTag->Clone() : nullptr;
        return;
    }
    declined_ = false;
    // The song that may have begun since the last tick is replaced below: its start must not get lost.
    ReportUnseenStart();
    // The song becomes the prepared one, so that its start is reported with it.
    preparedTag_ = aTag != nullptr ? aTag->Clone() : nullptr;
    if (!EnqueueTag(preparedTag_.get())) {
        PreloadNextTag();
        return;
    }
    // The song asked for wins over a list change that came in during its hand-over; its start prepares
    // the following one anyway.
    pendingPreload_ = false;
    if (GetState() == mpsStopped) {
        // Play would prepare the jukebox's next song in its place.
        if (GetListLength() != 0)
            PressButton(wa::CommandPlay);
    } else {
        SkipToNext();
    }
    TellStartFailure();
    RunPendingPlay();
}

std::uint32_t TwinampMediaPlayer::GetPosition()
{
    if (GetState() == mpsStopped)
        return 0;
    const std::int32_t position = SendToWinamp(WM_USER, wa::OutputPositionMs, wa::IpcGetOutputTime);
    return position > 0 ? static_cast<std::uint32_t>(position) : 0;
}

void TwinampMediaPlayer::SetPosition(std::uint32_t ms)
{
    SendToWinamp(WM_USER, static_cast<std::intptr_t>(ms), wa::IpcJumpToTime);
}

std::uint8_t TwinampMediaPlayer::GetVolume() const
{
    return volume_;
}

void TwinampMediaPlayer::SetVolume(std::uint8_t volume)
{
    volume_ = volume;
    SendToWinamp(WM_USER, volume, wa::IpcSetVolume);
    TcustomMediaPlayer::SetVolume(volume);
}

void TwinampMediaPlayer::DoPlaybackFinished(const TaudioTag* aTag)
{
    Next();
    TcustomMediaPlayer::DoPlaybackFinished(aTag);
}

void TwinampMediaPlayer::Play()
{
    declined_ = false;
    Reconnect();
    const TmediaPlayState state = GetState();
    if (state == mpsPlaying)
        return;
    if (state == mpsStopped)
        PreloadNextTag();
    if (GetListLength() != 0)
        PressButton(wa::CommandPlay);
}

void TwinampMediaPlayer::Stop()
{
    PressButton(wa::CommandStop);
}

void TwinampMediaPlayer::Pause()
{
    PressButton(wa::CommandPause);
}

void TwinampMediaPlayer::Next()
{
    if (GetState() != mpsStopped)
        SkipToNext();
}

void TwinampMediaPlayer::Configure()
{
    if (ConfigDialogHook())
        ConfigDialogHook()(*this);
}

void TwinampMediaPlayer::LoadSettings(const TIniFile& ini, const std::string& section)
{
    TcustomMediaPlayer::LoadSettings(ini, section);
    if (allowControlVolume_)
        controlVolume_ = ini.ReadBool(section, "ControlVolume", true);
    winampPath_ = ini.ReadString(section, "WinampPath", "");
    if (!HasWinampExe(winampPath_))
        LocateWinamp();
}

void TwinampMediaPlayer::SaveSettings(TIniFile& ini, const std::string& section)
{
    TcustomMediaPlayer::SaveSettings(ini, section);
    ini.WriteString(section, "WinampPath", winampPath_);
    if (allowControlVolume_)
        ini.WriteBool(section, "ControlVolume", controlVolume_);
}

void TwinampMediaPlayer::Initialise(platform::TWindowHandle ownerWindow)
{
    initialised_ = true;
    ownerWindow_ = ownerWindow;
    LaunchWinamp();
    if (FindWinampWindow(false) != 0) {
        if (pollTimer_) {
            pollTimer_->SetEnabled(true);
            ClearWinampPlaylist();
        }
    } else {
        FindWinampWindow(true);
    }
}

void TwinampMediaPlayer::Uninitialise()
{
    // Closing Winamp in the middle of a hand-over would let the "/add" start a fresh Winamp that nobody
    // closes: the hand-over ends first.
    if (handingOver_) {
        uninitialisePending_ = true;
        return;
    }
    uninitialisePending_ = false;
    initialised_ = false;
    TcustomMediaPlayer::Uninitialise();
    if (pollTimer_)
        pollTimer_->SetEnabled(false);
    CloseWinamp();
}

void TwinampMediaPlayer::PreloadNext()
{
    PreloadNextTag();
}

std::int32_t TwinampMediaPlayer::SendToWinamp(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)
{
    if (!Polling())
        return 0;
    const platform::TWindowHandle window = FindWinampWindow(true);
    if (window == 0)
        return 0;
    return platform::SendMessage(window, msg, wParam, lParam);
}

platform::TWindowHandle TwinampMediaPlayer::FindWinampWindow(bool prompt)
{
    if (winampWindow_ != 0 && platform::IsWindow(winampWindow_))
        return winampWindow_;
    winampWindow_ = platform::FindWindowByClass(winampWindowClass_);
    if (winampWindow_ != 0 || !prompt || declined_)
        return winampWindow_;
    if (ShowMessageBox(CannotFindText(), "Cannot find Winamp", TmessageButtons::YesNo, TmessageIcon::Error) ==
        TmessageResult::Yes) {
        declined_ = false;
        LaunchWinamp();
        StartedFromPrompt();
    } else {
        declined_ = true;
    }
    return 0;
}

void TwinampMediaPlayer::Reconnect()
{
    if (!initialised_ || !pollTimer_ || Polling())
        return;
    if (FindWinampWindow(false) != 0) {
        pollTimer_->SetEnabled(true);
        lastPlaylistIndex_ = 0;
        ClearWinampPlaylist();
    } else {
        FindWinampWindow(true);
    }
}

void TwinampMediaPlayer::StartedFromPrompt()
{
    if (!pollTimer_ || FindWinampWindow(false) == 0)
        return;
    pollTimer_->SetEnabled(true);
    lastPlaylistIndex_ = 0;
    ClearWinampPlaylist();
}

bool TwinampMediaPlayer::HasWinampExe(const std::string& folder) const
{
    return FileExistsNoError(platform::MapProgramFile(JoinPath(folder, wa::kExecutable)));
}

std::string TwinampMediaPlayer::LocateWinamp()
{
    if (HasWinampExe(winampPath_))
        return winampPath_;
    std::string folder = FolderPart(platform::ReadRegistryString(platform::TRegistryRoot::LocalMachine,
                                                                 kUninstallKey, "UninstallString"));
    if (!folder.empty() && folder.front() == '"')
        folder.erase(0, 1);
    if (folder.empty()) {
        // No uninstall entry here: the stand-in ships beside the program.
        if (HasWinampExe(platform::ShippedFolder())) {
            folder = platform::ShippedFolder();
        } else {
            try {
                folder = JoinPath(GetSpecialFolderPath(platform::CSIDL_PROGRAMS), "winamp");
            } catch (const std::exception&) {
                folder.clear();
            }
        }
    }
    if (!HasWinampExe(folder))
        folder.clear();
    if (!folder.empty())
        winampPath_ = folder;
    return folder;
}

std::string TwinampMediaPlayer::GetWinampExe() const
{
    return JoinPath(winampPath_, wa::kExecutable);
}

void TwinampMediaPlayer::LaunchWinamp()
{
    const std::string folder = LocateWinamp();
    const bool started = ShellOpen(JoinPath(folder, wa::kExecutable), "", folder);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(launchTimeout_);
    for (int waited = 0;; waited += kLookStepMs) {
        if (FindWinampWindow(false) != 0)
            return;
        // Nothing was started: no window will come.
        if (!started || waited >= launchTimeout_ || std::chrono::steady_clock::now() >= deadline)
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(kLookStepMs));
    }
}

void TwinampMediaPlayer::CloseWinamp()
{
    try {
        if (const platform::TWindowHandle window = FindWinampWindow(false))
            platform::SendMessage(window, WM_COMMAND, wa::CommandClose, 0);
    } catch (...) {
        // Winamp going away is all that matters here.
    }
}

void TwinampMediaPlayer::ClearWinampPlaylist()
{
    SendToWinamp(WM_USER, 0, wa::IpcClearPlaylist);
}

int TwinampMediaPlayer::GetLength()
{
    return SendToWinamp(WM_USER, wa::OutputLengthSeconds, wa::IpcGetOutputTime);
}

int TwinampMediaPlayer::GetListLength()
{
    return SendToWinamp(WM_USER, 0, wa::IpcGetListLength);
}

bool TwinampMediaPlayer::PreloadNextTag()
{
    if (handingOver_) {
        // Run again with a fresh choice once the hand-over under way is done.
        pendingPreload_ = true;
        return preparedTag_ != nullptr;
    }
    // Winamp may have moved on to the prepared song since the last tick; the hand-over below would hide
    // that start from the poll, so it is reported first.
    ReportUnseenStart();
    std::string failure;
    // A song whose file is missing is told and skipped: the lists, told through FileNotFound, move past it
    // and the next source's song is asked for. Offered again, it is not told twice; one box per request.
    std::string missing;
    const platform::TScopeExit toldOnce([this] { missingTold_ = false; });
    for (int round = 0; round < kHandOverRounds; ++round) {
        pendingPreload_ = false;
        failure.clear();
        const TaudioTag* next = nullptr;
        DoGetNextTagger(next);
        if (next != nullptr && !missing.empty() && next->FilenameIs(missing)) {
            preparedTag_ = nullptr;
            break;
        }
        preparedTag_ = next != nullptr ? next->Clone() : nullptr;
        missingFile_ = false;
        if (preparedTag_ && !EnqueueTag(preparedTag_.get(), &failure))
            continue;
        if (missingFile_) {
            missingTold_ = true;
            missing = preparedTag_->Filename();
            preparedTag_ = nullptr;
            continue;
        }
        if (!pendingPreload_)
            break;
    }
    pendingPreload_ = false;
    if (!failure.empty())
        TellError(failure);
    TellStartFailure();
    RunPendingPlay();
    return preparedTag_ != nullptr;
}

bool TwinampMediaPlayer::EnqueueTag(const TaudioTag* tag, std::string* failure)
{
    bool handedOver = false;
    {
        const platform::TValueGuard handingOver(handingOver_, true);
        handedOver = HandOver(tag, failure);
    }
    if (uninitialisePending_ && !handingOver_)
        Uninitialise();
    return handedOver;
}

bool TwinampMediaPlayer::HandOver(const TaudioTag* tag, std::string* failure)
{
    try {
        ClearWinampPlaylist();
        // Clearing moves Winamp's position with no song starting: the poll must not take that for a start.
        lastPlaylistIndex_ = PlaylistIndex();
        ProcessMessages();
        if (tag == nullptr || !Polling())
            return true;
        if (FileExistsNoError(tag->Filename())) {
            const std::string m3u = HandOverFileName();
            handOverList_->Clear();
            handOverList_->AddCopy(tag);
            const platform::TScopeExit emptyAfter([this] { handOverList_->Clear(); });
            std::error_code ec;
            std::filesystem::remove(m3u, ec);
            handOverList_->ExportM3U(m3u, false, true, true, "\r\n");
            AddToWinamp(m3u);
            // Onto the dummy entry: Winamp reaches the song when the current one ends.
            SetPlaylistIndex(0);
            lastPlaylistIndex_ = 0;
        } else {
            if (!missingTold_)
                Tell(MissingFileText(tag->Filename()), "Could not locate file", TmessageIcon::Warning);
            missingFile_ = true;
            DoFileNotFound(tag);
        }
    } catch (const std::exception& error) {
        if (failure != nullptr)
            *failure = error.what();
        return false;
    } catch (...) {
        if (failure != nullptr)
            *failure = kHandOverError;
        return false;
    }
    return true;
}

void TwinampMediaPlayer::AddToWinamp(const std::string& m3u)
{
    if (FindWinampWindow(true) == 0)
        return;
    if (!ShellOpen("\"" + GetWinampExe() + "\"", "/add \"" + m3u + "\"", "\"" + winampPath_ + "\""))
        return;
    // Bounded: Winamp may close or refuse the file meanwhile. After a time-out Winamp simply holds no song.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(addTimeout_);
    while (Polling() && GetListLength() == 0 && std::chrono::steady_clock::now() < deadline) {
        ProcessMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(kLookStepMs));
    }
}

void TwinampMediaPlayer::SkipToNext()
{
    declined_ = false;
    Reconnect();
    if (GetState() == mpsStopped)
        Play();
    else if (GetListLength() != 0)
        PressButton(wa::CommandNext);
}

void TwinampMediaPlayer::PollWinamp()
{
    // A timer tick: whatever goes wrong in it is told here, not thrown into the event loop.
    const std::shared_ptr<TtellState> tell = tell_;
    const platform::TValueGuard tick(tell->inTick, true);
    try {
        Poll();
    } catch (const std::exception& error) {
        TellError(error.what());
    } catch (...) {
        TellError(kUnknownError);
    }
    TellStartFailure();
}

void TwinampMediaPlayer::Poll()
{
    // A tick inside a hand-over would see Winamp's playlist half made.
    if (declined_ || handingOver_ || !Polling())
        return;
    // One prompt per tick at most when Winamp has gone.
    if (FindWinampWindow(true) == 0)
        return;

    SendToWinamp(WM_USER, 0, wa::IpcSetRepeat);
    SendToWinamp(WM_USER, 0, wa::IpcSetShuffle);

    if (ReportUnseenStart()) {
        PreloadNextTag();
        lastPlaylistIndex_ = PlaylistIndex();
    }
    PlayOnAfterAShortSong();
    startSinceTick_ = false;

    // Winamp answers 0 or -1 while no song is loaded; such a length is no news.
    const int length = GetLength();
    if (currentTag_ && length > 0 && static_cast<std::uint32_t>(length) != currentTag_->Duration())
        currentTag_->SetDuration(static_cast<std::uint32_t>(length));

    if (const std::uint32_t position = GetPosition(); position != lastPosition_) {
        const std::uint32_t lengthMs = length > 0 ? static_cast<std::uint32_t>(length) * 1000u : 0;
        DoTimeChange(position, lengthMs);
        lastPosition_ = GetPosition();
    }

    if (const TmediaPlayState state = GetState(); state != lastState_) {
        DoStateChange(state);
        lastState_ = GetState();
    }

    if (controlVolume_)
        SetVolume(volume_);
}

std::string TwinampMediaPlayer::HandOverFileName() const
{
    std::string folder = WorkingFolder().empty() ? platform::DataFolder() : WorkingFolder();
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    if (!ec)
        folder = absolute.lexically_normal().string();
    platform::ForceDirectories(folder);
    return JoinPath(folder, kHandOverFile);
}

bool TwinampMediaPlayer::Polling() const
{
    return pollTimer_ && pollTimer_->Enabled();
}

std::uint32_t TwinampMediaPlayer::PollInterval() const
{
    return pollTimer_ ? pollTimer_->Interval() : kPollInterval;
}

void TwinampMediaPlayer::SetPollInterval(std::uint32_t milliseconds)
{
    if (pollTimer_)
        pollTimer_->SetInterval(milliseconds);
}

void TwinampMediaPlayer::SetConfigDialogHook(TconfigDialogHook hook)
{
    ConfigDialogHook() = std::move(hook);
}

bool TwinampMediaPlayer::ShellOpen(const std::string& file, const std::string& parameters,
                                   const std::string& folder)
{
    return platform::ShellExecute(file, parameters, folder);
}

void TwinampMediaPlayer::ProcessMessages()
{
    if (QCoreApplication::instance() != nullptr)
        QCoreApplication::processEvents();
}

bool TwinampMediaPlayer::ReportUnseenStart()
{
    if (!Polling() || FindWinampWindow(false) == 0)
        return false;
    const int index = PlaylistIndex();
    if (index == lastPlaylistIndex_)
        return false;
    // Winamp left the dummy entry: the prepared song has started. Taken as seen before it is reported, so
    // that the hand-over the report leads to does not report it again.
    lastPlaylistIndex_ = index;
    startSinceTick_ = true;
    currentTag_ = std::move(preparedTag_);
    try {
        DoPlaybackStart(currentTag_.get());
    } catch (const std::exception& error) {
        startFailure_ = error.what();
    } catch (...) {
        startFailure_ = kUnknownError;
    }
    return true;
}

void TwinampMediaPlayer::TellStartFailure()
{
    if (startFailure_.empty())
        return;
    TellError(std::exchange(startFailure_, std::string()));
}

void TwinampMediaPlayer::TellError(const std::string& text)
{
    Tell(text, ApplicationTitle(), TmessageIcon::Error);
}

void TwinampMediaPlayer::Tell(const std::string& text, const std::string& caption, TmessageIcon icon)
{
    // The box runs the event loop, and with it further ticks: one box at a time, and what goes wrong
    // meanwhile is not stacked on top of it.
    if (tell_->telling)
        return;
    if (!tell_->inTick || mainThread_ == nullptr) {
        const platform::TValueGuard telling(tell_->telling, true);
        ShowMessageBox(text, caption, TmessageButtons::Ok, icon);
        return;
    }
    // A tick is one step of the poll's thread, which waits for it: a box opened inside it would hold up
    // the poll, and with it the next song, until the user answers.
    tell_->telling = true;
    TellOutsideTicks(tell_, mainThread_, text, caption, icon);
}

void TwinampMediaPlayer::TellOutsideTicks(const std::shared_ptr<TtellState>& state, TmainThread* mainThread,
                                          std::string text, std::string caption, TmessageIcon icon)
{
    mainThread->Queue([state, mainThread, text = std::move(text), caption = std::move(caption), icon] {
        if (state->inTick) {
            TellOutsideTicks(state, mainThread, text, caption, icon);
            return;
        }
        const platform::TScopeExit told([&state] { state->telling = false; });
        ShowMessageBox(text, caption, TmessageButtons::Ok, icon);
    });
}

void TwinampMediaPlayer::RunPendingPlay()
{
    if (!pendingPlay_ || handingOver_)
        return;
    pendingPlay_ = false;
    const std::unique_ptr<TaudioTag> song = std::move(pendingPlayTag_);
    PlayTag(song.get());
}

void TwinampMediaPlayer::PressButton(std::intptr_t command)
{
    if (command == wa::CommandPlay || command == wa::CommandNext)
        playing_ = true;
    else if (command == wa::CommandStop)
        playing_ = false;
    SendToWinamp(WM_COMMAND, command, 0);
}

void TwinampMediaPlayer::PlayOnAfterAShortSong()
{
    // A song that started and ended between two ticks leaves Winamp stopped at the end of its list: the
    // song the start prepared has not been reached, and nobody pressed Stop. Once per start.
    if (!startSinceTick_ || !playing_ || !preparedTag_ || GetState() != mpsStopped || GetListLength() == 0)
        return;
    startSinceTick_ = false;
    PressButton(wa::CommandPlay);
}
