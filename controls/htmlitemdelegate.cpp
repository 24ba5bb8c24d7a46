#include "htmlitemdelegate.h"

#include "htmlrender.h"

#include <QPainter>

#include <algorithm>

namespace {

constexpr int kCaptionFlags = Qt::AlignVCenter | Qt::TextSingleLine;

} // namespace

ThtmlItemDelegate::ThtmlItemDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void ThtmlItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    const QColor highlightText = opt.palette.color(QPalette::Active, QPalette::HighlightedText);
    painter->save();
    if (selected)
        painter->fillRect(opt.rect, opt.palette.color(QPalette::Active, QPalette::Highlight));
    QRect rect = opt.rect;
    if (opt.features.testFlag(QStyleOptionViewItem::HasDecoration) && !opt.icon.isNull()) {
        const QSize size = opt.decorationSize;
        const QRect imageRect(rect.left(), rect.top() + (rect.height() - size.height()) / 2, size.width(),
                              size.height());
        opt.icon.paint(painter, imageRect);
        rect.setLeft(imageRect.right() + 1 + kImageGap);
    }
    painter->setFont(opt.font);
    // Selected captions are all in the highlight text colour, the text before the first tag included.
    painter->setPen(selected ? highlightText : opt.palette.color(QPalette::Text));
    const QByteArray caption = opt.text.toUtf8();
    DrawTaggedText(std::string_view(caption.constData(), static_cast<std::size_t>(caption.size())), rect,
                   *painter, QFontMetrics(opt.font, painter->device()), kCaptionFlags, selected,
                   highlightText);
    painter->restore();
}

QSize ThtmlItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QByteArray caption = opt.text.toUtf8();
    QSize size =
        MeasureTaggedText(std::string_view(caption.constData(), static_cast<std::size_t>(caption.size())),
                          opt.font, kCaptionFlags);
    if (opt.features.testFlag(QStyleOptionViewItem::HasDecoration)) {
        size.rwidth() += opt.decorationSize.width() + kImageGap;
        size.setHeight(std::max(size.height(), opt.decorationSize.height()));
    }
    return size + QSize(0, 2);
}
