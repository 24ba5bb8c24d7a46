#include "app/dialogs/frmpreferences.h"

#include "app/dialogs/preferenceshost.h"
#include "app/qt/helpers/guiutils.h"
#include "app/qt/helpers/mediafolders.h"
#include "app/qt/services/dialogservice.h"
#include "app/qt/services/exceptionboundary.h"
#include "core/groupings/audiotagalbum.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/jukebox/customjukeboxlist.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const char* const kAddDirHint = "Choose a folder where your Mp3s are stored.";
const char* const kMappingPrompt =
    "Enter Mapped Name (leave blank for default mapping of LastName, FirstName)";
const char* const kTimeoutNote =
    "* The maximum value is 60 minutes.  The minimum value is 1 minute.  A value of 0 will give a 6 second "
    "timeout, you can use this if you want the screen saver to come on almost instantly.";

QPushButton* MakeButton(const char* name, const char* text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QListWidget* MakeList(const char* name, QWidget* parent)
{
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    return list;
}

// A list box beside a column of buttons.
void ListWithButtons(QGroupBox* group, QListWidget* list, std::initializer_list<QPushButton*> buttons)
{
    auto* column = new QVBoxLayout;
    for (QPushButton* button : buttons)
        column->addWidget(button);
    column->addStretch(1);
    auto* layout = new QHBoxLayout(group);
    layout->addWidget(list, 1);
    layout->addLayout(column);
}

// The artist's name of a mapping line "name=value".
std::string MappingName(const std::string& line)
{
    return line.substr(0, line.find('='));
}

bool IsFoldersPage(const std::string& page)
{
    return QString::compare(platform::ToQString(page), "folders", Qt::CaseInsensitive) == 0;
}

} // namespace

TfrmPreferences::TfrmPreferences(TcustomJukeboxList& library, TpreferencesHost& host, QWidget* parent)
    : QDialog(parent), library_(library), host_(host)
{
    setObjectName("frmPreferences");
    setWindowTitle("Preferences");

    pcPreferences = new QTabWidget(this);
    pcPreferences->setObjectName("pcPreferences");
    BuildGeneralPage();
    BuildFoldersPage();
    BuildMappingsPage();
    // The folders page is reached only through ShowPreferences(..., "folders").
    pcPreferences->setTabVisible(pcPreferences->indexOf(tsFolders), false);

    btnOK = new QPushButton("&OK", this);
    btnOK->setObjectName("btnOK");
    btnOK->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcPreferences);
    layout->addLayout(buttons);

    BindControls();
    resize(660, 420);
    ShowSettings();
    OpenPage(std::string());
}

TfrmPreferences::~TfrmPreferences() = default;

void TfrmPreferences::BuildGeneralPage()
{
    tsGeneral = new QWidget;
    tsGeneral->setObjectName("tsGeneral");
    pcPreferences->addTab(tsGeneral, "General");

    auto* gbGeneral = new QGroupBox("General Settings", tsGeneral);
    gbGeneral->setObjectName("gbGeneral");
    auto* gbScreenSaver = new QGroupBox("Screen Saver", gbGeneral);
    gbScreenSaver->setObjectName("gbScreenSaver");
    cbEnableScreensaver = new QCheckBox("Enable Screensaver", gbScreenSaver);
    cbEnableScreensaver->setObjectName("cbEnableScreensaver");
    speScreenTimeout = new QSpinBox(gbScreenSaver);
    speScreenTimeout->setObjectName("speScreenTimeout");
    speScreenTimeout->setRange(0, 60);
    speScreenTimeout->setValue(5);
    auto* note = new QLabel(kTimeoutNote, gbScreenSaver);
    note->setWordWrap(true);
    auto* timeout = new QHBoxLayout;
    timeout->addWidget(new QLabel("Timeout (minutes) :", gbScreenSaver));
    timeout->addWidget(speScreenTimeout);
    timeout->addStretch(1);
    auto* screenSaver = new QVBoxLayout(gbScreenSaver);
    screenSaver->addWidget(cbEnableScreensaver);
    screenSaver->addLayout(timeout);
    screenSaver->addWidget(note);

    auto* gbAlbumArt = new QGroupBox("Album Cover Art", gbGeneral);
    gbAlbumArt->setObjectName("gbAlbumArt");
    edAlbumArtFolder = new QLineEdit(gbAlbumArt);
    edAlbumArtFolder->setObjectName("edAlbumArtFolder");
    btnChooseAlbumArtFolder = MakeButton("btnChooseAlbumArtFolder", "...", gbAlbumArt);
    btnChooseAlbumArtFolder->setFixedWidth(btnChooseAlbumArtFolder->fontMetrics().horizontalAdvance("...") +
                                           24);
    auto* albumArt = new QHBoxLayout(gbAlbumArt);
    albumArt->addWidget(new QLabel("Folder :", gbAlbumArt));
    albumArt->addWidget(edAlbumArtFolder, 1);
    albumArt->addWidget(btnChooseAlbumArtFolder);

    auto* general = new QVBoxLayout(gbGeneral);
    general->addWidget(gbScreenSaver);
    general->addWidget(gbAlbumArt);
    general->addStretch(1);
    auto* page = new QVBoxLayout(tsGeneral);
    page->addWidget(gbGeneral);
}

void TfrmPreferences::BuildFoldersPage()
{
    tsFolders = new QWidget;
    tsFolders->setObjectName("tsFolders");
    pcPreferences->addTab(tsFolders, "Media Folders");

    auto* gbFolders = new QGroupBox("Folders to be Scanned", tsFolders);
    gbFolders->setObjectName("gbFolders");
    btnAddDir = MakeButton("btnAddDir", "&Add Folder", gbFolders);
    btnAddDir->setToolTip(kAddDirHint);
    btnDeleteDir = MakeButton("btnDeleteDir", "&Delete Folder", gbFolders);
    btnDeleteDir->setToolTip("Remove the Selected Folder.");
    btnClearFolders = MakeButton("btnClearFolders", "&Clear Folders", gbFolders);
    btnClearFolders->setToolTip(kAddDirHint);
    btnRunScan = MakeButton("btnRunScan", "&Run Scan", gbFolders);
    lbDirs = MakeList("lbDirs", gbFolders);
    ListWithButtons(gbFolders, lbDirs, {btnAddDir, btnDeleteDir, btnClearFolders, btnRunScan});
    EnableWithHighlight(lbDirs, {btnDeleteDir});
    auto* page = new QVBoxLayout(tsFolders);
    page->addWidget(gbFolders);
}

void TfrmPreferences::BuildMappingsPage()
{
    tsMappings = new QWidget;
    tsMappings->setObjectName("tsMappings");
    pcPreferences->addTab(tsMappings, "Artist Mappings");

    auto* gbArtists = new QGroupBox("Artists", tsMappings);
    gbArtists->setObjectName("gbArtists");
    lbArtists = MakeList("lbArtists", gbArtists);
    btnCustommap = MakeButton("btnCustommap", "Add &Custom Map", gbArtists);
    btnAddDefaultMapping = MakeButton("btnAddDefaultMapping", "Add Standard &Map", gbArtists);
    btnUpdateMappings = MakeButton("btnUpdateMappings", "&Save Mappings", gbArtists);
    btnUpdateMappings->setVisible(false);
    btnUpdateMappings->setEnabled(false);
    ListWithButtons(gbArtists, lbArtists, {btnCustommap, btnAddDefaultMapping, btnUpdateMappings});

    auto* gbMappings = new QGroupBox("Mappings", tsMappings);
    gbMappings->setObjectName("gbMappings");
    lbMappings = MakeList("lbMappings", gbMappings);
    btnDeleteMapping = MakeButton("btnDeleteMapping", "&Delete", gbMappings);
    btnEditMapping = MakeButton("btnEditMapping", "&Edit", gbMappings);
    btnClearMappings = MakeButton("btnClearMappings", "&Clear", gbMappings);
    ListWithButtons(gbMappings, lbMappings, {btnDeleteMapping, btnEditMapping, btnClearMappings});
    EnableWithHighlight(lbMappings, {btnDeleteMapping, btnEditMapping});

    auto* page = new QHBoxLayout(tsMappings);
    page->addWidget(gbArtists);
    page->addWidget(gbMappings);
}

void TfrmPreferences::BindControls()
{
    connect(cbEnableScreensaver, &QCheckBox::clicked, this,
            [this](bool checked) { Guarded([this, checked] { host_.SetScreenSaverEnabled(checked); }); });
    connect(speScreenTimeout, &QSpinBox::valueChanged, this,
            [this](int minutes) { Guarded([this, minutes] { host_.SetScreenSaverTimeout(minutes); }); });
    // A typed folder counts as much as a chosen one.
    connect(edAlbumArtFolder, &QLineEdit::editingFinished, this, [this] {
        Guarded([this] { host_.SetAlbumArtFolder(platform::FromQString(edAlbumArtFolder->text())); });
    });
    connect(btnChooseAlbumArtFolder, &QPushButton::clicked, this, [this] { ChooseAlbumArtFolder(); });
    connect(btnAddDir, &QPushButton::clicked, this, [this] { AddDir(); });
    connect(btnDeleteDir, &QPushButton::clicked, this, [this] { DeleteDir(); });
    connect(btnClearFolders, &QPushButton::clicked, this, [this] { ClearFolders(); });
    connect(btnRunScan, &QPushButton::clicked, this, [this] { RunScan(); });
    connect(btnAddDefaultMapping, &QPushButton::clicked, this, [this] { AddDefaultMapping(); });
    connect(btnCustommap, &QPushButton::clicked, this, [this] { AddCustomMap(); });
    connect(btnEditMapping, &QPushButton::clicked, this, [this] { EditMapping(); });
    connect(btnDeleteMapping, &QPushButton::clicked, this, [this] { DeleteMapping(); });
    connect(btnClearMappings, &QPushButton::clicked, this, [this] { ClearMappings(); });
    connect(btnUpdateMappings, &QPushButton::clicked, this, [this] { UpdateMappings(); });
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);
}

void TfrmPreferences::ShowSettings()
{
    FillFolders();
    edAlbumArtFolder->setText(platform::ToQString(host_.AlbumArtFolder()));
    // Showing the settings is not changing them: the handlers stay quiet.
    const QSignalBlocker blockCheck(cbEnableScreensaver);
    const QSignalBlocker blockTimeout(speScreenTimeout);
    cbEnableScreensaver->setChecked(host_.ScreenSaverEnabled());
    speScreenTimeout->setValue(host_.ScreenSaverTimeout());
    FillArtists();
    FillMappings();
}

void TfrmPreferences::OpenPage(const std::string& page)
{
    pcPreferences->setCurrentWidget(IsFoldersPage(page) ? tsFolders : tsGeneral);
}

void TfrmPreferences::FillFolders()
{
    lbDirs->clear();
    for (const auto& folder : library_.MediaFolders())
        lbDirs->addItem(platform::ToQString(folder.text));
}

void TfrmPreferences::FillArtists()
{
    lbArtists->clear();
    const TaudioTagArtistList& artists = library_.Artists();
    for (int i = 0; i < artists.GetCount(); ++i) {
        const TaudioTagList* artist = artists.GetItem(i);
        const std::string& name = artist->Title();
        if (name != kCompilationsArtist && name != kNotTaggedArtist)
            lbArtists->addItem(platform::ToQString(name));
    }
}

void TfrmPreferences::FillMappings()
{
    lbMappings->clear();
    for (const auto& line : library_.Artists().MappingList())
        lbMappings->addItem(platform::ToQString(line.text));
}

std::string TfrmPreferences::SelectedArtist() const
{
    const QListWidgetItem* item = lbArtists->currentItem();
    return item ? platform::FromQString(item->text()) : std::string();
}

void TfrmPreferences::ChooseAlbumArtFolder()
{
    Guarded([this] {
        const std::optional<std::string> chosen = TdialogService::Current().BrowseFolder(
            this, "Choose a folder", platform::FromQString(edAlbumArtFolder->text()));
        if (!chosen)
            return;
        edAlbumArtFolder->setText(platform::ToQString(*chosen));
        host_.SetAlbumArtFolder(*chosen);
    });
}

void TfrmPreferences::AddDir()
{
    Guarded([this] {
        ChooseMediaFolder(this, library_.MediaFolders());
        FillFolders();
    });
}

void TfrmPreferences::DeleteDir()
{
    Guarded([this] {
        const int row = HighlightedRow(lbDirs);
        if (row < 0 || row >= library_.MediaFolders().Count())
            return;
        library_.MediaFolders().Delete(row);
        FillFolders();
    });
}

void TfrmPreferences::ClearFolders()
{
    Guarded([this] {
        library_.MediaFolders().Clear();
        FillFolders();
    });
}

void TfrmPreferences::RunScan()
{
    Guarded([this] { host_.RunMediaFolderScan(); });
    accept();
}

void TfrmPreferences::AddDefaultMapping()
{
    Guarded([this] {
        const std::string artist = SelectedArtist();
        if (!artist.empty())
            AddMappingLine(artist + "=");
    });
}

void TfrmPreferences::AddCustomMap()
{
    Guarded([this] {
        const std::string artist = SelectedArtist();
        if (artist.empty())
            return;
        if (const std::optional<std::string> mapped = AskMappedName(artist))
            AddMappingLine(artist + "=" + *mapped);
    });
}

void TfrmPreferences::EditMapping()
{
    Guarded([this] {
        QListWidgetItem* item = lbMappings->item(HighlightedRow(lbMappings));
        if (!item)
            return;
        const std::string name = MappingName(platform::FromQString(item->text()));
        const std::optional<std::string> mapped = AskMappedName(name);
        if (!mapped)
            return;
        item->setText(platform::ToQString(name + "=" + *mapped));
        MarkModified();
    });
}

void TfrmPreferences::DeleteMapping()
{
    Guarded([this] {
        const int row = HighlightedRow(lbMappings);
        if (row < 0)
            return;
        delete lbMappings->takeItem(row);
        MarkModified();
    });
}

void TfrmPreferences::ClearMappings()
{
    Guarded([this] {
        lbMappings->clear();
        MarkModified();
    });
}

void TfrmPreferences::UpdateMappings()
{
    Guarded([this] { SaveMappings(); });
}

std::optional<std::string> TfrmPreferences::AskMappedName(const std::string& artist)
{
    // Cancel changes nothing; OK with a blank name asks for the last-name-first form.
    return TdialogService::Current().InputQuery(this, "Mapping for " + artist, kMappingPrompt, std::string());
}

void TfrmPreferences::AddMappingLine(const std::string& line)
{
    lbMappings->addItem(platform::ToQString(line));
    MarkModified();
}

void TfrmPreferences::MarkModified()
{
    modified_ = true;
    btnUpdateMappings->setEnabled(true);
}

void TfrmPreferences::SaveMappings()
{
    // The tree shows artists under their aliases: it lets go now and is filled again from the library's
    // rebuild event.
    host_.LibraryChanging();
    TaudioTagArtistList& artists = library_.Artists();
    TStrings& mappings = artists.MappingList();
    {
        // One change of the alias lines, however many there are.
        const platform::TUpdateGuard update(mappings);
        mappings.Clear();
        for (int i = 0; i < lbMappings->count(); ++i)
            mappings.Add(platform::FromQString(lbMappings->item(i)->text()));
    }
    artists.SaveMappings();
    modified_ = false;
    btnUpdateMappings->setEnabled(false);
    library_.RebuildGroupings();
}

void ShowPreferences(TcustomJukeboxList& library, TpreferencesHost& host, const std::string& page)
{
    TfrmPreferences dialog(library, host, host.HostWindow());
    dialog.OpenPage(page);
    dialog.exec();
    if (dialog.MappingsModified())
        dialog.UpdateMappings();
}
