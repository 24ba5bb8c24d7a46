#pragma once

#include <QStyledItemDelegate>

class QIcon;

// Draws an item view's captions as tagged text: the display text of each item in the view's font and text
// colour, led by its decoration. Selected items get the highlight colour behind and the highlight text
// colour for all their runs, whatever colours their tags ask for. Nothing is created per item.
//
// Nodes of a TtreeSinkModel take their image from the model's image function, told whether the node is
// expanded (in the view drawing it) and selected; a tinted image is drawn through TintedImage.
class ThtmlItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    // Space between the decoration and the caption.
    static constexpr int kImageGap = 3;

    explicit ThtmlItemDelegate(QObject* parent = nullptr);

    // Space left of the image (and of the caption when there is none); 0 at first.
    int ImageMargin() const { return imageMargin_; }
    void SetImageMargin(int value) { imageMargin_ = value; }
    // The highlight of a selected item lies behind its caption only, not the whole row; off at first.
    bool HighlightCaptionOnly() const { return highlightCaptionOnly_; }
    void SetHighlightCaptionOnly(bool value) { highlightCaptionOnly_ = value; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The icon drawn at `size` on `background`, then every pixel that is not pure black given full red.
    static QImage TintedImage(const QIcon& icon, QSize size, const QColor& background);

private:
    int imageMargin_ = 0;
    bool highlightCaptionOnly_ = false;
};
