#include "treesinkmodel.h"

#include "dragpayload.h"

#include "markup/taggedtext.h"
#include "platform/qtstring.h"

#include <algorithm>

namespace {} // namespace

TtreeSinkModel::TtreeSinkModel(QObject* parent) : QAbstractItemModel(parent) {}

TtreeSinkModel::~TtreeSinkModel() = default;

void TtreeSinkModel::SetCaptionFunction(CaptionFunction function)
{
    caption_ = std::move(function);
    EveryRowChanged();
}

void TtreeSinkModel::SetImageFunction(ImageFunction function)
{
    image_ = std::move(function);
    EveryRowChanged();
}

void TtreeSinkModel::CaptionsChanged()
{
    EveryRowChanged();
}

void TtreeSinkModel::ClearData()
{
    generation_.Bump();
    for (Record& r : records_) {
        r.data = nullptr;
        r.kind = tnkNone;
    }
    EveryRowChanged();
}

void TtreeSinkModel::EveryRowChanged()
{
    if (resetting_ || roots_.empty())
        return;
    // Row contents only: no index moves, so expansion and selection stay.
    emit layoutAboutToBeChanged({}, QAbstractItemModel::NoLayoutChangeHint);
    emit layoutChanged({}, QAbstractItemModel::NoLayoutChangeHint);
}

bool TtreeSinkModel::Batched()
{
    if (updateCount_ == 0)
        return false;
    if (!resetting_) {
        resetting_ = true;
        beginResetModel();
    }
    return true;
}

void TtreeSinkModel::BeginUpdate()
{
    ++updateCount_;
}

void TtreeSinkModel::EndUpdate()
{
    if (updateCount_ == 0)
        return;
    if (--updateCount_ == 0 && resetting_) {
        resetting_ = false;
        // A library's tree is filled node by node inside one update: the room its arrays grew by goes back.
        if (records_.capacity() - records_.size() > records_.size() / 8)
            records_.shrink_to_fit();
        if (texts_.capacity() - texts_.size() > texts_.size() / 8)
            texts_.shrink_to_fit();
        LayOutChildren();
        endResetModel();
    }
}

void TtreeSinkModel::Clear()
{
    generation_.Bump();
    const bool batched = Batched();
    if (!batched)
        beginResetModel();
    records_.clear();
    texts_.clear();
    children_.clear();
    droppedChildren_ = 0;
    childrenStale_ = false;
    roots_.clear();
    liveCount_ = 0;
    if (!batched)
        endResetModel();
}

const TtreeSinkModel::Record* TtreeSinkModel::Find(TtreeNode node) const
{
    if (node.IsNull() || static_cast<std::size_t>(node.Id) >= records_.size())
        return nullptr;
    const Record& r = records_[static_cast<std::size_t>(node.Id)];
    return r.alive ? &r : nullptr;
}

TtreeSinkModel::Record* TtreeSinkModel::Find(TtreeNode node)
{
    return const_cast<Record*>(static_cast<const TtreeSinkModel*>(this)->Find(node));
}

std::span<const std::int32_t> TtreeSinkModel::ChildrenOf(TtreeNode node) const
{
    if (node.IsNull())
        return roots_;
    const Record* r = Find(node);
    if (!r || r->childCount == 0)
        return {};
    if (childrenStale_)
        LayOutChildren();
    return {children_.data() + r->firstChild, static_cast<std::size_t>(r->childCount)};
}

void TtreeSinkModel::LayOutChildren() const
{
    // Each live node's range starts where the previous one's ends; a child goes to its row in its parent's.
    auto& records = const_cast<std::vector<Record>&>(records_);
    std::size_t next = 0;
    for (Record& r : records)
        if (r.alive) {
            r.firstChild = static_cast<std::int32_t>(next);
            next += static_cast<std::size_t>(r.childCount);
        }
    std::vector<std::int32_t> children(next);
    for (std::size_t id = 0; id < records.size(); ++id) {
        const Record& r = records[id];
        if (r.alive && r.parent >= 0)
            children[static_cast<std::size_t>(records[static_cast<std::size_t>(r.parent)].firstChild +
                                              r.row)] = static_cast<std::int32_t>(id);
    }
    children_.swap(children);
    droppedChildren_ = 0;
    childrenStale_ = false;
}

void TtreeSinkModel::AppendChild(Record& parent, std::int32_t child)
{
    const auto end = static_cast<std::size_t>(parent.firstChild + parent.childCount);
    if (parent.childCount > 0 && end != children_.size()) {
        // Not the last range: it moves to the end, leaving its old room dropped.
        if (droppedChildren_ > children_.size() / 2 + 64) {
            LayOutChildren();
            AppendChild(parent, child);
            return;
        }
        const auto start = static_cast<std::size_t>(parent.firstChild);
        const std::size_t count = static_cast<std::size_t>(parent.childCount);
        children_.reserve(children_.size() + count + 1);
        for (std::size_t i = 0; i < count; ++i)
            children_.push_back(children_[start + i]);
        droppedChildren_ += count;
        parent.firstChild = static_cast<std::int32_t>(children_.size() - count);
    } else if (parent.childCount == 0) {
        parent.firstChild = static_cast<std::int32_t>(children_.size());
    }
    children_.push_back(child);
    ++parent.childCount;
}

TtreeNode TtreeSinkModel::AddChild(TtreeNode parent, std::string_view text, TaudioTagList* data,
                                   TtreeNodeKind kind)
{
    if (!parent.IsNull() && !Find(parent))
        return {};
    const auto id = static_cast<std::int32_t>(records_.size());
    const int row = parent.IsNull() ? static_cast<int>(roots_.size())
                                    : records_[static_cast<std::size_t>(parent.Id)].childCount;
    const bool batched = Batched();
    if (!batched)
        beginInsertRows(IndexOf(parent), row, row);
    Record record;
    record.textStart = static_cast<std::uint32_t>(texts_.size());
    record.textSize = static_cast<std::uint32_t>(std::min(text.size(), kMaxText));
    texts_.append(text.substr(0, kMaxText));
    record.data = data;
    record.kind = kind;
    record.parent = parent.Id;
    record.row = row;
    records_.push_back(record);
    if (parent.IsNull()) {
        roots_.push_back(id);
    } else {
        Record& p = records_[static_cast<std::size_t>(parent.Id)];
        if (batched) {
            // Laid out when the update ends or the children are first asked for.
            ++p.childCount;
            childrenStale_ = true;
        } else {
            if (childrenStale_)
                LayOutChildren();
            AppendChild(p, id);
        }
    }
    ++liveCount_;
    if (!batched) {
        endInsertRows();
        NodeChanged(parent);
    }
    return TtreeNode{id};
}

void TtreeSinkModel::SetText(TtreeNode node, std::string_view text)
{
    Record* r = Find(node);
    if (!r)
        return;
    const bool batched = Batched();
    r->textStart = static_cast<std::uint32_t>(texts_.size());
    r->textSize = static_cast<std::uint32_t>(std::min(text.size(), kMaxText));
    texts_.append(text.substr(0, kMaxText));
    if (!batched)
        NodeChanged(node);
}

void TtreeSinkModel::SetData(TtreeNode node, TaudioTagList* data, TtreeNodeKind kind)
{
    Record* r = Find(node);
    if (!r)
        return;
    generation_.Bump();
    const bool batched = Batched();
    r->data = data;
    r->kind = kind;
    if (!batched)
        NodeChanged(node);
}

void TtreeSinkModel::DeleteChildren(TtreeNode node)
{
    Record* r = Find(node);
    if (!r || r->childCount == 0)
        return;
    generation_.Bump();
    const bool batched = Batched();
    if (!batched)
        beginRemoveRows(IndexOf(node), 0, r->childCount - 1);
    const std::span<const std::int32_t> children = ChildrenOf(node);
    std::vector<std::int32_t> doomed(children.begin(), children.end());
    droppedChildren_ += doomed.size();
    r->childCount = 0;
    while (!doomed.empty()) {
        Record& child = records_[static_cast<std::size_t>(doomed.back())];
        doomed.pop_back();
        if (child.childCount > 0) {
            const auto start = children_.begin() + child.firstChild;
            doomed.insert(doomed.end(), start, start + child.childCount);
            droppedChildren_ += static_cast<std::size_t>(child.childCount);
        }
        child.alive = false;
        child.data = nullptr;
        child.childCount = 0;
        child.textSize = 0;
        --liveCount_;
    }
    if (!batched) {
        endRemoveRows();
        NodeChanged(node);
    }
}

void TtreeSinkModel::NodeChanged(TtreeNode node)
{
    if (node.IsNull())
        return;
    const QModelIndex index = IndexOf(node);
    emit dataChanged(index, index);
}

bool TtreeSinkModel::IsNode(TtreeNode node) const
{
    return Find(node) != nullptr;
}

std::string_view TtreeSinkModel::Text(TtreeNode node) const
{
    const Record* r = Find(node);
    return r ? std::string_view(texts_).substr(r->textStart, r->textSize) : std::string_view();
}

TaudioTagList* TtreeSinkModel::Data(TtreeNode node) const
{
    const Record* r = Find(node);
    return r ? r->data : nullptr;
}

TtreeNodeKind TtreeSinkModel::Kind(TtreeNode node) const
{
    const Record* r = Find(node);
    return r ? r->kind : tnkNone;
}

TtreeNode TtreeSinkModel::Parent(TtreeNode node) const
{
    const Record* r = Find(node);
    return r ? TtreeNode{r->parent} : TtreeNode{};
}

int TtreeSinkModel::ChildCount(TtreeNode node) const
{
    if (node.IsNull())
        return static_cast<int>(roots_.size());
    const Record* r = Find(node);
    return r ? r->childCount : 0;
}

TtreeNode TtreeSinkModel::Child(TtreeNode node, int row) const
{
    const std::span<const std::int32_t> children = ChildrenOf(node);
    if (row < 0 || static_cast<std::size_t>(row) >= children.size())
        return {};
    return TtreeNode{children[static_cast<std::size_t>(row)]};
}

int TtreeSinkModel::Row(TtreeNode node) const
{
    const Record* r = Find(node);
    return r ? r->row : -1;
}

std::string TtreeSinkModel::Caption(TtreeNode node) const
{
    if (!Find(node))
        return {};
    return caption_ ? caption_(*this, node) : EscapeMarkup(Text(node));
}

TtreeSinkModel::NodeImage TtreeSinkModel::Image(TtreeNode node, NodeState state) const
{
    if (!image_ || !Find(node))
        return {};
    return image_(*this, node, state);
}

TtreeNode TtreeSinkModel::NodeOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    const TtreeNode node{static_cast<std::int32_t>(index.internalId())};
    return Find(node) ? node : TtreeNode{};
}

QModelIndex TtreeSinkModel::IndexOf(TtreeNode node) const
{
    const Record* r = Find(node);
    return r ? createIndex(r->row, 0, static_cast<quintptr>(node.Id)) : QModelIndex();
}

QModelIndex TtreeSinkModel::index(int row, int column, const QModelIndex& parent) const
{
    if (column != 0 || (parent.isValid() && parent.column() != 0))
        return {};
    const TtreeNode parentNode = NodeOf(parent);
    if (parent.isValid() && parentNode.IsNull())
        return {};
    const TtreeNode child = Child(parentNode, row);
    return child ? createIndex(row, 0, static_cast<quintptr>(child.Id)) : QModelIndex();
}

QModelIndex TtreeSinkModel::parent(const QModelIndex& child) const
{
    return IndexOf(Parent(NodeOf(child)));
}

int TtreeSinkModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return static_cast<int>(roots_.size());
    if (parent.column() != 0)
        return 0;
    const TtreeNode node = NodeOf(parent);
    return node ? ChildCount(node) : 0;
}

int TtreeSinkModel::columnCount(const QModelIndex&) const
{
    return 1;
}

bool TtreeSinkModel::hasChildren(const QModelIndex& parent) const
{
    return rowCount(parent) > 0;
}

QVariant TtreeSinkModel::data(const QModelIndex& index, int role) const
{
    const TtreeNode node = NodeOf(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole: {
        return platform::ToQString(Caption(node));
    }
    case Qt::DecorationRole:
        if (image_)
            return image_(*this, node, {}).Picture;
        return {};
    case NodeTextRole: {
        return platform::ToQString(Text(node));
    }
    case NodeDataRole:
        return QVariant::fromValue(reinterpret_cast<quintptr>(Data(node)));
    case NodeKindRole:
        return static_cast<int>(Kind(node));
    default:
        return {};
    }
}

Qt::ItemFlags TtreeSinkModel::flags(const QModelIndex& index) const
{
    if (!NodeOf(index))
        return Qt::NoItemFlags;
    // Not ItemNeverHasChildren: an empty root may be filled later.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

QStringList TtreeSinkModel::mimeTypes() const
{
    return {TdragPayload::kMimeType};
}

QMimeData* TtreeSinkModel::mimeData(const QModelIndexList& indexes) const
{
    std::vector<TdragPayload::Node> nodes;
    nodes.reserve(static_cast<std::size_t>(indexes.size()));
    for (const QModelIndex& index : indexes)
        if (const TtreeNode node = NodeOf(index))
            nodes.push_back({node, Kind(node)});
    return new TdragPayload(generation_, std::move(nodes));
}
