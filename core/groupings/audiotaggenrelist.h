#pragma once

#include "core/groupings/audiotaggenre.h"
#include "core/groupings/audiotaglistlist.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

inline constexpr const char* kUndefinedGenre = "[Undefined]";

// The genre grouping: songs by genre text ("[Undefined]" for none), each genre with its artists and albums.
class TaudioTagGenreList : public TaudioTagListList
{
public:
    // One line of the genre index.
    struct IndexEntry
    {
        std::string name;
        TaudioTagGenre* genre = nullptr;
    };

    // Published properties; only the tree display reads them.
    bool UseAlbums() const { return useAlbums_; }
    void SetUseAlbums(bool value) { useAlbums_ = value; }
    bool UseArtists() const { return useArtists_; }
    void SetUseArtists(bool value) { useArtists_ = value; }

    // The library's album grouping, built from the same songs (or nullptr). A genre's album that holds
    // every song of one of its albums is then that album itself, linked instead of kept twice; the album
    // grouping must keep its albums until this set is cleared.
    void SetLibraryAlbums(const TaudioTagAlbumList* albums) { libraryAlbums_ = albums; }

    // libraryAlbum: the album of the library's album grouping (SetLibraryAlbums) the song has just joined
    // in the same fill, or nullptr. Given for every song of a fill inside an update, it lets the genres
    // made in it take their albums from the library's when the update closes rather than file every song
    // twice (TaudioTagGenre::AddFromLibraryAlbum).
    void AddTag(TaudioTag* tag, TaudioTagList* libraryAlbum = nullptr);
    // A hint for AddTag to come for each of a run of songs, filed then in the same order: each genre's
    // albums and artists look them up ahead while the set fills. Nothing a song joins depends on it.
    void LookAhead(const TaudioTag* const* tags, std::size_t count) const;
    void AddGenre(TaudioTagGenre* genre);
    // Genre i in title order; nullptr out of range or for a member that is not a genre.
    TaudioTagGenre* GetGenre(int i) const;
    TaudioTagGenre* FindGenre(std::string_view name) const;
    // Genre names in order (case-insensitive, duplicates dropped), each with its genre.
    const std::vector<IndexEntry>& GenreIndex() const { return genreIndex_; }

    // Links source's genres (LinkMembersOf) and takes its genre index; the display switches stay this
    // set's own.
    void LinkGenresOf(const TaudioTagGenreList& source);

    void Clear() override;
    // Closes the genres' updates, sorts each by title once, gives every genre's artists their albums and
    // name index, then notifies.
    void DoChange() override;

private:
    static void LinkWholeAlbums(TaudioTagGenre& genre, const TaudioTagAlbumList& library);
    // The songs of every genre made in this fill, each genre's in title order (as SortBy(tstTitle) puts
    // them), indexed by the genre's number in madeNumber_; empty for a genre that changed otherwise.
    std::vector<std::vector<TaudioTag*>> SortFiledByTitle(const std::vector<TaudioTagGenre*>& genres);

    bool useAlbums_ = true;
    bool useArtists_ = true;
    std::vector<IndexEntry> genreIndex_;
    const TaudioTagAlbumList* libraryAlbums_ = nullptr; // link
    // The genre the last song joined, valid while nothing is filed or removed.
    TaudioTagGenre* last_ = nullptr;
    std::string lastName_;
    std::uint64_t lastGeneration_ = 0;
    // While the set fills (in an update): each song filed into a genre made in this fill, with the genre's
    // number, in filing order, so that the titles of all of them are ranked once, read in the order the
    // library holds them, rather than genre by genre. Freed when the fill closes.
    struct Filed
    {
        TaudioTag* song;
        std::uint32_t genre;
    };
    std::vector<Filed> filed_;
    std::unordered_map<const TaudioTagGenre*, std::uint32_t> madeNumber_;
};
