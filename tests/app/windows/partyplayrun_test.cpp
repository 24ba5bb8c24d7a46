// The program's own main window with the real stand-in player and WAV files on disk: media folders and
// their scan, playing through the commands, a queued file, and the party-play lock.
#include "app/dialogs/frmjukeboxinfo.h"
#include "app/dialogs/frmmusicsearch.h"
#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmprogress.h"
#include "app/dialogs/frmsongsearch.h"
#include "app/windows/frmojb.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/player/custommediaplayer.h"
#include "core/songs/audiotaglist.h"
#include "core/timers/alarm.h"
#include "platform/qtstring.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/guievents.h"
#include "support/pumpevents.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/wavbytes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>

#include <string>

namespace {

class PartyPlayRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"Bach - Air", "Bach - Bourree", "Bach - Chaconne"})
            music_.Write(std::string(name) + ".wav", wavbytes::Song(60000));
        home_.Write("Settings/settings.ini", "[Preferences]\r\nShowTipsAtStartup=0\r\n");
        window_ = CreateMainWindow<TfrmOJB>();
        main_ = static_cast<TfrmOJB*>(window_.get());
        main_->SetLoadDemoLibrary(false);
        main_->SetProgressWindow(new TfrmProgress(main_, &main_->Busy()));
        main_->SetPartyPlayForm(&partyPlay_);
        main_->LoadPreferences();
        main_->Startup();
    }
    void TearDown() override
    {
        if (!main_->Closing()) {
            main_->CloseFromSystem();
        }
        window_.reset();
    }

    // Opens the media folders by their command, adds the music folder and scans all.
    void ScanAll(bool addFolder)
    {
        if (addFolder)
            dialogs_.folderAnswers.push_back(music_.Path());
        WhenModal([addFolder](QWidget* shown) {
            auto* search = qobject_cast<TfrmMusicSearch*>(shown);
            if (!search) {
                ADD_FAILURE() << "no media search: " << shown->metaObject()->className() << " "
                              << platform::FromQString(shown->windowTitle());
                shown->close();
                return;
            }
            if (addFolder)
                search->AddFolder();
            search->ScanAll();
            if (search->isVisible())
                search->close();
        });
        main_->Actions().actnSettingsMusicFolders->trigger();
    }

    TaudioTagList& Global() { return main_->GetJukeboxList().GlobalList(); }
    TaudioTagList& Queue() { return main_->GetJukebox().Queue(); }
    TmediaPlayState State() { return main_->GetPlayer().GetState(); }
    bool WaitFor(TmediaPlayState state)
    {
        return PumpUntil([&] { return State() == state; });
    }

    TempDir ipc_;
    ScopedEnv ipcEnv_{"ORVANE_IPC_DIR", ipc_.Path()};
    ScopedEnv silent_{"ORVANE_STANDIN_SILENT", "1"};
    ScopedEnv speed_{"ORVANE_STANDIN_SPEED", "10"};
    TempDir home_;
    ScopedEnv homeEnv_{"ORVANE_HOME", home_.Path() + "/"};
    TempDir music_;
    TfakePrompts prompts_;
    TfakeDialogs dialogs_;
    TfrmPartyPlay partyPlay_;
    TmainWindowPtr window_;
    TfrmOJB* main_ = nullptr;
};

} // namespace

TEST_F(PartyPlayRunTest, ScanPlayQueueAndLock)
{
    ScanAll(true);
    ASSERT_EQ(Global().GetCount(), 3);
    std::string info;
    WhenModal([&](QWidget* shown) {
        if (auto* window = qobject_cast<TfrmJukeboxInfo*>(shown))
            info = platform::FromQString(window->Memo()->toPlainText());
        shown->close();
    });
    main_->Actions().actnFileInformation->trigger();
    EXPECT_NE(info.find('3'), std::string::npos) << info;
    ScanAll(false);
    EXPECT_EQ(Global().GetCount(), 3) << "a second scan adds nothing";

    main_->Actions().actnControlPlay->trigger();
    ASSERT_TRUE(WaitFor(mpsPlaying));
    main_->Actions().actnControlPause->trigger();
    EXPECT_TRUE(WaitFor(mpsPaused));
    main_->Actions().actnControlPlay->trigger();
    EXPECT_TRUE(WaitFor(mpsPlaying));

    // Ctrl+Q: the file goes to the queue and is the next song.
    dialogs_.openAnswers.push_back({music_.Path() + "/Bach - Air.wav"});
    main_->Actions().actnFileQueueFile->trigger();
    ASSERT_EQ(Queue().GetCount(), 1);
    main_->Actions().actnControlNext->trigger();
    EXPECT_TRUE(PumpUntil([&] { return Queue().GetCount() == 0; }));

    // Ctrl+F: the song chosen in the search goes to the queue through the library, as a copy.
    WhenModal([](QWidget* shown) {
        auto* search = qobject_cast<TfrmSongSearch*>(shown);
        if (!search) {
            ADD_FAILURE() << "no song search";
            shown->close();
            return;
        }
        QTest::keyClicks(search->SearchEdit(), "chac");
        search->TrackList()->setCurrentRow(0);
        search->obtnOKClick();
    });
    main_->Actions().actnSearch->trigger();
    ASSERT_EQ(Queue().GetCount(), 1);
    EXPECT_EQ(Queue().GetItem(0)->Filename(), music_.Path() + "/Bach - Chaconne.wav");
    EXPECT_EQ(Global().IndexOf(Queue().GetItem(0)), -1);
    Queue().Clear();

    // Party play with every option: Next, Stop and Exit do nothing; Play still plays.
    for (auto set : {&TfrmPartyPlay::SetDisableStopControl, &TfrmPartyPlay::SetDisableNextControl,
                     &TfrmPartyPlay::SetDisablePauseControl, &TfrmPartyPlay::SetDisableApplicationClose,
                     &TfrmPartyPlay::SetDisableQueueControls, &TfrmPartyPlay::SetDisableStackerControl})
        (partyPlay_.*set)(true);
    main_->Actions().actnPartyPlayEnabled->trigger();
    ASSERT_TRUE(main_->IsPartyPlay());
    main_->Actions().actnControlStop->trigger();
    main_->Commands().Run(TjukeboxCommand::ControlStop);
    main_->Actions().actnFileExit->trigger();
    PumpFor(std::chrono::milliseconds(200));
    EXPECT_FALSE(main_->Closing());
    EXPECT_EQ(State(), mpsPlaying);
    main_->Actions().actnControlPlay->trigger();
    EXPECT_EQ(State(), mpsPlaying);
    // The alarm still stops playback.
    main_->AlarmOff().OnTime(&main_->AlarmOff());
    EXPECT_TRUE(WaitFor(mpsStopped));

    main_->Actions().actnPartyPlayEnabled->trigger();
    ASSERT_FALSE(main_->IsPartyPlay());
    main_->Actions().actnFileExit->trigger();
    EXPECT_TRUE(PumpUntil([&] { return main_->Closing(); }));
}
