// The main window's creation, start-up and close steps, driven with a recording player and a local library.
#include "app/windows/frmjukebox.h"

#include "controls/quytipdialog.h"
#include "controls/quytipdialogform.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/plugins/taggerloader.h"
#include "core/reports/audiotaghistorylist.h"
#include "core/songs/audiotag.h"
#include "core/timers/alarm.h"
#include "platform/error.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// The main window with a local library and the recording player; it logs its virtual operations.
class TtestJukeboxWindow : public TfrmJukebox
{
public:
    std::vector<std::string> log;
    TtestMediaPlayer* player = nullptr;

    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override
    {
        log.push_back("CreateJukeboxList");
        auto library = std::make_unique<TlocalJukeboxList>();
        library->SetAutoSaveQueue(true);
        return library;
    }
    std::unique_ptr<TcustomMediaPlayer> CreatePlayer() override
    {
        log.push_back("CreatePlayer");
        auto made = std::make_unique<TtestMediaPlayer>();
        player = made.get();
        return made;
    }
    void PlaybackStarted(const TaudioTag* song) override
    {
        TfrmJukebox::PlaybackStarted(song);
        log.push_back(std::string("PlaybackStarted ") + (song ? song->Filename() : "nil"));
    }
    void StackerChanged() override
    {
        TfrmJukebox::StackerChanged();
        log.push_back("StackerChanged");
    }
    void PlayerStateChanged(TmediaPlayState state) override
    {
        TfrmJukebox::PlayerStateChanged(state);
        log.push_back("PlayerStateChanged " + std::to_string(state));
    }
    void QueueChanged() override
    {
        TfrmJukebox::QueueChanged();
        log.push_back("QueueChanged");
    }
    void LoadSettings(const TIniFile& ini) override
    {
        TfrmJukebox::LoadSettings(ini);
        log.push_back("LoadSettings");
    }
    void SaveSettings(TIniFile& ini) override
    {
        TfrmJukebox::SaveSettings(ini);
        log.push_back("SaveSettings");
    }
    using TfrmJukebox::PlayerEvents;
};

std::unique_ptr<TaudioTag> Song(const std::string& name)
{
    auto song = std::make_unique<TaudioTag>();
    song->SetFilename("/music/" + name + ".wav");
    song->SetArtist("Artist");
    song->SetTitle(name);
    song->SetDuration(60);
    return song;
}

std::vector<std::string> Keys(const TIniFile& ini, const std::string& section)
{
    TStrings keys;
    ini.ReadSection(section, keys);
    std::vector<std::string> names;
    for (int i = 0; i < keys.Count(); ++i)
        names.push_back(keys[i]);
    return names;
}

class FrmJukeboxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window_ = CreateMainWindow<TtestJukeboxWindow>();
        window_->OnSaveFailure = [this](const std::string& message) { saveFailures_.push_back(message); };
    }

    TtestJukeboxWindow& Window() { return static_cast<TtestJukeboxWindow&>(*window_); }
    TtestMediaPlayer& Player() { return *Window().player; }

    void Restart()
    {
        window_.reset();
        SetUp();
    }

    TempDir home_;
    ScopedEnv homeEnv_{"ORVANE_HOME", home_.Path() + "/"};
    TfakePrompts prompts_;
    TfakeDialogs dialogs_;
    TmainWindowPtr window_;
    std::vector<std::string> saveFailures_;
};

} // namespace

TEST_F(FrmJukeboxTest, CreationMakesTheCoreObjectsAndHandsThePlayerToTheJukebox)
{
    EXPECT_EQ(Window().log, (std::vector<std::string>{"CreateJukeboxList", "CreatePlayer"}));
    EXPECT_EQ(&Window().GetPlayer(), Window().player);
    EXPECT_EQ(Window().GetJukebox().Player(), Window().player) << "the jukebox owns the player";
    EXPECT_EQ(Player().Events(), &Window().PlayerEvents);
    ASSERT_FALSE(Player().Calls.empty());
    EXPECT_EQ(Player().Calls.front(), "Initialise") << "initialised before the hand-over";
    EXPECT_EQ(TaggerLoader().SupportLevel(), static_cast<std::uint32_t>(Player().GetSupportLevel()));

    EXPECT_EQ(Window().GetJukebox().Playlist().Title(), "RUNNING");
    EXPECT_EQ(Window().GetJukeboxList().DataFolder(), platform::DataFolder());
    for (const std::string& folder :
         {platform::DataFolder(), platform::SettingsFolder(), platform::CartridgesFolder(),
          platform::ReportsFolder(), platform::PluginsFolder()})
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << folder;
    EXPECT_TRUE(window_->OwnsSingleInstance()) << "without a gate this is the only copy";
}

TEST_F(FrmJukeboxTest, BaseWindowWithoutFactoriesHasNeitherLibraryNorPlayer)
{
    TmainWindowPtr bare = CreateMainWindow<TfrmJukebox>();
    try {
        bare->GetJukeboxList();
        FAIL() << "no library";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "No Jukebox has been assigned.");
    }
    try {
        bare->GetPlayer();
        FAIL() << "no player";
    } catch (const std::exception& error) {
        EXPECT_STREQ(error.what(), "No Player has been assigned.");
    }
}

TEST_F(FrmJukeboxTest, MenuAndPopupHoldTheSameActions)
{
    TjukeboxActions& actions = window_->Actions();
    EXPECT_EQ(actions.All().size(), 40u);
    const QList<QAction*> top = window_->menuBar()->actions();
    ASSERT_EQ(top.size(), 11);
    EXPECT_EQ(top[0]->text(), "&File");
    EXPECT_EQ(top[10]->text(), "&Help");

    const QList<QAction*> popup = window_->PopupMenu()->actions();
    ASSERT_EQ(popup.size(), top.size());
    for (int i = 0; i < top.size(); ++i) {
        ASSERT_NE(popup[i]->menu(), nullptr);
        EXPECT_NE(popup[i]->menu(), top[i]->menu()) << "a menu of its own";
        EXPECT_EQ(popup[i]->text(), top[i]->text());
        const QList<QAction*> from = top[i]->menu()->actions();
        const QList<QAction*> into = popup[i]->menu()->actions();
        ASSERT_EQ(from.size(), into.size()) << platform::FromQString(top[i]->text());
        for (int j = 0; j < from.size(); ++j) {
            if (!from[j]->isSeparator()) {
                EXPECT_EQ(from[j], into[j]) << "the same action";
            }
        }
    }
    // Hidden in the base window, so hidden in both menus; its hint names the program.
    EXPECT_FALSE(actions.actnViewMinimize->isVisible());
    EXPECT_EQ(TjukeboxActions::Hint(actions.actnHelpHelp), "Help for Orvane Jukebox");
    EXPECT_EQ(TjukeboxActions::Hint(actions.actnFileExit), "Exit Orvane Jukebox");
    EXPECT_EQ(platform::FromQString(actions.actnFileExit->toolTip()).find("Exit Orvane Jukebox ("), 0u)
        << "hints show the shortcut";
    EXPECT_EQ(actions.actnFileScanFolders->shortcut(), QKeySequence("Ctrl+Shift+F5"));
}

TEST_F(FrmJukeboxTest, MissingSettingsFileGivesTheDefaults)
{
    window_->LoadPreferences();
    EXPECT_TRUE(window_->SettingsLoaded());
    EXPECT_FALSE(window_->GetShowTimeRemaining());
    EXPECT_FALSE(window_->GetAlwaysOnTop());
    EXPECT_TRUE(window_->GetShowTipsAtStartup());
    EXPECT_FALSE(window_->GetAutoPlay());
    EXPECT_TRUE(window_->GetKeyboardsEnabled());
    EXPECT_TRUE(window_->GetRandomPlayEnabled());
    EXPECT_FALSE(window_->GetStackerEnabled());
    EXPECT_FALSE(window_->GetScreenSaverEnabled());
    EXPECT_EQ(window_->GetScreenSaverTimeout(), 5u);
    EXPECT_DOUBLE_EQ(window_->AlarmOn().Time(), 0.5);
    EXPECT_DOUBLE_EQ(window_->AlarmOff().Time(), 0.5);
    EXPECT_FALSE(window_->AlarmOn().Enabled());
    EXPECT_EQ(window_->GetTagReadersFolder(), platform::TagPluginsFolder());
    EXPECT_EQ(window_->GetPlaylistsFolder(), platform::ProgramFolder());
    EXPECT_EQ(Player().CountCalls("LoadSettings Player"), 1u);
}

TEST_F(FrmJukeboxTest, SettingsRoundTripInTheirOrderAndKeepForeignKeys)
{
    TempDir dir;
    {
        TIniFile old(window_->GetSettingsFile());
        old.WriteString("Preferences", "RetiredKey", "kept");
        old.WriteString("Elsewhere", "Key", "also kept");
        old.UpdateFile();
    }
    window_->LoadPreferences();
    window_->SetShowTimeRemaining(true);
    window_->SetAutoPlay(true);
    window_->SetShowTipsAtStartup(false);
    window_->SetKeyboardWidth(420);
    window_->SetKeyboardsEnabled(false);
    window_->SetScreenSaverEnabled(true);
    window_->SetScreenSaverTimeout(99);
    window_->SetRandomPlayEnabled(false);
    window_->SetStackerEnabled(true);
    window_->SetTagReadersFolder(dir.Path());
    window_->SetCoverArtFolder("/covers");
    window_->SetMaintainAlarms(true);
    window_->AlarmOn().SetTime(0.25);
    window_->AlarmOn().SetEnabled(true);
    window_->SavePreferences();

    const TIniFile ini(window_->GetSettingsFile());
    EXPECT_EQ(ini.ReadString("Preferences", "RetiredKey", ""), "kept");
    EXPECT_EQ(ini.ReadString("Elsewhere", "Key", ""), "also kept");
    EXPECT_EQ(Keys(ini, "Preferences"),
              (std::vector<std::string>{"RetiredKey", "ShowTimeRemaining", "AlwaysOnTop", "ShowTipsAtStartup",
                                        "LastTipNo", "AutoPlay"}));
    EXPECT_EQ(Keys(ini, "Alarm"),
              (std::vector<std::string>{"Maintain", "TimeOn", "TimeOff", "TimeOnEnabled", "TimeOffEnabled"}));
    EXPECT_EQ(Keys(ini, "Paths"), (std::vector<std::string>{"TagReaders", "CoverArt", "Playlists"}));
    EXPECT_EQ(ini.ReadInteger("ScreenSaver", "Timeout", 0), 60) << "stored as at most 60";
    EXPECT_TRUE(ini.SectionExists("Player"));
    EXPECT_TRUE(ini.SectionExists("Jukebox"));

    Restart();
    window_->LoadPreferences();
    EXPECT_TRUE(window_->GetShowTimeRemaining());
    EXPECT_TRUE(window_->GetAutoPlay());
    EXPECT_FALSE(window_->GetShowTipsAtStartup());
    EXPECT_EQ(window_->GetKeyboardWidth(), 420);
    EXPECT_FALSE(window_->GetKeyboardsEnabled());
    EXPECT_TRUE(window_->GetScreenSaverEnabled());
    EXPECT_FALSE(window_->GetRandomPlayEnabled());
    EXPECT_TRUE(window_->GetStackerEnabled());
    EXPECT_EQ(window_->GetTagReadersFolder(), dir.Path()) << "a chosen folder stays as chosen";
    EXPECT_EQ(window_->GetCoverArtFolder(), "/covers");
    EXPECT_DOUBLE_EQ(window_->AlarmOn().Time(), 0.25);
    EXPECT_TRUE(window_->AlarmOn().Enabled()) << "kept across runs while maintained";
}

TEST_F(FrmJukeboxTest, AlarmStatesOnlySurviveWhenMaintained)
{
    TIniFile ini(window_->GetSettingsFile());
    ini.WriteBool("Alarm", "Maintain", false);
    ini.WriteBool("Alarm", "TimeOnEnabled", true);
    ini.WriteBool("Alarm", "TimeOffEnabled", true);
    ini.UpdateFile();
    window_->LoadPreferences();
    EXPECT_FALSE(window_->AlarmOn().Enabled());
    EXPECT_FALSE(window_->AlarmOff().Enabled());
}

TEST_F(FrmJukeboxTest, ShippedTagReadersFolderIsStoredAsTheDefault)
{
    // A settings file written where the program used to live names the shipped folder of that place.
    window_->SetTagReadersFolder(platform::TagPluginsFolder() + "/");
    EXPECT_EQ(window_->StoredTagReadersFolder(), "");
    window_->SavePreferences();
    const TIniFile ini(window_->GetSettingsFile());
    EXPECT_EQ(ini.ReadString("Paths", "TagReaders", "?"), "");
    Restart();
    window_->LoadPreferences();
    EXPECT_EQ(window_->GetTagReadersFolder(), platform::TagPluginsFolder());
    EXPECT_EQ(TaggerLoader().PluginFolder(), platform::TagPluginsFolder());
}

TEST_F(FrmJukeboxTest, StartupLoadsTheLibraryThenReadsItsSettingsAndAutoPlays)
{
    // A queue left by the previous run.
    window_->GetJukebox().Queue().Add(Song("left").release());
    ASSERT_TRUE(platform::FileExists(window_->GetJukebox().GetQueueFileName()));
    {
        TIniFile ini(window_->GetSettingsFile());
        ini.WriteBool("Preferences", "AutoPlay", true);
        ini.WriteBool("Preferences", "ShowTipsAtStartup", false);
        ini.UpdateFile();
    }
    Restart();
    window_->LoadPreferences();
    Window().log.clear();
    Player().Calls.clear();
    window_->Startup();

    EXPECT_EQ(window_->GetJukebox().Queue().GetCount(), 1);
    const std::vector<std::string>& log = Window().log;
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 2),
              (std::vector<std::string>{"StackerChanged", "PlaybackStarted nil"}))
        << "the now-playing display starts empty";
    EXPECT_EQ(std::vector<std::string>(log.end() - 2, log.end()),
              (std::vector<std::string>{"StackerChanged", "PlayerStateChanged 0"}));
    ASSERT_FALSE(Player().Calls.empty());
    EXPECT_EQ(Player().Calls.back(), "Play") << "auto play comes last";
}

TEST_F(FrmJukeboxTest, DamagedLibraryFilesAreNamedAtStartAndKept)
{
    window_->GetJukebox().Queue().Add(Song("left").release());
    const std::string queue = window_->GetJukebox().GetQueueFileName();
    const std::string cut = TempDir::Read(queue).substr(0, 20);
    Restart();
    std::ofstream(queue, std::ios::binary | std::ios::trunc) << cut;
    window_->LoadPreferences();
    window_->Startup();
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    EXPECT_EQ(prompts_.boxes[0].text,
              "These library files could not be read in full; they are kept as they are on "
              "disk until the library is saved again:\r" +
                  queue);
    window_->close();
    EXPECT_EQ(TempDir::Read(queue), cut);
}

TEST_F(FrmJukeboxTest, PlayerEventsReachTheJukeboxUntilClosing)
{
    window_->LoadPreferences();
    window_->GetJukebox().Queue().Add(Song("one").release());
    ASSERT_NE(Player().PreparedTag(), nullptr);
    EXPECT_EQ(Player().PreparedTag()->Filename(), "/music/one.wav");
    Player().StartPrepared();
    EXPECT_EQ(window_->GetJukebox().Queue().GetCount(), 0) << "the started song left the queue";
    EXPECT_EQ(window_->GetJukebox().History().GetCount(), 1);

    // A start the jukebox cannot save (history.txt cannot be written) is told after every window has
    // shown the song.
    const std::string history = window_->GetJukebox().GetHistoryFileName();
    std::filesystem::remove(history);
    std::filesystem::create_directories(history + "/blocked");
    window_->GetJukebox().Queue().Add(Song("full").release());
    Window().log.clear();
    EXPECT_THROW(Player().StartPrepared(), EFileError);
    ASSERT_FALSE(Window().log.empty());
    EXPECT_EQ(Window().log.back(), "PlaybackStarted /music/full.wav");

    window_->GetJukebox().Queue().Add(Song("two").release());
    window_->close();
    ASSERT_TRUE(window_->Closing());
    const auto dummy = Song("dummy");
    const TaudioTag* next = dummy.get();
    Player().Events()->OnGetNextTagger(&Player(), next);
    EXPECT_EQ(next, nullptr) << "no song while closing";
    Window().log.clear();
    Player().Events()->OnStateChange(&Player(), mpsPlaying);
    EXPECT_TRUE(Window().log.empty());
}

TEST_F(FrmJukeboxTest, CloseSavesThenShutsThePlayerDown)
{
    window_->LoadPreferences();
    Player().Calls.clear();
    bool closed = false;
    window_->OnClosed = [&](TfrmJukebox*) { closed = true; };
    window_->close();
    EXPECT_TRUE(closed);
    const auto& calls = Player().Calls;
    const auto save = std::find(calls.begin(), calls.end(), "SaveSettings Player");
    const auto down = std::find(calls.begin(), calls.end(), "Uninitialise");
    ASSERT_NE(save, calls.end());
    ASSERT_NE(down, calls.end());
    EXPECT_LT(save, down);
    EXPECT_TRUE(platform::FileExists(window_->GetSettingsFile()));
    EXPECT_TRUE(saveFailures_.empty());
}

TEST_F(FrmJukeboxTest, ReadOnlySettingsFileIsToldOnceAndTheCloseStillEnds)
{
    window_->LoadPreferences();
    const std::string file = window_->GetSettingsFile();
    {
        TIniFile ini(file);
        ini.WriteString("Preferences", "AutoPlay", "1");
        ini.UpdateFile();
    }
    ::chmod(file.c_str(), 0444);
    bool closed = false;
    window_->OnClosed = [&](TfrmJukebox*) { closed = true; };
    window_->close();
    ::chmod(file.c_str(), 0644);

    EXPECT_TRUE(closed);
    EXPECT_EQ(saveFailures_.size(), 1u);
    EXPECT_EQ(Player().CountCalls("Uninitialise"), 1u);
    EXPECT_EQ(TIniFile(file).ReadString("Preferences", "AutoPlay", ""), "1") << "the file stays as it was";
    EXPECT_EQ(TIniFile(file).ReadString("Preferences", "ShowTimeRemaining", "none"), "none");
}

TEST_F(FrmJukeboxTest, CloseWaitsForALongOperation)
{
    window_->LoadPreferences();
    {
        const TbusyGuard::TScope busy(window_->Busy());
        window_->CloseFromSystem();
        EXPECT_FALSE(window_->Closing());
    }
    EXPECT_FALSE(window_->Closing()) << "runs from the event loop";
    QApplication::processEvents();
    EXPECT_TRUE(window_->Closing());
    EXPECT_EQ(Player().CountCalls("Uninitialise"), 1u);
    window_->close();
    EXPECT_EQ(Player().CountCalls("Uninitialise"), 1u) << "the close step runs once";
}

TEST_F(FrmJukeboxTest, StartupTipDoesNotHoldUpAutoPlay)
{
    {
        TIniFile ini(window_->GetSettingsFile());
        ini.WriteBool("Preferences", "AutoPlay", true);
        ini.UpdateFile();
    }
    Restart();
    window_->LoadPreferences();
    ASSERT_TRUE(window_->GetShowTipsAtStartup());
    window_->Startup();
    EXPECT_EQ(Player().CountCalls("Play"), 1u);
    QApplication::processEvents();
    ASSERT_NE(window_->StartupTip(), nullptr) << "the tip of the day comes up after the start-up step";
    EXPECT_EQ(window_->TipDialog().Tips().Count(), 11);
    window_->StartupTip()->reject();
    EXPECT_TRUE(window_->GetShowTipsAtStartup());
}

TEST_F(FrmJukeboxTest, CloseBeforeTheSettingsWereReadKeepsTheFile)
{
    {
        TIniFile ini(window_->GetSettingsFile());
        ini.WriteBool("Preferences", "AutoPlay", true);
        ini.UpdateFile();
    }
    window_->CloseFromSystem();
    EXPECT_TRUE(window_->Closing());
    EXPECT_EQ(Player().CountCalls("Uninitialise"), 1u);
    const TIniFile ini(window_->GetSettingsFile());
    EXPECT_EQ(Keys(ini, "Preferences"), std::vector<std::string>{"AutoPlay"}) << "nothing written over it";
}
