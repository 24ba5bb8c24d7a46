#pragma once

#include <QTreeView>

#include <functional>
#include <memory>

class ThtmlItemDelegate;

// The library tree: a tree view without native scroll bars (the window scrolls it with its own skinnable
// scroll bar) that reports every mouse-wheel turn, so the owner can move that scroll bar.
// Its nodes come from a model and are drawn by a ThtmlItemDelegate: no widget per node, uniform row heights.
class TnoScrollTreeView : public QTreeView
{
    Q_OBJECT
public:
    explicit TnoScrollTreeView(QWidget* parent = nullptr);
    ~TnoScrollTreeView() override;

    // Raised after each mouse-wheel turn has been handled; keyboard and programmatic scrolling do not.
    std::function<void(TnoScrollTreeView* sender)> OnScrolled;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void DoScrolled();

private:
    std::unique_ptr<ThtmlItemDelegate> delegate_;
};
