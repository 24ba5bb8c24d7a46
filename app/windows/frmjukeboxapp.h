#pragma once

#include "app/windows/frmjukebox.h"
#include "core/captions/tagfonts.h"
// The viewer links the library inline, so it needs the full class.
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/tree/customjukeboxlistviewer.h"

#include <QIcon>

#include <array>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QSplitter;
class QToolBar;
class QWidget;
class TaudioTag;
class TdragPayload;
class ThtmlListBox;
class TImageList;
class TnoScrollTreeView;
class TtreeSinkModel;

// The main window with the library browser: the library tree (tvJukeboxList), the songs of its selected
// node (lbTrackList) and the queue (lbQueueList), with the queue and view commands, drag and drop between
// the three and the view settings. Never shown by itself: the concrete main window inherits all of it.
//
// The tree's nodes and the track list's lines link into the library's groupings; the library's
// OnGlobalListChanging drops every such link (and voids drags begun from them) before the groupings go.
// The queue commands are commands of the main window's command table (the busy flag and party play hold
// for every route: menu, shortcut, double click, drop), and queue edits go through the base's gated
// operations.
class TfrmJukeboxApp : public TfrmJukebox
{
public:
    // Images of ilLists.
    static constexpr int kClosedFolderImage = 0;
    static constexpr int kEmptyLeafImage = 2;
    static constexpr int kOpenFolderImage = 4;
    static constexpr int kClosedAlbumImage = 5;
    static constexpr int kOpenAlbumImage = 6;
    static constexpr int kPlaylistImage = 7;
    static constexpr int kActivePlaylistImage = 8;
    static constexpr int kSongImage = 10;
    // Display mode at creation: the first six kinds, genres off.
    static constexpr TtreeViewDisplayModes kInitialDisplayMode = 63;

    explicit TfrmJukeboxApp(QWidget* parent = nullptr);
    ~TfrmJukeboxApp() override;

    void FormCreate() override;
    void FormDestroy() override;

    // New virtual operations.
    // The image of a tree node as the view shows it (the selected image is the same).
    virtual int SetNodeImage(TtreeNode node, bool expanded, bool selected) const;
    // Clears and refills the tree; nothing before the settings are loaded or while the tree is hidden.
    virtual void RebuildTree();

    // Overrides.
    void LoadSettings(const TIniFile& ini) override;
    void SaveSettings(TIniFile& ini) override;
    void StackerChanged() override;
    void QueueChanged() override;
    void PlaylistsChanged() override;
    void PlaylistListChanged(TaudioTagList* list) override;
    void ApplyPartyPlayState() override;
    void Startup() override;

    // Panels and view settings; each setter also sets its action's check mark.
    bool GetStackerVisible() const;
    void SetStackerVisible(bool on);
    bool GetToolbarVisible() const;
    void SetToolbarVisible(bool on);
    bool GetSongTitleVisible() const;
    void SetSongTitleVisible(bool on);
    bool GetShowTrackNumbers() const;
    void SetShowTrackNumbers(bool on);
    bool GetShowTrackDetails() const { return showTrackDetails_; }
    void SetShowTrackDetails(bool on);
    TtreeViewDisplayModes GetDisplayMode() const { return viewer_.DisplayMode(); }
    void SetDisplayMode(TtreeViewDisplayModes mode);
    bool GetGenreArtists() const;
    void SetGenreArtists(bool on);
    bool GetGenreAlbums() const;
    void SetGenreAlbums(bool on);

    // Commands. The queue edits are gated operations: unforced, each runs as its command.
    void QueueAddSelected();
    void QueueAddAll();
    void QueueSelectedAlbum();
    void QueueMoveUp(bool force = false);
    void QueueMoveDown(bool force = false);
    void QueueDeleteSelected(bool force = false);
    void ActivateSelectedPlaylist();
    void ToggleView(TtreeViewDisplayMode mode);
    void QuickToggleView();

    // The tree's selection changed: the commands follow it and the track list shows the node's songs.
    void TreeSelectionChanged();
    // Selects the root of a letter or digit; no such root clears the selection.
    void JumpToAlpha(char ch);
    // The library is about to rebuild its groupings: the tree's links, the track list and drags go.
    void LibraryChanging() override;

    // Drag and drop into lbQueueList, as its events run them.
    bool QueueAccepts(const TdragPayload& source) const;
    void QueueDrop(const TdragPayload& source, int x, int y);

    // The hint of a song: file, artist, title, album, length, bit rate and sample rate, CR between lines.
    static std::string TrackDetails(const TaudioTag& song);

    // The tree node shown selected; null for none.
    TtreeNode SelectedNode() const;
    void SelectNode(TtreeNode node);

    const TcustomJukeboxListViewer& Viewer() const { return viewer_; }
    TtreeSinkModel& TreeModel() const { return *model_; }
    TnoScrollTreeView* Tree() const { return tvJukeboxList; }
    ThtmlListBox* TrackList() const { return lbTrackList; }
    ThtmlListBox* QueueList() const { return lbQueueList; }
    ThtmlListBox* StackerList() const { return lbStacker; }
    QWidget* ToolbarPanel() const { return pnlToolbar; }
    QWidget* SongTitlePanel() const { return pnlSongTitle; }
    QWidget* StackerPanel() const { return pnlStacker; }
    TtagFonts& JukeboxListFonts() { return tfJukeboxList; }
    TtagFonts& TrackListFonts() { return tfTrackList; }
    TtagFonts& QueueListFonts() { return tfQueueList; }
    TtagFonts& SongTitleFonts() { return tfSongTitle; }

    QAction* actnQueueAddSelected;
    QAction* actnQueueAddAll;
    QAction* actnQueueQueueSelectedAlbum;
    QAction* actnQueueMoveUp;
    QAction* actnQueueMoveDown;
    QAction* actnQueueMoveTo;
    QAction* actnQueueDelete;
    QAction* actnViewArtists;
    QAction* actnViewAlbums;
    QAction* actnViewTitles;
    QAction* actnViewCompilations;
    QAction* actnViewPlaylists;
    QAction* actnViewInvalid;
    QAction* actnViewGenres;
    QAction* actnViewGenreArtists;
    QAction* actnViewGenreAlbums;
    QAction* actnViewArtistsAllQuickToggle;
    QAction* actnViewToolbar;
    QAction* actnViewSongTitle;
    QAction* actnViewStacker;
    QAction* actnSettingsShowTrackDetails;
    QAction* actnSettingsShowTrackNumbers;
    QAction* actnSettingsSkins;
    QAction* actnPlaylistActivateSelected;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void JukeboxListEventsGlobalListChange(TcustomJukeboxList* sender) override;

private:
    QAction* MakeAction(const char* name, const char* caption, const char* hint, const char* shortcut,
                        bool checkable);
    void BuildActions();
    void BindActions();
    void BuildLayout();
    void BuildMenus();
    void BuildFonts();
    void BuildImages();
    void BindDragAndDrop();
    void ApplyFonts();
    // The stacker window's tree looks like this one.
    void PushTreeLook();
    void ApplyLocks();
    // The view actions' check marks as a display mode.
    TtreeViewDisplayModes CheckedDisplayMode() const;
    void RefreshQueue();
    void RefreshStackerPanel();
    void DropOnQueue(const TdragPayload& source, int x, int y);
    void FillTrackList(TtreeNode node);
    bool IsPlaylistNode(TtreeNode node) const;
    TaudioTagList* SelectedAlbum() const;
    void SelectQueueLine(int index);
    std::vector<int> SelectedRows(const ThtmlListBox& box) const;
    void QueueRows(const std::vector<int>& rows);
    // The song under a point of a list's viewport; null for none.
    const TaudioTag* SongAt(const ThtmlListBox& box, const QPoint& at) const;

    TcustomJukeboxListViewer viewer_;
    TtagFonts tfJukeboxList;
    TtagFonts tfTrackList;
    TtagFonts tfQueueList;
    TtagFonts tfSongTitle;
    std::unique_ptr<TImageList> ilLists;
    std::array<QIcon, 11> icons_;
    bool treeDragIsAlbum_ = false;
    int queueDragSource_ = -1;
    bool modifierHeld_ = false;
    bool showTrackDetails_ = false;
    bool savedToolbarVisible_ = true;
    bool savedStackerVisible_ = true;
    bool partyHidden_ = false;

    TtreeSinkModel* model_;
    QWidget* pnlToolbar;
    QToolBar* tbMain;
    QWidget* pnlSongTitle;
    QLabel* lblSongTitle;
    QWidget* pnlControls;
    QWidget* pnlStacker;
    ThtmlListBox* lbStacker;
    QSplitter* tsQueue;
    QSplitter* tsLists;
    QSplitter* tsQueueList;
    TnoScrollTreeView* tvJukeboxList;
    ThtmlListBox* lbTrackList;
    ThtmlListBox* lbQueueList;
    QWidget* pnlQueueRight;
};
