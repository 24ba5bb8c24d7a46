#include "windowmessages.h"

#include "folders.h"
#include "messagewindow.h"
#include "messagewire.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

namespace platform {
namespace {

std::atomic<int> timeoutMs{1000};

// Handles found through the socket folder, with the socket that answered for them.
std::mutex remoteMutex;
std::unordered_map<TWindowHandle, std::string>& RemoteWindows()
{
    static std::unordered_map<TWindowHandle, std::string> windows;
    return windows;
}

void RememberRemote(TWindowHandle handle, const std::string& socketName)
{
    std::lock_guard lock(remoteMutex);
    RemoteWindows()[handle] = socketName;
}

std::string RemoteSocket(TWindowHandle handle)
{
    std::lock_guard lock(remoteMutex);
    const auto it = RemoteWindows().find(handle);
    return it == RemoteWindows().end() ? std::string() : it->second;
}

std::string Environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// A folder only this user can write to, or nothing: sockets in a folder others control could be faked.
// The folder is made 0700 whatever the umask. A folder of ours that others may write to is refused when the
// user named it; one of the layer's own names is ours to repair (an older version made it with the umask's
// mode, 0775 under a group-writable umask).
bool UsableFolder(const std::string& folder, bool repair)
{
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(folder).parent_path();
    if (!parent.empty())
        std::filesystem::create_directories(parent, ec);
    if (::mkdir(folder.c_str(), 0700) == 0)
        ::chmod(folder.c_str(), 0700);
    struct stat st
    {
    };
    if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return false;
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) == 0)
        return true;
    return repair && ::chmod(folder.c_str(), st.st_mode & 07700) == 0;
}

// A folder name counts only when every socket's full name inside it fits a socket address.
bool ShortEnough(const std::string& folder)
{
    return folder.size() + 1 + 48 + 4 < sizeof(sockaddr_un::sun_path);
}

// An absolute folder from a variable, else nothing.
std::string AbsoluteFromEnvironment(const char* name)
{
    std::string value = Environment(name);
    return !value.empty() && value[0] == '/' ? value : std::string();
}

std::string WithoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}
// Class names become file names: letters, digits, ".", "_" and "-" stay, everything else is %XX; very
// long names are hashed so the socket's full name fits a socket address.
std::string EncodeClassName(const std::string& className)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const unsigned char c : className) {
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
            c == '_' || c == '-') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 15];
        }
    }
    if (encoded.size() <= 48)
        return encoded;
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a: the same in every program that looks
    for (const unsigned char c : className)
        hash = (hash ^ c) * 1099511628211ull;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return "class-" + std::string(text);
}

class TSocket
{
public:
    TSocket() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {}
    ~TSocket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    TSocket(const TSocket&) = delete;
    TSocket& operator=(const TSocket&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

bool Exchange(const std::string& socketName, const wire::TRequest& request, const std::string& data,
              wire::TResponse& response)
{
    sockaddr_un address;
    if (!wire::SocketAddress(socketName, address))
        return false;
    const wire::TDeadline deadline = wire::DeadlineAfter(timeoutMs.load());
    TSocket socket;
    if (socket.Fd() < 0)
        return false;
    while (::connect(socket.Fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (errno == EINTR)
            continue;
        // A full backlog: the server is busy, try again until the deadline.
        if (errno != EAGAIN || std::chrono::steady_clock::now() >= deadline)
            return false;
        ::usleep(2000);
    }
    char head[wire::kRequestSize];
    wire::Encode(request, head);
    if (!wire::WriteAll(socket.Fd(), head, sizeof head, deadline) ||
        !wire::WriteAll(socket.Fd(), data.data(), data.size(), deadline))
        return false;
    char answer[wire::kResponseSize];
    return wire::ReadAll(socket.Fd(), answer, sizeof answer, deadline) && wire::Decode(answer, response);
}

TWindowHandle Identify(const std::string& socketName)
{
    wire::TRequest request;
    request.kind = wire::kIdentify;
    wire::TResponse response;
    if (!Exchange(socketName, request, std::string(), response) || response.status != wire::kStatusOk)
        return 0;
    return response.window;
}

std::int32_t Deliver(TWindowHandle window, std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam,
                     const std::string& data)
{
    if (window == 0 || data.size() > wire::kMaxData)
        return 0;
    std::string socketName;
    wire::TLocalWindow local;
    if (wire::FindLocal(window, local)) {
        if (local.thread == std::this_thread::get_id())
            return local.window->Dispatch(msg, wParam, lParam, data);
        socketName = local.socketName;
    } else {
        socketName = RemoteSocket(window);
    }
    if (socketName.empty())
        return 0;
    wire::TRequest request;
    request.kind = wire::kMessage;
    request.window = window;
    request.msg = msg;
    request.dataSize = static_cast<std::uint32_t>(data.size());
    request.wParam = wParam;
    request.lParam = lParam;
    wire::TResponse response;
    if (!Exchange(socketName, request, data, response) || response.status != wire::kStatusOk)
        return 0;
    return response.result;
}

} // namespace

std::string MessageFolder()
{
    const std::string chosen = Environment("ORVANE_IPC_DIR");
    if (!chosen.empty()) {
        const std::string folder = WithoutTrailingSlash(chosen);
        return UsableFolder(folder, false) ? folder : std::string();
    }
    // The first usable of the layer's own names, so that every copy of one user settles on the same one: a
    // name under /tmp that another user made first, or that is not a folder, is passed over.
    const std::string user = std::to_string(::geteuid());
    std::vector<std::string> candidates;
    const std::string runtime = AbsoluteFromEnvironment("XDG_RUNTIME_DIR");
    std::error_code ec;
    if (!runtime.empty() && std::filesystem::is_directory(runtime, ec))
        candidates.push_back(WithoutTrailingSlash(runtime) + "/orvane");
    const std::string temporary = AbsoluteFromEnvironment("TMPDIR");
    candidates.push_back(WithoutTrailingSlash(temporary.empty() ? std::string("/tmp") : temporary) +
                         "/orvane-" + user);
    std::string cache = AbsoluteFromEnvironment("XDG_CACHE_HOME");
    if (cache.empty() && !HomeFolder().empty())
        cache = HomeFolder() + "/.cache";
    if (!cache.empty())
        candidates.push_back(WithoutTrailingSlash(cache) + "/orvane-ipc-" + user);
    for (const std::string& folder : candidates)
        if (ShortEnough(folder) && UsableFolder(folder, true))
            return folder;
    return std::string();
}

std::string MessageSocketName(const std::string& className)
{
    const std::string folder = MessageFolder();
    if (folder.empty())
        return std::string();
    return folder + "/" + EncodeClassName(className) + ".win";
}

TWindowHandle FindWindowByClass(const std::string& className)
{
    const std::string socketName = MessageSocketName(className);
    if (socketName.empty())
        return 0;
    if (const TWindowHandle local = wire::FindLocalBySocket(socketName))
        return local;
    const TWindowHandle window = Identify(socketName);
    if (window != 0)
        RememberRemote(window, socketName);
    return window;
}

bool IsWindow(TWindowHandle window)
{
    if (window == 0)
        return false;
    wire::TLocalWindow local;
    if (wire::FindLocal(window, local))
        return true;
    const std::string socketName = RemoteSocket(window);
    return !socketName.empty() && Identify(socketName) == window;
}

std::int32_t SendMessage(TWindowHandle window, std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)
{
    return Deliver(window, msg, wParam, lParam, std::string());
}

std::int32_t SendCopyData(TWindowHandle window, std::intptr_t dwData, const std::string& data)
{
    return Deliver(window, WM_COPYDATA, 0, dwData, data);
}

int MessageTimeout()
{
    return timeoutMs.load();
}

void SetMessageTimeout(int milliseconds)
{
    timeoutMs.store(milliseconds > 0 ? milliseconds : 1);
}

} // namespace platform
