#pragma once

#include <cstdint>
#include <string>

// Window messages between processes. A "window" is a server (TMessageWindow) listening on a Unix-domain
// socket named after its window class in the user's IPC folder; a handle names one server's lifetime, so
// a restarted server gets a new handle and old handles stop answering, as a destroyed window would.
// Every call here is bounded by the message time-out: a window that vanished or hangs answers 0.
namespace platform {

// 0 is "no window".
using TWindowHandle = std::uint64_t;

inline constexpr std::uint32_t WM_CLOSE = 0x0010;
inline constexpr std::uint32_t WM_COPYDATA = 0x004A;
inline constexpr std::uint32_t WM_COMMAND = 0x0111;
inline constexpr std::uint32_t WM_USER = 0x0400;

// The folder holding the windows' sockets: $ORVANE_IPC_DIR, else the first usable of $XDG_RUNTIME_DIR/orvane,
// $TMPDIR (default /tmp)/orvane-<uid> and $XDG_CACHE_HOME (default ~/.cache)/orvane-ipc-<uid>; created with
// mode 0700 whatever the umask, ours only (one of the last three that others could write to is made 0700
// again). Empty when no folder owned by this user can be had.
std::string MessageFolder();
// The socket file that a window of this class listens on (inside MessageFolder()).
std::string MessageSocketName(const std::string& className);

// The window of that class, 0 when none answers.
TWindowHandle FindWindowByClass(const std::string& className);
// True while the server behind the handle still runs.
bool IsWindow(TWindowHandle window);

// Delivers the message and waits for the window's answer; 0 when the window is gone or does not answer
// within the time-out. A window served on the calling thread is called directly.
std::int32_t SendMessage(TWindowHandle window, std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam);
// WM_COPYDATA: hands a block of bytes with a caller-defined tag (dwData) to the window.
std::int32_t SendCopyData(TWindowHandle window, std::intptr_t dwData, const std::string& data);

// The bound on one exchange (connect, send, answer), in milliseconds; 1000 unless changed.
int MessageTimeout();
void SetMessageTimeout(int milliseconds);

} // namespace platform
