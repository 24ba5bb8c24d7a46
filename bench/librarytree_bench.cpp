// The library tree of a 100,000-song library (3,000 artists, 8,000 albums, 16 genres): filled by the tree
// builder into the Qt model, and filled and shown in the tree view with tagged captions.
#include "controls/htmlitemdelegate.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/captions/librarytreecaption.h"
#include "core/captions/tagfonts.h"
#include "core/tree/customjukeboxlistviewer.h"
#include "support/generatedlibrary.h"

#include <benchmark/benchmark.h>

#include <QPixmap>

#include <memory>

namespace {

constexpr TtreeViewDisplayModes kAllModes = 0x7F;

TgeneratedLibrary& Library()
{
    static const std::unique_ptr<TgeneratedLibrary> library = [] {
        TlibraryShape shape;
        shape.Songs = 100000;
        shape.Artists = 3000;
        shape.Albums = 8000;
        shape.Genres = 16;
        auto made = std::make_unique<TgeneratedLibrary>(shape);
        for (int i = 0; i < 50; ++i)
            made->AddPlaylist("Playlist " + std::to_string(i), 20);
        return made;
    }();
    return *library;
}

void SetCaptions(TtreeSinkModel& model, const TtagFonts& fonts)
{
    model.SetCaptionFunction([&fonts](const TtreeSinkModel& m, TtreeNode node) {
        return LibraryTreeCaption(
            fonts, {m.Text(node), m.Data(node), m.Kind(node), !m.Parent(node).IsNull(), m.ChildCount(node)});
    });
}

// Every display mode at once, into the model no view watches.
void BM_FillTree100k(benchmark::State& state)
{
    TcustomJukeboxListViewer viewer;
    viewer.SetJukeboxList(&Library());
    TtreeSinkModel model;
    for (auto _ : state)
        viewer.FillTree(model, kAllModes);
    state.counters["nodes"] = model.NodeCount();
}
BENCHMARK(BM_FillTree100k)->Unit(benchmark::kMillisecond);

// The library's tree in a shown view with the browser's captions.
struct ShownTree
{
    TcustomJukeboxListViewer viewer;
    TtagFonts fonts;
    TtreeSinkModel model;
    TnoScrollTreeView tree;

    ShownTree()
    {
        viewer.SetJukeboxList(&Library());
        SetCaptions(model, fonts);
        tree.setModel(&model);
        tree.resize(500, 700);
        tree.show();
    }
};

// The browser's default mode (all but genres), filled into a shown tree, [A] expanded, then one paint.
void BM_FillAndShowTree100k(benchmark::State& state)
{
    ShownTree shown;
    auto& [viewer, fonts, model, tree] = shown;
    for (auto _ : state) {
        viewer.FillTree(model, 0x3F);
        tree.expand(model.IndexOf(viewer.GetAlphaNode('A')));
        benchmark::DoNotOptimize(tree.grab());
    }
    state.counters["nodes"] = model.NodeCount();
}
BENCHMARK(BM_FillAndShowTree100k)->Unit(benchmark::kMillisecond);

// Every node expanded (some 40,000 rows), scrolled to the middle and painted.
void BM_ExpandAllAndPaint100k(benchmark::State& state)
{
    ShownTree shown;
    auto& [viewer, fonts, model, tree] = shown;
    viewer.FillTree(model, kAllModes);
    for (auto _ : state) {
        tree.collapseAll();
        tree.expandAll();
        tree.scrollTo(model.IndexOf(viewer.GetAlphaNode('M')));
        benchmark::DoNotOptimize(tree.grab());
    }
}
BENCHMARK(BM_ExpandAllAndPaint100k)->Unit(benchmark::kMillisecond);

// The same in the browser's look: dotted branch lines with boxes, images by node state, the selected
// node's image tinted.
void BM_ExpandAllAndPaintDotted100k(benchmark::State& state)
{
    ShownTree shown;
    auto& [viewer, fonts, model, tree] = shown;
    QPixmap closed(16, 16), open(16, 16);
    closed.fill(Qt::darkYellow);
    open.fill(Qt::yellow);
    const QIcon closedIcon(closed), openIcon(open);
    model.SetImageFunction([&](const TtreeSinkModel& m, TtreeNode node, TtreeSinkModel::NodeState s) {
        const bool album = m.Kind(node) == tnkAlbum;
        return TtreeSinkModel::NodeImage{s.Expanded || (album && s.Selected) ? openIcon : closedIcon,
                                         s.Selected && m.Data(node) && !album};
    });
    tree.setIndentation(19);
    tree.setRootIsDecorated(false);
    tree.SetDottedBranches(true);
    tree.Delegate().SetImageMargin(4);
    tree.Delegate().SetHighlightCaptionOnly(true);
    viewer.FillTree(model, kAllModes);
    for (auto _ : state) {
        tree.collapseAll();
        tree.expandAll();
        const QModelIndex middle = model.IndexOf(viewer.GetAlphaNode('M'));
        tree.setCurrentIndex(model.index(0, 0, middle));
        tree.scrollTo(middle);
        benchmark::DoNotOptimize(tree.grab());
    }
}
BENCHMARK(BM_ExpandAllAndPaintDotted100k)->Unit(benchmark::kMillisecond);

} // namespace
