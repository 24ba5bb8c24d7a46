#include "controlstest.h"

#include "controls/dragpayload.h"
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/songs/audiotaglist.h"

#include <QDropEvent>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

using DragAndDrop = ControlsTest;

namespace {

// Drags data over the target's viewport to `at` and drops it there, as the window system delivers it;
// true when the drop was taken.
bool DropAt(QAbstractItemView& target, const QMimeData& data, QPoint at)
{
    QWidget* viewport = target.viewport();
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(at), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    drop.ignore();
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
}

std::unique_ptr<TdragPayload> Payload(QMimeData* data)
{
    std::unique_ptr<QMimeData> owned(data);
    if (!TdragPayload::From(owned.get()))
        return nullptr;
    return std::unique_ptr<TdragPayload>(static_cast<TdragPayload*>(owned.release()));
}

void Fill(ThtmlListBox& box, int lines)
{
    for (int i = 0; i < lines; ++i)
        box.Items().Add("line " + std::to_string(i));
    box.resize(200, 120);
}

// A drop target that writes down what it is asked and takes what `accept` says.
struct Target
{
    ThtmlListBox box;
    std::vector<std::string> log;
    bool accept = true;

    Target()
    {
        Fill(box, 3);
        box.OnDragOver = [this](QObject* sender, const TdragPayload&, int x, int y, TdragState state,
                                bool& accepted) {
            EXPECT_EQ(sender, &box);
            EXPECT_TRUE(accepted);
            static const char* const names[] = {"enter", "leave", "move"};
            log.push_back(std::string(names[static_cast<int>(state)]) + " " + std::to_string(x) + "," +
                          std::to_string(y));
            accepted = accept;
        };
        box.OnDragDrop = [this](QObject* sender, const TdragPayload& source, int x, int y) {
            EXPECT_EQ(sender, &box);
            std::string line = "drop " + std::to_string(x) + "," + std::to_string(y) + " rows";
            for (int row : source.Rows())
                line += " " + std::to_string(row);
            for (const TdragPayload::Node& node : source.Nodes())
                line += " node" + std::to_string(node.Handle.Id) + ":" + std::to_string(node.Kind);
            log.push_back(line);
        };
    }
};

} // namespace

TEST_F(DragAndDrop, ListRowsTravelAsNumbersAndOnlyCurrentDragsOfOursAreTaken)
{
    ThtmlListBox source;
    Fill(source, 4);
    source.SetMultiSelect(true);
    source.SetSelected(3, true);
    source.SetSelected(1, true);
    auto payload = Payload(source.Items().mimeData(source.selectionModel()->selectedIndexes()));
    ASSERT_NE(payload, nullptr);
    EXPECT_TRUE(payload->hasFormat(TdragPayload::kMimeType));
    EXPECT_EQ(payload->Rows(), (std::vector<int>{1, 3}));
    EXPECT_FALSE(payload->FromTree());
    EXPECT_TRUE(payload->IsCurrent());

    Target target;
    // No source control named: nobody to ask about the rows.
    EXPECT_FALSE(DropAt(target.box, *payload, {5, 5}));
    EXPECT_TRUE(target.log.empty());

    payload->SetSource(&source);
    EXPECT_TRUE(DropAt(target.box, *payload, {5, 6}));
    EXPECT_EQ(target.log,
              (std::vector<std::string>{"enter 5,6", "move 5,6", "move 5,6", "drop 5,6 rows 1 3"}));
    EXPECT_EQ(payload->Target(), &target.box);
    EXPECT_EQ(payload->DropPoint(), QPoint(5, 6));

    // Leaving tells the handler with the last point.
    target.log.clear();
    QDragEnterEvent enter(QPoint(7, 8), Qt::MoveAction, payload.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target.box.viewport(), &enter);
    QDragLeaveEvent leave;
    QApplication::sendEvent(target.box.viewport(), &leave);
    EXPECT_EQ(target.log, (std::vector<std::string>{"enter 7,8", "leave 7,8"}));

    // A handler that refuses: no drop.
    target.log.clear();
    target.accept = false;
    EXPECT_FALSE(DropAt(target.box, *payload, {5, 6}));
    EXPECT_EQ(target.log.size(), 3u);
    target.accept = true;

    // The same format from another process is not ours, whatever its bytes say.
    target.log.clear();
    QMimeData foreign;
    foreign.setData(TdragPayload::kMimeType, payload->data(TdragPayload::kMimeType));
    EXPECT_EQ(TdragPayload::From(&foreign), nullptr);
    EXPECT_FALSE(DropAt(target.box, foreign, {5, 6}));
    EXPECT_TRUE(target.log.empty());

    // Any change of the source's lines voids the drag: its rows may name other lines now.
    source.Items().SetString(0, "changed");
    EXPECT_FALSE(payload->IsCurrent());
    EXPECT_FALSE(DropAt(target.box, *payload, {5, 6}));
    EXPECT_TRUE(target.log.empty());

    // A source destroyed during the drag.
    auto gone = std::make_unique<ThtmlListBox>();
    Fill(*gone, 2);
    gone->SetSelected(0, true);
    auto orphan = Payload(gone->Items().mimeData(gone->selectionModel()->selectedIndexes()));
    orphan->SetSource(gone.get());
    gone.reset();
    EXPECT_EQ(orphan->Source(), nullptr);
    EXPECT_FALSE(orphan->IsCurrent());
    EXPECT_FALSE(DropAt(target.box, *orphan, {5, 6}));

    // Without a drag-over handler nothing is taken.
    ThtmlListBox deaf;
    Fill(deaf, 1);
    deaf.OnDragDrop = [&](QObject*, const TdragPayload&, int, int) { ADD_FAILURE() << "dropped"; };
    auto fresh = Payload(source.Items().mimeData(source.selectionModel()->selectedIndexes()));
    fresh->SetSource(&source);
    EXPECT_FALSE(DropAt(deaf, *fresh, {5, 6}));
    EXPECT_TRUE(DropAt(target.box, *fresh, {5, 6}));
}

TEST_F(DragAndDrop, TreeNodesCarryTheirKindsAndARebuildVoidsTheDrag)
{
    TaudioTagList artistList, albumList;
    TtreeSinkModel model;
    const TtreeNode root = model.AddChild({}, "[A]", nullptr, tnkNone);
    const TtreeNode artist = model.AddChild(root, "Abba", &artistList, tnkArtist);
    const TtreeNode album = model.AddChild(artist, "Arrival", &albumList, tnkAlbum);
    TnoScrollTreeView tree;
    tree.setModel(&model);
    const auto drag = [&](TtreeNode node) {
        auto payload = Payload(model.mimeData({model.IndexOf(node)}));
        payload->SetSource(&tree);
        return payload;
    };

    Target queue;
    queue.box.SetDropNodeKinds(With(0, tnkAlbum));
    auto albumDrag = drag(album);
    ASSERT_TRUE(albumDrag->FromTree());
    ASSERT_EQ(albumDrag->Nodes().size(), 1u);
    EXPECT_EQ(albumDrag->Nodes()[0].Handle, album);
    EXPECT_EQ(albumDrag->Nodes()[0].Kind, tnkAlbum);
    EXPECT_TRUE(DropAt(queue.box, *albumDrag, {2, 3}));
    EXPECT_EQ(queue.log.back(), "drop 2,3 rows node" + std::to_string(album.Id) + ":2");

    // Kinds the target does not take are refused before its handler hears of them.
    queue.log.clear();
    EXPECT_FALSE(DropAt(queue.box, *drag(artist), {2, 3}));
    EXPECT_FALSE(DropAt(queue.box, *drag(root), {2, 3}));
    EXPECT_TRUE(queue.log.empty());
    queue.box.SetDropNodeKinds(With(With(0, tnkAlbum), tnkArtist));
    EXPECT_TRUE(DropAt(queue.box, *drag(artist), {2, 3}));

    // Adding nodes and renaming them keep a drag current; dropping the links or refilling voids it.
    model.AddChild(root, "Ace", nullptr, tnkNone);
    model.SetText(album, "Arrival (1976)");
    EXPECT_TRUE(albumDrag->IsCurrent());
    model.ClearData();
    EXPECT_FALSE(albumDrag->IsCurrent());
    queue.log.clear();
    EXPECT_FALSE(DropAt(queue.box, *albumDrag, {2, 3}));
    EXPECT_TRUE(queue.log.empty());

    auto again = drag(model.Child(root, 0));
    model.BeginUpdate();
    model.Clear();
    model.AddChild({}, "[A]", nullptr, tnkNone);
    model.EndUpdate();
    EXPECT_FALSE(again->IsCurrent());
    auto afterDelete = drag(model.Child({}, 0));
    model.AddChild(model.Child({}, 0), "x", nullptr, tnkNone);
    model.DeleteChildren(model.Child({}, 0));
    EXPECT_FALSE(afterDelete->IsCurrent());

    // A tree takes drops as the lists do.
    bool dropped = false;
    tree.SetDropNodeKinds(With(0, tnkNone));
    tree.OnDragOver = [](QObject*, const TdragPayload&, int, int, TdragState, bool&) {};
    tree.OnDragDrop = [&](QObject* sender, const TdragPayload& source, int, int) {
        dropped = sender == &tree && source.Source() == &tree;
    };
    EXPECT_TRUE(DropAt(tree, *drag(model.Child({}, 0)), {1, 1}));
    EXPECT_TRUE(dropped);
}

// A press on a selected line and a move past the drag distance start the drag by themselves; the window
// system ends it at once here (no drop target under the offscreen platform).
TEST_F(DragAndDrop, AutomaticDragsStartFromTheSelectionAndEnd)
{
    ThtmlListBox list;
    Fill(list, 5);
    list.SetMultiSelect(true);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    std::vector<std::string> log;
    list.OnStartDrag = [&](QObject* sender, TdragPayload& drag) {
        EXPECT_EQ(sender, &list);
        EXPECT_EQ(drag.Source(), &list);
        log.push_back("start " + std::to_string(drag.Rows().size()));
        drag.SetCursor(drag.Rows().size() > 1 ? TdragCursor::MultiDrag : TdragCursor::Drag);
    };
    list.OnEndDrag = [&](QObject* sender, QObject* target, int, int) {
        EXPECT_EQ(sender, &list);
        log.push_back(target ? "end on target" : "end");
    };
    const auto dragFrom = [](QAbstractItemView& view, QPoint from) {
        QWidget* viewport = view.viewport();
        QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(viewport, from + QPoint(2, 0));
        QTest::mouseMove(viewport, from + QPoint(QApplication::startDragDistance() + 20, 0));
        QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, from);
    };

    // Not yet automatic.
    const QPoint second = list.ItemRect(1).center() - QPoint(list.ItemRect(1).width() / 3, 0);
    dragFrom(list, second);
    EXPECT_TRUE(log.empty());

    list.SetAutoDrag(true);
    EXPECT_TRUE(list.AutoDrag());
    list.selectionModel()->clearSelection();
    list.SetSelected(1, true);
    dragFrom(list, second);
    EXPECT_EQ(log, (std::vector<std::string>{"start 1", "end"}));

    TtreeSinkModel model;
    const TtreeNode root = model.AddChild({}, "[Playlists]", nullptr, tnkNone);
    TnoScrollTreeView tree;
    tree.setModel(&model);
    tree.SetAutoDrag(true);
    tree.resize(200, 100);
    tree.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&tree));
    std::vector<TdragPayload::Node> started;
    tree.OnStartDrag = [&](QObject*, TdragPayload& drag) { started = drag.Nodes(); };
    const QRect row = tree.visualRect(model.IndexOf(root));
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, Qt::NoModifier, row.topLeft() + QPoint(3, 3));
    dragFrom(tree, row.topLeft() + QPoint(3, 3));
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].Handle, root);
    EXPECT_EQ(started[0].Kind, tnkNone);
}
