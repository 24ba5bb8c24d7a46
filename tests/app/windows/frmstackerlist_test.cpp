#include "app/dialogs/frmprogress.h"
#include "app/windows/frmstackerlist.h"
#include "app/windows/stackercartridges.h"
#include "controls/dragpayload.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/groupings/audiotagalbum.h"
#include "core/jukebox/customjukeboxlistevents.h"
#include "core/songs/streamwriter.h"
#include "core/util/orvanexutils.h"
#include "platform/filesystem.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "stackerlibrary.h"
#include "support/fakedialogs.h"
#include "support/tempdir.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDropEvent>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

namespace {

// The stacker window linked to a generated library, shown without a modal loop, its cartridges in a
// folder of the test's own.
class StackerWindow : public ::testing::Test
{
protected:
    StackerWindow()
    {
        window.SetJukebox(&shelf.library, &host);
        window.Cartridges()->SetFolder(dir.Path());
    }

    void Show()
    {
        window.show();
        QApplication::processEvents();
    }

    // The first node (depth first) that passes the test.
    template <class F>
    TtreeNode FindNode(F&& test, TtreeNode parent = {}) const
    {
        const TtreeSinkModel& model = window.Model();
        for (int row = 0; row < model.ChildCount(parent); ++row) {
            const TtreeNode child = model.Child(parent, row);
            if (test(child))
                return child;
            if (const TtreeNode found = FindNode(test, child))
                return found;
        }
        return {};
    }
    // An album of one artist.
    TtreeNode AlbumNode() const
    {
        return FindNode([this](TtreeNode node) {
            std::string artist;
            const TaudioTagList* list = window.Model().Data(node);
            return window.Model().Kind(node) == tnkAlbum && list->CheckAlbum(artist) &&
                   artist != "Compilation";
        });
    }
    TtreeNode KindNode(TtreeNodeKind kind) const
    {
        return FindNode([this, kind](TtreeNode node) { return window.Model().Kind(node) == kind; });
    }
    void Select(TtreeNode node) { window.Tree()->setCurrentIndex(window.Model().IndexOf(node)); }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < window.StackerList()->Count(); ++i)
            lines.push_back(window.StackerList()->Items()[i]);
        return lines;
    }
    std::vector<std::string> ComboLines() const
    {
        std::vector<std::string> lines;
        for (int i = 0; i < window.CartridgeCombo()->count(); ++i)
            lines.push_back(platform::FromQString(window.CartridgeCombo()->itemText(i)));
        return lines;
    }
    TstackerLibrary shelf;
    TtestStackerHost host;
    TempDir dir;
    TfakeDialogs dialogs;
    TfrmStackerList window;
};

bool DropAt(QAbstractItemView& target, const QMimeData& data, QPoint at)
{
    QWidget* viewport = target.viewport();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
}

} // namespace

TEST_F(StackerWindow, ADoubleClickAddsAnAlbumWithItsLineAndImageAndOnlyListsGoIn)
{
    Show();
    EXPECT_EQ(window.StatusText(0), "Tracks : 0");
    const TtreeNode albumNode = AlbumNode();
    ASSERT_TRUE(albumNode);
    const TaudioTagList& album = *window.Model().Data(albumNode);
    const QModelIndex index = window.Model().IndexOf(albumNode);
    window.Tree()->expand(index.parent());
    window.Tree()->scrollTo(index);
    QApplication::processEvents();
    const QPoint at = window.Tree()->visualRect(index).center();
    QTest::mouseClick(window.Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(window.Tree()->viewport(), Qt::LeftButton, Qt::NoModifier, at);

    ASSERT_EQ(shelf.Stacker().Count(), 1);
    const TaudioTagList& added = *shelf.Stacker().GetItem(0);
    EXPECT_EQ(added.Count(), album.Count());
    EXPECT_NE(added.GetItem(0), album.GetItem(0)); // the stacker owns copies
    EXPECT_EQ(Lines(), (std::vector<std::string>{album.Title() + " - " + album.GetItem(0)->Artist()}));
    EXPECT_TRUE(window.LineIsAlbum(0));
    EXPECT_EQ(window.StatusText(0), "Tracks : " + std::to_string(album.Count()));
    EXPECT_EQ(window.StatusText(1), "Duration : " + SecondsToHMS(album.TotalDuration()));
    EXPECT_EQ(window.StatusText(2), "Albums : 1");

    // The saved playlist goes in under its bare title with the playlist image.
    const TtreeNode party = window.Model().Child(window.Viewer().GetPlaylistsNode(), 0);
    EXPECT_EQ(TfrmStackerList::TreeImageIndex(window.Model().Kind(party), true, false, true, false, false),
              TfrmStackerList::kPlaylistImage);
    Select(party);
    EXPECT_TRUE(window.AddSelected());
    ASSERT_EQ(shelf.Stacker().Count(), 2);
    const int line = shelf.Stacker().IndexOf(shelf.Stacker().Find("Party Mix"));
    EXPECT_EQ(Lines()[static_cast<std::size_t>(line)], "Party Mix");
    EXPECT_FALSE(window.LineIsAlbum(line));

    // Artists, roots and empty nodes add nothing.
    for (TtreeNode node : {KindNode(tnkArtist), window.Viewer().GetCompilationsNode(), TtreeNode{}}) {
        Select(node);
        EXPECT_FALSE(window.AddSelected());
    }
    EXPECT_EQ(shelf.Stacker().Count(), 2);
}

TEST_F(StackerWindow, TheListTakesDropsOfCurrentTreeListsAndTheDeleteKeyTakesOneOut)
{
    Show();
    const TtreeNode albumNode = AlbumNode();
    auto payload = [this](TtreeNode node) {
        std::unique_ptr<QMimeData> data(window.Model().mimeData({window.Model().IndexOf(node)}));
        const_cast<TdragPayload*>(TdragPayload::From(data.get()))->SetSource(window.Tree());
        return data;
    };
    const std::unique_ptr<QMimeData> drag = payload(albumNode);
    const std::unique_ptr<QMimeData> artist = payload(KindNode(tnkArtist));
    ThtmlListBox& list = *window.StackerList();
    EXPECT_FALSE(DropAt(list, *artist, QPoint(10, 10)));
    EXPECT_TRUE(DropAt(list, *drag, QPoint(10, 10)));
    EXPECT_EQ(shelf.Stacker().Count(), 1);

    // After the library's notice the tree lets go of its lists and the old drag is refused.
    window.LibraryChanging();
    EXPECT_FALSE(DropAt(list, *drag, QPoint(10, 10)));
    Select(albumNode);
    EXPECT_FALSE(window.AddSelected());
    window.LibraryChanged();
    Select(AlbumNode());
    EXPECT_TRUE(window.AddSelected());
    Select(KindNode(tnkGenre));
    EXPECT_FALSE(window.AddSelected()); // no genres unless asked for
    ASSERT_EQ(shelf.Stacker().Count(), 2);

    const std::string kept = shelf.Stacker().GetItem(1)->Title();
    list.SetItemIndex(0);
    QTest::keyClick(&list, Qt::Key_Delete);
    ASSERT_EQ(shelf.Stacker().Count(), 1);
    EXPECT_EQ(shelf.Stacker().GetItem(0)->Title(), kept);
    EXPECT_EQ(list.ItemIndex(), 0);

    // A line whose list left the stacker behind the window's back takes nothing else with it.
    shelf.Stacker().Clear();
    auto other = std::make_unique<TaudioTagList>();
    other->SetTitle("Other");
    shelf.Stacker().Add(other.release());
    EXPECT_FALSE(window.DeleteSelected());
    EXPECT_EQ(shelf.Stacker().Count(), 1);
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Other"}));
    EXPECT_FALSE(window.LineIsAlbum(0));
    EXPECT_TRUE(window.DeleteSelected());
    EXPECT_EQ(shelf.Stacker().Count(), 0);
    EXPECT_EQ(window.StatusText(2), "Albums : 0");
}

TEST_F(StackerWindow, ASavedCartridgeShowsAtOnceAndLoadsBackTheSameLists)
{
    Show();
    EXPECT_EQ(ComboLines(), (std::vector<std::string>{"[Load ...]"}));
    Select(AlbumNode());
    window.AddSelected();
    Select(window.Model().Child(window.Viewer().GetPlaylistsNode(), 0));
    window.AddSelected();
    TstreamWriter expected;
    shelf.Stacker().SaveToStream(expected);

    const std::string file = dir.File("Evening.ctg");
    dialogs.saveAnswers.push_back(file);
    EXPECT_TRUE(window.SaveStacker());
    EXPECT_EQ(ComboLines(), (std::vector<std::string>{"[Load ...]", "Evening"}));
    const std::string bytes = TempDir::Read(file);
    EXPECT_EQ(bytes, std::string(expected.Bytes()));
    EXPECT_EQ(bytes.substr(0, 8), std::string("OALL\x02\x00\x00\x00", 8));

    EXPECT_TRUE(window.EmptyStacker());
    EXPECT_EQ(shelf.Stacker().Count(), 0);
    // Arrowing onto a line does not load it; choosing it does.
    window.CartridgeCombo()->setFocus();
    QTest::keyClick(window.CartridgeCombo(), Qt::Key_Down);
    EXPECT_EQ(window.CartridgeCombo()->currentIndex(), 1);
    QTest::keyClick(window.CartridgeCombo(), Qt::Key_Up);
    QTest::keyClick(window.CartridgeCombo(), Qt::Key_End);
    EXPECT_EQ(window.CartridgeCombo()->currentIndex(), 1);
    EXPECT_EQ(shelf.Stacker().Count(), 0);
    emit window.CartridgeCombo()->activated(1);
    EXPECT_EQ(window.StatusText(2), "Albums : 2");
    TstreamWriter again;
    shelf.Stacker().SaveToStream(again);
    EXPECT_EQ(std::string(again.Bytes()), bytes);
    EXPECT_TRUE(dialogs.asked.size() == 1 && dialogs.asked[0].kind == "save");

    // "[Load ...]" and a cartridge whose file has gone open the load dialog.
    std::remove(file.c_str());
    EXPECT_FALSE(window.ChooseCartridge(1));
    EXPECT_FALSE(window.ChooseCartridge(0));
    ASSERT_EQ(dialogs.asked.size(), 3u);
    EXPECT_EQ(dialogs.asked[1].kind, "open");
    EXPECT_EQ(dialogs.asked[2].kind, "open");
    EXPECT_EQ(shelf.Stacker().Count(), 2);
}

TEST_F(StackerWindow, ThePartyPlayLockStopsCartridgesAndListChanges)
{
    Show();
    Select(AlbumNode());
    window.AddSelected();
    dialogs.saveAnswers.push_back(dir.File("Made.ctg"));
    ASSERT_TRUE(window.SaveStacker());
    dialogs.asked.clear();
    dialogs.saveAnswers.push_back(dir.File("Locked.ctg"));

    host.locked = true;
    EXPECT_FALSE(window.SaveStacker());
    EXPECT_FALSE(window.LoadStacker());
    EXPECT_FALSE(window.AddStacker());
    EXPECT_FALSE(window.ChooseCartridge(1));
    EXPECT_FALSE(window.EmptyStacker());
    window.StackerList()->SetItemIndex(0);
    EXPECT_FALSE(window.DeleteSelected());
    Select(AlbumNode());
    EXPECT_FALSE(window.AddSelected());
    EXPECT_EQ(shelf.Stacker().Count(), 1);
    EXPECT_FALSE(platform::FileExists(dir.File("Locked.ctg")));
    EXPECT_TRUE(dialogs.asked.empty());

    // Unlinked, every command but Close and Genres does nothing. No action takes a shortcut another
    // window's action may hold (Ctrl+S is the main window's Stop): Qt would fire neither.
    window.SetJukebox(nullptr, nullptr);
    EXPECT_EQ(window.Cartridges(), nullptr);
    for (QAction* action : window.Actions()) {
        EXPECT_TRUE(action->shortcuts().isEmpty()) << platform::FromQString(action->objectName());
        if (action->objectName() != "actnCloseStacker" && action->objectName() != "actnViewGenres")
            action->trigger();
    }
    EXPECT_EQ(shelf.Stacker().Count(), 1);
    EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(StackerWindow, ARebuildWhileTheTreeShowsReachesNoFreedListAndReopeningKeepsTheTree)
{
    TfrmProgress progress;
    progress.ProcessMessages = [] {};
    host.progress = &progress;
    TcustomJukeboxListEvents events;
    events.OnGlobalListChanging = [this](TcustomJukeboxList*) { window.LibraryChanging(); };
    events.OnGlobalListChange = [this](TcustomJukeboxList*) { window.LibraryChanged(); };
    shelf.library.SetEvents(&events);
    Show();
    EXPECT_FALSE(progress.isVisible());
    const TtreeNode first = AlbumNode();
    window.Tree()->expand(window.Model().IndexOf(window.Model().Parent(first)));
    Select(first);
    window.Tree()->viewport()->grab();

    // Repaints while the old songs go must draw node texts only.
    std::string comments;
    progress.ProcessMessages = [this, &progress, &comments] {
        comments = progress.Caption();
        window.Tree()->viewport()->grab();
    };
    shelf.Fill({.Songs = 180, .Artists = 9, .Albums = 15}, 7);
    EXPECT_EQ(comments.rfind("Updating Tree : ", 0), 0u) << comments;
    window.Tree()->viewport()->grab();
    Select(AlbumNode());
    EXPECT_TRUE(window.AddSelected());
    EXPECT_EQ(shelf.Stacker().GetItem(0)->GetItem(0)->Filename().empty(), false);

    // Shown again without a change of the data files, the tree is kept.
    window.hide();
    QSignalSpy resets(&window.Model(), &QAbstractItemModel::modelReset);
    Show();
    EXPECT_EQ(resets.count(), 0);
    window.SetViewGenres(true);
    EXPECT_TRUE(window.Viewer().GetGenresNode());
    EXPECT_EQ(resets.count(), 1);
    shelf.library.SetEvents(nullptr);
}

TEST_F(StackerWindow, SettingsKeepTheirOrderAndDefaults)
{
    TempDir settings;
    TIniFile empty(settings.File("none.ini"));
    window.LoadSettings(empty, "Stacker");
    EXPECT_EQ(window.size(), QSize(620, 460));
    EXPECT_FALSE(window.GetViewGenres());

    TIniFile ini(settings.File("settings.ini"));
    ini.WriteInteger("Stacker", "Width", 700);
    ini.WriteInteger("Stacker", "Height", 500);
    ini.WriteInteger("Stacker", "Left", 12);
    ini.WriteInteger("Stacker", "Top", 34);
    ini.WriteInteger("Stacker", "RightPanelWidth", 321);
    ini.WriteBool("Stacker", "ViewGenres", true);
    window.LoadSettings(ini, "Stacker");
    EXPECT_TRUE(window.GetViewGenres());

    TIniFile saved(settings.File("saved.ini"));
    window.SaveSettings(saved, "Stacker");
    TStrings lines;
    saved.ReadSectionValues("Stacker", lines);
    EXPECT_EQ(lines.CommaText(), "Width=700,Height=500,Left=12,Top=34,RightPanelWidth=321,ViewGenres=1");
}
