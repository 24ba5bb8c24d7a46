#include "core/jukebox/customlocaljukeboxlist.h"

#include "core/jukebox/customjukeboxlistevents.h"
#include "core/jukebox/localjukebox.h"

TcustomlocalJukeboxList::TcustomlocalJukeboxList() : jukebox_(std::make_unique<TlocalJukebox>())
{
    jukebox_->SetJukeboxList(this);
    if (TcustomJukeboxListEvents* events = Events())
        jukebox_->SetEvents(events->JukeboxEvents());
    for (TaudioTagList* list : {&jukebox_->Queue(), &jukebox_->Playlist(), &jukebox_->RandomPlayList()}) {
        list->OnListProcessStart = [this](TaudioTagList*, const std::string& text) {
            DoListProcessStart(text);
        };
        list->OnListProcess = [this](TaudioTagList*, std::uint32_t index, std::uint32_t count,
                                     TaudioTag* tag) { DoListProcess(index, count, tag); };
        list->OnListProcessFinished = [this](TaudioTagList*) { DoListProcessFinished(); };
    }
}

TcustomlocalJukeboxList::~TcustomlocalJukeboxList()
{
    destroying_ = true;
    // Its report of the destruction is ignored now; the songs its lists link to are still alive.
    jukebox_.reset();
}

TlocalJukebox* TcustomlocalJukeboxList::Jukebox() const
{
    return jukebox_.get();
}

void TcustomlocalJukeboxList::GlobalListChanged()
{
    // Songs removed from the global list are already freed; the rebuild's progress events may let a player
    // tick ask for the next song before the jukebox follows, so its links go first.
    ReleaseGlobalLinks();
    TcustomJukeboxList::GlobalListChanged();
    if (jukebox_)
        jukebox_->GlobalListChanged();
}

void TcustomlocalJukeboxList::PlaylistsChanged()
{
    TcustomJukeboxList::PlaylistsChanged();
    if (jukebox_)
        jukebox_->PlaylistsChanged();
}

void TcustomlocalJukeboxList::PlaylistListChanged(TaudioTagList* list)
{
    TcustomJukeboxList::PlaylistListChanged(list);
    if (jukebox_)
        jukebox_->PlaylistListChanged(list);
}

void TcustomlocalJukeboxList::SetEvents(TcustomJukeboxListEvents* events)
{
    TcustomJukeboxList::SetEvents(events);
    if (events && jukebox_) {
        jukebox_->SetPlayerEvents(events->PlayerEvents());
        jukebox_->SetEvents(events->JukeboxEvents());
    }
}

void TcustomlocalJukeboxList::JukeboxDestroyed(TcustomJukebox* jukebox)
{
    // Destroyed by someone else: forget it without freeing it a second time.
    if (!destroying_ && jukebox_ && jukebox == jukebox_.get())
        (void)jukebox_.release();
}

void TcustomlocalJukeboxList::LoadSettings(const TIniFile& ini, const std::string& section)
{
    TcustomJukeboxList::LoadSettings(ini, section);
    if (jukebox_)
        jukebox_->LoadSettings(ini, section);
}

void TcustomlocalJukeboxList::SaveSettings(TIniFile& ini, const std::string& section)
{
    TcustomJukeboxList::SaveSettings(ini, section);
    if (jukebox_)
        jukebox_->SaveSettings(ini, section);
}

void TcustomlocalJukeboxList::ReleaseGlobalLinks()
{
    if (jukebox_)
        jukebox_->ReleaseLibrarySongs();
}

TaudioTagList* TcustomlocalJukeboxList::GetCurrentPlaylist() const
{
    if (jukebox_ && jukebox_->Playlist().Active())
        return &jukebox_->Playlist();
    return Playlists().GetCurrent();
}
