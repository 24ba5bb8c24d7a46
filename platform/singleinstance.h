#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

class TMessageWindow;

// One running copy per user and per program folder: a lock file named after the program's title in the
// window-message folder and another in the program folder, both held for the process's life, and a message
// window of the title's class that answers "activate". A second copy finds a lock taken, asks the first to
// come to the front, and quits before it creates anything else.
class TsingleInstance
{
public:
    explicit TsingleInstance(const std::string& title);
    ~TsingleInstance();
    TsingleInstance(const TsingleInstance&) = delete;
    TsingleInstance& operator=(const TsingleInstance&) = delete;

    // True when this process holds the locks.
    bool Owns() const { return lockFd_ >= 0; }
    // True when the locks could not be had for another reason than a running copy; Failure says why.
    bool Failed() const { return !failure_.empty(); }
    const std::string& Failure() const { return failure_; }
    // Called on the GUI thread when another copy asks this one to come forward (owner only).
    std::function<void()> OnActivate;
    // Asks the running copy to come forward; false when none answered.
    bool ActivateRunning() const;
    // Gives up the locks (the destructor does it too).
    void Release();

private:
    // Takes the lock of that file: 1 taken, 0 held by another copy, -1 failed (failure_ set).
    int TakeLock(const std::string& fileName, int& fd);

    std::string title_;
    int lockFd_ = -1;
    int homeLockFd_ = -1;
    std::string failure_;
    std::unique_ptr<TMessageWindow> window_;
};

} // namespace platform
