// The playlist editor over a generated library held by a local library, wired to the library's events as
// the main window wires it, with the dialogs and boxes answered by the test.
#include "app/dialogs/frmmusicsearch.h"
#include "app/dialogs/frmtaglistrules.h"
#include "app/qt/services/qtpromptservice.h"
#include "app/windows/frmplaylisteditor.h"
#include "app/windows/playlisteditorhost.h"
#include "controls/dragpayload.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/customjukeboxevents.h"
#include "core/jukebox/customjukeboxlistevents.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/player/custommediaplayerevents.h"
#include "core/plugins/taggerloader.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/qtstring.h"
#include "support/dragevents.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/generatedlibrary.h"
#include "support/guievents.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"
#include "support/wavbytes.h"
#include "testpluginfolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMessageBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

namespace {

class TtestHost : public TplaylistEditorHost
{
public:
    explicit TtestHost(TcustomJukeboxList& library) : library_(library) {}
    TcustomJukeboxList* LibraryWithoutCDs() override { return &library_; }
    std::string PlaylistsFolder() const override { return folder; }
    void SetPlaylistsFolder(const std::string& value) override { folder = value; }
    void LoadCartridge() override { calls.push_back("load"); }
    void AddCartridge() override { calls.push_back("add"); }
    void SaveCartridge() override { calls.push_back("save"); }
    TfrmProgress* ProgressWindow() const override { return nullptr; }
    bool StackerLocked() const override { return stackerLocked; }

    std::string folder = "/playlists";
    bool stackerLocked = false;
    std::vector<std::string> calls;

private:
    TcustomJukeboxList& library_;
};

std::vector<std::string> Lines(const ThtmlListBox& box)
{
    std::vector<std::string> lines;
    for (int i = 0; i < box.Count(); ++i)
        lines.push_back(box.Items()[i]);
    return lines;
}

std::vector<std::string> Files(const TaudioTagList& list)
{
    std::vector<std::string> files;
    for (const TaudioTag* song : list.Items())
        files.push_back(song->Filename());
    return files;
}

// The editor shown, linked to a host over the library and wired to its events as the main window wires it.
class EditorTest : public ::testing::Test
{
protected:
    EditorTest()
    {
        library.SetDataFolder(dir.File("Data"));
        events.OnGlobalListChanging = [this](TcustomJukeboxList*) { editor.LibraryChanging(); };
        events.OnGlobalListChange = [this](TcustomJukeboxList*) { editor.RebuildTree(); };
        events.OnPlaylistsChange = [this](TcustomJukeboxList*) { editor.PlaylistsChanged(); };
        events.OnPlaylistListChange = [this](TcustomJukeboxList*, TaudioTagList* list) {
            editor.PlaylistListChanged(list);
        };
        jukeboxEvents.OnStackerChange = [this](TcustomJukebox*) { editor.StackerChanged(); };
        jukeboxEvents.OnActivePreloadedListChanged = [this](TcustomJukebox*, TaudioTagList* list) {
            editor.SelectActivePlaylist(list);
        };
        playerEvents.OnGetNextTagger = [this](TcustomMediaPlayer*, const TaudioTag*& tag) {
            tag = library.Jukebox()->GetNextTag();
        };
        // As the main window does: a song that starts is taken off its source.
        playerEvents.OnPlaybackStart = [this](TcustomMediaPlayer*, const TaudioTag* tag) {
            library.Jukebox()->SongStarted(tag);
        };
        events.SetJukeboxEvents(&jukeboxEvents);
        events.SetPlayerEvents(&playerEvents);
        library.SetEvents(&events);
        auto owned = std::make_unique<TtestMediaPlayer>();
        player = owned.get();
        library.Jukebox()->SetPlayer(std::move(owned));

        editor.SetJukebox(&host);
        editor.resize(800, 600);
        editor.show();
    }
    ~EditorTest() override { library.SetEvents(nullptr); }

    TtreeNode FindNode(TtreeNodeKind kind, TtreeNode parent = {}) const
    {
        const TtreeSinkModel& model = editor.Model();
        for (int i = 0; i < model.ChildCount(parent); ++i) {
            const TtreeNode child = model.Child(parent, i);
            if (model.Kind(child) == kind && model.Data(child))
                return child;
            if (const TtreeNode found = FindNode(kind, child))
                return found;
        }
        return {};
    }
    std::unique_ptr<TdragPayload> TreeDrag(TtreeNode node) const
    {
        return Payload(editor.Model().mimeData({editor.Model().IndexOf(node)}), editor.Tree());
    }
    std::unique_ptr<TdragPayload> RowsDrag(ThtmlListBox* box) const
    {
        return Payload(box->Items().mimeData(box->selectionModel()->selectedIndexes()), box);
    }
    // A new saved playlist named through the prompt, made the edited list.
    TaudioTagList* NewList(const std::string& name)
    {
        dialogs.inputAnswers.push_back(name);
        editor.NewPlaylist();
        return editor.EditedList();
    }
    TaudioTagList* NewListWithAlbum(const std::string& name)
    {
        TaudioTagList* list = NewList(name);
        const auto payload = TreeDrag(FindNode(tnkAlbum));
        EXPECT_TRUE(DropAt(*editor.PlaylistBox(), *payload, {5, 5}));
        return list;
    }
    std::string Panel(int i) const { return platform::FromQString(editor.Panel(i)->text()); }

    TempDir dir;
    TfakeDialogs dialogs;
    TfakePrompts prompts;
    TcustomMediaPlayerEvents playerEvents;
    TcustomJukeboxEvents jukeboxEvents;
    TcustomJukeboxListEvents events;
    TlocalJukeboxList library;
    TtestMediaPlayer* player = nullptr;
    TtestHost host{library};
    TfrmPlaylistEditor editor{library};
};

// Over generated songs; the tree follows the library's rebuild.
class PlaylistEditor : public EditorTest
{
protected:
    PlaylistEditor()
    {
        TlibraryShape shape;
        shape.Songs = 120;
        shape.Artists = 8;
        shape.Albums = 12;
        TgeneratedLibrary generated(shape);
        library.GlobalList().BeginUpdate();
        for (const TaudioTag* song : generated.GlobalList().Items())
            library.GlobalList().AddCopy(song);
        library.GlobalList().EndUpdate();
    }
};

// Over WAV files read through the program's plug-in, scanned by the media search window.
class PlaylistEditorScan : public EditorTest
{
protected:
    void SetUp() override
    {
        plugins_.AddFile(platform::ShippedFolder() + "TagPlugins/TAG_Pelmora.so", "TAG_Pelmora.so");
        TaggerLoader().SetSupportLevel(2);
        TaggerLoader().SetPluginFolder(plugins_.Path());
        ASSERT_EQ(TaggerLoader().GetCount(), 1);
        for (const char* name : {"Band A/First/One.wav", "Band A/First/Two.wav", "Band B/Second/Three.wav"})
            music.Write(name, wavbytes::Song(200));
    }
    void TearDown() override { ReleaseTaggerLoader(); }

    TempDir music;

private:
    TestPluginFolder plugins_;
};

} // namespace

TEST_F(PlaylistEditor, ANewListTakesADraggedAlbumIsSavedAsM3UAndPlaysAsTheActivePlaylist)
{
    EXPECT_EQ(Lines(*editor.PlaylistBox()), (std::vector<std::string>{"No Playlist Selected ..."}));
    EXPECT_EQ(Panel(0), "List : NONE");
    TaudioTagList* list = NewList("Road Mix");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Title(), "Road Mix");
    EXPECT_TRUE(library.Playlists().Contains(list));
    EXPECT_EQ(dialogs.asked.back().caption, "Rename Playlist");
    EXPECT_EQ(Lines(*editor.PlaylistBox()), (std::vector<std::string>{"The Playlist is Empty ..."}));
    EXPECT_EQ(Panel(0), "List : Road Mix (playlist collection)");

    const TtreeNode album = FindNode(tnkAlbum);
    ASSERT_FALSE(album.IsNull());
    const TaudioTagList* albumList = editor.Model().Data(album);
    const auto payload = TreeDrag(album);
    ASSERT_NE(payload, nullptr);
    ASSERT_TRUE(DropAt(*editor.PlaylistBox(), *payload, {5, 5}));
    ASSERT_EQ(list->Count(), albumList->Count());
    EXPECT_EQ(Files(*list), Files(*albumList));
    EXPECT_NE(list->GetItem(0), albumList->GetItem(0)); // clones
    EXPECT_EQ(editor.PlaylistBox()->Count(), list->Count());
    EXPECT_EQ(Panel(1), "Count : " + std::to_string(list->Count()));

    const std::string m3u = dir.File("road.m3u");
    dialogs.saveAnswers.push_back(m3u);
    editor.SaveToM3U();
    EXPECT_EQ(dialogs.asked.back().detail, "M3U Playlist (*.m3u)|*.m3u");
    std::string expected;
    for (const std::string& file : Files(*list))
        expected += file + "\n";
    EXPECT_EQ(TempDir::Read(m3u), expected);
    EXPECT_EQ(host.folder, dir.Path());

    QComboBox* combo = editor.ActiveCombo();
    ASSERT_EQ(combo->itemText(0), "[none]");
    combo->setCurrentIndex(combo->findText("Road Mix"));
    EXPECT_EQ(library.Jukebox()->ActivePreloadedList(), list);

    library.Jukebox()->SetRandomPlay(false);
    player->PreloadNext();
    std::vector<std::string> played;
    for (int i = 0; i < list->Count(); ++i)
        if (const TaudioTag* song = player->StartPrepared())
            played.push_back(song->Filename());
    EXPECT_EQ(played, Files(*list));
}

TEST_F(PlaylistEditor, TrackCommandsEditTheListAndKeepTheSelection)
{
    TaudioTagList* list = NewListWithAlbum("Tracks");
    ASSERT_GE(list->Count(), 4);
    ThtmlListBox* box = editor.PlaylistBox();
    const std::vector<std::string> before = Files(*list);

    box->SetItemIndex(2);
    box->SetSelected(2, true);
    editor.MoveUp();
    EXPECT_EQ(list->GetItem(1)->Filename(), before[2]);
    EXPECT_EQ(box->ItemIndex(), 1);
    EXPECT_TRUE(box->Selected(1));
    editor.MoveDown();
    EXPECT_EQ(Files(*list), before);

    // Several lines go at once; the selection stays at the old index.
    box->clearSelection();
    for (int row : {0, 2, 3})
        box->SetSelected(row, true);
    box->SetItemIndex(2);
    editor.DeleteTracks();
    std::vector<std::string> left = before;
    left.erase(left.begin() + 2, left.begin() + 4);
    left.erase(left.begin());
    EXPECT_EQ(Files(*list), left);
    EXPECT_EQ(box->ItemIndex(), std::min(2, list->Count() - 1));

    // Deleting the last line leaves the new last line selected.
    box->clearSelection();
    box->SetItemIndex(list->Count() - 1);
    box->SetSelected(list->Count() - 1, true);
    editor.DeleteTracks();
    EXPECT_EQ(box->ItemIndex(), list->Count() - 1);

    editor.SortBy(tstDuration);
    EXPECT_EQ(editor.SortButton()->defaultAction(), editor.Action("actnSortByDuration"));
    for (int i = 1; i < list->Count(); ++i)
        EXPECT_LE(list->GetItem(i - 1)->Duration(), list->GetItem(i)->Duration());

    // Songs picked from the node's lines come as clones; the lines are deselected.
    ThtmlListBox* songs = editor.SongsBox();
    editor.Tree()->setCurrentIndex(editor.Model().IndexOf(FindNode(tnkArtist)));
    ASSERT_GT(songs->Count(), 1);
    const int count = list->Count();
    songs->SetSelected(1, true);
    editor.AddSelectedTracks();
    EXPECT_EQ(list->Count(), count + 1);
    EXPECT_EQ(list->GetItem(count)->Filename(),
              static_cast<TaudioTag*>(songs->Items().Objects(1))->Filename());
    EXPECT_FALSE(songs->Selected(1));
    editor.AddAllTracks();
    EXPECT_EQ(list->Count(), count + 1 + songs->Count());

    // "Clear Playlist" empties the internal playlist only.
    library.Jukebox()->Playlist().AddCopy(list->GetItem(0));
    editor.ClearInternalPlaylist();
    EXPECT_EQ(library.Jukebox()->Playlist().Count(), 0);
    EXPECT_GT(list->Count(), 0);

    editor.ClearTracks();
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(Lines(*box), (std::vector<std::string>{"The Playlist is Empty ..."}));
    // Saving an empty list asks nothing.
    const std::size_t asked = dialogs.asked.size();
    editor.SaveToM3U();
    EXPECT_EQ(dialogs.asked.size(), asked);
}

TEST_F(PlaylistEditor, NamesAreAskedAndCancelChangesNothing)
{
    // Cancel in the new playlist's name prompt adds nothing.
    dialogs.inputAnswers.push_back(std::nullopt);
    editor.NewPlaylist();
    EXPECT_EQ(library.Playlists().Count(), 0);
    EXPECT_EQ(editor.EditedList(), nullptr);

    TaudioTagList* list = NewList("First");
    dialogs.inputAnswers.push_back("");
    editor.RenameList();
    ASSERT_EQ(prompts.boxes.size(), 1u);
    EXPECT_EQ(prompts.boxes[0].text, "The playlist name cannot be blank.");
    EXPECT_EQ(prompts.boxes[0].caption, "Bad Playlist Name");
    EXPECT_EQ(list->Title(), "First");
    dialogs.inputAnswers.push_back("Second");
    editor.RenameList();
    EXPECT_EQ(list->Title(), "Second");
    EXPECT_EQ(editor.PlaylistsBox()->Items()[0], "Second");
    EXPECT_EQ(editor.EditedList(), list);

    // A new list from an M3U file proposes the file's name.
    const std::string m3u = dir.Write("x/Party Mix.m3u", "/nowhere/a.wav\n");
    dialogs.openAnswers.push_back({m3u});
    dialogs.inputAnswers.push_back(std::nullopt);
    editor.NewFromM3U();
    EXPECT_EQ(library.Playlists().Count(), 1);
    dialogs.openAnswers.push_back({m3u});
    dialogs.inputAnswers.push_back("");
    editor.NewFromM3U();
    ASSERT_NE(editor.EditedList(), nullptr);
    EXPECT_EQ(editor.EditedList()->Title(), "Party Mix");
    EXPECT_EQ(host.folder, dir.File("x"));

    // Delete asks first; Cancel keeps the list.
    TaudioTagList* party = editor.EditedList();
    prompts.answers.push_back(TmessageResult::Cancel);
    editor.DeleteList();
    EXPECT_TRUE(library.Playlists().Contains(party));
    EXPECT_EQ(prompts.boxes.back().text, "Are you sure you want to delete Party Mix?");
    EXPECT_EQ(prompts.boxes.back().caption, "Confirm Playlist Delete");
    prompts.answers.push_back(TmessageResult::Ok);
    editor.DeleteList();
    EXPECT_FALSE(library.Playlists().Contains(party));
    EXPECT_EQ(editor.EditedList(), nullptr);
    EXPECT_EQ(editor.PlaylistsBox()->Count(), 1);

    // The program's own box: OK deletes.
    editor.PlaylistsBox()->SetItemIndex(0);
    editor.PlaylistsBox()->SetSelected(0, true);
    editor.PlaylistsClicked();
    ASSERT_EQ(editor.EditedList(), list);
    InstallQtPromptService();
    WhenModal([](QWidget* shown) {
        auto* box = qobject_cast<QMessageBox*>(shown);
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    editor.DeleteList();
    TpromptService::Install(&prompts);
    EXPECT_EQ(library.Playlists().Count(), 0);
}

TEST_F(PlaylistEditor, ListsTravelBetweenTheCollectionTheStackerAndTheJukebox)
{
    TaudioTagList* list = NewListWithAlbum("Saved");
    list->SetLoop(true);
    EXPECT_TRUE(editor.Action("actnAddToStacker")->isEnabled());
    EXPECT_FALSE(editor.Action("actnAddToplaylists")->isEnabled());
    EXPECT_EQ(editor.AddPlaylistToButton()->defaultAction(), editor.Action("actnAddToStacker"));

    editor.AddToStacker();
    TaudioTagPlaylistList& stacker = library.Jukebox()->Stacker();
    ASSERT_EQ(stacker.Count(), 1);
    TaudioTagList* stacked = stacker.GetItem(0);
    EXPECT_EQ(stacked->Title(), "Saved");
    EXPECT_EQ(Files(*stacked), Files(*list));
    EXPECT_EQ(editor.StackerBox()->Items()[0], "Saved");

    editor.Pages()->setCurrentIndex(TfrmPlaylistEditor::kStackerPage);
    EXPECT_EQ(editor.EditedList(), nullptr);
    editor.StackerBox()->SetItemIndex(0);
    editor.StackerBox()->SetSelected(0, true);
    editor.StackerClicked();
    EXPECT_EQ(editor.EditedList(), stacked);
    EXPECT_EQ(Panel(0), "List : Saved (stacker)");

    // Cancel in the collection's name prompt adds nothing; a blank answer names it "New playlist".
    dialogs.inputAnswers.push_back(std::nullopt);
    editor.AddToPlaylists();
    EXPECT_EQ(library.Playlists().Count(), 1);
    dialogs.inputAnswers.push_back("");
    editor.AddToPlaylists();
    ASSERT_EQ(library.Playlists().Count(), 2);
    EXPECT_NE(library.Playlists().Find("New playlist"), nullptr);

    editor.Pages()->setCurrentIndex(TfrmPlaylistEditor::kCollectionPage);
    editor.PlaylistsBox()->SetItemIndex(editor.PlaylistsBox()->Items().IndexOf("Saved"));
    editor.PlaylistsBox()->SetSelected(editor.PlaylistsBox()->ItemIndex(), true);
    editor.PlaylistsClicked();
    ASSERT_EQ(editor.EditedList(), list);
    EXPECT_TRUE(editor.LoopBox()->isChecked());
    editor.RandomBox()->setChecked(true);
    EXPECT_TRUE(list->GetRandom());

    editor.CopyToCurrentPlaylist();
    TaudioTagList& internal = library.Jukebox()->Playlist();
    EXPECT_EQ(Files(internal), Files(*list));
    EXPECT_TRUE(internal.Active());
    EXPECT_EQ(internal.PlayMode(), list->PlayMode());
    const int count = list->Count();
    editor.CopyFromCurrentPlaylist();
    EXPECT_EQ(list->Count(), 2 * count);

    editor.Pages()->setCurrentIndex(TfrmPlaylistEditor::kStackerPage);
    editor.EmptyStacker();
    EXPECT_EQ(stacker.Count(), 0);
    EXPECT_EQ(editor.StackerBox()->Count(), 0);

    // Party play's stacker lock: opened on the Stacker page, the editor turns to the collection and offers
    // no stacker edit.
    host.stackerLocked = true;
    editor.hide();
    editor.show();
    EXPECT_FALSE(editor.Pages()->isTabEnabled(TfrmPlaylistEditor::kStackerPage));
    EXPECT_EQ(editor.Pages()->currentIndex(), TfrmPlaylistEditor::kCollectionPage);
    editor.PlaylistsBox()->SetItemIndex(editor.PlaylistsBox()->Items().IndexOf("Saved"));
    editor.PlaylistsBox()->SetSelected(editor.PlaylistsBox()->ItemIndex(), true);
    editor.PlaylistsClicked();
    EXPECT_FALSE(editor.Action("actnAddToStacker")->isEnabled());
    EXPECT_EQ(Panel(0), "List : Saved (playlist collection)");
}

TEST_F(PlaylistEditor, ApplyFiltersTakesTheRulesOnlyOnOK)
{
    TaudioTagList* list = NewListWithAlbum("Filtered");
    const std::vector<std::string> handBuilt = Files(*list);
    TtagListRules& rules = editor.Rules();
    rules.SetUseYear(true);
    rules.SetFromYear(1);
    rules.SetToYear(9999);

    WhenModal([](QWidget* shown) {
        ASSERT_NE(qobject_cast<TfrmTagListRules*>(shown), nullptr);
        static_cast<QDialog*>(shown)->reject();
    });
    editor.ApplyFilters();
    EXPECT_EQ(Files(*list), handBuilt);

    WhenModal([](QWidget* shown) { static_cast<TfrmTagListRules*>(shown)->accept(); });
    editor.ApplyFilters();
    TaudioTagList expected;
    rules.Apply(library.GlobalList(), expected, false);
    EXPECT_EQ(Files(*list), Files(expected));
    EXPECT_NE(Files(*list), handBuilt);
}

TEST_F(PlaylistEditor, TheActivePlaylistBoxFollowsTheJukeboxWithoutChoosingAgain)
{
    TaudioTagList* a = NewList("Alpha");
    TaudioTagList* b = NewList("Beta");
    QComboBox* combo = editor.ActiveCombo();
    ASSERT_EQ(combo->count(), 3);
    library.Jukebox()->SetActivePreloadedList(b);
    EXPECT_EQ(combo->currentText(), "Beta");
    editor.SelectActivePlaylist(a);
    EXPECT_EQ(combo->currentText(), "Alpha");
    EXPECT_EQ(library.Jukebox()->ActivePreloadedList(), b);
    editor.SelectActivePlaylist(nullptr);
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->setCurrentIndex(1);
    EXPECT_EQ(library.Jukebox()->ActivePreloadedList(), a);
    combo->setCurrentIndex(0);
    EXPECT_EQ(library.Jukebox()->ActivePreloadedList(), nullptr);
}

TEST_F(PlaylistEditor, DropsMoveWithinTheListAndAddFromTheSongs)
{
    TaudioTagList* list = NewListWithAlbum("Drops");
    ASSERT_GE(list->Count(), 3);
    ThtmlListBox* box = editor.PlaylistBox();
    const std::string first = list->GetItem(0)->Filename();

    // A line dropped past the end moves to the last place.
    box->SetItemIndex(0);
    box->SetSelected(0, true);
    auto inside = RowsDrag(box);
    ASSERT_TRUE(DropAt(*box, *inside, {5, box->viewport()->height() - 2}));
    EXPECT_EQ(list->GetItem(list->Count() - 1)->Filename(), first);

    // Song lines of the chosen node.
    editor.Tree()->setCurrentIndex(editor.Model().IndexOf(FindNode(tnkAlbum)));
    ThtmlListBox* songs = editor.SongsBox();
    ASSERT_GT(songs->Count(), 2);
    songs->SetSelected(0, true);
    songs->SetSelected(2, true);
    auto picked = RowsDrag(songs);
    const int count = list->Count();
    ASSERT_TRUE(DropAt(*box, *picked, {5, 5}));
    ASSERT_EQ(list->Count(), count + 2);
    EXPECT_EQ(list->GetItem(count + 1)->Filename(),
              static_cast<TaudioTag*>(songs->Items().Objects(2))->Filename());

    // Without an edited list nothing is taken.
    editor.SetEditedList(nullptr);
    auto album = TreeDrag(FindNode(tnkAlbum));
    EXPECT_FALSE(DropAt(*box, *album, {5, 5}));
}

// Run under AddressSanitizer: every link into the old songs must be gone once the library reloads.
TEST_F(PlaylistEditor, ALibraryReloadWhileTheTreeShowsAndASongPlaysLeavesNoStaleLink)
{
    TaudioTagList* list = NewList("Stale");
    const TtreeNode album = FindNode(tnkAlbum);
    editor.Tree()->setCurrentIndex(editor.Model().IndexOf(album));
    editor.Tree()->expandAll();
    ThtmlListBox* songs = editor.SongsBox();
    ASSERT_GT(songs->Count(), 0);
    songs->SetSelected(0, true);
    auto fromSongs = RowsDrag(songs);
    auto fromTree = TreeDrag(album);
    ASSERT_TRUE(editor.PlaylistAccepts(*fromTree));

    player->PreloadNext();
    ASSERT_NE(player->StartPrepared(), nullptr);
    library.SaveGlobal();
    int changing = 0;
    const auto forward = events.OnGlobalListChanging;
    events.OnGlobalListChanging = [&](TcustomJukeboxList* sender) {
        ++changing;
        forward(sender);
        // A repaint during the reload draws the tree and the lines as they are now.
        EXPECT_EQ(songs->Count(), 0);
        editor.grab();
    };
    library.LoadGlobalList();
    EXPECT_EQ(changing, 1);
    editor.grab();

    // Drags begun before the reload are refused, by the control and by the editor alike.
    EXPECT_FALSE(fromTree->IsCurrent());
    EXPECT_FALSE(DropAt(*editor.PlaylistBox(), *fromTree, {5, 5}));
    EXPECT_FALSE(DropAt(*editor.PlaylistBox(), *fromSongs, {5, 5}));
    editor.PlaylistDrop(*fromTree, 5, 5);
    editor.PlaylistDrop(*fromSongs, 5, 5);
    EXPECT_EQ(list->Count(), 0);

    // The refilled tree works as before.
    EXPECT_GT(editor.Model().NodeCount(), 0);
    auto fresh = TreeDrag(FindNode(tnkAlbum));
    EXPECT_TRUE(DropAt(*editor.PlaylistBox(), *fresh, {5, 5}));
    EXPECT_GT(list->Count(), 0);
    player->PreloadNext();
    EXPECT_NE(player->StartPrepared(), nullptr);

    // The main window unlinking itself takes the tree and the edited list with it.
    editor.SetJukebox(nullptr);
    EXPECT_EQ(editor.Model().NodeCount(), 0);
    EXPECT_EQ(editor.SongsBox()->Count(), 0);
    EXPECT_EQ(editor.EditedList(), nullptr);
    EXPECT_FALSE(editor.PlaylistAccepts(*fresh));
}

TEST_F(PlaylistEditor, SettingsRoundTripInTheirSection)
{
    TIniFile ini("");
    ini.WriteInteger("PlaylistEditor", "Width", 700);
    ini.WriteInteger("PlaylistEditor", "Height", 500);
    ini.WriteInteger("PlaylistEditor", "Left", 10);
    ini.WriteInteger("PlaylistEditor", "Top", 20);
    ini.WriteInteger("PlaylistEditor", "RightPanelWidth", 250);
    editor.Rules().SetUseYear(true);
    editor.LoadSettings(ini, "PlaylistEditor");
    EXPECT_EQ(editor.width(), 700);
    EXPECT_EQ(editor.height(), 500);
    EXPECT_FALSE(editor.Rules().UseYear()); // the rules read their keys too

    TIniFile saved("");
    editor.SaveSettings(saved, "PlaylistEditor");
    const std::string text = saved.ToText();
    // A window never shown keeps the sizes it was given, not its splitters' sizes of nothing.
    const char* const keys[] = {
        "Width=700",           "Height=500",           "Left=", "Top=", "RightPanelWidth=250",
        "TrackListHeight=192", "PLSelectionHeight=192"};
    std::size_t at = 0;
    for (const char* key : keys) {
        const std::size_t found = text.find(key, at);
        ASSERT_NE(found, std::string::npos) << key;
        at = found;
    }
}

TEST_F(PlaylistEditorScan, M3UFilesLoadIntoTheEditedListAndAFullRescanLeavesNoStaleLink)
{
    TfrmMusicSearch search(library);
    dialogs.folderAnswers.push_back(music.Path());
    search.AddFolder();
    search.ScanAll();
    ASSERT_EQ(library.GlobalList().Count(), 3);

    // An M3U names two of the songs and a file that is gone; append adds to what is there.
    TaudioTagList* list = NewList("From M3U");
    const std::string m3u =
        dir.Write("lists/mix.m3u", music.File("Band A/First/Two.wav") + "\n" + music.File("gone.wav") + "\n" +
                                       music.File("Band B/Second/Three.wav") + "\n");
    dialogs.openAnswers.push_back({m3u});
    editor.ChooseM3U(false);
    EXPECT_EQ(Files(*list), (std::vector<std::string>{music.File("Band A/First/Two.wav"),
                                                      music.File("Band B/Second/Three.wav")}));
    EXPECT_EQ(host.folder, dir.File("lists"));
    ASSERT_EQ(prompts.boxes.size(), 1u); // the file that is gone is told
    EXPECT_EQ(prompts.boxes[0].text,
              "1 of 3 entries of \"" + m3u + "\" could not be loaded:\r1 file not found");
    editor.LoadM3U(m3u, true);
    EXPECT_EQ(list->Count(), 4);
    editor.LoadM3U(m3u, false);
    EXPECT_EQ(list->Count(), 2);
    prompts.boxes.clear();

    // The tree shows an album, its lines are dragged, a song plays; then a full rescan replaces every song.
    const TtreeNode album = FindNode(tnkAlbum);
    ASSERT_FALSE(album.IsNull());
    editor.Tree()->setCurrentIndex(editor.Model().IndexOf(album));
    editor.SongsBox()->SetSelected(0, true);
    auto fromSongs = RowsDrag(editor.SongsBox());
    auto fromTree = TreeDrag(album);
    player->PreloadNext();
    ASSERT_NE(player->StartPrepared(), nullptr);
    search.findChild<QCheckBox*>("cbFullScan")->setChecked(true);
    search.ScanAll();
    ASSERT_EQ(library.GlobalList().Count(), 3);
    editor.grab();

    EXPECT_FALSE(DropAt(*editor.PlaylistBox(), *fromTree, {5, 5}));
    EXPECT_FALSE(DropAt(*editor.PlaylistBox(), *fromSongs, {5, 5}));
    EXPECT_EQ(list->Count(), 2);
    auto fresh = TreeDrag(FindNode(tnkAlbum));
    EXPECT_TRUE(DropAt(*editor.PlaylistBox(), *fresh, {5, 5}));
    EXPECT_GT(list->Count(), 2);
}
