#include "app/qt/services/focuskeeper.h"

#include "app/qt/services/exceptionboundary.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

TfocusKeeper::TfocusKeeper(QWidget* mainWindow, QObject* parent) : QObject(parent), mainWindow_(mainWindow)
{
    qApp->installEventFilter(this);
}

TfocusKeeper::~TfocusKeeper()
{
    qApp->removeEventFilter(this);
}

bool TfocusKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Hide || !watched->isWidgetType())
        return false;
    const auto* widget = static_cast<QWidget*>(watched);
    const QWindow* window = widget->windowHandle();
    if (!widget->isWindow() || widget == mainWindow_ || !window || window != QGuiApplication::focusWindow())
        return false;
    // Whatever the closing window hands on to (a window manager, the dialog that opened it) takes the
    // focus in this turn of the loop; only a focus that stays lost is given back.
    QTimer::singleShot(0, this, [this] { Guarded([this] { GiveBackFocus(); }); });
    return false;
}

void TfocusKeeper::GiveBackFocus()
{
    if (!mainWindow_ || !mainWindow_->isVisible() || mainWindow_->isMinimized() ||
        QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return;
    const QWindow* focus = QGuiApplication::focusWindow();
    if (focus && focus != mainWindow_->windowHandle() && focus->isVisible())
        return;
    mainWindow_->activateWindow();
}
