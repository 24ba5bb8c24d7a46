#include "htmllistitems.h"

#include "dragpayload.h"

#include "platform/error.h"
#include "platform/qtstring.h"
#include "platform/textcompare.h"

#include <algorithm>

ThtmlListItems::ThtmlListItems(QObject* parent) : QAbstractListModel(parent) {}

void ThtmlListItems::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EOrvaneError("List index out of bounds (" + std::to_string(index) + ")");
}

const std::string& ThtmlListItems::Strings(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].text;
}

void* ThtmlListItems::Objects(int index) const
{
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].object;
}

bool ThtmlListItems::Batched()
{
    // Every change passes here first.
    generation_.Bump();
    if (updateCount_ == 0)
        return false;
    if (!resetting_) {
        beginResetModel();
        resetting_ = true;
    }
    return true;
}

void ThtmlListItems::EndUpdate()
{
    if (updateCount_ == 0 || --updateCount_ > 0)
        return;
    if (resetting_) {
        resetting_ = false;
        endResetModel();
    }
}

int ThtmlListItems::SortedPosition(std::string_view text) const
{
    // After the last equal line, as the lines were added.
    const auto it =
        std::upper_bound(items_.begin(), items_.end(), text, [](std::string_view t, const Item& item) {
            return platform::CompareText(t, item.text) < 0;
        });
    return static_cast<int>(it - items_.begin());
}

int ThtmlListItems::AddObject(std::string text, void* object)
{
    const int index = sorted_ ? SortedPosition(text) : Count();
    InsertItem(index, std::move(text), object);
    return index;
}

void ThtmlListItems::Insert(int index, std::string text, void* object)
{
    if (sorted_)
        throw EOrvaneError("Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        throw EOrvaneError("List index out of bounds (" + std::to_string(index) + ")");
    InsertItem(index, std::move(text), object);
}

void ThtmlListItems::InsertItem(int index, std::string text, void* object)
{
    const bool batched = Batched();
    if (!batched)
        beginInsertRows(QModelIndex(), index, index);
    items_.insert(items_.begin() + index, Item{std::move(text), object});
    if (!batched)
        endInsertRows();
}

void ThtmlListItems::Delete(int index)
{
    CheckIndex(index);
    const bool batched = Batched();
    if (!batched)
        beginRemoveRows(QModelIndex(), index, index);
    items_.erase(items_.begin() + index);
    if (!batched)
        endRemoveRows();
}

void ThtmlListItems::Clear()
{
    if (items_.empty())
        return;
    const bool batched = Batched();
    if (!batched)
        beginResetModel();
    items_.clear();
    if (!batched)
        endResetModel();
}

void ThtmlListItems::Exchange(int a, int b)
{
    CheckIndex(a);
    CheckIndex(b);
    const bool batched = Batched();
    std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
    if (!batched) {
        emit dataChanged(index(a), index(a));
        emit dataChanged(index(b), index(b));
    }
}

void ThtmlListItems::Move(int from, int to)
{
    CheckIndex(from);
    CheckIndex(to);
    if (from == to)
        return;
    const bool batched = Batched();
    // Qt names the row before which the moved row lands, counted before the move.
    if (!batched)
        beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    Item item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    if (!batched)
        endMoveRows();
}

void ThtmlListItems::SetString(int i, std::string text)
{
    CheckIndex(i);
    const bool batched = Batched();
    items_[static_cast<std::size_t>(i)].text = std::move(text);
    if (!batched)
        emit dataChanged(index(i), index(i));
}

void ThtmlListItems::SetObject(int i, void* object)
{
    CheckIndex(i);
    const bool batched = Batched();
    items_[static_cast<std::size_t>(i)].object = object;
    if (!batched)
        emit dataChanged(index(i), index(i), {ObjectRole});
}

int ThtmlListItems::IndexOf(std::string_view text) const
{
    for (int i = 0; i < Count(); ++i)
        if (platform::SameText(items_[static_cast<std::size_t>(i)].text, text))
            return i;
    return -1;
}

int ThtmlListItems::IndexOfObject(const void* object) const
{
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<std::size_t>(i)].object == object)
            return i;
    return -1;
}

void ThtmlListItems::SortItems()
{
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item& a, const Item& b) { return platform::CompareText(a.text, b.text) < 0; });
}

void ThtmlListItems::SetSorted(bool value)
{
    if (sorted_ == value)
        return;
    sorted_ = value;
    if (!sorted_ || items_.size() < 2)
        return;
    const bool batched = Batched();
    if (!batched)
        beginResetModel();
    SortItems();
    if (!batched)
        endResetModel();
}

int ThtmlListItems::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

QVariant ThtmlListItems::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return QVariant();
    const Item& item = items_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return platform::ToQString(item.text);
    case ObjectRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(item.object));
    default:
        return QVariant();
    }
}

Qt::ItemFlags ThtmlListItems::flags(const QModelIndex& index) const
{
    const Qt::ItemFlags base = QAbstractListModel::flags(index);
    return index.isValid() ? base | Qt::ItemIsDragEnabled : base;
}

QStringList ThtmlListItems::mimeTypes() const
{
    return {TdragPayload::kMimeType};
}

QMimeData* ThtmlListItems::mimeData(const QModelIndexList& indexes) const
{
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(indexes.size()));
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.model() == this && index.row() < Count())
            rows.push_back(index.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return new TdragPayload(generation_, std::move(rows));
}
