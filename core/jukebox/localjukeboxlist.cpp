#include "core/jukebox/localjukeboxlist.h"

#include "core/jukebox/localjukebox.h"

TlocalJukeboxList::TlocalJukeboxList() = default;

void TlocalJukeboxList::SetAutoSavePlaylist(bool value)
{
    autoSavePlaylist_ = value;
    if (!designing_ && Jukebox())
        Jukebox()->SetAutoSavePlaylist(value);
}

void TlocalJukeboxList::SetAutoSaveQueue(bool value)
{
    autoSaveQueue_ = value;
    if (!designing_ && Jukebox())
        Jukebox()->SetAutoSaveQueue(value);
}

void TlocalJukeboxList::SetAutoSaveStacker(bool value)
{
    autoSaveStacker_ = value;
    if (!designing_ && Jukebox())
        Jukebox()->SetAutoSaveStacker(value);
}

// The queue owns its songs, so it always takes clones: songs of another list handed over as they are would be
// freed twice.
void TlocalJukeboxList::QueueTags(const TStringList<TaudioTag>& tags, bool copy, bool append)
{
    if (TlocalJukebox* jukebox = Jukebox())
        jukebox->Queue().AddTags(tags, copy || jukebox->Queue().OwnsObjects(), append);
}

bool TlocalJukeboxList::QueueTag(const TaudioTag* tag)
{
    TlocalJukebox* jukebox = Jukebox();
    // A refused clone is freed by the queue itself.
    return jukebox && jukebox->Queue().AddCopy(tag);
}

void TlocalJukeboxList::SetStackerActive(bool value)
{
    if (TlocalJukebox* jukebox = Jukebox())
        jukebox->Stacker().SetActive(value);
}

void TlocalJukeboxList::SelectPlaylist(const std::string& title)
{
    Playlists().SelectByName(title);
}

void TlocalJukeboxList::QueueList(const TaudioTagList& list, bool copy)
{
    if (TlocalJukebox* jukebox = Jukebox())
        jukebox->Queue().AppendFrom(list, copy || jukebox->Queue().OwnsObjects());
}

void TlocalJukeboxList::QueueMoveUp(int index)
{
    if (TlocalJukebox* jukebox = Jukebox(); jukebox && index > 0 && index < jukebox->Queue().Count())
        jukebox->Queue().MoveUp(index);
}

void TlocalJukeboxList::QueueMoveDown(int index)
{
    if (TlocalJukebox* jukebox = Jukebox(); jukebox && index >= 0 && index < jukebox->Queue().Count() - 1)
        jukebox->Queue().MoveDown(index);
}

void TlocalJukeboxList::QueueDelete(int index)
{
    if (TlocalJukebox* jukebox = Jukebox(); jukebox && index >= 0 && index < jukebox->Queue().Count())
        jukebox->Queue().Delete(index);
}

void TlocalJukeboxList::QueueClear()
{
    if (TlocalJukebox* jukebox = Jukebox())
        jukebox->Queue().Clear();
}
