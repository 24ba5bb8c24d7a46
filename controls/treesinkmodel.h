#pragma once

#include "controls/draggeneration.h"
#include "core/util/treesink.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// A tree the core fills (TtreeSink) shown as a Qt item model: one record per node in one array, the node's
// handle as the index's internal id, so a view asks for rows without anything being made per node.
// Captions are built only for the rows a view draws, by the caption function (the node's text, escaped,
// when none is set).
//
// Changes outside BeginUpdate/EndUpdate are reported row by row, so views keep their expansion and
// selection; changes inside one are reported as one reset when the outermost update ends. A node's parent
// is told of every change of its children, since captions may count them.
//
// Handles stay void after their node is deleted (they are not handed out again until Clear); calls with a
// void handle change nothing.
class TtreeSinkModel : public QAbstractItemModel, public TtreeSink
{
    Q_OBJECT
public:
    // The node's plain text (UTF-8 as a QString), its data link as a quintptr, its TtreeNodeKind.
    static constexpr int NodeTextRole = Qt::UserRole + 1;
    static constexpr int NodeDataRole = Qt::UserRole + 2;
    static constexpr int NodeKindRole = Qt::UserRole + 3;

    // How a view shows a node where its image is asked for.
    struct NodeState
    {
        bool Expanded = false;
        bool Selected = false;
    };
    // A node's image; a tinted one is drawn on the tree's colour with the red of every pixel that is not
    // black at full strength.
    struct NodeImage
    {
        QIcon Picture;
        bool Tinted = false;
    };

    using CaptionFunction = std::function<std::string(const TtreeSinkModel& model, TtreeNode node)>;
    using ImageFunction =
        std::function<NodeImage(const TtreeSinkModel& model, TtreeNode node, NodeState state)>;

    explicit TtreeSinkModel(QObject* parent = nullptr);
    ~TtreeSinkModel() override;

    // The display caption (tagged text) of a node; repaints every row.
    void SetCaptionFunction(CaptionFunction function);
    // The image of a node in the state a view shows it; repaints every row. Views that know no state (the
    // decoration role) ask for a collapsed, unselected node.
    void SetImageFunction(ImageFunction function);
    bool HasImageFunction() const { return static_cast<bool>(image_); }
    // Tells the views that every caption may read otherwise (fonts changed, say).
    void CaptionsChanged();
    // Drops every node's data link, for when the lists they point to are about to go (a library rebuilding
    // its groupings): captions then fall back to the node texts until the tree is filled again.
    void ClearData();

    // TtreeSink.
    void BeginUpdate() override;
    void EndUpdate() override;
    void Clear() override;
    // A void parent handle adds nothing and answers the null node.
    TtreeNode AddChild(TtreeNode parent, std::string_view text, TaudioTagList* data,
                       TtreeNodeKind kind) override;
    void SetText(TtreeNode node, std::string_view text) override;
    void SetData(TtreeNode node, TaudioTagList* data, TtreeNodeKind kind) override;
    void DeleteChildren(TtreeNode node) override;
    int UpdateCount() const { return updateCount_; }

    // Node queries; a null or void node answers empty values (the null parent reads as the top level where
    // children are asked for).
    bool IsNode(TtreeNode node) const;
    int NodeCount() const { return liveCount_; }
    // Valid until the next change of the tree.
    std::string_view Text(TtreeNode node) const;
    TaudioTagList* Data(TtreeNode node) const;
    TtreeNodeKind Kind(TtreeNode node) const;
    TtreeNode Parent(TtreeNode node) const;
    int ChildCount(TtreeNode node) const;
    TtreeNode Child(TtreeNode node, int row) const;
    // The node's position among its siblings; -1 for a void node.
    int Row(TtreeNode node) const;
    // The caption a view draws for the node.
    std::string Caption(TtreeNode node) const;
    // The image a view draws for the node in that state; none without an image function.
    NodeImage Image(TtreeNode node, NodeState state) const;

    TtreeNode NodeOf(const QModelIndex& index) const;
    QModelIndex IndexOf(TtreeNode node) const;

    // QAbstractItemModel.
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    // A TdragPayload of the nodes with their kinds.
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // Bumped whenever nodes go or their data changes (Clear, ClearData, SetData, DeleteChildren), so a
    // drag of nodes made before is refused.
    const TdragGeneration& DragGeneration() const { return generation_; }

private:
    // 32 bytes a node: the text is a range of one buffer of texts, the children a range of one array of
    // handles, laid out again in one pass when a batched fill ends (a node's children are appended to it
    // among its descendants' while a tree fills depth first).
    struct Record
    {
        TaudioTagList* data = nullptr;
        std::uint32_t textStart = 0;
        std::int32_t parent = -1;
        std::int32_t row = 0;
        std::int32_t firstChild = 0;
        std::int32_t childCount = 0;
        std::uint32_t textSize : 23 = 0; // a longer text is cut
        bool alive : 1 = true;
        TtreeNodeKind kind = tnkNone;
    };
    static_assert(sizeof(Record) == 32);
    static constexpr std::size_t kMaxText = (1u << 23) - 1;

    const Record* Find(TtreeNode node) const;
    Record* Find(TtreeNode node);
    // The node's children's handles; the top level's for the null node.
    std::span<const std::int32_t> ChildrenOf(TtreeNode node) const;
    // Puts every node's children side by side in the array of handles after a batched fill or when the
    // array holds more dropped ranges than live ones.
    void LayOutChildren() const;
    // Appends a child to a node's range, moving the range to the end of the array when it is not there.
    void AppendChild(Record& parent, std::int32_t child);
    // Inside an update, starts the one reset before the first change; true when the change is batched.
    bool Batched();
    void NodeChanged(TtreeNode node);
    void EveryRowChanged();

    std::vector<Record> records_;
    std::string texts_;
    mutable std::vector<std::int32_t> children_;
    mutable std::size_t droppedChildren_ = 0;
    // Set while a batched fill has added children the array does not hold yet.
    mutable bool childrenStale_ = false;
    std::vector<std::int32_t> roots_;
    int liveCount_ = 0;
    int updateCount_ = 0;
    bool resetting_ = false;
    CaptionFunction caption_;
    ImageFunction image_;
    TdragGeneration generation_;
};
