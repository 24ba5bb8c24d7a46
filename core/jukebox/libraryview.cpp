#include "core/jukebox/libraryview.h"

#include "platform/scopeguard.h"

TlibraryView::TlibraryView()
{
    GlobalList().SetOwnsObjects(false);
    SetAutoSaveGlobal(false);
    SetAutoSavePlaylists(false);
    SetLoadCDs(false);
    SetLoadGenres(true);
}

TlibraryView::~TlibraryView() = default;

void TlibraryView::Release()
{
    if (stale_)
        return;
    stale_ = true;
    GlobalListChanging();
    // Emptied without telling anyone: the links let go above, and the next Follow tells of the new songs.
    TcustomJukeboxListEvents* events = Events();
    TcustomJukeboxList::SetEvents(nullptr);
    const platform::TScopeExit told([this, events] { TcustomJukeboxList::SetEvents(events); });
    GlobalList().Clear();
}

void TlibraryView::Follow(const TcustomJukeboxList& source)
{
    TaudioTagList& global = GlobalList();
    global.BeginUpdate();
    try {
        global.Clear();
        for (TaudioTag* song : source.GlobalList().Items())
            if (!source.IsCDSong(*song))
                global.Add(song);
    } catch (...) {
        global.EndUpdate();
        throw;
    }
    stale_ = false;
    global.EndUpdate();
}
