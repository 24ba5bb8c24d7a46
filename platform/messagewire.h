#pragma once

// What client and server of the window messages share: the frames on the socket, bounded socket I/O and
// the table of windows served inside this process. Not for use outside the platform layer.

#include "windowmessages.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <sys/un.h>
#include <thread>

namespace platform {
class TMessageWindow;
}

namespace platform::wire {

using TDeadline = std::chrono::steady_clock::time_point;

inline constexpr std::uint32_t kMagic = 0x314D574F; // "OWM1"
inline constexpr std::uint32_t kIdentify = 1;
inline constexpr std::uint32_t kMessage = 2;
inline constexpr std::uint32_t kStatusOk = 0;
inline constexpr std::uint32_t kStatusNoWindow = 1;
// A copied block larger than this is refused; file names and small records are what travels.
inline constexpr std::uint32_t kMaxData = 1 << 20;

// A request: kind; the window it is meant for (0 with kIdentify); the message; the size of the bytes
// that follow it.
struct TRequest
{
    std::uint32_t kind = 0;
    TWindowHandle window = 0;
    std::uint32_t msg = 0;
    std::uint32_t dataSize = 0;
    std::int64_t wParam = 0;
    std::int64_t lParam = 0;
};
inline constexpr std::size_t kRequestSize = 40;

// The answer: status, the handler's result and the server's own handle.
struct TResponse
{
    std::uint32_t status = 0;
    std::int32_t result = 0;
    TWindowHandle window = 0;
};
inline constexpr std::size_t kResponseSize = 24;

void Encode(const TRequest& request, char* bytes);
bool Decode(const char* bytes, TRequest& request);
void Encode(const TResponse& response, char* bytes);
bool Decode(const char* bytes, TResponse& response);

TDeadline DeadlineAfter(int milliseconds);
// Bounded I/O on a non-blocking socket; false on error, end of stream or when the deadline passes.
bool WriteAll(int fd, const char* data, std::size_t size, TDeadline deadline);
bool ReadAll(int fd, char* data, std::size_t size, TDeadline deadline);
// Fills a socket address for the file; false when the name does not fit.
bool SocketAddress(const std::string& socketName, sockaddr_un& address);

// Windows served inside this process, so that lookups and messages from the serving thread need no socket.
struct TLocalWindow
{
    const TMessageWindow* window = nullptr;
    std::thread::id thread;
    std::string socketName;
};
void RegisterLocal(TWindowHandle handle, const TLocalWindow& local);
void UnregisterLocal(TWindowHandle handle);
bool FindLocal(TWindowHandle handle, TLocalWindow& local);
TWindowHandle FindLocalBySocket(const std::string& socketName);

} // namespace platform::wire
