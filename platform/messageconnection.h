#pragma once

// One client connection of a window server. Not for use outside the platform layer.

#include "messagewire.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace platform {

// Read without ever blocking: whatever bytes the client has sent are taken as they arrive, until its
// request and the data announced with it are whole. The connection is watched from the creating thread's
// event loop; destroying it stops the watch and closes the socket.
class TMessageConnection
{
public:
    enum class TProgress
    {
        Incomplete,
        Complete,
        Failed,
    };

    // Takes over the non-blocking socket fd; id names the connection to its server.
    TMessageConnection(int fd, std::uint64_t id, wire::TDeadline deadline);
    ~TMessageConnection();
    TMessageConnection(const TMessageConnection&) = delete;
    TMessageConnection& operator=(const TMessageConnection&) = delete;

    // Takes what has arrived. Failed on a damaged or oversized request, a closed or broken socket.
    TProgress Read();
    bool Expired(wire::TDeadline now) const { return now >= deadline_; }

    // Valid once Read answered Complete.
    const wire::TRequest& Request() const { return request_; }
    const std::string& Data() const { return data_; }

    std::uint64_t Id() const { return id_; }

    // onReadable runs on this thread, from its event loop, whenever bytes are waiting.
    void Watch(std::function<void()> onReadable);
    // No more readiness calls from here on (the answer may run the event loop).
    void StopWatching();
    // Sends the answer; never waits.
    void Answer(const wire::TResponse& response);

private:
    TProgress Take(const char* bytes, std::size_t size);

    int fd_;
    std::uint64_t id_;
    wire::TDeadline deadline_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::array<char, wire::kRequestSize> head_{};
    std::size_t headSize_ = 0;
    wire::TRequest request_;
    std::string data_;
};

} // namespace platform
