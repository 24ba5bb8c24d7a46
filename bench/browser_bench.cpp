// The main window's library browser on a 100,000-song library (3,000 artists, 8,000 albums): the tree
// rebuilt in each display mode, an album selected into the track list, a 10,000-song queue refreshed and
// scrolled.
#include "app/windows/frmjukeboxapp.h"

#include "controls/htmllistbox.h"
#include "controls/noscrolltreeview.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "support/fakedialogs.h"
#include "support/fakeprompts.h"
#include "support/generatedlibrary.h"
#include "support/scopedenv.h"
#include "support/tempdir.h"
#include "support/testmediaplayer.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QScrollBar>

#include <memory>

namespace {

class TbenchBrowserWindow : public TfrmJukeboxApp
{
public:
    std::unique_ptr<TcustomlocalJukeboxList> CreateJukeboxList() override
    {
        auto library = std::make_unique<TlocalJukeboxList>();
        library->SetLoadGenres(true);
        return library;
    }
    std::unique_ptr<TcustomMediaPlayer> CreatePlayer() override
    {
        return std::make_unique<TtestMediaPlayer>();
    }
};

// One window for every benchmark: made once, filled with the generated library, settings loaded.
struct TbenchBrowser
{
    TempDir home;
    ScopedEnv homeEnv{"ORVANE_HOME", home.Path() + "/"};
    TfakePrompts prompts;
    TfakeDialogs dialogs;
    TmainWindowPtr window;

    TbenchBrowser()
    {
        window = CreateMainWindow<TbenchBrowserWindow>();
        TlibraryShape shape;
        shape.Songs = 100000;
        shape.Artists = 3000;
        shape.Albums = 8000;
        shape.Genres = 16;
        const TgeneratedLibrary generated(shape);
        TaudioTagList& global = Browser().GetJukeboxList().GlobalList();
        global.BeginUpdate();
        for (const TaudioTag* song : generated.GlobalList().Items())
            global.AddCopy(song);
        global.EndUpdate();
        Browser().LoadPreferences();
        window->resize(1000, 800);
        window->show();
    }
    TfrmJukeboxApp& Browser() { return static_cast<TfrmJukeboxApp&>(*window); }
};

std::unique_ptr<TbenchBrowser>& SharedSlot()
{
    static std::unique_ptr<TbenchBrowser> browser;
    return browser;
}

// Made at first use; the window goes while the application still runs.
TbenchBrowser& Shared()
{
    std::unique_ptr<TbenchBrowser>& browser = SharedSlot();
    if (!browser) {
        browser = std::make_unique<TbenchBrowser>();
        qAddPostRoutine([] { SharedSlot().reset(); });
    }
    return *browser;
}

TtreeNode FirstAlbum(const TtreeSinkModel& model, TtreeNode under, int skip)
{
    for (int i = 0; i < model.ChildCount(under); ++i) {
        const TtreeNode node = model.Child(under, i);
        if (model.Kind(node) == tnkAlbum && skip-- == 0)
            return node;
        if (const TtreeNode found = FirstAlbum(model, node, skip))
            return found;
    }
    return {};
}

// RebuildTree through the display-mode setter, in the mode of the argument, then one paint of the tree.
void BM_BrowserRebuildTree100k(benchmark::State& state)
{
    TfrmJukeboxApp& browser = Shared().Browser();
    const auto mode = static_cast<TtreeViewDisplayModes>(state.range(0));
    for (auto _ : state) {
        browser.SetDisplayMode(mode);
        benchmark::DoNotOptimize(browser.Tree()->grab());
    }
    state.counters["nodes"] = browser.TreeModel().NodeCount();
}
BENCHMARK(BM_BrowserRebuildTree100k)
    ->Arg(dmArtists | dmAlbums)
    ->Arg(dmTitles)
    ->Arg(dmArtists | dmAlbums | dmPlaylists | dmCompilations | dmInvalid)
    ->Arg(dmGenres)
    ->Arg(0x7F)
    ->Unit(benchmark::kMillisecond);

// Two albums selected in turn: sorted by track and listed, the track list painted.
void BM_BrowserSelectAlbum100k(benchmark::State& state)
{
    TfrmJukeboxApp& browser = Shared().Browser();
    browser.SetDisplayMode(TfrmJukeboxApp::kInitialDisplayMode);
    const TtreeNode albums[2] = {FirstAlbum(browser.TreeModel(), {}, 0),
                                 FirstAlbum(browser.TreeModel(), {}, 1)};
    int turn = 0;
    for (auto _ : state) {
        browser.SelectNode(albums[turn ^= 1]);
        benchmark::DoNotOptimize(browser.TrackList()->grab());
    }
    state.counters["tracks"] = browser.TrackList()->Count();
}
BENCHMARK(BM_BrowserSelectAlbum100k)->Unit(benchmark::kMicrosecond);

// A queue of 10,000 songs: refilled once (a queue change), then scrolled a page at a time and painted.
void BM_BrowserQueueRefresh10k(benchmark::State& state)
{
    TfrmJukeboxApp& browser = Shared().Browser();
    TaudioTagList& queue = browser.GetJukebox().Queue();
    if (queue.Count() < 10000) {
        queue.BeginUpdate();
        const TaudioTagList& global = browser.GetJukeboxList().GlobalList();
        for (int i = 0; i < 10000; ++i)
            queue.AddCopy(global.GetItem(i * 7));
        queue.EndUpdate();
    }
    for (auto _ : state)
        browser.QueueChanged();
    state.counters["lines"] = browser.QueueList()->Count();
}
BENCHMARK(BM_BrowserQueueRefresh10k)->Unit(benchmark::kMillisecond);

void BM_BrowserQueueScrollPage10k(benchmark::State& state)
{
    TfrmJukeboxApp& browser = Shared().Browser();
    ThtmlListBox& list = *browser.QueueList();
    if (list.Count() < 10000)
        state.SkipWithError("run after BM_BrowserQueueRefresh10k");
    QScrollBar* bar = list.verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        benchmark::DoNotOptimize(list.viewport()->grab());
    }
}
BENCHMARK(BM_BrowserQueueScrollPage10k)->Unit(benchmark::kMicrosecond);

} // namespace
