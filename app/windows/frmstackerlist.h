#pragma once

// The viewer links the library inline, so it needs the full class.
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/tree/customjukeboxlistviewer.h"
#include "markup/color.h"
#include "markup/fontdesc.h"
#include "platform/datetime.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QMenuBar;
class QSplitter;
class QStatusBar;
class QToolBar;
class TIniFile;
class ThtmlListBox;
class TImageList;
class TnoScrollTreeView;
class TstackerCartridges;
class TstackerHost;
class TtreeSinkModel;

// "Stacker": the library's albums and playlists as a tree on the left, the stacker's lists on the right, and
// a combo of the cartridges in the Cartridges folder that loads one when it is chosen. A double click, "&Add"
// or a drop from the tree puts a copy of a tree list into the stacker; "&Delete" or the Delete key takes the
// selected list out. Nothing but "&Close" and "&Genres" works until a library is linked.
class TfrmStackerList : public QDialog
{
    Q_OBJECT

public:
    // Images of the tree nodes and the stacker lines.
    static constexpr int kClosedImage = 0;
    static constexpr int kLeafImage = 2;
    static constexpr int kOpenImage = 4;
    static constexpr int kAlbumImage = 5;
    static constexpr int kOpenAlbumImage = 6;
    static constexpr int kStackerAlbumImage = 8;
    static constexpr int kPlaylistImage = 9;
    static constexpr const char* kLoadLine = "[Load ...]";

    explicit TfrmStackerList(QWidget* parent = nullptr);
    ~TfrmStackerList() override;

    // Links the library whose playing jukebox's stacker this window fills and the main window's seams (both
    // null unlinks); the tree shows treeLibrary (the main window's library without CDs), the library itself
    // when there is none, and is filled at the next showing.
    void SetJukebox(TcustomlocalJukeboxList* library, TstackerHost* host,
                    TcustomJukeboxList* treeLibrary = nullptr);
    TcustomlocalJukeboxList* Jukebox() const;
    // The library the tree shows; null while unlinked.
    TcustomJukeboxList* TreeLibrary() const;
    // The cartridge commands this window runs; null while unlinked.
    TstackerCartridges* Cartridges() const { return cartridges_.get(); }

    // The library browser's tree font and colour; applied at once while linked, else at the next showing.
    void SetTreeFont(const TFontDesc& font);
    void SetTreeColor(TColor color);

    // Refills the stacker lines and the status bar (the main window calls it on every stacker change).
    void RefreshStacker();
    // The library is about to free its groupings: the tree lets go of its lists (the main window calls it
    // from the library's OnGlobalListChanging).
    void LibraryChanging();
    // The library's groupings were rebuilt: the tree is filled again, at once while shown, else at the next
    // showing.
    void LibraryChanged();
    void RebuildTree();
    void FillCartridges();

    // Section "Stacker": Width, Height, Left, Top, RightPanelWidth, ViewGenres.
    void LoadSettings(const TIniFile& ini, const std::string& section);
    void SaveSettings(TIniFile& ini, const std::string& section) const;
    bool GetViewGenres() const;
    void SetViewGenres(bool value);

    // The commands; each answers whether it changed anything.
    bool AddSelected();
    bool DeleteSelected();
    bool EmptyStacker();
    bool LoadStacker();
    bool AddStacker();
    bool SaveStacker();
    // Loads the cartridge of combo line `index`; line 0, and a cartridge whose file has gone, open the load
    // dialog instead.
    bool ChooseCartridge(int index);

    // The image of a tree node; `underPlaylists` for a node directly under the "[Playlists]" root.
    static int TreeImageIndex(TtreeNodeKind kind, bool hasData, bool hasChildren, bool underPlaylists,
                              bool expanded, bool selected);
    // A stacker line: the title, and for an album (every song's album is the title) " - " and its artist.
    static std::string StackerLine(const TaudioTagList& list, bool& album);

    TnoScrollTreeView* Tree() const { return tvJukebox; }
    TtreeSinkModel& Model() const { return *model_; }
    const TcustomJukeboxListViewer& Viewer() const { return viewer_; }
    ThtmlListBox* StackerList() const { return lbStacker; }
    QComboBox* CartridgeCombo() const { return cboCartridges; }
    std::string StatusText(int panel) const;
    // Whether stacker line i shows the album image.
    bool LineIsAlbum(int line) const;
    int RightPanelWidth() const { return rightPanelWidth_; }
    QList<QAction*> Actions() const;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    void CreateMenus(QWidget* toolBarParent);
    QWidget* CreateRightPanel();
    void ApplyTreeLook();
    TtreeViewDisplayModes DisplayModes() const;
    // The list of the current tree node when it may go into the stacker (a list, not an artist).
    TaudioTagList* AddableList(TtreeNode node) const;
    TtreeNode SelectedNode() const;
    bool AddNodeList(TtreeNode node);
    bool CanChangeStacker() const;
    // A key on the closed cartridge combo; true when it was handled.
    bool StepCartridge(int key);

    TcomponentLink<TcustomlocalJukeboxList> library_;
    TcomponentLink<TcustomJukeboxList> treeLibrary_;
    TstackerHost* host_ = nullptr; // link
    std::unique_ptr<TstackerCartridges> cartridges_;
    TcustomJukeboxListViewer viewer_;
    std::optional<TFontDesc> treeFont_;
    TColor treeColor_ = clWindow;
    TDateTime globalDate_ = 0;
    TDateTime playlistsDate_ = 0;
    std::vector<bool> lineIsAlbum_;
    int rightPanelWidth_ = 300;
    bool actnViewGenresChecked_ = false;
    // The tree lost its lists (a rebuild's notice, a new library) and is filled at the next showing.
    bool treeStale_ = true;

    TImageList* images_;
    TtreeSinkModel* model_;
    QSplitter* splitter_;
    QMenuBar* menuBar_;
    TnoScrollTreeView* tvJukebox;
    ThtmlListBox* lbStacker;
    QLabel* lblLoadCartridge;
    QComboBox* cboCartridges;
    QToolBar* tbStacker;
    QStatusBar* sbStacker;
    QLabel* sbTracks;
    QLabel* sbDuration;
    QLabel* sbAlbums;
    QAction* actnAddCD;
    QAction* actnEmptyStacker;
    QAction* actnDelete;
    QAction* actnSaveStacker;
    QAction* actnLoadStacker;
    QAction* actnAddStacker;
    QAction* actnCloseStacker;
    QAction* actnViewGenres;
};
