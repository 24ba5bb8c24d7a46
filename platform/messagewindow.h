#pragma once

#include "windowmessages.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;
class QTimer;

namespace platform {

class TMessageConnection;

// The server side of a window: listens on the socket of its class and answers each message on the thread
// that created it, from that thread's Qt event loop. A socket file left by a server that died is taken
// over; a class already served by a live window cannot be opened twice (EOrvaneError).
// Clients are read without blocking the thread, many at once; one that has not delivered its whole
// request within kRequestTimeoutMs is dropped, and past kMaxConnections the oldest gives way.
class TMessageWindow
{
public:
    static constexpr int kRequestTimeoutMs = 250;
    static constexpr std::size_t kMaxConnections = 32;

    explicit TMessageWindow(std::string className);
    ~TMessageWindow();
    TMessageWindow(const TMessageWindow&) = delete;
    TMessageWindow& operator=(const TMessageWindow&) = delete;

    TWindowHandle Handle() const { return handle_; }
    const std::string& ClassName() const { return className_; }

    // Answers every message but WM_COPYDATA; unset, the answer is 0.
    std::function<std::int32_t(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam)> OnMessage;
    // Answers WM_COPYDATA; unset, the answer is 0.
    std::function<std::int32_t(std::intptr_t dwData, const std::string& data)> OnCopyData;

    // Runs one message through the handlers (what a direct call from this thread amounts to).
    std::int32_t Dispatch(std::uint32_t msg, std::intptr_t wParam, std::intptr_t lParam,
                          const std::string& data) const;

private:
    void Listen();
    void AcceptPending();
    void Accept(int fd);
    // Reads what the connection has sent; answers and ends it once its request is whole.
    void Progress(std::uint64_t id);
    void Answer(TMessageConnection& connection) const;
    void DropExpired();
    std::deque<std::unique_ptr<TMessageConnection>>::iterator Find(std::uint64_t id);

    std::string className_;
    std::string socketName_;
    TWindowHandle handle_ = 0;
    int listener_ = -1;
    // The socket file's identity, so that only our own file is removed at the end.
    std::uint64_t socketDevice_ = 0;
    std::uint64_t socketInode_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
    // Connections whose request is still arriving, oldest first.
    std::deque<std::unique_ptr<TMessageConnection>> connections_;
    std::uint64_t lastConnectionId_ = 0;
    std::unique_ptr<QTimer> sweeper_;
};

} // namespace platform
