#pragma once

#include <QStyledItemDelegate>

// Draws an item view's captions as tagged text: the display text of each item in the view's font and text
// colour, led by its decoration. Selected items get the highlight colour behind and the highlight text
// colour for all their runs, whatever colours their tags ask for. Nothing is created per item.
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
