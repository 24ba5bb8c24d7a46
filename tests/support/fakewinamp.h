#pragma once

#include "platform/messagewindow.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Winamp as the player meets it, inside the test process: a window of Winamp's class answering the
// remote-control codes from plain fields the test sets and reads. Messages sent from the test's own
// thread reach it directly. Playing passes over entries whose file does not exist, as Winamp does.
class TfakeWinamp
{
public:
    struct TreceivedMessage
    {
        std::uint32_t msg;
        std::intptr_t wParam;
        std::intptr_t lParam;
    };

    explicit TfakeWinamp(const std::string& className = "Winamp v1.x");

    platform::TWindowHandle Handle() const { return window_->Handle(); }

    // Appends the file entries (not the comment lines) of an M3U file, as "/add" does.
    void AddPlaylistFile(const std::string& m3u);
    // The current song reached its end: on to the next playable entry, else stopped.
    void EndSong();

    std::vector<std::string> playlist;
    int position = 0;
    std::int32_t state = 0; // as IPC_ISPLAYING answers
    bool shuffle = false;
    bool repeat = false;
    int volume = 255;
    std::int32_t positionMs = 0;
    std::int32_t lengthSeconds = 0;
    bool closed = false;
    std::vector<TreceivedMessage> received;

    // The requests with this code (WM_USER) or buttons with this command (WM_COMMAND) received so far.
    int CountRequests(std::intptr_t code) const;
    int CountButtons(std::intptr_t command) const;

private:
    std::int32_t Answer(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam);
    bool PlayFrom(int index);

    std::unique_ptr<platform::TMessageWindow> window_;
};
