#include "controlstest.h"

#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/captions/librarytreecaption.h"
#include "core/captions/tagfonts.h"
#include "core/groupings/audiotagalbum.h"
#include "core/groupings/audiotagartist.h"
#include "core/tree/customjukeboxlistviewer.h"
#include "markup/taggedtext.h"
#include "platform/qtstring.h"
#include "support/generatedlibrary.h"

#include "support/memorytree.h"

#include <QAbstractItemModelTester>

#include <QSignalSpy>
#include <algorithm>

namespace {

// Counts the warnings the model tester reports.
class WarningCounter
{
public:
    WarningCounter() { previous_ = qInstallMessageHandler(&WarningCounter::Handle); }
    ~WarningCounter() { qInstallMessageHandler(previous_); }
    static int Count() { return count_; }
    static void Reset() { count_ = 0; }

private:
    static void Handle(QtMsgType type, const QMessageLogContext&, const QString& message)
    {
        if (type != QtDebugMsg && type != QtInfoMsg) {
            ++count_;
            ADD_FAILURE() << platform::FromQString(message);
        }
    }
    static inline int count_ = 0;
    QtMessageHandler previous_ = nullptr;
};

// The model's tree in the form of TmemoryTree::Dump, read through the item-model interface only.
void DumpRows(const QAbstractItemModel& model, const QModelIndex& parent, int level, std::string& out)
{
    static const char* const kinds[] = {"none", "list", "album", "artist", "genre"};
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        EXPECT_EQ(model.parent(index), parent);
        out.append(static_cast<std::size_t>(level) * 2, ' ');
        out += platform::FromQString(index.data(TtreeSinkModel::NodeTextRole).toString());
        if (index.data(TtreeSinkModel::NodeDataRole).value<quintptr>() != 0)
            out += std::string(" {") + kinds[index.data(TtreeSinkModel::NodeKindRole).toInt()] + "}";
        out += '\n';
        DumpRows(model, index, level + 1, out);
    }
}

std::string Dump(const QAbstractItemModel& model)
{
    std::string out;
    DumpRows(model, QModelIndex(), 0, out);
    return out;
}

TlibraryShape SmallShape()
{
    TlibraryShape shape;
    shape.Songs = 600;
    shape.Artists = 45;
    shape.Albums = 90;
    return shape;
}

constexpr TtreeViewDisplayModes kAllModes = 0x7F;

} // namespace

using TreeSinkModel = ControlsTest;

TEST_F(TreeSinkModel, ShowsTheTreeTheViewerFillsAndPassesTheModelTester)
{
    TgeneratedLibrary library(SmallShape());
    library.AddPlaylist("Mix", 3);
    // One builder per tree: a builder's root handles belong to the tree it filled last.
    TcustomJukeboxListViewer viewer, reference;
    viewer.SetJukeboxList(&library);
    reference.SetJukeboxList(&library);

    WarningCounter warnings;
    WarningCounter::Reset();
    TtreeSinkModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    TmemoryTree expected;
    for (const TtreeViewDisplayModes modes : {kAllModes, TtreeViewDisplayModes(dmArtists | dmAlbums),
                                              TtreeViewDisplayModes(dmTitles | dmGenres)}) {
        reference.FillTree(expected, modes);
        viewer.FillTree(model, modes);
        EXPECT_EQ(Dump(model), expected.Dump());
        EXPECT_EQ(model.UpdateCount(), 0);
    }

    reference.FillTree(expected, kAllModes);
    viewer.FillTree(model, kAllModes);
    library.AddPlaylist("Another", 2);
    reference.RebuildPlaylists(expected);
    viewer.RebuildPlaylists(model);
    EXPECT_EQ(Dump(model), expected.Dump());
    EXPECT_EQ(WarningCounter::Count(), 0);

    // Node queries and indexes agree.
    const TtreeNode playlists = viewer.GetPlaylistsNode();
    EXPECT_EQ(model.ChildCount(playlists), 2);
    const QModelIndex index = model.IndexOf(playlists);
    EXPECT_EQ(model.NodeOf(index), playlists);
    EXPECT_EQ(model.rowCount(index), 2);
    EXPECT_EQ(model.Row(playlists), index.row());
    EXPECT_EQ(model.Parent(model.Child(playlists, 1)), playlists);
    EXPECT_EQ(model.Text(model.Child(playlists, 0)), "Another");
}

TEST_F(TreeSinkModel, RowSignalsOutsideAnUpdateOneResetInside)
{
    TtreeSinkModel model;
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    model.BeginUpdate();
    model.BeginUpdate();
    const TtreeNode root = model.AddChild({}, "[A]", nullptr, tnkNone);
    model.AddChild(root, "Abba", nullptr, tnkNone);
    model.SetText(root, "[B]");
    model.EndUpdate();
    EXPECT_EQ(reset.count(), 0);
    model.EndUpdate();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(inserted.count() + removed.count() + changed.count(), 0);
    model.EndUpdate(); // unbalanced: ignored
    EXPECT_EQ(model.UpdateCount(), 0);

    // An update without a change resets nothing.
    model.BeginUpdate();
    model.EndUpdate();
    EXPECT_EQ(reset.count(), 1);

    const TtreeNode child = model.AddChild(root, "Beatles", nullptr, tnkNone);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][0].value<QModelIndex>(), model.IndexOf(root));
    EXPECT_EQ(inserted[0][1].toInt(), 1);
    EXPECT_EQ(inserted[0][2].toInt(), 1);
    // The parent is told too: its caption may count its children.
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<QModelIndex>(), model.IndexOf(root));

    model.SetData(child, nullptr, tnkArtist);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(changed[1][0].value<QModelIndex>(), model.IndexOf(child));

    model.AddChild(child, "Help!", nullptr, tnkAlbum);
    model.DeleteChildren(root);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 0);
    EXPECT_EQ(removed[0][2].toInt(), 1);
    EXPECT_EQ(model.NodeCount(), 1);

    model.Clear();
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(model.rowCount(), 0);
}

TEST_F(TreeSinkModel, KeepsEachNodesChildrenInOrderWhateverOrderTheyComeIn)
{
    // Children added to parents in turn, inside and outside updates, with subtrees deleted and refilled and
    // the tree asked in the middle of a batched fill: the model reads as a plain tree given the same calls.
    WarningCounter warnings;
    WarningCounter::Reset();
    TtreeSinkModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    TmemoryTree expected;
    std::vector<TtreeNode> nodes{{}};
    std::uint32_t seed = 7;
    const auto next = [&seed](std::uint32_t bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) % bound;
    };
    for (int round = 0; round < 6; ++round) {
        const bool batched = round % 2 == 1;
        if (batched) {
            model.BeginUpdate();
            expected.BeginUpdate();
        }
        for (int step = 0; step < 400; ++step) {
            const TtreeNode parent = nodes[next(static_cast<std::uint32_t>(nodes.size()))];
            if (!parent.IsNull() && !model.IsNode(parent))
                continue;
            if (step % 97 == 96 && !parent.IsNull()) {
                model.DeleteChildren(parent);
                expected.DeleteChildren(parent);
                continue;
            }
            const std::string text = "n" + std::to_string(nodes.size());
            const TtreeNode child = model.AddChild(parent, text, nullptr, tnkNone);
            EXPECT_EQ(expected.AddChild(parent, text, nullptr, tnkNone), child);
            nodes.push_back(child);
            if (step == 200) {
                model.SetText(child, "renamed");
                expected.SetText(child, "renamed");
                EXPECT_EQ(model.Child(parent, model.ChildCount(parent) - 1), child);
            }
        }
        if (batched) {
            model.EndUpdate();
            expected.EndUpdate();
        }
        const std::string dump = expected.Dump();
        EXPECT_EQ(Dump(model), dump);
        EXPECT_EQ(model.NodeCount(), static_cast<int>(std::count(dump.begin(), dump.end(), '\n')));
    }
    EXPECT_EQ(WarningCounter::Count(), 0);
}

TEST_F(TreeSinkModel, VoidHandlesChangeNothing)
{
    TtreeSinkModel model;
    const TtreeNode root = model.AddChild({}, "[A]", nullptr, tnkNone);
    const TtreeNode artist = model.AddChild(root, "Abba", nullptr, tnkArtist);
    const TtreeNode album = model.AddChild(artist, "Arrival", nullptr, tnkAlbum);
    model.DeleteChildren(root);
    for (const TtreeNode gone : {artist, album, TtreeNode{99}}) {
        EXPECT_FALSE(model.IsNode(gone));
        EXPECT_TRUE(model.AddChild(gone, "x", nullptr, tnkNone).IsNull());
        model.SetText(gone, "changed");
        model.SetData(gone, nullptr, tnkGenre);
        model.DeleteChildren(gone);
        EXPECT_EQ(model.Text(gone), "");
        EXPECT_EQ(model.Kind(gone), tnkNone);
        EXPECT_EQ(model.Row(gone), -1);
        EXPECT_FALSE(model.IndexOf(gone).isValid());
    }
    EXPECT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.ChildCount(root), 0);
    EXPECT_EQ(model.NodeCount(), 1);
    // Handles of deleted nodes are not handed out again.
    const TtreeNode fresh = model.AddChild(root, "Beatles", nullptr, tnkArtist);
    EXPECT_NE(fresh, artist);
    EXPECT_NE(fresh, album);
    EXPECT_FALSE(model.IsNode(artist));
}

TEST_F(TreeSinkModel, CaptionsAreTaggedAndBuiltForTheRowsAsked)
{
    TgeneratedLibrary library(SmallShape());
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(&library);
    TtreeSinkModel model;
    viewer.FillTree(model, dmArtists | dmAlbums | dmCompilations);

    // Without a caption function the text shows as written, whatever mark-up characters it holds.
    const TtreeNode odd = model.AddChild({}, "<b>Odd</b>", nullptr, tnkNone);
    EXPECT_EQ(platform::FromQString(model.index(model.Row(odd), 0).data().toString()),
              EscapeMarkup("<b>Odd</b>"));

    TtagFonts fonts;
    int asked = 0;
    model.SetCaptionFunction([&](const TtreeSinkModel& m, TtreeNode node) {
        ++asked;
        return LibraryTreeCaption(
            fonts, {m.Text(node), m.Data(node), m.Kind(node), !m.Parent(node).IsNull(), m.ChildCount(node)});
    });
    EXPECT_EQ(asked, 0);

    const TtreeNode a = viewer.GetAlphaNode('A');
    ASSERT_GT(model.ChildCount(a), 1);
    const std::string suffix = " (" + std::to_string(model.ChildCount(a)) + " Artists)";
    EXPECT_EQ(platform::FromQString(model.IndexOf(a).data().toString()), fonts.TextCaption("[A]", suffix));
    const TtreeNode artistNode = model.Child(a, 0);
    const auto* artist = static_cast<const TaudioTagArtist*>(model.Data(artistNode));
    EXPECT_EQ(model.Caption(artistNode), fonts.ArtistCaption(*artist, model.Text(artistNode), true, ""));
    const TtreeNode albumNode = model.Child(artistNode, 0);
    EXPECT_EQ(model.Caption(albumNode),
              fonts.AlbumCaption(*model.Data(albumNode), model.Text(albumNode), ""));
    const TtreeNode compilations = viewer.GetCompilationsNode();
    EXPECT_NE(model.Caption(compilations).find("Albums)"), std::string::npos);
    EXPECT_EQ(asked, 4);

    // Dropping the data links leaves captions that touch no list.
    model.ClearData();
    EXPECT_EQ(model.Data(artistNode), nullptr);
    EXPECT_EQ(model.Kind(albumNode), tnkNone);
    EXPECT_EQ(model.Caption(albumNode), fonts.TextCaption(model.Text(albumNode), ""));
}

TEST_F(TreeSinkModel, TreeViewKeepsItsStateAndMakesNoWidgetPerNode)
{
    const auto widgetsShowing = [](TtreeViewDisplayModes modes, const TlibraryShape& shape) {
        TgeneratedLibrary library(shape);
        TcustomJukeboxListViewer viewer;
        viewer.SetJukeboxList(&library);
        TtreeSinkModel model;
        TnoScrollTreeView view;
        view.setModel(&model);
        view.resize(300, 400);
        view.show();
        viewer.FillTree(model, modes);
        view.expandAll();
        QApplication::processEvents();
        (void)view.grab();
        return view.findChildren<QObject*>().size();
    };
    TlibraryShape large = SmallShape();
    large.Songs = 5000;
    large.Artists = 400;
    large.Albums = 900;
    EXPECT_EQ(widgetsShowing(kAllModes, SmallShape()), widgetsShowing(kAllModes, large));

    TgeneratedLibrary library(SmallShape());
    library.AddPlaylist("Mix", 3);
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(&library);
    TtreeSinkModel model;
    TnoScrollTreeView view;
    view.setModel(&model);
    view.resize(300, 400);
    view.show();
    viewer.FillTree(model, kAllModes);
    const QModelIndex a = model.IndexOf(viewer.GetAlphaNode('A'));
    view.expand(a);
    view.setCurrentIndex(model.index(0, 0, a));
    library.AddPlaylist("Another", 2);
    viewer.RebuildPlaylists(model);
    EXPECT_TRUE(view.isExpanded(a));
    EXPECT_EQ(view.currentIndex(), model.index(0, 0, a));

    // The rows are drawn: the caption of [A] leaves ink on the first row.
    const QImage image = view.viewport()->grab().toImage();
    const QRect row = view.visualRect(model.index(0, 0));
    int ink = 0;
    const QRgb background = image.pixel(image.width() - 1, image.height() - 1);
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += image.pixel(x, y) != background;
    EXPECT_GT(ink, 20);
}
