// The library's start-up load on a generated 100,000-song library: jukebox.dat read, every grouping and the
// file-name index rebuilt, the random-play list filled; and the rebuild alone.
#include "benchlibrary.h"
#include "core/jukebox/localjukebox.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/jukebox/localjukeboxloader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

void Generate(TaudioTagList& list, int count)
{
    list.BeginUpdate();
    for (auto& song : GenerateLibrary(count))
        list.Add(song.release());
    list.EndUpdate();
}

struct DataFolder
{
    std::string path =
        (std::filesystem::temp_directory_path() / ("orvane-bench-library-" + std::to_string(::getpid())))
            .string();
    explicit DataFolder(int songs)
    {
        TlocalJukeboxList library;
        library.SetDataFolder(path);
        Generate(library.GlobalList(), songs);
        library.SaveGlobal();
    }
    ~DataFolder() { std::filesystem::remove_all(path); }
};

void BM_LibraryLoadAll(benchmark::State& state)
{
    const int songs = static_cast<int>(state.range(0));
    const DataFolder data(songs);
    for (auto _ : state) {
        state.PauseTiming();
        auto library = std::make_unique<TlocalJukeboxList>();
        library->SetDataFolder(data.path);
        library->SetLoadCDs(true);
        TlocalJukeboxLoader loader;
        loader.SetJukeboxList(library.get());
        state.ResumeTiming();
        loader.LoadAll();
        if (library->GlobalList().Count() != songs ||
            library->Jukebox()->RandomPlayList().Count() != library->GlobalList().Count()) {
            state.SkipWithError("library not loaded");
            break;
        }
        benchmark::DoNotOptimize(library->FileNameIndex().Count());
        state.PauseTiming();
        library.reset(); // freeing 100,000 songs is not part of the load
        state.ResumeTiming();
    }
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
BENCHMARK(BM_LibraryLoadAll)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LibraryRebuild)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
