#include "messageconnection.h"

#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

TMessageConnection::TMessageConnection(int fd, std::uint64_t id, wire::TDeadline deadline)
    : fd_(fd), id_(id), deadline_(deadline)
{}

TMessageConnection::~TMessageConnection()
{
    StopWatching();
    ::close(fd_);
}

void TMessageConnection::Watch(std::function<void()> onReadable)
{
    StopWatching();
    notifier_ = std::make_unique<QSocketNotifier>(fd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), std::move(onReadable));
}

void TMessageConnection::StopWatching()
{
    if (!notifier_)
        return;
    // The connection may end inside the notifier's own signal: it goes once that has returned.
    notifier_->setEnabled(false);
    notifier_.release()->deleteLater();
}

TMessageConnection::TProgress TMessageConnection::Read()
{
    for (;;) {
        const bool inHead = headSize_ < head_.size();
        const std::size_t missing = inHead ? head_.size() - headSize_ : request_.dataSize - data_.size();
        if (missing == 0)
            return TProgress::Complete;
        char chunk[16384];
        const ssize_t n = ::recv(fd_, chunk, std::min(missing, sizeof chunk), 0);
        if (n > 0) {
            if (Take(chunk, static_cast<std::size_t>(n)) == TProgress::Failed)
                return TProgress::Failed;
        } else if (n == 0) {
            return TProgress::Failed;
        } else if (errno != EINTR) {
            return errno == EAGAIN || errno == EWOULDBLOCK ? TProgress::Incomplete : TProgress::Failed;
        }
    }
}

// Read never asks for more than the part being filled is missing, so the bytes belong to one part.
TMessageConnection::TProgress TMessageConnection::Take(const char* bytes, std::size_t size)
{
    if (headSize_ == head_.size()) {
        data_.append(bytes, size);
        return TProgress::Incomplete;
    }
    std::memcpy(head_.data() + headSize_, bytes, size);
    headSize_ += size;
    // Decode refuses a wrong magic number and more data than a message may carry.
    if (headSize_ == head_.size() && !wire::Decode(head_.data(), request_))
        return TProgress::Failed;
    return TProgress::Incomplete;
}

void TMessageConnection::Answer(const wire::TResponse& response)
{
    char bytes[wire::kResponseSize];
    wire::Encode(response, bytes);
    // The answer is all this side ever sends, into an empty socket buffer: it goes at once, or the client
    // has gone.
    [[maybe_unused]] const ssize_t sent = ::send(fd_, bytes, sizeof bytes, MSG_NOSIGNAL | MSG_DONTWAIT);
}

} // namespace platform
