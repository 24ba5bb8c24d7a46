// The library browser window's queue and stacker lists as they change, and its queue commands and
// Activate Playlist.
#include "app/windows/frmjukeboxapp.h"

#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
#include "markup/taggedtext.h"
#include "platform/scopeguard.h"

#include <algorithm>

// ---- Queue

void TfrmJukeboxApp::QueueChanged()
{
    TfrmJukebox::QueueChanged();
    RefreshQueue();
}

void TfrmJukeboxApp::RefreshQueue()
{
    if (Closing() || !SettingsLoaded())
        return;
    tfQueueList.SongStrings(lbQueueList->Items(), GetJukebox().Queue(), GetShowTrackNumbers(),
                            tdfArtistTitleDuration);
}

void TfrmJukeboxApp::StackerChanged()
{
    TfrmJukebox::StackerChanged();
    RefreshStackerPanel();
}

void TfrmJukeboxApp::RefreshStackerPanel()
{
    if (Closing())
        return;
    ThtmlListItems& items = lbStacker->Items();
    const platform::TUpdateGuard update(items);
    items.Clear();
    TStringList<TaudioTagList> names;
    GetJukebox().Stacker().GetNames(names);
    for (const auto& name : names)
        items.AddObject(EscapeMarkup(name.text), name.object);
}

std::vector<int> TfrmJukeboxApp::SelectedRows(const ThtmlListBox& box) const
{
    std::vector<int> rows;
    for (int i = 0; i < box.Count(); ++i)
        if (box.Selected(i))
            rows.push_back(i);
    return rows;
}

void TfrmJukeboxApp::QueueRows(const std::vector<int>& rows)
{
    TStringList<TaudioTag> songs;
    const ThtmlListItems& items = lbTrackList->Items();
    for (int row : rows)
        if (row >= 0 && row < items.Count())
            songs.AddObject(items[row], static_cast<TaudioTag*>(items.Objects(row)));
    for (int row : rows)
        lbTrackList->SetSelected(row, false);
    if (songs.Count() > 0)
        GetLocalJukeboxList().QueueTags(songs, true, true);
}

void TfrmJukeboxApp::QueueAddSelected()
{
    QueueRows(SelectedRows(*lbTrackList));
}

void TfrmJukeboxApp::QueueAddAll()
{
    std::vector<int> rows(static_cast<std::size_t>(lbTrackList->Count()));
    for (std::size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int>(i);
    QueueRows(rows);
}

void TfrmJukeboxApp::QueueSelectedAlbum()
{
    if (TaudioTagList* album = SelectedAlbum())
        GetLocalJukeboxList().QueueList(*album, true);
}

void TfrmJukeboxApp::SelectQueueLine(int index)
{
    lbQueueList->clearSelection();
    if (index < 0 || index >= lbQueueList->Count())
        return;
    lbQueueList->SetItemIndex(index);
    lbQueueList->SetSelected(index, true);
}

void TfrmJukeboxApp::QueueMoveUp(bool force)
{
    const int index = lbQueueList->ItemIndex();
    if (!Forced(force, actnQueueMoveUp) || index <= 0 || !lbQueueList->Selected(index))
        return;
    MoveQueueItemUp(index, true);
    SelectQueueLine(index - 1);
}

void TfrmJukeboxApp::QueueMoveDown(bool force)
{
    const int index = lbQueueList->ItemIndex();
    if (!Forced(force, actnQueueMoveDown) || index < 0 || index >= GetJukebox().Queue().Count() - 1 ||
        !lbQueueList->Selected(index))
        return;
    MoveQueueItemDown(index, true);
    SelectQueueLine(index + 1);
}

void TfrmJukeboxApp::QueueDeleteSelected(bool force)
{
    TaudioTagList& queue = GetJukebox().Queue();
    if (!Forced(force, actnQueueDelete) || queue.Count() == 0)
        return;
    const int current = lbQueueList->ItemIndex();
    const std::vector<int> rows = SelectedRows(*lbQueueList);
    {
        // From the highest row down, so each row still names the song that was selected.
        const platform::TUpdateGuard update(queue);
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            if (*row < queue.Count())
                DeleteQueueItem(*row, true);
    }
    const int index = std::min(current, lbQueueList->Count() - 1);
    if (index >= 0)
        SelectQueueLine(index);
}

void TfrmJukeboxApp::ActivateSelectedPlaylist()
{
    const TtreeNode node = SelectedNode();
    TaudioTagList* list = model_->Data(node);
    if (!list || !IsPlaylistNode(node))
        return;
    GetJukebox().SetActivePreloadedList(list);
    tvJukeboxList->viewport()->update();
}
