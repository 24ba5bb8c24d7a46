#include "platform/singleinstance.h"

#include "platform/folders.h"
#include "platform/messagewindow.h"
#include "platform/windowmessages.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

// What a second copy sends the first: come to the front.
constexpr std::uint32_t kActivateMessage = WM_USER + 1;
constexpr std::int32_t kActivated = 1;

// The lock file's name: the title with everything but letters and digits made "_".
std::string LockFileName(const std::string& title)
{
    std::string name;
    for (const unsigned char c : title)
        name += std::isalnum(c) ? static_cast<char>(c) : '_';
    return name + ".lock";
}

} // namespace

int TsingleInstance::TakeLock(const std::string& fileName, int& fd)
{
    fd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        failure_ = "Cannot open the lock file " + fileName + ": " + std::strerror(errno);
        return -1;
    }
    // The lock goes with the process, so a copy that crashed leaves nothing to clean up.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return 1;
    const int error = errno;
    ::close(fd);
    fd = -1;
    if (error == EWOULDBLOCK)
        return 0;
    failure_ = "Cannot lock " + fileName + ": " + std::strerror(error);
    return -1;
}

TsingleInstance::TsingleInstance(const std::string& title) : title_(title)
{
    const std::string folder = MessageFolder();
    if (folder.empty()) {
        failure_ = "No folder of this user's own can be had for the window messages (a folder of that name "
                   "belongs to someone else or others may write to it).";
        return;
    }
    int fd = -1;
    if (TakeLock(folder + "/" + LockFileName(title), fd) <= 0)
        return;
    // The program folder has one copy too, whatever window-message folder each copy was given. A program
    // folder that cannot be made or written to leaves this to the first lock.
    const std::string home = ProgramFolder();
    if (ForceDirectories(home)) {
        const std::string failure = failure_;
        const int taken = TakeLock(home + "." + LockFileName(title), homeLockFd_);
        failure_ = failure;
        if (taken == 0) {
            ::close(fd);
            return;
        }
    }
    lockFd_ = fd;
    try {
        window_ = std::make_unique<TMessageWindow>(title_);
        window_->OnMessage = [this](std::uint32_t msg, std::intptr_t, std::intptr_t) -> std::int32_t {
            if (msg != kActivateMessage)
                return 0;
            if (OnActivate)
                OnActivate();
            return kActivated;
        };
    } catch (...) {
        // Without the message window the copy still runs alone; it only cannot be raised by another.
        window_.reset();
    }
}

TsingleInstance::~TsingleInstance()
{
    Release();
}

bool TsingleInstance::ActivateRunning() const
{
    const TWindowHandle window = FindWindowByClass(title_);
    return window != 0 && SendMessage(window, kActivateMessage, 0, 0) == kActivated;
}

void TsingleInstance::Release()
{
    window_.reset();
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
    if (homeLockFd_ >= 0) {
        ::close(homeLockFd_);
        homeLockFd_ = -1;
    }
}

} // namespace platform
