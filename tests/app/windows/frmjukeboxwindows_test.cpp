// The main window with the windows it opens (stacker window, playlist editor, screensaver), linked as the
// program links them, with the recording player, the fake dialog service and party play's options set by
// the test.
#include "app/dialogs/frmprogress.h"
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
#include "support/localtestwindow.h"
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

template <class Base>
class Twired : public TlocalTestWindow<Base>
{
public:
    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override
    {
        auto library = std::make_unique<TlocalJukeboxList>();
        library->SetAutoSaveGlobal(true); // the library without CDs follows jukebox.dat
        return library;
    }
    bool PartyPlayOption(TpartyPlayOption option) const override { return locked.count(option) > 0; }
    bool IsActiveHost() const override { return active; }

    std::set<TpartyPlayOption> locked;
    bool active = true;
};
using TwiredWindow = Twired<TfrmJukeboxApp>;

// The titles of the stacker's lists, then the files of their songs.
std::vector<std::string> Contents(const TaudioTagPlaylistList& lists)
{
    std::vector<std::string> contents;
    for (int i = 0; i < lists.Count(); ++i)
        contents.push_back(lists.GetItem(i)->Title());
    for (int i = 0; i < lists.Count(); ++i)
        for (const TaudioTag* song : lists.GetItem(i)->Items())
            contents.push_back(song->Filename());
    return contents;
}

// The first node, depth first, that links a song list; null for none.
TtreeNode FirstList(const TtreeSinkModel& model, TtreeNode under = {})
{
    for (int i = 0; i < model.ChildCount(under); ++i) {
        const TtreeNode node = model.Child(under, i);
        if (const TtreeNode found = model.Data(node) ? node : FirstList(model, node))
            return found;
    }
    return {};
}

// The stacker windows and editors that come up modal while work runs, each closed at once.
std::pair<int, int> OpenedWhile(const std::function<void()>& work)
{
    std::pair<int, int> opened;
    QTimer guard;
    QObject::connect(&guard, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened.first += qobject_cast<TfrmStackerList*>(modal) != nullptr;
            opened.second += qobject_cast<TfrmPlaylistEditor*>(modal) != nullptr;
            modal->close();
        }
    });
    guard.start(0);
    work();
    QApplication::processEvents();
    return opened;
}

class FrmJukeboxWindowsTest : public ::testing::Test
{
protected:
    void SetUp() override { Make(); }

    // As the main routine makes them.
    void Make()
    {
        window_ = CreateMainWindow<TwiredWindow>();
        W().SetProgressWindow(new TfrmProgress(&W(), &W().Busy()));
        W().SetPlaylistEditor(editor_ = new TfrmPlaylistEditor(W().GetLocalJukeboxList(), &W()));
        W().SetStackerWindow(stacker_ = new TfrmStackerList(&W()));
        W().SetScreenSaverForm(&screenSaver_);
    }
    void Start()
    {
        W().LoadPreferences();
        W().SetShowTipsAtStartup(false);
        W().Startup();
    }
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
    }
    void ShowActive()
    {
        W().show();
        W().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&W()));
    }

    TwiredWindow& W() { return static_cast<TwiredWindow&>(*window_); }
    TaudioTagPlaylistList& Stacker() { return W().GetJukebox().Stacker(); }
    TjukeboxActions& Actions() { return W().Actions(); }

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
    EXPECT_EQ(stacker_->TreeLibrary(), W().LibraryWithoutCDs()) << "the stacker's tree has no CD songs";
    EXPECT_EQ(screenSaver_.Jukebox(), &W());
    stacker_->SetViewGenres(true);
    W().SavePreferences();
    EXPECT_TRUE(TIniFile(W().GetSettingsFile()).ReadBool("Stacker", "ViewGenres", false));

    // Deactivate is offered only while a playlist is active; the editor shows the active one.
    auto party = std::make_unique<TaudioTagList>();
    party->SetTitle("Party Mix");
    TaudioTagList* active = party.get();
    W().GetJukeboxList().Playlists().Add(party.release());
    W().GetJukebox().SetActivePreloadedList(active);
    EXPECT_TRUE(Actions().actnPlaylistEnabled->isEnabled());
    EXPECT_EQ(editor_->ActiveCombo()->currentText(), "Party Mix");
    Actions().actnPlaylistEnabled->trigger();
    EXPECT_FALSE(Actions().actnPlaylistEnabled->isEnabled());
    EXPECT_EQ(editor_->ActiveCombo()->currentText(), "[none]");

    window_.reset();
    EXPECT_EQ(screenSaver_.Jukebox(), nullptr) << "the destruction step lets go";
}

TEST_F(FrmJukeboxWindowsTest, StackerAndEditorOpenThroughTheirCommandsAndPartyPlayRefusesEveryRoute)
{
    Start();
    ShowActive();
    const auto everyRoute = [&] {
        QTest::keyClick(W().windowHandle(), Qt::Key_K, Qt::ControlModifier);
        Actions().actnStackerConfigure->trigger();
        W().PopupMenu()->findChild<QMenu*>("Stacker1")->actions().front()->trigger();
        Actions().actnPlaylistsShowEditor->trigger();
        W().Commands().Run(TjukeboxCommand::PlaylistsShowEditor);
    };
    EXPECT_EQ(OpenedWhile(everyRoute), std::make_pair(3, 2));

    PartyOn({TpartyPlayOption::StackerControl, TpartyPlayOption::PlaylistEditor});
    EXPECT_FALSE(Actions().actnStackerConfigure->isEnabled());
    EXPECT_FALSE(Actions().actnPlaylistsShowEditor->isEnabled());
    ShowActive();
    EXPECT_EQ(OpenedWhile([&] {
                  everyRoute();
                  W().ConfigureStacker(false);
                  W().ShowPlaylistEditor(false);
              }),
              std::make_pair(0, 0));
    EXPECT_EQ(OpenedWhile([&] { W().ConfigureStacker(true); }), std::make_pair(1, 0)) << "forced";

    PartyOn({TpartyPlayOption::PlaylistEditor});
    EXPECT_EQ(OpenedWhile(everyRoute), std::make_pair(2, 0));
}

TEST_F(FrmJukeboxWindowsTest, CartridgesSaveThenLoadBackTheSameListsUnlessTheStackerIsLocked)
{
    Fill();
    Start();
    for (int first : {0, 10}) {
        TaudioTagList list;
        list.SetTitle("From " + std::to_string(first));
        for (int i = first; i < first + 4; ++i)
            list.Add(W().GetJukeboxList().GlobalList().GetItem(i));
        ASSERT_TRUE(W().AddListToStacker(list));
    }
    const std::vector<std::string> contents = Contents(Stacker());
    const std::string file = W().GetCartridgesFolder() + "/two.ctg";
    dialogs_.saveAnswers.push_back(file);
    EXPECT_TRUE(W().Commands().Run(TjukeboxCommand::StackerSaveCartridge));
    ASSERT_EQ(dialogs_.asked.size(), 1u);
    EXPECT_EQ(dialogs_.asked[0].detail, "Stacker Cartridges (*.ctg)|*.ctg");

    Stacker().Clear();
    dialogs_.openAnswers.push_back({file});
    Actions().actnStackerLoadCartridge->trigger();
    EXPECT_EQ(Contents(Stacker()), contents);
    dialogs_.openAnswers.push_back({file});
    W().AddCartridge();  // the editor's "Add" button
    W().LoadCartridge(); // cancelled
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
    // A shortcut of the main window is a key press like any other.
    QTest::keyClick(W().windowHandle(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(W().player->CountCalls("Play"), 1u);
    W().IdleTick();
    EXPECT_EQ(W().IdleDetector().IdleTime(), 0u);

    W().active = false; // another window is the active one
    for (int i = 0; i < 20; ++i)
        W().IdleTick();
    EXPECT_FALSE(screenSaver_.Showing());
    W().active = true;
    W().IdleTick();
    ASSERT_TRUE(screenSaver_.Showing());
    EXPECT_FALSE(screenSaver_.isModal());

    // Four mouse moves are jitter; five are the user back.
    for (int moves : {4, 5}) {
        for (int i = 0; i < moves; ++i)
            QTest::mouseMove(screenSaver_.windowHandle(), QPoint(20 + i, 20 + moves));
        W().IdleTick();
        EXPECT_EQ(screenSaver_.Showing(), moves == 4);
    }
}

TEST_F(FrmJukeboxWindowsTest, ARescanWhileTheEditorShowsAndASongPlaysDropsEveryLink)
{
    Fill();
    Start();
    // The library without CDs is built only when a window needs it, from the main library's own songs.
    const TaudioTagList& noCDSongs = stacker_->TreeLibrary()->GlobalList();
    EXPECT_EQ(noCDSongs.Count(), 0);
    W().GetJukebox().Queue().AddCopy(W().GetJukeboxList().GlobalList().GetItem(3));
    W().player->PlayTag(W().GetJukebox().GetNextTag());
    bool checked = false;
    WhenModal([&](QWidget* modal) {
        editor_->ShowNode(FirstList(editor_->Model()));
        editor_->SongsBox()->selectAll();
        EXPECT_GT(editor_->SongsBox()->Count(), 0);
        Fill(2);
        EXPECT_EQ(editor_->SongsBox()->Count(), 0) << "the song lines went before the songs";
        EXPECT_TRUE(FirstList(editor_->Model())) << "the tree was filled again";
        ASSERT_EQ(noCDSongs.Count(), 200);
        EXPECT_EQ(noCDSongs.GetItem(7), W().GetJukeboxList().GlobalList().GetItem(7));
        editor_->AddSelectedTracks();
        editor_->grab();
        checked = modal == editor_;
        modal->close();
    });
    Actions().actnPlaylistsShowEditor->trigger();
    EXPECT_TRUE(checked);
    EXPECT_NE(W().player->GetCurrentTag(), nullptr);
    // The stacker window, hidden through it all, fills its tree from the new songs when shown.
    EXPECT_EQ(OpenedWhile([&] { Actions().actnStackerConfigure->trigger(); }).first, 1);
    EXPECT_TRUE(FirstList(stacker_->Model()));
    // Hidden windows keep their trees' nodes through a rescan, but no link into the songs it frees.
    Fill(3);
    EXPECT_FALSE(FirstList(editor_->Model()));
    EXPECT_FALSE(FirstList(stacker_->Model()));
    EXPECT_EQ(noCDSongs.Count(), 0);
}

// The skinned window's stacker button is one more route to the same command.
TEST(FrmJukeboxWindowsButtons, TheStackerButtonOpensTheStackerWindowUnlessPartyPlayLocksIt)
{
    const TempDir home;
    const ScopedEnv homeEnv("ORVANE_HOME", home.Path() + "/");
    const TfakePrompts prompts;
    TmainWindowPtr window = CreateMainWindow<Twired<TfrmSkinnedJukeboxApp>>();
    auto& skinned = static_cast<Twired<TfrmSkinnedJukeboxApp>&>(*window);
    skinned.SetStackerWindow(new TfrmStackerList(&skinned));
    skinned.LoadPreferences();
    skinned.SetShowTipsAtStartup(false);
    skinned.Startup();
    skinned.show();
    auto* button = skinned.findChild<TorvaneButton*>("obtnStackerConfigure");
    ASSERT_NE(button, nullptr);
    const auto click = [button] { QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center()); };
    EXPECT_EQ(OpenedWhile(click).first, 1);
    skinned.locked = {TpartyPlayOption::StackerControl};
    skinned.SetPartyPlayEnabled(true);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_EQ(OpenedWhile(click).first, 0);
}
