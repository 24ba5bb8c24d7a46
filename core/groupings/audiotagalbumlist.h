#pragma once

#include "core/groupings/audiotagalbum.h"
#include "core/groupings/audiotaglistlist.h"
#include "core/util/treesink.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The album grouping: songs by album title and folder, so that two albums of one name in different folders
// stay apart and one folder of several artists under one album name is one (compilation) album.
class TaudioTagAlbumList : public TaudioTagListList
{
public:
    TaudioTagAlbumList();
    ~TaudioTagAlbumList() override;

    // Songs without an album are ignored.
    void AddTag(TaudioTag* tag);
    void AddAlbum(TaudioTagAlbum* album);
    // The album of that title (ignoring case) whose songs are in that folder (the folder part of a file
    // name, separator included), as AddTag files a song; nullptr when none. A song's own FolderName is
    // found at once right after a fill; any other text of a folder by a visit of the title's albums.
    TaudioTagAlbum* FindAlbum(std::string_view title, const std::string& folder) const;
    // Album i in title order; nullptr out of range or for a member that is not an album.
    TaudioTagAlbum* GetAlbum(int i) const;
    // One node per album under parent, captioned with its title.
    void FillTree(TtreeSink& tree, TtreeNode parent) const;
    // Closes the update every new album is born in (sorting it once), then notifies.
    void DoChange() override;

private:
    // The album the last song joined: songs come folder by folder, so most need no lookup at all.
    TaudioTagList* last_ = nullptr;
    std::uint64_t lastGeneration_ = 0;
    // While an update that began on an empty set fills it, every album by its folded title and folder (the
    // address of the folder's one shared text, which the table holds on to): a
    // name many folders share (one album each) is found without visiting each of them. Dropped when the
    // update ends or when anything else changed the set.
    class TfolderIndex;
    std::unique_ptr<TfolderIndex> byFolder_;
    std::uint64_t byFolderGeneration_ = 0;
};
