#pragma once

#include <QApplication>
#include <QPointF>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>

#include <functional>
#include <utility>

// Runs check on the modal window once the caller's modal loop is up.
inline void WhenModal(std::function<void(QWidget*)> check)
{
    QTimer::singleShot(0, [check = std::move(check)] { check(QApplication::activeModalWidget()); });
}

// One turn of the mouse wheel over target (delta 120 is one notch up).
inline void Wheel(QWidget* target, int delta)
{
    const QPointF pos(10, 10);
    QWheelEvent event(pos, target->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}
