#include "core/player/custommediaplayer.h"

#include "core/player/custommediaplayerevents.h"
#include "platform/inifile.h"

TcustomMediaPlayerEvents* TcustomMediaPlayer::Events() const
{
    return events_.Get();
}

void TcustomMediaPlayer::SetEvents(TcustomMediaPlayerEvents* events)
{
    events_.Reset(events);
}

int TcustomMediaPlayer::GetSupportLevel() const
{
    return 0;
}

void TcustomMediaPlayer::SetVolume(std::uint8_t volume)
{
    DoVolumeChange(volume);
}

void TcustomMediaPlayer::DoFileNotFound(const TaudioTag* aTag)
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnFileNotFound)
        events->OnFileNotFound(this, aTag);
}

void TcustomMediaPlayer::DoGetNextTagger(const TaudioTag*& aTag)
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnGetNextTagger)
        events->OnGetNextTagger(this, aTag);
}

void TcustomMediaPlayer::DoInitialise()
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnInitialise)
        events->OnInitialise(this);
}

void TcustomMediaPlayer::DoPlaybackFinished(const TaudioTag* aTag)
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnPlaybackFinished)
        events->OnPlaybackFinished(this, aTag);
}

void TcustomMediaPlayer::DoPlaybackStart(const TaudioTag* aTag)
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnPlaybackStart)
        events->OnPlaybackStart(this, aTag);
}

void TcustomMediaPlayer::DoStateChange(TmediaPlayState state)
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnStateChange)
        events->OnStateChange(this, state);
}

void TcustomMediaPlayer::DoTimeChange(std::uint32_t msPos, std::uint32_t msLength)
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnTimeChange)
        events->OnTimeChange(this, msPos, msLength);
}

void TcustomMediaPlayer::DoUninitialise()
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnUninitialise)
        events->OnUninitialise(this);
}

void TcustomMediaPlayer::DoVolumeChange(std::uint8_t volume)
{
    if (TcustomMediaPlayerEvents* const events = Events(); events != nullptr && events->OnVolumeChange)
        events->OnVolumeChange(this, volume);
}

void TcustomMediaPlayer::LoadSettings(const TIniFile& ini, const std::string& section)
{
    SetVolume(static_cast<std::uint8_t>(ini.ReadInteger(section, "Volume", 128) & 0xFF));
}

void TcustomMediaPlayer::SaveSettings(TIniFile& ini, const std::string& section)
{
    ini.WriteInteger(section, "Volume", GetVolume());
}

void TcustomMediaPlayer::Initialise(platform::TWindowHandle /*ownerWindow*/)
{
    DoInitialise();
}

void TcustomMediaPlayer::Uninitialise()
{
    DoUninitialise();
}
