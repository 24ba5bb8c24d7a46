#include "core/localjukeboxlist.h"

TlocalJukeboxList::TlocalJukeboxList() = default;

void TlocalJukeboxList::SetAutoSavePlaylist(bool value)
{
    autoSavePlaylist_ = value;
}

void TlocalJukeboxList::SetAutoSaveQueue(bool value)
{
    autoSaveQueue_ = value;
}

void TlocalJukeboxList::SetAutoSaveStacker(bool value)
{
    autoSaveStacker_ = value;
}

void TlocalJukeboxList::QueueTags(const TStringList<TaudioTag>& tags, bool copy, bool append)
{
    (void)tags;
    (void)copy;
    (void)append;
}

bool TlocalJukeboxList::QueueTag(const TaudioTag* tag)
{
    (void)tag;
    return false;
}

void TlocalJukeboxList::SetStackerActive(bool value)
{
    (void)value;
}

void TlocalJukeboxList::SelectPlaylist(const std::string& title)
{
    Playlists().SelectByName(title);
}

void TlocalJukeboxList::QueueList(const TaudioTagList& list, bool copy)
{
    (void)list;
    (void)copy;
}

void TlocalJukeboxList::QueueMoveUp(int index)
{
    (void)index;
}

void TlocalJukeboxList::QueueMoveDown(int index)
{
    (void)index;
}

void TlocalJukeboxList::QueueDelete(int index)
{
    (void)index;
}

void TlocalJukeboxList::QueueClear() {}
