#include "app/windows/frmstackerlist.h"

#include "app/dialogs/frmprogress.h"
#include "app/qt/helpers/settingbounds.h"
#include "app/qt/services/exceptionboundary.h"
#include "app/windows/stackercartridges.h"
#include "app/windows/stackerhost.h"
#include "controls/dragpayload.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/imagelist.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/qtfont.h"
#include "controls/treesinkmodel.h"
#include "controls/windowplacement.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/util/orvanexutils.h"
#include "markup/taggedtext.h"
#include "platform/filesystem.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"
#include "platform/stringlist.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

namespace {

constexpr int kImageCount = TfrmStackerList::kPlaylistImage + 1;

QIcon NodeIcon(int image)
{
    QStyle* style = QApplication::style();
    switch (image) {
    case TfrmStackerList::kOpenImage:
        return style->standardIcon(QStyle::SP_DirOpenIcon);
    case TfrmStackerList::kAlbumImage:
    case TfrmStackerList::kStackerAlbumImage:
        return style->standardIcon(QStyle::SP_DriveCDIcon);
    case TfrmStackerList::kOpenAlbumImage:
        return style->standardIcon(QStyle::SP_DriveDVDIcon);
    case TfrmStackerList::kLeafImage:
        return style->standardIcon(QStyle::SP_FileIcon);
    case TfrmStackerList::kPlaylistImage:
        return style->standardIcon(QStyle::SP_FileDialogDetailedView);
    default:
        return style->standardIcon(QStyle::SP_DirClosedIcon);
    }
}

// The cartridge lines: the text 2 pixels in, framed left and right in the font colour, the last line closed
// below; the edit field shows the text alone.
class TcartridgeDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& palette = option.palette;
        painter->save();
        painter->fillRect(option.rect, selected ? palette.highlight() : palette.base());
        painter->setFont(option.font);
        painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
        painter->drawText(option.rect.adjusted(2, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data(Qt::DisplayRole).toString());
        painter->setPen(palette.text().color());
        const QRect r = option.rect;
        painter->drawLine(r.topLeft(), r.bottomLeft());
        painter->drawLine(r.topRight(), r.bottomRight());
        if (index.row() > 0 && index.row() == index.model()->rowCount() - 1)
            painter->drawLine(r.bottomLeft(), r.bottomRight());
        painter->restore();
    }
};

QAction* MakeAction(QObject* owner, const char* name, const char* caption, const char* hint)
{
    auto* action = new QAction(platform::ToQString(caption), owner);
    action->setObjectName(name);
    action->setToolTip(platform::ToQString(hint));
    action->setStatusTip(platform::ToQString(hint));
    return action;
}

} // namespace

TfrmStackerList::TfrmStackerList(QWidget* parent) : QDialog(parent)
{
    setObjectName("frmStackerList");
    setWindowTitle("Stacker");
    resize(620, 460);
    viewer_.SetDisplayMode(DisplayModes());

    images_ = new TImageList(16, 16, this);
    for (int i = 0; i < kImageCount; ++i)
        images_->Add(NodeIcon(i).pixmap(16, 16));

    model_ = new TtreeSinkModel(this);
    tvJukebox = new TnoScrollTreeView(this);
    tvJukebox->setObjectName("tvJukebox");
    tvJukebox->setHeaderHidden(true);
    tvJukebox->setModel(model_);
    tvJukebox->setSelectionMode(QAbstractItemView::SingleSelection);
    tvJukebox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    tvJukebox->SetDottedBranches(true);
    tvJukebox->SetAutoDrag(true);
    std::array<QIcon, kImageCount> icons;
    for (int i = 0; i < kImageCount; ++i)
        icons[static_cast<std::size_t>(i)] = NodeIcon(i);
    model_->SetImageFunction(
        [this, icons](const TtreeSinkModel& model, TtreeNode node, TtreeSinkModel::NodeState state) {
            const TtreeNode playlists = viewer_.GetPlaylistsNode();
            const bool underPlaylists = playlists && model.Parent(node) == playlists;
            const int image =
                TreeImageIndex(model.Kind(node), model.Data(node) != nullptr, model.ChildCount(node) > 0,
                               underPlaylists, state.Expanded, state.Selected);
            return TtreeSinkModel::NodeImage{icons[static_cast<std::size_t>(image)], false};
        });
    connect(tvJukebox, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        Guarded([this, &index] { AddNodeList(model_->NodeOf(index)); });
    });

    CreateActions();
    splitter_ = new QSplitter(Qt::Horizontal, this);
    splitter_->addWidget(tvJukebox);
    splitter_->addWidget(CreateRightPanel());
    splitter_->setStretchFactor(0, 1);
    splitter_->setSizes({width() - rightPanelWidth_, rightPanelWidth_});
    connect(splitter_, &QSplitter::splitterMoved, this,
            [this] { rightPanelWidth_ = splitter_->sizes().value(1, rightPanelWidth_); });

    sbStacker = new QStatusBar(this);
    sbStacker->setObjectName("sbStacker");
    sbStacker->setSizeGripEnabled(false);
    sbTracks = new QLabel("Tracks : 0", sbStacker);
    sbDuration = new QLabel("Play time : 0:00", sbStacker);
    sbAlbums = new QLabel("Albums : 0", sbStacker);
    for (QLabel* panel : {sbTracks, sbDuration, sbAlbums})
        sbStacker->addWidget(panel, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateMenus(this);
    layout->setMenuBar(menuBar_);
    layout->addWidget(tbStacker);
    layout->addWidget(splitter_, 1);
    layout->addWidget(sbStacker);
    ApplyTreeLook();
}

TfrmStackerList::~TfrmStackerList()
{
    // The views go before the model's nodes, so nothing asks for an image on the way out.
    model_->SetImageFunction(nullptr);
    lbStacker->OnGetImageIndex = nullptr;
    lbStacker->OnGetSelectedImageIndex = nullptr;
}

void TfrmStackerList::CreateActions()
{
    actnAddCD = MakeAction(this, "actnAddCD", "&Add", "Add an album to the Stacker.");
    actnEmptyStacker = MakeAction(this, "actnEmptyStacker", "&Empty Stacker", "Empty the Stacker.");
    actnDelete =
        MakeAction(this, "actnDelete", "&Delete", "Remove the selected track or album from the stacker.");
    actnSaveStacker =
        MakeAction(this, "actnSaveStacker", "&Save to File ...", "Save to stacker cartridge file.");
    actnLoadStacker =
        MakeAction(this, "actnLoadStacker", "&Load Cartridge ...", "Load a stacker cartridge file.");
    actnAddStacker =
        MakeAction(this, "actnAddStacker", "&Add Cartridge ...", "Add a stacker cartridge file.");
    actnCloseStacker = MakeAction(this, "actnCloseStacker", "&Close", "Close the Stacker Window");
    actnViewGenres = MakeAction(this, "actnViewGenres", "&Genres", "");
    actnViewGenres->setCheckable(true);
    // No shortcuts: the Delete key is the stacker list's own (on its release), and a shortcut shared with
    // the main window's actions would leave both deaf.
    connect(actnAddCD, &QAction::triggered, this, [this] { Guarded([this] { AddSelected(); }); });
    connect(actnEmptyStacker, &QAction::triggered, this, [this] { Guarded([this] { EmptyStacker(); }); });
    connect(actnDelete, &QAction::triggered, this, [this] { Guarded([this] { DeleteSelected(); }); });
    connect(actnSaveStacker, &QAction::triggered, this, [this] { Guarded([this] { SaveStacker(); }); });
    connect(actnLoadStacker, &QAction::triggered, this, [this] { Guarded([this] { LoadStacker(); }); });
    connect(actnAddStacker, &QAction::triggered, this, [this] { Guarded([this] { AddStacker(); }); });
    connect(actnCloseStacker, &QAction::triggered, this, &QDialog::reject);
    connect(actnViewGenres, &QAction::triggered, this,
            [this](bool checked) { Guarded([this, checked] { SetViewGenres(checked); }); });
}

void TfrmStackerList::CreateMenus(QWidget* toolBarParent)
{
    menuBar_ = new QMenuBar(this);
    QMenu* file = menuBar_->addMenu("&File");
    file->addAction(actnLoadStacker);
    file->addAction(actnAddStacker);
    file->addAction(actnSaveStacker);
    file->addSeparator();
    file->addAction(actnCloseStacker);
    QMenu* stacker = menuBar_->addMenu("&Stacker");
    stacker->addAction(actnAddCD);
    stacker->addAction(actnDelete);
    stacker->addSeparator();
    stacker->addAction(actnEmptyStacker);
    QMenu* view = menuBar_->addMenu("&View");
    view->addAction(actnViewGenres);

    tbStacker = new QToolBar(toolBarParent);
    tbStacker->setObjectName("tbStacker");
    tbStacker->addAction(actnLoadStacker);
    tbStacker->addAction(actnSaveStacker);
    tbStacker->addSeparator();
    tbStacker->addAction(actnAddCD);
    tbStacker->addAction(actnDelete);
    tbStacker->addAction(actnEmptyStacker);
}

QWidget* TfrmStackerList::CreateRightPanel()
{
    auto* panel = new QWidget(this);
    panel->setObjectName("pnlRight");
    lbStacker = new ThtmlListBox(panel);
    lbStacker->setObjectName("lbStacker");
    lbStacker->SetImages(images_);
    lbStacker->SetItemHeight(20);
    lbStacker->installEventFilter(this);
    auto image = [this](QObject*, int index, int& imageIndex) {
        imageIndex = LineIsAlbum(index) ? kStackerAlbumImage : kPlaylistImage;
    };
    lbStacker->OnGetImageIndex = image;
    lbStacker->OnGetSelectedImageIndex = image;
    lbStacker->SetDropNodeKinds(With(With(With(TnodeKinds{0}, tnkAlbum), tnkList), tnkGenre));
    lbStacker->OnDragOver = [this](QObject*, const TdragPayload& source, int, int, TdragState, bool& accept) {
        accept = source.Source() == tvJukebox && !source.Nodes().empty() &&
                 AddableList(source.Nodes().front().Handle) != nullptr;
    };
    lbStacker->OnDragDrop = [this](QObject*, const TdragPayload& source, int, int) {
        Guarded([this, &source] { AddNodeList(source.Nodes().front().Handle); });
    };

    lblLoadCartridge = new QLabel("Load Cartridge :", panel);
    lblLoadCartridge->setObjectName("lblLoadCartridge");
    cboCartridges = new QComboBox(panel);
    cboCartridges->setObjectName("cboCartridges");
    cboCartridges->setToolTip("Select a cartridge to load into the Stacker");
    cboCartridges->setItemDelegate(new TcartridgeDelegate(cboCartridges));
    cboCartridges->installEventFilter(this);
    lblLoadCartridge->setBuddy(cboCartridges);
    // Only a choice loads: arrowing through the lines with the list closed changes the current line alone.
    connect(cboCartridges, &QComboBox::activated, this,
            [this](int index) { Guarded([this, index] { ChooseCartridge(index); }); });

    auto* combo = new QHBoxLayout;
    combo->addWidget(lblLoadCartridge);
    combo->addWidget(cboCartridges, 1);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->addWidget(lbStacker, 1);
    layout->addLayout(combo);
    return panel;
}

void TfrmStackerList::SetJukebox(TcustomlocalJukeboxList* library, TstackerHost* host,
                                 TcustomJukeboxList* treeLibrary)
{
    library_.Reset(library);
    treeLibrary_.Reset(library != nullptr ? (treeLibrary != nullptr ? treeLibrary : library) : nullptr);
    host_ = library != nullptr ? host : nullptr;
    viewer_.SetJukeboxList(treeLibrary_.Get());
    cartridges_.reset();
    if (library != nullptr)
        cartridges_ = std::make_unique<TstackerCartridges>(
            library, [this] { return !host_ || !host_->StackerLocked(); });
    // The tree is another library's now: filled again at the next showing.
    model_->Clear();
    treeStale_ = true;
    globalDate_ = 0;
    playlistsDate_ = 0;
    lineIsAlbum_.clear();
    lbStacker->Items().Clear();
}

TcustomlocalJukeboxList* TfrmStackerList::Jukebox() const
{
    return library_.Get();
}

TcustomJukeboxList* TfrmStackerList::TreeLibrary() const
{
    return treeLibrary_.Get();
}

void TfrmStackerList::SetTreeFont(const TFontDesc& font)
{
    treeFont_ = font;
    if (Jukebox())
        ApplyTreeLook();
}

void TfrmStackerList::SetTreeColor(TColor color)
{
    treeColor_ = color;
    if (Jukebox())
        ApplyTreeLook();
}

void TfrmStackerList::ApplyTreeLook()
{
    if (treeFont_) {
        ApplyFontDesc(*tvJukebox, *treeFont_);
        lbStacker->SetLFont(*treeFont_);
    }
    const QColor color = ToQColor(treeColor_);
    QPalette palette = tvJukebox->palette();
    palette.setColor(QPalette::Base, color);
    tvJukebox->setPalette(palette);
    lbStacker->SetColor(treeColor_);
    QPalette combo = cboCartridges->palette();
    combo.setColor(QPalette::Base, color);
    if (treeFont_)
        combo.setColor(QPalette::Text, ToQColor(treeFont_->Color));
    cboCartridges->setPalette(combo);
    cboCartridges->view()->setPalette(combo);
}

TtreeViewDisplayModes TfrmStackerList::DisplayModes() const
{
    const auto modes = static_cast<TtreeViewDisplayModes>(dmAlbums | dmPlaylists | dmCompilations);
    return actnViewGenresChecked_ ? With(modes, dmGenres) : modes;
}

void TfrmStackerList::RefreshStacker()
{
    TstackerCartridges* cartridges = Cartridges();
    TaudioTagPlaylistList* stacker = cartridges != nullptr ? cartridges->Stacker() : nullptr;
    if (!stacker)
        return;
    TStringList<TaudioTagList> names;
    stacker->GetNames(names);
    std::vector<bool> albums;
    albums.reserve(static_cast<std::size_t>(names.Count()));
    ThtmlListItems& items = lbStacker->Items();
    const int selected = lbStacker->ItemIndex();
    {
        const platform::TUpdateGuard update(items);
        items.Clear();
        for (int i = 0; i < names.Count(); ++i) {
            bool album = false;
            items.Add(StackerLine(*names.Objects(i), album));
            albums.push_back(album);
        }
        lineIsAlbum_ = std::move(albums);
    }
    // The selection stays on its line, or on the last one when the list got shorter.
    if (items.Count() > 0 && selected >= 0)
        lbStacker->SetItemIndex(std::min(selected, items.Count() - 1));
    sbTracks->setText(platform::ToQString("Tracks : " + std::to_string(stacker->TotalSongs())));
    sbDuration->setText(platform::ToQString("Duration : " + SecondsToHMS(stacker->TotalDuration())));
    sbAlbums->setText(platform::ToQString("Albums : " + std::to_string(stacker->Count())));
}

std::string TfrmStackerList::StackerLine(const TaudioTagList& list, bool& album)
{
    std::string artist;
    // An empty list is no album, whatever its title.
    album = list.Count() > 0 && list.CheckAlbum(artist);
    std::string line = EscapeMarkup(list.Title());
    if (album)
        line += " - " + EscapeMarkup(artist);
    return line;
}

bool TfrmStackerList::LineIsAlbum(int line) const
{
    return line >= 0 && line < static_cast<int>(lineIsAlbum_.size()) &&
           lineIsAlbum_[static_cast<std::size_t>(line)];
}

void TfrmStackerList::LibraryChanging()
{
    model_->ClearData();
    treeStale_ = true;
}

void TfrmStackerList::LibraryChanged()
{
    // A hidden window fills its tree at the next showing.
    if (isVisible())
        RebuildTree();
    else
        treeStale_ = true;
}

void TfrmStackerList::RebuildTree()
{
    if (host_ != nullptr)
        host_->PrepareTreeLibrary();
    if (!Jukebox() || !TreeLibrary())
        return;
    TfrmProgress* progress = host_ != nullptr ? host_->ProgressWindow() : nullptr;
    viewer_.SetDisplayMode(DisplayModes());
    FillTreeWithProgress(viewer_, *model_, progress);
    treeStale_ = false;
}

void TfrmStackerList::FillCartridges()
{
    TstackerCartridges* cartridges = Cartridges();
    if (!cartridges)
        return;
    const QSignalBlocker quiet(cboCartridges);
    cboCartridges->clear();
    cboCartridges->addItem(kLoadLine);
    for (const std::string& name : cartridges->Names())
        cboCartridges->addItem(platform::ToQString(name));
    cboCartridges->setCurrentIndex(0);
}

void TfrmStackerList::LoadSettings(const TIniFile& ini, const std::string& section)
{
    const int w = ReadExtent(ini, section, "Width", 620);
    const int h = ReadExtent(ini, section, "Height", 460);
    const QScreen* screen = QApplication::primaryScreen();
    const QRect area = screen != nullptr ? screen->availableGeometry() : QRect(0, 0, w, h);
    const QPoint centred = CentredPosition(QSize(w, h), area, area);
    const int left = ReadPosition(ini, section, "Left", centred.x());
    const int top = ReadPosition(ini, section, "Top", centred.y());
    resize(w, h);
    move(left, top);
    rightPanelWidth_ = ReadExtent(ini, section, "RightPanelWidth", rightPanelWidth_, 0);
    splitter_->setSizes({std::max(w - rightPanelWidth_, 0), rightPanelWidth_});
    SetViewGenres(ini.ReadBool(section, "ViewGenres", false));
}

void TfrmStackerList::SaveSettings(TIniFile& ini, const std::string& section) const
{
    ini.WriteInteger(section, "Width", width());
    ini.WriteInteger(section, "Height", height());
    ini.WriteInteger(section, "Left", x());
    ini.WriteInteger(section, "Top", y());
    ini.WriteInteger(section, "RightPanelWidth", rightPanelWidth_);
    ini.WriteBool(section, "ViewGenres", GetViewGenres());
}

bool TfrmStackerList::GetViewGenres() const
{
    return Has(viewer_.DisplayMode(), dmGenres);
}

void TfrmStackerList::SetViewGenres(bool value)
{
    actnViewGenresChecked_ = value;
    actnViewGenres->setChecked(value);
    viewer_.SetDisplayMode(DisplayModes());
    // A hidden window (the settings are read at start) fills its tree at the next showing.
    LibraryChanged();
}

TaudioTagList* TfrmStackerList::AddableList(TtreeNode node) const
{
    if (!Jukebox() || model_->Kind(node) == tnkArtist)
        return nullptr;
    return model_->Data(node);
}

TtreeNode TfrmStackerList::SelectedNode() const
{
    const QModelIndexList selected = tvJukebox->selectionModel()->selectedIndexes();
    return model_->NodeOf(selected.isEmpty() ? tvJukebox->currentIndex() : selected.front());
}

bool TfrmStackerList::CanChangeStacker() const
{
    return Cartridges() != nullptr && Cartridges()->Allowed();
}

bool TfrmStackerList::AddNodeList(TtreeNode node)
{
    TaudioTagList* list = AddableList(node);
    if (!list || !CanChangeStacker())
        return false;
    const bool added = cartridges_->AddListToStacker(*list);
    RefreshStacker();
    return added;
}

bool TfrmStackerList::AddSelected()
{
    return AddNodeList(SelectedNode());
}

bool TfrmStackerList::DeleteSelected()
{
    if (!CanChangeStacker())
        return false;
    TaudioTagPlaylistList& stacker = *cartridges_->Stacker();
    const int line = lbStacker->ItemIndex();
    // The line is looked up again by its position and text: a stacker changed behind this window's back
    // gives up no list other than the one the user sees.
    TaudioTagList* list = line >= 0 && line < lbStacker->Count() ? stacker.GetItem(line) : nullptr;
    bool album = false;
    const bool current = list != nullptr && StackerLine(*list, album) == lbStacker->Items()[line];
    if (current)
        stacker.Remove(list);
    RefreshStacker();
    return current;
}

bool TfrmStackerList::EmptyStacker()
{
    if (!CanChangeStacker())
        return false;
    cartridges_->Stacker()->Clear();
    RefreshStacker();
    return true;
}

bool TfrmStackerList::LoadStacker()
{
    if (!Cartridges())
        return false;
    const bool loaded = cartridges_->LoadCartridge(this, false);
    RefreshStacker();
    return loaded;
}

bool TfrmStackerList::AddStacker()
{
    if (!Cartridges())
        return false;
    const bool loaded = cartridges_->LoadCartridge(this, true);
    RefreshStacker();
    return loaded;
}

bool TfrmStackerList::SaveStacker()
{
    if (!Cartridges())
        return false;
    const bool saved = !cartridges_->SaveCartridge(this).empty();
    if (saved)
        FillCartridges();
    return saved;
}

bool TfrmStackerList::ChooseCartridge(int index)
{
    if (!Cartridges() || index < 0 || index >= cboCartridges->count())
        return false;
    const std::string file = cartridges_->FileOf(platform::FromQString(cboCartridges->itemText(index)));
    if (index == 0 || !platform::FileExists(file))
        return LoadStacker();
    const bool loaded = cartridges_->LoadFile(file, false);
    RefreshStacker();
    return loaded;
}

int TfrmStackerList::TreeImageIndex(TtreeNodeKind kind, bool hasData, bool hasChildren, bool underPlaylists,
                                    bool expanded, bool selected)
{
    if (kind == tnkAlbum)
        return expanded || selected ? kOpenAlbumImage : kAlbumImage;
    if (!hasData && !hasChildren)
        return kLeafImage;
    if (hasData && underPlaylists)
        return kPlaylistImage;
    return expanded ? kOpenImage : kClosedImage;
}

std::string TfrmStackerList::StatusText(int panel) const
{
    const std::array<QLabel*, 3> panels = {sbTracks, sbDuration, sbAlbums};
    if (panel < 0 || panel >= 3)
        return {};
    return platform::FromQString(panels[static_cast<std::size_t>(panel)]->text());
}

QList<QAction*> TfrmStackerList::Actions() const
{
    return {actnAddCD,       actnEmptyStacker, actnDelete,       actnSaveStacker,
            actnLoadStacker, actnAddStacker,   actnCloseStacker, actnViewGenres};
}

void TfrmStackerList::showEvent(QShowEvent* event)
{
    Guarded([this] {
        ApplyTreeLook();
        if (host_ != nullptr)
            host_->PrepareTreeLibrary();
        if (TcustomJukeboxList* library = TreeLibrary(); library && Jukebox()) {
            const TDateTime global = library->GetGlobalFileDate();
            const TDateTime playlists = library->GetPlaylistsFileDate();
            if (global != globalDate_ || playlists != playlistsDate_ || treeStale_) {
                globalDate_ = global;
                playlistsDate_ = playlists;
                RebuildTree();
            }
            RefreshStacker();
        }
        FillCartridges();
    });
    QDialog::showEvent(event);
}

bool TfrmStackerList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lbStacker && event->type() == QEvent::KeyRelease &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        Guarded([this] { DeleteSelected(); });
        return true;
    }
    if (watched == cboCartridges && event->type() == QEvent::KeyPress)
        return StepCartridge(static_cast<QKeyEvent*>(event)->key());
    // The wheel over the closed combo would load every line it passes.
    if (watched == cboCartridges && event->type() == QEvent::Wheel)
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TfrmStackerList::StepCartridge(int key)
{
    // Qt's combo reports each line the arrow keys reach as chosen; here they only move the current line,
    // and Enter chooses it.
    const int current = cboCartridges->currentIndex();
    const int last = cboCartridges->count() - 1;
    int next = current;
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        next = current - 1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        next = current + 1;
        break;
    case Qt::Key_Home:
    case Qt::Key_PageUp:
        next = 0;
        break;
    case Qt::Key_End:
    case Qt::Key_PageDown:
        next = last;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Guarded([this, current] { ChooseCartridge(current); });
        return true;
    default:
        return false;
    }
    cboCartridges->setCurrentIndex(std::clamp(next, 0, std::max(last, 0)));
    return true;
}
