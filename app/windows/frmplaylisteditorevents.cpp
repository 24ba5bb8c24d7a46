// The playlist editor's events: the change hooks the main window calls on the library's events, the tree and
// the list pages, showing, keys, and drops into the edited list.
#include "app/windows/frmplaylisteditor.h"

#include "app/dialogs/frmprogress.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/windows/frmplaylisteditorinternal.h"
#include "app/windows/playlisteditorhost.h"
#include "controls/dragpayload.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/localjukebox.h"
#include "markup/taggedtext.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QTabWidget>

#include <algorithm>

using playlisteditor::SetLines;

template <typename F>
void TfrmPlaylistEditor::WithHost(F&& work)
{
    if (host_)
        Guarded(std::forward<F>(work));
}

// Change hooks.

void TfrmPlaylistEditor::FillListBox(ThtmlListBox& box, const TaudioTagPlaylistList& lists, bool sorted)
{
    TStringList<TaudioTagList> names;
    lists.GetNames(names);
    if (sorted)
        names.Sort();
    ThtmlListItems& items = box.Items();
    platform::TUpdateGuard guard(items);
    items.Clear();
    for (const auto& name : names)
        items.AddObject(EscapeMarkup(name.text), name.object);
}

TaudioTagList* TfrmPlaylistEditor::SelectedList(const ThtmlListBox& box)
{
    const int index = box.ItemIndex();
    if (index < 0 || index >= box.Count() || !box.Selected(index))
        return nullptr;
    return static_cast<TaudioTagList*>(box.Items().Objects(index));
}

void TfrmPlaylistEditor::SelectList(ThtmlListBox& box, const TaudioTagList* list)
{
    const int index = box.Items().IndexOfObject(list);
    box.clearSelection();
    if (index >= 0) {
        box.SetItemIndex(index);
        box.SetSelected(index, true);
    }
}

void TfrmPlaylistEditor::PlaylistsChanged()
{
    const TaudioTagPlaylistList* lists = SavedPlaylists();
    if (!host_ || !lists)
        return;
    FillListBox(*lbPlaylists, *lists, true);
    {
        const QSignalBlocker blocker(cboPlaylists);
        cboPlaylists->clear();
        cboPlaylists->addItem("[none]", QVariant::fromValue<quintptr>(0));
        for (int i = 0; i < lbPlaylists->Count(); ++i)
            cboPlaylists->addItem(
                platform::ToQString(UnescapeMarkup(lbPlaylists->Items()[i])),
                QVariant::fromValue(reinterpret_cast<quintptr>(lbPlaylists->Items().Objects(i))));
    }
    const TlocalJukebox* jukebox = PlayingJukebox();
    SelectActivePlaylist(jukebox ? jukebox->ActivePreloadedList() : nullptr);
    SetEditedList(nullptr);
}

void TfrmPlaylistEditor::StackerChanged()
{
    const TaudioTagPlaylistList* lists = StackerLists();
    if (!host_ || !lists)
        return;
    FillListBox(*lbStacker, *lists, false);
    SetEditedList(nullptr);
}

void TfrmPlaylistEditor::PlaylistListChanged(TaudioTagList*)
{
    if (host_)
        UpdateStatus();
}

void TfrmPlaylistEditor::StackerListChanged(TaudioTagList*)
{
    if (host_)
        UpdateStatus();
}

void TfrmPlaylistEditor::SelectActivePlaylist(TaudioTagList* list)
{
    const QSignalBlocker blocker(cboPlaylists);
    const int index =
        list ? cboPlaylists->findData(QVariant::fromValue(reinterpret_cast<quintptr>(list))) : 0;
    cboPlaylists->setCurrentIndex(std::max(index, 0));
}

void TfrmPlaylistEditor::ActivePlaylistChosen(int index)
{
    TlocalJukebox* jukebox = PlayingJukebox();
    if (!host_ || !jukebox || index < 0)
        return;
    auto* list = reinterpret_cast<TaudioTagList*>(cboPlaylists->itemData(index).value<quintptr>());
    // The combo's lines may have outlived their lists: only a saved playlist is handed on.
    jukebox->SetActivePreloadedList(IsSaved(list) ? list : nullptr);
}

void TfrmPlaylistEditor::LibraryChanging()
{
    lbSongs->Items().Clear();
    model_->ClearData();
}

void TfrmPlaylistEditor::RebuildTree()
{
    TcustomJukeboxList* library = TreeLibrary();
    viewer_.SetJukeboxList(library);
    lbSongs->Items().Clear();
    if (!library) {
        model_->Clear();
        return;
    }
    FillTreeWithProgress(viewer_, *model_, host_->ProgressWindow());
}

// Tree and pages.

void TfrmPlaylistEditor::ShowNode(TtreeNode node)
{
    TaudioTagList* list = model_->Data(node);
    TStringList<TaudioTag> lines;
    if (list) {
        TtagDisplayFormat format = tdfTitleArtistDuration;
        if (model_->Kind(node) == tnkAlbum) {
            list->SortBy(tstTrack);
            format = list->ArtistCount() > 1 ? tdfTrackArtistTitleDuration : tdfTrackTitleDuration;
        } else if (model_->Kind(node) == tnkArtist) {
            list->SortBy(tstTitle);
            format = model_->Parent(node).IsNull() ? tdfTitleArtistDuration : tdfTitleDuration;
        }
        list->FormatStrings(lines, format, false);
    }
    SetLines(*lbSongs, lines);
}

void TfrmPlaylistEditor::PageChanged()
{
    const bool collection = pcPlaylists->currentIndex() == kCollectionPage;
    collectionMenu_->setEnabled(collection);
    stackerMenu_->setEnabled(!collection);
    SetEditedList(SelectedList(collection ? *lbPlaylists : *lbStacker));
}

void TfrmPlaylistEditor::PlaylistsClicked()
{
    SetEditedList(SelectedList(*lbPlaylists));
}

void TfrmPlaylistEditor::StackerClicked()
{
    SetEditedList(SelectedList(*lbStacker));
}

void TfrmPlaylistEditor::showEvent(QShowEvent* event)
{
    WithHost([this] {
        RebuildTree();
        PlaylistsChanged();
        StackerChanged();
        ApplyStackerLock();
        PageChanged();
    });
    QDialog::showEvent(event);
}

void TfrmPlaylistEditor::ApplyStackerLock()
{
    const bool locked = host_ && host_->StackerLocked();
    if (locked && pcPlaylists->currentIndex() == kStackerPage)
        pcPlaylists->setCurrentIndex(kCollectionPage);
    pcPlaylists->setTabEnabled(kStackerPage, !locked);
}

bool TfrmPlaylistEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbPlaylist && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete)
        Guarded([this] { DeleteTracks(); });
    return QDialog::eventFilter(watched, event);
}

// Drag and drop.

bool TfrmPlaylistEditor::PlaylistAccepts(const TdragPayload& source) const
{
    if (!EditedList() || !source.IsCurrent())
        return false;
    if (source.Source() == lbPlaylist)
        return !source.Rows().empty();
    if (source.Source() == lbSongs)
        return lbSongs->Count() > 0 && !source.Rows().empty();
    if (source.Source() == tvJukebox)
        return std::any_of(
            source.Nodes().begin(), source.Nodes().end(),
            [this](const TdragPayload::Node& node) { return model_->Data(node.Handle) != nullptr; });
    return false;
}

void TfrmPlaylistEditor::PlaylistDrop(const TdragPayload& source, int x, int y)
{
    // A drop that outlived what it names (a library rebuild since) is not taken.
    if (!PlaylistAccepts(source))
        return;
    TaudioTagList* list = EditedList();
    if (source.Source() == lbPlaylist) {
        const int from = dragIndex_ >= 0 ? dragIndex_ : source.Rows().front();
        int to = lbPlaylist->ItemAtPos(QPoint(x, y), true);
        if (to < 0 || to >= list->Count())
            to = list->Count() - 1;
        if (from < 0 || from >= list->Count())
            return;
        const TaudioTag* song = list->GetItem(from);
        list->Move(from, to);
        UpdateStatus();
        SelectSong(song);
    } else if (source.Source() == lbSongs) {
        AddSongLines(source.Rows());
    } else {
        std::vector<TaudioTag*> songs;
        for (const TdragPayload::Node& node : source.Nodes())
            if (const TaudioTagList* nodeList = model_->Data(node.Handle))
                songs.insert(songs.end(), nodeList->Items().begin(), nodeList->Items().end());
        AddClones(songs);
    }
}
