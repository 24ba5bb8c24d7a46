#pragma once

#include <cstdint>
#include <string_view>

class TaudioTagList;

// What a tree node stands for, so that a view can tell an album from an artist without a type test.
enum TtreeNodeKind : std::uint8_t
{
    tnkNone = 0,   // a root or category node holding nothing
    tnkList = 1,   // any other song list: a saved playlist, a stacker list
    tnkAlbum = 2,  // TaudioTagAlbum
    tnkArtist = 3, // TaudioTagArtist, also a title group of the alphabetical list
    tnkGenre = 4,  // TaudioTagGenre
};

// A node of a tree that the core fills. A plain number the tree hands out (an index into its node records,
// say); the null handle stands for "no node" and, as a parent, for the top level.
struct TtreeNode
{
    std::int32_t Id = -1;

    bool IsNull() const { return Id < 0; }
    explicit operator bool() const { return Id >= 0; }
    friend bool operator==(TtreeNode, TtreeNode) = default;
};

// The few node operations the core needs to fill a library tree. A view implements it over its own node
// records (one record per node, nothing allocated per call beyond that), so filling 100,000 nodes costs one
// virtual call and one record each.
//
// Node text is the node's plain data text (a title, an artist's or index name), never mark-up: the view
// builds the marked-up caption from it and the node's data when it draws the row.
class TtreeSink
{
public:
    virtual ~TtreeSink() = default;

    // Bracket a fill; a view resets or repaints once when the outermost bracket closes.
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    // Removes every node; handles handed out before are void.
    virtual void Clear() = 0;
    // Appends a node as the last child of parent (the last top-level node for a null parent); the data is a
    // link, never owned by the tree.
    virtual TtreeNode AddChild(TtreeNode parent, std::string_view text, TaudioTagList* data,
                               TtreeNodeKind kind) = 0;
    virtual void SetText(TtreeNode node, std::string_view text) = 0;
    virtual void SetData(TtreeNode node, TaudioTagList* data, TtreeNodeKind kind) = 0;
    // Removes the node's children and everything below them; the node itself stays.
    virtual void DeleteChildren(TtreeNode node) = 0;
};
