#pragma once

#include "core/groupings/audiotagalbumlist.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/songs/audiotaglist.h"

#include <memory>
#include <string>
#include <vector>

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
    // Add for a song that has just joined libraryAlbum in the library's album grouping, filled from the
    // same songs in the same order (nullptr for a song without an album). While the genre fills inside an
    // update with nothing else in its albums, its albums are not filed song by song but made once, by
    // TakeLibraryAlbums, from the library's: most albums are all of one genre. Anything else files as Add.
    bool AddFromLibraryAlbum(TaudioTag* song, TaudioTagList* libraryAlbum);
    // Makes the albums of the songs AddFromLibraryAlbum took: each library album all of whose songs came
    // is taken in as a link (so the library's album grouping must keep it until the genre is cleared),
    // the others are made from the songs that came, as Add would have made them. False when there was
    // nothing to make. The library's albums must be those the songs joined, still holding them.
    bool TakeLibraryAlbums();
    // True while songs wait for TakeLibraryAlbums.
    bool DefersAlbums() const { return defersAlbums_; }
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
    bool defersAlbums_ = false;
    struct Deferred
    {
        TaudioTag* song;
        TaudioTagList* libraryAlbum;
    };
    // The songs AddFromLibraryAlbum took, in filing order, for TakeLibraryAlbums.
    std::vector<Deferred> deferred_;

    void BeginInnerUpdate();
    // Files the songs waiting for TakeLibraryAlbums song by song, as Add would have.
    void FileDeferredAlbums();
};
