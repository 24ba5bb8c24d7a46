#pragma once

#include "controls/controlevents.h"
#include "controls/dragpayload.h"

#include <QPoint>
#include <QPointer>

#include <memory>

class QAbstractItemView;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QMimeData;

// The drag-and-drop side of a list or tree control in the form framework's terms: a drag starts by
// itself (AutoDrag) from the selected rows or nodes; OnStartDrag, OnDragOver, OnDragDrop and OnEndDrag
// follow it. The control takes only the program's own payloads that are still current, from a source that
// still exists, and from a tree only nodes of the kinds it accepts (DropNodeKinds, none at first); the rest
// is refused before any handler hears of it, and without an OnDragOver nothing is taken. OnDragOver is
// asked again at the drop point before OnDragDrop, so a drop is taken only where a drag over would be.
class TdragControl
{
public:
    TdragControl(const TdragControl&) = delete;
    TdragControl& operator=(const TdragControl&) = delete;

    bool AutoDrag() const;
    void SetAutoDrag(bool value);
    TnodeKinds DropNodeKinds() const { return dropNodeKinds_; }
    void SetDropNodeKinds(TnodeKinds kinds) { dropNodeKinds_ = kinds; }

    TStartDragEvent OnStartDrag;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;
    TEndDragEvent OnEndDrag;

protected:
    explicit TdragControl(QAbstractItemView& view);
    ~TdragControl() = default;

    // Runs a drag of the model's mime data for the selection to its end; anything but a payload of ours
    // starts nothing.
    void StartDrag(std::unique_ptr<QMimeData> data);
    void DragEnter(QDragEnterEvent& event);
    void DragMove(QDragMoveEvent& event);
    void DragLeave();
    void Drop(QDropEvent& event);

private:
    bool Acceptable(const TdragPayload& payload) const;
    bool AskDragOver(const TdragPayload& payload, QPoint at, TdragState state);

    QAbstractItemView& view_; // link: the control itself
    TnodeKinds dropNodeKinds_ = 0;
    QPointer<const TdragPayload> entered_;
    QPoint lastPoint_;
};
