#include "messagewire.h"

#include <cerrno>
#include <cstring>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <unordered_map>

namespace platform::wire {
namespace {

template <typename T>
void Put(char* bytes, std::size_t offset, T value)
{
    std::memcpy(bytes + offset, &value, sizeof value);
}

template <typename T>
T Get(const char* bytes, std::size_t offset)
{
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

int RemainingMs(TDeadline deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(left.count());
}

bool WaitFor(int fd, short events, TDeadline deadline)
{
    for (;;) {
        const int timeout = RemainingMs(deadline);
        if (timeout <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, timeout);
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return false;
    }
}

std::mutex localMutex;
std::unordered_map<TWindowHandle, TLocalWindow>& LocalWindows()
{
    static std::unordered_map<TWindowHandle, TLocalWindow> windows;
    return windows;
}

} // namespace

// Both ends run on the same machine, so the fields travel in its own byte order.
void Encode(const TRequest& request, char* bytes)
{
    Put(bytes, 0, kMagic);
    Put(bytes, 4, request.kind);
    Put(bytes, 8, request.window);
    Put(bytes, 16, request.msg);
    Put(bytes, 20, request.dataSize);
    Put(bytes, 24, request.wParam);
    Put(bytes, 32, request.lParam);
}

bool Decode(const char* bytes, TRequest& request)
{
    if (Get<std::uint32_t>(bytes, 0) != kMagic)
        return false;
    request.kind = Get<std::uint32_t>(bytes, 4);
    request.window = Get<TWindowHandle>(bytes, 8);
    request.msg = Get<std::uint32_t>(bytes, 16);
    request.dataSize = Get<std::uint32_t>(bytes, 20);
    request.wParam = Get<std::int64_t>(bytes, 24);
    request.lParam = Get<std::int64_t>(bytes, 32);
    return request.dataSize <= kMaxData;
}

void Encode(const TResponse& response, char* bytes)
{
    Put(bytes, 0, kMagic);
    Put(bytes, 4, response.status);
    Put(bytes, 8, response.result);
    Put(bytes, 12, std::uint32_t{0});
    Put(bytes, 16, response.window);
}

bool Decode(const char* bytes, TResponse& response)
{
    if (Get<std::uint32_t>(bytes, 0) != kMagic)
        return false;
    response.status = Get<std::uint32_t>(bytes, 4);
    response.result = Get<std::int32_t>(bytes, 8);
    response.window = Get<TWindowHandle>(bytes, 16);
    return true;
}

TDeadline DeadlineAfter(int milliseconds)
{
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

bool WriteAll(int fd, const char* data, std::size_t size, TDeadline deadline)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitFor(fd, POLLOUT, deadline))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

bool ReadAll(int fd, char* data, std::size_t size, TDeadline deadline)
{
    while (size > 0) {
        const ssize_t n = ::recv(fd, data, size, 0);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
        } else if (n == 0) {
            return false;
        } else if (errno == EINTR) {
            continue;
        } else if (errno == EAGAIN || errno == EWOULDBLOCK) {
            if (!WaitFor(fd, POLLIN, deadline))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

bool SocketAddress(const std::string& socketName, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (socketName.empty() || socketName.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, socketName.data(), socketName.size());
    return true;
}

void RegisterLocal(TWindowHandle handle, const TLocalWindow& local)
{
    std::lock_guard lock(localMutex);
    LocalWindows()[handle] = local;
}

void UnregisterLocal(TWindowHandle handle)
{
    std::lock_guard lock(localMutex);
    LocalWindows().erase(handle);
}

bool FindLocal(TWindowHandle handle, TLocalWindow& local)
{
    std::lock_guard lock(localMutex);
    const auto it = LocalWindows().find(handle);
    if (it == LocalWindows().end())
        return false;
    local = it->second;
    return true;
}

TWindowHandle FindLocalBySocket(const std::string& socketName)
{
    std::lock_guard lock(localMutex);
    for (const auto& [handle, local] : LocalWindows())
        if (local.socketName == socketName)
            return handle;
    return 0;
}

} // namespace platform::wire
