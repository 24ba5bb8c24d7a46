#pragma once

// Event signatures shared by the program's own controls. The sender is the raising control.

#include <QObject>

#include <functional>

// Modifier keys and mouse buttons held when a mouse event arrived.
struct TShiftState
{
    Qt::KeyboardModifiers Keys;
    Qt::MouseButtons Buttons;
};

using TNotifyEvent = std::function<void(QObject* sender)>;
using TMouseEvent =
    std::function<void(QObject* sender, Qt::MouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(QObject* sender, TShiftState shift, int x, int y)>;
