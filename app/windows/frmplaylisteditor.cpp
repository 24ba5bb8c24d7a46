// The playlist editor's form: construction, the actions, the menus, the panels and pages, and the drag and
// drop binding of its list boxes.
#include "app/windows/frmplaylisteditor.h"

#include "app/qt/services/exceptionboundary.h"
#include "app/windows/playlisteditorhost.h"
#include "controls/dragpayload.h"
#include "controls/htmllistbox.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/captions/librarytreecaption.h"
#include "core/captions/tagfonts.h"
#include "platform/qtstring.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <functional>

namespace {

QToolButton* ActionButton(QAction* action, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return button;
}

} // namespace

TfrmPlaylistEditor::TfrmPlaylistEditor(TcustomlocalJukeboxList& library, QWidget* parent)
    : QDialog(parent), library_(&library), fonts_(std::make_unique<TtagFonts>())
{
    setObjectName("frmPlaylistEditor");
    setWindowTitle("Playlist Editor");
    resize(kWidth, kHeight);
    viewer_.SetDisplayMode(dmArtists | dmTitles | dmAlbums | dmCompilations | dmInvalid | dmGenres);

    BuildActions();
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(BuildLeft());
    splitter_->addWidget(BuildRight());
    splitter_->setSizes({kWidth / 2, kWidth / 2});
    connect(splitter_, &QSplitter::splitterMoved, this,
            [this] { rightPanelWidth_ = splitter_->sizes().value(1, rightPanelWidth_); });
    connect(leftSplitter_, &QSplitter::splitterMoved, this,
            [this] { trackListHeight_ = leftSplitter_->sizes().value(1, trackListHeight_); });
    connect(rightSplitter_, &QSplitter::splitterMoved, this,
            [this] { selectionHeight_ = rightSplitter_->sizes().value(0, selectionHeight_); });

    sbPlaylistEditor = new QStatusBar(this);
    sbPlaylistEditor->setObjectName("sbPlaylistEditor");
    const char* const initial[4] = {"List :", "Count :", "Duration :", "Artists :"};
    for (int i = 0; i < 4; ++i) {
        panels_[i] = new QLabel(initial[i], sbPlaylistEditor);
        sbPlaylistEditor->addWidget(panels_[i], i == 0 ? 2 : 1);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildMenus();
    layout->addWidget(splitter_, 1);
    layout->addWidget(sbPlaylistEditor);
    BindDragAndDrop();

    SetSortAction(Action("actnSortByArtist"));
    pcPlaylists->setCurrentIndex(kCollectionPage);
    rules_.SetPathsAllowed(false);
    FillPlaylistLines(nullptr);
}

TfrmPlaylistEditor::~TfrmPlaylistEditor()
{
    // The views go before the model's nodes: nothing asks for a caption on the way out.
    model_->SetCaptionFunction(nullptr);
    model_->SetImageFunction(nullptr);
}

QAction* TfrmPlaylistEditor::MakeAction(const char* name, const char* caption, const char* hint,
                                        void (TfrmPlaylistEditor::*run)())
{
    auto* action = new QAction(platform::ToQString(caption), this);
    action->setObjectName(name);
    action->setToolTip(platform::ToQString(hint));
    action->setStatusTip(platform::ToQString(hint));
    connect(action, &QAction::triggered, this, [this, run] { Guarded([&] { (this->*run)(); }); });
    actions_[name] = action;
    return action;
}

void TfrmPlaylistEditor::BuildActions()
{
    using E = TfrmPlaylistEditor;
    MakeAction("actnMoveUp", "Move &Up", "Move the selected track up the playlist.", &E::MoveUp);
    MakeAction("actnMoveDown", "Move &Down", "Move the selected track down the playlist.", &E::MoveDown);
    MakeAction("actnClear", "&Clear", "Clear the playlist.", &E::ClearTracks);
    MakeAction("actnDelete", "&Delete", "Delete the selected tracks from the playlist.", &E::DeleteTracks);
    MakeAction("actnSave", "&Save to M3U File", "Save the playlist to an M3U file.", &E::SaveToM3U);
    MakeAction("actnLoad", "&Load from M3U File", "Load an M3U playlist.", &E::LoadFromM3UFile);
    MakeAction("actnClose", "&Close", "Close the playlist editor.", &E::CloseEditor);
    MakeAction("actnAddSelectedTracks", "Add &Selected Tracks", "Add selected tracks to the playlist.",
               &E::AddSelectedTracks);
    MakeAction("actnAddAllTracks", "Add &All Tracks", "Add all tracks to the playlist.", &E::AddAllTracks);
    MakeAction("actnAddToJukebox", "&Copy to Current Playlist", "Copy the playlist to the Jukebox playlist.",
               &E::CopyToCurrentPlaylist);
    MakeAction("actnAddFromJukebox", "Copy from Current &Playlist",
               "Copy the current playlist from the Jukebox.", &E::CopyFromCurrentPlaylist);
    MakeAction("actnRandomize", "&Randomize", "Randomize the playlist order.", &E::Randomize);
    MakeAction("actnAddPlaylist", "&Add from M3U File", "Add (append) an M3Uplaylist to the current one.",
               &E::AddFromM3UFile);
    MakeAction("actnAddToStacker", "Add To &Stacker", "Add Playlist to the Stacker", &E::AddToStacker);
    MakeAction("actnPlaylistsNew", "&New", "Create a new Playlist in the Playlist Collection",
               &E::NewPlaylist);
    MakeAction("actnPlaylistsDelete", "&Delete", "Delete the selected playlist", &E::DeleteList);
    MakeAction("actnPlaylistsRename", "&Rename", "Rename the selected playlist", &E::RenameList);
    MakeAction("actnPlaylistsNewFromM3U", "New from &M3U", "Create a new playlist from an M3U file",
               &E::NewFromM3U);
    MakeAction("actnSortByArtist", "Sort by A&rtist", "Sort by Artist", &E::SortByArtist);
    MakeAction("actnSortByDuration", "Sort by &Duration", "Sort by Duration", &E::SortByDuration);
    MakeAction("actnSortByTitle", "Sort by T&itle", "Sort by Title", &E::SortByTitle);
    MakeAction("actnAddToplaylists", "Add to Playlist &Collection",
               "Add the current playlist to your playlists collection.", &E::AddToPlaylists);
    MakeAction("actnApplyFilters", "Apply &Filters", "Modify the playlist based on filters.",
               &E::ApplyFilters);
    MakeAction("actnStackerEmpty", "&Empty", "Empty the Stacker", &E::EmptyStacker);
}

QAction* TfrmPlaylistEditor::Action(const std::string& name) const
{
    const auto found = actions_.find(name);
    return found == actions_.end() ? nullptr : found->second;
}

void TfrmPlaylistEditor::BuildMenus()
{
    auto* bar = new QMenuBar(this);
    const auto add = [this](QMenu* menu, std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (*name == '-')
                menu->addSeparator();
            else
                menu->addAction(Action(name));
        }
    };
    add(bar->addMenu("&File"), {"actnLoad", "actnAddPlaylist", "actnSave", "-", "actnClose"});
    add(bar->addMenu("&Tracks"),
        {"actnAddSelectedTracks", "actnAddAllTracks", "-", "actnMoveUp", "actnMoveDown", "actnDelete",
         "actnClear", "-", "actnSortByArtist", "actnSortByTitle", "actnSortByDuration", "actnRandomize"});
    add(bar->addMenu("Selected &Playlist"),
        {"actnAddToJukebox", "actnAddFromJukebox", "actnAddToStacker", "actnAddToplaylists"});
    collectionMenu_ = bar->addMenu("Playlist &Collection");
    add(collectionMenu_,
        {"actnPlaylistsNew", "actnPlaylistsNewFromM3U", "actnPlaylistsRename", "actnPlaylistsDelete"});
    stackerMenu_ = bar->addMenu("&Stacker");
    add(stackerMenu_, {"actnPlaylistsRename", "actnPlaylistsDelete"});
    static_cast<QVBoxLayout*>(layout())->setMenuBar(bar);
}

QWidget* TfrmPlaylistEditor::BuildLeft()
{
    leftSplitter_ = new QSplitter(Qt::Vertical);
    model_ = new TtreeSinkModel(this);
    const TtagFonts* fonts = fonts_.get();
    model_->SetCaptionFunction([fonts](const TtreeSinkModel& m, TtreeNode node) {
        return LibraryTreeCaption(
            *fonts, {m.Text(node), m.Data(node), m.Kind(node), !m.Parent(node).IsNull(), m.ChildCount(node)});
    });
    QStyle* style = QApplication::style();
    const std::array<QIcon, 5> icons = {
        style->standardIcon(QStyle::SP_DirClosedIcon),          // tnkNone
        style->standardIcon(QStyle::SP_FileDialogDetailedView), // tnkList
        style->standardIcon(QStyle::SP_DriveCDIcon),            // tnkAlbum
        style->standardIcon(QStyle::SP_DirIcon),                // tnkArtist
        style->standardIcon(QStyle::SP_DirLinkIcon),            // tnkGenre
    };
    model_->SetImageFunction([icons](const TtreeSinkModel& m, TtreeNode node, TtreeSinkModel::NodeState) {
        return TtreeSinkModel::NodeImage{icons[static_cast<std::size_t>(m.Kind(node))], false};
    });
    tvJukebox = new TnoScrollTreeView(leftSplitter_);
    tvJukebox->setObjectName("tvJukebox");
    tvJukebox->setHeaderHidden(true);
    tvJukebox->setModel(model_);
    tvJukebox->setSelectionMode(QAbstractItemView::SingleSelection);
    tvJukebox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tvJukebox->SetDottedBranches(true);
    connect(tvJukebox->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { Guarded([&] { ShowNode(model_->NodeOf(current)); }); });

    auto* songPanel = new QWidget(leftSplitter_);
    lbSongs = new ThtmlListBox(songPanel);
    lbSongs->setObjectName("lbSongs");
    lbSongs->SetMultiSelect(true);
    connect(lbSongs, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        Guarded([&] {
            if (lbSongs->Selected(index.row()))
                AddSelectedTracks();
        });
    });
    auto* side = new QVBoxLayout;
    side->setSpacing(1);
    side->setContentsMargins(0, 0, 0, 0);
    // The two buttons share the side panel's height.
    btnAddSelected = new QToolButton(songPanel);
    btnAddSelected->setObjectName("btnAddSelected");
    btnAddSelected->setText(">");
    btnAddSelected->setToolTip("Add selected tracks to the playlist.");
    btnAddAll = new QToolButton(songPanel);
    btnAddAll->setObjectName("btnAddAll");
    btnAddAll->setText(">>");
    btnAddAll->setToolTip("Add all tracks to the playlist.");
    for (QToolButton* button : {btnAddSelected, btnAddAll}) {
        button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        side->addWidget(button, 1);
    }
    connect(btnAddSelected, &QToolButton::clicked, this,
            [this] { Guarded([this] { AddSelectedTracks(); }); });
    connect(btnAddAll, &QToolButton::clicked, this, [this] { Guarded([this] { AddAllTracks(); }); });
    auto* songLayout = new QHBoxLayout(songPanel);
    songLayout->setContentsMargins(0, 0, 0, 0);
    songLayout->addWidget(lbSongs, 1);
    songLayout->addLayout(side);
    leftSplitter_->addWidget(tvJukebox);
    leftSplitter_->addWidget(songPanel);
    leftSplitter_->setSizes({kHeight * 3 / 5, kHeight * 2 / 5});
    return leftSplitter_;
}

QWidget* TfrmPlaylistEditor::BuildCollectionPage()
{
    auto* page = new QWidget;
    lbPlaylists = new ThtmlListBox(page);
    lbPlaylists->setObjectName("lbPlaylists");
    connect(lbPlaylists, &QAbstractItemView::clicked, this,
            [this] { Guarded([this] { PlaylistsClicked(); }); });
    auto* buttons = new QVBoxLayout;
    for (const char* name :
         {"actnPlaylistsNew", "actnPlaylistsDelete", "actnPlaylistsRename", "actnPlaylistsNewFromM3U"})
        buttons->addWidget(ActionButton(Action(name), page));
    auto* settings = new QGroupBox("Settings", page);
    settings->setObjectName("gbSettings");
    cbRandom = new QCheckBox("Random", settings);
    cbRandom->setObjectName("cbRandom");
    cbLoop = new QCheckBox("Loop", settings);
    cbLoop->setObjectName("cbLoop");
    cbReset = new QCheckBox("Reset", settings);
    cbReset->setObjectName("cbReset");
    const auto bindMode = [this](QCheckBox* box, void (TaudioTagList::*set)(bool)) {
        connect(box, &QCheckBox::toggled, this, [this, set](bool checked) {
            Guarded([&] {
                if (TaudioTagList* list = EditedList(); list && !settingBoxes_)
                    (list->*set)(checked);
            });
        });
    };
    bindMode(cbRandom, &TaudioTagList::SetRandom);
    bindMode(cbLoop, &TaudioTagList::SetLoop);
    bindMode(cbReset, &TaudioTagList::SetResetOnActivate);
    auto* clear = new QPushButton("Clear Playlist", settings);
    clear->setObjectName("btnClearPlaylist");
    connect(clear, &QPushButton::clicked, this, [this] { Guarded([this] { ClearInternalPlaylist(); }); });
    auto* settingsLayout = new QVBoxLayout(settings);
    for (QWidget* widget : std::initializer_list<QWidget*>{cbRandom, cbLoop, cbReset, clear})
        settingsLayout->addWidget(widget);
    buttons->addWidget(settings);
    buttons->addStretch(1);

    cboPlaylists = new QComboBox(page);
    cboPlaylists->setObjectName("cboPlaylists");
    connect(cboPlaylists, &QComboBox::currentIndexChanged, this,
            [this](int index) { Guarded([&] { ActivePlaylistChosen(index); }); });
    auto* active = new QHBoxLayout;
    active->addWidget(new QLabel("Active Playlist :", page));
    active->addWidget(cboPlaylists, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(lbPlaylists, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(top, 1);
    layout->addLayout(active);
    return page;
}

QWidget* TfrmPlaylistEditor::BuildStackerPage()
{
    auto* page = new QWidget;
    lbStacker = new ThtmlListBox(page);
    lbStacker->setObjectName("lbStacker");
    connect(lbStacker, &QAbstractItemView::clicked, this, [this] { Guarded([this] { StackerClicked(); }); });
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(ActionButton(Action("actnPlaylistsDelete"), page));
    buttons->addWidget(ActionButton(Action("actnPlaylistsRename"), page));
    const auto cartridge = [this, page, buttons](const char* name, const char* caption, const char* hint,
                                                 std::function<void(TplaylistEditorHost&)> run) {
        auto* button = new QPushButton(caption, page);
        button->setObjectName(name);
        if (*hint)
            button->setToolTip(hint);
        connect(button, &QPushButton::clicked, this, [this, run] {
            Guarded([this, &run] {
                if (host_)
                    run(*host_);
            });
        });
        buttons->addWidget(button);
    };
    cartridge("btnStackerLoad", "Load", "Load a Cartridge File into the Stacker.",
              &TplaylistEditorHost::LoadCartridge);
    cartridge("btnStackerAdd", "Add", "", &TplaylistEditorHost::AddCartridge);
    cartridge("btnStackerSave", "Save", "", &TplaylistEditorHost::SaveCartridge);
    buttons->addWidget(ActionButton(Action("actnStackerEmpty"), page));
    buttons->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(lbStacker, 1);
    layout->addLayout(buttons);
    return page;
}

QWidget* TfrmPlaylistEditor::BuildRight()
{
    rightSplitter_ = new QSplitter(Qt::Vertical);
    pcPlaylists = new QTabWidget(rightSplitter_);
    pcPlaylists->setObjectName("pcPlaylists");
    pcPlaylists->addTab(BuildCollectionPage(), "Playlist Collection");
    pcPlaylists->addTab(BuildStackerPage(), "Stacker");
    connect(pcPlaylists, &QTabWidget::currentChanged, this, [this] { Guarded([this] { PageChanged(); }); });

    auto* listPanel = new QWidget(rightSplitter_);
    auto* tools = new QToolBar(listPanel);
    tools->setObjectName("tbPlaylist");
    tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const char* name : {"actnMoveUp", "actnMoveDown", "actnDelete", "actnClear"})
        tools->addAction(Action(name));
    auto* sortMenu = new QMenu(this);
    for (const char* name : {"actnSortByArtist", "actnSortByTitle", "actnSortByDuration", "actnRandomize"})
        sortMenu->addAction(Action(name));
    tbtnSort = new QToolButton(tools);
    tbtnSort->setObjectName("tbtnSort");
    tbtnSort->setMenu(sortMenu);
    tbtnSort->setPopupMode(QToolButton::MenuButtonPopup);
    tools->addWidget(tbtnSort);
    tools->addAction(Action("actnApplyFilters"));
    tbtnAddPlaylistTo = new QToolButton(tools);
    tbtnAddPlaylistTo->setObjectName("tbtnAddPlaylistTo");
    tbtnAddPlaylistTo->setDefaultAction(Action("actnAddToStacker"));
    tools->addWidget(tbtnAddPlaylistTo);
    for (const char* name : {"actnLoad", "actnAddPlaylist", "actnSave"})
        tools->addAction(Action(name));

    lbPlaylist = new ThtmlListBox(listPanel);
    lbPlaylist->setObjectName("lbPlaylist");
    lbPlaylist->SetMultiSelect(true);
    lbPlaylist->installEventFilter(this);
    auto* layout = new QVBoxLayout(listPanel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addWidget(lbPlaylist, 1);
    rightSplitter_->addWidget(pcPlaylists);
    rightSplitter_->addWidget(listPanel);
    rightSplitter_->setSizes({kHeight * 2 / 5, kHeight * 3 / 5});
    return rightSplitter_;
}

void TfrmPlaylistEditor::BindDragAndDrop()
{
    tvJukebox->SetAutoDrag(true);
    lbSongs->SetAutoDrag(true);
    lbPlaylist->SetAutoDrag(true);
    TnodeKinds kinds = 0;
    for (TtreeNodeKind kind : {tnkList, tnkAlbum, tnkArtist, tnkGenre})
        kinds = With(kinds, kind);
    lbPlaylist->SetDropNodeKinds(kinds);

    lbSongs->OnStartDrag = [this](QObject*, TdragPayload& drag) {
        drag.SetCursor(lbSongs->SelCount() < 2 ? TdragCursor::Drag : TdragCursor::MultiDrag);
    };
    lbPlaylist->OnStartDrag = [this](QObject*, TdragPayload&) {
        const TaudioTagList* list = EditedList();
        const int index = lbPlaylist->ItemIndex();
        if (list && index >= 0 && index < list->Count()) {
            dragIndex_ = index;
            draggedSong_ = list->GetItem(index);
        }
    };
    lbPlaylist->OnEndDrag = [this](QObject*, QObject*, int, int) {
        Guarded([this] {
            if (draggedSong_)
                SelectSong(draggedSong_);
        });
        dragIndex_ = -1;
        draggedSong_ = nullptr;
    };
    lbPlaylist->OnDragOver = [this](QObject*, const TdragPayload& source, int x, int y, TdragState state,
                                    bool& accept) {
        accept = PlaylistAccepts(source);
        if (accept && state == TdragState::Move && source.Source() == lbPlaylist) {
            const int row = lbPlaylist->ItemAtPos(QPoint(x, y), true);
            if (row >= 0) {
                lbPlaylist->clearSelection();
                lbPlaylist->SetItemIndex(row);
                lbPlaylist->SetSelected(row, true);
            }
        }
    };
    lbPlaylist->OnDragDrop = [this](QObject*, const TdragPayload& source, int x, int y) {
        Guarded([&] { PlaylistDrop(source, x, y); });
    };
}

QLabel* TfrmPlaylistEditor::Panel(int index) const
{
    return index >= 0 && index < 4 ? panels_[index] : nullptr;
}
