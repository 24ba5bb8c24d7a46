#include "core/timers/mainthread.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <mutex>

#if defined(__SANITIZE_THREAD__)
#define ORVANE_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ORVANE_TSAN 1
#endif
#endif

#ifdef ORVANE_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
#endif

namespace {

// Qt's event queue hands the event over under its own locks, which the thread sanitizer cannot see in an
// uninstrumented Qt; these tell it that the event's contents were written before the post.
void Published([[maybe_unused]] QEvent* event)
{
#ifdef ORVANE_TSAN
    __tsan_release(event);
#endif
}

void Received([[maybe_unused]] QEvent* event)
{
#ifdef ORVANE_TSAN
    __tsan_acquire(event);
#endif
}

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

class TcallEvent final : public QEvent
{
public:
    explicit TcallEvent(std::function<void()> call) : QEvent(kCallEvent), call_(std::move(call)) {}
    void Run() { call_(); }

private:
    std::function<void()> call_;
};

class TqtMainThread;

// Receives the calls on the application's thread; a child of the application, so it goes with it, and
// Qt destroys the events still queued for it, and their calls unrun.
class TcallReceiver final : public QObject
{
public:
    TcallReceiver(QCoreApplication* app, TqtMainThread& owner) : QObject(app), owner_(owner) {}
    ~TcallReceiver() override;

protected:
    bool event(QEvent* event) override
    {
        Received(event);
        if (event->type() != kCallEvent)
            return QObject::event(event);
        static_cast<TcallEvent*>(event)->Run();
        return true;
    }

private:
    TqtMainThread& owner_;
};

class TqtMainThread final : public TmainThread
{
public:
    void Queue(std::function<void()> call) override
    {
        const std::lock_guard lock(mutex_);
        if (receiver_ == nullptr)
            return;
        auto* const event = new TcallEvent(std::move(call)); // owned by Qt's queue once posted
        Published(event);
        QCoreApplication::postEvent(receiver_, event);
    }

    // On the application's thread.
    void Attach(QCoreApplication* app)
    {
        const std::lock_guard lock(mutex_);
        if (receiver_ == nullptr)
            receiver_ = new TcallReceiver(app, *this);
    }

    void Detach()
    {
        const std::lock_guard lock(mutex_);
        receiver_ = nullptr;
    }

private:
    std::mutex mutex_;
    TcallReceiver* receiver_ = nullptr; // owned by the application
};

TcallReceiver::~TcallReceiver()
{
    owner_.Detach();
}

} // namespace

TmainThread* TmainThread::Default()
{
    QCoreApplication* const app = QCoreApplication::instance();
    if (app == nullptr)
        return nullptr;
    static TqtMainThread instance;
    instance.Attach(app);
    return &instance;
}
