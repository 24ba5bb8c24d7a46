#pragma once

#include "core/player/custommediaplayer.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A player for tests: it plays nothing, records every call it receives, and plays out the flow of songs
// the way the Winamp player does. PreloadNext asks for the next song (DoGetNextTagger) and keeps a copy as
// the prepared song; StartPrepared, the test's stand-in for the player noticing that song begin, makes it
// the current song, reports its start with that copy and prepares the next at once. StartUnnoticed plays
// the race between two polls: the prepared song begins unseen, and the next PreloadNext or PlayTag reports
// that start before anything else, as the Winamp player's hand-over does.
// The notifications are public here so that tests can raise them.
class TtestMediaPlayer : public TcustomMediaPlayer
{
public:
    TtestMediaPlayer();
    ~TtestMediaPlayer() override;

    // One line per call, in order: the operation's name, then its argument if any, songs by file name or
    // "nil": "PreloadNext", "DoGetNextTagger", "PlayTag /music/a.mp3", "SetVolume 44", "DoPlaybackStart nil".
    mutable std::vector<std::string> Calls;
    std::size_t CountCalls(std::string_view call) const;

    // What the player reports. The transport calls only set State; they raise nothing.
    bool Connected = true;
    TmediaPlayState State = mpsStopped;
    std::uint32_t Position = 0;
    std::uint8_t Volume = 0;

    // The copy of the song last handed out by get-next; nullptr when none came.
    const TaudioTag* PreparedTag() const { return preparedTag_.get(); }
    // The prepared song starts: returns the player's copy of it, now the current song (nullptr when nothing
    // was prepared, as when a removed song still plays).
    const TaudioTag* StartPrepared();
    // The prepared song starts without the player noticing yet.
    void StartUnnoticed() { startUnnoticed_ = true; }

    bool IsConnected() override;
    TmediaPlayState GetState() override;
    int GetSupportLevel() const override;
    const TaudioTag* GetCurrentTag() const override;
    // Prepares a copy of the song and starts it.
    void PlayTag(const TaudioTag* aTag) override;
    std::uint32_t GetPosition() override;
    void SetPosition(std::uint32_t ms) override;
    std::uint8_t GetVolume() const override;
    void SetVolume(std::uint8_t volume) override;

    void DoFileNotFound(const TaudioTag* aTag) override;
    void DoGetNextTagger(const TaudioTag*& aTag) override;
    void DoInitialise() override;
    void DoPlaybackFinished(const TaudioTag* aTag) override;
    void DoPlaybackStart(const TaudioTag* aTag) override;
    void DoStateChange(TmediaPlayState state) override;
    void DoTimeChange(std::uint32_t msPos, std::uint32_t msLength) override;
    void DoUninitialise() override;
    void DoVolumeChange(std::uint8_t volume) override;

    void Play() override;
    void Stop() override;
    void Pause() override;
    void Next() override;
    void Configure() override;
    void LoadSettings(const TIniFile& ini, const std::string& section) override;
    void SaveSettings(TIniFile& ini, const std::string& section) override;
    void Initialise(platform::TWindowHandle ownerWindow) override;
    void Uninitialise() override;
    void PreloadNext() override;

private:
    void Record(std::string_view call, std::string_view argument = {}) const;
    void Record(std::string_view call, const TaudioTag* aTag) const;
    void ReportStart();
    void ReportUnnoticedStart();

    std::unique_ptr<TaudioTag> preparedTag_;
    std::unique_ptr<TaudioTag> currentTag_;
    bool startUnnoticed_ = false;
};
