#include "controls/alignlayout.h"

#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace {

constexpr TAlign kOrder[] = {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight,
                             TAlign::alClient};

} // namespace

TalignLayout::TalignLayout(QWidget* parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    setSpacing(0);
    setSizeConstraint(QLayout::SetNoConstraint);
}

TalignLayout::~TalignLayout()
{
    for (Entry& e : entries_) {
        if (QWidget* w = e.Item ? e.Item->widget() : nullptr) {
            w->removeEventFilter(this);
        }
    }
}

TalignLayout* TalignLayout::Of(const QWidget* parent)
{
    return parent ? qobject_cast<TalignLayout*>(parent->layout()) : nullptr;
}

void TalignLayout::SetAlign(QWidget* widget, TAlign align)
{
    if (!widget || !widget->parentWidget()) {
        return;
    }
    QWidget* parent = widget->parentWidget();
    TalignLayout* layout = Of(parent);
    if (!layout) {
        if (align == TAlign::alNone || parent->layout()) {
            return;
        }
        layout = new TalignLayout(parent); // owned by the parent widget
    }
    const int index = layout->IndexOf(widget);
    if (align == TAlign::alNone) {
        if (index >= 0) {
            delete layout->takeAt(index);
        }
        return;
    }
    if (index >= 0) {
        // A change of side keeps the widget's place in the order.
        layout->entries_[std::size_t(index)].Align = align;
    } else {
        layout->addChildWidget(widget);
        layout->entries_.push_back(Entry{std::make_unique<QWidgetItem>(widget), align});
        widget->installEventFilter(layout);
    }
    layout->invalidate();
    layout->Realign();
}

TAlign TalignLayout::AlignOf(const QWidget* widget)
{
    if (!widget) {
        return TAlign::alNone;
    }
    const TalignLayout* layout = Of(widget->parentWidget());
    return layout ? layout->Align(widget) : TAlign::alNone;
}

TAlign TalignLayout::Align(const QWidget* widget) const
{
    const int index = IndexOf(widget);
    return index >= 0 ? entries_[std::size_t(index)].Align : TAlign::alNone;
}

int TalignLayout::IndexOf(const QWidget* widget) const
{
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].Item && entries_[i].Item->widget() == widget) {
            return int(i);
        }
    }
    return -1;
}

std::vector<QWidget*> TalignLayout::AlignedWidgets() const
{
    std::vector<QWidget*> result;
    for (const TAlign align : kOrder) {
        for (const Entry& e : entries_) {
            if (e.Align == align && e.Item && e.Item->widget()) {
                result.push_back(e.Item->widget());
            }
        }
    }
    return result;
}

void TalignLayout::Realign()
{
    if (QWidget* parent = parentWidget()) {
        setGeometry(parent->contentsRect());
    }
}

void TalignLayout::addItem(QLayoutItem* item)
{
    // Items added through the plain layout calls are kept but not aligned.
    entries_.push_back(Entry{std::unique_ptr<QLayoutItem>(item), TAlign::alNone});
}

QLayoutItem* TalignLayout::itemAt(int index) const
{
    if (index < 0 || index >= int(entries_.size())) {
        return nullptr;
    }
    return entries_[std::size_t(index)].Item.get();
}

QLayoutItem* TalignLayout::takeAt(int index)
{
    if (index < 0 || index >= int(entries_.size())) {
        return nullptr;
    }
    QLayoutItem* item = entries_[std::size_t(index)].Item.release();
    entries_.erase(entries_.begin() + index);
    if (QWidget* w = item ? item->widget() : nullptr) {
        w->removeEventFilter(this);
    }
    // A removed or destroyed widget gives its room back at once.
    Realign();
    return item;
}

int TalignLayout::count() const
{
    return int(entries_.size());
}

QSize TalignLayout::sizeHint() const
{
    int w = 0;
    int h = 0;
    for (const Entry& e : entries_) {
        const QWidget* widget = e.Item ? e.Item->widget() : nullptr;
        if (!widget || widget->isHidden()) {
            continue;
        }
        if (e.Align == TAlign::alTop || e.Align == TAlign::alBottom) {
            h += widget->height();
        } else if (e.Align == TAlign::alLeft || e.Align == TAlign::alRight) {
            w += widget->width();
        }
    }
    const QMargins m = contentsMargins();
    return QSize(w + m.left() + m.right(), h + m.top() + m.bottom());
}

QSize TalignLayout::minimumSize() const
{
    return QSize(0, 0);
}

Qt::Orientations TalignLayout::expandingDirections() const
{
    return Qt::Horizontal | Qt::Vertical;
}

void TalignLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    Place(rect.marginsRemoved(contentsMargins()));
}

void TalignLayout::Place(const QRect& area)
{
    if (aligning_) {
        return;
    }
    aligning_ = true;
    int left = area.left();
    int top = area.top();
    int right = area.left() + area.width();
    int bottom = area.top() + area.height();
    const auto span = [](int from, int to) { return std::max(0, to - from); };

    for (const TAlign align : kOrder) {
        for (const Entry& e : entries_) {
            QWidget* w = e.Item ? e.Item->widget() : nullptr;
            if (e.Align != align || !w || w->isHidden()) {
                continue;
            }
            switch (align) {
            case TAlign::alTop:
                w->setGeometry(left, top, span(left, right), w->height());
                top += w->height();
                break;
            case TAlign::alBottom:
                w->setGeometry(left, bottom - w->height(), span(left, right), w->height());
                bottom -= w->height();
                break;
            case TAlign::alLeft:
                w->setGeometry(left, top, w->width(), span(top, bottom));
                left += w->width();
                break;
            case TAlign::alRight:
                w->setGeometry(right - w->width(), top, w->width(), span(top, bottom));
                right -= w->width();
                break;
            case TAlign::alClient:
                w->setGeometry(left, top, span(left, right), span(top, bottom));
                break;
            case TAlign::alNone:
                break;
            }
        }
    }
    aligning_ = false;
}

bool TalignLayout::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Resize:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        if (!aligning_ && watched->isWidgetType()) {
            Realign();
        }
        break;
    default:
        break;
    }
    return QLayout::eventFilter(watched, event);
}
