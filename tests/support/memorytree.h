#pragma once

#include "core/util/treesink.h"

#include <string>
#include <vector>

// A plain tree in memory for tests of the code that fills library trees.
class TmemoryTree : public TtreeSink
{
public:
    struct Node
    {
        TtreeNode parent;
        std::string text;
        TaudioTagList* data = nullptr;
        TtreeNodeKind kind = tnkNone;
        std::vector<TtreeNode> children;
        bool deleted = false;
    };

    void BeginUpdate() override { ++updates_; }
    void EndUpdate() override { --updates_; }
    void Clear() override;
    TtreeNode AddChild(TtreeNode parent, std::string_view text, TaudioTagList* data,
                       TtreeNodeKind kind) override;
    void SetText(TtreeNode node, std::string_view text) override;
    void SetData(TtreeNode node, TaudioTagList* data, TtreeNodeKind kind) override;
    void DeleteChildren(TtreeNode node) override;

    const Node& At(TtreeNode node) const;
    const std::vector<TtreeNode>& Roots() const { return roots_; }
    const std::vector<TtreeNode>& Children(TtreeNode node) const;
    int UpdateLevel() const { return updates_; }
    // One line per live node, two blanks of indent per level: "text" plus " {kind}" for a node with data.
    std::string Dump() const;

private:
    Node& Mutable(TtreeNode node);
    void DumpNode(TtreeNode node, int level, std::string& out) const;

    std::vector<Node> nodes_;
    std::vector<TtreeNode> roots_;
    int updates_ = 0;
};
