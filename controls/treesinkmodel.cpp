#include "treesinkmodel.h"

#include "dragpayload.h"

#include "markup/taggedtext.h"
#include "platform/qtstring.h"

namespace {

const std::string kNoText;
const std::vector<std::int32_t> kNoChildren;

} // namespace

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
        // A library's tree is filled node by node inside one update: the room its array grew by goes back.
        if (records_.capacity() - records_.size() > records_.size() / 8)
            records_.shrink_to_fit();
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

const std::vector<std::int32_t>& TtreeSinkModel::ChildrenOf(TtreeNode node) const
{
    if (node.IsNull())
        return roots_;
    const Record* r = Find(node);
    return r ? r->children : kNoChildren;
}

TtreeNode TtreeSinkModel::AddChild(TtreeNode parent, std::string_view text, TaudioTagList* data,
                                   TtreeNodeKind kind)
{
    if (!parent.IsNull() && !Find(parent))
        return {};
    const auto id = static_cast<std::int32_t>(records_.size());
    const int row = static_cast<int>(ChildrenOf(parent).size());
    const bool batched = Batched();
    if (!batched)
        beginInsertRows(IndexOf(parent), row, row);
    Record record;
    record.text.assign(text);
    record.data = data;
    record.kind = kind;
    record.parent = parent.Id;
    record.row = row;
    records_.push_back(std::move(record));
    (parent.IsNull() ? roots_ : records_[static_cast<std::size_t>(parent.Id)].children).push_back(id);
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
    r->text.assign(text);
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
    if (!r || r->children.empty())
        return;
    generation_.Bump();
    const bool batched = Batched();
    if (!batched)
        beginRemoveRows(IndexOf(node), 0, static_cast<int>(r->children.size()) - 1);
    std::vector<std::int32_t> doomed;
    doomed.swap(r->children);
    while (!doomed.empty()) {
        Record& child = records_[static_cast<std::size_t>(doomed.back())];
        doomed.pop_back();
        child.alive = false;
        child.data = nullptr;
        --liveCount_;
        doomed.insert(doomed.end(), child.children.begin(), child.children.end());
        std::vector<std::int32_t>().swap(child.children);
        std::string().swap(child.text);
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

const std::string& TtreeSinkModel::Text(TtreeNode node) const
{
    const Record* r = Find(node);
    return r ? r->text : kNoText;
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
    return static_cast<int>(ChildrenOf(node).size());
}

TtreeNode TtreeSinkModel::Child(TtreeNode node, int row) const
{
    const std::vector<std::int32_t>& children = ChildrenOf(node);
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
