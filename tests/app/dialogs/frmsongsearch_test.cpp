#include "app/dialogs/frmsongsearch.h"
#include "app/dialogs/songsearchhost.h"
#include "app/keyboard/frmkeyboard.h"
#include "controls/alignlayout.h"
#include "controls/keyboardcontrol.h"
#include "controls/orvanebutton.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/songs/audiotaglist.h"
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
    TaudioTagList* PlayQueue() override { return queue; }
    QWidget* HostWindow() const override { return window; }

    const TcustomJukeboxList* library = nullptr;
    TaudioTagList* queue = nullptr;
    QWidget* window = nullptr;
};

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

QStringList Lines(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

void ClickButton(QWidget* form, const char* name)
{
    auto* button = form->findChild<TorvaneButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

void ClickKey(const QString& caption)
{
    TkeyboardControl* keyboard = GetKeyboardForm()->Keyboard();
    for (const TkeyboardKey& key : keyboard->Keys()) {
        if (key.Caption == caption) {
            QTest::mouseClick(keyboard, Qt::LeftButton, {}, key.Rect.center());
            QCoreApplication::processEvents(); // the typed key arrives, as between two touches
            return;
        }
    }
    ADD_FAILURE() << "no key " << caption.toStdString();
}

void ClickLine(QListWidget* list, int row)
{
    const QRect line = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line.center());
}

// Runs step inside the search's modal loop (closing whatever else came up).
void WhenSearchUp(std::function<void(TfrmSongSearch*)> step)
{
    WhenModal([step = std::move(step)](QWidget* shown) {
        if (auto* search = qobject_cast<TfrmSongSearch*>(shown)) {
            step(search);
            return;
        }
        ADD_FAILURE() << "the song search is not up";
        if (shown != nullptr)
            shown->close();
    });
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
        queue.SetOwnsObjects(true);
        host.library = &library;
        host.queue = &queue;
    }

    void SetUp() override { ResetSharedKeyboard(); }

    void TearDown() override
    {
        EXPECT_EQ(GetKeyboardForm()->parentWidget(), nullptr);
        EXPECT_FALSE(GetKeyboardForm()->isVisible());
    }

    TgeneratedLibrary library;
    TaudioTagList queue;
    TtestSearchHost host;
};

} // namespace

TEST_F(SongSearch, TitleModeListsEachMatchOnceAsTitleThenArtist)
{
    // A second copy of a song (another file, same artist and title) must not give a second line.
    const TaudioTag* known = library.GlobalList().GetItem(17);
    auto twin = Song(known->Artist(), known->Title());
    twin->SetFilename("/elsewhere/twin.mp3");
    library.GlobalList().Add(twin.release());
    const std::string wanted = Lower(known->Title().substr(1, 3));

    TfrmSongSearch search;
    search.SetJukebox(&host);
    search.show();
    EXPECT_EQ(search.TrackList()->count(), 0);
    QTest::keyClicks(search.SearchEdit(), QString::fromStdString(wanted));

    std::set<std::string> expected;
    for (int i = 0; i < library.GlobalList().GetCount(); ++i) {
        const TaudioTag* song = library.GlobalList().GetItem(i);
        if (Upper(song->Title()).find(Upper(wanted)) != std::string::npos)
            expected.insert(Upper(song->Title() + " - " + song->Artist()));
    }
    const QStringList lines = Lines(search.TrackList());
    ASSERT_EQ(static_cast<std::size_t>(lines.size()), expected.size());
    EXPECT_TRUE(lines.contains(QString::fromStdString(known->Title() + " - " + known->Artist())));
    for (int i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(expected.count(Upper(lines[i].toStdString())), 1u) << lines[i].toStdString();
        const TaudioTag* song = search.Results().Objects(i);
        EXPECT_EQ(song->Title() + " - " + song->Artist(), lines[i].toStdString());
        if (i > 0) {
            EXPECT_LT(QString::compare(lines[i - 1], lines[i], Qt::CaseInsensitive), 0);
        }
    }

    search.SearchEdit()->clear();
    EXPECT_EQ(search.TrackList()->count(), 0);
}

TEST_F(SongSearch, ArtistModeListsTheArtistsSongsAndSwitchingEmptiesTheSearch)
{
    TfrmSongSearch search;
    search.SetJukebox(&host);
    search.show();
    auto* mode = search.findChild<TorvaneButton*>("obtnSearchMode");
    QTest::keyClicks(search.SearchEdit(), "a");
    ASSERT_GT(search.TrackList()->count(), 0);

    ClickButton(&search, "obtnSearchMode");
    EXPECT_EQ(search.SearchMode(), TfrmSongSearch::smArtist);
    EXPECT_EQ(mode->Caption(), "by Artist");
    EXPECT_TRUE(search.SearchEdit()->text().isEmpty());
    EXPECT_EQ(search.TrackList()->count(), 0);

    const TaudioTagList* artist = library.Artists().GetItem(3);
    QTest::keyClicks(search.SearchEdit(), QString::fromStdString(Lower(artist->Title())));
    int found = 0;
    for (int i = 0; i < search.Results().Count(); ++i)
        found += search.Results().Objects(i)->Artist() == artist->Title();
    EXPECT_EQ(found, artist->GetCount());
    EXPECT_TRUE(Lines(search.TrackList())
                    .contains(QString::fromStdString(artist->Title() + " - " + artist->GetItem(0)->Title())));

    ClickButton(&search, "obtnSearchMode");
    EXPECT_EQ(search.SearchMode(), TfrmSongSearch::smTitle);
    EXPECT_EQ(mode->Caption(), "by Title");
    EXPECT_EQ(search.TrackList()->count(), 0);
}

TEST_F(SongSearch, EnterQueuesACopyOfTheSelectedSongAndNothingWithoutASelection)
{
    const TaudioTag* chosen = nullptr;
    WhenSearchUp([&](TfrmSongSearch* search) {
        QTest::keyClicks(search->SearchEdit(), "a");
        ASSERT_GT(search->TrackList()->count(), 2);
        ClickLine(search->TrackList(), 2);
        chosen = search->SelectedSong();
        // The release of the Enter that opened the search does not close it; the next press does.
        QTest::keyRelease(search->SearchEdit(), Qt::Key_Return);
        EXPECT_TRUE(search->isVisible());
        QTest::keyPress(search->SearchEdit(), Qt::Key_Return);
    });
    EXPECT_TRUE(SearchSong(&host, 0, 0, false));
    ASSERT_NE(chosen, nullptr);
    ASSERT_EQ(queue.GetCount(), 1);
    EXPECT_NE(queue.GetItem(0), chosen) << "the queue owns a copy, never the library's song";
    EXPECT_EQ(queue.GetItem(0)->Filename(), chosen->Filename());

    WhenSearchUp([](TfrmSongSearch* search) {
        QTest::keyClicks(search->SearchEdit(), "a");
        ClickButton(search, "obtnOK");
    });
    EXPECT_FALSE(SearchSong(&host, 0, 0, false));
    WhenSearchUp([](TfrmSongSearch* search) {
        QTest::keyClicks(search->SearchEdit(), "a");
        ClickLine(search->TrackList(), 0);
        ClickButton(search, "obtnCancel");
    });
    EXPECT_FALSE(SearchSong(&host, 0, 0, false));
    EXPECT_EQ(queue.GetCount(), 1);
}

TEST_F(SongSearch, AFullQueueRefusesTheCopy)
{
    queue.SetMax(1);
    queue.AddCopy(library.GlobalList().GetItem(0));
    WhenSearchUp([](TfrmSongSearch* search) {
        QTest::keyClicks(search->SearchEdit(), "e");
        QListWidget* list = search->TrackList();
        const QPoint line = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, line);
        if (search->isVisible()) {
            ADD_FAILURE() << "a double click closes the search";
            search->reject();
        }
    });
    // The refused copy is freed (the sanitizer run would tell).
    EXPECT_FALSE(SearchSong(&host, 0, 0, false));
    EXPECT_EQ(queue.GetCount(), 1);
}

TEST_F(SongSearch, TypedOnTheScreenKeyboardAndChosenByTouch)
{
    TfrmKeyboard* keyboard = GetKeyboardForm();
    const TaudioTag* known = library.GlobalList().GetItem(5);
    const QString title = QString::fromStdString(known->Title());
    const TaudioTag* chosen = nullptr;
    WhenSearchUp([&](TfrmSongSearch* search) {
        EXPECT_TRUE(search->KeyboardDocked());
        EXPECT_EQ(TalignLayout::AlignOf(keyboard), TAlign::alBottom);
        EXPECT_EQ(search->width(), 330);
        EXPECT_EQ(keyboard->size(), QSize(330, 108));
        ClickKey("x");
        ClickKey("Clr");
        EXPECT_TRUE(search->SearchEdit()->text().isEmpty());
        // The first letters of a known title, one wrong letter taken back.
        for (int i = 0; i < 3; ++i)
            ClickKey(title.mid(i, 1).toLower());
        ClickKey("q");
        ClickKey("<-");
        EXPECT_EQ(search->SearchEdit()->text(), title.left(3).toLower());
        EXPECT_TRUE(search->SearchEdit()->hasFocus());
        const QStringList lines = Lines(search->TrackList());
        const int row = int(lines.indexOf(QString::fromStdString(known->Title() + " - " + known->Artist())));
        ASSERT_GE(row, 0);
        ClickLine(search->TrackList(), row);
        chosen = search->SelectedSong();
        ClickButton(search, "obtnOK");
    });
    EXPECT_TRUE(SearchSong(&host, 330, 108, true));
    EXPECT_EQ(chosen, known);
    ASSERT_EQ(queue.GetCount(), 1);
    EXPECT_EQ(queue.GetItem(0)->Title(), known->Title());
}

TEST_F(SongSearch, CentredOnTheMainWindowWhereverItIs)
{
    QWidget mainWindow;
    mainWindow.setGeometry(300, 200, 1000, 700);
    mainWindow.show();
    host.window = &mainWindow;
    const QPoint centre = mainWindow.frameGeometry().center();
    WhenSearchUp([&](TfrmSongSearch* search) {
        EXPECT_LE((search->frameGeometry().center() - centre).manhattanLength(), 1);
        // Bigger keys make the window larger; it stays centred.
        GetKeyboardForm()->obtnBiggerClick();
        EXPECT_EQ(search->width(), 350);
        EXPECT_LE((search->frameGeometry().center() - centre).manhattanLength(), 1);
        search->reject();
    });
    EXPECT_FALSE(SearchSong(&host, 330, 108, true));
}
