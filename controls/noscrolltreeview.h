#pragma once

#include "controls/controlevents.h"
#include "controls/dragcontrol.h"

#include <QTreeView>

#include <functional>
#include <memory>

class ThtmlItemDelegate;

// The library tree: a tree view without native scroll bars (the window scrolls it with its own skinnable
// scroll bar) that reports every mouse-wheel turn, so the owner can move that scroll bar.
// Its nodes come from a model and are drawn by a ThtmlItemDelegate: no widget per node, uniform row heights.
// Over a TtreeSinkModel a drag of the selected nodes carries their handles and kinds (TdragControl).
class TnoScrollTreeView : public QTreeView, public TdragControl
{
    Q_OBJECT
public:
    explicit TnoScrollTreeView(QWidget* parent = nullptr);
    ~TnoScrollTreeView() override;

    // Captions are mark-up: a read-only tree (the default) opens no editor, not even from code.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    using QTreeView::edit;

    // Branch lines in the library's look instead of the style's: dotted lines in the highlight colour
    // (every second pixel, from an even coordinate of the row), and for a node with children a 9 x 9 box
    // with a minus, and a plus while collapsed, in the text colour. Off at first.
    bool DottedBranches() const { return dottedBranches_; }
    void SetDottedBranches(bool value);

    // The drawing hook of the row captions and images.
    ThtmlItemDelegate& Delegate() { return *delegate_; }

    // Raised after each mouse-wheel turn has been handled; keyboard and programmatic scrolling do not.
    TNotifyEvent OnScrolled;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;
    void wheelEvent(QWheelEvent* event) override;
    void DoScrolled();
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void DrawDottedBranches(QPainter& painter, const QRect& rect, const QModelIndex& index) const;

    std::unique_ptr<ThtmlItemDelegate> delegate_;
    bool readOnly_ = true;
    bool dottedBranches_ = false;
};
