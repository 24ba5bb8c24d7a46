#include "htmllistbox.h"

#include "htmllistitems.h"
#include "htmlrender.h"
#include "imagelist.h"
#include "markup/taggedtext.h"
#include "platform/qtstring.h"
#include "qtcolor.h"
#include "qtfont.h"

#include <QDropEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QWheelEvent>

#include <cmath>

class ThtmlListBox::Delegate : public QStyledItemDelegate
{
public:
    explicit Delegate(ThtmlListBox& owner) : owner_(owner) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        painter->save();
        owner_.DrawItem(*painter, index.row(), option.rect, option.state.testFlag(QStyle::State_Selected));
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        return QSize(owner_.ItemWidth(index.row()), owner_.ItemHeight());
    }

private:
    ThtmlListBox& owner_;
};

ThtmlListBox::ThtmlListBox(QWidget* parent)
    : QListView(parent), TdragControl(static_cast<QAbstractItemView&>(*this)),
      items_(std::make_unique<ThtmlListItems>()), delegate_(std::make_unique<Delegate>(*this))
{
    setUniformItemSizes(true);
    setEditTriggers(NoEditTriggers);
    setSelectionMode(SingleSelection);
    setModel(items_.get());
    setItemDelegate(delegate_.get());
}

ThtmlListBox::~ThtmlListBox()
{
    setItemDelegate(nullptr);
    setModel(nullptr);
}

int ThtmlListBox::Count() const
{
    return items_->Count();
}

TFontDesc ThtmlListBox::LFont() const
{
    return WidgetFontDesc(*this);
}

void ThtmlListBox::SetLFont(const TFontDesc& font)
{
    ApplyFontDesc(*this, font);
    SetItemHeight(static_cast<int>(std::lround(font.Size * 1.6)));
}

TImageList* ThtmlListBox::Images() const
{
    return images_;
}

void ThtmlListBox::SetImages(TImageList* images)
{
    if (images_ == images)
        return;
    images_ = images;
    viewport()->update();
}

void ThtmlListBox::SetShowHighlight(bool value)
{
    if (showHighlight_ == value)
        return;
    showHighlight_ = value;
    viewport()->update();
}

TColor ThtmlListBox::Color() const
{
    return FromQColor(palette().color(QPalette::Base));
}

void ThtmlListBox::SetColor(TColor color)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, ToQColor(color));
    setPalette(p);
}

void ThtmlListBox::SetItemHeight(int value)
{
    if (value <= 0 || value == itemHeight_)
        return;
    itemHeight_ = value;
    emit delegate_->sizeHintChanged(QModelIndex());
    scheduleDelayedItemsLayout();
}

bool ThtmlListBox::MultiSelect() const
{
    return selectionMode() == ExtendedSelection;
}

void ThtmlListBox::SetMultiSelect(bool value)
{
    setSelectionMode(value ? ExtendedSelection : SingleSelection);
}

int ThtmlListBox::ItemIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

void ThtmlListBox::SetItemIndex(int index)
{
    const QModelIndex target = index >= 0 && index < Count() ? items_->index(index) : QModelIndex();
    if (MultiSelect()) {
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    } else if (target.isValid()) {
        setCurrentIndex(target);
    } else {
        selectionModel()->clear();
    }
}

bool ThtmlListBox::Selected(int index) const
{
    return index >= 0 && index < Count() && selectionModel()->isSelected(items_->index(index));
}

void ThtmlListBox::SetSelected(int index, bool value)
{
    if (index < 0 || index >= Count())
        return;
    if (value && !MultiSelect())
        selectionModel()->setCurrentIndex(items_->index(index), QItemSelectionModel::ClearAndSelect);
    else
        selectionModel()->select(items_->index(index),
                                 value ? QItemSelectionModel::Select : QItemSelectionModel::Deselect);
}

int ThtmlListBox::SelCount() const
{
    return static_cast<int>(selectionModel()->selectedIndexes().size());
}

int ThtmlListBox::TopIndex() const
{
    const QModelIndex top = indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

void ThtmlListBox::SetTopIndex(int index)
{
    if (index >= 0 && index < Count())
        scrollTo(items_->index(index), PositionAtTop);
}

int ThtmlListBox::ItemAtPos(const QPoint& pos, bool existing) const
{
    const QModelIndex at = indexAt(pos);
    if (at.isValid())
        return at.row();
    return existing ? -1 : Count();
}

QRect ThtmlListBox::ItemRect(int index) const
{
    if (index < 0 || index >= Count())
        return QRect();
    return visualRect(items_->index(index));
}

int ThtmlListBox::ItemWidth(int index) const
{
    if (flow() != QListView::LeftToRight || index < 0 || index >= Count())
        return 1;
    const int text = fontMetrics().horizontalAdvance(platform::ToQString(StripTags(items_->Strings(index))));
    constexpr int kMargins = 2 + 8;
    return text + kMargins + (images_ ? images_->Width() : 0);
}

void ThtmlListBox::DrawItem(QPainter& painter, int index, const QRect& rect, bool selected)
{
    if (index < 0 || index >= Count())
        return;
    const QPalette& p = palette();
    const QColor highlightText = p.color(QPalette::Active, QPalette::HighlightedText);
    const bool highlight = selected && showHighlight_;
    painter.setFont(font());
    if (highlight) {
        painter.fillRect(rect, p.color(QPalette::Active, QPalette::Highlight));
        painter.setPen(highlightText);
    } else {
        painter.fillRect(rect, p.color(QPalette::Base));
        painter.setPen(p.color(QPalette::Text));
    }
    QRect textRect = rect.adjusted(2, 0, 0, 0);
    if (images_) {
        textRect.setLeft(textRect.left() + images_->Width());
        int imageIndex = -1;
        if (selected) {
            if (OnGetSelectedImageIndex)
                OnGetSelectedImageIndex(this, index, imageIndex);
        } else if (OnGetImageIndex) {
            OnGetImageIndex(this, index, imageIndex);
        }
        if (imageIndex >= 0)
            images_->Draw(painter, rect.left(), rect.top() + (rect.height() - images_->Height()) / 2,
                          imageIndex);
    }
    DrawTaggedText(items_->Strings(index), textRect, painter, QFontMetrics(painter.font(), painter.device()),
                   0, highlight, highlightText);
}

void ThtmlListBox::wheelEvent(QWheelEvent* event)
{
    QListView::wheelEvent(event);
    DoScrolled();
}

void ThtmlListBox::DoScrolled()
{
    if (OnScrolled)
        OnScrolled(this);
}

void ThtmlListBox::startDrag(Qt::DropActions)
{
    StartDrag(std::unique_ptr<QMimeData>(items_->mimeData(selectedIndexes())));
}

void ThtmlListBox::dragEnterEvent(QDragEnterEvent* event)
{
    DragEnter(*event);
}

void ThtmlListBox::dragMoveEvent(QDragMoveEvent* event)
{
    QListView::dragMoveEvent(event); // scrolls near the edges
    DragMove(*event);
}

void ThtmlListBox::dragLeaveEvent(QDragLeaveEvent* event)
{
    QListView::dragLeaveEvent(event);
    DragLeave();
}

void ThtmlListBox::dropEvent(QDropEvent* event)
{
    stopAutoScroll();
    setState(NoState);
    Drop(*event);
}
