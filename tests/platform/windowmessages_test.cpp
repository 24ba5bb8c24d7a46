#include "platform/error.h"
#include "platform/messagewindow.h"
#include "platform/messagewire.h"
#include "platform/windowmessages.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QThread>
#include <QTimer>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace platform;
using Clock = std::chrono::steady_clock;

namespace {

long long MillisecondsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A window served by its own thread's event loop, as another program's window would be.
class ServerThread : public QThread
{
public:
    using Handler = std::function<std::int32_t(std::uint32_t, std::intptr_t, std::intptr_t)>;

    ServerThread(std::string className, Handler handler)
        : className_(std::move(className)), handler_(std::move(handler))
    {
        start();
        handle_ = ready_.get_future().get();
    }
    ~ServerThread() override
    {
        quit();
        wait();
    }

    TWindowHandle Handle() const { return handle_; }
    std::thread::id ThreadId() const { return threadId_; }
    std::string copied;

protected:
    void run() override
    {
        threadId_ = std::this_thread::get_id();
        TMessageWindow window(className_);
        window.OnMessage = handler_;
        window.OnCopyData = [this](std::intptr_t tag, const std::string& data) {
            copied = data;
            return static_cast<std::int32_t>(tag + static_cast<std::intptr_t>(data.size()));
        };
        QTimer::singleShot(0, [&] { ready_.set_value(window.Handle()); });
        exec();
    }

private:
    std::string className_;
    Handler handler_;
    std::promise<TWindowHandle> ready_;
    TWindowHandle handle_ = 0;
    std::thread::id threadId_;
};

// A socket file bound by nobody (what a crashed server leaves), or one that listens but never answers.
int BindSocketFile(const std::string& name, bool listen)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    name.copy(address.sun_path, sizeof address.sun_path - 1);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    if (listen) {
        EXPECT_EQ(::listen(fd, 4), 0);
    }
    return fd;
}

// A client of the same user, connected and waiting at most 5 s for any answer.
int Connect(const std::string& socketName)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketName.copy(address.sun_path, sizeof address.sun_path - 1);
    EXPECT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    const timeval wait{5, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
    return fd;
}

// True when the server ended the connection without an answer.
bool DroppedUnanswered(int fd)
{
    char byte = 0;
    const bool dropped = ::recv(fd, &byte, 1, 0) == 0;
    ::close(fd);
    return dropped;
}

class WindowMessages : public ::testing::Test
{
protected:
    void SetUp() override { ::setenv("ORVANE_IPC_DIR", dir_.File("ipc").c_str(), 1); }
    void TearDown() override
    {
        ::unsetenv("ORVANE_IPC_DIR");
        SetMessageTimeout(1000);
    }
    TempDir dir_;
};

} // namespace

TEST_F(WindowMessages, NothingAnswersWithoutAServer)
{
    EXPECT_EQ(FindWindowByClass("Nobody"), 0u);
    EXPECT_FALSE(IsWindow(0));
    EXPECT_FALSE(IsWindow(12345));
    EXPECT_EQ(SendMessage(12345, WM_USER, 1, 2), 0);
    EXPECT_EQ(SendCopyData(12345, 1, "x"), 0);
}

TEST_F(WindowMessages, MessagesReachTheServingThreadAndAnswersComeBack)
{
    std::thread::id handledOn;
    ServerThread server("Winamp v1.x", [&](std::uint32_t msg, std::intptr_t w, std::intptr_t l) {
        handledOn = std::this_thread::get_id();
        if (l == 104)
            return -1;
        return static_cast<std::int32_t>(msg + w * 1000 + l);
    });
    const TWindowHandle window = FindWindowByClass("Winamp v1.x");
    ASSERT_NE(window, 0u);
    EXPECT_EQ(window, server.Handle());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(FindWindowByClass("Winamp v1.y"), 0u);

    EXPECT_EQ(SendMessage(window, WM_USER, 7, 125), 0x400 + 7000 + 125);
    EXPECT_EQ(handledOn, server.ThreadId());
    EXPECT_EQ(SendMessage(window, WM_USER, 0, 104), -1);
    EXPECT_EQ(SendMessage(window, WM_COMMAND, 40045, 0), 0x111 + 40045000);

    const std::string bytes("/music/a b.m3u\0tail", 19);
    EXPECT_EQ(SendCopyData(window, 100, bytes), 100 + 19);
    EXPECT_EQ(server.copied, bytes);
}

TEST_F(WindowMessages, ServingThreadIsCalledDirectly)
{
    // No event loop runs here: only a direct call can answer.
    TMessageWindow window("Direct");
    window.OnMessage = [](std::uint32_t, std::intptr_t w, std::intptr_t) {
        return static_cast<std::int32_t>(w);
    };
    const TWindowHandle handle = FindWindowByClass("Direct");
    EXPECT_EQ(handle, window.Handle());
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_EQ(SendMessage(handle, WM_USER, 42, 0), 42);
    EXPECT_EQ(SendCopyData(handle, 1, "data"), 0) << "no copy-data handler answers 0";
}

TEST_F(WindowMessages, ClosedWindowIsGoneAndItsClassFree)
{
    TWindowHandle handle = 0;
    const std::string socketName = MessageSocketName("Gone");
    {
        TMessageWindow window("Gone");
        handle = window.Handle();
        EXPECT_TRUE(std::filesystem::exists(socketName));
    }
    EXPECT_FALSE(std::filesystem::exists(socketName));
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(SendMessage(handle, WM_USER, 1, 1), 0);
    EXPECT_EQ(FindWindowByClass("Gone"), 0u);
    TMessageWindow again("Gone");
    EXPECT_NE(again.Handle(), handle);
}

TEST_F(WindowMessages, RestartedServerDoesNotAnswerOldHandles)
{
    const auto answer = [](std::uint32_t, std::intptr_t, std::intptr_t) { return 5; };
    TWindowHandle first = 0;
    {
        ServerThread server("Restarted", answer);
        first = FindWindowByClass("Restarted");
        ASSERT_NE(first, 0u);
    }
    ServerThread server("Restarted", answer);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(SendMessage(first, WM_USER, 0, 0), 0);
    const TWindowHandle second = FindWindowByClass("Restarted");
    EXPECT_NE(second, first);
    EXPECT_EQ(SendMessage(second, WM_USER, 0, 0), 5);
}

TEST_F(WindowMessages, StaleSocketFileNeitherAnswersNorBlocks)
{
    const std::string socketName = MessageSocketName("Crashed");
    ASSERT_FALSE(socketName.empty());
    ::close(BindSocketFile(socketName, false));
    ASSERT_TRUE(std::filesystem::exists(socketName));

    const auto start = Clock::now();
    EXPECT_EQ(FindWindowByClass("Crashed"), 0u);
    EXPECT_LT(MillisecondsSince(start), 500);

    TMessageWindow window("Crashed");
    window.OnMessage = [](std::uint32_t, std::intptr_t, std::intptr_t) { return 9; };
    EXPECT_EQ(SendMessage(FindWindowByClass("Crashed"), WM_USER, 0, 0), 9);
}

TEST_F(WindowMessages, LiveClassCannotBeOpenedTwice)
{
    TMessageWindow window("Single");
    EXPECT_THROW(TMessageWindow("Single"), EOrvaneError);
    EXPECT_TRUE(IsWindow(window.Handle())) << "the refused second window leaves the first alone";
    EXPECT_TRUE(std::filesystem::exists(MessageSocketName("Single")));
}

TEST_F(WindowMessages, HungWindowsAnswerZeroWithinTheTimeout)
{
    SetMessageTimeout(100);
    // A socket that takes connections into its backlog and never reads them.
    const int silent = BindSocketFile(MessageSocketName("Hung"), true);
    auto start = Clock::now();
    EXPECT_EQ(FindWindowByClass("Hung"), 0u);
    EXPECT_LT(MillisecondsSince(start), 1000);
    ::close(silent);

    // A window whose thread is busy in a handler.
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    ServerThread server("Busy", [released](std::uint32_t, std::intptr_t w, std::intptr_t) {
        if (w == 1)
            released.wait_for(std::chrono::seconds(5));
        return 3;
    });
    const TWindowHandle window = FindWindowByClass("Busy");
    ASSERT_NE(window, 0u);
    start = Clock::now();
    EXPECT_EQ(SendMessage(window, WM_USER, 1, 0), 0);
    EXPECT_LT(MillisecondsSince(start), 1000);
    release.set_value();
    SetMessageTimeout(1000);
    EXPECT_EQ(SendMessage(window, WM_USER, 0, 0), 3) << "the window answers again once it is free";
}

TEST_F(WindowMessages, ClassNamesStayInsideTheFolder)
{
    const std::string folder = MessageFolder();
    ASSERT_EQ(folder, dir_.File("ipc"));
    EXPECT_EQ(MessageSocketName("Winamp v1.x"), folder + "/Winamp%20v1.x.win");
    const std::string odd = MessageSocketName("../x/y");
    EXPECT_EQ(odd.find('/', folder.size() + 1), std::string::npos);
    const std::string longName = MessageSocketName(std::string(300, 'w'));
    EXPECT_LT(longName.size(), 108u);
    EXPECT_NE(longName, MessageSocketName(std::string(301, 'w')));

    TMessageWindow window("../x/y");
    EXPECT_EQ(FindWindowByClass("../x/y"), window.Handle());
    TMessageWindow longWindow(std::string(300, 'w'));
    EXPECT_EQ(FindWindowByClass(std::string(300, 'w')), longWindow.Handle());
}

TEST_F(WindowMessages, FolderWritableByOthersIsNotUsed)
{
    const std::string shared = dir_.File("shared");
    std::filesystem::create_directories(shared);
    ::chmod(shared.c_str(), 0777);
    ::setenv("ORVANE_IPC_DIR", shared.c_str(), 1);
    EXPECT_EQ(MessageFolder(), "");
    EXPECT_EQ(FindWindowByClass("Any"), 0u);
    EXPECT_THROW(TMessageWindow("Any"), EOrvaneError);
}

TEST_F(WindowMessages, FoldersAreMadePrivateWhateverTheUmaskAndForeignOnesArePassedOver)
{
    const auto modeOf = [](const std::string& folder) {
        struct stat st
        {
        };
        return ::lstat(folder.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0u;
    };
    const mode_t oldMask = ::umask(002);
    ::setenv("ORVANE_IPC_DIR", dir_.File("made/ipc").c_str(), 1);
    EXPECT_EQ(MessageFolder(), dir_.File("made/ipc"));
    EXPECT_EQ(modeOf(dir_.File("made/ipc")), 0700u);
    {
        TMessageWindow window("Umask");
        EXPECT_EQ(FindWindowByClass("Umask"), window.Handle());
    }

    // The layer's own names: a folder of ours left group-writable is repaired; one that is not ours, or
    // not a folder, gives way to the next name.
    ::unsetenv("ORVANE_IPC_DIR");
    const char* oldRuntime = std::getenv("XDG_RUNTIME_DIR");
    const std::string savedRuntime = oldRuntime ? oldRuntime : "";
    ::setenv("XDG_RUNTIME_DIR", dir_.Path().c_str(), 1);
    ::setenv("TMPDIR", dir_.File("tmp").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", dir_.File("cache").c_str(), 1);
    std::filesystem::create_directories(dir_.File("orvane"));
    ::chmod(dir_.File("orvane").c_str(), 0775);
    EXPECT_EQ(MessageFolder(), dir_.File("orvane"));
    EXPECT_EQ(modeOf(dir_.File("orvane")), 0700u);

    ::unsetenv("XDG_RUNTIME_DIR");
    const std::string user = std::to_string(::geteuid());
    const std::string claimed = dir_.File("tmp/orvane-" + user);
    if (::geteuid() == 0) {
        std::filesystem::create_directories(claimed);
        ASSERT_EQ(::chown(claimed.c_str(), 65534, 65534), 0);
    } else {
        dir_.Write("tmp/orvane-" + user, "not a folder");
    }
    EXPECT_EQ(MessageFolder(), dir_.File("cache/orvane-ipc-" + user));
    EXPECT_EQ(modeOf(dir_.File("cache/orvane-ipc-" + user)), 0700u);
    ::umask(oldMask);
    ::unsetenv("TMPDIR");
    ::unsetenv("XDG_CACHE_HOME");
    if (oldRuntime)
        ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
}

TEST_F(WindowMessages, SilentSlowAndOversizedClientsDoNotHoldTheWindow)
{
    ServerThread server("Patient", [](std::uint32_t, std::intptr_t w, std::intptr_t) {
        return static_cast<std::int32_t>(w);
    });
    const std::string socketName = MessageSocketName("Patient");
    const TWindowHandle window = FindWindowByClass("Patient");
    ASSERT_NE(window, 0u);
    wire::TRequest request;
    request.kind = wire::kMessage;
    request.window = window;
    request.msg = WM_USER;
    request.wParam = 7;
    char head[wire::kRequestSize];

    // More data announced than a message may carry: dropped at once.
    request.dataSize = wire::kMaxData + 1;
    wire::Encode(request, head);
    const int oversized = Connect(socketName);
    ASSERT_EQ(::send(oversized, head, sizeof head, 0), static_cast<ssize_t>(sizeof head));
    EXPECT_TRUE(DroppedUnanswered(oversized));

    // Clients that never send: read one at a time, they would hold the window past any sender's time-out.
    std::vector<int> silent;
    for (std::size_t i = 0; i < TMessageWindow::kMaxConnections + 8; ++i)
        silent.push_back(Connect(socketName));
    // A client whose request comes in pieces is served once it is whole, while others are served meanwhile.
    request.dataSize = 0;
    wire::Encode(request, head);
    const int slow = Connect(socketName);
    ASSERT_EQ(::send(slow, head, 10, 0), 10);
    EXPECT_EQ(SendMessage(window, WM_USER, 42, 0), 42);
    ASSERT_EQ(::send(slow, head + 10, sizeof head - 10, 0), static_cast<ssize_t>(sizeof head - 10));
    char answer[wire::kResponseSize];
    ASSERT_EQ(::recv(slow, answer, sizeof answer, MSG_WAITALL), static_cast<ssize_t>(sizeof answer));
    ::close(slow);
    wire::TResponse response;
    ASSERT_TRUE(wire::Decode(answer, response));
    EXPECT_EQ(response.status, wire::kStatusOk);
    EXPECT_EQ(response.result, 7);

    for (const int fd : silent)
        EXPECT_TRUE(DroppedUnanswered(fd)) << "a silent client is let go";
    EXPECT_EQ(SendMessage(window, WM_USER, 5, 0), 5);
}
