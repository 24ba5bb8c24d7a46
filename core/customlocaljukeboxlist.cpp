#include "core/customlocaljukeboxlist.h"

TcustomlocalJukeboxList::TcustomlocalJukeboxList() = default;

TcustomlocalJukeboxList::~TcustomlocalJukeboxList()
{
    destroying_ = true;
}

TlocalJukebox* TcustomlocalJukeboxList::Jukebox() const
{
    return jukebox_;
}

void TcustomlocalJukeboxList::GlobalListChanged()
{
    TcustomJukeboxList::GlobalListChanged();
}

void TcustomlocalJukeboxList::PlaylistsChanged()
{
    TcustomJukeboxList::PlaylistsChanged();
}

void TcustomlocalJukeboxList::SetEvents(TcustomJukeboxListEvents* events)
{
    TcustomJukeboxList::SetEvents(events);
}

void TcustomlocalJukeboxList::JukeboxDestroyed(TcustomJukebox* jukebox)
{
    (void)jukebox;
}

void TcustomlocalJukeboxList::LoadSettings(const TIniFile& ini, const std::string& section)
{
    TcustomJukeboxList::LoadSettings(ini, section);
}

void TcustomlocalJukeboxList::SaveSettings(TIniFile& ini, const std::string& section)
{
    TcustomJukeboxList::SaveSettings(ini, section);
}

TaudioTagList* TcustomlocalJukeboxList::GetCurrentPlaylist() const
{
    return Playlists().GetCurrent();
}
