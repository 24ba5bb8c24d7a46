#include "app/qt/services/activitymonitor.h"

#include <QCoreApplication>
#include <QEvent>

namespace {

std::uint32_t Weight(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseMove:
        return TactivityMonitor::kMouseMoveWeight;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return TactivityMonitor::kMouseWeight;
    case QEvent::KeyPress:
        return TactivityMonitor::kKeyWeight;
    default:
        return 0;
    }
}

} // namespace

TactivityMonitor::TactivityMonitor(QObject* parent) : QObject(parent) {}

TactivityMonitor::~TactivityMonitor()
{
    Remove();
}

void TactivityMonitor::Install()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (installed_ || !app)
        return;
    app->installEventFilter(this);
    installed_ = true;
}

void TactivityMonitor::Remove()
{
    if (!installed_)
        return;
    if (QCoreApplication* app = QCoreApplication::instance())
        app->removeEventFilter(this);
    installed_ = false;
}

bool TactivityMonitor::eventFilter(QObject* watched, QEvent* event)
{
    // The window system delivers input to a window first, which passes it on to its widgets: counting at
    // the window counts each input once, whichever widgets it then travels through.
    if (watched->isWindowType())
        count_ += Weight(event->type());
    return false;
}
