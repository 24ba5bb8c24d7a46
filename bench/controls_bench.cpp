// Caption drawing and filling lists and trees at library scale (100,000 songs, 8,000 albums).
#include "controls/htmllistbox.h"
#include "controls/htmllistitems.h"
#include "controls/htmlrender.h"
#include "controls/noscrolltreeview.h"
#include "markup/taggedtext.h"
#include "platform/qtstring.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>
#include <QStandardItemModel>

namespace {

std::string SongCaption(int i)
{
    TFontDesc artist{"DejaVu Sans", 10, clNavy, {TFontStyle::fsBold}};
    TFontDesc separator{"DejaVu Sans", 10, clGray, {}};
    TFontDesc title{"DejaVu Sans", 10, clBlack, {}};
    TFontDesc duration{"DejaVu Sans", 8, clMaroon, {TFontStyle::fsItalic}};
    return FontToTags(artist) + EscapeMarkup("Artist <" + std::to_string(i % 2000) + ">") + " " +
           FontToTags(separator) + "- " + FontToTags(title) + EscapeMarkup("Title " + std::to_string(i)) +
           " " + FontToTags(duration) + "[3:20]";
}

void BM_ParseSongCaption(benchmark::State& state)
{
    const std::string caption = SongCaption(42);
    const TFontDesc base;
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseTaggedText(caption, base));
}
BENCHMARK(BM_ParseSongCaption);

void BM_DrawSongCaption(benchmark::State& state)
{
    const std::string caption = SongCaption(42);
    QImage image(400, 20, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(QFont("DejaVu Sans", 10));
    const QFontMetrics base = painter.fontMetrics();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            DrawTaggedText(caption, QRect(0, 0, 400, 20), painter, base, Qt::AlignVCenter));
}
BENCHMARK(BM_DrawSongCaption);

// 100,000 captions into a shown list box, then one paint.
void BM_ListBoxFill100k(benchmark::State& state)
{
    TStrings lines;
    for (int i = 0; i < 100000; ++i)
        lines.Add(SongCaption(i));
    ThtmlListBox box;
    box.resize(500, 600);
    box.show();
    for (auto _ : state) {
        box.Items().Assign(lines);
        box.SetTopIndex(50000);
        benchmark::DoNotOptimize(box.grab());
    }
}
BENCHMARK(BM_ListBoxFill100k)->Unit(benchmark::kMillisecond);

// 2,000 artists with 4 albums each, all expanded, into a shown tree, then one paint.
void BM_TreeFill8000Albums(benchmark::State& state)
{
    QStandardItemModel model;
    for (int a = 0; a < 2000; ++a) {
        auto* artist = new QStandardItem(platform::ToQString(SongCaption(a)));
        for (int b = 0; b < 4; ++b)
            artist->appendRow(new QStandardItem(platform::ToQString(SongCaption(a * 4 + b))));
        model.appendRow(artist);
    }
    TnoScrollTreeView tree;
    tree.resize(500, 600);
    tree.show();
    for (auto _ : state) {
        tree.setModel(&model);
        tree.expandAll();
        tree.scrollTo(model.index(1000, 0));
        benchmark::DoNotOptimize(tree.grab());
        tree.setModel(nullptr);
    }
}
BENCHMARK(BM_TreeFill8000Albums)->Unit(benchmark::kMillisecond);

} // namespace
