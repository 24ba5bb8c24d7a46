// The playlist editor's commands: loading and saving M3U files, the track commands that edit the edited list,
// and the list commands on the saved playlists, the stacker and the internal playlist.
#include "app/windows/frmplaylisteditor.h"

#include "app/dialogs/frmprogress.h"
#include "app/dialogs/frmtaglistrules.h"
#include "app/qt/services/dialogservice.h"
#include "app/windows/playlisteditorhost.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/util/orvanexutils.h"
#include "core/util/promptservice.h"
#include "platform/scopeguard.h"

#include <QAction>
#include <QToolButton>

#include <algorithm>
#include <filesystem>
#include <map>

namespace {

constexpr const char* kM3UFilter = "M3U Playlist (*.m3u)|*.m3u";

std::string FolderOf(const std::string& fileName)
{
    return std::filesystem::path(fileName).parent_path().string();
}

std::vector<int> SelectedRows(const ThtmlListBox& box)
{
    std::vector<int> rows;
    for (int i = 0; i < box.Count(); ++i)
        if (box.Selected(i))
            rows.push_back(i);
    return rows;
}

} // namespace

// M3U files.

void TfrmPlaylistEditor::LoadM3U(const std::string& fileName, bool append)
{
    TaudioTagList* list = EditedList();
    if (!list)
        return;
    TfrmProgress* progress = host_ ? host_->ProgressWindow() : nullptr;
    const auto start = list->OnListProcessStart;
    const auto step = list->OnListProcess;
    const auto finished = list->OnListProcessFinished;
    const platform::TScopeExit restore([&] {
        list->OnListProcessStart = start;
        list->OnListProcess = step;
        list->OnListProcessFinished = finished;
    });
    if (progress) {
        list->OnListProcessStart = [progress](TaudioTagList*, const std::string& text) {
            progress->SetCaption(text);
            progress->ShowProgress();
        };
        list->OnListProcess = [progress](TaudioTagList*, std::uint32_t index, std::uint32_t count,
                                         TaudioTag*) {
            progress->SetProgress(static_cast<int>(index), static_cast<int>(count));
        };
        list->OnListProcessFinished = [progress](TaudioTagList*) { progress->CloseProgress(); };
    }
    const TfileListReport report = list->LoadFileList(fileName, append);
    if (host_)
        host_->SetPlaylistsFolder(FolderOf(fileName));
    UpdateStatus();
    if (const std::string text = report.Describe(fileName); !text.empty())
        ShowMessageBox(text, ApplicationTitle(), TmessageButtons::Ok,
                       report.read ? TmessageIcon::Information : TmessageIcon::Warning);
}

std::string TfrmPlaylistEditor::ChooseM3UFile() const
{
    TfileDialogOptions options;
    options.Filter = kM3UFilter;
    options.DefaultExt = "m3u";
    options.InitialDir = host_ ? host_->PlaylistsFolder() : std::string();
    const std::vector<std::string> files =
        TdialogService::Current().OpenFile(const_cast<TfrmPlaylistEditor*>(this), options);
    return files.empty() ? std::string() : files.front();
}

void TfrmPlaylistEditor::ChooseM3U(bool append)
{
    if (!EditedList())
        return;
    const std::string file = ChooseM3UFile();
    if (!file.empty())
        LoadM3U(file, append);
}

// Track commands.

void TfrmPlaylistEditor::SelectSong(const TaudioTag* song)
{
    const TaudioTagList* list = EditedList();
    const int row = list ? list->IndexOf(song) : -1;
    lbPlaylist->clearSelection();
    if (row < 0 || row >= lbPlaylist->Count())
        return;
    lbPlaylist->SetItemIndex(row);
    lbPlaylist->SetSelected(row, true);
    lbPlaylist->scrollTo(lbPlaylist->model()->index(row, 0));
}

void TfrmPlaylistEditor::MoveTrack(bool up)
{
    TaudioTagList* list = EditedList();
    const int index = lbPlaylist->ItemIndex();
    if (!list || index < 0 || index >= list->Count())
        return;
    const TaudioTag* song = list->GetItem(index);
    if (up)
        list->MoveUp(index);
    else
        list->MoveDown(index);
    UpdateStatus();
    SelectSong(song);
}

void TfrmPlaylistEditor::MoveUp()
{
    MoveTrack(true);
}

void TfrmPlaylistEditor::MoveDown()
{
    MoveTrack(false);
}

void TfrmPlaylistEditor::DeleteTracks()
{
    TaudioTagList* list = EditedList();
    if (!list || list->Count() == 0)
        return;
    const int remembered = lbPlaylist->ItemIndex();
    const std::vector<int> rows = SelectedRows(*lbPlaylist);
    {
        platform::TUpdateGuard guard(*list);
        for (auto row = rows.rbegin(); row != rows.rend(); ++row)
            if (*row < list->Count())
                list->Delete(*row);
    }
    UpdateStatus();
    if (list->Count() > 0)
        SelectSong(list->GetItem(std::clamp(remembered, 0, list->Count() - 1)));
}

void TfrmPlaylistEditor::ClearTracks()
{
    if (TaudioTagList* list = EditedList()) {
        list->Clear();
        UpdateStatus();
    }
}

void TfrmPlaylistEditor::AddClones(const std::vector<TaudioTag*>& songs)
{
    TaudioTagList* list = EditedList();
    if (!list || songs.empty())
        return;
    {
        platform::TUpdateGuard guard(*list);
        for (const TaudioTag* song : songs)
            list->AddCopy(song);
    }
    UpdateStatus();
}

void TfrmPlaylistEditor::AddSongLines(const std::vector<int>& rows)
{
    std::vector<TaudioTag*> songs;
    for (int row : rows)
        if (row >= 0 && row < lbSongs->Count())
            if (auto* song = static_cast<TaudioTag*>(lbSongs->Items().Objects(row)))
                songs.push_back(song);
    if (!EditedList())
        return;
    AddClones(songs);
    for (int row : rows)
        if (row >= 0 && row < lbSongs->Count())
            lbSongs->SetSelected(row, false);
}

void TfrmPlaylistEditor::AddSelectedTracks()
{
    AddSongLines(SelectedRows(*lbSongs));
}

void TfrmPlaylistEditor::AddAllTracks()
{
    std::vector<int> rows(static_cast<std::size_t>(lbSongs->Count()));
    for (int i = 0; i < lbSongs->Count(); ++i)
        rows[static_cast<std::size_t>(i)] = i;
    AddSongLines(rows);
}

void TfrmPlaylistEditor::SetSortAction(QAction* action)
{
    tbtnSort->setDefaultAction(action);
}

void TfrmPlaylistEditor::SortBy(TaudioTagSortType sortType)
{
    static const std::map<TaudioTagSortType, const char*> kActions = {
        {tstArtist, "actnSortByArtist"}, {tstTitle, "actnSortByTitle"}, {tstDuration, "actnSortByDuration"}};
    if (const auto found = kActions.find(sortType); found != kActions.end())
        SetSortAction(Action(found->second));
    if (TaudioTagList* list = EditedList()) {
        list->SortBy(sortType);
        UpdateStatus();
    }
}

void TfrmPlaylistEditor::SortByArtist()
{
    SortBy(tstArtist);
}

void TfrmPlaylistEditor::SortByTitle()
{
    SortBy(tstTitle);
}

void TfrmPlaylistEditor::SortByDuration()
{
    SortBy(tstDuration);
}

void TfrmPlaylistEditor::Randomize()
{
    SetSortAction(Action("actnRandomize"));
    if (TaudioTagList* list = EditedList()) {
        list->Shuffle();
        UpdateStatus();
    }
}

void TfrmPlaylistEditor::ApplyFilters()
{
    TaudioTagList* list = EditedList();
    TcustomJukeboxList* library = TreeLibrary();
    if (!list || !library)
        return;
    // Only OK stores the edited rules; a cancelled editor leaves the hand-built list alone.
    if (!EditTagListRules(rules_, library, this) || !rules_.HasRules())
        return;
    rules_.Apply(library->GlobalList(), *list, true);
    UpdateStatus();
}

void TfrmPlaylistEditor::LoadFromM3UFile()
{
    ChooseM3U(false);
}

void TfrmPlaylistEditor::AddFromM3UFile()
{
    ChooseM3U(true);
}

void TfrmPlaylistEditor::SaveToM3U()
{
    TaudioTagList* list = EditedList();
    if (!list || list->Count() == 0 || !host_)
        return;
    TfileDialogOptions options;
    options.Filter = kM3UFilter;
    options.DefaultExt = "m3u";
    options.InitialDir = host_->PlaylistsFolder();
    const std::optional<std::string> file = TdialogService::Current().SaveFile(this, options);
    if (!file)
        return;
    list->ExportM3U(*file, false, false, false);
    host_->SetPlaylistsFolder(FolderOf(*file));
}

void TfrmPlaylistEditor::CloseEditor()
{
    close();
}

// List commands.

void TfrmPlaylistEditor::CopyToCurrentPlaylist()
{
    TaudioTagList* list = EditedList();
    TlocalJukebox* jukebox = PlayingJukebox();
    if (!list || !jukebox || !host_)
        return;
    TaudioTagList& internal = jukebox->Playlist();
    internal.CopyFrom(*list, true, false);
    internal.SetActive(true);
    internal.SetPlayMode(list->PlayMode());
}

void TfrmPlaylistEditor::CopyFromCurrentPlaylist()
{
    TaudioTagList* list = EditedList();
    TlocalJukebox* jukebox = PlayingJukebox();
    if (!list || !jukebox || !host_)
        return;
    list->AppendFrom(jukebox->Playlist(), true);
    UpdateStatus();
}

std::unique_ptr<TaudioTagList> TfrmPlaylistEditor::CloneEdited() const
{
    auto copy = std::make_unique<TaudioTagList>();
    copy->CopyFrom(*EditedList(), true, false);
    return copy;
}

void TfrmPlaylistEditor::AddToStacker()
{
    TaudioTagList* list = EditedList();
    TaudioTagPlaylistList* stacker = StackerLists();
    if (!list || !stacker || !host_ || IsStacked(list))
        return;
    std::unique_ptr<TaudioTagList> copy = CloneEdited();
    copy->SetTitle(list->Title());
    copy->SetActive(true);
    stacker->Add(copy.release());
    StackerChanged();
}

std::optional<std::string> TfrmPlaylistEditor::AskName(const std::string& caption, const std::string& prompt,
                                                       const std::string& value)
{
    return TdialogService::Current().InputQuery(this, caption, prompt, value);
}

void TfrmPlaylistEditor::AddToPlaylists()
{
    TaudioTagList* list = EditedList();
    TaudioTagPlaylistList* playlists = SavedPlaylists();
    if (!list || !playlists || !host_ || IsSaved(list))
        return;
    const std::optional<std::string> name =
        AskName("Playlist Name", "Enter a name for the playlist.", "New Playlist");
    if (!name)
        return;
    std::unique_ptr<TaudioTagList> copy = CloneEdited();
    copy->SetTitle(name->empty() ? "New playlist" : *name);
    copy->SetActive(false);
    playlists->Add(copy.release());
    PlaylistsChanged();
}

bool TfrmPlaylistEditor::NameIsBlank(const std::string& name)
{
    if (!name.empty())
        return false;
    ShowMessageBox("The playlist name cannot be blank.", "Bad Playlist Name", TmessageButtons::Ok,
                   TmessageIcon::Error);
    return true;
}

TaudioTagList* TfrmPlaylistEditor::AddNamedPlaylist(const std::string& title)
{
    TaudioTagPlaylistList* playlists = SavedPlaylists();
    if (!playlists || !host_)
        return nullptr;
    // Cancel in the name prompt adds nothing; a blank name keeps the proposed one.
    const std::optional<std::string> name = AskName("Rename Playlist", "Enter a Name : ", title);
    if (!name)
        return nullptr;
    auto list = std::make_unique<TaudioTagList>();
    list->SetTitle(NameIsBlank(*name) ? title : *name);
    TaudioTagList* added = list.get();
    playlists->Add(list.release());
    PlaylistsChanged();
    SelectList(*lbPlaylists, added);
    SetEditedList(added);
    return added;
}

void TfrmPlaylistEditor::NewPlaylist()
{
    AddNamedPlaylist("New Playlist");
}

void TfrmPlaylistEditor::NewFromM3U()
{
    if (!host_)
        return;
    const std::string file = ChooseM3UFile();
    if (file.empty())
        return;
    if (TaudioTagList* list = AddNamedPlaylist(ExtractFileNameOnly(file))) {
        LoadM3U(file, false);
        SetEditedList(list);
    }
}

void TfrmPlaylistEditor::RenameList()
{
    TaudioTagList* list = EditedList();
    if (!list || !host_)
        return;
    const std::optional<std::string> name = AskName("Rename Playlist", "Enter a Name : ", list->Title());
    if (!name || NameIsBlank(*name))
        return;
    if (IsSaved(list)) {
        SavedPlaylists()->Rename(list, *name);
        FillListBox(*lbPlaylists, *SavedPlaylists(), true);
        SelectList(*lbPlaylists, list);
    } else {
        StackerLists()->Rename(list, *name);
        FillListBox(*lbStacker, *StackerLists(), false);
        SelectList(*lbStacker, list);
    }
    SetEditedList(list);
}

void TfrmPlaylistEditor::DeleteList()
{
    TaudioTagList* list = EditedList();
    if (!list || !host_)
        return;
    if (ShowMessageBox("Are you sure you want to delete " + list->Title() + "?", "Confirm Playlist Delete",
                       TmessageButtons::OkCancel, TmessageIcon::Warning) != TmessageResult::Ok)
        return;
    SetEditedList(nullptr);
    const bool saved = IsSaved(list);
    if (saved)
        SavedPlaylists()->Remove(list);
    else
        StackerLists()->Remove(list);
    if (saved)
        PlaylistsChanged();
    else
        StackerChanged();
}

void TfrmPlaylistEditor::EmptyStacker()
{
    if (TaudioTagPlaylistList* stacker = StackerLists(); stacker && host_) {
        stacker->Clear();
        StackerChanged();
    }
}

void TfrmPlaylistEditor::ClearInternalPlaylist()
{
    if (TlocalJukebox* jukebox = PlayingJukebox(); jukebox && host_)
        jukebox->Playlist().Clear();
}
