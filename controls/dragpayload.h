#pragma once

#include "core/util/treesink.h"

#include <QMimeData>
#include <QPoint>
#include <QPointer>

#include <cstdint>
#include <memory>
#include <vector>

class TdragGeneration;

// A set of tree node kinds, bit (1 << kind) for each TtreeNodeKind.
using TnodeKinds = std::uint8_t;

constexpr bool Has(TnodeKinds kinds, TtreeNodeKind kind)
{
    return (kinds & (1u << kind)) != 0;
}
constexpr TnodeKinds With(TnodeKinds kinds, TtreeNodeKind kind)
{
    return static_cast<TnodeKinds>(kinds | (1u << kind));
}
constexpr TnodeKinds Without(TnodeKinds kinds, TtreeNodeKind kind)
{
    return static_cast<TnodeKinds>(kinds & ~(1u << kind));
}

// The picture a drag shows beside the pointer: one item, or several.
enum class TdragCursor
{
    Drag,
    MultiDrag,
};

// What a drag between the program's lists and trees carries: which control it started from and which of
// its rows (a list) or nodes with their kinds (a tree), as numbers, never as links to what they show. The
// receiver looks the rows or nodes up in the source while the drag is current (IsCurrent: the source has not
// changed since the drag began), so a drop after a library rebuild is refused rather than reaching freed
// lists. Only the object itself is trusted: data of the same format from another process, or any other
// mime data, reads as no payload (From).
class TdragPayload : public QMimeData
{
    Q_OBJECT
public:
    static constexpr const char* kMimeType = "application/x-orvane-drag";

    struct Node
    {
        TtreeNode Handle;
        TtreeNodeKind Kind = tnkNone;
    };

    // Rows of a list, in ascending order.
    TdragPayload(const TdragGeneration& generation, std::vector<int> rows);
    // Nodes of a tree.
    TdragPayload(const TdragGeneration& generation, std::vector<Node> nodes);

    // The payload behind mime data of this process, else nullptr.
    static const TdragPayload* From(const QMimeData* data);

    // The control the drag started from; nullptr once it is destroyed.
    QObject* Source() const { return source_; }
    void SetSource(QObject* source) { source_ = source; }
    bool FromTree() const { return fromTree_; }
    const std::vector<int>& Rows() const { return rows_; }
    const std::vector<Node>& Nodes() const { return nodes_; }
    // The source's rows or nodes are still those the drag named.
    bool IsCurrent() const;
    // Every node's kind is among kinds; a list's rows have none and pass.
    bool NodesIn(TnodeKinds kinds) const;

    TdragCursor Cursor() const { return cursor_; }
    void SetCursor(TdragCursor cursor) { cursor_ = cursor; }

    // Set by the control that takes the drop (which holds the payload as const), read by the source
    // when the drag ends: the target control and the drop point in its viewport.
    QObject* Target() const { return target_; }
    QPoint DropPoint() const { return dropPoint_; }
    void SetDropped(QObject* target, QPoint at) const;

private:
    TdragPayload(const TdragGeneration& generation, bool fromTree);

    std::weak_ptr<const std::uint64_t> token_;
    std::uint64_t generation_ = 0;
    bool fromTree_ = false;
    std::vector<int> rows_;
    std::vector<Node> nodes_;
    QPointer<QObject> source_;
    TdragCursor cursor_ = TdragCursor::Drag;
    mutable QPointer<QObject> target_;
    mutable QPoint dropPoint_;
};
