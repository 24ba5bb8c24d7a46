#include "core/customjukeboxloader.h"

#include "core/customlocaljukeboxlist.h"

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

void TcustomJukeboxLoader::LoadPlaylist() {}

void TcustomJukeboxLoader::LoadStacker() {}

void TcustomJukeboxLoader::LoadQueue() {}

void TcustomJukeboxLoader::DoStartGlobalLoad()
{
    if (OnStartGlobalLoad)
        OnStartGlobalLoad(this);
}
