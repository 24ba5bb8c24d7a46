#pragma once

#include "core/groupings/audiotagalbum.h"
#include "core/groupings/audiotaglistlist.h"
#include "core/util/treesink.h"

#include <cstddef>
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

    // Answers the album the song joined; songs without an album are ignored (nullptr).
    TaudioTagList* AddTag(TaudioTag* tag);
    // A hint for AddTag to come, in steps (0 to kLookAheadSteps - 1, each step taken for a run of songs
    // before the next, so that the memory a step needs was asked for a run earlier): the album an earlier
    // song of the same texts joined, or else the song's key, its table slot and record; then the album and
    // the end of its songs. Songs looked ahead are filed in the same order, their album and file name
    // unchanged in between; what was found ahead saves finding it again, and AddTag takes it only for the
    // song it was made for. Nothing a song joins depends on it.
    static constexpr int kLookAheadSteps = 4;
    void LookAhead(const TaudioTag* tag, int step);
    void AddAlbum(TaudioTagAlbum* album);
    // The album of that title (ignoring case) whose songs are in that folder (the folder part of a file
    // name, separator included), as AddTag files a song; nullptr when none.
    TaudioTagAlbum* FindAlbum(std::string_view title, std::string_view folder) const;
    // Album i in title order; nullptr out of range or for a member that is not an album.
    TaudioTagAlbum* GetAlbum(int i) const;
    // One node per album under parent, captioned with its title.
    void FillTree(TtreeSink& tree, TtreeNode parent) const;
    // Closes the update every new album is born in (sorting it once), then notifies.
    void DoChange() override;

private:
    // Starts or drops the fill table before a song is filed.
    void FollowFill();

    // The album the last song joined: songs come folder by folder, so most need no lookup at all.
    TaudioTagList* last_ = nullptr;
    std::uint64_t lastGeneration_ = 0;
    // While an update that began on an empty set fills it, every album by its folded title and folder: a
    // name many folders share (one album each) is found without visiting each of them. Dropped when the
    // update ends or when anything else changed the set.
    class TfolderIndex;
    std::unique_ptr<TfolderIndex> byFolder_;
    std::uint64_t byFolderGeneration_ = 0;
};
