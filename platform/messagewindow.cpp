#include "messagewindow.h"

#include "error.h"
#include "messageconnection.h"
#include "messagewire.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {
namespace {

// Unique across processes and restarts, so a handle kept from an earlier server never reaches a new one.
TWindowHandle NewHandle()
{
    static std::atomic<std::uint64_t> counter{0};
    std::random_device random;
    std::uint64_t value = (static_cast<std::uint64_t>(random()) << 32) ^ random();
    value ^= (static_cast<std::uint64_t>(::getpid()) << 20) ^ ++counter;
    value &= 0x7FFFFFFFFFFFFFFFull;
    return value == 0 ? 1 : value;
}

// A socket file nobody listens on is what a crashed server leaves behind.
bool SomebodyListens(const sockaddr_un& address)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
                           errno == EAGAIN; // a full backlog is a live server too
    ::close(fd);
    return connected;
}

// How often connections are checked against their time-out.
constexpr int kSweepMs = 50;

bool SameUser(int connection)
{
    ucred peer{};
    socklen_t peerSize = sizeof peer;
    return ::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &peerSize) == 0 &&
           peer.uid == ::geteuid();
}

} // namespace

TMessageWindow::TMessageWindow(std::string className) : className_(std::move(className))
{
    socketName_ = MessageSocketName(className_);
    if (socketName_.empty())
        throw EOrvaneError("No folder for window messages can be used.");
    handle_ = NewHandle();
    Listen();
    notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                     [this] { AcceptPending(); });
    sweeper_ = std::make_unique<QTimer>();
    sweeper_->setInterval(kSweepMs);
    QObject::connect(sweeper_.get(), &QTimer::timeout, sweeper_.get(), [this] { DropExpired(); });
    wire::RegisterLocal(handle_, {this, std::this_thread::get_id(), socketName_});
}

TMessageWindow::~TMessageWindow()
{
    wire::UnregisterLocal(handle_);
    connections_.clear();
    sweeper_.reset();
    notifier_.reset();
    ::close(listener_);
    struct stat st
    {
    };
    if (::stat(socketName_.c_str(), &st) == 0 && st.st_dev == socketDevice_ && st.st_ino == socketInode_)
        ::unlink(socketName_.c_str());
}

void TMessageWindow::Listen()
{
    sockaddr_un address;
    if (!wire::SocketAddress(socketName_, address))
        throw EOrvaneError("The window socket name \"" + socketName_ + "\" is too long.");
    listener_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0)
        throw EOrvaneError(std::string("Cannot create a window socket: ") + std::strerror(errno));
    for (int attempt = 0;; ++attempt) {
        if (::bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
            break;
        const int error = errno;
        if (error == EADDRINUSE && attempt == 0 && !SomebodyListens(address)) {
            ::unlink(socketName_.c_str());
            continue;
        }
        ::close(listener_);
        if (error == EADDRINUSE)
            throw EOrvaneError("A window of class \"" + className_ + "\" is already open.");
        throw EOrvaneError("Cannot open the window socket \"" + socketName_ + "\": " + std::strerror(error));
    }
    struct stat st
    {
    };
    if (::stat(socketName_.c_str(), &st) == 0) {
        socketDevice_ = st.st_dev;
        socketInode_ = st.st_ino;
    }
    if (::listen(listener_, 64) != 0) {
        const int error = errno;
        ::close(listener_);
        ::unlink(socketName_.c_str());
        throw EOrvaneError("Cannot listen on the window socket \"" + socketName_ +
                           "\": " + std::strerror(error));
    }
}

void TMessageWindow::AcceptPending()
{
    for (;;) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (!SameUser(connection)) {
            ::close(connection);
            continue;
        }
        try {
            Accept(connection);
        } catch (...) {
            // Out of memory or notifiers: this client goes unanswered, the window serves on.
        }
    }
}

void TMessageWindow::Accept(int fd)
{
    if (connections_.size() >= kMaxConnections)
        connections_.pop_front();
    const std::uint64_t id = ++lastConnectionId_;
    std::unique_ptr<TMessageConnection> connection;
    try {
        connection = std::make_unique<TMessageConnection>(fd, id, wire::DeadlineAfter(kRequestTimeoutMs));
    } catch (...) {
        ::close(fd);
        throw;
    }
    connection->Watch([this, id] { Progress(id); });
    connections_.push_back(std::move(connection));
    if (!sweeper_->isActive())
        sweeper_->start();
    // Most clients send their request along with the connection: it is usually there already.
    Progress(id);
}

std::deque<std::unique_ptr<TMessageConnection>>::iterator TMessageWindow::Find(std::uint64_t id)
{
    return std::find_if(connections_.begin(), connections_.end(),
                        [id](const auto& connection) { return connection->Id() == id; });
}

void TMessageWindow::Progress(std::uint64_t id)
{
    const auto it = Find(id);
    if (it == connections_.end())
        return;
    const TMessageConnection::TProgress progress = (*it)->Read();
    if (progress == TMessageConnection::TProgress::Incomplete)
        return;
    // Out of the list before the handlers run: they may run the event loop, which serves other clients.
    const std::unique_ptr<TMessageConnection> done = std::move(*it);
    connections_.erase(it);
    if (connections_.empty())
        sweeper_->stop();
    if (progress == TMessageConnection::TProgress::Complete) {
        done->StopWatching();
        Answer(*done);
    }
}

void TMessageWindow::Answer(TMessageConnection& connection) const
{
    const wire::TRequest& request = connection.Request();
    wire::TResponse response;
    response.window = handle_;
    if (request.kind == wire::kIdentify) {
        response.status = wire::kStatusOk;
    } else if (request.kind == wire::kMessage && request.window == handle_) {
        response.status = wire::kStatusOk;
        try {
            response.result = Dispatch(request.msg, static_cast<std::intptr_t>(request.wParam),
                                       static_cast<std::intptr_t>(request.lParam), connection.Data());
        } catch (...) {
            // A handler that fails answers 0, as an unhandled message does.
            response.result = 0;
        }
    } else {
        response.status = wire::kStatusNoWindow;
    }
    connection.Answer(response);
}

void TMessageWindow::DropExpired()
{
    const wire::TDeadline now = std::chrono::steady_clock::now();
    std::vector<std::uint64_t> expired;
    for (const auto& connection : connections_)
        if (connection->Expired(now))
            expired.push_back(connection->Id());
    for (const std::uint64_t id : expired) {
        // A busy thread may only now get to a request that came in time.
        Progress(id);
        const auto it = Find(id);
        if (it != connections_.end())
            connections_.erase(it);
    }
    if (connections_.empty())
        sweeper_->stop();
}

std::int32_t TMessageWindow::Dispatch(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam,
                                      const std::string& data) const
{
    if (msg == WM_COPYDATA)
        return OnCopyData ? OnCopyData(lParam, data) : 0;
    return OnMessage ? OnMessage(msg, wParam, lParam) : 0;
}

} // namespace platform
