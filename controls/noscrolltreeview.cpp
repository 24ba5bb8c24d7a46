#include "noscrolltreeview.h"

#include "htmlitemdelegate.h"

#include <QDropEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

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

namespace {

// Half the side of the box of a node with children, and the half length of its minus and plus.
constexpr int kBoxHalf = 4;
constexpr int kSignHalf = 2;

bool HasNextSibling(const QModelIndex& index)
{
    return index.row() + 1 < index.model()->rowCount(index.parent());
}

// Dots of a line, every second pixel counted from the row's origin, within the row.
void VerticalDots(QList<QPoint>& dots, int x, int from, int to, const QRect& row)
{
    if (x < row.left() || x > row.right())
        return;
    from = std::max(from, row.top());
    to = std::min(to, row.bottom());
    for (int y = from + ((from - row.top()) & 1); y <= to; y += 2)
        dots.push_back({x, y});
}

void HorizontalDots(QList<QPoint>& dots, int y, int from, int to, const QRect& row)
{
    from = std::max(from, row.left());
    to = std::min(to, row.right());
    for (int x = from + ((from - row.left()) & 1); x <= to; x += 2)
        dots.push_back({x, y});
}

} // namespace

void TnoScrollTreeView::SetDottedBranches(bool value)
{
    if (dottedBranches_ == value)
        return;
    dottedBranches_ = value;
    viewport()->update();
}

void TnoScrollTreeView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    if (dottedBranches_)
        DrawDottedBranches(*painter, rect, index);
    else
        QTreeView::drawBranches(painter, rect, index);
}

void TnoScrollTreeView::DrawDottedBranches(QPainter& painter, const QRect& rect,
                                           const QModelIndex& index) const
{
    // The branch area ends where the node's item begins; the node's own lines lie in its last indentation
    // column. Top-level nodes without root decoration have no column: their lines would lie left of the
    // view. In a tree the next node drawn on the same level is always the next sibling, so a line goes on
    // down exactly when there is one.
    const QPalette& colours = palette();
    painter.fillRect(rect, colours.color(QPalette::Base));
    if (rect.width() <= 0)
        return;
    const int indent = indentation();
    const int right = rect.left() + rect.width();
    const int cx = right - indent + indent / 2;
    const int cy = rect.top() + rect.height() / 2;
    const bool children = model()->hasChildren(index);

    QList<QPoint> dots;
    if (index.parent().isValid())
        HorizontalDots(dots, cy, children ? cx + kBoxHalf : cx, right - 1, rect);
    VerticalDots(dots, cx, rect.top(), HasNextSibling(index) ? rect.bottom() : cy, rect);
    int x = cx - indent;
    for (QModelIndex ancestor = index.parent(); ancestor.isValid(); ancestor = ancestor.parent(), x -= indent)
        if (HasNextSibling(ancestor))
            VerticalDots(dots, x, rect.top(), rect.bottom(), rect);

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(colours.color(QPalette::Highlight), 0));
    painter.drawPoints(dots);
    if (children) {
        const QRect box(cx - kBoxHalf, cy - kBoxHalf, 2 * kBoxHalf + 1, 2 * kBoxHalf + 1);
        painter.fillRect(box, colours.color(QPalette::Base));
        painter.drawRect(box.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(colours.color(QPalette::Text), 0));
        painter.drawLine(cx - kSignHalf, cy, cx + kSignHalf, cy);
        if (!isExpanded(index))
            painter.drawLine(cx, cy - kSignHalf, cx, cy + kSignHalf);
    }
    painter.restore();
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
