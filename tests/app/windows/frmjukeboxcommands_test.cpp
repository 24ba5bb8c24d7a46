// The main window's commands on a local library with the recording player, the fake dialog service and
// the fake prompts; party play through the real options window and its password prompt.
#include "app/dialogs/frmchoosecd.h"
#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmpassword.h"
#include "app/dialogs/frmsongsearch.h"
#include "app/qt/services/qtpromptservice.h"
#include "app/windows/frmjukebox.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/groupings/audiotagalbum.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/plugins/taggerloader.h"
#include "core/songs/audiotag.h"
#include "core/timers/alarm.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "platform/scopeguard.h"
#include "support/discimage.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/guievents.h"
#include "support/localtestwindow.h"
#include "support/scopedenv.h"
#include "support/sharedkeyboard.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// Counts how often party play's options are read: each reading of the gate reads every option.
class TcommandWindow : public TlocalTestWindow<TfrmJukebox>
{
public:
    bool PartyPlayOption(TpartyPlayOption option) const override
    {
        ++optionsRead;
        return TfrmJukebox::PartyPlayOption(option);
    }

    mutable int optionsRead = 0;
};

std::unique_ptr<TaudioTag> Song(const std::string& title, const std::string& album = "Blue", int track = 1)
{
    auto song = std::make_unique<TaudioTag>();
    song->SetFilename("/music/" + album + "/" + title + ".wav");
    song->SetArtist("Bach");
    song->SetAlbum(album);
    song->SetTitle(title);
    song->SetTrackNo(static_cast<std::uint32_t>(track));
    song->SetDuration(60);
    return song;
}

std::vector<std::string> Titles(const TaudioTagList& list)
{
    std::vector<std::string> titles;
    for (int i = 0; i < list.GetCount(); ++i)
        titles.push_back(list.GetItem(i)->Title());
    return titles;
}

// Types text into the password prompt and presses OK; a wrong password leaves the prompt up, so it is
// cancelled after.
void AnswerPassword(const std::string& text)
{
    WhenModal([text](QWidget* shown) {
        auto* prompt = qobject_cast<TfrmPassword*>(shown);
        if (!prompt) {
            ADD_FAILURE() << "no password prompt";
            shown->close();
            return;
        }
        prompt->PasswordEdit()->setText(platform::ToQString(text));
        prompt->obtnOKClick();
        if (prompt->isVisible())
            prompt->reject();
    });
}

// Fails and closes any modal window that comes up while work runs: a locked command opens nothing.
void ExpectNoModal(const std::function<void()>& work)
{
    bool opened = false;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    guard.start(0);
    work();
    QApplication::processEvents();
    EXPECT_FALSE(opened);
}

class FrmJukeboxCommandsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetSharedKeyboard();
        window_ = CreateMainWindow<TcommandWindow>();
        Window().SetPartyPlayForm(&partyPlay_);
        partyPlay_.SetJukebox(&Window());
    }
    void TearDown() override
    {
        partyPlay_.SetJukebox(nullptr);
        window_.reset();
    }

    TcommandWindow& Window() { return static_cast<TcommandWindow&>(*window_); }
    TtestMediaPlayer& Player() { return *Window().player; }
    TaudioTagList& Queue() { return Window().GetJukebox().Queue(); }
    TjukeboxActions& Actions() { return Window().Actions(); }

    void QueueSongs(int count)
    {
        for (int i = 0; i < count; ++i)
            Queue().Add(Song("q" + std::to_string(i)).release());
    }

    // Party play on with every option checked and the password typed right.
    void PartyOn(const std::string& password = "Pass 1")
    {
        for (auto set : {&TfrmPartyPlay::SetDisableStopControl, &TfrmPartyPlay::SetDisableTrackSearching,
                         &TfrmPartyPlay::SetDisablePauseControl, &TfrmPartyPlay::SetDisableNextControl,
                         &TfrmPartyPlay::SetDisableVolumeChange, &TfrmPartyPlay::SetDisableApplicationClose,
                         &TfrmPartyPlay::SetDisableQueueControls, &TfrmPartyPlay::SetDisableStackerControl,
                         &TfrmPartyPlay::SetDisablePlaylistEditor})
            (partyPlay_.*set)(true);
        partyPlay_.SetPassword(password);
        if (!password.empty())
            AnswerPassword(password); // an empty password asks nothing
        Actions().actnPartyPlayEnabled->trigger();
        ASSERT_TRUE(Window().IsPartyPlay());
    }

    TempDir home_;
    ScopedEnv homeEnv_{"ORVANE_HOME", home_.Path() + "/"};
    TfakePrompts prompts_;
    TfakeDialogs dialogs_;
    TfrmPartyPlay partyPlay_;
    TmainWindowPtr window_;
};

} // namespace

TEST_F(FrmJukeboxCommandsTest, QueueFileAsksWithThePluginsFilterAndCancelQueuesNothing)
{
    Window().GetJukeboxList().MediaFolders().Add(home_.Path() + "/Music");
    Window().GetJukeboxList().MediaFolders().Add(home_.Path() + "/More");
    Actions().actnFileQueueFile->trigger();
    ASSERT_EQ(dialogs_.asked.size(), 1u);
    EXPECT_EQ(dialogs_.asked[0].kind, "open");
    EXPECT_EQ(dialogs_.asked[0].detail, TaggerLoader().GetOpenDialogFilter());
    EXPECT_EQ(dialogs_.openOptions.back().InitialDir, home_.Path() + "/Music") << "the first media folder";
    EXPECT_EQ(Queue().GetCount(), 0);
    // A file that is not there is passed over.
    dialogs_.openAnswers.push_back({home_.Path() + "/missing.wav"});
    Actions().actnFileQueueFile->trigger();
    EXPECT_EQ(Queue().GetCount(), 0);
}

TEST_F(FrmJukeboxCommandsTest, ClearAsksFirstAndRandomizeKeepsTheSongs)
{
    Actions().actnQueueClear->trigger();
    EXPECT_TRUE(prompts_.boxes.empty()) << "an empty queue asks nothing";
    QueueSongs(5);
    prompts_.answers = {TmessageResult::Cancel, TmessageResult::Ok};
    Actions().actnQueueClear->trigger();
    EXPECT_EQ(Queue().GetCount(), 5);
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    EXPECT_EQ(prompts_.boxes[0].text, "Are you sure you want to clear the queue?");
    EXPECT_EQ(prompts_.boxes[0].buttons, TmessageButtons::OkCancel);
    EXPECT_EQ(prompts_.boxes[0].icon, TmessageIcon::Warning);

    Actions().actnQueueRandomize->trigger();
    std::vector<std::string> titles = Titles(Queue());
    std::sort(titles.begin(), titles.end());
    EXPECT_EQ(titles, (std::vector<std::string>{"q0", "q1", "q2", "q3", "q4"}));

    Actions().actnQueueClear->trigger();
    EXPECT_EQ(Queue().GetCount(), 0);

    // The program's own boxes: Cancel keeps the queue, OK empties it.
    QueueSongs(3);
    InstallQtPromptService();
    const platform::TScopeExit restore([this] { TpromptService::Install(&prompts_); });
    for (const auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        WhenModal([button](QWidget* shown) {
            auto* box = qobject_cast<QMessageBox*>(shown);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->text(), "Are you sure you want to clear the queue?");
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        });
        Actions().actnQueueClear->trigger();
        EXPECT_EQ(Queue().GetCount(), button == QMessageBox::Ok ? 0 : 3);
    }
}

TEST_F(FrmJukeboxCommandsTest, QueueAlbumJumpsByLetterAndQueuesCopiesInOrder)
{
    TaudioTagList& global = Window().GetJukeboxList().GlobalList();
    {
        const platform::TUpdateGuard update(global);
        global.Add(Song("Air", "Blue", 1).release());
        global.Add(Song("Bourree", "Blue", 2).release());
        global.Add(Song("Chaconne", "Blue", 3).release());
        global.Add(Song("Other", "Red", 1).release());
    }
    TaudioTagAlbum* shown = nullptr;
    WhenModal([&](QWidget* modal) {
        auto* chooser = qobject_cast<TfrmChooseCD*>(modal);
        if (!chooser) {
            ADD_FAILURE() << "no album chooser";
            modal->close();
            return;
        }
        QTest::keyClick(chooser->Tree(), Qt::Key_B);
        TtreeSinkModel& model = chooser->Model();
        const TtreeNode root = model.NodeOf(chooser->Tree()->currentIndex());
        EXPECT_EQ(model.Text(root), "[B]");
        // The root holds the artist's albums, one level or two down.
        std::function<TtreeNode(TtreeNode)> findAlbum = [&](TtreeNode node) -> TtreeNode {
            for (int i = 0; i < model.ChildCount(node); ++i) {
                const TtreeNode child = model.Child(node, i);
                if (model.Kind(child) == tnkAlbum && model.Text(child).find("Blue") != std::string::npos)
                    return child;
                if (const TtreeNode found = findAlbum(child); model.IsNode(found))
                    return found;
            }
            return TtreeNode{};
        };
        const TtreeNode album = findAlbum(root);
        ASSERT_TRUE(model.IsNode(album));
        chooser->Tree()->setCurrentIndex(model.IndexOf(album));
        shown = static_cast<TaudioTagAlbum*>(model.Data(album));
        QTest::mouseClick(chooser->OkButton(), Qt::LeftButton);
    });
    Actions().actnQueueAlbum->trigger();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(Titles(Queue()), Titles(*shown));
    EXPECT_EQ(Titles(Queue()).size(), 3u);
    EXPECT_NE(Queue().GetItem(0), shown->GetItem(0)) << "the queue holds copies";
}

// Bigger in one prompt carries over to the next prompt and into the settings: the size is the shared
// keyboard window's own.
TEST_F(FrmJukeboxCommandsTest, TheKeyboardSizeAPromptChoosesIsTheNextPromptsAndIsSaved)
{
    Window().SetKeyboardsEnabled(true);
    WhenModal([](QWidget* shown) {
        auto* search = qobject_cast<TfrmSongSearch*>(shown);
        if (search == nullptr) {
            ADD_FAILURE() << "no song search";
            shown->close();
            return;
        }
        GetKeyboardForm()->obtnBiggerClick(); // keys of 25 x 25 grow to 27 x 27
        search->reject();
    });
    Actions().actnSearch->trigger();
    EXPECT_EQ(Window().GetKeyboardWidth(), 330);
    EXPECT_EQ(Window().GetKeyboardHeight(), 108);

    partyPlay_.SetPassword("Pass");
    QSize docked;
    WhenModal([&docked](QWidget* shown) {
        docked = GetKeyboardForm()->size();
        shown->close();
    });
    Actions().actnPartyPlayEnabled->trigger();
    EXPECT_EQ(docked, QSize(330, 108));

    Window().SavePreferences();
    const TIniFile ini(Window().GetSettingsFile());
    EXPECT_EQ(ini.ReadInteger("OnScreenKeyboards", "KeyboardWidth", 0), 330);
    EXPECT_EQ(ini.ReadInteger("OnScreenKeyboards", "KeyboardHeight", 0), 108);
}

TEST_F(FrmJukeboxCommandsTest, AWrongPasswordIsRefusedWithItsMessageAndChangesNothing)
{
    partyPlay_.SetPassword("Right");
    AnswerPassword("wrong");
    Actions().actnPartyPlayEnabled->trigger();
    EXPECT_FALSE(Window().IsPartyPlay());
    EXPECT_FALSE(Actions().actnPartyPlayEnabled->isChecked());
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    EXPECT_EQ(prompts_.boxes[0].text, "The password is incorrect.");
    EXPECT_TRUE(Actions().actnControlStop->isEnabled());
}

TEST_F(FrmJukeboxCommandsTest, PartyPlayLocksEveryRouteButPlayAndTheAlarms)
{
    QueueSongs(4);
    PartyOn();
    Player().Calls.clear();
    for (QAction* action : {Actions().actnControlNext, Actions().actnControlPause, Actions().actnControlStop})
        EXPECT_FALSE(action->isEnabled()) << platform::FromQString(action->objectName());
    Actions().actnControlNext->trigger();
    Window().Commands().Run(TjukeboxCommand::ControlStop);
    Window().Pause(false);
    Window().SetVolume(10, false);
    Window().SetPosition(1000, false);
    EXPECT_TRUE(Player().Calls.empty());

    const std::vector<std::string> before = Titles(Queue());
    Window().ClearQueue(false);
    Window().DeleteQueueItem(0, false);
    Window().MoveQueueItem(0, 3, false);
    Window().MoveQueueItemUp(1, false);
    Window().MoveQueueItemDown(1, false);
    Window().Commands().Run(TjukeboxCommand::QueueRandomize);
    EXPECT_EQ(Titles(Queue()), before);
    EXPECT_TRUE(prompts_.boxes.empty());

    const bool stacker = Window().GetStackerEnabled();
    Window().Commands().Run(TjukeboxCommand::StackerEnabled);
    Window().ToggleStacker(false);
    EXPECT_EQ(Window().GetStackerEnabled(), stacker);
    EXPECT_EQ(Actions().actnStackerEnabled->isChecked(), stacker);

    ExpectNoModal([&] {
        for (auto command : {TjukeboxCommand::SettingsMusicFolders, TjukeboxCommand::FileScanFolders,
                             TjukeboxCommand::SettingsGeneral, TjukeboxCommand::SettingsPlugins,
                             TjukeboxCommand::FileQueueFile, TjukeboxCommand::PlaylistsShowEditor})
            EXPECT_FALSE(Window().Commands().Run(command));
        Window().ShowMediaFolders(false);
    });
    EXPECT_TRUE(dialogs_.asked.empty());

    Actions().actnFileExit->trigger();
    window_->close();
    EXPECT_FALSE(Window().Closing());

    Actions().actnControlPlay->trigger();
    Window().AlarmOff().OnTime(&Window().AlarmOff());
    Window().AlarmOn().OnTime(&Window().AlarmOn());
    EXPECT_EQ(Player().Calls, (std::vector<std::string>{"Play", "Stop", "Play"}));

    // Off again (password asked), every lock lifts.
    AnswerPassword("Pass 1");
    Actions().actnPartyPlayEnabled->trigger();
    EXPECT_FALSE(Window().IsPartyPlay());
    for (QAction* action : Actions().All()) {
        const bool shown = action != Actions().actnPlaylistEnabled && action->isVisible();
        EXPECT_TRUE(!shown || action->isEnabled()) << platform::FromQString(action->objectName());
    }
}

TEST_F(FrmJukeboxCommandsTest, QueueLimitKeepsTheQueueButRefusesNewSongs)
{
    QueueSongs(4);
    partyPlay_.SetQueueLimit(3);
    PartyOn("");
    EXPECT_EQ(Queue().GetCount(), 4);
    auto extra = Song("extra");
    EXPECT_FALSE(Queue().Add(extra.get()));
    Queue().Delete(0);
    Queue().Delete(0);
    EXPECT_TRUE(Queue().Add(extra.release()));
    auto fourth = Song("fourth");
    EXPECT_FALSE(Queue().Add(fourth.get()));

    Actions().actnPartyPlayEnabled->trigger();
    EXPECT_TRUE(Queue().Add(fourth.release()));
}

TEST_F(FrmJukeboxCommandsTest, RefreshCDsAsksAboutANewDiscAndPartyPlayRefusesIt)
{
    // "\x01CD001\x01" sums to 31 74 45 30 by byte position; these four bytes bring it to 00 12 AB 34.
    TempDir disc;
    const std::string iso =
        disc.Write("disc.iso", discimage::HandmadeIso(std::string("\x04\xCF\x9E\x66", 4)));
    disc.Write("cd/a.wav", "");
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE",
                           disc.Write("mounts", iso + " " + disc.File("cd") + " iso9660 ro 0 0\n"));
    const std::string catalogue = Window().GetJukeboxList().GetCDCatalogueFileName(0x0012AB34);

    PartyOn();
    EXPECT_FALSE(Window().Commands().Run(TjukeboxCommand::FileRefreshCDs));
    Window().ScanCDs(true);
    EXPECT_TRUE(prompts_.boxes.empty());
    AnswerPassword("Pass 1");
    Actions().actnPartyPlayEnabled->trigger();

    // The command asks first, in the program's own box; No leaves the disc unscanned, Yes scans it.
    InstallQtPromptService();
    const platform::TScopeExit restore([this] { TpromptService::Install(&prompts_); });
    for (const auto button : {QMessageBox::No, QMessageBox::Yes}) {
        QString caption;
        WhenModal([button, &caption](QWidget* shown) {
            auto* box = qobject_cast<QMessageBox*>(shown);
            ASSERT_NE(box, nullptr);
            caption = box->windowTitle();
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        });
        Actions().actnFileRefreshCDs->trigger();
        EXPECT_EQ(caption, "New CD");
        EXPECT_EQ(std::filesystem::exists(catalogue), button == QMessageBox::Yes);
    }
}

TEST_F(FrmJukeboxCommandsTest, EveryRouteAsksTheGateOnceAndOnlyInTheCommandTable)
{
    const ScopedEnv mounts("ORVANE_MOUNT_TABLE", home_.Write("mounts", ""));
    QueueSongs(2);
    Window().optionsRead = 0;
    (void)Window().PartyPlayGate();
    const int once = Window().optionsRead;
    const std::vector<std::pair<const char*, std::function<void()>>> routes = {
        {"menu", [&] { Actions().actnControlNext->trigger(); }},
        {"table", [&] { Window().Commands().Run(TjukeboxCommand::ControlStop); }},
        {"Pause", [&] { Window().Pause(false); }},
        {"ToggleStacker", [&] { Window().ToggleStacker(false); }},
        {"SetVolume", [&] { Window().SetVolume(10, false); }},
        {"MoveQueueItem", [&] { Window().MoveQueueItem(0, 1, false); }},
        {"LoadCartridge", [&] { Window().LoadCartridge(); }},
        {"ScanCDs", [&] { Window().ScanCDs(false); }},
    };
    for (const auto& [name, route] : routes) {
        Window().optionsRead = 0;
        route();
        EXPECT_EQ(Window().optionsRead, once) << name;
    }
    for (const char* call : {"Next", "Stop", "Pause", "SetVolume 10"})
        EXPECT_EQ(Player().CountCalls(call), 1u) << call;

    // Forced, nothing is asked.
    Window().optionsRead = 0;
    Window().Stop(true);
    Window().SetPosition(5, true);
    EXPECT_EQ(Window().optionsRead, 0);
}
