#include "app/windows/frmjukeboxapp.h"

#include "app/dialogs/frmprogress.h"
#include "app/qt/exceptionboundary.h"
#include "app/skins/pixelfont.h"
#include "app/windows/frmstackerlist.h"
#include "controls/dragpayload.h"
#include "controls/htmlitemdelegate.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/imagelist.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/qtfont.h"
#include "controls/treesinkmodel.h"
#include "core/captions/librarytreecaption.h"
#include "core/groupings/audiotaggenrelist.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/customlocaljukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/songs/audiotag.h"
#include "core/songs/audiotaglist.h"
#include "markup/taggedtext.h"
#include "platform/inifile.h"
#include "platform/scopeguard.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QStyle>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kPreferences = "Preferences";
constexpr const char* kView = "View";
constexpr int kIndent = 19;
constexpr int kImageMargin = 4;
constexpr int kItemHeight = 16;

struct TviewKey
{
    const char* key;
    TtreeViewDisplayMode mode;
};
constexpr TviewKey kViewKeys[] = {
    {"Artists", dmArtists},     {"Albums", dmAlbums},
    {"Titles", dmTitles},       {"Compilations", dmCompilations},
    {"Playlists", dmPlaylists}, {"Invalid", dmInvalid},
    {"Genres", dmGenres},
};

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
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(QString::fromUtf8(name));
    if (shortcut)
        action->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
    action->setCheckable(checkable);
    if (*hint)
        TjukeboxActions::SetHint(action, QString::fromUtf8(hint));
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
        return menuBar()->findChild<QMenu*>(QString::fromUtf8(name));
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

// ---- Settings

void TfrmJukeboxApp::LoadSettings(const TIniFile& ini)
{
    TfrmJukebox::LoadSettings(ini);
    SetShowTrackDetails(ini.ReadBool(kPreferences, "ShowTrackDetails", false));
    actnSettingsShowTrackNumbers->setChecked(ini.ReadBool(kPreferences, "ShowTrackNumbers", true));
    SetStackerVisible(ini.ReadBool("Stacker", "Visible", actnViewStacker->isChecked()));
    savedStackerVisible_ = GetStackerVisible();
    SetToolbarVisible(ini.ReadBool("Toolbar", "Visible", actnViewToolbar->isChecked()));
    savedToolbarVisible_ = GetToolbarVisible();
    SetSongTitleVisible(ini.ReadBool("SongTitle", "Visible", true));
    TtreeViewDisplayModes mode = 0;
    for (const TviewKey& view : kViewKeys)
        if (ini.ReadBool(kView, view.key, true))
            mode = With(mode, view.mode);
    TaudioTagGenreList& genres = GetJukeboxList().Genres();
    genres.SetUseArtists(ini.ReadBool(kView, "GenreArtists", true));
    genres.SetUseAlbums(ini.ReadBool(kView, "GenreAlbums", true));
    actnViewGenreArtists->setChecked(genres.UseArtists());
    actnViewGenreAlbums->setChecked(genres.UseAlbums());
    actnViewGenreAlbums->setEnabled(genres.UseArtists());
    SetDisplayMode(mode);
    RefreshQueue();
}

void TfrmJukeboxApp::SaveSettings(TIniFile& ini)
{
    TfrmJukebox::SaveSettings(ini);
    ini.WriteBool(kPreferences, "ShowTrackDetails", showTrackDetails_);
    ini.WriteBool(kPreferences, "ShowTrackNumbers", GetShowTrackNumbers());
    // While party play hides a panel, the visibility the user chose is the one kept.
    ini.WriteBool("Stacker", "Visible", partyHidden_ ? savedStackerVisible_ : GetStackerVisible());
    ini.WriteBool("Toolbar", "Visible", partyHidden_ ? savedToolbarVisible_ : GetToolbarVisible());
    ini.WriteBool("SongTitle", "Visible", GetSongTitleVisible());
    const TtreeViewDisplayModes mode = CheckedDisplayMode();
    for (const TviewKey& view : kViewKeys)
        ini.WriteBool(kView, view.key, Has(mode, view.mode));
    ini.WriteBool(kView, "GenreArtists", actnViewGenreArtists->isChecked());
    ini.WriteBool(kView, "GenreAlbums", actnViewGenreAlbums->isChecked());
}

// ---- Panels and views

bool TfrmJukeboxApp::GetStackerVisible() const
{
    return !pnlStacker->isHidden();
}

void TfrmJukeboxApp::SetStackerVisible(bool on)
{
    pnlStacker->setVisible(on);
    actnViewStacker->setChecked(on);
}

bool TfrmJukeboxApp::GetToolbarVisible() const
{
    return !pnlToolbar->isHidden();
}

void TfrmJukeboxApp::SetToolbarVisible(bool on)
{
    pnlToolbar->setVisible(on);
    actnViewToolbar->setChecked(on);
}

bool TfrmJukeboxApp::GetSongTitleVisible() const
{
    return !pnlSongTitle->isHidden();
}

void TfrmJukeboxApp::SetSongTitleVisible(bool on)
{
    pnlSongTitle->setVisible(on);
    actnViewSongTitle->setChecked(on);
}

bool TfrmJukeboxApp::GetShowTrackNumbers() const
{
    return actnSettingsShowTrackNumbers->isChecked();
}

void TfrmJukeboxApp::SetShowTrackNumbers(bool on)
{
    actnSettingsShowTrackNumbers->setChecked(on);
    RefreshQueue();
    FillTrackList(SelectedNode());
}

void TfrmJukeboxApp::SetShowTrackDetails(bool on)
{
    showTrackDetails_ = on;
    actnSettingsShowTrackDetails->setChecked(on);
}

TtreeViewDisplayModes TfrmJukeboxApp::CheckedDisplayMode() const
{
    const std::pair<QAction*, TtreeViewDisplayMode> views[] = {
        {actnViewArtists, dmArtists},
        {actnViewTitles, dmTitles},
        {actnViewAlbums, dmAlbums},
        {actnViewPlaylists, dmPlaylists},
        {actnViewCompilations, dmCompilations},
        {actnViewInvalid, dmInvalid},
        {actnViewGenres, dmGenres},
    };
    TtreeViewDisplayModes mode = 0;
    for (const auto& [action, bit] : views)
        if (action->isChecked())
            mode = With(mode, bit);
    return mode;
}

void TfrmJukeboxApp::SetDisplayMode(TtreeViewDisplayModes mode)
{
    viewer_.SetDisplayMode(mode);
    actnViewArtists->setChecked(Has(mode, dmArtists));
    actnViewTitles->setChecked(Has(mode, dmTitles));
    actnViewAlbums->setChecked(Has(mode, dmAlbums));
    actnViewPlaylists->setChecked(Has(mode, dmPlaylists));
    actnViewCompilations->setChecked(Has(mode, dmCompilations));
    actnViewInvalid->setChecked(Has(mode, dmInvalid));
    actnViewGenres->setChecked(Has(mode, dmGenres));
    RebuildTree();
}

void TfrmJukeboxApp::ToggleView(TtreeViewDisplayMode mode)
{
    viewer_.ToggleDisplayMode(mode);
    SetDisplayMode(viewer_.DisplayMode());
}

void TfrmJukeboxApp::QuickToggleView()
{
    const TtreeViewDisplayModes current = viewer_.DisplayMode();
    const auto rest = static_cast<TtreeViewDisplayModes>(current & ~(dmArtists | dmTitles | dmAlbums));
    const auto artistsAlbums = static_cast<TtreeViewDisplayModes>(rest | dmArtists | dmAlbums);
    SetDisplayMode(current == artistsAlbums ? With(rest, dmTitles) : artistsAlbums);
}

bool TfrmJukeboxApp::GetGenreArtists() const
{
    return GetJukeboxList().Genres().UseArtists();
}

void TfrmJukeboxApp::SetGenreArtists(bool on)
{
    GetJukeboxList().Genres().SetUseArtists(on);
    actnViewGenreArtists->setChecked(on);
    actnViewGenreAlbums->setEnabled(on);
    SetDisplayMode(GetDisplayMode());
}

bool TfrmJukeboxApp::GetGenreAlbums() const
{
    return GetJukeboxList().Genres().UseAlbums();
}

void TfrmJukeboxApp::SetGenreAlbums(bool on)
{
    GetJukeboxList().Genres().SetUseAlbums(on);
    actnViewGenreAlbums->setChecked(on);
    SetDisplayMode(GetDisplayMode());
}

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

// ---- Drag and drop

void TfrmJukeboxApp::BindDragAndDrop()
{
    tvJukeboxList->SetAutoDrag(true);
    lbTrackList->SetAutoDrag(true);
    lbQueueList->SetAutoDrag(true);
    lbQueueList->SetDropNodeKinds(With(0, tnkAlbum));

    tvJukeboxList->OnStartDrag = [this](QObject*, TdragPayload& drag) {
        treeDragIsAlbum_ = std::all_of(drag.Nodes().begin(), drag.Nodes().end(),
                                       [](const TdragPayload::Node& node) { return node.Kind == tnkAlbum; });
    };
    tvJukeboxList->OnEndDrag = [this](QObject*, QObject*, int, int) { treeDragIsAlbum_ = false; };
    lbTrackList->OnStartDrag = [this](QObject*, TdragPayload& drag) {
        drag.SetCursor(lbTrackList->SelCount() < 2 ? TdragCursor::Drag : TdragCursor::MultiDrag);
    };
    lbQueueList->OnStartDrag = [this](QObject*, TdragPayload& drag) {
        queueDragSource_ = drag.Rows().empty() ? lbQueueList->ItemIndex() : drag.Rows().front();
    };
    lbQueueList->OnEndDrag = [this](QObject*, QObject*, int, int) { queueDragSource_ = -1; };
    lbQueueList->OnDragOver = [this](QObject*, const TdragPayload& source, int x, int y, TdragState state,
                                     bool& accept) {
        accept = QueueAccepts(source);
        if (accept && state == TdragState::Move && source.Source() == lbQueueList) {
            const int row = lbQueueList->ItemAtPos(QPoint(x, y), true);
            if (row >= 0)
                lbQueueList->SetItemIndex(row);
        }
    };
    lbQueueList->OnDragDrop = [this](QObject*, const TdragPayload& source, int x, int y) {
        Guarded([&] { QueueDrop(source, x, y); });
    };
}

bool TfrmJukeboxApp::QueueAccepts(const TdragPayload& source) const
{
    if (!source.IsCurrent())
        return false;
    if (source.Source() == lbQueueList)
        return !source.Rows().empty() && PartyPlayGate().Allows(TpartyPlayOption::QueueControls);
    if (source.Source() == lbTrackList)
        return !source.Rows().empty();
    if (source.Source() == tvJukeboxList)
        return !source.Nodes().empty() && source.NodesIn(With(0, tnkAlbum));
    return false;
}

void TfrmJukeboxApp::QueueDrop(const TdragPayload& source, int x, int y)
{
    if (!QueueAccepts(source))
        return;
    // A move within the queue is a queue control; songs from the library are added like Add Selected.
    const TpartyPlayOption option =
        source.Source() == lbQueueList ? TpartyPlayOption::QueueControls : TpartyPlayOption::None;
    Commands().RunGated(option, false, [&] { DropOnQueue(source, x, y); });
}

void TfrmJukeboxApp::DropOnQueue(const TdragPayload& source, int x, int y)
{
    if (source.Source() == lbQueueList) {
        const int count = GetJukebox().Queue().Count();
        const int from = source.Rows().front();
        int to = lbQueueList->ItemAtPos(QPoint(x, y), true);
        if (to < 0)
            to = count - 1;
        if (from < 0 || from >= count || to < 0)
            return;
        MoveQueueItem(from, to, true);
        SelectQueueLine(to);
    } else if (source.Source() == lbTrackList) {
        QueueRows(source.Rows());
    } else {
        for (const TdragPayload::Node& node : source.Nodes())
            if (TaudioTagList* album = model_->Data(node.Handle);
                album && model_->Kind(node.Handle) == tnkAlbum)
                GetLocalJukeboxList().QueueList(*album, true);
    }
}

// ---- Keys and hints

std::string TfrmJukeboxApp::TrackDetails(const TaudioTag& song)
{
    const std::uint32_t seconds = song.Duration();
    char length[32];
    std::snprintf(length, sizeof length, "%u:%02u", seconds / 60, seconds % 60);
    return "File : " + song.Filename() + "\rArtist : " + song.Artist() + "\rTitle : " + song.Title() +
           "\rAlbum : " + song.Album() + "\rLength : " + length +
           "\rBit Rate : " + std::to_string(song.BitRate()) +
           "kbps\rSample Rate : " + std::to_string(song.SampleRate()) + "Hz";
}

const TaudioTag* TfrmJukeboxApp::SongAt(const ThtmlListBox& box, const QPoint& at) const
{
    const int row = box.ItemAtPos(at, true);
    return row < 0 ? nullptr : static_cast<const TaudioTag*>(box.Items().Objects(row));
}

bool TfrmJukeboxApp::eventFilter(QObject* watched, QEvent* event)
{
    // A shortcut that opens a window (Ctrl+I, Ctrl+F) takes the focus before Ctrl is let go: the release
    // never comes here.
    if (watched == tvJukeboxList && event->type() == QEvent::FocusOut)
        modifierHeld_ = false;
    if (watched == tvJukeboxList &&
        (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool modifier = key->key() == Qt::Key_Control || key->key() == Qt::Key_Shift;
        if (modifier) {
            modifierHeld_ = event->type() == QEvent::KeyPress;
        } else if (event->type() == QEvent::KeyPress && !modifierHeld_ && key->text().size() == 1) {
            const QChar ch = key->text().front();
            if (ch.isLetterOrNumber() && ch.unicode() < 128) {
                Guarded([&] { JumpToAlpha(static_cast<char>(ch.unicode())); });
                return true;
            }
        }
    } else if (watched == lbQueueList && event->type() == QEvent::KeyRelease &&
               static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        actnQueueDelete->trigger();
        return true;
    } else if (event->type() == QEvent::ToolTip && showTrackDetails_) {
        for (ThtmlListBox* box : {lbTrackList, lbQueueList}) {
            if (watched != box->viewport())
                continue;
            const auto* help = static_cast<QHelpEvent*>(event);
            const TaudioTag* song = SongAt(*box, help->pos());
            QString text = song ? QString::fromStdString(TrackDetails(*song)) : QString();
            text.replace(QChar('\r'), QChar('\n'));
            QToolTip::showText(help->globalPos(), text, box);
            return true;
        }
    }
    return TfrmJukebox::eventFilter(watched, event);
}

// ---- Party play and start-up

void TfrmJukeboxApp::ApplyPartyPlayState()
{
    TfrmJukebox::ApplyPartyPlayState();
    if (IsPartyPlay()) {
        if (!partyHidden_) {
            savedToolbarVisible_ = GetToolbarVisible();
            savedStackerVisible_ = GetStackerVisible();
        }
        partyHidden_ = true;
        SetToolbarVisible(false);
        // Guests see the stacker whenever they may use it, whatever the host's own view was.
        SetStackerVisible(!PartyPlayOption(TpartyPlayOption::StackerControl));
    } else if (partyHidden_) {
        partyHidden_ = false;
        SetToolbarVisible(savedToolbarVisible_);
        SetStackerVisible(savedStackerVisible_);
    }
    ApplyLocks();
    TreeSelectionChanged();
}

void TfrmJukeboxApp::ApplyLocks()
{
    const bool party = IsPartyPlay();
    // Move To joins the command table only in the concrete window; the other queue commands are the
    // command table's.
    actnQueueMoveTo->setEnabled(!(party && PartyPlayOption(TpartyPlayOption::QueueControls)));
    actnViewToolbar->setEnabled(!party);
    actnViewStacker->setEnabled(!(party && PartyPlayOption(TpartyPlayOption::StackerControl)));
    actnSettingsSkins->setEnabled(!party);
}

void TfrmJukeboxApp::Startup()
{
    PushTreeLook();
    TfrmJukebox::Startup();
    tvJukeboxList->setFocus();
}
