#pragma once

#include "core/songs/audiotaglist.h"
#include "core/songs/sharedtext.h"

#include <string>

// The album artist of a compilation, and the artist its albums are listed under.
inline constexpr const char* kCompilationsArtist = "[Compilations]";

// The songs of one album: one title in one folder. Songs of several artists make it a compilation.
class TaudioTagAlbum : public TaudioTagList
{
public:
    TaudioTagAlbum();

    bool Compilation() const { return compilation_; }
    void SetCompilation(bool value) { compilation_ = value; }
    // The artist of the album's songs; kCompilationsArtist once two artists meet.
    const std::string& AlbumArtist() const { return albumArtist_.Get(); }
    void SetAlbumArtist(std::string value) { albumArtist_ = TsharedText(value); }
    bool SortByTrack() const { return sortByTrack_; }
    // Stores the flag and sorts by track (true) or artist (false).
    void SetSortByTrack(bool value);

    // A song of another artist turns the album into a compilation; then the song is added.
    bool Add(TaudioTag* song) override;
    TtreeNodeKind Kind() const override { return tnkAlbum; }

private:
    // The switches first: they fit in the room the song list leaves at its end.
    bool compilation_ = false;
    bool sortByTrack_ = true;
    // Shared with the songs' artist texts.
    TsharedText albumArtist_;
};
