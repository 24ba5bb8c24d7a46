#include "support/testmediaplayer.h"

#include "core/songs/audiotag.h"

#include <algorithm>

TtestMediaPlayer::TtestMediaPlayer() = default;
TtestMediaPlayer::~TtestMediaPlayer() = default;

std::size_t TtestMediaPlayer::CountCalls(std::string_view call) const
{
    return static_cast<std::size_t>(std::count(Calls.begin(), Calls.end(), call));
}

void TtestMediaPlayer::Record(std::string_view call, std::string_view argument) const
{
    std::string line(call);
    if (!argument.empty()) {
        line += ' ';
        line += argument;
    }
    Calls.push_back(std::move(line));
}

void TtestMediaPlayer::Record(std::string_view call, const TaudioTag* aTag) const
{
    Record(call, aTag != nullptr ? aTag->Filename() : std::string("nil"));
}

const TaudioTag* TtestMediaPlayer::StartPrepared()
{
    ReportStart();
    PreloadNext();
    return currentTag_.get();
}

void TtestMediaPlayer::ReportStart()
{
    // Seen before it is reported: the list changes the report leads to must not report it again.
    startUnnoticed_ = false;
    currentTag_ = std::move(preparedTag_);
    State = mpsPlaying;
    DoPlaybackStart(currentTag_.get());
}

void TtestMediaPlayer::ReportUnnoticedStart()
{
    if (startUnnoticed_)
        ReportStart();
}

bool TtestMediaPlayer::IsConnected()
{
    Record("IsConnected");
    return Connected;
}

TmediaPlayState TtestMediaPlayer::GetState()
{
    Record("GetState");
    return State;
}

int TtestMediaPlayer::GetSupportLevel() const
{
    Record("GetSupportLevel");
    return TcustomMediaPlayer::GetSupportLevel();
}

const TaudioTag* TtestMediaPlayer::GetCurrentTag() const
{
    Record("GetCurrentTag");
    return currentTag_.get();
}

void TtestMediaPlayer::PlayTag(const TaudioTag* aTag)
{
    Record("PlayTag", aTag);
    ReportUnnoticedStart();
    preparedTag_ = aTag != nullptr ? aTag->Clone() : nullptr;
    StartPrepared();
}

std::uint32_t TtestMediaPlayer::GetPosition()
{
    Record("GetPosition");
    return Position;
}

void TtestMediaPlayer::SetPosition(std::uint32_t ms)
{
    Record("SetPosition", std::to_string(ms));
    Position = ms;
}

std::uint8_t TtestMediaPlayer::GetVolume() const
{
    Record("GetVolume");
    return Volume;
}

void TtestMediaPlayer::SetVolume(std::uint8_t volume)
{
    Record("SetVolume", std::to_string(volume));
    Volume = volume;
    TcustomMediaPlayer::SetVolume(volume);
}

void TtestMediaPlayer::DoFileNotFound(const TaudioTag* aTag)
{
    Record("DoFileNotFound", aTag);
    TcustomMediaPlayer::DoFileNotFound(aTag);
}

void TtestMediaPlayer::DoGetNextTagger(const TaudioTag*& aTag)
{
    Record("DoGetNextTagger");
    TcustomMediaPlayer::DoGetNextTagger(aTag);
}

void TtestMediaPlayer::DoInitialise()
{
    Record("DoInitialise");
    TcustomMediaPlayer::DoInitialise();
}

void TtestMediaPlayer::DoPlaybackFinished(const TaudioTag* aTag)
{
    Record("DoPlaybackFinished", aTag);
    TcustomMediaPlayer::DoPlaybackFinished(aTag);
}

void TtestMediaPlayer::DoPlaybackStart(const TaudioTag* aTag)
{
    Record("DoPlaybackStart", aTag);
    TcustomMediaPlayer::DoPlaybackStart(aTag);
}

void TtestMediaPlayer::DoStateChange(TmediaPlayState state)
{
    Record("DoStateChange", std::to_string(state));
    TcustomMediaPlayer::DoStateChange(state);
}

void TtestMediaPlayer::DoTimeChange(std::uint32_t msPos, std::uint32_t msLength)
{
    Record("DoTimeChange", std::to_string(msPos) + " " + std::to_string(msLength));
    TcustomMediaPlayer::DoTimeChange(msPos, msLength);
}

void TtestMediaPlayer::DoUninitialise()
{
    Record("DoUninitialise");
    TcustomMediaPlayer::DoUninitialise();
}

void TtestMediaPlayer::DoVolumeChange(std::uint8_t volume)
{
    Record("DoVolumeChange", std::to_string(volume));
    TcustomMediaPlayer::DoVolumeChange(volume);
}

void TtestMediaPlayer::Play()
{
    Record("Play");
    State = mpsPlaying;
}

void TtestMediaPlayer::Stop()
{
    Record("Stop");
    State = mpsStopped;
}

void TtestMediaPlayer::Pause()
{
    Record("Pause");
    State = mpsPaused;
}

void TtestMediaPlayer::Next()
{
    Record("Next");
}

void TtestMediaPlayer::Configure()
{
    Record("Configure");
}

void TtestMediaPlayer::LoadSettings(const TIniFile& ini, const std::string& section)
{
    Record("LoadSettings", section);
    TcustomMediaPlayer::LoadSettings(ini, section);
}

void TtestMediaPlayer::SaveSettings(TIniFile& ini, const std::string& section)
{
    Record("SaveSettings", section);
    TcustomMediaPlayer::SaveSettings(ini, section);
}

void TtestMediaPlayer::Initialise(platform::TWindowHandle ownerWindow)
{
    Record("Initialise");
    TcustomMediaPlayer::Initialise(ownerWindow);
}

void TtestMediaPlayer::Uninitialise()
{
    Record("Uninitialise");
    TcustomMediaPlayer::Uninitialise();
}

void TtestMediaPlayer::PreloadNext()
{
    Record("PreloadNext");
    ReportUnnoticedStart();
    const TaudioTag* next = nullptr;
    DoGetNextTagger(next);
    preparedTag_ = next != nullptr ? next->Clone() : nullptr;
}
