// The media search window over real WAV trees, read through the program's WAV plug-in, with the library
// saving jukebox.dat on every change as the main window's library does.
#include "app/dialogs/frmmusicsearch.h"
#include "core/jukebox/customjukeboxlistevents.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/plugins/taggerloader.h"
#include "platform/folders.h"
#include "platform/qtstring.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/guievents.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QProcessEnvironment>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include <filesystem>
#include <set>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

class MediaSearch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        plugins_.AddFile(platform::ShippedFolder() + "TagPlugins/TAG_Pelmora.so", "TAG_Pelmora.so");
        TaggerLoader().SetSupportLevel(2);
        TaggerLoader().SetPluginFolder(plugins_.Path());
        ASSERT_EQ(TaggerLoader().GetCount(), 1);
        library.SetDataFolder(data.Path());
        library.SetAutoSaveGlobal(true);
        events.OnGlobalListChange = [this](TcustomJukeboxList*) { ++rebuilds; };
        library.SetEvents(&events);
    }
    void TearDown() override { ReleaseTaggerLoader(); }

    const std::string& PluginFolder() const { return plugins_.Path(); }

    std::string Song(const std::string& name) const { return music.Write(name, wavbytes::Song(200)); }
    std::string Folder(const std::string& name) const { return music.File(name); }

    // Adds a media folder through "&Add" and the folder browser.
    void Add(TfrmMusicSearch& form, const std::string& folder)
    {
        dialogs.folderAnswers.push_back(folder);
        form.AddFolder();
    }
    QListWidget* Folders(TfrmMusicSearch& form) const { return form.findChild<QListWidget*>("clbFolders"); }
    QCheckBox* Check(TfrmMusicSearch& form, const char* name) const
    {
        return form.findChild<QCheckBox*>(name);
    }

    std::set<std::string> Titles() const
    {
        std::set<std::string> titles;
        for (const TaudioTag* song : library.GlobalList().Items())
            EXPECT_TRUE(titles.insert(song->Title()).second) << "twice: " << song->Filename();
        return titles;
    }
    std::string SavedLibrary() const { return TempDir::Read(library.GetGlobalFileName()); }
    int SavedCount() const
    {
        TaudioTagList saved;
        saved.SetOwnsObjects(true);
        EXPECT_TRUE(saved.LoadFromFile(library.GetGlobalFileName(), false));
        return saved.Count();
    }

    TempDir data;
    TempDir music;
    TfakeDialogs dialogs;
    TfakePrompts prompts;
    TlocalJukeboxList library;
    TcustomJukeboxListEvents events;
    int rebuilds = 0;

private:
    TestPluginFolder plugins_;
};

void Touch(const std::string& file)
{
    const auto time = fs::last_write_time(file);
    fs::last_write_time(file, time + std::chrono::seconds(5));
}

} // namespace

TEST_F(MediaSearch, ScanAllFillsTheLibraryOnceAndASecondScanAddsNothing)
{
    Song("Band A/First/One.wav");
    Song("Band A/First/Two.wav");
    Song("Band B/Second/Three.wav");
    music.Write("Band B/Second/cover.txt", "no song");
    TfrmMusicSearch form(library);
    // The same folder with and without its trailing "/", and a folder inside it: one folder's songs.
    Add(form, music.Path() + "/");
    Add(form, music.Path());
    Add(form, Folder("Band A"));
    ASSERT_EQ(library.MediaFolders().Count(), 3);
    EXPECT_EQ(library.MediaFolders()[0], music.Path());
    EXPECT_EQ(library.MediaFolders()[1], music.Path());
    EXPECT_EQ(Folders(form)->count(), 3);
    EXPECT_EQ(dialogs.asked.at(0).caption, "Choose a Music Folder");

    form.ScanAll();
    EXPECT_EQ(Titles(), (std::set<std::string>{"One", "Two", "Three"}));
    EXPECT_EQ(form.NewFiles(), 3);
    EXPECT_EQ(form.ModifiedFiles(), 0);
    EXPECT_EQ(SavedCount(), 3);
    EXPECT_EQ(library.FileNameIndex().Count(), 3);
    EXPECT_EQ(form.SearchList().Count(), 0);
    EXPECT_TRUE(prompts.boxes.empty());

    // Unchanged folders: nothing new, nothing added, the saved library the same.
    const std::string saved = SavedLibrary();
    form.ScanAll();
    EXPECT_EQ(form.NewFiles(), 0);
    EXPECT_EQ(form.ModifiedFiles(), 0);
    EXPECT_EQ(library.GlobalList().Count(), 3);
    EXPECT_EQ(SavedLibrary(), saved);

    // A changed file is read again in place and counted as modified; a new one is added.
    Touch(Folder("Band A/First/Two.wav"));
    Song("Band B/Second/Four.wav");
    form.ScanAll();
    EXPECT_EQ(form.NewFiles(), 1);
    EXPECT_EQ(form.ModifiedFiles(), 1);
    EXPECT_EQ(Titles(), (std::set<std::string>{"One", "Two", "Three", "Four"}));
    EXPECT_EQ(SavedCount(), 4);
}

TEST_F(MediaSearch, ShownModallyItScansAndClosesWhenFinished)
{
    Song("Album/One.wav");
    library.MediaFolders().Add(music.Path());
    TbusyGuard busy;
    int changing = 0;
    WhenModal([&](QWidget* shown) {
        auto* form = qobject_cast<TfrmMusicSearch*>(shown);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->findChild<QTabWidget*>("pcMediaSearch")->currentIndex(), 0);
        form->findChild<QPushButton*>("btnStartFull")->click();
    });
    ShowMediaSearch(library, nullptr, &busy, [&](TfrmMusicSearch*) { ++changing; });
    EXPECT_EQ(Titles(), std::set<std::string>{"One"});
    EXPECT_EQ(changing, 1);
    EXPECT_FALSE(busy.Busy());
}

TEST_F(MediaSearch, TheScanViewShowsProgressAndHoldsTheDialogOpen)
{
    for (int i = 0; i < 12; ++i)
        Song("Album/Song " + std::to_string(i) + ".wav");
    TfrmMusicSearch form(library);
    TbusyGuard busy;
    form.SetBusyGuard(&busy);
    Add(form, music.Path());
    Check(form, "cbFullScan")->setChecked(true);
    form.show();
    auto* searching = form.findChild<QGroupBox*>("gbSearching");
    auto* options = form.findChild<QGroupBox*>("gbOptions");
    auto* bar = form.findChild<QProgressBar*>("pgbMusic");
    auto* count = form.findChild<QLabel*>("lblProgressCount");
    auto* action = form.findChild<QLabel*>("lblAction");
    auto* scanAll = form.findChild<QPushButton*>("btnStartFull");
    EXPECT_FALSE(searching->isVisible());
    EXPECT_TRUE(options->isVisible());

    int steps = 0;
    form.ProcessMessages = [&] {
        if (steps++ != 1)
            return;
        EXPECT_TRUE(form.Scanning());
        EXPECT_TRUE(busy.Busy());
        EXPECT_TRUE(searching->isVisible());
        EXPECT_FALSE(options->isVisible());
        EXPECT_FALSE(scanAll->isEnabled());
        EXPECT_FALSE(form.findChild<QTabWidget*>("pcMediaSearch")->tabBar()->isEnabled());
        EXPECT_EQ(action->text(), "Action : Scanning Folder...");
        // Every fifth file reports; the bar counts the files of the folder.
        EXPECT_EQ(count->text(), "10/12");
        EXPECT_EQ(bar->maximum(), 12);
        EXPECT_EQ(bar->value(), 10);
        // The tenth file's song is counted right after its step.
        EXPECT_EQ(form.NewFiles(), 9);
        EXPECT_EQ(form.findChild<QLabel*>("lblNewFilesFound")->text(), "9");
        EXPECT_FALSE(form.close());
        form.reject();
        EXPECT_TRUE(form.isVisible());
    };
    form.ScanAll();
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(library.GlobalList().Count(), 12);
    // Back in the normal view, and closed because "Close when finished" is checked.
    EXPECT_FALSE(form.Scanning());
    EXPECT_FALSE(busy.Busy());
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(Check(form, "cbFullScan")->isChecked());
    EXPECT_TRUE(scanAll->isEnabled());
    EXPECT_EQ(count->text(), "0");
    EXPECT_EQ(action->text(), "Action : None");
    EXPECT_EQ(bar->value(), 0);

    // Without "Close when finished" the dialog stays.
    Check(form, "cbCloseWhenDone")->setChecked(false);
    form.show();
    form.ScanAll();
    EXPECT_TRUE(form.isVisible());
}

TEST_F(MediaSearch, AFullRescanCutOffLeavesTheSavedLibraryAsItWas)
{
    for (int i = 0; i < 20; ++i)
        Song("Album/Song " + std::to_string(i) + ".wav");
    TfrmMusicSearch form(library);
    Add(form, music.Path());
    form.ScanAll();
    ASSERT_EQ(library.GlobalList().Count(), 20);
    const std::string saved = SavedLibrary();
    const int rebuildsBefore = rebuilds;

    fs::remove(Folder("Album/Song 3.wav"));
    Song("Album/Extra.wav");
    const auto cutOff = [steps = 0]() mutable {
        if (++steps == 2)
            throw std::runtime_error("cut off");
    };
    form.ProcessMessages = cutOff;
    Check(form, "cbFullScan")->setChecked(true);
    EXPECT_THROW(form.RunScan(TscanScope::All), std::runtime_error);
    EXPECT_EQ(SavedLibrary(), saved);
    EXPECT_EQ(library.GlobalList().Count(), 20);
    EXPECT_EQ(rebuilds, rebuildsBefore);
    EXPECT_FALSE(form.Scanning());

    // Through the button the failure is shown, and the library stays as well.
    form.ProcessMessages = cutOff;
    Check(form, "cbFullScan")->setChecked(true);
    form.ScanAll();
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "cut off");
    EXPECT_EQ(SavedLibrary(), saved);

    // Run to its end, the rescan replaces the library in one step.
    form.ProcessMessages = nullptr;
    Check(form, "cbFullScan")->setChecked(true);
    form.ScanAll();
    EXPECT_EQ(form.NewFiles(), 20);
    EXPECT_EQ(rebuilds, rebuildsBefore + 1);
    const std::set<std::string> titles = Titles();
    EXPECT_EQ(titles.size(), 20u);
    EXPECT_TRUE(titles.count("Extra"));
    EXPECT_FALSE(titles.count("Song 3"));
    EXPECT_EQ(SavedCount(), 20);
}

TEST_F(MediaSearch, AFullRescanKilledHalfWayLeavesTheSavedLibraryLoadable)
{
    for (int i = 0; i < 30; ++i)
        Song("Album/Song " + std::to_string(i) + ".wav");
    TfrmMusicSearch form(library);
    Add(form, music.Path());
    form.ScanAll();
    ASSERT_EQ(SavedCount(), 30);
    const std::string saved = SavedLibrary();
    Song("Album/Extra.wav");

    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(MEDIA_SCAN_PROBE),
                {platform::ToQString(PluginFolder()), platform::ToQString(data.Path()),
                 platform::ToQString(music.Path()), "3"});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.exitStatus(), QProcess::CrashExit) << probe.readAllStandardError().toStdString();
    EXPECT_EQ(SavedLibrary(), saved);
    EXPECT_EQ(SavedCount(), 30);

    // Not killed, the same run replaces the library with what it found.
    probe.start(QStringLiteral(MEDIA_SCAN_PROBE),
                {platform::ToQString(PluginFolder()), platform::ToQString(data.Path()),
                 platform::ToQString(music.Path()), "0"});
    ASSERT_TRUE(probe.waitForFinished(30000));
    EXPECT_EQ(probe.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(probe.exitCode(), 0);
    EXPECT_EQ(SavedCount(), 31);
}

TEST_F(MediaSearch, RemoveMissingLooksOnlyInsideTheFoldersScanned)
{
    Song("usb/Away/Gone Song.wav");
    Song("usb/Away/Other Song.wav");
    Song("home/Here/Kept.wav");
    Song("home/Here/Deleted.wav");
    Song("home/Sub/Old.wav");
    TfrmMusicSearch form(library);
    Add(form, Folder("usb"));
    Add(form, Folder("home"));
    form.ScanAll();
    ASSERT_EQ(library.GlobalList().Count(), 5);

    // The disc is unplugged, and one song of the other folder is deleted: scanning that folder drops only
    // its own missing song.
    fs::rename(Folder("usb"), music.File("usb-unplugged"));
    fs::remove(Folder("home/Here/Deleted.wav"));
    Check(form, "cbRemoveMissing")->setChecked(true);
    Folders(form)->item(1)->setCheckState(Qt::Checked);
    form.ScanSelected();
    EXPECT_EQ(Titles(), (std::set<std::string>{"Gone Song", "Other Song", "Kept", "Old"}));
    EXPECT_EQ(SavedCount(), 4);

    // "Scan Sub Folder" likewise: only below the folder chosen.
    fs::remove(Folder("home/Sub/Old.wav"));
    fs::remove(Folder("home/Here/Kept.wav"));
    Folders(form)->setCurrentRow(1);
    dialogs.folderAnswers.push_back(Folder("home/Sub/"));
    form.ScanSubFolder();
    EXPECT_EQ(dialogs.asked.back().caption, "Choose Folder");
    EXPECT_EQ(dialogs.asked.back().detail, Folder("home"));
    EXPECT_EQ(Titles(), (std::set<std::string>{"Gone Song", "Other Song", "Kept"}));

    // "Scan All" removes every song whose file is gone, but for those of the folder that is not there: it
    // is skipped, and the user is told which.
    const int rebuildsBefore = rebuilds;
    form.ScanAll();
    EXPECT_EQ(Titles(), (std::set<std::string>{"Gone Song", "Other Song"}));
    EXPECT_EQ(SavedCount(), 2);
    EXPECT_EQ(rebuilds, rebuildsBefore + 1); // rebuilt and saved once
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].caption, "Media Search");
    EXPECT_NE(prompts.boxes[0].text.find("\r" + Folder("usb")), std::string::npos);

    // Plugged in again, the disc's missing songs go like any others.
    fs::rename(music.File("usb-unplugged"), Folder("usb"));
    fs::remove(Folder("usb/Away/Gone Song.wav"));
    form.ScanAll();
    EXPECT_EQ(Titles(), (std::set<std::string>{"Other Song"}));
    EXPECT_EQ(prompts.boxes.size(), 1u);
}

TEST_F(MediaSearch, AFullRescanKeepsTheSongsOfFoldersGoneUnreadableOrUnmounted)
{
    Song("usb/A.wav");
    Song("usb/B.wav");
    Song("share/C.wav");
    Song("home/D.wav");
    TfrmMusicSearch form(library);
    for (const char* folder : {"usb", "share", "home"})
        Add(form, Folder(folder));
    form.ScanAll();
    ASSERT_EQ(SavedCount(), 4);

    // The disc is moved away and the share's mount point is left empty; a song is added at home.
    fs::rename(Folder("usb"), music.File("elsewhere"));
    fs::rename(Folder("share/C.wav"), music.File("C.wav"));
    Song("home/E.wav");
    Check(form, "cbFullScan")->setChecked(true);
    Check(form, "cbRemoveMissing")->setChecked(true);
    form.ScanAll();
    EXPECT_EQ(Titles(), (std::set<std::string>{"A", "B", "C", "D", "E"}));
    EXPECT_EQ(SavedCount(), 5);
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text,
              "These media folders are missing, unreadable or empty (an unplugged disc, a "
              "share not mounted) and were skipped; their songs stay in the library:\r" +
                  Folder("usb") + "\r" + Folder("share"));
}

TEST_F(MediaSearch, FullRescanOnlyForScanAllAndTheMaskPageBecomesTheLibrarys)
{
    Song("a/Album/Alpha.wav");
    Song("b/Album/Beta.wav");
    TfrmMusicSearch form(library);
    Add(form, Folder("a"));
    Add(form, Folder("b"));
    form.ScanAll();
    ASSERT_EQ(library.GlobalList().Count(), 2);

    Song("b/Album/Gamma.wav");
    Check(form, "cbFullScan")->setChecked(true);
    Check(form, "cbArtistFromParent")->setChecked(false);
    Folders(form)->item(1)->setCheckState(Qt::Checked);
    form.ScanSelected();
    EXPECT_EQ(Titles(), (std::set<std::string>{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(form.NewFiles(), 1);
    EXPECT_FALSE(library.GlobalList().ArtistFromParentFolder());
    EXPECT_FALSE(Check(form, "cbArtistFromParent")->isChecked());

    // Nothing checked: nothing scanned, but the library is still rebuilt.
    const int before = rebuilds;
    form.ScanSelected();
    EXPECT_EQ(form.NewFiles(), 0);
    EXPECT_EQ(rebuilds, before + 1);
    EXPECT_EQ(library.GlobalList().Count(), 3);
}

TEST_F(MediaSearch, FolderListEditingAndDiscsRefused)
{
    TempDir disc;
    const std::string table = data.Write("mounts", "/dev/sr0 " + disc.Path() + " iso9660 ro 0 0\n");
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE", table);
    TfrmMusicSearch form(library);
    Add(form, disc.Path() + "/Music");
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text,
              "You cannot add a CD to the scan list, CD-Roms are scanned automatically.");
    EXPECT_EQ(library.MediaFolders().Count(), 0);

    Add(form, Folder("one"));
    Add(form, Folder("two"));
    dialogs.folderAnswers.push_back(std::nullopt);
    form.AddFolder();
    EXPECT_EQ(library.MediaFolders().Count(), 2);
    form.DeleteFolder(); // nothing selected
    EXPECT_EQ(library.MediaFolders().Count(), 2);
    // Current but not highlighted, as after tabbing in: Delete and Scan Sub Folder stay off and do nothing.
    auto* deleteFolder = form.findChild<QPushButton*>("btnDeleteFolder");
    auto* subScan = form.findChild<QPushButton*>("btnSubScan");
    const std::size_t asked = dialogs.asked.size();
    Folders(form)->selectionModel()->setCurrentIndex(Folders(form)->model()->index(0, 0),
                                                     QItemSelectionModel::NoUpdate);
    EXPECT_FALSE(deleteFolder->isEnabled());
    EXPECT_FALSE(subScan->isEnabled());
    form.DeleteFolder();
    form.ScanSubFolder();
    EXPECT_EQ(library.MediaFolders().Count(), 2);
    EXPECT_EQ(dialogs.asked.size(), asked);
    Folders(form)->setCurrentRow(0);
    EXPECT_TRUE(deleteFolder->isEnabled());
    EXPECT_TRUE(subScan->isEnabled());
    form.DeleteFolder();
    ASSERT_EQ(library.MediaFolders().Count(), 1);
    EXPECT_EQ(library.MediaFolders()[0], Folder("two"));
    EXPECT_EQ(platform::FromQString(Folders(form)->item(0)->text()), Folder("two"));
    EXPECT_EQ(Folders(form)->item(0)->checkState(), Qt::Unchecked);
    form.ClearFolders();
    EXPECT_EQ(library.MediaFolders().Count(), 0);
    EXPECT_EQ(Folders(form)->count(), 0);
}
