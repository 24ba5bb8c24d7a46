#include "app/dialogs/frmsongsearch.h"
#include "app/dialogs/songsearchhost.h"
#include "app/keyboard/frmkeyboard.h"
#include "controls/keyboardcontrol.h"
#include "controls/orvanebutton.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/songs/audiotaglist.h"
#include "platform/qtstring.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"
#include "support/sharedkeyboard.h"
#include "support/testsongs.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <functional>
#include <set>

namespace {

struct TtestSearchHost : TsongSearchHost
{
    const TcustomJukeboxList* SearchLibrary() const override { return library; }
    QWidget* HostWindow() const override { return window; }

    const TcustomJukeboxList* library = nullptr;
    QWidget* window = nullptr;
};

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

void ClickButton(QWidget* form, const char* name)
{
    QTest::mouseClick(form->findChild<TorvaneButton*>(name), Qt::LeftButton);
}

void ClickKey(const QString& caption)
{
    TkeyboardControl* keyboard = GetKeyboardForm()->Keyboard();
    for (const TkeyboardKey& key : keyboard->Keys())
        if (key.Caption == caption) {
            QTest::mouseClick(keyboard, Qt::LeftButton, {}, key.Rect.center());
            QCoreApplication::processEvents(); // the typed key arrives, as between two touches
            return;
        }
    ADD_FAILURE() << "no key " << platform::FromQString(caption);
}

void ClickLine(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

struct SongSearch : ::testing::Test
{
    SongSearch()
    {
        TlibraryShape shape;
        shape.Songs = 400;
        shape.Artists = 30;
        shape.Albums = 40;
        library.Generate(shape);
        host.library = &library;
    }

    void SetUp() override { ResetSharedKeyboard(); }
    void TearDown() override { EXPECT_EQ(GetKeyboardForm()->parentWidget(), nullptr); }

    // Runs step on the search inside SearchSong's modal loop; SearchSong's answer.
    const TaudioTag* Search(std::function<void(TfrmSongSearch*)> step, bool useKeyboard = false)
    {
        WhenModal([step = std::move(step)](QWidget* shown) {
            auto* search = qobject_cast<TfrmSongSearch*>(shown);
            if (search == nullptr) {
                ADD_FAILURE() << "the song search is not up";
                shown->close();
                return;
            }
            step(search);
        });
        return SearchSong(&host, 330, 108, useKeyboard);
    }

    TgeneratedLibrary library;
    TtestSearchHost host;
};

} // namespace

TEST_F(SongSearch, TitleModeListsEachMatchOnceAsTitleThenArtist)
{
    // Another file with the same artist and title must not give a second line.
    const TaudioTag* known = library.GlobalList().GetItem(17);
    auto twin = Song(known->Artist(), known->Title());
    twin->SetFilename("/elsewhere/twin.mp3");
    library.GlobalList().Add(twin.release());
    const QString wanted = platform::ToQString(known->Title()).mid(1, 3).toLower();

    TfrmSongSearch search;
    search.SetJukebox(&host);
    search.show();
    QTest::keyClicks(search.SearchEdit(), wanted);
    std::set<QString> expected;
    for (int i = 0; i < library.GlobalList().GetCount(); ++i) {
        const TaudioTag* song = library.GlobalList().GetItem(i);
        if (platform::ToQString(song->Title()).contains(wanted, Qt::CaseInsensitive))
            expected.insert(platform::ToQString(song->Title() + " - " + song->Artist()).toUpper());
    }
    const QStringList lines = Lines(search.TrackList());
    ASSERT_EQ(static_cast<std::size_t>(lines.size()), expected.size());
    EXPECT_TRUE(lines.contains(platform::ToQString(known->Title() + " - " + known->Artist())));
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(expected.count(lines[i].toUpper()), 1u) << platform::FromQString(lines[i]);
        const TaudioTag* song = search.Results().Objects(i);
        EXPECT_EQ(platform::ToQString(song->Title() + " - " + song->Artist()), lines[i]);
        EXPECT_TRUE(i == 0 || QString::compare(lines[i - 1], lines[i], Qt::CaseInsensitive) < 0);
    }
    search.SearchEdit()->clear();
    EXPECT_EQ(search.TrackList()->count(), 0);
}

TEST_F(SongSearch, KeysTypedFasterThanASearchSearchOnceForTheLastText)
{
    TfrmSongSearch search;
    search.SetJukebox(&host);
    search.show();
    const auto* shown = search.findChild<QListWidget*>("lbTracks");
    QTest::keyClicks(search.SearchEdit(), "a");
    QCoreApplication::processEvents();
    const int afterOneKey = shown->count();
    EXPECT_GT(afterOneKey, 0);
    // A burst of keys arriving before the events are through: nothing is searched until they are.
    QTest::keyClicks(search.SearchEdit(), "xq");
    EXPECT_TRUE(search.SearchDue());
    EXPECT_EQ(shown->count(), afterOneKey);
    QCoreApplication::processEvents();
    EXPECT_FALSE(search.SearchDue());
    EXPECT_EQ(shown->count(), 0); // no title holds "axq"
    search.SearchEdit()->setText("e");
    const int found = search.Results().Count(); // reading the results runs the search due
    EXPECT_GT(found, 0);
    EXPECT_EQ(shown->count(), found);
}

TEST_F(SongSearch, ArtistModeListsTheArtistsSongsAndSwitchingEmptiesTheSearch)
{
    TfrmSongSearch search;
    search.SetJukebox(&host);
    search.show();
    auto* mode = search.findChild<TorvaneButton*>("obtnSearchMode");
    QTest::keyClicks(search.SearchEdit(), "a");
    ClickButton(&search, "obtnSearchMode");
    EXPECT_EQ(mode->Caption(), "by Artist");
    EXPECT_TRUE(search.SearchEdit()->text().isEmpty());
    EXPECT_EQ(search.TrackList()->count(), 0);

    const TaudioTagList* artist = library.Artists().GetItem(3);
    QTest::keyClicks(search.SearchEdit(), platform::ToQString(artist->Title()).toLower());
    int found = 0;
    for (int i = 0; i < search.Results().Count(); ++i)
        found += search.Results().Objects(i)->Artist() == artist->Title();
    EXPECT_EQ(found, artist->GetCount());
    EXPECT_TRUE(Lines(search.TrackList())
                    .contains(platform::ToQString(artist->Title() + " - " + artist->GetItem(0)->Title())));

    ClickButton(&search, "obtnSearchMode");
    EXPECT_EQ(mode->Caption(), "by Title");
    EXPECT_EQ(search.TrackList()->count(), 0);
}

TEST_F(SongSearch, EnterOrADoubleClickAnswersTheSelectedSong)
{
    const TaudioTag* chosen = nullptr;
    const TaudioTag* answered = Search([&](TfrmSongSearch* search) {
        QTest::keyClicks(search->SearchEdit(), "a");
        ClickLine(search->TrackList(), 2);
        chosen = search->SelectedSong();
        // The release of the Enter that opened the search does not close it; the next press does.
        QTest::keyRelease(search->SearchEdit(), Qt::Key_Return);
        EXPECT_TRUE(search->isVisible());
        QTest::keyPress(search->SearchEdit(), Qt::Key_Return);
    });
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(answered, chosen) << "the library's own song; the caller queues a copy";
    EXPECT_GE(library.GlobalList().IndexOf(answered), 0);

    // OK without a line and Cancel with one answer no song; a double click closes with its line's.
    EXPECT_EQ(Search([](TfrmSongSearch* search) {
                  QTest::keyClicks(search->SearchEdit(), "a");
                  ClickButton(search, "obtnOK");
              }),
              nullptr);
    EXPECT_EQ(Search([](TfrmSongSearch* search) {
                  QTest::keyClicks(search->SearchEdit(), "a");
                  ClickLine(search->TrackList(), 0);
                  ClickButton(search, "obtnCancel");
              }),
              nullptr);
    answered = Search([&](TfrmSongSearch* search) {
        QTest::keyClicks(search->SearchEdit(), "e");
        ClickLine(search->TrackList(), 0);
        chosen = search->SelectedSong();
        QTest::mouseDClick(search->TrackList()->viewport(), Qt::LeftButton, {},
                           search->TrackList()->visualItemRect(search->TrackList()->item(0)).center());
        if (search->isVisible()) {
            ADD_FAILURE() << "a double click closes the search";
            search->reject();
        }
    });
    EXPECT_EQ(answered, chosen);
    EXPECT_EQ(SearchSong(nullptr, 0, 0, false), nullptr);
}

TEST_F(SongSearch, TypedOnTheScreenKeyboardAndChosenByTouch)
{
    const TaudioTag* known = library.GlobalList().GetItem(5);
    const QString title = platform::ToQString(known->Title()).toLower();
    EXPECT_EQ(Search(
                  [&](TfrmSongSearch* search) {
                      EXPECT_TRUE(search->KeyboardDocked());
                      EXPECT_EQ(GetKeyboardForm()->size(), QSize(330, 108));
                      ClickKey("x");
                      ClickKey("Clr");
                      for (int i = 0; i < 3; ++i)
                          ClickKey(title.mid(i, 1));
                      ClickKey("q");
                      ClickKey("<-");
                      EXPECT_EQ(search->SearchEdit()->text(), title.left(3));
                      const int row =
                          int(Lines(search->TrackList())
                                  .indexOf(platform::ToQString(known->Title() + " - " + known->Artist())));
                      ASSERT_GE(row, 0);
                      ClickLine(search->TrackList(), row);
                      ClickButton(search, "obtnOK");
                  },
                  true),
              known);
}

TEST_F(SongSearch, CentredOnTheMainWindowWhereverItIs)
{
    QWidget mainWindow;
    mainWindow.setGeometry(300, 200, 1000, 700);
    mainWindow.show();
    host.window = &mainWindow;
    const QPoint centre = mainWindow.frameGeometry().center();
    Search(
        [&](TfrmSongSearch* search) {
            GetKeyboardForm()->obtnBiggerClick(); // a larger window stays centred
            EXPECT_EQ(search->width(), 350);
            EXPECT_LE((search->frameGeometry().center() - centre).manhattanLength(), 1);
            search->reject();
        },
        true);
}
