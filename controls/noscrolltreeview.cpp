#include "noscrolltreeview.h"

#include "htmlitemdelegate.h"

#include <QWheelEvent>

TnoScrollTreeView::TnoScrollTreeView(QWidget* parent)
    : QTreeView(parent), delegate_(std::make_unique<ThtmlItemDelegate>())
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
