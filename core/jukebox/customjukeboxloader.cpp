#include "core/jukebox/customjukeboxloader.h"

#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "platform/filesystem.h"

#include <algorithm>

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
        CheckRead(list->LoadGlobalList(), list->GetGlobalFileName());
}

void TcustomJukeboxLoader::LoadPlaylists()
{
    if (TcustomlocalJukeboxList* list = JukeboxList())
        CheckRead(list->LoadPlaylists(), list->GetPlaylistsFileName());
}

void TcustomJukeboxLoader::LoadPlaylist()
{
    if (TcustomlocalJukeboxList* list = JukeboxList(); list && list->Jukebox())
        CheckRead(list->Jukebox()->LoadPlaylist(), list->Jukebox()->GetPlaylistFileName());
}

void TcustomJukeboxLoader::LoadStacker()
{
    if (TcustomlocalJukeboxList* list = JukeboxList(); list && list->Jukebox())
        CheckRead(list->Jukebox()->LoadStacker(), list->Jukebox()->GetStackerFileName());
}

void TcustomJukeboxLoader::LoadQueue()
{
    if (TcustomlocalJukeboxList* list = JukeboxList(); list && list->Jukebox())
        CheckRead(list->Jukebox()->LoadQueue(), list->Jukebox()->GetQueueFileName());
}

void TcustomJukeboxLoader::DoStartGlobalLoad()
{
    if (OnStartGlobalLoad)
        OnStartGlobalLoad(this);
}

void TcustomJukeboxLoader::CheckRead(bool read, const std::string& fileName)
{
    if (!read && platform::FileExists(fileName) &&
        std::find(unreadable_.begin(), unreadable_.end(), fileName) == unreadable_.end())
        unreadable_.push_back(fileName);
}
