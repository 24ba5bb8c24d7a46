#include "core/jukebox/customjukeboxloader.h"

#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"

void TcustomJukeboxLoader::SetJukeboxList(TcustomlocalJukeboxList* value)
{
    jukeboxList_.Reset(value);
}

void TcustomJukeboxLoader::LoadAll()
{
    LoadGlobal();
    LoadPlaylists();
    LoadPlaylist();
    LoadStacker();
    LoadQueue();
}

void TcustomJukeboxLoader::LoadGlobal()
{
    DoStartGlobalLoad();
    if (TcustomlocalJukeboxList* list = JukeboxList())
        list->LoadGlobalList();
}

void TcustomJukeboxLoader::LoadPlaylists()
{
    if (TcustomlocalJukeboxList* list = JukeboxList())
        list->LoadPlaylists();
}

void TcustomJukeboxLoader::LoadPlaylist()
{
    if (TcustomlocalJukeboxList* list = JukeboxList(); list && list->Jukebox())
        list->Jukebox()->LoadPlaylist();
}

void TcustomJukeboxLoader::LoadStacker()
{
    if (TcustomlocalJukeboxList* list = JukeboxList(); list && list->Jukebox())
        list->Jukebox()->LoadStacker();
}

void TcustomJukeboxLoader::LoadQueue()
{
    if (TcustomlocalJukeboxList* list = JukeboxList(); list && list->Jukebox())
        list->Jukebox()->LoadQueue();
}

void TcustomJukeboxLoader::DoStartGlobalLoad()
{
    if (OnStartGlobalLoad)
        OnStartGlobalLoad(this);
}
