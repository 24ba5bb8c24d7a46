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

class TdragPayload;

// Where a drag is in relation to a control, as the framework's drag-over event tells it.
enum class TdragState
{
    Enter,
    Leave,
    Move,
};

// A drag starts from the control; the handler may pick the drag's picture (TdragPayload::SetCursor).
using TStartDragEvent = std::function<void(QObject* sender, TdragPayload& drag)>;
// A drag of the program's own is over the control at (x, y) of its viewport; accept comes in true and
// says whether a drop there would be taken. Leave comes with the last point.
using TDragOverEvent = std::function<void(QObject* sender, const TdragPayload& source, int x, int y,
                                          TdragState state, bool& accept)>;
using TDragDropEvent = std::function<void(QObject* sender, const TdragPayload& source, int x, int y)>;
// The drag that started from the control is over: target is the control that took it, nullptr for none,
// (x, y) the drop point in the target's viewport.
using TEndDragEvent = std::function<void(QObject* sender, QObject* target, int x, int y)>;
