#include "core/groupings/audiotagartist.h"

TaudioTagArtist::TaudioTagArtist() = default;

TaudioTagArtist::~TaudioTagArtist() = default;

TtreeNode TaudioTagArtist::AddTreeNode(TtreeSink& tree, TtreeNode parent, bool withAlbums)
{
    const TtreeNode node = tree.AddChild(parent, Name(), this, tnkArtist);
    if (withAlbums && node)
        albums_.FillTree(tree, node);
    return node;
}
