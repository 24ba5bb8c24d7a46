#include "core/groupings/audiotagplaylistlist.h"

void TaudioTagPlaylistList::Select(TaudioTagList* list)
{
    if (list && Contains(list)) {
        list->SetActive(true);
        current_ = list;
        SetActive(true);
    } else {
        current_ = nullptr;
        SetActive(false);
    }
}

void TaudioTagPlaylistList::Delete(int i)
{
    if (current_ && GetItem(i) == current_)
        current_ = nullptr;
    TaudioTagListList::Delete(i);
}

void TaudioTagPlaylistList::Remove(TaudioTagList* list)
{
    if (list && list == current_)
        current_ = nullptr;
    TaudioTagListList::Remove(list);
}

void TaudioTagPlaylistList::Clear()
{
    current_ = nullptr;
    TaudioTagListList::Clear();
}
