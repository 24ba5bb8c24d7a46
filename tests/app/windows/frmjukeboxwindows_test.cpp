// The main window with the windows it opens: the stacker window, the playlist editor and the screensaver,
// linked as the program links them, with the recording player, the fake dialog service and party play's
// options set by the test.
#include "app/commands/jukeboxactions.h"
#include "app/dialogs/frmprogress.h"
#include "app/qt/activitymonitor.h"
#include "app/windows/frmjukeboxapp.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/frmscreensaver.h"
#include "app/windows/frmskinnedjukeboxapp.h"
#include "app/windows/frmstackerlist.h"
#include "app/windows/stackercartridges.h"
#include "controls/htmllistbox.h"
#include "controls/orvanebutton.h"
#include "controls/treesinkmodel.h"
#include "core/groupings/audiotagplaylistlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/songs/audiotag.h"
#include "platform/inifile.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

class TwiredWindow : public TfrmJukeboxApp
{
public:
    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override
    {
        auto library = std::make_unique<TlocalJukeboxList>();
        // jukebox.dat is written on every change, so the library without CDs follows.
        library->SetAutoSaveGlobal(true);
        return library;
    }
    std::unique_ptr<TcustomMediaPlayer> CreatePlayer() override
    {
        auto made = std::make_unique<TtestMediaPlayer>();
        player = made.get();
        return made;
    }
    bool PartyPlayOption(TpartyPlayOption option) const override { return locked.count(option) > 0; }
    bool IsActiveHost() const override { return active; }

    TtestMediaPlayer* player = nullptr;
    std::set<TpartyPlayOption> locked;
    bool active = true;
};

class TwiredSkinnedWindow : public TfrmSkinnedJukeboxApp
{
public:
    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override
    {
        return std::make_unique<TlocalJukeboxList>();
    }
    std::unique_ptr<TcustomMediaPlayer> CreatePlayer() override
    {
        return std::make_unique<TtestMediaPlayer>();
    }
    bool PartyPlayOption(TpartyPlayOption option) const override { return locked.count(option) > 0; }

    std::set<TpartyPlayOption> locked;
};

std::vector<std::string> ListTitles(const TaudioTagPlaylistList& lists)
{
    std::vector<std::string> titles;
    for (int i = 0; i < lists.Count(); ++i)
        titles.push_back(lists.GetItem(i)->Title());
    return titles;
}

std::vector<std::string> SongFiles(const TaudioTagPlaylistList& lists)
{
    std::vector<std::string> files;
    for (int i = 0; i < lists.Count(); ++i)
        for (const TaudioTag* song : lists.GetItem(i)->Items())
            files.push_back(song->Filename());
    return files;
}

// Counts the modal windows that come up while work runs, by kind, closing each.
struct TmodalCount
{
    int stacker = 0;
    int editor = 0;
    int other = 0;
};

TmodalCount CountModals(const std::function<void()>& work)
{
    TmodalCount count;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (qobject_cast<TfrmStackerList*>(modal))
            ++count.stacker;
        else if (qobject_cast<TfrmPlaylistEditor*>(modal))
            ++count.editor;
        else
            ++count.other;
        modal->close();
    });
    guard.start(0);
    work();
    QApplication::processEvents();
    return count;
}

class FrmJukeboxWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override { Make(); }

    // The main window and its windows, as the main routine makes them.
    void Make()
    {
        window_ = CreateMainWindow<TwiredWindow>();
        W().SetProgressWindow(new TfrmProgress(&W(), &W().Busy()));
        editor_ = new TfrmPlaylistEditor(W().GetLocalJukeboxList(), &W());
        W().SetPlaylistEditor(editor_);
        stacker_ = new TfrmStackerList(&W());
        W().SetStackerWindow(stacker_);
        W().SetScreenSaverForm(&screenSaver_);
    }
    void Start()
    {
        W().LoadPreferences();
        W().SetShowTipsAtStartup(false);
        W().Startup();
    }

    TwiredWindow& W() { return static_cast<TwiredWindow&>(*window_); }
    TtestMediaPlayer& Player() { return *W().player; }
    TaudioTagPlaylistList& Stacker() { return W().GetJukebox().Stacker(); }
    TjukeboxActions& Actions() { return W().Actions(); }

    void Fill(unsigned seed = 1)
    {
        const TgeneratedLibrary generated({.Songs = 200, .Artists = 12, .Albums = 20}, seed);
        TaudioTagList& global = W().GetJukeboxList().GlobalList();
        global.BeginUpdate();
        global.Clear();
        for (const TaudioTag* song : generated.GlobalList().Items())
            global.AddCopy(song);
        global.EndUpdate();
    }

    void PartyOn(std::set<TpartyPlayOption> locked)
    {
        W().locked = std::move(locked);
        W().SetPartyPlayEnabled(true);
        ASSERT_TRUE(W().IsPartyPlay());
    }

    void ShowActive()
    {
        W().show();
        W().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&W()));
    }

    TempDir home_;
    ScopedEnv homeEnv_{"ORVANE_HOME", home_.Path() + "/"};
    TfakePrompts prompts_;
    TfakeDialogs dialogs_;
    TfrmScreenSaver screenSaver_;
    TmainWindowPtr window_;
    TfrmPlaylistEditor* editor_ = nullptr; // the main window's children
    TfrmStackerList* stacker_ = nullptr;
};

} // namespace

TEST_F(FrmJukeboxWindowsTest, StartupLinksTheWindowsAndTheirSettingsGoWithThePreferences)
{
    Start();
    EXPECT_EQ(editor_->Jukebox(), &W());
    EXPECT_EQ(stacker_->Jukebox(), &W().GetLocalJukeboxList());
    EXPECT_EQ(stacker_->TreeLibrary(), W().LibraryWithoutCDs()) << "the stacker's tree has no CD songs";
    EXPECT_EQ(screenSaver_.Jukebox(), &W());
    EXPECT_TRUE(W().ActivityMonitor().Installed());

    stacker_->SetViewGenres(true);
    W().SavePreferences();
    {
        const TIniFile ini(W().GetSettingsFile());
        EXPECT_EQ(ini.ReadInteger("PlaylistEditor", "Width", 0), editor_->width());
        EXPECT_TRUE(ini.ReadBool("Stacker", "ViewGenres", false));
    }
    window_.reset();
    EXPECT_EQ(screenSaver_.Jukebox(), nullptr) << "the destruction step lets go";

    // Auto play, switched on from the menu, plays at the next start.
    Make();
    Start();
    Actions().actnSettingsAutoPlay->trigger();
    W().SavePreferences();
    window_.reset();
    Make();
    Start();
    EXPECT_EQ(Player().CountCalls("Play"), 1u);
}

TEST_F(FrmJukeboxWindowsTest, StackerAndEditorOpenThroughTheirCommandsAndPartyPlayRefusesEveryRoute)
{
    Start();
    ShowActive();
    const TmodalCount open = CountModals([&] {
        QTest::keyClick(W().windowHandle(), Qt::Key_K, Qt::ControlModifier);
        Actions().actnStackerConfigure->trigger();
        Actions().actnPlaylistsShowEditor->trigger();
        W().Commands().Run(TjukeboxCommand::PlaylistsShowEditor);
    });
    EXPECT_EQ(open.stacker, 2);
    EXPECT_EQ(open.editor, 2);
    EXPECT_EQ(open.other, 0);
    EXPECT_NE(Actions().actnStackerConfigure->shortcut(), Actions().actnControlStop->shortcut());
    EXPECT_NE(W().actnViewStacker->shortcut(), Actions().actnControlStop->shortcut());

    PartyOn({TpartyPlayOption::StackerControl, TpartyPlayOption::PlaylistEditor});
    EXPECT_FALSE(Actions().actnStackerConfigure->isEnabled());
    EXPECT_FALSE(Actions().actnPlaylistsShowEditor->isEnabled());
    ShowActive();
    const TmodalCount refused = CountModals([&] {
        QTest::keyClick(W().windowHandle(), Qt::Key_K, Qt::ControlModifier);
        Actions().actnStackerConfigure->trigger();
        W().PopupMenu()->findChild<QMenu*>("Stacker1")->actions().front()->trigger();
        Actions().actnPlaylistsShowEditor->trigger();
        EXPECT_FALSE(W().Commands().Run(TjukeboxCommand::PlaylistsShowEditor));
        EXPECT_FALSE(W().Commands().Run(TjukeboxCommand::StackerConfigure));
        W().ConfigureStacker(false);
        W().ShowPlaylistEditor(false);
    });
    EXPECT_EQ(refused.stacker + refused.editor + refused.other, 0);

    // The remote page forces its way past the gate.
    EXPECT_EQ(CountModals([&] { W().ConfigureStacker(true); }).stacker, 1);

    // With only the editor locked, the stacker opens again.
    PartyOn({TpartyPlayOption::PlaylistEditor});
    const TmodalCount partly = CountModals([&] {
        Actions().actnStackerConfigure->trigger();
        Actions().actnPlaylistsShowEditor->trigger();
    });
    EXPECT_EQ(partly.stacker, 1);
    EXPECT_EQ(partly.editor, 0);
}

TEST_F(FrmJukeboxWindowsTest, CartridgesSaveThenLoadBackTheSameListsUnlessTheStackerIsLocked)
{
    Fill();
    Start();
    TaudioTagList& global = W().GetJukeboxList().GlobalList();
    for (const char* title : {"Morning", "Evening"}) {
        TaudioTagList list;
        list.SetTitle(title);
        for (int i = 0; i < 4; ++i)
            list.Add(global.GetItem(i + (title[0] == 'E' ? 10 : 0)));
        ASSERT_TRUE(W().AddListToStacker(list));
    }
    const std::vector<std::string> titles = ListTitles(Stacker());
    const std::vector<std::string> files = SongFiles(Stacker());
    ASSERT_EQ(files.size(), 8u);

    const std::string file = W().GetCartridgesFolder() + "/two.ctg";
    dialogs_.saveAnswers.push_back(file);
    EXPECT_TRUE(W().Commands().Run(TjukeboxCommand::StackerSaveCartridge));
    ASSERT_EQ(dialogs_.asked.size(), 1u);
    EXPECT_EQ(dialogs_.asked[0].kind, "save");
    EXPECT_EQ(dialogs_.asked[0].detail, "Stacker Cartridges (*.ctg)|*.ctg");

    Stacker().Clear();
    dialogs_.openAnswers.push_back({file});
    Actions().actnStackerLoadCartridge->trigger();
    EXPECT_EQ(ListTitles(Stacker()), titles);
    EXPECT_EQ(SongFiles(Stacker()), files);
    // The editor's "Add" button runs the main window's Add Cartridge.
    dialogs_.openAnswers.push_back({file});
    W().AddCartridge();
    EXPECT_EQ(Stacker().Count(), 4);
    // A cancelled dialog leaves the stacker as it was.
    W().LoadCartridge();
    EXPECT_EQ(Stacker().Count(), 4);

    PartyOn({TpartyPlayOption::StackerControl});
    const std::size_t asked = dialogs_.asked.size();
    dialogs_.openAnswers.push_back({file});
    dialogs_.saveAnswers.push_back(file);
    for (auto command : {TjukeboxCommand::StackerLoadCartridge, TjukeboxCommand::StackerAddCartridge,
                         TjukeboxCommand::StackerSaveCartridge})
        EXPECT_FALSE(W().Commands().Run(command));
    W().LoadCartridge();
    W().SaveCartridge();
    EXPECT_FALSE(stacker_->Cartridges()->LoadFile(file, true)) << "the stacker window obeys the lock too";
    EXPECT_FALSE(W().AddListToStacker(*Stacker().GetItem(0)));
    EXPECT_EQ(dialogs_.asked.size(), asked);
    EXPECT_EQ(Stacker().Count(), 4);
}

TEST_F(FrmJukeboxWindowsTest, IdleTicksShowAndCloseTheScreenSaver)
{
    Start();
    ShowActive();
    W().SetScreenSaverTimeout(0); // a tenth of a minute: more than twelve ticks
    W().SetScreenSaverEnabled(true);
    for (int i = 0; i < 12; ++i)
        W().IdleTick();
    EXPECT_FALSE(screenSaver_.Showing());

    // A shortcut of the main window is a key press like any other.
    QTest::keyClick(W().windowHandle(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(Player().CountCalls("Play"), 1u);
    W().IdleTick();
    EXPECT_EQ(W().IdleDetector().IdleTime(), 0u);

    // Not while another window is the active one.
    W().active = false;
    for (int i = 0; i < 20; ++i)
        W().IdleTick();
    EXPECT_FALSE(screenSaver_.Showing());
    W().active = true;
    W().IdleTick();
    ASSERT_TRUE(screenSaver_.Showing());
    EXPECT_TRUE(screenSaver_.isWindow());
    EXPECT_FALSE(screenSaver_.isModal());

    // Four mouse moves are jitter; five are the user back.
    QWindow* saver = screenSaver_.windowHandle();
    ASSERT_NE(saver, nullptr);
    for (int i = 0; i < 4; ++i)
        QTest::mouseMove(saver, QPoint(20 + i, 20));
    W().IdleTick();
    EXPECT_TRUE(screenSaver_.Showing());
    for (int i = 0; i < 5; ++i)
        QTest::mouseMove(saver, QPoint(40 + i, 20));
    W().IdleTick();
    EXPECT_FALSE(screenSaver_.Showing());

    W().SetScreenSaverEnabled(false);
    EXPECT_FALSE(W().GetScreenSaverEnabled());
}

TEST_F(FrmJukeboxWindowsTest, ARescanWhileTheEditorShowsAndASongPlaysDropsEveryLink)
{
    Fill();
    Start();
    W().GetJukebox().Queue().AddCopy(W().GetJukeboxList().GlobalList().GetItem(3));
    Player().PlayTag(W().GetJukebox().GetNextTag());
    ASSERT_NE(Player().GetCurrentTag(), nullptr);
    const std::string playing = Player().GetCurrentTag()->Filename();

    bool checked = false;
    WhenModal([&](QWidget* modal) {
        ASSERT_EQ(modal, editor_);
        TtreeSinkModel& model = editor_->Model();
        std::function<TtreeNode(TtreeNode)> firstList = [&](TtreeNode under) -> TtreeNode {
            for (int i = 0; i < model.ChildCount(under); ++i) {
                const TtreeNode node = model.Child(under, i);
                if (model.Data(node))
                    return node;
                if (const TtreeNode found = firstList(node))
                    return found;
            }
            return {};
        };
        const TtreeNode node = firstList({});
        ASSERT_TRUE(model.IsNode(node));
        editor_->ShowNode(node);
        ASSERT_GT(editor_->SongsBox()->Count(), 0);
        editor_->SongsBox()->selectAll();

        Fill(2);
        EXPECT_EQ(editor_->SongsBox()->Count(), 0) << "the song lines went before the songs";
        EXPECT_TRUE(model.IsNode(firstList({}))) << "the tree was filled again";
        editor_->AddSelectedTracks();
        editor_->grab();
        stacker_->grab();
        W().grab();
        checked = true;
        modal->close();
    });
    Actions().actnPlaylistsShowEditor->trigger();
    EXPECT_TRUE(checked);
    ASSERT_NE(Player().GetCurrentTag(), nullptr);
    EXPECT_EQ(Player().GetCurrentTag()->Filename(), playing);
    // The stacker window, hidden through it all, fills its tree from the new songs when shown.
    EXPECT_EQ(CountModals([&] { Actions().actnStackerConfigure->trigger(); }).stacker, 1);
    EXPECT_GT(stacker_->Model().ChildCount({}), 0);
}

TEST_F(FrmJukeboxWindowsTest, DeactivateIsOfferedOnlyWhileAPlaylistIsActiveAndTheEditorFollows)
{
    Fill();
    Start();
    auto party = std::make_unique<TaudioTagList>();
    party->SetTitle("Party Mix");
    party->AddCopy(W().GetJukeboxList().GlobalList().GetItem(0));
    TaudioTagList* list = party.get();
    W().GetJukeboxList().Playlists().Add(party.release());
    EXPECT_FALSE(Actions().actnPlaylistEnabled->isEnabled());

    W().GetJukebox().SetActivePreloadedList(list);
    EXPECT_TRUE(Actions().actnPlaylistEnabled->isEnabled());
    EXPECT_EQ(editor_->ActiveCombo()->currentText().toStdString(), "Party Mix");

    Actions().actnPlaylistEnabled->trigger();
    EXPECT_EQ(W().GetJukebox().ActivePreloadedList(), nullptr);
    EXPECT_FALSE(Actions().actnPlaylistEnabled->isEnabled());
    EXPECT_EQ(editor_->ActiveCombo()->currentText().toStdString(), "[none]");
}

// The skinned window's stacker panel button is one more route to the same command.
TEST(FrmJukeboxWindowsButtons, TheStackerButtonOpensTheStackerWindowUnlessPartyPlayLocksIt)
{
    const TempDir home;
    const ScopedEnv homeEnv("ORVANE_HOME", home.Path() + "/");
    TfakePrompts prompts;
    TfakeDialogs dialogs;
    TmainWindowPtr window = CreateMainWindow<TwiredSkinnedWindow>();
    auto& skinned = static_cast<TwiredSkinnedWindow&>(*window);
    skinned.SetStackerWindow(new TfrmStackerList(&skinned));
    skinned.LoadPreferences();
    skinned.SetShowTipsAtStartup(false);
    skinned.Startup();
    skinned.show();
    auto* button = skinned.findChild<TorvaneButton*>("obtnStackerConfigure");
    ASSERT_NE(button, nullptr);
    const QPoint inside = button->rect().center();
    EXPECT_EQ(CountModals([&] { QTest::mouseClick(button, Qt::LeftButton, {}, inside); }).stacker, 1);

    skinned.locked = {TpartyPlayOption::StackerControl};
    skinned.SetPartyPlayEnabled(true);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(CountModals([&] { QTest::mouseClick(button, Qt::LeftButton, {}, inside); }).stacker, 0);
}
