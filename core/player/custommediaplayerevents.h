#pragma once

#include "core/player/mediaplaystate.h"

#include <cstdint>
#include <functional>
#include <memory>

class TaudioTag;
class TcustomMediaPlayer;

// The notifications of a player, kept apart from it so that the main window can bind them before any
// player exists. Every event gets the raising player as sender. A player only links to its holder: when
// the holder is destroyed first, the player's link reads as none from then on.
class TcustomMediaPlayerEvents
{
public:
    using TmediaTagEvent = std::function<void(TcustomMediaPlayer* sender, const TaudioTag* aTag)>;
    // The handler sets aTag to the song to prepare next (a link, which the player copies), or to nullptr.
    using TgetMediaTagEvent = std::function<void(TcustomMediaPlayer* sender, const TaudioTag*& aTag)>;
    using TmediaTagTimeEvent =
        std::function<void(TcustomMediaPlayer* sender, std::uint32_t msPos, std::uint32_t msLength)>;
    using TvolumeChangeEvent = std::function<void(TcustomMediaPlayer* sender, std::uint8_t volume)>;
    using TstateChangeEvent = std::function<void(TcustomMediaPlayer* sender, TmediaPlayState state)>;
    using TplayerNotifyEvent = std::function<void(TcustomMediaPlayer* sender)>;

    TcustomMediaPlayerEvents() = default;
    TcustomMediaPlayerEvents(const TcustomMediaPlayerEvents&) = delete;
    TcustomMediaPlayerEvents& operator=(const TcustomMediaPlayerEvents&) = delete;

    TgetMediaTagEvent OnGetNextTagger;
    TmediaTagEvent OnFileNotFound;
    // aTag is the player's own copy of the song that started.
    TmediaTagEvent OnPlaybackStart;
    TmediaTagEvent OnPlaybackFinished;
    // Position and length in milliseconds.
    TmediaTagTimeEvent OnTimeChange;
    TplayerNotifyEvent OnInitialise;
    TplayerNotifyEvent OnUninitialise;
    TstateChangeEvent OnStateChange;
    // Volume 0-255.
    TvolumeChangeEvent OnVolumeChange;

    // For links held elsewhere (TcomponentLink): expires with the holder.
    std::weak_ptr<const bool> LinkToken() const { return alive_; }

private:
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
};
