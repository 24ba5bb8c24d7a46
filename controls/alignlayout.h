#pragma once

#include <QLayout>

#include <memory>
#include <vector>

enum class TAlign
{
    alNone,
    alTop,
    alBottom,
    alLeft,
    alRight,
    alClient
};

// The form framework's alignment: child widgets placed against the edges of their parent's client area
// (top, then bottom, left, right, and what is left to client widgets), each group in the order the
// widgets were aligned. A top or bottom widget keeps its own height, a left or right one its width;
// a client widget takes the rest. Hidden widgets take no room.
//
// Resizing an aligned widget, or showing and hiding it, re-aligns its siblings at once. The client area
// is the parent's contents rectangle (its contents margins stand for borders and bevels).
class TalignLayout : public QLayout
{
    Q_OBJECT

public:
    explicit TalignLayout(QWidget* parent);
    ~TalignLayout() override;

    // Aligns a child widget in its parent, creating the parent's alignment layout when it has none.
    // alNone takes it out of the alignment, where it keeps its geometry.
    static void SetAlign(QWidget* widget, TAlign align);
    static TAlign AlignOf(const QWidget* widget);
    // The alignment layout of a widget's children, or null.
    static TalignLayout* Of(const QWidget* parent);

    TAlign Align(const QWidget* widget) const;
    // Places the children now.
    void Realign();
    // Widgets in alignment order (top group first), including hidden ones.
    std::vector<QWidget*> AlignedWidgets() const;

    void addItem(QLayoutItem* item) override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;
    Qt::Orientations expandingDirections() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry
    {
        std::unique_ptr<QLayoutItem> Item;
        TAlign Align = TAlign::alNone;
    };

    int IndexOf(const QWidget* widget) const;
    void Place(const QRect& area);

    std::vector<Entry> entries_;
    bool aligning_ = false;
};
