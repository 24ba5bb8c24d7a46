#pragma once

#include "core/player/mediaplaystate.h"
#include "core/util/componentlink.h"
#include "platform/windowmessages.h"

#include <cstdint>
#include <memory>
#include <string>

class TaudioTag;
class TcustomMediaPlayerEvents;
class TIniFile;

// The one way the jukebox reaches a player: the jukebox never plays audio itself. A player reports back
// through its events holder (a link, possibly none). Expected order of use: set the events holder (the
// playing jukebox does), Initialise, LoadSettings (section "Player"), transport and volume calls at any
// time, SaveSettings, Uninitialise, destruction by the playing jukebox, which owns the player.
class TcustomMediaPlayer
{
public:
    TcustomMediaPlayer() = default;
    virtual ~TcustomMediaPlayer() = default;

    TcustomMediaPlayer(const TcustomMediaPlayer&) = delete;
    TcustomMediaPlayer& operator=(const TcustomMediaPlayer&) = delete;

    // Where an implementation keeps its scratch files; nothing here reads or writes it.
    const std::string& WorkingFolder() const { return workingFolder_; }
    void SetWorkingFolder(std::string value) { workingFolder_ = std::move(value); }

    // Nullptr when none was set or the holder has been destroyed since.
    TcustomMediaPlayerEvents* Events() const;
    void SetEvents(TcustomMediaPlayerEvents* events);

    // The player can be reached now.
    virtual bool IsConnected() = 0;
    virtual TmediaPlayState GetState() = 0;
    // Bit mask of the tag-reader capabilities this player can use; the tag-reader host keeps only
    // plug-ins sharing a bit with it. 0 here.
    virtual int GetSupportLevel() const;
    // The song now playing, the player's own copy; nullptr when none.
    virtual const TaudioTag* GetCurrentTag() const = 0;
    // Plays this song now.
    virtual void PlayTag(const TaudioTag* aTag) = 0;
    // Milliseconds into the current song.
    virtual std::uint32_t GetPosition() = 0;
    virtual void SetPosition(std::uint32_t ms) = 0;
    virtual std::uint8_t GetVolume() const = 0;
    // Raises OnVolumeChange; an implementation applies the volume first, then calls this.
    virtual void SetVolume(std::uint8_t volume);

protected:
    // Each raises its event of the holder with this player as sender, and does nothing when there is no
    // holder or no handler. Virtual so that a player can add work before or after.
    virtual void DoFileNotFound(const TaudioTag* aTag);
    // Without a handler aTag stays as the caller set it.
    virtual void DoGetNextTagger(const TaudioTag*& aTag);
    virtual void DoInitialise();
    virtual void DoPlaybackFinished(const TaudioTag* aTag);
    virtual void DoPlaybackStart(const TaudioTag* aTag);
    virtual void DoStateChange(TmediaPlayState state);
    virtual void DoTimeChange(std::uint32_t msPos, std::uint32_t msLength);
    virtual void DoUninitialise();
    virtual void DoVolumeChange(std::uint8_t volume);

public:
    // Starts, or resumes when paused.
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual void Pause() = 0;
    // Skips to the next song.
    virtual void Next() = 0;
    // Shows the player's own settings dialog.
    virtual void Configure() = 0;
    // Integer "Volume" (default 128); its low byte becomes the volume through SetVolume.
    virtual void LoadSettings(const TIniFile& ini, const std::string& section);
    virtual void SaveSettings(TIniFile& ini, const std::string& section);
    // Raises OnInitialise. ownerWindow is the application's window (0 for none), which this base ignores.
    virtual void Initialise(platform::TWindowHandle ownerWindow);
    // Raises OnUninitialise.
    virtual void Uninitialise();
    // Fetches the next song through DoGetNextTagger and prepares it ahead of time; the playing jukebox
    // calls this after every change of its lists.
    virtual void PreloadNext() = 0;

private:
    std::string workingFolder_;
    TcomponentLink<TcustomMediaPlayerEvents> events_;
};
