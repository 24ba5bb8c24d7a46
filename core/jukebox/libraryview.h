#pragma once

#include "core/jukebox/customjukeboxlist.h"

// A library without CDs that shares another library's songs: its global list links the source's songs
// (less those of the disc catalogues the source loaded) and owns none. When no song was left out, its
// groupings link the source's group lists (albums, artists, title groups, genres) instead of making a
// second set, and only the artist-name index (the source's alias lines are not this library's) and the
// switches of its sets are its own; otherwise it builds groupings of its own. Its file-name index and saved
// playlists are its own. It is rebuilt from memory, never from jukebox.dat, and saves nothing.
// Before the source frees songs or rebuilds its groupings, Release empties it (OnGlobalListChanging first,
// so whatever links into it lets go); Follow fills it again, with one rebuild and OnGlobalListChange.
class TlibraryView : public TcustomJukeboxList
{
public:
    TlibraryView();
    ~TlibraryView() override;

    // True from the start and from each Release until the next Follow.
    bool Stale() const { return stale_; }
    // Lets go of every song and every linked group list, once until the next Follow.
    void Release();
    // Links every song of source that is not a CD song, in source's order, and rebuilds the groupings.
    void Follow(const TcustomJukeboxList& source);
    // True while the groupings are the source's group lists.
    bool SharesGroupings() const { return Albums().Linked(); }

    void JukeboxDestroyed(TcustomJukebox*) override {}
    // The songs come from the source only: loading jukebox.dat does nothing, and nothing is saved.
    void LoadGlobal() override {}
    void SaveAll() override {}

protected:
    void FillGroupings() override;

private:
    bool stale_ = true;
    // The library whose groupings the next rebuild links, or nullptr to build them here. // link
    const TcustomJukeboxList* shared_ = nullptr;
};
