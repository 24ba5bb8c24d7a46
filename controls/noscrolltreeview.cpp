#include "noscrolltreeview.h"

#include "htmlitemdelegate.h"

#include <QDropEvent>
#include <QWheelEvent>

TnoScrollTreeView::TnoScrollTreeView(QWidget* parent)
    : QTreeView(parent), TdragControl(static_cast<QAbstractItemView&>(*this)),
      delegate_(std::make_unique<ThtmlItemDelegate>())
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Row heights are read once instead of per node: large trees stay fast.
    setUniformRowHeights(true);
    setHeaderHidden(true);
    setItemDelegate(delegate_.get());
}

TnoScrollTreeView::~TnoScrollTreeView()
{
    setItemDelegate(nullptr);
}

bool TnoScrollTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    return !readOnly_ && QTreeView::edit(index, trigger, event);
}

void TnoScrollTreeView::wheelEvent(QWheelEvent* event)
{
    QTreeView::wheelEvent(event);
    DoScrolled();
}

void TnoScrollTreeView::DoScrolled()
{
    if (OnScrolled)
        OnScrolled(this);
}

void TnoScrollTreeView::startDrag(Qt::DropActions)
{
    if (model())
        StartDrag(std::unique_ptr<QMimeData>(model()->mimeData(selectedIndexes())));
}

void TnoScrollTreeView::dragEnterEvent(QDragEnterEvent* event)
{
    DragEnter(*event);
}

void TnoScrollTreeView::dragMoveEvent(QDragMoveEvent* event)
{
    QTreeView::dragMoveEvent(event); // scrolls near the edges
    DragMove(*event);
}

void TnoScrollTreeView::dragLeaveEvent(QDragLeaveEvent* event)
{
    QTreeView::dragLeaveEvent(event);
    DragLeave();
}

void TnoScrollTreeView::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    setState(NoState);
    Drop(*event);
}
