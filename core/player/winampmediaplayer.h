#pragma once

#include "core/player/custommediaplayer.h"
#include "core/util/promptservice.h"
#include "platform/windowmessages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class TaudioTag;
class TaudioTagList;
class TmainThread;
class TThreadedTimer;

// The player: remote-controls a separately installed Winamp through messages to its main window. A song is
// handed over through winamp.m3u in the working folder (a dummy entry, then the song) and Winamp's "/add"
// switch, with Winamp's playlist position left on the dummy, so that Winamp moves on to the song by itself
// at the end of the current one, or at once on play or next. A poll (every 500 ms, on the user-interface
// thread) sees the position change and reports the start, then prepares the following song. A hand-over
// first reports a start the poll has not seen yet, so that no start is lost to a list change.
//
// The hand-over lets pending messages run; commands arriving meanwhile that would hand over another song
// are held and run once it is done, and the poll skips such a tick. Do not destroy the player from inside
// its own calls (its events, its message boxes, the hand-over); defer that to the event loop.
class TwinampMediaPlayer : public TcustomMediaPlayer
{
public:
    // Shows the settings dialog for the player; the windows install it.
    using TconfigDialogHook = std::function<void(TwinampMediaPlayer& player)>;

    // Poll ticks go through mainThread (the Qt application's when null); without either there is no poll,
    // and every request and button is then ignored.
    explicit TwinampMediaPlayer(TmainThread* mainThread = nullptr);
    ~TwinampMediaPlayer() override;

    // Published properties.
    const std::string& WinampWindowClass() const { return winampWindowClass_; }
    void SetWinampWindowClass(std::string value) { winampWindowClass_ = std::move(value); }
    // Winamp's folder, without the program's own name.
    const std::string& WinampPath() const { return winampPath_; }
    void SetWinampPath(std::string value) { winampPath_ = std::move(value); }
    // Re-imposes the volume on Winamp at every poll.
    bool ControlVolume() const { return controlVolume_; }
    void SetControlVolume(bool value) { controlVolume_ = value; }
    // Whether ControlVolume is offered in the dialog and read from and written to the settings.
    bool AllowControlVolume() const { return allowControlVolume_; }
    void SetAllowControlVolume(bool value) { allowControlVolume_ = value; }
    // Winamp's playlist position (asked for and set through the poll's channel).
    int PlaylistIndex();
    void SetPlaylistIndex(int value);

    // The player interface.
    bool IsConnected() override;
    TmediaPlayState GetState() override;
    int GetSupportLevel() const override;
    const TaudioTag* GetCurrentTag() const override;
    void PlayTag(const TaudioTag* aTag) override;
    std::uint32_t GetPosition() override;
    void SetPosition(std::uint32_t ms) override;
    std::uint8_t GetVolume() const override;
    void SetVolume(std::uint8_t volume) override;
    void Play() override;
    void Stop() override;
    void Pause() override;
    void Next() override;
    void Configure() override;
    void LoadSettings(const TIniFile& ini, const std::string& section) override;
    void SaveSettings(TIniFile& ini, const std::string& section) override;
    // Starts Winamp (also when it runs already) and the poll, and clears Winamp's playlist; when Winamp
    // cannot be found, asks whether to start it. Raises no OnInitialise.
    void Initialise(platform::TWindowHandle ownerWindow) override;
    // Raises OnUninitialise, stops the poll and closes Winamp; asked during a hand-over, once it is done.
    void Uninitialise() override;
    void PreloadNext() override;

    // Sends to Winamp's window while the poll runs (finding the window, with the prompt); 0 without sending
    // while the poll is off or no window is found.
    std::int32_t SendToWinamp(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam);
    // The cached window while it lives, else the window of WinampWindowClass. With prompt, when none is found
    // and the user has not declined: "Cannot find Winamp"; Yes starts Winamp, No declines. The answer is the
    // window found before any prompt.
    platform::TWindowHandle FindWinampWindow(bool prompt);
    // Winamp's folder (also stored in WinampPath when found); empty when winamp.exe is in none of the places.
    std::string LocateWinamp();
    std::string GetWinampExe() const;
    // Starts Winamp and waits (plain sleeps, up to LaunchTimeout) for its window.
    void LaunchWinamp();
    // Tells a running Winamp to close, whether the poll runs or not.
    void CloseWinamp();
    void ClearWinampPlaylist();
    // The current song's length in seconds, as Winamp tells it.
    int GetLength();
    // The number of entries of Winamp's playlist.
    int GetListLength();
    // Asks for the next song and hands a copy of it to Winamp; true when a song is prepared. Without a song,
    // Winamp's playlist is left as it is. A hand-over that fails is tried again a bounded number of times.
    bool PreloadNextTag();
    // The hand-over of one song (nullptr: only clears Winamp's playlist). False when it failed with an
    // error (its text in *failure when given); a missing file is told, not a failure.
    bool EnqueueTag(const TaudioTag* tag, std::string* failure = nullptr);
    // Makes Winamp add the playlist file and waits, letting messages run, until its playlist has entries.
    void AddToWinamp(const std::string& m3u);
    void SkipToNext();
    // The poll's tick; it throws nothing: an error is told through the prompt service.
    void PollWinamp();

    // The full name of the hand-over file: winamp.m3u in the working folder, or in the program's Data
    // folder while none is set.
    std::string HandOverFileName() const;

    // The user refused to start Winamp: no prompt and no poll until the next play or skip.
    bool Declined() const { return declined_; }
    // The poll exists and runs.
    bool Polling() const;
    std::uint32_t PollInterval() const;
    void SetPollInterval(std::uint32_t milliseconds);
    // How long LaunchWinamp waits for the window, and AddToWinamp for the playlist; 5000 ms each.
    int LaunchTimeout() const { return launchTimeout_; }
    void SetLaunchTimeout(int milliseconds) { launchTimeout_ = milliseconds; }
    int AddTimeout() const { return addTimeout_; }
    void SetAddTimeout(int milliseconds) { addTimeout_ = milliseconds; }

    static void SetConfigDialogHook(TconfigDialogHook hook);

protected:
    // Skips to the next song, then raises the event.
    void DoPlaybackFinished(const TaudioTag* aTag) override;
    // Starts a program through the shell ("open"); true when something was started.
    virtual bool ShellOpen(const std::string& file, const std::string& parameters, const std::string& folder);
    // Lets pending messages of the user-interface thread run.
    virtual void ProcessMessages();

private:
    void Poll();
    // When Winamp has left the entry it was last seen on, reports the prepared song's start (true). A
    // failing handler does not stop the player: its error waits in startFailure_ for TellStartFailure,
    // once the next song is prepared.
    bool ReportUnseenStart();
    void TellStartFailure();
    // An Ok box with the error, captioned with the application's title; one at a time.
    void TellError(const std::string& text);
    // An Ok box, one at a time. Inside a tick it opens once the tick is over: a box waiting for the user
    // would otherwise hold up the poll, and with it the next song.
    void Tell(const std::string& text, const std::string& caption, TmessageIcon icon);
    // The hand-over itself, inside EnqueueTag's flag.
    bool HandOver(const TaudioTag* tag, std::string* failure);
    // Runs a song-play request that arrived during a hand-over.
    void RunPendingPlay();
    // After a start from the prompt: the poll runs against a fresh, empty Winamp.
    void StartedFromPrompt();
    // Play and skip while Winamp was never found since Initialise: look again (asking to start it), so
    // that refusing at start-up is not final.
    void Reconnect();
    bool HasWinampExe(const std::string& folder) const;
    // Presses a button of Winamp's; Play and Next mark the player as playing, Stop as stopped.
    void PressButton(std::intptr_t command);
    void PlayOnAfterAShortSong();

    // What a box waiting to open needs to know of the player, shared with it: it may open after the player
    // has gone.
    struct TtellState
    {
        bool telling = false; // a box is open or waiting to open
        bool inTick = false;
    };
    // Opens the box once no tick is under way (a tick lets pending messages run, this one among them).
    static void TellOutsideTicks(const std::shared_ptr<TtellState>& state, TmainThread* mainThread,
                                 std::string text, std::string caption, TmessageIcon icon);

    TmainThread* mainThread_ = nullptr;         // link
    std::unique_ptr<TThreadedTimer> pollTimer_; // absent without a user-interface thread
    std::shared_ptr<TtellState> tell_ = std::make_shared<TtellState>();
    std::string winampWindowClass_;
    std::string winampPath_;
    platform::TWindowHandle winampWindow_ = 0;
    TmediaPlayState lastState_ = mpsStopped;
    int lastPlaylistIndex_ = 0;
    std::unique_ptr<TaudioTag> preparedTag_;
    std::unique_ptr<TaudioTag> currentTag_;
    std::uint32_t lastPosition_ = 0;
    std::unique_ptr<TaudioTagList> handOverList_; // does not own its song
    platform::TWindowHandle ownerWindow_ = 0;
    std::uint8_t volume_ = 0;
    bool controlVolume_ = false;
    bool allowControlVolume_ = false;
    bool declined_ = false;
    bool playing_ = false;        // Play or Next was pressed last, not Stop
    bool startSinceTick_ = false; // a start was reported since the last tick

    bool initialised_ = false;
    bool handingOver_ = false;
    bool pendingPreload_ = false;
    // Set by a hand-over that found the song's file missing (told, and passed on through FileNotFound).
    bool missingFile_ = false;
    // Set once a request has told of a missing file: the further ones it skips go untold.
    bool missingTold_ = false;
    bool pendingPlay_ = false;
    bool uninitialisePending_ = false;
    std::unique_ptr<TaudioTag> pendingPlayTag_;
    std::string startFailure_;
    int launchTimeout_ = 5000;
    int addTimeout_ = 5000;
};
