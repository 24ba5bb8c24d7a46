#include "htmlitemdelegate.h"

#include "htmlrender.h"
#include "platform/qtstring.h"
#include "treesinkmodel.h"

#include <QPainter>
#include <QTreeView>

#include <algorithm>

namespace {

constexpr int kCaptionFlags = Qt::AlignVCenter | Qt::TextSingleLine;
// Room left between the end of a caption and the end of its highlight.
constexpr int kHighlightPadding = 2;

struct ItemImage
{
    QIcon picture;
    bool tinted = false;
};

// A tree-sink node's image in the state the view shows it; any other item's decoration as it is.
ItemImage ImageOf(const QStyleOptionViewItem& opt, const QModelIndex& index, bool selected)
{
    const auto* model = qobject_cast<const TtreeSinkModel*>(index.model());
    if (!model || !model->HasImageFunction()) {
        if (opt.features.testFlag(QStyleOptionViewItem::HasDecoration))
            return {opt.icon, false};
        return {};
    }
    const auto* tree = qobject_cast<const QTreeView*>(opt.widget);
    // A view may hold a leaf as expanded (expandAll does); it shows nothing open.
    const bool expanded = tree && tree->isExpanded(index) && model->hasChildren(index);
    const TtreeSinkModel::NodeState state{expanded, selected};
    TtreeSinkModel::NodeImage image = model->Image(model->NodeOf(index), state);
    return {std::move(image.Picture), image.Tinted};
}

} // namespace

ThtmlItemDelegate::ThtmlItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QImage ThtmlItemDelegate::TintedImage(const QIcon& icon, QSize size, const QColor& background)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(background);
    {
        QPainter painter(&image);
        icon.paint(&painter, image.rect());
    }
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if ((line[x] & 0xFFFFFF) != 0)
                line[x] |= 0xFF0000;
    }
    return image;
}

void ThtmlItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    const QColor highlight = opt.palette.color(QPalette::Active, QPalette::Highlight);
    const QColor highlightText = opt.palette.color(QPalette::Active, QPalette::HighlightedText);
    painter->save();
    if (selected && !highlightCaptionOnly_)
        painter->fillRect(opt.rect, highlight);
    QRect rect = opt.rect.adjusted(imageMargin_, 0, 0, 0);
    const ItemImage image = ImageOf(opt, index, selected);
    if (!image.picture.isNull()) {
        const QSize size = opt.decorationSize;
        const QRect imageRect(rect.left(), rect.top() + (rect.height() - size.height()) / 2, size.width(),
                              size.height());
        if (image.tinted)
            painter->drawImage(imageRect.topLeft(),
                               TintedImage(image.picture, size, opt.palette.color(QPalette::Base)));
        else
            image.picture.paint(painter, imageRect);
        rect.setLeft(imageRect.right() + 1 + kImageGap);
    }
    const std::string text = platform::FromQString(opt.text);
    if (selected && highlightCaptionOnly_) {
        const int width = MeasureTaggedText(text, opt.font, kCaptionFlags).width() + kHighlightPadding;
        painter->fillRect(QRect(rect.left(), rect.top(), std::min(width, rect.width()), rect.height()),
                          highlight);
    }
    painter->setFont(opt.font);
    // Selected captions are all in the highlight text colour, the text before the first tag included.
    painter->setPen(selected ? highlightText : opt.palette.color(QPalette::Text));
    DrawTaggedText(text, rect, *painter, QFontMetrics(opt.font, painter->device()), kCaptionFlags, selected,
                   highlightText);
    painter->restore();
}

QSize ThtmlItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QSize size = MeasureTaggedText(platform::FromQString(opt.text), opt.font, kCaptionFlags);
    size.rwidth() += imageMargin_;
    if (opt.features.testFlag(QStyleOptionViewItem::HasDecoration)) {
        size.rwidth() += opt.decorationSize.width() + kImageGap;
        size.setHeight(std::max(size.height(), opt.decorationSize.height()));
    }
    return size + QSize(0, 2);
}
