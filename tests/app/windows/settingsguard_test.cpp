// The main window against settings it cannot trust and ends it does not choose: damaged numbers and files,
// a tag-reader folder that is gone, a refused close from the system, a crash under party play, and Exit's
// shortcut while party play hides the command.
#include "app/dialogs/frmpartyplay.h"
#include "app/dialogs/frmprogress.h"
#include "app/qt/helpers/settingbounds.h"
#include "app/windows/frmskinnedjukeboxapp.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "support/fakeprompts.h"
#include "support/localtestwindow.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QTest>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

using TguardedWindow = TlocalTestWindow<TfrmSkinnedJukeboxApp>;

class SettingsGuardTest : public ::testing::Test
{
protected:
    void Make()
    {
        window_ = CreateMainWindow<TguardedWindow>();
        W().SetProgressWindow(new TfrmProgress(&W(), &W().Busy()));
        W().SetPartyPlayForm(&partyPlay_);
    }
    void Start()
    {
        W().LoadPreferences();
        W().SetShowTipsAtStartup(false);
        W().Startup();
    }
    // The end without the close step, as after a crash or a kill.
    void Crash() { window_.reset(); }

    TguardedWindow& W() { return static_cast<TguardedWindow&>(*window_); }
    std::string Settings() const { return home_.Path() + "/Settings/settings.ini"; }

    TempDir home_;
    ScopedEnv homeEnv_{"ORVANE_HOME", home_.Path() + "/"};
    TfakePrompts prompts_;
    TfrmPartyPlay partyPlay_;
    TmainWindowPtr window_;
};

} // namespace

TEST_F(SettingsGuardTest, NumbersNoScreenCouldShowFallBackAndAGoneTagReaderFolderIsTold)
{
    home_.Write("Settings/settings.ini",
                "[OnScreenKeyboards]\r\nKeyboardWidth=60000\r\n"
                "KeyboardHeight=2147483647\r\n[ScreenSaver]\r\nTimeout=100000\r\n"
                "[Geometry]\r\nFullScreen=0\r\nLeft=2147483647\r\nTop=-2147483648\r\n"
                "Width=-2147483648\r\nHeight=2147483647\r\nTrackListWidth=2147483647\r\n"
                "[Paths]\r\nTagReaders=/no/such/tag/readers\r\n");
    Make();
    const int keyboardWidth = W().GetKeyboardWidth();
    const int keyboardHeight = W().GetKeyboardHeight();
    Start();
    EXPECT_EQ(W().GetKeyboardWidth(), keyboardWidth);
    EXPECT_EQ(W().GetKeyboardHeight(), keyboardHeight);
    EXPECT_EQ(W().GetScreenSaverTimeout(), 5u);
    EXPECT_LE(W().width(), ExtentLimit());
    EXPECT_LE(W().height(), ExtentLimit());
    EXPECT_EQ(W().GetTagReadersFolder(), platform::TagPluginsFolder());
    ASSERT_EQ(prompts_.boxes.size(), 1u);
    EXPECT_NE(prompts_.boxes[0].text.find("/no/such/tag/readers"), std::string::npos);

    W().CloseFromSystem();
    ASSERT_TRUE(W().Closing());
    const TIniFile saved(Settings());
    EXPECT_EQ(saved.ReadInteger("OnScreenKeyboards", "KeyboardWidth", 0), keyboardWidth);
    EXPECT_EQ(saved.ReadInteger("Geometry", "Left", 0, -ExtentLimit(), ExtentLimit()),
              saved.ReadInteger("Geometry", "Left", 0));
    EXPECT_EQ(saved.ReadString("Paths", "TagReaders", "?"), "");
}

TEST_F(SettingsGuardTest, AnUnreadableSettingsFileIsKeptBesideTheNewOneAndTheUserTold)
{
    static const char garbage[] = "\x89PNG\r\n\x1a\n\0\0 not settings";
    for (const std::string& damaged :
         {std::string(garbage, sizeof garbage - 1), "[A]\r\n" + std::string(5 << 20, 'x')}) {
        home_.Write("Settings/settings.ini", damaged);
        Make();
        Start();
        ASSERT_EQ(prompts_.boxes.size(), 1u);
        EXPECT_NE(prompts_.boxes[0].text.find("settings.ini.bad"), std::string::npos);
        EXPECT_EQ(TempDir::Read(Settings() + ".bad"), damaged);
        W().CloseFromSystem();
        ASSERT_TRUE(W().Closing());
        EXPECT_TRUE(TIniFile(Settings()).SectionExists("Preferences"));
        window_.reset();
        prompts_.boxes.clear();
    }
}

TEST_F(SettingsGuardTest, PartyPlayIsSavedAsItChangesARefusedCloseSavesAndACrashLeavesItOn)
{
    Make();
    Start();
    partyPlay_.SetDisableApplicationClose(true);
    W().SetScrollSongTitle(true);
    W().SetPartyPlayEnabled(true);
    ASSERT_TRUE(W().IsPartyPlay());
    EXPECT_TRUE(TIniFile(Settings()).ReadBool("PartyPlay", "DisabledApplicationClose", false));
    EXPECT_TRUE(fs::exists(W().PartyPlayNoteFile()));

    // The system's close is refused, but what the close step would save is saved, and the party stays full
    // screen.
    W().CloseFromSystem();
    EXPECT_FALSE(W().Closing());
    EXPECT_TRUE(W().GetFullScreen());
    EXPECT_TRUE(TIniFile(Settings()).ReadBool("SongTitle", "Scroll", false));

    Crash();
    Make();
    Start();
    EXPECT_TRUE(W().IsPartyPlay()) << "the party goes on, locked";
    EXPECT_TRUE(partyPlay_.GetDisableApplicationClose());
    partyPlay_.SetDisableApplicationClose(false);
    W().CloseFromSystem();
    ASSERT_TRUE(W().Closing());
    EXPECT_FALSE(fs::exists(W().PartyPlayNoteFile()));
    EXPECT_TRUE(TIniFile(Settings()).ReadBool("SongTitle", "Scroll", false)) << "stopped only to close";
    window_.reset();
    Make();
    Start();
    EXPECT_FALSE(W().IsPartyPlay()) << "after a proper close the party starts off";
}

TEST_F(SettingsGuardTest, ExitsShortcutWorksUnderPartyPlayOnlyWhileClosingIsAllowed)
{
    Make();
    Start();
    W().show();
    W().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&W()));
    partyPlay_.SetDisableApplicationClose(true);
    W().SetPartyPlayEnabled(true);
    ASSERT_FALSE(W().Actions().actnFileExit->isVisible());
    QTest::keyClick(W().windowHandle(), Qt::Key_X, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_FALSE(W().Closing());
    partyPlay_.SetDisableApplicationClose(false);
    W().ApplyPartyPlayState();
    QTest::keyClick(W().windowHandle(), Qt::Key_X, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(W().Closing());
}
