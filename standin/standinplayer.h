#pragma once

#include "pcmwave.h"
#include "soundoutput.h"
#include "standinplaylist.h"

#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>

// What stands in for Winamp: a playlist with a position, a song being played (which stays loaded when the
// playlist is cleared under it), the shuffle and repeat switches and the volume, driven by Winamp's
// remote-control messages (platform/winampipc.h). At the end of a song it moves on to the next entry,
// passing over entries whose file cannot be played.
class TstandinPlayer
{
public:
    enum class TState
    {
        Stopped,
        Playing,
        Paused,
    };

    explicit TstandinPlayer(std::unique_ptr<TsoundOutput> output);

    // The window's message handlers.
    std::int32_t HandleMessage(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam);
    // IpcPlayFile: the bytes are a file name (a trailing NUL is dropped); 1 when it was taken. Only the
    // name of an existing regular file, at most PATH_MAX bytes with its terminator, is taken.
    std::int32_t HandleCopyData(std::intptr_t tag, const std::string& data);

    // The close command came; the owner ends the program.
    std::function<void()> OnClose;
    // What the player does, one line each: "play FILE", "pause", "resume", "stop", "close", "volume N" (a
    // change, 0..255); for watching the player from outside (orvane-standin --log=FILE).
    std::function<void(const std::string& line)> OnReport;

    TstandinPlaylist& Playlist() { return playlist_; }
    int Position() const { return position_; }
    TState State() const { return state_; }
    bool Shuffle() const { return shuffle_; }
    bool Repeat() const { return repeat_; }
    int Volume() const { return volume_; }
    std::uint32_t PositionMs() const;
    // The loaded song's length; 0 when none is loaded.
    std::uint32_t LengthMs() const;

    // The buttons.
    void Play();
    void Pause();
    void Stop();
    void Next();
    void Previous();
    void ClearPlaylist();
    void SetPosition(int index);
    void SetVolume(int volume);
    void SetShuffle(bool on) { shuffle_ = on; }
    void SetRepeat(bool on) { repeat_ = on; }
    // IpcJumpToTime's answers.
    std::int32_t JumpTo(std::uint32_t ms);

private:
    std::int32_t Request(std::intptr_t code, std::intptr_t argument);
    std::int32_t Command(std::intptr_t command);
    // Plays the first entry from index on (walking by step) that can be played; stops when none can.
    bool PlayFrom(int index, int step);
    // The entry after (step 1) or before (step -1) from, a random other one with shuffle; -1 past an end
    // without repeat.
    int Following(int from, int step, bool mayShuffle);
    void SongEnded();
    void Tick();
    void Report(const std::string& line) const;

    std::unique_ptr<TsoundOutput> output_;
    TstandinPlaylist playlist_;
    int position_ = 0;
    TState state_ = TState::Stopped;
    TpcmWave song_;
    bool loaded_ = false;
    bool shuffle_ = false;
    bool repeat_ = false;
    int volume_ = 255;
    QTimer ticker_;
    std::mt19937 random_{std::random_device{}()};
};
