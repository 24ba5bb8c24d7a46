#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {

class TMessageWindow;

// One running copy per user: a lock file named after the program's title, held for the process's life,
// and a message window of the title's class that answers "activate". A second copy finds the lock taken,
// asks the first to come to the front, and quits before it creates anything else.
class TsingleInstance
{
public:
    explicit TsingleInstance(const std::string& title);
    ~TsingleInstance();
    TsingleInstance(const TsingleInstance&) = delete;
    TsingleInstance& operator=(const TsingleInstance&) = delete;

    // True when this process holds the lock.
    bool Owns() const { return lockFd_ >= 0; }
    // Called on the GUI thread when another copy asks this one to come forward (owner only).
    std::function<void()> OnActivate;
    // Asks the running copy to come forward; false when none answered.
    bool ActivateRunning() const;
    // Gives up the lock (the destructor does it too).
    void Release();

private:
    std::string title_;
    int lockFd_ = -1;
    std::unique_ptr<TMessageWindow> window_;
};

} // namespace platform
