#pragma once

#include "core/groupings/audiotagalbumlist.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/songs/audiotaglist.h"

#include <memory>
#include <string>

// The songs of one genre text, with the genre's own artists and albums for the tree's genre, artist, album
// levels. The genre owns those artists and albums, never the songs.
class TaudioTagGenre : public TaudioTagList
{
public:
    TaudioTagGenre();
    ~TaudioTagGenre() override;

    bool UseAlbums() const { return useAlbums_; }
    void SetUseAlbums(bool value) { useAlbums_ = value; }
    bool UseArtists() const { return useArtists_; }
    void SetUseArtists(bool value) { useArtists_ = value; }
    const std::string& GetGenre() const { return Title(); }
    void SetGenre(std::string value) { SetTitle(std::move(value)); }
    const std::string& Genre() const { return GetGenre(); }

    TaudioTagArtistList& Artists() { return *artists_; }
    const TaudioTagArtistList& Artists() const { return *artists_; }
    TaudioTagAlbumList& Albums() { return *albums_; }
    const TaudioTagAlbumList& Albums() const { return *albums_; }

    // With UseArtists the song joins the artists and, with UseAlbums too, the albums; then the genre.
    bool Add(TaudioTag* song) override;
    // Clears the artists and albums, then the songs.
    void Clear() override;
    void DoChange() override;
    TtreeNodeKind Kind() const override { return tnkGenre; }

private:
    // Declared first, destroyed last: the artists link the albums.
    std::unique_ptr<TaudioTagAlbumList> albums_;
    std::unique_ptr<TaudioTagArtistList> artists_;
    bool useAlbums_ = false;
    bool useArtists_ = false;
    // Artists and albums are held in an update of their own while the genre is in one.
    bool innerUpdate_ = false;
};
