#pragma once

#include "controls/dragpayload.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QPoint>

#include <memory>

// The payload a model made for a drag, as the control it starts from would hand it on; null when the data
// is no payload of ours.
inline std::unique_ptr<TdragPayload> Payload(QMimeData* data, QObject* source)
{
    std::unique_ptr<QMimeData> owned(data);
    if (!TdragPayload::From(owned.get()))
        return nullptr;
    std::unique_ptr<TdragPayload> payload(static_cast<TdragPayload*>(owned.release()));
    payload->SetSource(source);
    return payload;
}

// Drags data over the target's viewport to `at` and drops it there; true when the drop was taken.
inline bool DropAt(QAbstractItemView& target, const QMimeData& data, QPoint at)
{
    QWidget* viewport = target.viewport();
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(at), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
}
