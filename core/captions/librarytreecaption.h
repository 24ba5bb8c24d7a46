#pragma once

#include "core/util/treesink.h"

#include <string>
#include <string_view>

class TaudioTagList;
class TtagFonts;

// What the caption of one library-tree row is built from.
struct TlibraryTreeNode
{
    std::string_view Text;
    TaudioTagList* Data = nullptr;
    TtreeNodeKind Kind = tnkNone;
    bool HasParent = false;
    int ChildCount = 0;
};

// The tagged caption of a library-tree row in the tree's font set: roots and category nodes with the count
// of what they hold, artists and title groups with their album and track counts, albums with their tracks
// and length, playlists with their length, genres with their track count.
std::string LibraryTreeCaption(const TtagFonts& fonts, const TlibraryTreeNode& node);
