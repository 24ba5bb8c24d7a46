// The small windows over a generated library: the splash, the about box, the information window, the album
// chooser, the rules editor, the preferences, the alarm clock settings, the reports window, the queue's Move
// To popup, the song search with the on-screen keyboard, the stacker, the playlist editor and the
// screensaver. A test tool; `--screenshots folder` saves splash.png, about.png, information.png,
// choosecd.png, rules.png, preferences.png, preferences-mappings.png, alarm-settings.png, reports.png,
// queue-move-to.png, song-search.png, stacker.png, playlist-editor.png and screensaver.png there and quits,
// without it the windows show one after the other. The program folder is a temporary one, so the reports
// window reads and writes no settings of the user's.

#include "app/dialogs/alarmsettingshost.h"
#include "app/dialogs/frmalarmsettings.h"
#include "app/dialogs/frmchoosecd.h"
#include "app/dialogs/frmjukeboxinfo.h"
#include "app/dialogs/frmojabout.h"
#include "app/dialogs/frmpreferences.h"
#include "app/dialogs/frmqueuemoveto.h"
#include "app/dialogs/frmreports.h"
#include "app/dialogs/frmsongsearch.h"
#include "app/dialogs/frmtaglistrules.h"
#include "app/dialogs/preferenceshost.h"
#include "app/dialogs/reportshost.h"
#include "app/dialogs/songsearchhost.h"
#include "app/keyboard/frmkeyboard.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmscreensaver.h"
#include "app/windows/frmstackerlist.h"
#include "app/windows/playlisteditorhost.h"
#include "app/windows/screensaverhost.h"
#include "app/windows/stackercartridges.h"
#include "app/windows/stackerhost.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/qtcolor.h"
#include "controls/scrollbanner3.h"
#include "controls/treesinkmodel.h"
#include "core/captions/tagfonts.h"
#include "core/groupings/audiotagartist.h"
#include "core/groupings/taglistrules.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/timers/alarm.h"
#include "platform/datetime.h"
#include "platform/qtstring.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"
#include "support/testpictures.h"
#include "support/testsongs.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace {

std::unique_ptr<TaudioTagList> Cartridge(const TaudioTagList& from, const std::string& title, int first,
                                         int songs)
{
    auto list = std::make_unique<TaudioTagList>();
    list->SetTitle(title);
    for (int i = first; i < first + songs && i < from.Count(); ++i)
        list->AddCopy(from.GetItem(i));
    return list;
}

// A library with something in every part of the summary.
void FillJukebox(TgeneratedLibrary& library, TlocalJukebox& jukebox)
{
    jukebox.SetJukeboxList(&library);
    const TaudioTagList& global = library.GlobalList();
    for (int i = 0; i < 12; ++i)
        jukebox.Queue().AddCopy(global.GetItem(i * 7));
    jukebox.Stacker().Add(Cartridge(global, "Sunday Morning", 40, 25).release());
    jukebox.Stacker().Add(Cartridge(global, "Road Trip", 90, 60).release());
    jukebox.SetActivePreloadedList(library.AddPlaylist("Party Mix", 48));
}

// Random-play rules with something in each rule: two genres, three of the library's artists, a year
// range and a folder.
void FillRules(const TgeneratedLibrary& library, TtagListRules& rules)
{
    rules.SetPathsAllowed(true);
    rules.SetUseGenres(true);
    rules.Genres().Add("ROCK");
    rules.Genres().Add("JAZZ");
    rules.SetUseArtists(true);
    for (int i = 2; i < 5; ++i)
        rules.Artists().Add(library.Artists().GetArtist(i)->Name());
    rules.SetNotArtist(true);
    rules.SetUseYear(true);
    rules.SetFromYear(1975);
    rules.SetToYear(1989);
    rules.SetUsePaths(false);
    rules.Paths().Add("/music/archive");
}

// The chooser with the compilations and one letter open and an album selected.
void PrepareChooser(TfrmChooseCD& chooser)
{
    TtreeSinkModel& model = chooser.Model();
    TnoScrollTreeView* tree = chooser.Tree();
    const TtreeNode letter = chooser.Viewer().GetAlphaNode('C');
    tree->expand(model.IndexOf(chooser.Viewer().GetCompilationsNode()));
    tree->expand(model.IndexOf(letter));
    const TtreeNode artist = model.Child(letter, 0);
    tree->expand(model.IndexOf(artist));
    tree->setCurrentIndex(model.IndexOf(model.Child(artist, 0)));
    tree->scrollTo(model.IndexOf(letter), QAbstractItemView::PositionAtTop);
}

void FireSplashTimer(TfrmAbout& about)
{
    QMetaObject::invokeMethod(about.SplashTimer(), "timeout");
}

bool Grab(QWidget& window, const QDir& dir, const char* name)
{
    window.show();
    QApplication::processEvents();
    const bool saved = window.grab().save(dir.filePath(name));
    window.hide();
    return saved;
}

// The main window's settings as the preferences show them.
class TshotHost : public TpreferencesHost
{
public:
    bool ScreenSaverEnabled() const override { return true; }
    void SetScreenSaverEnabled(bool) override {}
    int ScreenSaverTimeout() const override { return 10; }
    void SetScreenSaverTimeout(int) override {}
    std::string AlbumArtFolder() const override { return "/home/music/Covers"; }
    void SetAlbumArtFolder(const std::string&) override {}
    void RunMediaFolderScan() override {}
    void LibraryChanging() override {}
    QWidget* HostWindow() const override { return nullptr; }
};

// The main window as the playlist editor sees it: one library for the tree and the lists.
class TeditorShotHost : public TplaylistEditorHost
{
public:
    explicit TeditorShotHost(TcustomJukeboxList& library) : library_(library) {}
    TcustomJukeboxList* LibraryWithoutCDs() override { return &library_; }
    std::string PlaylistsFolder() const override { return "/home/music/Playlists"; }
    void SetPlaylistsFolder(const std::string&) override {}
    void LoadCartridge() override {}
    void AddCartridge() override {}
    void SaveCartridge() override {}
    TfrmProgress* ProgressWindow() const override { return nullptr; }
    bool StackerLocked() const override { return false; }

private:
    TcustomJukeboxList& library_;
};

// A local library holding copies of the generated songs, with two saved playlists and a stacker list.
void FillEditorLibrary(const TgeneratedLibrary& generated, TlocalJukeboxList& library)
{
    const TaudioTagList& songs = generated.GlobalList();
    library.GlobalList().BeginUpdate();
    for (const TaudioTag* song : songs.Items())
        library.GlobalList().AddCopy(song);
    library.GlobalList().EndUpdate();
    library.Playlists().Add(Cartridge(songs, "Party Mix", 10, 24).release());
    library.Playlists().Add(Cartridge(songs, "Late Night", 200, 16).release());
    library.Jukebox()->Stacker().Add(Cartridge(songs, "Road Trip", 90, 30).release());
    library.Jukebox()->SetActivePreloadedList(library.Playlists().Find("Party Mix"));
}

// The editor with an artist open, an album's songs listed and the first saved playlist being edited.
bool GrabPlaylistEditor(TfrmPlaylistEditor& editor, const QDir& dir)
{
    editor.resize(1000, 640);
    editor.show();
    QApplication::processEvents();
    const TcustomJukeboxListViewer& viewer = editor.Viewer();
    TtreeSinkModel& model = editor.Model();
    TnoScrollTreeView* tree = editor.Tree();
    const TtreeNode letter = viewer.GetAlphaNode('B');
    tree->expand(model.IndexOf(letter));
    const TtreeNode artist = model.Child(letter, 0);
    tree->expand(model.IndexOf(artist));
    tree->setCurrentIndex(model.IndexOf(model.Child(artist, 0)));
    tree->scrollTo(model.IndexOf(letter), QAbstractItemView::PositionAtTop);
    ThtmlListBox* lists = editor.PlaylistsBox();
    const int row = lists->Items().IndexOf("Party Mix");
    lists->SetItemIndex(row);
    lists->SetSelected(row, true);
    editor.PlaylistsClicked();
    editor.PlaylistBox()->SetItemIndex(3);
    editor.PlaylistBox()->SetSelected(3, true);
    QApplication::processEvents();
    editor.PlaylistBox()->scrollToTop();
    const bool saved = editor.grab().save(dir.filePath("playlist-editor.png"));
    editor.hide();
    return saved;
}

// A few mappings of the library's artists, one of them the standard form.
void FillMappings(TgeneratedLibrary& library)
{
    TStrings& mappings = library.Artists().MappingList();
    const TaudioTagArtistList& artists = library.Artists();
    mappings.Add(artists.GetArtist(6)->Name() + "=");
    mappings.Add(artists.GetArtist(9)->Name() + "=Nine Duo");
    library.MediaFolders().Add("/home/music/Albums");
}

// The mappings page with an artist selected.
bool GrabMappings(TfrmPreferences& preferences, const QDir& dir)
{
    auto* pages = preferences.findChild<QTabWidget*>("pcPreferences");
    pages->setCurrentWidget(preferences.findChild<QWidget*>("tsMappings"));
    preferences.findChild<QListWidget*>("lbArtists")->setCurrentRow(3);
    const bool saved = Grab(preferences, dir, "preferences-mappings.png");
    preferences.OpenPage(std::string());
    return saved;
}

// A wake-up alarm at half past seven, kept across runs; the turn-off alarm set but not in use.
class TshotAlarmHost : public TalarmSettingsHost
{
public:
    TshotAlarmHost()
    {
        on_.SetTime(platform::EncodeTime(7, 30, 0));
        on_.SetEnabled(true);
        off_.SetTime(platform::EncodeTime(23, 0, 0));
    }

    Talarm& AlarmOn() const override { return on_; }
    Talarm& AlarmOff() const override { return off_; }
    bool GetMaintainAlarms() const override { return true; }
    void SetMaintainAlarms(bool) override {}
    QWidget* HostWindow() const override { return nullptr; }

private:
    mutable Talarm on_;
    mutable Talarm off_;
};

// The reports window over the generated library, no cover folder, no busy flag.
class TshotReportsHost : public TreportsHost
{
public:
    explicit TshotReportsHost(TcustomJukeboxList& library) : library_(library) {}
    TcustomJukeboxList* ReportLibrary() const override { return &library_; }
    std::string CoverArtFolder() const override { return ""; }
    QWidget* HostWindow() const override { return nullptr; }
    TbusyGuard* BusyGuard() override { return nullptr; }

private:
    TcustomJukeboxList& library_;
};

// The reports window with "Missing Album Covers" selected: its description and output file show.
bool GrabReports(TfrmReports& reports, const QDir& dir)
{
    reports.show();
    QApplication::processEvents();
    QListWidget* list = reports.ReportList();
    for (int row = 0; row < list->count(); ++row)
        if (list->item(row)->text() == "Missing Album Covers")
            list->setCurrentRow(row);
    return Grab(reports, dir, "reports.png");
}

// The Move To popup for the fourth of twelve queued songs.
bool GrabMoveTo(const QDir& dir)
{
    TfrmQueueMoveTo popup;
    popup.setFixedWidth(popup.PositionEdit()->width());
    popup.PositionEdit()->setRange(1, 12);
    popup.PositionEdit()->setValue(4);
    return Grab(popup, dir, "queue-move-to.png");
}

// The search's view of the main window: the generated library and the jukebox's queue.
class TshotSearchHost : public TsongSearchHost
{
public:
    TshotSearchHost(const TcustomJukeboxList& library, TlocalJukebox& jukebox)
        : library_(library), jukebox_(jukebox)
    {}

    const TcustomJukeboxList* SearchLibrary() const override { return &library_; }
    QWidget* HostWindow() const override { return nullptr; }

private:
    const TcustomJukeboxList& library_;
    TlocalJukebox& jukebox_;
};

// Large keys, as on a touch screen; twice, as at any showing after the first, so the search line follows
// the keys' height.
void DockLargeKeyboard(TfrmSongSearch& search)
{
    search.SetUseKeyboard(true);
    const TfrmKeyboard* keyboard = GetKeyboardForm();
    for (int i = 0; i < 2; ++i)
        search.SetKeyboardSize(keyboard->KeyboardWidthFor(40), keyboard->KeyboardHeightFor(40));
}

bool SaveSearch(const QDir& dir, TsongSearchHost& host)
{
    TfrmSongSearch search;
    search.SetJukebox(&host);
    DockLargeKeyboard(search);
    search.show();
    search.SearchEdit()->setText("ra");
    search.TrackList()->setCurrentRow(2);
    QApplication::processEvents();
    return search.grab().save(dir.filePath("song-search.png"));
}

// The stacker's seams: unlocked, no progress window.
class TstackerShotHost : public TstackerHost
{
public:
    QWidget* HostWindow() const override { return nullptr; }
    TfrmProgress* ProgressWindow() const override { return nullptr; }
    bool StackerLocked() const override { return false; }
};

// The stacker window over a library of local files holding the generated songs: two albums and a saved
// playlist in the stacker, two cartridges in the combo, a letter of the tree open with an album selected.
class TstackerShot
{
public:
    explicit TstackerShot(const TgeneratedLibrary& from)
    {
        TaudioTagList& global = library_.GlobalList();
        global.BeginUpdate();
        for (const TaudioTag* song : from.GlobalList().Items())
            global.AddCopy(song);
        global.EndUpdate();
        auto party = std::make_unique<TaudioTagList>();
        party->SetTitle("Party Mix");
        for (int i = 0; i < 30; ++i)
            party->AddCopy(global.GetItem(i * 11));
        library_.Playlists().Add(party.release());
        window_.SetJukebox(&library_, &host_);
        TstackerCartridges& cartridges = *window_.Cartridges();
        cartridges.SetFolder(platform::FromQString(folder_.path()));
        cartridges.AddListToStacker(*library_.Playlists().GetItem(0));
        for (const char* name : {"Sunday Morning", "Road Trip"})
            cartridges.Stacker()->SaveToFile(cartridges.FileOf(name));
        for (int i : {3, 17})
            cartridges.AddListToStacker(*library_.Albums().GetItem(i));
    }

    TfrmStackerList& Window() { return window_; }

    bool Save(const QDir& dir)
    {
        window_.show();
        QApplication::processEvents();
        TtreeSinkModel& model = window_.Model();
        const TtreeNode letter = window_.Viewer().GetAlphaNode('B');
        TnoScrollTreeView* tree = window_.Tree();
        tree->expand(model.IndexOf(letter));
        const TtreeNode artist = model.Child(letter, 0);
        tree->expand(model.IndexOf(artist));
        tree->setCurrentIndex(model.IndexOf(model.Child(artist, 0)));
        tree->scrollTo(model.IndexOf(letter), QAbstractItemView::PositionAtTop);
        window_.StackerList()->SetItemIndex(1);
        return Grab(window_, dir, "stacker.png");
    }

private:
    QTemporaryDir folder_;
    TlocalJukeboxList library_;
    TstackerShotHost host_;
    TfrmStackerList window_;
};

// The screensaver's caption fonts and a cover folder holding one album's cover.
class TshotScreenSaverHost : public TscreenSaverHost
{
public:
    TshotScreenSaverHost()
    {
        fonts_.BeginUpdate();
        fonts_.SetArtistFont(Font(26, clWhite, true));
        fonts_.SetTitleFont(Font(26, clYellow, true));
        fonts_.SetCharacterFont(Font(22, clSilver, false));
        fonts_.SetAlbumFont(Font(22, clAqua, false));
        fonts_.SetDurationFont(Font(22, clSilver, false));
        fonts_.EndUpdate();
    }

    const TtagFonts& ScreenSaverFonts() const override { return fonts_; }
    std::string AlbumArtFolder() const override { return platform::FromQString(folder_.path()); }

    bool WriteCover(const std::string& name) const
    {
        std::ofstream out(AlbumArtFolder() + "/" + name, std::ios::binary);
        const std::string bmp = CoverBmp();
        return bool(out.write(bmp.data(), std::streamsize(bmp.size())));
    }

private:
    static TFontDesc Font(int size, TColor color, bool bold)
    {
        TFontDesc font;
        font.Name = "DejaVu Sans";
        font.Size = size;
        font.Color = color;
        font.Style = bold ? TFontStyles{TFontStyle::fsBold} : TFontStyles{};
        return font;
    }

    // A 24-bit bitmap of rings over a dusk gradient, rows bottom-up as bitmaps store them.
    static std::string CoverBmp()
    {
        constexpr int kSide = 320;
        std::string pixels;
        pixels.reserve(kSide * kSide * 3);
        for (int row = kSide - 1; row >= 0; --row) {
            for (int x = 0; x < kSide; ++x) {
                const double dx = x - kSide / 2.0;
                const double dy = row - kSide * 0.62;
                const bool ring = int(std::sqrt(dx * dx + dy * dy)) / 14 % 2 == 0;
                const int red = 40 + row * 180 / kSide;
                const int green = 20 + (ring ? 40 : 12);
                const int blue = 120 - row * 80 / kSide + (ring ? 30 : 0);
                pixels += char(blue);
                pixels += char(green);
                pixels += char(red);
            }
        }
        return MakeBmp(kSide, kSide, 24, 0, std::string(), pixels);
    }

    TtagFonts fonts_;
    QTemporaryDir folder_;
};

bool GrabScreenSaver(TfrmScreenSaver& saver, const QDir& dir)
{
    saver.show();
    // A wide screen, so the black shows beside the cover.
    saver.resize(1024, 576);
    QApplication::processEvents();
    saver.Banner()->move(0, saver.BannerRange() * 4 / 5);
    const bool saved = saver.grab().save(dir.filePath("screensaver.png"));
    saver.close();
    return saved;
}

bool SaveAll(const QString& folder, TfrmOJAbout& about, TfrmJukeboxInfo& info, TfrmChooseCD& chooser,
             TfrmTagListRules& rules, TfrmPreferences& preferences, TfrmAlarmSettings& alarms,
             TfrmReports& reports, TsongSearchHost& searchHost, TfrmPlaylistEditor& editor,
             TfrmScreenSaver& saver)
{
    const QDir dir(folder);
    if (!dir.mkpath("."))
        return false;
    bool saved = true;
    about.ShowSplash();
    QApplication::processEvents();
    saved = about.grab().save(dir.filePath("splash.png")) && saved;
    FireSplashTimer(about);

    WhenModal([&](QWidget* shown) {
        saved = shown->grab().save(dir.filePath("about.png")) && saved;
        about.reject();
    });
    about.ShowAboutBox();

    saved = Grab(info, dir, "information.png") && saved;
    chooser.show();
    PrepareChooser(chooser);
    saved = Grab(chooser, dir, "choosecd.png") && saved;
    saved = Grab(rules, dir, "rules.png") && saved;
    saved = Grab(preferences, dir, "preferences.png") && saved;
    saved = GrabMappings(preferences, dir) && saved;
    saved = Grab(alarms, dir, "alarm-settings.png") && saved;
    saved = GrabReports(reports, dir) && saved;
    saved = GrabMoveTo(dir) && saved;
    saved = GrabPlaylistEditor(editor, dir) && saved;
    saved = GrabScreenSaver(saver, dir) && saved;
    return SaveSearch(dir, searchHost) && saved;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QTemporaryDir home;
    qputenv("ORVANE_HOME", home.path().toUtf8());
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    InstallPaletteColorResolver();
    const QStringList args = app.arguments();
    const int at = int(args.indexOf("--screenshots"));
    const QString folder = at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();

    TlibraryShape shape;
    shape.Songs = 640;
    shape.Artists = 36;
    shape.Albums = 70;
    TgeneratedLibrary library(shape);
    TlocalJukebox jukebox;
    FillJukebox(library, jukebox);

    TfrmOJAbout about;
    TfrmJukeboxInfo info;
    info.FillInfo(library, &jukebox);
    TfrmChooseCD chooser;
    chooser.SetJukeboxList(&library);
    TtagListRules randomRules;
    FillRules(library, randomRules);
    TfrmTagListRules rules;
    rules.ShowRules(randomRules);
    rules.SetJukeboxList(&library);
    FillMappings(library);
    TshotHost host;
    TfrmPreferences preferences(library, host);
    TshotAlarmHost alarmHost;
    TfrmAlarmSettings alarms;
    alarms.SetJukebox(&alarmHost);
    TshotReportsHost reportsHost(library);
    TfrmReports reports;
    reports.SetJukebox(&reportsHost);
    TshotSearchHost searchHost(library, jukebox);
    TstackerShot stacker(library);
    TlocalJukeboxList editorLibrary;
    FillEditorLibrary(library, editorLibrary);
    TeditorShotHost editorHost(editorLibrary);
    TfrmPlaylistEditor editor(editorLibrary);
    editor.SetJukebox(&editorHost);
    TshotScreenSaverHost saverHost;
    const auto song = Song("The Lanterns", "Northern Lights", "Harbour Songs", 4);
    if (!saverHost.WriteCover("The Lanterns - Harbour Songs.bmp"))
        return 1;
    TfrmScreenSaver saver;
    saver.SetJukebox(&saverHost);
    saver.SetSong(song.get());
    if (!folder.isEmpty()) {
        const bool saved = SaveAll(folder, about, info, chooser, rules, preferences, alarms, reports,
                                   searchHost, editor, saver);
        return stacker.Save(QDir(folder)) && saved ? 0 : 1;
    }

    about.ShowSplash();
    QObject::connect(&about, &QDialog::finished, &about, [&] {
        QObject::disconnect(&about, &QDialog::finished, nullptr, nullptr);
        QTimer::singleShot(0, [&] {
            about.ShowAboutBox();
            info.exec();
            chooser.exec();
            rules.exec();
            preferences.exec();
            alarms.exec();
            reports.exec();
            AskQueuePosition(0, 11, 3, 200, 200);
            const TfrmKeyboard* keyboard = GetKeyboardForm();
            SearchSong(&searchHost, keyboard->KeyboardWidthFor(40), keyboard->KeyboardHeightFor(40), true);
            stacker.Window().exec();
            editor.exec();
            // A key or a click closes the last window and ends the tour.
            saver.show();
        });
    });
    return app.exec();
}
