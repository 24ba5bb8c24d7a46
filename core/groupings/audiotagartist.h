#pragma once

#include "core/groupings/audiotagalbumlist.h"
#include "core/songs/audiotaglist.h"
#include "core/util/treesink.h"

#include <memory>
#include <string>

// The songs of one artist (the list's Title is the name) with the artist's albums, which it links, never
// owns.
class TaudioTagArtist : public TaudioTagList
{
public:
    TaudioTagArtist();
    ~TaudioTagArtist() override;

    const std::string& Name() const { return Title(); }
    void SetName(std::string name) { SetTitle(std::move(name)); }
    TaudioTagAlbumList& Albums() { return albums_; }
    const TaudioTagAlbumList& Albums() const { return albums_; }
    TtreeNodeKind Kind() const override { return tnkArtist; }

    // A node under parent captioned with the name and carrying the artist, with one child per album when
    // withAlbums is set; answers the artist's node.
    TtreeNode AddTreeNode(TtreeSink& tree, TtreeNode parent, bool withAlbums);

private:
    // Held in the artist: one heap block less for each of the tens of thousands of artists.
    TaudioTagAlbumList albums_;
};
