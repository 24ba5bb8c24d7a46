#pragma once

#include "core/jukebox/customjukeboxlist.h"

// A library without CDs that shares another library's songs: its global list links the source's songs
// (less those of the disc catalogues the source loaded) and owns none; its groupings, file-name index and
// saved playlists are its own. It is rebuilt from memory, never from jukebox.dat, and saves nothing.
// Before the source frees songs, Release empties it (OnGlobalListChanging first, so whatever links into it
// lets go); Follow fills it again, with one rebuild and OnGlobalListChange.
class TlibraryView : public TcustomJukeboxList
{
public:
    TlibraryView();
    ~TlibraryView() override;

    // True from the start and from each Release until the next Follow.
    bool Stale() const { return stale_; }
    // Lets go of every song, once until the next Follow.
    void Release();
    // Links every song of source that is not a CD song, in source's order, and rebuilds the groupings.
    void Follow(const TcustomJukeboxList& source);

    void JukeboxDestroyed(TcustomJukebox*) override {}
    // The songs come from the source only: loading jukebox.dat does nothing, and nothing is saved.
    void LoadGlobal() override {}
    void SaveAll() override {}

private:
    bool stale_ = true;
};
