#include "app/dialogs/frmmusicsearch.h"

#include "app/qt/helpers/guiutils.h"
#include "app/qt/helpers/mediafolders.h"
#include "app/qt/services/dialogservice.h"
#include "app/qt/services/exceptionboundary.h"
#include "core/jukebox/customjukeboxlist.h"
#include "core/songs/audiotaglist.h"
#include "core/util/promptservice.h"
#include "platform/filesystem.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"
#include "platform/stringlist.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

const char* const kRemoveMissingHint =
    "If the scan does not find files that are already in the library then they will be removed from the "
    "library.";

int ClampToInt(std::uint32_t value)
{
    return static_cast<int>(std::min<std::uint32_t>(value, std::numeric_limits<int>::max()));
}

QPushButton* MakeButton(const char* name, const char* text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel* MakeLabel(const char* name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(name);
    return label;
}

// A check box with its note beside it, as one row.
QHBoxLayout* OptionRow(QCheckBox* box, const char* note, QWidget* parent)
{
    auto* row = new QHBoxLayout;
    row->addWidget(box);
    row->addWidget(MakeLabel(nullptr, note, parent));
    row->addStretch(1);
    return row;
}

// True when name lies inside folder (a folder as NormalizeMediaFolder gives it).
bool IsInside(const std::string& name, const std::string& folder)
{
    if (folder == "/")
        return !name.empty() && name.front() == '/';
    return name.size() > folder.size() && name.compare(0, folder.size(), folder) == 0 &&
           name[folder.size()] == '/';
}

bool IsInsideAny(const std::string& name, const TStrings& folders)
{
    return std::any_of(folders.begin(), folders.end(),
                       [&name](const auto& folder) { return IsInside(name, folder.text); });
}

// A media folder a scan cannot trust now: gone, unreadable, or (listed) empty while the library holds
// songs from it (an unplugged disc's mount point, a share not mounted). Scanning it would read it as "no
// songs". A folder the user picked by hand is trusted when it is empty.
bool IsUnreachable(const std::string& folder, const TaudioTagList& library, bool listed)
{
    bool anything = false;
    const bool readable = platform::ForEachEntry(folder, "*", platform::faAnyFile, [&anything](const auto&) {
        anything = true;
        return false;
    });
    if (!readable)
        return true;
    if (anything || !listed)
        return false;
    return std::any_of(library.Items().begin(), library.Items().end(),
                       [&folder](const TaudioTag* song) { return IsInside(song->Filename(), folder); });
}

void TellSkipped(const TStrings& skipped)
{
    std::string text =
        skipped.Count() == 1
            ? "This media folder is missing, unreadable or empty (an unplugged disc, a share not "
              "mounted) and was skipped; its songs stay in the library:"
            : "These media folders are missing, unreadable or empty (an unplugged disc, a share not "
              "mounted) and were skipped; their songs stay in the library:";
    for (int i = 0; i < skipped.Count(); ++i)
        text += "\r" + skipped[i];
    ShowMessageBox(text, "Media Search", TmessageButtons::Ok, TmessageIcon::Warning);
}

} // namespace

// The scan view for the life of a scan: hourglass, busy flag, controls disabled. Leaving it, also through a
// failure, puts the dialog back into its normal view.
class TfrmMusicSearch::TscanView
{
public:
    explicit TscanView(TfrmMusicSearch& form) : form_(form)
    {
        if (form.busyGuard_)
            busy_ = std::make_unique<TbusyGuard::TScope>(*form.busyGuard_);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        form_.scanning_ = true;
        form_.EnterScanView();
    }
    ~TscanView()
    {
        form_.ShowOptions();
        form_.scanning_ = false;
        QApplication::restoreOverrideCursor();
        // Last, through a local: a close request held meanwhile may run now.
        const std::unique_ptr<TbusyGuard::TScope> leaving = std::move(busy_);
    }
    TscanView(const TscanView&) = delete;
    TscanView& operator=(const TscanView&) = delete;

private:
    TfrmMusicSearch& form_;
    std::unique_ptr<TbusyGuard::TScope> busy_;
};

TfrmMusicSearch::TfrmMusicSearch(TcustomJukeboxList& library, QWidget* parent)
    : QDialog(parent), library_(library), atlSearch_(std::make_unique<TaudioTagList>())
{
    setObjectName("frmMusicSearch");
    setWindowTitle("Media Search");
    ProcessMessages = [] { QCoreApplication::processEvents(); };

    pcMediaSearch = new QTabWidget(this);
    pcMediaSearch->setObjectName("pcMediaSearch");
    BuildSearchPage();
    BuildMasksPage();

    btnClose = new QPushButton("&Close", this);
    btnClose->setObjectName("btnClose");
    btnClose->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcMediaSearch);
    layout->addLayout(buttons);

    BindSearchList();
    connect(btnClose, &QPushButton::clicked, this, [this] { close(); });
    connect(btnAddFolder, &QPushButton::clicked, this, [this] { AddFolder(); });
    connect(btnDeleteFolder, &QPushButton::clicked, this, [this] { DeleteFolder(); });
    connect(btnClearFolders, &QPushButton::clicked, this, [this] { ClearFolders(); });
    connect(btnStartFull, &QPushButton::clicked, this, [this] { ScanAll(); });
    connect(btnStartSelected, &QPushButton::clicked, this, [this] { ScanSelected(); });
    connect(btnSubScan, &QPushButton::clicked, this, [this] { ScanSubFolder(); });

    resize(560, 470);
    ShowOptions();
    pcMediaSearch->setCurrentIndex(0);
}

TfrmMusicSearch::~TfrmMusicSearch() = default;

void TfrmMusicSearch::BuildSearchPage()
{
    tsMediaSearch = new QWidget;
    tsMediaSearch->setObjectName("tsMediaSearch");
    pcMediaSearch->addTab(tsMediaSearch, "Media Search");

    gbFolders = new QGroupBox("Available Folders", tsMediaSearch);
    gbFolders->setObjectName("gbFolders");
    clbFolders = new QListWidget(gbFolders);
    clbFolders->setObjectName("clbFolders");
    btnStartSelected = MakeButton("btnStartSelected", "Scan Selected", gbFolders);
    btnStartFull = MakeButton("btnStartFull", "Scan All", gbFolders);
    btnSubScan = MakeButton("btnSubScan", "Scan Sub Folder", gbFolders);
    btnAddFolder = MakeButton("btnAddFolder", "&Add", gbFolders);
    btnDeleteFolder = MakeButton("btnDeleteFolder", "&Delete", gbFolders);
    btnClearFolders = MakeButton("btnClearFolders", "&Clear", gbFolders);
    auto* folderButtons = new QVBoxLayout;
    for (QPushButton* button : {btnStartSelected, btnStartFull, btnSubScan})
        folderButtons->addWidget(button);
    folderButtons->addSpacing(12);
    for (QPushButton* button : {btnAddFolder, btnDeleteFolder, btnClearFolders})
        folderButtons->addWidget(button);
    folderButtons->addStretch(1);
    auto* folders = new QHBoxLayout(gbFolders);
    folders->addWidget(clbFolders, 1);
    folders->addLayout(folderButtons);
    EnableWithHighlight(clbFolders, {btnSubScan, btnDeleteFolder});

    gbOptions = new QGroupBox("Options", tsMediaSearch);
    gbOptions->setObjectName("gbOptions");
    cbRemoveMissing = new QCheckBox("Remove Missing Files", gbOptions);
    cbRemoveMissing->setObjectName("cbRemoveMissing");
    cbRemoveMissing->setToolTip(kRemoveMissingHint);
    cbFullScan = new QCheckBox("Full ReScan", gbOptions);
    cbFullScan->setObjectName("cbFullScan");
    cbCloseWhenDone = new QCheckBox("Close when finished", gbOptions);
    cbCloseWhenDone->setObjectName("cbCloseWhenDone");
    cbCloseWhenDone->setToolTip(kRemoveMissingHint);
    cbCloseWhenDone->setChecked(true);
    auto* options = new QVBoxLayout(gbOptions);
    options->addLayout(OptionRow(
        cbRemoveMissing, " (use this if you have removed or moved files in your Music Folders)", gbOptions));
    options->addLayout(OptionRow(
        cbFullScan, " (use this if you have removed paths from your Music Folders List)", gbOptions));
    options->addWidget(MakeLabel(nullptr, "* Only for \"Scan All\"", gbOptions));
    options->addWidget(cbCloseWhenDone);

    gbSearching = new QGroupBox("Searching ...", tsMediaSearch);
    gbSearching->setObjectName("gbSearching");
    lblCurrentDir = MakeLabel("lblCurrentDir", "", gbSearching);
    lblCurrentDir->setMinimumWidth(1);
    lblNewFilesFound = MakeLabel("lblNewFilesFound", "0", gbSearching);
    lblModFilesFound = MakeLabel("lblModFilesFound", "0", gbSearching);
    lblAction = MakeLabel("lblAction", "Action : None", gbSearching);
    lblProgressCount = MakeLabel("lblProgressCount", "0/0", gbSearching);
    pgbMusic = new QProgressBar(gbSearching);
    pgbMusic->setObjectName("pgbMusic");
    pgbMusic->setRange(0, 100);
    pgbMusic->setValue(0);
    pgbMusic->setTextVisible(false);
    auto* searching = new QGridLayout(gbSearching);
    searching->addWidget(MakeLabel(nullptr, "Current Dir :", gbSearching), 0, 0);
    searching->addWidget(lblCurrentDir, 0, 1);
    searching->addWidget(MakeLabel(nullptr, "New Files Found :", gbSearching), 1, 0);
    searching->addWidget(lblNewFilesFound, 1, 1);
    searching->addWidget(MakeLabel(nullptr, "Modified Files Found :", gbSearching), 2, 0);
    searching->addWidget(lblModFilesFound, 2, 1);
    searching->addWidget(lblAction, 3, 0, 1, 2);
    searching->addWidget(MakeLabel(nullptr, "Progress :", gbSearching), 4, 0);
    searching->addWidget(lblProgressCount, 4, 1);
    searching->addWidget(pgbMusic, 5, 0, 1, 2);
    searching->setColumnStretch(1, 1);
    searching->setRowStretch(6, 1);

    auto* page = new QVBoxLayout(tsMediaSearch);
    page->addWidget(gbFolders, 1);
    page->addWidget(gbOptions);
    page->addWidget(gbSearching);
}

void TfrmMusicSearch::BuildMasksPage()
{
    tsMasks = new QWidget;
    tsMasks->setObjectName("tsMasks");
    pcMediaSearch->addTab(tsMasks, "File Masks");

    cbUseAudioMask = new QCheckBox("Use File Mask for untagged files", tsMasks);
    cbUseAudioMask->setObjectName("cbUseAudioMask");
    edAudioMask = new QLineEdit(tsMasks);
    edAudioMask->setObjectName("edAudioMask");
    cbAlbumFromParent = new QCheckBox("Get Album From Parent Folder", tsMasks);
    cbAlbumFromParent->setObjectName("cbAlbumFromParent");
    cbArtistFromParent = new QCheckBox("Get Artist From Parent Folder", tsMasks);
    cbArtistFromParent->setObjectName("cbArtistFromParent");
    memoMaskNote = new QPlainTextEdit(tsMasks);
    memoMaskNote->setObjectName("memoMaskNote");
    memoMaskNote->setReadOnly(true);
    memoMaskNote->setPlainText(QStringList{
        "*If both Parent Folder options are checked then the Album will be ",
        "taken from the Parent Folder and the Artist will be taken from the ", "Album's Parent Folder.", "",
        "If only \"Get Artist From Parent Folder\" is checked then the Artist is ",
        "taken from the immediate Parent Folder."}
                                   .join('\n'));

    auto* mask = new QHBoxLayout;
    mask->addWidget(MakeLabel(nullptr, "Mask :", tsMasks));
    mask->addWidget(edAudioMask, 1);
    auto* page = new QVBoxLayout(tsMasks);
    page->addWidget(cbUseAudioMask);
    page->addLayout(mask);
    for (const char* line : {"%a : Artist", "%b : Album", "%t : Title", "%n : Track #", "%g : Genre"})
        page->addWidget(MakeLabel(nullptr, line, tsMasks));
    page->addWidget(cbAlbumFromParent);
    page->addWidget(cbArtistFromParent);
    page->addWidget(memoMaskNote, 1);
}

void TfrmMusicSearch::BindSearchList()
{
    TaudioTagList& search = *atlSearch_;
    search.SetOwnsObjects(true);
    search.SetActive(false);
    search.SetDataFileName("orvane.obf");
    search.SetSaveDataFiles(false);
    search.SetListProcessFactor(5);
    search.SetSorted(false);
    search.OnListProcess = [this](TaudioTagList*, std::uint32_t index, std::uint32_t count, TaudioTag*) {
        ListProcess(index, count);
    };
    search.OnListProcessStart = [this](TaudioTagList*, const std::string& text) { ListProcessStart(text); };
    search.OnDirProcess = [this](TaudioTagList*, const std::string& folder) { DirProcess(folder); };
    search.OnTagFound = [this](TaudioTagList*, bool modified, TaudioTag*) { TagFound(modified); };
}

void TfrmMusicSearch::ShowOptions()
{
    ReadMaskOptions();
    SetControlsEnabled(true);
    pgbMusic->setValue(0);
    lblAction->setText("Action : None");
    scanning_ = false;
    cbFullScan->setChecked(false);
    lblNewFilesFound->setText("0");
    lblModFilesFound->setText("0");
    lblProgressCount->setText("0");
    gbSearching->hide();
    gbOptions->show();
    FillFolders();
}

void TfrmMusicSearch::FillFolders()
{
    clbFolders->clear();
    for (const auto& folder : library_.MediaFolders()) {
        auto* item = new QListWidgetItem(platform::ToQString(folder.text), clbFolders);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
}

int TfrmMusicSearch::SelectedFolder() const
{
    const int row = HighlightedRow(clbFolders);
    return row >= 0 && row < library_.MediaFolders().Count() ? row : -1;
}

void TfrmMusicSearch::ReadMaskOptions()
{
    const TaudioTagList& global = library_.GlobalList();
    cbUseAudioMask->setChecked(global.UseAudioFileMask());
    edAudioMask->setText(platform::ToQString(global.AudioFileMask()));
    cbAlbumFromParent->setChecked(global.AlbumFromParentFolder());
    cbArtistFromParent->setChecked(global.ArtistFromParentFolder());
}

void TfrmMusicSearch::WriteMaskOptions()
{
    TaudioTagList& global = library_.GlobalList();
    global.SetUseAudioFileMask(cbUseAudioMask->isChecked());
    global.SetAudioFileMask(platform::FromQString(edAudioMask->text()));
    global.SetAlbumFromParentFolder(cbAlbumFromParent->isChecked());
    global.SetArtistFromParentFolder(cbArtistFromParent->isChecked());
}

void TfrmMusicSearch::CopyScanSettings()
{
    const TaudioTagList& global = library_.GlobalList();
    TaudioTagList& search = *atlSearch_;
    search.SetUseAudioFileMask(global.UseAudioFileMask());
    search.SetAudioFileMask(global.AudioFileMask());
    search.SetVideoFileMask(global.VideoFileMask());
    search.SetUseVideoFileMask(global.UseVideoFileMask());
    search.SetAlbumFromParentFolder(global.AlbumFromParentFolder());
    search.SetArtistFromParentFolder(global.ArtistFromParentFolder());
}

void TfrmMusicSearch::AddFolder()
{
    Guarded([this] {
        ChooseMediaFolder(this, library_.MediaFolders());
        FillFolders();
    });
}

void TfrmMusicSearch::DeleteFolder()
{
    Guarded([this] {
        const int selected = SelectedFolder();
        if (selected < 0)
            return;
        library_.MediaFolders().Delete(selected);
        FillFolders();
    });
}

void TfrmMusicSearch::ClearFolders()
{
    Guarded([this] {
        library_.MediaFolders().Clear();
        FillFolders();
    });
}

void TfrmMusicSearch::ScanAll()
{
    Guarded([this] { RunScan(TscanScope::All); });
}

void TfrmMusicSearch::ScanSelected()
{
    Guarded([this] { RunScan(TscanScope::Checked); });
}

void TfrmMusicSearch::ScanSubFolder()
{
    Guarded([this] {
        const int selected = SelectedFolder();
        if (selected < 0)
            return;
        const std::optional<std::string> chosen =
            TdialogService::Current().BrowseFolder(this, "Choose Folder", library_.MediaFolders()[selected]);
        if (chosen && !chosen->empty())
            RunScan(TscanScope::Folder, *chosen);
    });
}

void TfrmMusicSearch::FoldersToScan(TscanScope scope, const std::string& folder, TStrings& folders) const
{
    const TStrings& media = library_.MediaFolders();
    for (int i = 0; i < media.Count(); ++i) {
        const QListWidgetItem* item = clbFolders->item(i);
        const bool wanted = scope == TscanScope::All ||
                            (scope == TscanScope::Checked && item && item->checkState() == Qt::Checked);
        if (wanted && !media[i].empty())
            folders.Add(NormalizeMediaFolder(media[i]));
    }
    if (scope == TscanScope::Folder && !folder.empty())
        folders.Add(NormalizeMediaFolder(folder));
}

void TfrmMusicSearch::RunScan(TscanScope scope, const std::string& folder)
{
    if (scanning_)
        return;
    WriteMaskOptions();
    CopyScanSettings();
    TStrings wanted;
    FoldersToScan(scope, folder, wanted);
    TaudioTagList& global = library_.GlobalList();
    // A folder that cannot be read now is skipped, and every song from it stays: an unplugged disc or a
    // share not mounted never empties the library.
    TStrings folders;
    TStrings skipped;
    for (int i = 0; i < wanted.Count(); ++i)
        (IsUnreachable(wanted[i], global, scope != TscanScope::Folder) ? skipped : folders).Add(wanted[i]);
    // A full rescan reads every file again, as if the library were empty, but the library keeps its songs
    // until the scan is through: cut off half-way, it (and jukebox.dat) stays as it was.
    const bool fullRescan = scope == TscanScope::All && cbFullScan->isChecked();
    const bool removeMissing = cbRemoveMissing->isChecked();
    {
        const TscanView view(*this);
        atlSearch_->Clear();
        atlSearch_->ScanFolderList(folders, true, fullRescan ? nullptr : &library_.FileNameIndex());
        if (fullRescan)
            for (const TaudioTag* song : global.Items())
                if (IsInsideAny(song->Filename(), skipped))
                    atlSearch_->AddCopy(song);
        LibraryChanging();
        // Missing songs go and new ones come in one change: the library is rebuilt and saved once.
        platform::TUpdateGuard change(global);
        if (removeMissing && !fullRescan)
            RemoveMissing(scope, folders, skipped);
        global.CopyFrom(*atlSearch_, true, !fullRescan);
        change.End();
        atlSearch_->Clear();
    }
    if (skipped.Count() > 0)
        TellSkipped(skipped);
    if (cbCloseWhenDone->isChecked())
        close();
}

// "Scan All" drops every song whose file is gone, but for the songs of folders skipped as unreadable. The
// other scans look only inside the folders they read: songs on a disc that is unplugged or a share that is
// not mounted stay when another folder is scanned.
void TfrmMusicSearch::RemoveMissing(TscanScope scope, const TStrings& folders, const TStrings& skipped)
{
    TaudioTagList& global = library_.GlobalList();
    if (scope == TscanScope::All && skipped.Count() == 0) {
        global.RemoveMissing();
        return;
    }
    std::vector<int> gone;
    for (int i = 0; i < global.Count(); ++i) {
        const std::string& name = global.GetItem(i)->Filename();
        const bool looked =
            scope == TscanScope::All ? !IsInsideAny(name, skipped) : IsInsideAny(name, folders);
        if (looked && !TagFileExists(name))
            gone.push_back(i);
    }
    if (gone.empty())
        return;
    global.BeginUpdate();
    for (auto it = gone.rbegin(); it != gone.rend(); ++it)
        global.Delete(*it);
    global.EndUpdate();
}

void TfrmMusicSearch::LibraryChanging()
{
    if (OnLibraryChanging)
        OnLibraryChanging(this);
}

void TfrmMusicSearch::EnterScanView()
{
    SetControlsEnabled(false);
    gbOptions->hide();
    gbSearching->show();
    newFiles_ = 0;
    modifiedFiles_ = 0;
    ShowCounters();
}

void TfrmMusicSearch::SetControlsEnabled(bool enabled)
{
    for (QPushButton* button : {btnStartSelected, btnStartFull, btnSubScan, btnAddFolder, btnDeleteFolder,
                                btnClearFolders, btnClose})
        button->setEnabled(enabled);
    // The buttons for one folder wait for a highlighted one.
    for (QPushButton* button : {btnSubScan, btnDeleteFolder})
        button->setEnabled(enabled && HighlightedRow(clbFolders) >= 0);
    clbFolders->setEnabled(enabled);
    // The tabs only: the page keeps showing the scan's progress.
    pcMediaSearch->tabBar()->setEnabled(enabled);
}

void TfrmMusicSearch::ShowCounters()
{
    lblNewFilesFound->setText(QString::number(newFiles_));
    lblModFilesFound->setText(QString::number(modifiedFiles_));
}

void TfrmMusicSearch::DirProcess(const std::string& folder)
{
    const int width = gbSearching->width() - lblCurrentDir->x() - 10;
    lblCurrentDir->setText(lblCurrentDir->fontMetrics().elidedText(platform::ToQString(folder),
                                                                   Qt::ElideMiddle, std::max(width, 0)));
    lblCurrentDir->setToolTip(platform::ToQString(folder));
}

void TfrmMusicSearch::TagFound(bool modified)
{
    ++(modified ? modifiedFiles_ : newFiles_);
    ShowCounters();
}

void TfrmMusicSearch::ListProcessStart(const std::string& text)
{
    lblAction->setText("Action : " + platform::ToQString(text));
}

void TfrmMusicSearch::ListProcess(std::uint32_t index, std::uint32_t count)
{
    const int maximum = ClampToInt(count);
    if (pgbMusic->maximum() != maximum)
        pgbMusic->setMaximum(maximum);
    pgbMusic->setValue(std::clamp(ClampToInt(index), 0, std::max(maximum, 0)));
    lblProgressCount->setText(QString::asprintf("%d/%d", ClampToInt(index), maximum));
    if (ProcessMessages)
        ProcessMessages();
}

void TfrmMusicSearch::closeEvent(QCloseEvent* event)
{
    if (scanning_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void TfrmMusicSearch::reject()
{
    if (!scanning_)
        QDialog::reject();
}

void ShowMediaSearch(TcustomJukeboxList& library, QWidget* parent, TbusyGuard* guard,
                     std::function<void(TfrmMusicSearch* sender)> libraryChanging)
{
    TfrmMusicSearch dialog(library, parent);
    dialog.SetBusyGuard(guard);
    dialog.OnLibraryChanging = std::move(libraryChanging);
    dialog.exec();
}
