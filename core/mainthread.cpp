#include "core/mainthread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace {

// Queued invocations on the application object: Qt runs them on the thread the application lives on,
// and drops them when the application object goes first.
class TqtMainThread final : public TmainThread
{
public:
    void Queue(std::function<void()> call) override
    {
        QCoreApplication* const app = QCoreApplication::instance();
        if (app == nullptr)
            return;
        QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
    }
};

} // namespace

TmainThread* TmainThread::Default()
{
    if (QCoreApplication::instance() == nullptr)
        return nullptr;
    static TqtMainThread instance;
    return &instance;
}
