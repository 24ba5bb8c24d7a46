#pragma once

#include <cstdint>

// Winamp's remote control: the codes its main window answers. Requests are WM_USER with the code in lParam
// and the argument in wParam; buttons are WM_COMMAND with the command in wParam and lParam 0; files are
// handed over with WM_COPYDATA tagged IpcPlayFile. Shared by the player that sends them and by the stand-in
// player (orvane-standin) that answers them.
namespace platform::winamp {

inline constexpr const char* kWindowClass = "Winamp v1.x";
inline constexpr const char* kExecutable = "winamp.exe";
// The program that takes Winamp's place here (docs/PLATFORM.md).
inline constexpr const char* kStandinExecutable = "orvane-standin";

// WM_USER requests (lParam).
inline constexpr std::intptr_t IpcGetVersion = 0;
inline constexpr std::intptr_t IpcPlayFile = 100; // the WM_COPYDATA tag: append a file or a playlist file
inline constexpr std::intptr_t IpcClearPlaylist = 101;
inline constexpr std::intptr_t IpcStartPlay = 102;
inline constexpr std::intptr_t IpcIsPlaying = 104;
inline constexpr std::intptr_t IpcGetOutputTime = 105;
inline constexpr std::intptr_t IpcJumpToTime = 106;
inline constexpr std::intptr_t IpcSetPlaylistPos = 121;
inline constexpr std::intptr_t IpcSetVolume = 122;
inline constexpr std::intptr_t IpcGetListLength = 124;
inline constexpr std::intptr_t IpcGetListPos = 125;
inline constexpr std::intptr_t IpcGetShuffle = 250;
inline constexpr std::intptr_t IpcGetRepeat = 251;
inline constexpr std::intptr_t IpcSetShuffle = 252;
inline constexpr std::intptr_t IpcSetRepeat = 253;

// IpcIsPlaying answers; anything but playing or paused means stopped.
inline constexpr std::int32_t StateStopped = 0;
inline constexpr std::int32_t StatePlaying = 1;
inline constexpr std::int32_t StatePaused = 3;

// IpcGetOutputTime arguments (wParam).
inline constexpr std::intptr_t OutputPositionMs = 0;
inline constexpr std::intptr_t OutputLengthSeconds = 1;
inline constexpr std::intptr_t OutputLengthMs = 2;

// IpcSetVolume with this argument answers the volume instead of setting it.
inline constexpr std::intptr_t QueryVolume = -666;

// IpcJumpToTime answers.
inline constexpr std::int32_t JumpDone = 0;
inline constexpr std::int32_t JumpNotPlaying = -1;
inline constexpr std::int32_t JumpPastEnd = 1;

// The version IpcGetVersion answers: 0xMmmm as 2.90.
inline constexpr std::int32_t Version = 0x2090;

// WM_COMMAND buttons (wParam).
inline constexpr std::intptr_t CommandClose = 40001;
inline constexpr std::intptr_t CommandPrevious = 40044;
inline constexpr std::intptr_t CommandPlay = 40045;
inline constexpr std::intptr_t CommandPause = 40046;
inline constexpr std::intptr_t CommandStop = 40047;
inline constexpr std::intptr_t CommandNext = 40048;

} // namespace platform::winamp
