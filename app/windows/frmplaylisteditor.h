#pragma once

// The viewer links the library inline, so it needs the full class.
#include "core/groupings/taglistrules.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/songs/audiotag.h"
#include "core/tree/customjukeboxlistviewer.h"
#include "core/util/componentlink.h"

#include <QDialog>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QMenu;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QToolButton;
class QWidget;
class TIniFile;
class TdragPayload;
class ThtmlListBox;
class TnoScrollTreeView;
class TplaylistEditorHost;
class TtagFonts;
class TtreeSinkModel;

// "Playlist Editor": builds and edits one song list at a time (the edited list), a saved playlist of the
// library or a list of the playing jukebox's stacker. The library's tree and the songs of its chosen node
// sit on the left, the edited list and the list pages on the right; songs travel from the tree and the
// song list into the edited list by the buttons, the menus or drag and drop.
//
// The tree and the song lines link into the groupings of the library without CDs. Before that library
// rebuilds (its OnGlobalListChanging), the main window calls LibraryChanging, which drops those links and
// voids every drag begun from them; after the rebuild it calls RebuildTree.
class TfrmPlaylistEditor : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kWidth = 640;
    static constexpr int kHeight = 480;
    // Pages of pcPlaylists.
    static constexpr int kCollectionPage = 0;
    static constexpr int kStackerPage = 1;

    // library: the main library, whose saved playlists, stacker and internal playlist are edited.
    explicit TfrmPlaylistEditor(TcustomlocalJukeboxList& library, QWidget* parent = nullptr);
    ~TfrmPlaylistEditor() override;

    // Links the main window (null unlinks it) and binds the tree to its library without CDs.
    void SetJukebox(TplaylistEditorHost* host);
    TplaylistEditorHost* Jukebox() const { return host_; }
    // The main library; null once it is gone.
    TcustomlocalJukeboxList* JukeboxList() const { return library_.Get(); }

    void LoadSettings(const TIniFile& ini, const std::string& section);
    void SaveSettings(TIniFile& ini, const std::string& section) const;

    // Change hooks; each does nothing without a linked main window.
    void PlaylistsChanged();
    void StackerChanged();
    void PlaylistListChanged(TaudioTagList* list);
    void StackerListChanged(TaudioTagList* list);
    void PlaylistChanged() {}
    // The playing jukebox's active saved playlist changed: the "Active Playlist :" box shows it ("[none]"
    // for none or one that is not a saved playlist), without choosing it again.
    void SelectActivePlaylist(TaudioTagList* list);
    // The library without CDs is about to rebuild: the tree's node links, the song lines and any drag from
    // them are dropped.
    void LibraryChanging();
    // Refills the tree from the library without CDs, with the progress window.
    void RebuildTree();

    // The edited list; null when none is set or it is no longer a saved playlist or stacker list.
    TaudioTagList* EditedList() const;
    void SetEditedList(TaudioTagList* list);
    void UpdateStatus();
    void LoadM3U(const std::string& fileName, bool append);
    void ChooseM3U(bool append);

    // Shows the songs of a tree node in lbSongs (empty for a node without a list).
    void ShowNode(TtreeNode node);
    // The page change: the edited list follows the page's selected list.
    void PageChanged();
    // Party play's stacker lock reaches the editor's own stacker edits too.
    void ApplyStackerLock();
    // A click in lbPlaylists or lbStacker.
    void PlaylistsClicked();
    void StackerClicked();
    void ActivePlaylistChosen(int index);

    // Track commands.
    void MoveUp();
    void MoveDown();
    void DeleteTracks();
    void ClearTracks();
    void AddSelectedTracks();
    void AddAllTracks();
    void SortBy(TaudioTagSortType sortType);
    void Randomize();
    void ApplyFilters();
    void SaveToM3U();
    // List commands.
    void CopyToCurrentPlaylist();
    void CopyFromCurrentPlaylist();
    void AddToStacker();
    void AddToPlaylists();
    void NewPlaylist();
    void NewFromM3U();
    void RenameList();
    void DeleteList();
    void EmptyStacker();
    void ClearInternalPlaylist();

    // Drag and drop into lbPlaylist, as its events run them.
    bool PlaylistAccepts(const TdragPayload& source) const;
    void PlaylistDrop(const TdragPayload& source, int x, int y);

    TtagListRules& Rules() { return rules_; }
    const TcustomJukeboxListViewer& Viewer() const { return viewer_; }
    TtreeSinkModel& Model() const { return *model_; }
    TnoScrollTreeView* Tree() const { return tvJukebox; }
    ThtmlListBox* SongsBox() const { return lbSongs; }
    ThtmlListBox* PlaylistBox() const { return lbPlaylist; }
    ThtmlListBox* PlaylistsBox() const { return lbPlaylists; }
    ThtmlListBox* StackerBox() const { return lbStacker; }
    QComboBox* ActiveCombo() const { return cboPlaylists; }
    QTabWidget* Pages() const { return pcPlaylists; }
    QCheckBox* RandomBox() const { return cbRandom; }
    QCheckBox* LoopBox() const { return cbLoop; }
    QCheckBox* ResetBox() const { return cbReset; }
    QToolButton* SortButton() const { return tbtnSort; }
    QToolButton* AddPlaylistToButton() const { return tbtnAddPlaylistTo; }
    QLabel* Panel(int index) const;
    // An action by its object name ("actnMoveUp"); null for none.
    QAction* Action(const std::string& name) const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* MakeAction(const char* name, const char* caption, const char* hint,
                        void (TfrmPlaylistEditor::*run)());
    void BuildActions();
    void BuildMenus();
    QWidget* BuildLeft();
    QWidget* BuildRight();
    QWidget* BuildCollectionPage();
    QWidget* BuildStackerPage();
    void BindDragAndDrop();
    // Runs work inside the exception boundary, when the main window is linked.
    template <typename F>
    void WithHost(F&& work);
    TcustomJukeboxList* TreeLibrary() const;
    TlocalJukebox* PlayingJukebox() const;
    TaudioTagPlaylistList* SavedPlaylists() const;
    TaudioTagPlaylistList* StackerLists() const;
    bool IsSaved(const TaudioTagList* list) const;
    bool IsStacked(const TaudioTagList* list) const;
    // The suffix of the status bar's list panel.
    std::string ListSuffix() const;
    void FillPlaylistLines(const TaudioTagList* list);
    void SetPlayModeBoxes(const TaudioTagList* list);
    void SetStatusPanels(const std::string& title, int count, std::int64_t seconds, int artists);
    void SelectSong(const TaudioTag* song);
    // Appends clones of songs to the edited list, in one change.
    void AddClones(const std::vector<TaudioTag*>& songs);
    void AddSongLines(const std::vector<int>& rows);
    std::optional<std::string> AskName(const std::string& caption, const std::string& prompt,
                                       const std::string& value);
    // Tells of a blank name; true when it is blank.
    static bool NameIsBlank(const std::string& name);
    // Asks for the name of a new saved playlist, adds it and makes it the edited list; null when cancelled.
    TaudioTagList* AddNamedPlaylist(const std::string& title);
    std::unique_ptr<TaudioTagList> CloneEdited() const;
    std::string ChooseM3UFile() const;
    void MoveTrack(bool up);
    void SortByArtist();
    void SortByTitle();
    void SortByDuration();
    void LoadFromM3UFile();
    void AddFromM3UFile();
    void CloseEditor();
    void SetSortAction(QAction* action);
    static void FillListBox(ThtmlListBox& box, const TaudioTagPlaylistList& lists, bool sorted);
    static TaudioTagList* SelectedList(const ThtmlListBox& box);
    static void SelectList(ThtmlListBox& box, const TaudioTagList* list);

    TcomponentLink<TcustomlocalJukeboxList> library_;
    std::unique_ptr<TtagFonts> fonts_;
    TplaylistEditorHost* host_ = nullptr; // link
    TaudioTagList* editedList_ = nullptr; // link, checked against the lists before each use
    TtagListRules rules_;
    TcustomJukeboxListViewer viewer_;
    // Where a drag inside lbPlaylist began; the song is compared, never read.
    int dragIndex_ = -1;
    const TaudioTag* draggedSong_ = nullptr; // link
    bool settingBoxes_ = false;
    // The panel sizes as loaded or as the user last dragged them: a window never shown has splitters of no
    // real size, which must not go into the settings.
    int rightPanelWidth_ = kWidth / 2;
    int trackListHeight_ = kHeight * 2 / 5;
    int selectionHeight_ = kHeight * 2 / 5;
    std::map<std::string, QAction*> actions_;

    TtreeSinkModel* model_;
    QSplitter* splitter_;
    QSplitter* leftSplitter_;
    QSplitter* rightSplitter_;
    TnoScrollTreeView* tvJukebox;
    ThtmlListBox* lbSongs;
    QToolButton* btnAddSelected;
    QToolButton* btnAddAll;
    QTabWidget* pcPlaylists;
    ThtmlListBox* lbPlaylists;
    ThtmlListBox* lbStacker;
    QComboBox* cboPlaylists;
    QCheckBox* cbRandom;
    QCheckBox* cbLoop;
    QCheckBox* cbReset;
    ThtmlListBox* lbPlaylist;
    QToolButton* tbtnSort;
    QToolButton* tbtnAddPlaylistTo;
    QMenu* collectionMenu_;
    QMenu* stackerMenu_;
    QStatusBar* sbPlaylistEditor;
    QLabel* panels_[4];
};
