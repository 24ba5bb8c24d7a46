// The library browser of the main window, driven through its commands, keys and drops with a generated
// library and the recording player.
#include "app/windows/frmjukeboxapp.h"

#include "app/skins/skincomponents.h"
#include "app/skins/skinfolder.h"
#include "platform/qtstring.h"

#include "controls/htmlitemdelegate.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/songs/audiotag.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "support/dragevents.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/generatedlibrary.h"
#include "support/localtestwindow.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

class TtestBrowserWindow : public TlocalTestWindow<TfrmJukeboxApp>
{
public:
    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override
    {
        auto library = std::make_unique<TlocalJukeboxList>();
        library->SetAutoSaveQueue(true);
        library->SetLoadGenres(true);
        return library;
    }
    bool PartyPlayOption(TpartyPlayOption option) const override { return locked.count(option) > 0; }

    std::set<TpartyPlayOption> locked;
};

std::vector<std::string> Files(const std::vector<TaudioTag*>& songs)
{
    std::vector<std::string> files;
    for (const TaudioTag* song : songs)
        files.push_back(song->Filename());
    return files;
}

class FrmJukeboxAppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window_ = CreateMainWindow<TtestBrowserWindow>();
        Fill();
        Window().LoadPreferences();
    }

    TtestBrowserWindow& Window() { return static_cast<TtestBrowserWindow&>(*window_); }
    TtreeSinkModel& Model() { return Window().TreeModel(); }
    TaudioTagList& Queue() { return Window().GetJukebox().Queue(); }

    void Fill(unsigned seed = 1)
    {
        const TgeneratedLibrary generated({.Songs = 300, .Artists = 20, .Albums = 30}, seed);
        TaudioTagList& global = Window().GetJukeboxList().GlobalList();
        global.BeginUpdate();
        global.Clear();
        for (const TaudioTag* song : generated.GlobalList().Items())
            global.AddCopy(song);
        global.EndUpdate();
        if (Window().GetJukeboxList().Playlists().Count() == 0) {
            auto party = std::make_unique<TaudioTagList>();
            party->SetTitle("Party Mix");
            party->AddCopy(global.GetItem(0));
            Window().GetJukeboxList().Playlists().Add(party.release());
        }
    }

    // The first node of a kind, depth first; `compilation` picks albums of several artists or of one.
    TtreeNode Find(TtreeNodeKind kind, TtreeNode under = {}, int compilation = -1)
    {
        for (int i = 0; i < Model().ChildCount(under); ++i) {
            const TtreeNode node = Model().Child(under, i);
            const TaudioTagList* list = Model().Data(node);
            if (Model().Kind(node) == kind && list &&
                (compilation < 0 || (list->ArtistCount() > 1) == (compilation == 1)))
                return node;
            if (const TtreeNode found = Find(kind, node, compilation))
                return found;
        }
        return {};
    }

    std::vector<std::string> Lines(const ThtmlListBox& box)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < box.Count(); ++i)
            lines.push_back(static_cast<const TaudioTag*>(box.Items().Objects(i))->Filename());
        return lines;
    }

    void Key(QWidget* target, QEvent::Type type, int key, const QString& text = {})
    {
        QKeyEvent event(type, key, Qt::NoModifier, text);
        QApplication::sendEvent(target, &event);
    }

    std::unique_ptr<TdragPayload> RowsDrag(ThtmlListBox* box)
    {
        return Payload(box->Items().mimeData(box->selectionModel()->selectedIndexes()), box);
    }
    std::unique_ptr<TdragPayload> TreeDrag(TtreeNode node)
    {
        return Payload(Model().mimeData({Model().IndexOf(node)}), Window().Tree());
    }

    void QueueAlbum()
    {
        Window().SelectNode(Find(tnkAlbum));
        Window().actnQueueQueueSelectedAlbum->trigger();
        ASSERT_GE(Queue().Count(), 4);
    }

    TempDir home_;
    ScopedEnv homeEnv_{"ORVANE_HOME", home_.Path() + "/"};
    TfakePrompts prompts_;
    TfakeDialogs dialogs_;
    TmainWindowPtr window_;
};

} // namespace

TEST_F(FrmJukeboxAppTest, TheTreeHasItsRootsAndALetterKeyJumpsUnlessShiftIsHeld)
{
    const TcustomJukeboxListViewer& viewer = Window().Viewer();
    EXPECT_EQ(Window().GetDisplayMode(), 127) << "every view is on by default";
    // With titles, the letter roots hold the title groups; without, they hold nothing.
    Window().actnViewTitles->trigger();
    for (char ch : std::string("AZ09"))
        EXPECT_FALSE(viewer.GetAlphaNode(ch).IsNull()) << ch;
    const TtreeNode playlists = viewer.GetPlaylistsNode();
    ASSERT_FALSE(playlists.IsNull());
    EXPECT_NE(Model().Caption(playlists).find(" (1 Playlist)"), std::string::npos);

    QWidget* tree = Window().Tree();
    Key(tree, QEvent::KeyPress, Qt::Key_B, "b");
    EXPECT_EQ(Window().SelectedNode(), viewer.GetAlphaNode('B'));
    EXPECT_EQ(Window().TrackList()->Count(), 0) << "a letter root holds no list";
    Key(tree, QEvent::KeyPress, Qt::Key_Shift);
    Key(tree, QEvent::KeyPress, Qt::Key_C, "C");
    EXPECT_EQ(Window().SelectedNode(), viewer.GetAlphaNode('B')) << "Shift held";
    Key(tree, QEvent::KeyRelease, Qt::Key_Shift);
    Key(tree, QEvent::KeyPress, Qt::Key_C, "c");
    EXPECT_EQ(Window().SelectedNode(), viewer.GetAlphaNode('C'));

    // Ctrl held for a shortcut that opens a window, released there: letters jump again on return.
    Key(tree, QEvent::KeyPress, Qt::Key_Control);
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(tree, &focusOut);
    Key(tree, QEvent::KeyPress, Qt::Key_D, "d");
    EXPECT_EQ(Window().SelectedNode(), viewer.GetAlphaNode('D'));
}

TEST_F(FrmJukeboxAppTest, AnAlbumListsItsSongsInTrackOrderAndTheQueueTakesThemSo)
{
    const TtreeNode album = Find(tnkAlbum, {}, 0);
    ASSERT_FALSE(album.IsNull());
    Window().SelectNode(album);
    EXPECT_TRUE(Window().actnQueueQueueSelectedAlbum->isEnabled());
    const ThtmlListBox& tracks = *Window().TrackList();
    ASSERT_GT(tracks.Count(), 1);
    for (int i = 1; i < tracks.Count(); ++i)
        EXPECT_LE(static_cast<const TaudioTag*>(tracks.Items().Objects(i - 1))->TrackNo(),
                  static_cast<const TaudioTag*>(tracks.Items().Objects(i))->TrackNo());
    const std::vector<std::string> inTrackOrder = Lines(tracks);

    Window().actnQueueQueueSelectedAlbum->trigger();
    EXPECT_EQ(Files(Queue().Items()), inTrackOrder);
    EXPECT_EQ(Window().QueueList()->Count(), tracks.Count());
    EXPECT_TRUE(std::filesystem::exists(platform::DataFolder() + "/queue.dat"));

    // Without track numbers a single-artist album is listed by title.
    Window().actnSettingsShowTrackNumbers->trigger();
    for (int i = 1; i < tracks.Count(); ++i)
        EXPECT_LE(static_cast<const TaudioTag*>(tracks.Items().Objects(i - 1))->Title(),
                  static_cast<const TaudioTag*>(tracks.Items().Objects(i))->Title());

    // Add Selected and Add All take track-list lines, in list order, and deselect them.
    Window().GetLocalJukeboxList().QueueClear();
    Window().TrackList()->SetSelected(2, true);
    Window().TrackList()->SetSelected(0, true);
    Window().actnQueueAddSelected->trigger();
    EXPECT_EQ(Files(Queue().Items()), (std::vector<std::string>{Lines(tracks)[0], Lines(tracks)[2]}));
    EXPECT_EQ(Window().TrackList()->SelCount(), 0);
    Window().actnQueueAddAll->trigger();
    EXPECT_EQ(Queue().Count(), 2 + tracks.Count());
}

TEST_F(FrmJukeboxAppTest, QueueEditsRemoveAndMoveExactlyTheChosenLines)
{
    QueueAlbum();
    const std::vector<std::string> before = Files(Queue().Items());
    ThtmlListBox* queue = Window().QueueList();
    queue->SetSelected(1, true);
    queue->SetSelected(3, true);
    queue->SetItemIndex(3);
    Key(queue, QEvent::KeyRelease, Qt::Key_Delete);
    std::vector<std::string> expected = before;
    expected.erase(expected.begin() + 3);
    expected.erase(expected.begin() + 1);
    EXPECT_EQ(Files(Queue().Items()), expected) << "the two selected lines, no others";
    EXPECT_EQ(queue->ItemIndex(), 3);

    // Move up and down follow the moved line.
    Window().actnQueueMoveUp->trigger();
    EXPECT_EQ(Files(Queue().Items())[2], expected[3]);
    EXPECT_EQ(queue->ItemIndex(), 2);
    Window().actnQueueMoveDown->trigger();
    EXPECT_EQ(Files(Queue().Items()), expected);

    // A queue line dropped below the last one goes to the end.
    queue->clearSelection();
    queue->SetSelected(0, true);
    auto drag = RowsDrag(queue);
    ASSERT_TRUE(drag);
    ASSERT_TRUE(Window().QueueAccepts(*drag));
    window_->resize(800, 900);
    window_->show();
    const int below = queue->ItemRect(queue->Count() - 1).bottom() + 4;
    ASSERT_LT(below, queue->viewport()->height()) << "room below the last line";
    EXPECT_TRUE(DropAt(*queue, *drag, {5, below}));
    EXPECT_EQ(Files(Queue().Items()).back(), expected.front());
    EXPECT_EQ(queue->ItemIndex(), Queue().Count() - 1);
}

TEST_F(FrmJukeboxAppTest, DropsQueueAlbumsAndTrackLinesAndRefuseOtherNodesAndStaleDrags)
{
    window_->resize(800, 600);
    window_->show();
    const TtreeNode album = Find(tnkAlbum);
    const TtreeNode artist = Find(tnkArtist);
    ASSERT_FALSE(artist.IsNull());
    ThtmlListBox* queue = Window().QueueList();

    auto fromArtist = TreeDrag(artist);
    EXPECT_FALSE(Window().QueueAccepts(*fromArtist));
    EXPECT_FALSE(DropAt(*queue, *fromArtist, {5, 5}));
    EXPECT_EQ(Queue().Count(), 0);

    auto fromAlbum = TreeDrag(album);
    EXPECT_TRUE(DropAt(*queue, *fromAlbum, {5, 5}));
    EXPECT_EQ(Queue().Count(), Model().Data(album)->Count());

    Window().SelectNode(album);
    Window().TrackList()->SetSelected(1, true);
    auto fromTracks = RowsDrag(Window().TrackList());
    const int queued = Queue().Count();
    EXPECT_TRUE(DropAt(*queue, *fromTracks, {5, 5}));
    EXPECT_EQ(Queue().Count(), queued + 1);

    // A rebuild of the library voids every drag begun before it.
    auto stale = TreeDrag(Find(tnkAlbum));
    Window().Tree()->expandAll();
    Fill(2);
    EXPECT_FALSE(stale->IsCurrent());
    EXPECT_FALSE(DropAt(*queue, *stale, {5, 5}));
    Window().QueueDrop(*stale, 5, 5);
    EXPECT_EQ(Queue().Count(), queued + 1);
    EXPECT_GT(Model().NodeCount(), 0) << "the tree is filled again";
    window_->grab();
}

TEST_F(FrmJukeboxAppTest, ARescanWhileASongPlaysAndTheTreeIsExpandedRebuildsTheTree)
{
    window_->show();
    QueueAlbum();
    Window().player->PreloadNext();
    ASSERT_NE(Window().player->StartPrepared(), nullptr);
    Window().SelectNode(Find(tnkAlbum));
    Window().Tree()->expandAll();
    ASSERT_GT(Window().TrackList()->Count(), 0);
    Fill(3);
    EXPECT_EQ(Window().TrackList()->Count(), 0);
    EXPECT_EQ(Window().SelectedNode(), TtreeNode{});
    EXPECT_GT(Model().NodeCount(), 0) << "the tree is filled again";
    EXPECT_FALSE(Window().Viewer().GetAlphaNode('A').IsNull());
    window_->grab();
    Window().SelectNode(Find(tnkAlbum));
    EXPECT_GT(Window().TrackList()->Count(), 0);
}

TEST_F(FrmJukeboxAppTest, ViewTogglesRebuildTheTreeAndSurviveARestart)
{
    const int nodes = Model().NodeCount();
    Window().actnViewAlbums->trigger();
    EXPECT_FALSE(Has(Window().GetDisplayMode(), dmAlbums));
    EXPECT_LT(Model().NodeCount(), nodes) << "rebuilt without the artists' albums";
    ASSERT_FALSE(Window().Viewer().GetGenresNode().IsNull());
    Window().actnViewGenres->trigger();
    EXPECT_TRUE(Window().Viewer().GetGenresNode().IsNull());
    Window().actnViewStacker->trigger();
    EXPECT_FALSE(Window().GetStackerVisible());
    Window().SavePreferences();

    window_.reset();
    window_ = CreateMainWindow<TtestBrowserWindow>();
    Window().LoadPreferences();
    const TtreeViewDisplayModes mode = Window().GetDisplayMode();
    EXPECT_EQ(mode, Without(Without(127, dmAlbums), dmGenres));
    EXPECT_FALSE(Window().actnViewAlbums->isChecked());
    EXPECT_FALSE(Window().actnViewGenres->isChecked());
    EXPECT_TRUE(Window().actnViewArtists->isChecked());
    EXPECT_FALSE(Window().GetStackerVisible());

    // The quick toggle: artists with albums go to titles, anything else to artists with albums.
    Window().actnViewArtistsAllQuickToggle->trigger();
    const TtreeViewDisplayModes rest = Without(Without(Without(mode, dmArtists), dmTitles), dmAlbums);
    EXPECT_EQ(Window().GetDisplayMode(), rest | dmArtists | dmAlbums);
    Window().actnViewArtistsAllQuickToggle->trigger();
    EXPECT_EQ(Window().GetDisplayMode(), rest | dmTitles);
}

TEST_F(FrmJukeboxAppTest, PartyPlayHidesTheLockedStackerAndDisablesLockedQueueEdits)
{
    QueueAlbum();
    Window().locked = {TpartyPlayOption::StackerControl, TpartyPlayOption::QueueControls};
    Window().SetPartyPlayEnabled(true);
    EXPECT_FALSE(Window().GetStackerVisible());
    EXPECT_FALSE(Window().GetToolbarVisible());
    EXPECT_FALSE(Window().actnViewStacker->isEnabled());
    EXPECT_FALSE(Window().actnQueueDelete->isEnabled());
    EXPECT_FALSE(Window().actnQueueMoveUp->isEnabled());

    // Every route to a queue edit is gated: the Delete key and a drop within the queue change nothing.
    const std::vector<std::string> before = Files(Queue().Items());
    ThtmlListBox* queue = Window().QueueList();
    queue->SetSelected(0, true);
    Window().QueueDeleteSelected();
    auto drag = RowsDrag(queue);
    Window().QueueDrop(*drag, 5, queue->ItemRect(queue->Count() - 1).bottom() + 50);
    EXPECT_EQ(Files(Queue().Items()), before);

    Window().SavePreferences();
    EXPECT_TRUE(TIniFile(Window().GetSettingsFile()).ReadBool("Stacker", "Visible", false))
        << "the user's choice is kept, not party play's";

    Window().SetPartyPlayEnabled(false);
    EXPECT_TRUE(Window().GetStackerVisible());
    EXPECT_TRUE(Window().GetToolbarVisible());
    EXPECT_TRUE(Window().actnQueueDelete->isEnabled());

    // With the stacker free, party play shows it even when it was hidden, and its end hides it again.
    Window().SetStackerVisible(false);
    Window().locked.clear();
    Window().SetPartyPlayEnabled(true);
    EXPECT_TRUE(Window().GetStackerVisible());
    Window().SetPartyPlayEnabled(false);
    EXPECT_FALSE(Window().GetStackerVisible());
}

// The library tree opens the node chosen and highlights the caption only, 4 pixels after the branch column.
TEST_F(FrmJukeboxAppTest, TheTreeOpensTheChosenNodeAndHighlightsItsCaption)
{
    const TtreeNode letter = Window().Viewer().GetAlphaNode('A');
    ASSERT_GT(Model().ChildCount(letter), 0);
    auto* tree = static_cast<TnoScrollTreeView*>(Window().Tree());
    tree->collapseAll();
    Window().SelectNode(letter);
    EXPECT_TRUE(tree->isExpanded(Model().IndexOf(letter)));
    const TtreeNode child = Model().Child(letter, 0);
    Window().SelectNode(child);
    EXPECT_TRUE(Model().ChildCount(child) == 0 || tree->isExpanded(Model().IndexOf(child)));
    EXPECT_TRUE(tree->Delegate().HighlightCaptionOnly());
    EXPECT_EQ(tree->Delegate().ImageMargin(), 4);
}

// "Disable Playlist Editor" alone locks the active playlist: Activate Playlist in the tree and Deactivate.
TEST_F(FrmJukeboxAppTest, OnePartyPlayOptionLocksTheActivePlaylist)
{
    const TtreeNode playlists = Window().Viewer().GetPlaylistsNode();
    ASSERT_FALSE(playlists.IsNull());
    const TtreeNode party = Model().Child(playlists, 0);
    Window().SelectNode(party);
    QAction* activate = Window().actnPlaylistActivateSelected;
    QAction* deactivate = Window().Actions().actnPlaylistEnabled;
    const TaudioTagList* list = Model().Data(party);

    // Other locks leave it free.
    Window().locked = {TpartyPlayOption::StackerControl, TpartyPlayOption::QueueControls};
    Window().SetPartyPlayEnabled(true);
    EXPECT_TRUE(activate->isVisible());
    activate->trigger();
    EXPECT_EQ(Window().GetJukebox().ActivePreloadedList(), list);
    EXPECT_TRUE(deactivate->isEnabled());
    Window().SetPartyPlayEnabled(false);

    Window().locked = {TpartyPlayOption::PlaylistEditor};
    Window().SetPartyPlayEnabled(true);
    EXPECT_FALSE(activate->isVisible());
    EXPECT_FALSE(activate->isEnabled());
    EXPECT_FALSE(deactivate->isEnabled());
    deactivate->trigger();
    EXPECT_EQ(Window().GetJukebox().ActivePreloadedList(), list);
    Window().SetPartyPlayEnabled(false);
    EXPECT_TRUE(activate->isVisible());
}

TEST_F(FrmJukeboxAppTest, ShortcutsAreUniqueAndTrackDetailsReadAsSevenLines)
{
    std::set<QString> seen;
    for (QAction* action : window_->findChildren<QAction*>()) {
        const QString keys = action->shortcut().toString();
        if (!keys.isEmpty()) {
            EXPECT_TRUE(seen.insert(keys).second) << platform::FromQString(keys) << " twice";
        }
    }
    EXPECT_EQ(Window().actnViewStacker->shortcut().toString(), "Ctrl+Alt+S");

    TaudioTag song;
    song.SetFilename("/m/a.wav");
    song.SetArtist("Ann");
    song.SetTitle("Tune");
    song.SetAlbum("Disc");
    song.SetDuration(125);
    song.SetBitRate(128);
    song.SetSampleRate(44100);
    EXPECT_EQ(TfrmJukeboxApp::TrackDetails(song),
              "File : /m/a.wav\rArtist : Ann\rTitle : Tune\rAlbum : Disc\r"
              "Length : 2:05\rBit Rate : 128kbps\rSample Rate : 44100Hz");
}

TEST_F(FrmJukeboxAppTest, TheDefaultSkinReachesEveryFontAndColourOfTheBrowsersSets)
{
    TskinComponents components;
    TtagFonts* sets[] = {&Window().JukeboxListFonts(), &Window().TrackListFonts(), &Window().QueueListFonts(),
                         &Window().SongTitleFonts()};
    for (TtagFonts* fonts : sets) {
        fonts->SetColor(clRed);
        components.AddFontSet(fonts);
    }
    TskinFolder folder(components);
    const std::string file = TskinFolder::DefaultSkinFile();
    ASSERT_TRUE(std::filesystem::exists(file)) << file;
    folder.LoadSkinFonts(TIniFile(file));
    const std::pair<TtagFonts*, std::vector<TtagFonts::FontKind>> named[] = {
        {sets[0], {TtagFonts::fkArtist, TtagFonts::fkAlbum, TtagFonts::fkDuration, TtagFonts::fkIndex}},
        {sets[1],
         {TtagFonts::fkArtist, TtagFonts::fkTitle, TtagFonts::fkCharacter, TtagFonts::fkDuration,
          TtagFonts::fkIndex}},
        {sets[2],
         {TtagFonts::fkArtist, TtagFonts::fkTitle, TtagFonts::fkCharacter, TtagFonts::fkDuration,
          TtagFonts::fkIndex}},
    };
    for (const auto& [fonts, kinds] : named) {
        EXPECT_NE(fonts->Color(), clRed) << fonts->NiceName() << ": the colour's key";
        for (TtagFonts::FontKind kind : kinds)
            EXPECT_EQ(fonts->Font(kind).Name, "Arial")
                << fonts->NiceName() << " " << fonts->FontNiceName(kind);
    }
    EXPECT_NE(sets[3]->Color(), clRed);
    EXPECT_EQ(sets[3]->TitleFont().Name, "Arial");
}

TEST_F(FrmJukeboxAppTest, WhileALongOperationRunsNoRouteQueuesSongs)
{
    window_->show();
    Window().SelectNode(Find(tnkAlbum));
    ThtmlListBox* tracks = Window().TrackList();
    const QModelIndex first = tracks->model()->index(0, 0);
    {
        const TbusyGuard::TScope busy(Window().Busy());
        tracks->SetSelected(0, true);
        emit tracks->doubleClicked(first);
        Window().actnQueueAddSelected->trigger();
        Window().actnQueueAddAll->trigger();
        auto drag = RowsDrag(tracks);
        Window().QueueDrop(*drag, 5, 5);
        EXPECT_EQ(Queue().Count(), 0);
    }
    tracks->SetSelected(0, true);
    emit tracks->doubleClicked(first);
    EXPECT_EQ(Queue().Count(), 1) << "a double click adds the selected song";
}
