#include "app/windows/frmplaylisteditor.h"

#include "app/dialogs/frmprogress.h"
#include "app/dialogs/frmtaglistrules.h"
#include "app/qt/helpers/settingbounds.h"
#include "app/qt/services/dialogservice.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/windows/playlisteditorhost.h"
#include "controls/dragpayload.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/captions/librarytreecaption.h"
#include "core/captions/tagfonts.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/util/orvanexutils.h"
#include "core/util/promptservice.h"
#include "markup/taggedtext.h"
#include "platform/inifile.h"
#include "platform/scopeguard.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>

namespace {

constexpr const char* kM3UFilter = "M3U Playlist (*.m3u)|*.m3u";
constexpr const char* kEmptyLine = "The Playlist is Empty ...";
constexpr const char* kNoListLine = "No Playlist Selected ...";

std::string Printed(const char* format, long long value)
{
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string FolderOf(const std::string& fileName)
{
    return std::filesystem::path(fileName).parent_path().string();
}

void SetLines(ThtmlListBox& box, const TStringList<TaudioTag>& lines)
{
    ThtmlListItems& items = box.Items();
    platform::TUpdateGuard guard(items);
    items.Clear();
    for (const auto& line : lines)
        items.AddObject(EscapeMarkup(line.text), line.object);
}

std::vector<int> SelectedRows(const ThtmlListBox& box)
{
    std::vector<int> rows;
    for (int i = 0; i < box.Count(); ++i)
        if (box.Selected(i))
            rows.push_back(i);
    return rows;
}

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
    auto* action = new QAction(QString::fromUtf8(caption), this);
    action->setObjectName(name);
    action->setToolTip(QString::fromUtf8(hint));
    action->setStatusTip(QString::fromUtf8(hint));
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

// Links.

void TfrmPlaylistEditor::SetJukebox(TplaylistEditorHost* host)
{
    host_ = host;
    viewer_.SetJukeboxList(TreeLibrary());
    if (!host_) {
        // The main window goes before this window: nothing may link into its libraries any more.
        lbSongs->Items().Clear();
        model_->Clear();
        SetEditedList(nullptr);
    }
}

TcustomJukeboxList* TfrmPlaylistEditor::TreeLibrary() const
{
    return host_ ? host_->LibraryWithoutCDs() : nullptr;
}

TlocalJukebox* TfrmPlaylistEditor::PlayingJukebox() const
{
    TcustomlocalJukeboxList* library = library_.Get();
    return library ? library->Jukebox() : nullptr;
}

TaudioTagPlaylistList* TfrmPlaylistEditor::SavedPlaylists() const
{
    TcustomlocalJukeboxList* library = library_.Get();
    return library ? &library->Playlists() : nullptr;
}

TaudioTagPlaylistList* TfrmPlaylistEditor::StackerLists() const
{
    TlocalJukebox* jukebox = PlayingJukebox();
    return jukebox ? &jukebox->Stacker() : nullptr;
}

bool TfrmPlaylistEditor::IsSaved(const TaudioTagList* list) const
{
    const TaudioTagPlaylistList* lists = SavedPlaylists();
    return list && lists && lists->Contains(list);
}

bool TfrmPlaylistEditor::IsStacked(const TaudioTagList* list) const
{
    const TaudioTagPlaylistList* lists = StackerLists();
    return list && lists && lists->Contains(list);
}

TaudioTagList* TfrmPlaylistEditor::EditedList() const
{
    return IsSaved(editedList_) || IsStacked(editedList_) ? editedList_ : nullptr;
}

template <typename F>
void TfrmPlaylistEditor::WithHost(F&& work)
{
    if (host_)
        Guarded(std::forward<F>(work));
}

// Settings.

void TfrmPlaylistEditor::LoadSettings(const TIniFile& ini, const std::string& section)
{
    const QRect screen = QApplication::primaryScreen() ? QApplication::primaryScreen()->geometry() : QRect();
    const int width = ReadExtent(ini, section, "Width", this->width());
    const int height = ReadExtent(ini, section, "Height", this->height());
    const int left = ReadPosition(ini, section, "Left", (screen.width() - width) / 2);
    const int top = ReadPosition(ini, section, "Top", (screen.height() - height) / 2);
    rightPanelWidth_ = ReadExtent(ini, section, "RightPanelWidth", rightPanelWidth_, 0);
    trackListHeight_ = ReadExtent(ini, section, "TrackListHeight", trackListHeight_, 0);
    selectionHeight_ = ReadExtent(ini, section, "PLSelectionHeight", selectionHeight_, 0);
    const int rightWidth = rightPanelWidth_;
    const int trackHeight = trackListHeight_;
    const int pagesHeight = selectionHeight_;
    resize(width, height);
    move(left, top);
    const int inner = std::max(width, rightWidth + 1);
    splitter_->setSizes({inner - rightWidth, rightWidth});
    const int tall = std::max({height, trackHeight + 1, pagesHeight + 1});
    leftSplitter_->setSizes({tall - trackHeight, trackHeight});
    rightSplitter_->setSizes({pagesHeight, tall - pagesHeight});
    rules_.LoadSettings(ini, section);
}

void TfrmPlaylistEditor::SaveSettings(TIniFile& ini, const std::string& section) const
{
    ini.WriteInteger(section, "Width", width());
    ini.WriteInteger(section, "Height", height());
    ini.WriteInteger(section, "Left", x());
    ini.WriteInteger(section, "Top", y());
    ini.WriteInteger(section, "RightPanelWidth", rightPanelWidth_);
    ini.WriteInteger(section, "TrackListHeight", trackListHeight_);
    ini.WriteInteger(section, "PLSelectionHeight", selectionHeight_);
    rules_.SaveSettings(ini, section);
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
                QString::fromStdString(UnescapeMarkup(lbPlaylists->Items()[i])),
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

// The edited list.

void TfrmPlaylistEditor::SetEditedList(TaudioTagList* list)
{
    editedList_ = list;
    const int saved = host_ && SavedPlaylists() && list ? SavedPlaylists()->IndexOf(list) : -1;
    const int stacked = host_ && StackerLists() && list ? StackerLists()->IndexOf(list) : -1;
    QAction* toStacker = Action("actnAddToStacker");
    QAction* toPlaylists = Action("actnAddToplaylists");
    toStacker->setEnabled(list && stacked < 0 && !(host_ && host_->StackerLocked()));
    toPlaylists->setEnabled(list && saved < 0);
    if (toStacker->isEnabled())
        tbtnAddPlaylistTo->setDefaultAction(toStacker);
    else if (toPlaylists->isEnabled())
        tbtnAddPlaylistTo->setDefaultAction(toPlaylists);
    UpdateStatus();
}

std::string TfrmPlaylistEditor::ListSuffix() const
{
    // From where the list is, not from what is offered: the stacker's lock turns the offers off.
    if (!host_ || !editedList_)
        return {};
    if (SavedPlaylists() && SavedPlaylists()->IndexOf(editedList_) >= 0)
        return " (playlist collection)";
    if (StackerLists() && StackerLists()->IndexOf(editedList_) >= 0)
        return " (stacker)";
    return {};
}

void TfrmPlaylistEditor::FillPlaylistLines(const TaudioTagList* list)
{
    TStringList<TaudioTag> lines;
    if (list)
        list->FormatStrings(lines, tdfArtistTitleDuration, false);
    SetLines(*lbPlaylist, lines);
    if (!list)
        lbPlaylist->Items().Add(kNoListLine);
    else if (list->Count() == 0)
        lbPlaylist->Items().Add(kEmptyLine);
}

void TfrmPlaylistEditor::SetPlayModeBoxes(const TaudioTagList* list)
{
    const platform::TValueGuard guard(settingBoxes_, true);
    cbReset->setChecked(list && list->GetResetOnActivate());
    cbLoop->setChecked(list && list->GetLoop());
    cbRandom->setChecked(list && list->GetRandom());
}

void TfrmPlaylistEditor::SetStatusPanels(const std::string& title, int count, std::int64_t seconds,
                                         int artists)
{
    panels_[0]->setText(QString::fromStdString("List : " + title + ListSuffix()));
    panels_[1]->setText(QString::fromStdString(Printed("Count : %lld", count)));
    panels_[2]->setText(QString::fromStdString("Play Time : " + SecondsToHMS(seconds)));
    panels_[3]->setText(QString::fromStdString(Printed("Artist Count : %lld", artists)));
}

void TfrmPlaylistEditor::UpdateStatus()
{
    const TaudioTagList* list = EditedList();
    // Enabled while a list is edited, even an empty one: a disabled list box would take no drops.
    lbPlaylist->setEnabled(list != nullptr);
    for (const char* name : {"actnPlaylistsRename", "actnPlaylistsDelete"})
        Action(name)->setEnabled(list != nullptr);
    for (QCheckBox* box : {cbRandom, cbLoop, cbReset})
        box->setEnabled(list != nullptr);
    FillPlaylistLines(list);
    if (!list) {
        SetPlayModeBoxes(nullptr);
        SetStatusPanels("NONE", 0, 0, 0);
        return;
    }
    if (IsSaved(list))
        SetPlayModeBoxes(list);
    SetStatusPanels(list->Title(), list->Count(), list->TotalDuration(), list->ArtistCount());
}

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

QLabel* TfrmPlaylistEditor::Panel(int index) const
{
    return index >= 0 && index < 4 ? panels_[index] : nullptr;
}
