#include "dragcontrol.h"

#include <QAbstractItemView>
#include <QDrag>
#include <QDropEvent>
#include <QPainter>
#include <QPixmap>

namespace {

// A page, or three stacked pages for several items, beside the pointer.
QPixmap DragPicture(TdragCursor cursor, const QPalette& palette)
{
    QPixmap picture(20, 20);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(palette.color(QPalette::Text));
    painter.setBrush(palette.color(QPalette::Base));
    const int pages = cursor == TdragCursor::MultiDrag ? 3 : 1;
    for (int i = pages - 1; i >= 0; --i)
        painter.drawRect(i * 3, i * 3, 12, 12);
    return picture;
}

} // namespace

TdragControl::TdragControl(QAbstractItemView& view) : view_(view)
{
    view.setAcceptDrops(true);
    view.viewport()->setAcceptDrops(true);
}

bool TdragControl::AutoDrag() const
{
    return view_.dragEnabled();
}

void TdragControl::SetAutoDrag(bool value)
{
    view_.setDragEnabled(value);
}

void TdragControl::StartDrag(std::unique_ptr<QMimeData> data)
{
    auto* payload = qobject_cast<TdragPayload*>(data.get());
    if (!payload)
        return;
    payload->SetSource(&view_);
    if (OnStartDrag)
        OnStartDrag(&view_, *payload);
    const QPointer<TdragPayload> carried(payload);
    const QPointer<QAbstractItemView> self(&view_);
    auto* drag = new QDrag(&view_); // freed by Qt once the drag is over
    drag->setPixmap(DragPicture(payload->Cursor(), view_.palette()));
    drag->setHotSpot(QPoint(-8, -8));
    drag->setMimeData(data.release());
    drag->exec(Qt::MoveAction, Qt::MoveAction);
    // The window system runs its own loop during the drag: the control may be gone by now.
    if (!self)
        return;
    QObject* target = carried ? carried->Target() : nullptr;
    const QPoint at = carried ? carried->DropPoint() : QPoint();
    if (OnEndDrag)
        OnEndDrag(&view_, target, at.x(), at.y());
}

bool TdragControl::Acceptable(const TdragPayload& payload) const
{
    return OnDragOver && payload.Source() && payload.IsCurrent() &&
           (!payload.FromTree() || payload.NodesIn(dropNodeKinds_));
}

bool TdragControl::AskDragOver(const TdragPayload& payload, QPoint at, TdragState state)
{
    lastPoint_ = at;
    bool accept = true;
    OnDragOver(&view_, payload, at.x(), at.y(), state, accept);
    return accept;
}

void TdragControl::DragEnter(QDragEnterEvent& event)
{
    const TdragPayload* payload = TdragPayload::From(event.mimeData());
    if (!payload || !Acceptable(*payload)) {
        event.ignore();
        return;
    }
    entered_ = payload;
    AskDragOver(*payload, event.position().toPoint(), TdragState::Enter);
    // Taken whatever the handler says here: only a taken entry brings the moves (and the drop) that tell,
    // point by point, where a drop would be taken.
    event.acceptProposedAction();
}

void TdragControl::DragMove(QDragMoveEvent& event)
{
    const TdragPayload* payload = TdragPayload::From(event.mimeData());
    if (payload && Acceptable(*payload) &&
        AskDragOver(*payload, event.position().toPoint(), TdragState::Move))
        event.acceptProposedAction();
    else
        event.ignore();
}

void TdragControl::DragLeave()
{
    const QPointer<const TdragPayload> left = entered_;
    entered_ = nullptr;
    if (left && Acceptable(*left))
        AskDragOver(*left, lastPoint_, TdragState::Leave);
}

void TdragControl::Drop(QDropEvent& event)
{
    entered_ = nullptr;
    const TdragPayload* payload = TdragPayload::From(event.mimeData());
    const QPoint at = event.position().toPoint();
    if (!payload || !Acceptable(*payload) || !AskDragOver(*payload, at, TdragState::Move)) {
        event.ignore();
        return;
    }
    payload->SetDropped(&view_, at);
    event.acceptProposedAction();
    if (OnDragDrop)
        OnDragDrop(&view_, *payload, at.x(), at.y());
}
