#pragma once

#include <QStyledItemDelegate>

// Draws an item view's captions as tagged text: the display text of each item in the view's font and text
// colour, led by its decoration. Selected items get the highlight colours, with the highlight text colour
// forced on every run after a tag. Nothing is created per item.
class ThtmlItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Space between the decoration and the caption.
    static constexpr int kImageGap = 3;

    explicit ThtmlItemDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
