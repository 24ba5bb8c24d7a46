#include "app/dialogs/frmjukeboxinfo.h"
#include "core/jukebox/customjukebox.h"
#include "core/util/orvanexutils.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

class TtestJukebox : public TcustomJukebox
{
public:
    void Refresh() override {}
};

std::unique_ptr<TaudioTagList> StackerList(const TaudioTagList& from, const std::string& title, int first,
                                           int songs)
{
    auto list = std::make_unique<TaudioTagList>();
    list->SetTitle(title);
    for (int i = first; i < first + songs; ++i)
        list->AddCopy(from.GetItem(i));
    return list;
}

} // namespace

TEST(JukeboxInfo, AnEmptyLibraryShowsZerosAndNoActivePlaylist)
{
    TgeneratedLibrary library;
    TtestJukebox jukebox;
    jukebox.SetJukeboxList(&library);
    const std::vector<std::string> expected = {
        "Global List Details",
        "  Track Count  : 0",
        "  Duration     : 0:00:00",
        "  Artist Count : 0",
        "  Album Count  : 0",
        "",
        "Queue Details",
        "  Track Count : 0",
        "  Duration    : 0:00:00",
        "",
        "Stacker Details",
        "  List Count  : 0",
        "  Track Count : 0",
        "  Duration    : 0:00:00",
        "",
        "Playlist Details",
        "  Active Playlist : [none]",
        "  Track Count     : 0",
        "  Duration        : 0:00:00",
    };
    EXPECT_EQ(TfrmJukeboxInfo::InfoLines(library, &jukebox), expected);
    EXPECT_EQ(TfrmJukeboxInfo::InfoLines(library, nullptr), expected);
}

TEST(JukeboxInfo, SumsTheLibraryQueueStackerAndActivePlaylist)
{
    TgeneratedLibrary library(TlibraryShape{.Songs = 60, .Artists = 6, .Albums = 8, .Genres = 3});
    TtestJukebox jukebox;
    jukebox.SetJukeboxList(&library);
    const TaudioTagList& global = library.GlobalList();
    for (int i = 0; i < 3; ++i)
        jukebox.Queue().AddCopy(global.GetItem(i));
    jukebox.Stacker().Add(StackerList(global, "Cartridge A", 0, 4).release());
    jukebox.Stacker().Add(StackerList(global, "Cartridge B", 10, 5).release());
    TaudioTagList* party = library.AddPlaylist("Party", 7);
    jukebox.SetActivePreloadedList(party);
    ASSERT_EQ(jukebox.ActivePreloadedList(), party);

    const std::vector<std::string> lines = TfrmJukeboxInfo::InfoLines(library, &jukebox);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_EQ(lines[1], "  Track Count  : 60");
    EXPECT_EQ(lines[2], "  Duration     : " + SecondsToHMS(global.TotalDuration()));
    EXPECT_EQ(lines[3], "  Artist Count : " + std::to_string(library.Artists().Count()));
    EXPECT_EQ(lines[4], "  Album Count  : " + std::to_string(library.Albums().Count()));
    EXPECT_GT(library.Albums().Count(), 0);
    EXPECT_EQ(lines[7], "  Track Count : 3");
    EXPECT_EQ(lines[8], "  Duration    : " + SecondsToHMS(jukebox.Queue().TotalDuration()));
    EXPECT_EQ(lines[11], "  List Count  : 2");
    EXPECT_EQ(lines[12], "  Track Count : 9");
    EXPECT_EQ(lines[13], "  Duration    : " + SecondsToHMS(jukebox.Stacker().TotalDuration()));
    EXPECT_EQ(lines[16], "  Active Playlist : Party");
    EXPECT_EQ(lines[17], "  Track Count     : 7");
    EXPECT_EQ(lines[18], "  Duration        : " + SecondsToHMS(party->TotalDuration()));
}

TEST(JukeboxInfo, TheWindowShowsTheSummaryModallyUntilClosed)
{
    TgeneratedLibrary library(TlibraryShape{.Songs = 20, .Artists = 4, .Albums = 5});
    QString text;
    QString caption;
    QSize size;
    int hiddenRows = -1;
    int hiddenColumns = -1;
    bool readOnly = false;
    bool fixedPitch = false;
    WhenModal([&](QWidget* shown) {
        auto* info = qobject_cast<TfrmJukeboxInfo*>(shown);
        ASSERT_TRUE(info);
        caption = info->windowTitle();
        size = info->size();
        hiddenRows = info->Memo()->verticalScrollBar()->maximum();
        hiddenColumns = info->Memo()->horizontalScrollBar()->maximum();
        text = info->Memo()->toPlainText();
        readOnly = info->Memo()->isReadOnly();
        fixedPitch = QFontInfo(info->Memo()->font()).fixedPitch();
        QTest::mouseClick(info->CloseButton(), Qt::LeftButton);
    });
    ShowJukeboxInfo(library, nullptr);
    EXPECT_EQ(caption, "Information");
    EXPECT_GE(size.width(), 292);
    EXPECT_GE(size.height(), 273);
    EXPECT_EQ(hiddenRows, 0) << "every line shows";
    EXPECT_EQ(hiddenColumns, 0);
    EXPECT_TRUE(readOnly);
    EXPECT_TRUE(fixedPitch);
    const QStringList lines = text.split('\n');
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines[1], "  Track Count  : 20");
}
