#include "app/dialogs/frmreports.h"
#include "app/dialogs/reportshost.h"
#include "app/qt/services/busyguard.h"
#include "core/groupings/audiotagartistlist.h"
#include "platform/desktopopen.h"
#include "platform/folders.h"
#include "platform/qtstring.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/generatedlibrary.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <filesystem>
#include <functional>

namespace {

struct TtestReportsHost : TreportsHost
{
    TcustomJukeboxList* ReportLibrary() const override { return library; }
    std::string CoverArtFolder() const override { return ""; }
    QWidget* HostWindow() const override { return nullptr; }
    TbusyGuard* BusyGuard() override { return &busy; }

    TcustomJukeboxList* library = nullptr;
    TbusyGuard busy;
};

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

struct Reports : ::testing::Test
{
    Reports()
    {
        TlibraryShape shape;
        shape.Songs = 300;
        shape.Artists = 20;
        shape.Albums = 30;
        library.Generate(shape);
        host.library = &library;
        std::filesystem::remove(TfrmReports::ReportsIniFile());
        platform::SetDesktopOpener([this](const std::string& target) {
            opened.push_back(target);
            if (whileOpening)
                whileOpening();
            return true;
        });
    }
    ~Reports() override { platform::SetDesktopOpener({}); }

    void Select(TfrmReports& form, const QString& name)
    {
        const int row = int(Lines(form.ReportList()).indexOf(name));
        ASSERT_GE(row, 0);
        form.ReportList()->setCurrentRow(row);
    }

    TfakePrompts prompts;
    TfakeDialogs dialogs;
    TgeneratedLibrary library;
    TtestReportsHost host;
    std::vector<std::string> opened;
    std::function<void()> whileOpening;
};

} // namespace

TEST_F(Reports, ListedByNameAndInertUntilOneIsSelected)
{
    TfrmReports form;
    form.SetJukebox(&host);
    form.show();
    EXPECT_EQ(Lines(form.ReportList()), QStringList({"Invalid Tags", "Missing Album Covers"}));
    EXPECT_EQ(form.SelectedReport(), nullptr);
    EXPECT_FALSE(form.RunButton()->isEnabled());
    EXPECT_FALSE(form.ConfigureButton()->isEnabled());
    form.btnConfigureClick();
    form.btnReportClick();
    form.btnGetFilenameClick();
    EXPECT_TRUE(prompts.boxes.empty());
    EXPECT_TRUE(dialogs.asked.empty());
    EXPECT_TRUE(opened.empty());

    Select(form, "Invalid Tags");
    EXPECT_TRUE(form.RunButton()->isEnabled());
    form.btnConfigureClick();
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "No configuration is Required");

    // Shown again, nothing is selected any more: the buttons follow.
    form.hide();
    form.show();
    EXPECT_EQ(form.SelectedReport(), nullptr);
    EXPECT_FALSE(form.RunButton()->isEnabled());
    form.btnConfigureClick();
    EXPECT_EQ(prompts.boxes.size(), 1u);
}

TEST_F(Reports, TheDefaultOutputFileIsKeptInReportsIniAcrossRuns)
{
    const std::string expected = platform::ReportsFolder() + "/Missing Album Covers.txt";
    {
        TfrmReports form;
        form.SetJukebox(&host);
        form.show();
        Select(form, "Missing Album Covers");
        EXPECT_EQ(form.SelectedReport()->Filename(), expected);
        EXPECT_EQ(form.OutputEdit()->text(), "Missing Album Covers.txt");
        EXPECT_EQ(form.Description()->toPlainText(),
                  "Creates a list of albums for which an album cover cannot be located.");
        form.OutputEdit()->setText("typed.txt"); // only "..." changes the file
        form.close();
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_EQ(TempDir::Read(TfrmReports::ReportsIniFile()),
              "[Missing Album Covers]\r\nFilename=" + expected + "\r\n\r\n[Invalid Tags]\r\nFilename=\r\n");

    TfrmReports next;
    next.SetJukebox(&host);
    next.show();
    Select(next, "Missing Album Covers");
    EXPECT_EQ(next.SelectedReport()->Filename(), expected);
}

TEST_F(Reports, MissingAlbumCoversWritesItsFileAndCannotStartTwice)
{
    TfrmReports form;
    form.SetJukebox(&host);
    form.show();
    Select(form, "Missing Album Covers");
    bool heldWhileRunning = false;
    whileOpening = [&] {
        heldWhileRunning = form.Running() && !form.MayClose() && !form.RunButton()->isEnabled() &&
                           form.ProgressBar()->isVisible() && host.busy.Busy();
        form.btnReportClick(); // a second start while it runs does nothing
        form.close();          // nor does closing
        heldWhileRunning = heldWhileRunning && form.isVisible();
    };
    form.btnReportClick();
    EXPECT_TRUE(heldWhileRunning);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], form.SelectedReport()->Filename());
    EXPECT_FALSE(form.Running());
    EXPECT_TRUE(form.RunButton()->isEnabled());
    EXPECT_FALSE(form.ProgressBar()->isVisible());
    EXPECT_FALSE(host.busy.Busy());
    const int artists = library.Artists().GetCount();
    EXPECT_EQ(form.ProgressBar()->maximum(), artists);
    EXPECT_EQ(form.ProgressLabel()->text(), QString("%1/%1").arg(artists));

    // No song has a cover here, so the first artist is listed, underlined, with its albums' folders.
    const QStringList lines = platform::ToQString(TempDir::Read(opened[0])).split('\n');
    const QString first = platform::ToQString(library.Artists().GetArtist(0)->Name());
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], first);
    EXPECT_EQ(lines[1], QString(first.size(), '='));
    EXPECT_TRUE(lines[2].startsWith("    ") && lines[2].endsWith("/]")) << platform::FromQString(lines[2]);

    form.close();
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Reports, AFailedReportIsShownAndTheWindowRecovers)
{
    TempDir dir;
    TfrmReports form;
    form.SetJukebox(&host);
    form.show();
    Select(form, "Invalid Tags");
    dialogs.saveAnswers.push_back(dir.File("missing/folder/tags.txt"));
    form.btnGetFilenameClick();
    ASSERT_EQ(dialogs.asked.size(), 1u);
    EXPECT_EQ(dialogs.asked[0].detail, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    EXPECT_EQ(form.OutputEdit()->text(), "tags.txt");

    form.btnReportClick();
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].icon, TmessageIcon::Error);
    EXPECT_TRUE(opened.empty());
    EXPECT_FALSE(form.Running());
    EXPECT_FALSE(form.ProgressBar()->isVisible());
    EXPECT_TRUE(form.RunButton()->isEnabled());
    form.close();
    EXPECT_FALSE(form.isVisible());
}
