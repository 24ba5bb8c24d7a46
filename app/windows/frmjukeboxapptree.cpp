// The library browser window's tree and track list: the tree's images and rebuilds, its selection and the
// songs of the selected node, and the library's notices of change.
#include "app/windows/frmjukeboxapp.h"

#include "app/dialogs/frmprogress.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/localjukebox.h"
#include "core/songs/audiotaglist.h"
#include "platform/scopeguard.h"

#include <QAction>

// ---- The tree

int TfrmJukeboxApp::SetNodeImage(TtreeNode node, bool expanded, bool selected) const
{
    const TtreeNodeKind kind = model_->Kind(node);
    if (model_->Data(node) && kind == tnkAlbum)
        return expanded || selected ? kOpenAlbumImage : kClosedAlbumImage;
    if (!model_->Data(node) && model_->ChildCount(node) == 0)
        return kEmptyLeafImage;
    if (model_->Data(node) && IsPlaylistNode(node)) {
        const TlocalJukebox& jukebox = GetJukebox();
        return jukebox.ActivePreloadedList() == model_->Data(node) ? kActivePlaylistImage : kPlaylistImage;
    }
    return expanded ? kOpenFolderImage : kClosedFolderImage;
}

bool TfrmJukeboxApp::IsPlaylistNode(TtreeNode node) const
{
    const TtreeNode playlists = viewer_.GetPlaylistsNode();
    return !playlists.IsNull() && model_->IsNode(node) && model_->Parent(node) == playlists;
}

void TfrmJukeboxApp::RebuildTree()
{
    if (!SettingsLoaded() || tvJukeboxList->isHidden())
        return;
    model_->ClearData();
    tvJukeboxList->clearSelection();
    {
        const platform::TUpdateGuard update(*model_);
        model_->Clear();
    }
    lbTrackList->Items().Clear();
    FillTreeWithProgress(viewer_, *model_, ProgressWindow());
}

TtreeNode TfrmJukeboxApp::SelectedNode() const
{
    const QModelIndexList selected = tvJukeboxList->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? TtreeNode{} : model_->NodeOf(selected.front());
}

void TfrmJukeboxApp::SelectNode(TtreeNode node)
{
    const QModelIndex index = model_->IndexOf(node);
    if (!index.isValid()) {
        tvJukeboxList->clearSelection();
        return;
    }
    tvJukeboxList->setCurrentIndex(index);
    tvJukeboxList->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    tvJukeboxList->scrollTo(index);
}

void TfrmJukeboxApp::TreeSelectionChanged()
{
    if (Closing())
        return;
    const TtreeNode node = SelectedNode();
    // The tree opens the node chosen.
    if (model_->IsNode(node))
        tvJukeboxList->expand(model_->IndexOf(node));
    const bool holds = model_->Data(node) != nullptr;
    Commands().SetAvailable(actnQueueQueueSelectedAlbum, holds && model_->Kind(node) == tnkAlbum);
    const bool playlist = holds && IsPlaylistNode(node);
    Commands().SetAvailable(actnPlaylistActivateSelected, playlist);
    actnPlaylistActivateSelected->setVisible(
        playlist && !(IsPartyPlay() && PartyPlayOption(TpartyPlayOption::PlaylistEditor)));
    FillTrackList(node);
}

void TfrmJukeboxApp::FillTrackList(TtreeNode node)
{
    TaudioTagList* list = model_->Data(node);
    if (!list) {
        lbTrackList->Items().Clear();
        return;
    }
    const TtreeNodeKind kind = model_->Kind(node);
    const bool hasParent = !model_->Parent(node).IsNull();
    TtagDisplayFormat format = tdfTitleArtistDuration;
    if (kind == tnkAlbum) {
        const bool compilation = list->ArtistCount() > 1;
        const bool numbers = GetShowTrackNumbers();
        if (numbers)
            format = compilation ? tdfTrackArtistTitleDuration : tdfTrackTitleDuration;
        else
            format = compilation ? tdfArtistTitleDuration : tdfTitleDuration;
        // A sorted list sorts by its own sort type, so the type goes first.
        list->SetSortType(numbers ? tstTrack : compilation ? tstArtist : tstTitle);
        list->SetSorted(true);
    } else if (kind == tnkArtist) {
        if (hasParent && !Has(GetDisplayMode(), dmArtists)) {
            lbTrackList->Items().Clear();
            return;
        }
        list->SortBy(tstTitle);
        format = hasParent ? tdfTitleDuration : tdfTitleArtistDuration;
    }
    tfTrackList.SongStrings(lbTrackList->Items(), *list, false, format);
}

void TfrmJukeboxApp::JumpToAlpha(char ch)
{
    SelectNode(viewer_.GetAlphaNode(ch));
}

TaudioTagList* TfrmJukeboxApp::SelectedAlbum() const
{
    const TtreeNode node = SelectedNode();
    return model_->Kind(node) == tnkAlbum ? model_->Data(node) : nullptr;
}

void TfrmJukeboxApp::LibraryChanging()
{
    TfrmJukebox::LibraryChanging();
    model_->ClearData();
    tvJukeboxList->clearSelection();
    lbTrackList->Items().Clear();
}

void TfrmJukeboxApp::JukeboxListEventsGlobalListChange(TcustomJukeboxList* sender)
{
    TfrmJukebox::JukeboxListEventsGlobalListChange(sender);
    if (!Closing())
        RebuildTree();
}

void TfrmJukeboxApp::PlaylistsChanged()
{
    TfrmJukebox::PlaylistsChanged();
    if (Closing() || !SettingsLoaded())
        return;
    tvJukeboxList->clearSelection();
    viewer_.RebuildPlaylists(*model_);
}

void TfrmJukeboxApp::PlaylistListChanged(TaudioTagList* list)
{
    TfrmJukebox::PlaylistListChanged(list);
    if (Closing() || !SettingsLoaded())
        return;
    tvJukeboxList->clearSelection();
    viewer_.RebuildPlaylists(*model_);
}
