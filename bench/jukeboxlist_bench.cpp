// The library's start-up load on generated libraries of 100,000 and 1,000,000 songs: jukebox.dat read, every
// grouping and the file-name index rebuilt, the random-play list filled; the memory a loaded song holds; and
// the rebuild alone.
#include "benchlibrary.h"
#include "core/jukebox/libraryview.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/jukebox/localjukeboxloader.h"
#include "platform/freememory.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// As the program's main does, before any thread: the helper threads take their memory from the one heap,
// which is the one the heap figures read.
const bool kOneHeap = (platform::ShareOneHeap(), true);

void Generate(TaudioTagList& list, int count, bool shuffled = false)
{
    list.BeginUpdate();
    for (auto& song : GenerateLibrary(count, shuffled))
        list.Add(song.release());
    list.EndUpdate();
}

struct DataFolder
{
    std::string path = (std::filesystem::temp_directory_path() /
                        ("orvane-bench-library-" + std::to_string(::getpid()) + "-" + std::to_string(++made)))
                           .string();
    explicit DataFolder(int songs, bool shuffled = false) { SaveGeneratedLibrary(path, songs, shuffled); }
    ~DataFolder() { std::filesystem::remove_all(path); }
    DataFolder(const DataFolder&) = delete;
    DataFolder& operator=(const DataFolder&) = delete;

private:
    static inline int made = 0; // two at once must not share a folder
};

// One start-up load of the library in the folder, in seconds; a negative figure when it did not load whole.
double TimedLoadAll(const DataFolder& data, int songs)
{
    // The program hands freed memory back after every rebuild, so each load starts as the program's does,
    // taking its pages from the system, whatever the size: otherwise the smaller library would reuse the
    // pages the load before left while the larger one's are handed back and taken again.
    platform::ReleaseFreeMemory();
    auto library = std::make_unique<TlocalJukeboxList>();
    library->SetDataFolder(data.path);
    library->SetLoadCDs(true);
    TlocalJukeboxLoader loader;
    loader.SetJukeboxList(library.get());
    const auto start = std::chrono::steady_clock::now();
    loader.LoadAll();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    benchmark::DoNotOptimize(library->FileNameIndex().Count());
    const bool whole = library->GlobalList().Count() == songs &&
                       library->Jukebox()->RandomPlayList().Count() == library->GlobalList().Count();
    return whole ? took.count() : -1; // freeing the songs is not part of the load
}

void BM_LibraryLoadAll(benchmark::State& state)
{
    const int songs = static_cast<int>(state.range(0));
    const DataFolder data(songs, state.range(1) != 0);
    for (auto _ : state) {
        const double took = TimedLoadAll(data, songs);
        if (took < 0) {
            state.SkipWithError("library not loaded");
            break;
        }
        state.SetIterationTime(took);
    }
}

double Median(std::vector<double> figures)
{
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

// How the load grows from 100,000 to 1,000,000 songs: loads of both sizes take turns (three of the smaller,
// one of the larger a round), so that a machine busier for a while slows both alike, and the growth is the
// ratio of their medians. The time shown is the larger load's.
void BM_LibraryLoadAllGrowth(benchmark::State& state)
{
    constexpr int kSmall = 100000;
    constexpr int kLarge = 1000000;
    const bool shuffled = state.range(0) != 0;
    const DataFolder small(kSmall, shuffled);
    const DataFolder large(kLarge, shuffled);
    std::vector<double> smallTimes;
    std::vector<double> largeTimes;
    for (auto _ : state) {
        for (int i = 0; i < 3; ++i)
            smallTimes.push_back(TimedLoadAll(small, kSmall));
        largeTimes.push_back(TimedLoadAll(large, kLarge));
        if (std::min(*std::min_element(smallTimes.begin(), smallTimes.end()), largeTimes.back()) < 0) {
            state.SkipWithError("library not loaded");
            return;
        }
        state.SetIterationTime(largeTimes.back());
    }
    const double baseline = Median(smallTimes);
    state.counters["load_100k_ms"] = baseline * 1000;
    state.counters["load_1M_ms"] = Median(largeTimes) * 1000;
    state.counters["growth_x"] = Median(largeTimes) / baseline;
}

// Bytes the heap hands out now, and the resident size of the process.
struct MemoryUse
{
    double heap = 0;
    double resident = 0;

    static MemoryUse Now()
    {
        MemoryUse use;
        const struct mallinfo2 info = ::mallinfo2();
        use.heap = static_cast<double>(info.uordblks + info.hblkhd);
        std::ifstream statm("/proc/self/statm");
        double pages = 0;
        statm >> pages >> pages;
        use.resident = pages * static_cast<double>(::sysconf(_SC_PAGESIZE));
        return use;
    }
};

// What a loaded song costs: the heap and the resident size the loaded library adds, per song.
void BM_LibraryMemoryPerSong(benchmark::State& state)
{
    const int songs = static_cast<int>(state.range(0));
    const DataFolder data(songs);
    ::malloc_trim(0);
    MemoryUse before;
    MemoryUse after;
    std::unique_ptr<TlocalJukeboxList> library;
    for (auto _ : state) {
        state.PauseTiming();
        library.reset();
        ::malloc_trim(0);
        before = MemoryUse::Now();
        library = std::make_unique<TlocalJukeboxList>();
        library->SetDataFolder(data.path);
        TlocalJukeboxLoader loader;
        loader.SetJukeboxList(library.get());
        state.ResumeTiming();
        loader.LoadAll();
        state.PauseTiming();
        ::malloc_trim(0);
        after = MemoryUse::Now();
        state.ResumeTiming();
    }
    state.counters["heap_B_per_song"] = (after.heap - before.heap) / songs;
    state.counters["resident_B_per_song"] = (after.resident - before.resident) / songs;
}

// What the program holds per song: the library loaded as at start and its library without CDs built from
// it (both sets of groupings and file-name indexes, the songs once). The library alone above is the baseline.
void BM_ProgramLibrariesMemoryPerSong(benchmark::State& state)
{
    const int songs = static_cast<int>(state.range(0));
    const DataFolder data(songs);
    ::malloc_trim(0);
    MemoryUse before;
    MemoryUse after;
    std::unique_ptr<TlibraryView> view;
    std::unique_ptr<TlocalJukeboxList> library;
    for (auto _ : state) {
        state.PauseTiming();
        view.reset();
        library.reset();
        ::malloc_trim(0);
        before = MemoryUse::Now();
        library = std::make_unique<TlocalJukeboxList>();
        library->SetDataFolder(data.path);
        view = std::make_unique<TlibraryView>();
        view->SetDataFolder(data.path);
        TlocalJukeboxLoader loader;
        loader.SetJukeboxList(library.get());
        state.ResumeTiming();
        loader.LoadAll();
        view->Follow(*library);
        view->LoadPlaylists();
        state.PauseTiming();
        ::malloc_trim(0);
        after = MemoryUse::Now();
        state.ResumeTiming();
    }
    state.counters["heap_B_per_song"] = (after.heap - before.heap) / songs;
    state.counters["resident_B_per_song"] = (after.resident - before.resident) / songs;
}

// One keystroke of the song search in title mode: every title matched, the lines made and sorted once. The
// bare pass over the titles (range 1 = 0) is the baseline.
void BM_SongSearchKeystroke(benchmark::State& state)
{
    TlocalJukeboxList library;
    Generate(library.GlobalList(), static_cast<int>(state.range(0)));
    TStringList<TaudioTag> results;
    results.SetSorted(true);
    results.SetDuplicates(TDuplicates::dupIgnore);
    std::size_t matched = 0;
    for (auto _ : state) {
        if (state.range(1) != 0) {
            library.GlobalList().SearchTitle("a", results);
            matched = static_cast<std::size_t>(results.Count());
        } else {
            matched = 0;
            for (const TaudioTag* song : library.GlobalList().Items())
                matched += song->Title().find('a') != std::string::npos;
        }
        benchmark::DoNotOptimize(matched);
    }
    state.counters["matches"] = static_cast<double>(matched);
}

void BM_LibraryRebuild(benchmark::State& state)
{
    TlocalJukeboxList library;
    Generate(library.GlobalList(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        library.GlobalList().Changed();
        benchmark::DoNotOptimize(library.FileNameIndex().Count());
    }
    state.counters["albums"] = library.Albums().Count();
    state.counters["artists"] = library.Artists().Count();
    state.counters["genres"] = library.Genres().Count();
}

// The file-name index alone: appended in list order, sorted once.
void BM_FileNameIndex(benchmark::State& state)
{
    TaudioTagList songs;
    songs.SetOwnsObjects(true);
    Generate(songs, static_cast<int>(state.range(0)));
    TStringList<TaudioTag> index;
    index.SetDuplicates(TDuplicates::dupIgnore);
    for (auto _ : state) {
        index.BeginUpdate();
        index.Clear();
        index.SetSorted(false);
        for (TaudioTag* tag : songs.Items())
            index.AddObject(tag->Filename(), tag);
        index.SortUnique();
        index.EndUpdate();
    }
    state.counters["names"] = index.Count();
}

} // namespace

BENCHMARK(BM_FileNameIndex)->Arg(100000)->Unit(benchmark::kMillisecond);
// Songs in the order of a folder scan (0) and shuffled (1).
BENCHMARK(BM_LibraryLoadAll)
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
// The tenfold library must load in at most eleven times as long: five rounds of a few seconds each.
BENCHMARK(BM_LibraryLoadAllGrowth)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryMemoryPerSong)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProgramLibrariesMemoryPerSong)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SongSearchKeystroke)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryRebuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
