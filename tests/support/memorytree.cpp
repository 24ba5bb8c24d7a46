#include "support/memorytree.h"

#include <stdexcept>

void TmemoryTree::Clear()
{
    nodes_.clear();
    roots_.clear();
}

TtreeNode TmemoryTree::AddChild(TtreeNode parent, std::string_view text, TaudioTagList* data,
                                TtreeNodeKind kind)
{
    const TtreeNode node{static_cast<std::int32_t>(nodes_.size())};
    if (parent)
        Mutable(parent); // checks the handle
    nodes_.push_back(Node{parent, std::string(text), data, kind, {}, false});
    (parent ? nodes_[static_cast<std::size_t>(parent.Id)].children : roots_).push_back(node);
    return node;
}

void TmemoryTree::SetText(TtreeNode node, std::string_view text)
{
    Mutable(node).text = std::string(text);
}

void TmemoryTree::SetData(TtreeNode node, TaudioTagList* data, TtreeNodeKind kind)
{
    Node& n = Mutable(node);
    n.data = data;
    n.kind = kind;
}

void TmemoryTree::DeleteChildren(TtreeNode node)
{
    std::vector<TtreeNode> doomed;
    doomed.swap(Mutable(node).children);
    while (!doomed.empty()) {
        const TtreeNode child = doomed.back();
        doomed.pop_back();
        Node& n = Mutable(child);
        n.deleted = true;
        doomed.insert(doomed.end(), n.children.begin(), n.children.end());
        n.children.clear();
    }
}

const TmemoryTree::Node& TmemoryTree::At(TtreeNode node) const
{
    if (node.IsNull() || static_cast<std::size_t>(node.Id) >= nodes_.size() ||
        nodes_[static_cast<std::size_t>(node.Id)].deleted)
        throw std::out_of_range("no such tree node");
    return nodes_[static_cast<std::size_t>(node.Id)];
}

TmemoryTree::Node& TmemoryTree::Mutable(TtreeNode node)
{
    return const_cast<Node&>(At(node));
}

const std::vector<TtreeNode>& TmemoryTree::Children(TtreeNode node) const
{
    return node ? At(node).children : roots_;
}

std::string TmemoryTree::Dump() const
{
    std::string out;
    for (const TtreeNode root : roots_)
        DumpNode(root, 0, out);
    return out;
}

void TmemoryTree::DumpNode(TtreeNode node, int level, std::string& out) const
{
    static const char* const kinds[] = {"none", "list", "album", "artist", "genre"};
    const Node& n = At(node);
    out.append(static_cast<std::size_t>(level) * 2, ' ');
    out += n.text;
    if (n.data)
        out += std::string(" {") + kinds[n.kind] + "}";
    out += '\n';
    for (const TtreeNode child : n.children)
        DumpNode(child, level + 1, out);
}
