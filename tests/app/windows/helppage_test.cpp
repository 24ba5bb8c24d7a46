// The help page the main window names is shipped with the build, and Help > Help and F1 open it through
// the desktop's opener (recorded here, so no browser starts).
#include "app/commands/jukeboxactions.h"
#include "app/windows/frmjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "platform/filesystem.h"
#include "platform/folders.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/localtestwindow.h"
#include "support/openedrecorder.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using ThelpWindow = TlocalTestWindow<TfrmJukebox>;

std::string FileText(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class HelpPage : public ::testing::Test
{
protected:
    TempDir home_;
    ScopedEnv homeEnv_{"ORVANE_HOME", home_.Path() + "/"};
    TfakePrompts prompts_;
    TfakeDialogs dialogs_;
    // Before the window: its help hook looks for an opener when it is made.
    OpenedRecorder opened_;
};

} // namespace

TEST_F(HelpPage, TheShippedPageIsTheOneTheWindowNamesAndItStandsAlone)
{
    TmainWindowPtr window = CreateMainWindow<ThelpWindow>();
    const std::string page = window->GetHelpFile();
    EXPECT_EQ(page, platform::DocsFolder() + "/OrvaneJukebox.html");
    ASSERT_TRUE(std::filesystem::is_regular_file(page)) << page;
    const std::string text = FileText(page);
    EXPECT_NE(text.find("<title>Orvane Jukebox Help</title>"), std::string::npos);
    // One file: no style sheet, script or picture is fetched from elsewhere.
    for (const char* external : {"<link", "<script", "<img", "src=", "url("})
        EXPECT_EQ(text.find(external), std::string::npos) << external;
    // It tells how the windows of this version open and what their lists offer.
    EXPECT_EQ(text.find("not opened from the"), std::string::npos);
    for (const char* told : {"<span class=\"menu\">Stacker &gt; Configure</span>",
                             "<span class=\"menu\">Playlists &gt; Show Playlist Editor</span>",
                             "standard genre table", "A password may hold only the letters A to Z"})
        EXPECT_NE(text.find(told), std::string::npos) << told;
}

TEST_F(HelpPage, HelpCommandAndF1OpenThePage)
{
    TmainWindowPtr window = CreateMainWindow<ThelpWindow>();
    const std::string page = window->GetHelpFile();
    window->Actions().actnHelpHelp->trigger();
    EXPECT_EQ(opened_.opened, std::vector<std::string>{page});

    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &f1);
    EXPECT_EQ(opened_.opened, (std::vector<std::string>{page, page}));
}
