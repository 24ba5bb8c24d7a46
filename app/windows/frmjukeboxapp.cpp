// The library browser window's construction and its form: the actions, images, fonts, panels, lists and
// menus, and the creation and destruction steps.
#include "app/windows/frmjukeboxapp.h"

#include "app/qt/services/exceptionboundary.h"
#include "app/skins/pixelfont.h"
#include "app/windows/frmstackerlist.h"
#include "controls/htmlitemdelegate.h"
#include "controls/htmllistbox.h"
#include "controls/imagelist.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/qtfont.h"
#include "controls/treesinkmodel.h"
#include "core/captions/librarytreecaption.h"
#include "platform/qtstring.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

constexpr int kIndent = 19;
constexpr int kImageMargin = 4;
constexpr int kItemHeight = 16;

TFontDesc DefaultFont()
{
    TFontDesc font;
    font.Name = "MS Sans Serif";
    font.Size = PixelsToPoints(11);
    font.Color = clBlack;
    return font;
}

QPixmap IconPixmap(const QIcon& icon)
{
    return icon.pixmap(16, 16);
}

} // namespace

TfrmJukeboxApp::TfrmJukeboxApp(QWidget* parent) : TfrmJukebox(parent), ilLists(std::make_unique<TImageList>())
{
    viewer_.SetShowEmptyAlphas(true);
    viewer_.SetDisplayMode(kInitialDisplayMode);
    BuildActions();
    BuildImages();
    BuildFonts();
    BuildLayout();
    BindActions();
    BindDragAndDrop();
}

TfrmJukeboxApp::~TfrmJukeboxApp()
{
    // Nothing asks for a caption or an image while the views go, and no rebuild notice reaches them.
    JukeboxListEvents.OnGlobalListChanging = nullptr;
    model_->SetCaptionFunction(nullptr);
    model_->SetImageFunction(nullptr);
}

// ---- Creation

QAction* TfrmJukeboxApp::MakeAction(const char* name, const char* caption, const char* hint,
                                    const char* shortcut, bool checkable)
{
    auto* action = new QAction(platform::ToQString(caption), this);
    action->setObjectName(platform::ToQString(name));
    if (shortcut)
        action->setShortcut(QKeySequence(platform::ToQString(shortcut)));
    action->setCheckable(checkable);
    if (*hint)
        TjukeboxActions::SetHint(action, platform::ToQString(hint));
    addAction(action);
    return action;
}

void TfrmJukeboxApp::BuildActions()
{
    actnQueueAddSelected = MakeAction("actnQueueAddSelected", "Add &Selected",
                                      "Add the Selected Tracks to the Queue", "F6", false);
    actnQueueAddAll =
        MakeAction("actnQueueAddAll", "Add &All", "Add All the Tracks to the Queue", "F7", false);
    actnQueueQueueSelectedAlbum =
        MakeAction("actnQueueQueueSelectedAlbum", "Queue the Selected Al&bum",
                   "Add the currently highlighted album to the Queue.", "F9", false);
    actnQueueMoveUp = MakeAction("actnQueueMoveUp", "Move &Up", "Move the selected track up in the queue.",
                                 "Ctrl+U", false);
    actnQueueMoveDown = MakeAction("actnQueueMoveDown", "Move Do&wn",
                                   "Move the selected track down in the queue.", "Ctrl+W", false);
    actnQueueMoveTo =
        MakeAction("actnQueueMoveTo", "Move &To",
                   "Move the selected track to the specified position in the queue.", "Ctrl+T", false);
    actnQueueDelete = MakeAction("actnQueueDelete", "&Delete", "Delete the selected track/s from the Queue",
                                 "Ctrl+D", false);
    actnViewArtists =
        MakeAction("actnViewArtists", "A&rtists", "Hide/Show Artists in the Tree View", "Ctrl+F5", true);
    actnViewAlbums =
        MakeAction("actnViewAlbums", "A&lbums", "Hide/Show Albums in the Tree View", "Ctrl+F6", true);
    actnViewTitles =
        MakeAction("actnViewTitles", "&Titles", "Hide/Show Titles in the Tracks List", "Ctrl+F7", true);
    actnViewCompilations = MakeAction("actnViewCompilations", "&Compilations",
                                      "Hide/Show Compilations in the Tree View", nullptr, true);
    actnViewPlaylists =
        MakeAction("actnViewPlaylists", "&Playlists", "Hide/Show Playlists in the Tree View", nullptr, true);
    actnViewInvalid =
        MakeAction("actnViewInvalid", "&No Artist", "Hide/Show 'Not Tagged' in the Tree View", nullptr, true);
    actnViewGenres =
        MakeAction("actnViewGenres", "&Genres", "Hide/Show Genres in the Tree View", nullptr, true);
    actnViewGenreArtists = MakeAction("actnViewGenreArtists", "Genre Artists",
                                      "Hide/Show Artists for Genres in the Tree View", nullptr, true);
    actnViewGenreAlbums =
        MakeAction("actnViewGenreAlbums", "Genre Albums",
                   "Hide/Show Albums for Artists under Genres in the Tree View", nullptr, true);
    actnViewArtistsAllQuickToggle =
        MakeAction("actnViewArtistsAllQuickToggle", "&Quick Toggle View (Artists/All)",
                   "Quick Toggle between the old Artists/All Modes", nullptr, false);
    actnViewArtistsAllQuickToggle->setVisible(false);
    actnViewToolbar = MakeAction("actnViewToolbar", "&Toolbar", "Hide/Show the toolbar.", "Ctrl+Alt+M", true);
    actnViewSongTitle =
        MakeAction("actnViewSongTitle", "&Song Title", "Hide/Show the Song Title Panel", "Ctrl+Alt+T", true);
    // Ctrl+S belongs to Stop: two actions on one shortcut would fire neither.
    actnViewStacker =
        MakeAction("actnViewStacker", "Stac&ker", "Hide/Show the stacker panel.", "Ctrl+Alt+S", true);
    actnSettingsShowTrackDetails =
        MakeAction("actnSettingsShowTrackDetails", "Show Track &Details",
                   "Show track details 'Hint' window in the Track and Queue lists", nullptr, true);
    actnSettingsShowTrackNumbers =
        MakeAction("actnSettingsShowTrackNumbers", "Show Track &Numbers",
                   "Show Track numbers for albums in the Track List", nullptr, true);
    actnSettingsSkins =
        MakeAction("actnSettingsSkins", "&Skins", "Open the Skins configuration window", nullptr, false);
    actnPlaylistActivateSelected =
        MakeAction("actnPlaylistActivateSelected", "Activate Playlist", "", "Ctrl+F9", false);

    actnViewToolbar->setChecked(true);
    actnViewStacker->setChecked(true);
    actnViewSongTitle->setChecked(true);
    actnSettingsShowTrackNumbers->setChecked(true);
    actnViewGenreArtists->setChecked(true);
    actnViewGenreAlbums->setChecked(true);
    actnQueueQueueSelectedAlbum->setEnabled(false);
    actnPlaylistActivateSelected->setEnabled(false);
    actnPlaylistActivateSelected->setVisible(false);
}

void TfrmJukeboxApp::BindActions()
{
    const auto bind = [this](QAction* action, auto&& run) {
        connect(action, &QAction::triggered, this, [run] { Guarded(run); });
    };
    // The queue commands run through the command table, whichever route asks: the busy flag and party
    // play hold for them as for the main menu's. Adding is what guests do (the queue limit holds); moving
    // and deleting are the queue controls.
    using O = TpartyPlayOption;
    TjukeboxCommands& c = Commands();
    c.Add(actnQueueAddSelected, O::None, false, [this] { QueueAddSelected(); });
    c.Add(actnQueueAddAll, O::None, false, [this] { QueueAddAll(); });
    c.Add(actnQueueQueueSelectedAlbum, O::None, false, [this] { QueueSelectedAlbum(); });
    c.Add(actnQueueMoveUp, O::QueueControls, false, [this] { QueueMoveUp(true); });
    c.Add(actnQueueMoveDown, O::QueueControls, false, [this] { QueueMoveDown(true); });
    c.Add(actnQueueDelete, O::QueueControls, false, [this] { QueueDeleteSelected(true); });
    // The active playlist has one lock in party play, "Disable Playlist Editor": this command, the editor's
    // "Active Playlist :" box (the editor opens under that option) and Deactivate. Hidden while locked.
    c.Add(actnPlaylistActivateSelected, O::PlaylistEditor, false, [this] { ActivateSelectedPlaylist(); });
    bind(actnViewArtists, [this] { ToggleView(dmArtists); });
    bind(actnViewAlbums, [this] { ToggleView(dmAlbums); });
    bind(actnViewTitles, [this] { ToggleView(dmTitles); });
    bind(actnViewCompilations, [this] { ToggleView(dmCompilations); });
    bind(actnViewPlaylists, [this] { ToggleView(dmPlaylists); });
    bind(actnViewInvalid, [this] { ToggleView(dmInvalid); });
    bind(actnViewGenres, [this] { ToggleView(dmGenres); });
    bind(actnViewGenreArtists, [this] { SetGenreArtists(actnViewGenreArtists->isChecked()); });
    bind(actnViewGenreAlbums, [this] { SetGenreAlbums(actnViewGenreAlbums->isChecked()); });
    bind(actnViewArtistsAllQuickToggle, [this] { QuickToggleView(); });
    bind(actnViewToolbar, [this] { SetToolbarVisible(actnViewToolbar->isChecked()); });
    bind(actnViewSongTitle, [this] { SetSongTitleVisible(actnViewSongTitle->isChecked()); });
    bind(actnViewStacker, [this] { SetStackerVisible(actnViewStacker->isChecked()); });
    bind(actnSettingsShowTrackDetails,
         [this] { SetShowTrackDetails(actnSettingsShowTrackDetails->isChecked()); });
    bind(actnSettingsShowTrackNumbers,
         [this] { SetShowTrackNumbers(actnSettingsShowTrackNumbers->isChecked()); });
}

void TfrmJukeboxApp::BuildImages()
{
    QStyle* style = QApplication::style();
    icons_.fill(QIcon());
    icons_[kClosedFolderImage] = style->standardIcon(QStyle::SP_DirClosedIcon);
    icons_[kEmptyLeafImage] = style->standardIcon(QStyle::SP_FileIcon);
    icons_[kOpenFolderImage] = style->standardIcon(QStyle::SP_DirOpenIcon);
    icons_[kClosedAlbumImage] = style->standardIcon(QStyle::SP_DriveCDIcon);
    icons_[kOpenAlbumImage] = style->standardIcon(QStyle::SP_DriveDVDIcon);
    icons_[kPlaylistImage] = style->standardIcon(QStyle::SP_FileDialogDetailedView);
    icons_[kActivePlaylistImage] = style->standardIcon(QStyle::SP_MediaPlay);
    icons_[kSongImage] = style->standardIcon(QStyle::SP_MediaVolume);
    for (const QIcon& icon : icons_)
        ilLists->Add(IconPixmap(icon));
}

void TfrmJukeboxApp::BuildFonts()
{
    const TFontDesc font = DefaultFont();
    const auto setUp = [&font](TtagFonts& set, const char* niceName, const char* colorName,
                               std::initializer_list<std::pair<TtagFonts::FontKind, const char*>> names) {
        set.BeginUpdate();
        set.SetNiceName(niceName);
        set.SetColorNiceName(colorName);
        set.SetColor(clWhite);
        for (int kind = 0; kind < TtagFonts::kFontCount; ++kind)
            set.SetFont(static_cast<TtagFonts::FontKind>(kind), font);
        for (const auto& [kind, name] : names)
            set.SetFontNiceName(kind, name);
        set.EndUpdate();
    };
    using K = TtagFonts;
    // The names are the skin file's keys.
    setUp(tfJukeboxList, "Jukebox List", "Jukebox List",
          {{K::fkArtist, "Artist"},
           {K::fkAlbum, "Album"},
           {K::fkDuration, "Details"},
           {K::fkIndex, "Root Font"}});
    setUp(tfTrackList, "Track List", "Track List",
          {{K::fkArtist, "Artist"},
           {K::fkTitle, "Track Title"},
           {K::fkCharacter, "Characters"},
           {K::fkDuration, "Duration"},
           {K::fkIndex, "Track Number"}});
    setUp(tfQueueList, "Queue List", "Queue List",
          {{K::fkArtist, "Artist"},
           {K::fkTitle, "Track Title"},
           {K::fkCharacter, "Characters"},
           {K::fkDuration, "Duration"},
           {K::fkIndex, "Play Index"}});
    TFontDesc banner = font;
    banner.Name = "Arial";
    banner.Size = PixelsToPoints(19);
    banner.Color = clWhite;
    tfSongTitle.BeginUpdate();
    tfSongTitle.SetNiceName("Song Title Banner");
    tfSongTitle.SetColorNiceName("Song Title Banner");
    tfSongTitle.SetColor(clBlack);
    for (int kind = 0; kind < TtagFonts::kFontCount; ++kind)
        tfSongTitle.SetFont(static_cast<TtagFonts::FontKind>(kind), banner);
    for (const auto& [kind, name] :
         {std::pair{K::fkArtist, "Artist"}, std::pair{K::fkAlbum, "Album"},
          std::pair{K::fkTitle, "Track Title"}, std::pair{K::fkCharacter, "Characters"},
          std::pair{K::fkIndex, "Track Number"}})
        tfSongTitle.SetFontNiceName(kind, name);
    tfSongTitle.EndUpdate();

    tfJukeboxList.OnChange = [this](TtagFonts*) {
        Guarded([this] {
            ApplyFonts();
            RebuildTree();
        });
    };
    tfTrackList.OnChange = [this](TtagFonts*) {
        Guarded([this] {
            ApplyFonts();
            FillTrackList(SelectedNode());
        });
    };
    tfQueueList.OnChange = [this](TtagFonts*) {
        Guarded([this] {
            ApplyFonts();
            RefreshQueue();
        });
    };
}

void TfrmJukeboxApp::ApplyFonts()
{
    tvJukeboxList->setFont(ToQFont(tfJukeboxList.ArtistFont()));
    QPalette palette = tvJukeboxList->palette();
    palette.setColor(QPalette::Base, ToQColor(tfJukeboxList.Color()));
    tvJukeboxList->setPalette(palette);
    lbTrackList->SetLFont(tfTrackList.TitleFont());
    lbTrackList->SetItemHeight(kItemHeight);
    lbTrackList->SetColor(tfTrackList.Color());
    lbQueueList->SetLFont(tfQueueList.ArtistFont());
    lbQueueList->SetItemHeight(kItemHeight);
    lbQueueList->SetColor(tfQueueList.Color());
    // The stacker's lists are names from the tree, so they look like it.
    lbStacker->SetLFont(tfJukeboxList.ArtistFont());
    lbStacker->SetColor(tfJukeboxList.Color());
    model_->CaptionsChanged();
    PushTreeLook();
}

void TfrmJukeboxApp::PushTreeLook()
{
    if (TfrmStackerList* stacker = StackerWindow()) {
        stacker->SetTreeFont(tfJukeboxList.ArtistFont());
        stacker->SetTreeColor(tfJukeboxList.Color());
    }
}

void TfrmJukeboxApp::BuildLayout()
{
    auto* client = new QWidget(this);
    client->setObjectName("pnlClient");
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pnlToolbar = new QWidget(client);
    pnlToolbar->setObjectName("pnlToolbar");
    pnlToolbar->setAccessibleName("Toolbar");
    tbMain = new QToolBar(pnlToolbar);
    tbMain->setObjectName("tbMain");
    tbMain->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (QAction* action : {alMain.actnControlPlay, alMain.actnControlPause, alMain.actnControlStop,
                            alMain.actnControlNext, static_cast<QAction*>(nullptr), actnQueueAddSelected,
                            actnQueueAddAll, actnQueueQueueSelectedAlbum, actnQueueDelete})
        if (action)
            tbMain->addAction(action);
        else
            tbMain->addSeparator();
    auto* toolbarLayout = new QHBoxLayout(pnlToolbar);
    toolbarLayout->setContentsMargins(0, 0, 0, 0);
    toolbarLayout->addWidget(tbMain);

    pnlSongTitle = new QWidget(client);
    pnlSongTitle->setObjectName("pnlSongTitle");
    pnlSongTitle->setAccessibleName("Song Title");
    lblSongTitle = new QLabel(pnlSongTitle);
    lblSongTitle->setObjectName("lblSongTitle");
    auto* titleLayout = new QHBoxLayout(pnlSongTitle);
    titleLayout->setContentsMargins(2, 2, 2, 2);
    titleLayout->addWidget(lblSongTitle);

    pnlControls = new QWidget(client);
    pnlControls->setObjectName("pnlControls");
    pnlControls->setAccessibleName("Controls");
    pnlControls->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (QAction* action :
         {alMain.actnControlPlay, alMain.actnControlPause, alMain.actnControlStop, alMain.actnControlNext})
        pnlControls->addAction(action);

    pnlStacker = new QWidget(client);
    pnlStacker->setObjectName("pnlStacker");
    pnlStacker->setAccessibleName("Stacker");
    pnlStacker->setContextMenuPolicy(Qt::ActionsContextMenu);
    pnlStacker->addAction(alMain.actnStackerEnabled);
    pnlStacker->addAction(alMain.actnStackerConfigure);
    lbStacker = new ThtmlListBox(pnlStacker);
    lbStacker->setObjectName("lbStacker");
    lbStacker->setFlow(QListView::LeftToRight);
    lbStacker->setUniformItemSizes(false);
    lbStacker->setFixedHeight(kItemHeight + 8);
    auto* stackerLayout = new QHBoxLayout(pnlStacker);
    stackerLayout->setContentsMargins(0, 0, 0, 0);
    stackerLayout->addWidget(lbStacker);

    model_ = new TtreeSinkModel(this);
    model_->SetCaptionFunction([this](const TtreeSinkModel& m, TtreeNode node) {
        return LibraryTreeCaption(tfJukeboxList, {m.Text(node), m.Data(node), m.Kind(node),
                                                  !m.Parent(node).IsNull(), m.ChildCount(node)});
    });
    model_->SetImageFunction(
        [this](const TtreeSinkModel& m, TtreeNode node, TtreeSinkModel::NodeState state) {
            const int image = SetNodeImage(node, state.Expanded, state.Selected);
            const bool tinted = state.Selected && m.Data(node) && m.Kind(node) != tnkAlbum;
            return TtreeSinkModel::NodeImage{icons_[static_cast<std::size_t>(image)], tinted};
        });

    tsQueue = new QSplitter(Qt::Vertical, client);
    tsQueue->setObjectName("tsQueue");
    tsLists = new QSplitter(Qt::Horizontal, tsQueue);
    tsLists->setObjectName("tsLists");
    tvJukeboxList = new TnoScrollTreeView(tsLists);
    tvJukeboxList->setObjectName("tvJukeboxList");
    tvJukeboxList->setHeaderHidden(true);
    tvJukeboxList->setModel(model_);
    tvJukeboxList->setSelectionMode(QAbstractItemView::SingleSelection);
    tvJukeboxList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvJukeboxList->setIndentation(kIndent);
    tvJukeboxList->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tvJukeboxList->SetDottedBranches(true);
    // Each row: the branch column, 4 pixels, the image, 3 pixels, the caption; a selected row highlights its
    // caption only.
    tvJukeboxList->Delegate().SetImageMargin(kImageMargin);
    tvJukeboxList->Delegate().SetHighlightCaptionOnly(true);
    tvJukeboxList->setContextMenuPolicy(Qt::ActionsContextMenu);
    tvJukeboxList->addAction(actnQueueQueueSelectedAlbum);
    tvJukeboxList->addAction(actnPlaylistActivateSelected);
    tvJukeboxList->installEventFilter(this);
    connect(tvJukeboxList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { Guarded([this] { TreeSelectionChanged(); }); });

    lbTrackList = new ThtmlListBox(tsLists);
    lbTrackList->setObjectName("lbTrackList");
    lbQueueList = new ThtmlListBox(tsQueue);
    lbQueueList->setObjectName("lbQueueList");
    for (ThtmlListBox* box : {lbTrackList, lbQueueList}) {
        box->SetMultiSelect(true);
        box->SetItemHeight(kItemHeight);
        box->SetImages(ilLists.get());
        box->SetShowHighlight(true);
        box->OnGetImageIndex = [](QObject*, int, int& image) { image = kSongImage; };
        box->OnGetSelectedImageIndex = box->OnGetImageIndex;
        box->setContextMenuPolicy(Qt::ActionsContextMenu);
        box->viewport()->installEventFilter(this);
    }
    lbQueueList->installEventFilter(this);
    const auto separator = [this] {
        auto* line = new QAction(this);
        line->setSeparator(true);
        return line;
    };
    lbTrackList->addActions({actnQueueAddSelected, actnQueueAddAll, separator(), actnSettingsShowTrackDetails,
                             actnSettingsShowTrackNumbers});
    lbQueueList->addActions({actnQueueMoveUp, actnQueueMoveDown, actnQueueMoveTo, actnQueueDelete,
                             alMain.actnQueueClear, separator(), actnSettingsShowTrackDetails});
    connect(lbTrackList, &QAbstractItemView::doubleClicked, this,
            [this] { Commands().Run(actnQueueAddSelected); });

    tsQueueList = new QSplitter(Qt::Horizontal, tsQueue);
    tsQueueList->setObjectName("tsQueueList");
    tsQueueList->addWidget(lbQueueList);
    pnlQueueRight = new QWidget(tsQueueList);
    pnlQueueRight->setObjectName("pnlQueueRight");
    tsQueueList->addWidget(pnlQueueRight);
    tsLists->addWidget(tvJukeboxList);
    tsLists->addWidget(lbTrackList);
    tsQueue->addWidget(tsLists);
    tsQueue->addWidget(tsQueueList);
    for (QSplitter* splitter : {tsQueue, tsLists, tsQueueList})
        splitter->setChildrenCollapsible(false);
    tsLists->setSizes({300, 300});
    tsQueue->setSizes({400, 160});
    tsQueueList->setSizes({500, 100});

    for (QWidget* panel : {pnlToolbar, pnlSongTitle, pnlControls, pnlStacker})
        layout->addWidget(panel);
    layout->addWidget(tsQueue, 1);
    setCentralWidget(client);
    ApplyFonts();
}

void TfrmJukeboxApp::BuildMenus()
{
    const auto menu = [this](const char* name) {
        return menuBar()->findChild<QMenu*>(platform::ToQString(name));
    };
    if (QMenu* settings = menu("Settings1")) {
        settings->addSeparator();
        settings->addActions({actnSettingsShowTrackNumbers, actnSettingsShowTrackDetails, actnSettingsSkins});
    }
    if (QMenu* queue = menu("Queue1")) {
        QAction* first = queue->actions().value(0);
        queue->insertActions(first, {actnQueueAddSelected, actnQueueAddAll, actnQueueQueueSelectedAlbum});
        queue->insertSeparator(first);
        queue->addSeparator();
        queue->addActions({actnQueueMoveUp, actnQueueMoveDown, actnQueueMoveTo, actnQueueDelete});
    }
    if (QMenu* view = menu("View1")) {
        QAction* first = view->actions().value(0);
        QMenu* list = new QMenu("Jukebox List", view);
        list->setObjectName("JukeboxList1");
        list->addActions({actnViewArtists, actnViewAlbums, actnViewTitles, actnViewCompilations,
                          actnViewPlaylists, actnViewInvalid});
        list->addSeparator();
        list->addActions({actnViewGenres, actnViewGenreArtists, actnViewGenreAlbums});
        view->insertMenu(first, list);
        view->insertAction(first, actnViewArtistsAllQuickToggle);
        view->insertSeparator(first);
        view->insertActions(first, {actnViewToolbar, actnViewSongTitle, actnViewStacker});
        view->insertSeparator(first);
    }
    if (QMenu* playlists = menu("Playlists1"))
        playlists->addAction(actnPlaylistActivateSelected);
}

void TfrmJukeboxApp::FormCreate()
{
    TfrmJukebox::FormCreate();
    viewer_.SetDisplayMode(kInitialDisplayMode);
    viewer_.SetJukeboxList(&GetJukeboxList());
    BuildMenus();
    MirrorMainMenu();
}

void TfrmJukeboxApp::FormDestroy()
{
    LibraryChanging();
    TfrmJukebox::FormDestroy();
}
