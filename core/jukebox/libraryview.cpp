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
    shared_ = nullptr;
    GlobalListChanging();
    // Emptied without telling anyone: the links let go above, and the next Follow tells of the new songs.
    TcustomJukeboxListEvents* events = Events();
    TcustomJukeboxList::SetEvents(nullptr);
    const platform::TScopeExit told([this, events] { TcustomJukeboxList::SetEvents(events); });
    GlobalList().Clear();
    // The source's group lists may go from here on: no link to them stays, even without a rebuild.
    if (SharesGroupings())
        FillGroupings();
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
        global.ShrinkToFit();
    } catch (...) {
        shared_ = nullptr;
        global.EndUpdate();
        throw;
    }
    // The same songs in the same order make the same groupings: the source's serve (with its genres only
    // when it has them).
    const bool same = global.Count() == source.GlobalList().Count() && (source.LoadGenres() || !LoadGenres());
    shared_ = same ? &source : nullptr;
    stale_ = false;
    global.EndUpdate();
}

void TlibraryView::FillGroupings()
{
    if (!shared_) {
        TcustomJukeboxList::FillGroupings();
        return;
    }
    const TcustomJukeboxList& source = *shared_;
    Albums().LinkMembersOf(source.Albums());
    Artists().LinkMembersOf(source.Artists());
    Artists().BuildIndex();
    AlphaList().LinkMembersOf(source.AlphaList());
    if (LoadGenres())
        Genres().LinkGenresOf(source.Genres());
    else
        Genres().Clear();
    OwnFileNameIndex() = source.FileNameIndex();
}
