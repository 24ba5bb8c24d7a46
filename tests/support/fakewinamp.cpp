#include "support/fakewinamp.h"

#include "platform/winampipc.h"
#include "support/tempdir.h"

#include <filesystem>
#include <sstream>

namespace wa = platform::winamp;
using platform::WM_COMMAND;
using platform::WM_USER;

TfakeWinamp::TfakeWinamp(const std::string& className)
    : window_(std::make_unique<platform::TMessageWindow>(className))
{
    window_->OnMessage = [this](std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam) {
        received.push_back({msg, wParam, lParam});
        return Answer(msg, wParam, lParam);
    };
}

void TfakeWinamp::AddPlaylistFile(const std::string& m3u)
{
    std::istringstream lines(TempDir::Read(m3u));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line[0] != '#')
            playlist.push_back(line);
    }
}

void TfakeWinamp::EndSong()
{
    if (!PlayFrom(position + 1)) {
        state = wa::StateStopped;
        positionMs = 0;
    }
}

int TfakeWinamp::CountRequests(std::intptr_t code) const
{
    int count = 0;
    for (const TreceivedMessage& m : received)
        count += m.msg == WM_USER && m.lParam == code;
    return count;
}

int TfakeWinamp::CountButtons(std::intptr_t command) const
{
    int count = 0;
    for (const TreceivedMessage& m : received)
        count += m.msg == WM_COMMAND && m.wParam == command;
    return count;
}

bool TfakeWinamp::PlayFrom(int index)
{
    for (; index >= 0 && index < static_cast<int>(playlist.size()); ++index) {
        if (std::filesystem::exists(playlist[static_cast<std::size_t>(index)])) {
            position = index;
            state = wa::StatePlaying;
            positionMs = 0;
            return true;
        }
    }
    return false;
}

std::int32_t TfakeWinamp::Answer(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)
{
    if (msg == WM_COMMAND) {
        switch (wParam) {
        case wa::CommandPlay:
            if (state == wa::StatePaused)
                state = wa::StatePlaying;
            else if (!PlayFrom(position))
                state = wa::StateStopped;
            break;
        case wa::CommandPause:
            state = state == wa::StatePlaying ? wa::StatePaused : state;
            break;
        case wa::CommandStop:
            state = wa::StateStopped;
            break;
        case wa::CommandNext:
            if (state != wa::StateStopped)
                EndSong();
            break;
        case wa::CommandClose:
            // The window stays: a handler must not destroy its own window.
            closed = true;
            break;
        default:
            break;
        }
        return 0;
    }
    if (msg != WM_USER)
        return 0;
    switch (lParam) {
    case wa::IpcClearPlaylist:
        playlist.clear();
        position = 0;
        return 0;
    case wa::IpcIsPlaying:
        return state;
    case wa::IpcGetOutputTime:
        if (wParam == wa::OutputPositionMs)
            return state == wa::StateStopped ? -1 : positionMs;
        if (wParam == wa::OutputLengthSeconds)
            return lengthSeconds;
        return 0;
    case wa::IpcJumpToTime:
        positionMs = static_cast<std::int32_t>(wParam);
        return 0;
    case wa::IpcSetPlaylistPos:
        position = static_cast<int>(wParam);
        return 0;
    case wa::IpcSetVolume:
        volume = static_cast<int>(wParam);
        return 0;
    case wa::IpcGetListLength:
        return static_cast<std::int32_t>(playlist.size());
    case wa::IpcGetListPos:
        return position;
    case wa::IpcSetShuffle:
        shuffle = wParam != 0;
        return 0;
    case wa::IpcSetRepeat:
        repeat = wParam != 0;
        return 0;
    default:
        return 0;
    }
}
