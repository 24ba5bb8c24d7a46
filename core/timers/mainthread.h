#pragma once

#include <functional>

// Hands calls from worker threads to the user-interface thread, which runs them from its event loop, in
// the order queued, one at a time. An implementation must outlive every component that queues through it.
class TmainThread
{
public:
    virtual ~TmainThread() = default;

    // Queues call for the user-interface thread and returns at once; callable from any thread. A call that
    // the loop never reaches (it ended first) is destroyed unrun.
    virtual void Queue(std::function<void()> call) = 0;

    // The hand-over of the running Qt application: calls are posted as events to an object of the
    // application's thread and run from its event loop. Nullptr while no QCoreApplication exists. Call it
    // on the user-interface thread.
    static TmainThread* Default();
};
