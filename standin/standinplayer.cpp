#include "standinplayer.h"

#include "platform/winampipc.h"
#include "platform/windowmessages.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

using namespace platform;

namespace {

// How often a playing song is checked for its end, in real milliseconds.
constexpr int kTickMs = 10;

// A name that another program hands over must be a file that is there; a name with a NUL in it is not
// the file the system would open.
bool IsFile(const std::string& fileName)
{
    std::error_code ec;
    return !fileName.empty() && fileName.find('\0') == std::string::npos &&
           std::filesystem::is_regular_file(fileName, ec);
}

} // namespace

TstandinPlayer::TstandinPlayer(std::unique_ptr<TsoundOutput> output) : output_(std::move(output))
{
    output_->SetVolume(volume_);
    ticker_.setInterval(kTickMs);
    QObject::connect(&ticker_, &QTimer::timeout, &ticker_, [this] { Tick(); });
}

std::int32_t TstandinPlayer::HandleMessage(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)
{
    if (msg == WM_USER)
        return Request(lParam, wParam);
    if (msg == WM_COMMAND)
        return Command(wParam & 0xFFFF);
    if (msg == WM_CLOSE)
        return Command(winamp::CommandClose);
    return 0;
}

std::int32_t TstandinPlayer::HandleCopyData(std::intptr_t tag, const std::string& data)
{
    if (tag != winamp::IpcPlayFile || data.size() > TstandinPlaylist::kMaxNameBytes + 1)
        return 0;
    std::string fileName = data;
    while (!fileName.empty() && fileName.back() == '\0')
        fileName.pop_back();
    if (!IsFile(fileName))
        return 0;
    return playlist_.Append(fileName) ? 1 : 0;
}

std::int32_t TstandinPlayer::Request(std::intptr_t code, std::intptr_t argument)
{
    switch (code) {
    case winamp::IpcGetVersion:
        return winamp::Version;
    case winamp::IpcClearPlaylist:
        ClearPlaylist();
        return 0;
    case winamp::IpcStartPlay:
        PlayFrom(position_, 1);
        return 0;
    case winamp::IpcIsPlaying:
        return state_ == TState::Playing  ? winamp::StatePlaying
               : state_ == TState::Paused ? winamp::StatePaused
                                          : winamp::StateStopped;
    case winamp::IpcGetOutputTime:
        if (argument == winamp::OutputPositionMs)
            return static_cast<std::int32_t>(PositionMs());
        if (argument == winamp::OutputLengthSeconds)
            return loaded_ ? song_.LengthSeconds() : 0;
        if (argument == winamp::OutputLengthMs)
            return static_cast<std::int32_t>(std::min<std::uint32_t>(LengthMs(), 0x7FFFFFFF));
        return 0;
    case winamp::IpcJumpToTime:
        return JumpTo(
            argument < 0 ? 0 : static_cast<std::uint32_t>(std::min<std::intptr_t>(argument, 0x7FFFFFFF)));
    case winamp::IpcSetPlaylistPos:
        SetPosition(static_cast<int>(std::clamp<std::intptr_t>(argument, -1, 0x7FFFFFFF)));
        return 0;
    case winamp::IpcSetVolume:
        if (argument == winamp::QueryVolume)
            return volume_;
        SetVolume(static_cast<int>(std::clamp<std::intptr_t>(argument, 0, 255)));
        return 0;
    case winamp::IpcGetListLength:
        return playlist_.Count();
    case winamp::IpcGetListPos:
        return position_;
    case winamp::IpcGetShuffle:
        return shuffle_ ? 1 : 0;
    case winamp::IpcGetRepeat:
        return repeat_ ? 1 : 0;
    case winamp::IpcSetShuffle:
        shuffle_ = argument != 0;
        return 0;
    case winamp::IpcSetRepeat:
        repeat_ = argument != 0;
        return 0;
    default:
        return 0;
    }
}

std::int32_t TstandinPlayer::Command(std::intptr_t command)
{
    switch (command) {
    case winamp::CommandPlay:
        Play();
        break;
    case winamp::CommandPause:
        Pause();
        break;
    case winamp::CommandStop:
        Stop();
        break;
    case winamp::CommandNext:
        Next();
        break;
    case winamp::CommandPrevious:
        Previous();
        break;
    case winamp::CommandClose:
        Stop();
        Report("close");
        if (OnClose)
            OnClose();
        break;
    default:
        break;
    }
    return 0;
}

std::uint32_t TstandinPlayer::PositionMs() const
{
    return state_ == TState::Stopped ? 0 : output_->PositionMs();
}

std::uint32_t TstandinPlayer::LengthMs() const
{
    return loaded_ ? song_.LengthMs() : 0;
}

void TstandinPlayer::Play()
{
    if (state_ == TState::Paused) {
        output_->Resume();
        state_ = TState::Playing;
        ticker_.start();
        Report("resume");
        return;
    }
    // Pressed while playing, it starts the entry at the playlist position afresh.
    PlayFrom(position_, 1);
}

void TstandinPlayer::Pause()
{
    if (state_ == TState::Playing) {
        output_->Pause();
        state_ = TState::Paused;
        ticker_.stop();
        Report("pause");
    } else if (state_ == TState::Paused) {
        Play();
    }
}

void TstandinPlayer::Stop()
{
    output_->Stop();
    ticker_.stop();
    if (state_ != TState::Stopped)
        Report("stop");
    state_ = TState::Stopped;
}

void TstandinPlayer::Next()
{
    const int next = Following(position_, 1, true);
    if (next < 0)
        return;
    if (state_ == TState::Stopped)
        position_ = next;
    else
        PlayFrom(next, 1);
}

void TstandinPlayer::Previous()
{
    const int previous = Following(position_, -1, true);
    if (previous < 0)
        return;
    if (state_ == TState::Stopped)
        position_ = previous;
    else
        PlayFrom(previous, -1);
}

void TstandinPlayer::ClearPlaylist()
{
    // The song being played goes on; a stopped one is forgotten with its list.
    playlist_.Clear();
    position_ = 0;
    if (state_ == TState::Stopped)
        loaded_ = false;
}

void TstandinPlayer::SetPosition(int index)
{
    if (index >= 0 && index < std::max(playlist_.Count(), 1))
        position_ = index;
}

void TstandinPlayer::SetVolume(int volume)
{
    const int clamped = std::clamp(volume, 0, 255);
    if (clamped == volume_)
        return;
    volume_ = clamped;
    output_->SetVolume(volume_);
    Report("volume " + std::to_string(volume_));
}

std::int32_t TstandinPlayer::JumpTo(std::uint32_t ms)
{
    if (state_ == TState::Stopped)
        return winamp::JumpNotPlaying;
    if (ms >= song_.LengthMs()) {
        SongEnded();
        return winamp::JumpPastEnd;
    }
    const bool paused = state_ == TState::Paused;
    output_->Start(song_, ms);
    if (paused)
        output_->Pause();
    return winamp::JumpDone;
}

bool TstandinPlayer::PlayFrom(int index, int step)
{
    for (int tries = 0; index >= 0 && index < playlist_.Count() && tries < playlist_.Count(); ++tries) {
        TpcmWave wave;
        if (wave.Open(playlist_.At(index).fileName)) {
            position_ = index;
            song_ = wave;
            loaded_ = true;
            output_->Start(song_, 0);
            state_ = TState::Playing;
            ticker_.start();
            Report("play " + playlist_.At(index).fileName);
            return true;
        }
        index = Following(index, step, false);
    }
    Stop();
    return false;
}

int TstandinPlayer::Following(int from, int step, bool mayShuffle)
{
    const int count = playlist_.Count();
    if (count == 0)
        return -1;
    if (mayShuffle && shuffle_ && count > 1) {
        std::uniform_int_distribution<int> pick(0, count - 2);
        const int other = pick(random_);
        return other >= from ? other + 1 : other;
    }
    const int next = from + step;
    if (next >= 0 && next < count)
        return next;
    if (!repeat_)
        return -1;
    return next < 0 ? count - 1 : 0;
}

void TstandinPlayer::SongEnded()
{
    output_->Drain();
    const int next = Following(position_, 1, true);
    if (next < 0 || !PlayFrom(next, 1))
        Stop();
}

void TstandinPlayer::Report(const std::string& line) const
{
    if (OnReport)
        OnReport(line);
}

void TstandinPlayer::Tick()
{
    output_->Check();
    if (state_ == TState::Playing && output_->Finished())
        SongEnded();
}
