// The preferences window over a small library, with the main window's settings behind a recording host and
// the folder browser and input boxes answered by the test.
#include "app/dialogs/frmmusicsearch.h"
#include "app/dialogs/frmpreferences.h"
#include "app/dialogs/preferenceshost.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/jukebox/customjukeboxlistevents.h"
#include "platform/qtstring.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The main window's side: settings that record each change, and the calls the window makes.
class TrecordingHost : public TpreferencesHost
{
public:
    bool ScreenSaverEnabled() const override { return enabled; }
    void SetScreenSaverEnabled(bool value) override { Set(enabled, value, "enabled"); }
    int ScreenSaverTimeout() const override { return timeout; }
    void SetScreenSaverTimeout(int minutes) override { Set(timeout, minutes, "timeout"); }
    std::string AlbumArtFolder() const override { return coverFolder; }
    void SetAlbumArtFolder(const std::string& folder) override { Set(coverFolder, folder, "cover"); }
    void RunMediaFolderScan() override { calls.push_back("scan"); }
    void LibraryChanging() override { calls.push_back("changing at " + std::to_string(*rebuilds)); }
    QWidget* HostWindow() const override { return nullptr; }

    bool enabled = true;
    int timeout = 12;
    std::string coverFolder = "/covers";
    std::vector<std::string> calls;
    const int* rebuilds = nullptr;

private:
    template <typename T>
    void Set(T& setting, const T& value, const char* name)
    {
        setting = value;
        calls.push_back(name);
    }
};

class Preferences : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library.SetDataFolder(data.Path());
        library.SetAutoSaveGlobal(true);
        events.OnGlobalListChange = [this](TcustomJukeboxList*) { ++rebuilds; };
        library.SetEvents(&events);
        host.rebuilds = &rebuilds;
        library.Artists().SetMappingListFile(MappingsFile());
        TaudioTagList& global = library.GlobalList();
        global.BeginUpdate();
        for (const char* artist : {"Prince", "John Smith", "Compiled A", "Compiled B", ""})
            global.Add(Song(artist));
        global.EndUpdate();
        std::filesystem::remove(library.GetGlobalFileName());
        rebuilds = 0;
    }

    // The two "Compiled" songs share an album folder: a compilation.
    static TaudioTag* Song(const std::string& artist)
    {
        const std::string album = artist.rfind("Compiled", 0) == 0 ? "Mixed" : artist + " Album";
        auto* song = new TaudioTag;
        song->SetArtist(artist);
        song->SetTitle("Song of " + artist);
        song->SetAlbum(album);
        song->SetFilename("/music/" + album + "/" + artist + ".wav");
        return song;
    }

    std::string MappingsFile() const { return data.File("mappings.txt"); }
    bool HasMappingsFile() const { return std::filesystem::exists(MappingsFile()); }

    template <typename T = QWidget>
    static T* Child(const QWidget& form, const char* name)
    {
        T* child = form.findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static std::vector<std::string> Lines(const QWidget& form, const char* list)
    {
        std::vector<std::string> lines;
        const auto* box = Child<QListWidget>(form, list);
        for (int i = 0; i < box->count(); ++i)
            lines.push_back(platform::FromQString(box->item(i)->text()));
        return lines;
    }
    static void Select(const QWidget& form, const char* list, const std::string& text)
    {
        auto* box = Child<QListWidget>(form, list);
        const QList<QListWidgetItem*> found = box->findItems(platform::ToQString(text), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text;
        box->setCurrentItem(found.front());
    }
    bool HasIndexName(const std::string& name) const
    {
        const auto& index = library.Artists().IndexNames();
        return std::any_of(index.begin(), index.end(), [&](const auto& entry) { return entry.name == name; });
    }

    TempDir data;
    TfakeDialogs dialogs;
    TfakePrompts prompts;
    TgeneratedLibrary library;
    TcustomJukeboxListEvents events;
    TrecordingHost host;
    int rebuilds = 0;
};

// Runs ShowPreferences on page, doing work inside the modal window before closing it with OK.
void RunModal(TcustomJukeboxList& library, TpreferencesHost& host, const std::string& page,
              std::function<void(TfrmPreferences&)> work)
{
    bool ran = false;
    WhenModal([&](QWidget* shown) {
        auto* form = qobject_cast<TfrmPreferences*>(shown);
        ASSERT_NE(form, nullptr);
        work(*form);
        ran = true;
        if (form->isVisible())
            form->findChild<QPushButton*>("btnOK")->click();
    });
    ShowPreferences(library, host, page);
    EXPECT_TRUE(ran);
}

} // namespace

TEST_F(Preferences, FoldersPageOnlyWhenAskedForAndAnUntouchedCloseWritesNoMappings)
{
    for (const std::string page : {"FOLDERS", "general"}) {
        RunModal(library, host, page, [&](TfrmPreferences& form) {
            auto* pages = Child<QTabWidget>(form, "pcPreferences");
            EXPECT_EQ(pages->currentWidget()->objectName(), page == "FOLDERS" ? "tsFolders" : "tsGeneral");
            EXPECT_FALSE(pages->isTabVisible(pages->indexOf(Child(form, "tsFolders"))));
        });
    }
    EXPECT_FALSE(HasMappingsFile());
    EXPECT_EQ(rebuilds, 0);
    EXPECT_TRUE(host.calls.empty());

    // "&Run Scan" runs the main window's forced media-folder command and closes.
    RunModal(library, host, "folders", [](TfrmPreferences& form) {
        form.findChild<QPushButton*>("btnRunScan")->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
    });
    EXPECT_EQ(host.calls, std::vector<std::string>{"scan"});
}

TEST_F(Preferences, ShowsTheMainWindowsSettingsAndPassesEachChangeAtOnce)
{
    TfrmPreferences form(library, host);
    EXPECT_TRUE(Child<QCheckBox>(form, "cbEnableScreensaver")->isChecked());
    auto* timeout = Child<QSpinBox>(form, "speScreenTimeout");
    EXPECT_EQ(timeout->value(), 12);
    auto* cover = Child<QLineEdit>(form, "edAlbumArtFolder");
    EXPECT_EQ(cover->text(), "/covers");
    EXPECT_TRUE(host.calls.empty()) << "showing the settings set them";

    Child<QCheckBox>(form, "cbEnableScreensaver")->click();
    EXPECT_FALSE(host.enabled);
    timeout->setValue(0);
    EXPECT_EQ(host.timeout, 0);

    dialogs.folderAnswers.push_back(std::nullopt);
    form.ChooseAlbumArtFolder();
    EXPECT_EQ(host.coverFolder, "/covers");
    dialogs.folderAnswers.push_back("/pictures/art");
    form.ChooseAlbumArtFolder();
    EXPECT_EQ(host.coverFolder, "/pictures/art");
    EXPECT_EQ(cover->text(), "/pictures/art");
    ASSERT_EQ(dialogs.asked.size(), 2u);
    EXPECT_EQ(dialogs.asked[0].caption, "Choose a folder");
    EXPECT_EQ(dialogs.asked[1].detail, "/covers");
    EXPECT_EQ(host.calls, (std::vector<std::string>{"enabled", "timeout", "cover"}));
}

TEST_F(Preferences, FoldersAreStoredAsTheMediaSearchStoresThemAndDiscFoldersAreRefused)
{
    TempDir disc;
    const std::string table = data.Write("mounts", "/dev/sr0 " + disc.Path() + " iso9660 ro 0 0\n");
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE", table);
    TfrmPreferences form(library, host);
    dialogs.folderAnswers = {"/music/rock/", "/music/jazz", disc.Path() + "/Albums", std::nullopt};
    for (int i = 0; i < 4; ++i)
        form.AddDir();
    EXPECT_EQ(dialogs.asked.front().caption, "Choose a Music Folder");
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text,
              "You cannot add a CD to the scan list, CD-Roms are scanned automatically.");
    EXPECT_EQ(Lines(form, "lbDirs"), (std::vector<std::string>{"/music/rock", "/music/jazz"}));

    // The media search's "&Add" of the same folder without its "/" gives the same line, not another one.
    {
        TfrmMusicSearch search(library);
        dialogs.folderAnswers.push_back("/music/rock");
        search.AddFolder();
    }
    ASSERT_EQ(library.MediaFolders().Count(), 3);
    EXPECT_EQ(library.MediaFolders()[2], library.MediaFolders()[0]);

    form.DeleteDir(); // nothing selected
    EXPECT_EQ(library.MediaFolders().Count(), 3);
    // Tabbing in makes the first line current without highlighting it: Delete Folder stays off.
    auto* dirs = Child<QListWidget>(form, "lbDirs");
    auto* deleteDir = Child<QPushButton>(form, "btnDeleteDir");
    EXPECT_FALSE(deleteDir->isEnabled());
    dirs->selectionModel()->setCurrentIndex(dirs->model()->index(0, 0), QItemSelectionModel::NoUpdate);
    form.DeleteDir();
    EXPECT_EQ(library.MediaFolders().Count(), 3);
    EXPECT_FALSE(deleteDir->isEnabled());
    dirs->setCurrentRow(1);
    EXPECT_TRUE(deleteDir->isEnabled());
    form.DeleteDir();
    EXPECT_EQ(library.MediaFolders().Text(), "/music/rock\n/music/rock\n");
    form.ClearFolders();
    EXPECT_EQ(library.MediaFolders().Count(), 0);
    EXPECT_TRUE(Lines(form, "lbDirs").empty());
}

TEST_F(Preferences, ArtistsLeaveOutTheMadeUpEntriesAndCancelledPromptsChangeNothing)
{
    library.Artists().MappingList().Add("Prince=TAFKAP");
    TfrmPreferences form(library, host);
    EXPECT_EQ(Lines(form, "lbArtists"),
              (std::vector<std::string>{"Compiled A", "Compiled B", "John Smith", "Prince"}));
    EXPECT_EQ(Lines(form, "lbMappings"), std::vector<std::string>{"Prince=TAFKAP"});
    auto* save = Child<QPushButton>(form, "btnUpdateMappings");
    EXPECT_FALSE(save->isEnabled());

    form.AddCustomMap(); // no artist selected: nothing asked
    form.EditMapping();  // no line selected
    EXPECT_TRUE(dialogs.asked.empty());

    Select(form, "lbArtists", "John Smith");
    dialogs.inputAnswers.push_back(std::nullopt);
    form.AddCustomMap();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].caption, "Mapping for John Smith");
    EXPECT_EQ(dialogs.asked[0].detail,
              "Enter Mapped Name (leave blank for default mapping of LastName, FirstName)");
    Select(form, "lbMappings", "Prince=TAFKAP");
    dialogs.inputAnswers.push_back(std::nullopt);
    form.EditMapping();
    EXPECT_EQ(dialogs.asked.back().caption, "Mapping for Prince");
    EXPECT_EQ(Lines(form, "lbMappings"), std::vector<std::string>{"Prince=TAFKAP"});
    EXPECT_FALSE(form.MappingsModified());
    EXPECT_FALSE(save->isEnabled());

    dialogs.inputAnswers.push_back("");
    form.EditMapping();
    dialogs.inputAnswers.push_back("Smith J");
    form.AddCustomMap();
    form.AddDefaultMapping();
    EXPECT_EQ(Lines(form, "lbMappings"),
              (std::vector<std::string>{"Prince=", "John Smith=Smith J", "John Smith="}));
    EXPECT_TRUE(form.MappingsModified());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_FALSE(save->isVisible());
}

TEST_F(Preferences, SavedMappingsAreWrittenReadBackAndRebuildTheGroupingsOnce)
{
    RunModal(library, host, "", [this](TfrmPreferences& form) {
        Select(form, "lbArtists", "John Smith");
        form.AddDefaultMapping();
        Select(form, "lbArtists", "Prince");
        dialogs.inputAnswers.push_back("Artist Formerly Known");
        form.AddCustomMap();
    });
    EXPECT_EQ(TempDir::Read(MappingsFile()), "John Smith=\nPrince=Artist Formerly Known\n");
    TaudioTagArtistList readBack;
    readBack.SetMappingListFile(MappingsFile());
    EXPECT_EQ(readBack.MappingList().Text(), library.Artists().MappingList().Text());

    // One rebuild, announced first, with the aliases in the name index the tree is built from; the
    // unchanged jukebox.dat is not written again.
    EXPECT_EQ(rebuilds, 1);
    EXPECT_EQ(host.calls, std::vector<std::string>{"changing at 0"});
    EXPECT_TRUE(HasIndexName("Smith, John"));
    EXPECT_TRUE(HasIndexName("Artist Formerly Known"));
    EXPECT_FALSE(std::filesystem::exists(library.GetGlobalFileName()));
    EXPECT_TRUE(library.AutoSaveGlobal());

    // Deleting and clearing count as changes too: the aliases go.
    RunModal(library, host, "", [](TfrmPreferences& form) {
        // A current line nobody highlighted is neither edited nor deleted.
        auto* mappings = Child<QListWidget>(form, "lbMappings");
        mappings->selectionModel()->setCurrentIndex(mappings->model()->index(0, 0),
                                                    QItemSelectionModel::NoUpdate);
        EXPECT_FALSE(Child<QPushButton>(form, "btnEditMapping")->isEnabled());
        EXPECT_FALSE(Child<QPushButton>(form, "btnDeleteMapping")->isEnabled());
        form.EditMapping();
        form.DeleteMapping();
        EXPECT_EQ(Lines(form, "lbMappings").size(), 2u);
        Select(form, "lbMappings", "Prince=Artist Formerly Known");
        EXPECT_TRUE(Child<QPushButton>(form, "btnDeleteMapping")->isEnabled());
        form.DeleteMapping();
        EXPECT_EQ(Lines(form, "lbMappings"), std::vector<std::string>{"John Smith="});
        form.ClearMappings();
    });
    EXPECT_EQ(TempDir::Read(MappingsFile()), "");
    EXPECT_EQ(rebuilds, 2);
    EXPECT_FALSE(HasIndexName("Smith, John"));
}
