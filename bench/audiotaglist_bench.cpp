// Song-list files and sorting on generated libraries of 10,000 and 100,000 songs.
#include "bench/benchsongs.h"
#include "core/songs/audiotaglist.h"
#include "platform/textcompare.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

void Generate(TaudioTagList& list, int count)
{
    std::mt19937 random(42);
    FillSongs(list, count, [&](TaudioTag& s, int i) {
        const std::string artist = "Artist " + RandomWord(random, 6);
        const std::string album = "Album " + RandomWord(random, 8);
        s.SetArtist(artist);
        s.SetAlbum(album);
        s.SetTitle(RandomWord(random, 5) + " " + RandomWord(random, 7));
        s.SetFilename("/home/user/Music/" + artist + "/" + album + "/" + std::to_string(i) + ".mp3");
        s.SetTrackNo(static_cast<std::uint32_t>(i % 20 + 1));
        s.SetDate(std::to_string(1960 + i % 60));
        s.SetGenreID(static_cast<std::uint32_t>(i % 148));
        s.SetGenreString("Rock");
        s.SetBitRate(128 + i % 192);
        s.SetDuration(static_cast<std::uint32_t>(120 + i % 400));
        s.SetSampleRate(44100);
        s.SetChannels(2);
        s.SetTagType("ID3v2");
        s.SetModDate(40000.0 + i / 1000.0);
    });
}

std::string TempFile()
{
    return (std::filesystem::temp_directory_path() / ("orvane-bench-" + std::to_string(::getpid()) + ".dat"))
        .string();
}

void BM_SaveToFile(benchmark::State& state)
{
    TaudioTagList list;
    Generate(list, static_cast<int>(state.range(0)));
    const std::string file = TempFile();
    for (auto _ : state)
        list.SaveToFile(file);
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
    std::remove(file.c_str());
}

void BM_LoadFromFile(benchmark::State& state)
{
    TaudioTagList source;
    Generate(source, static_cast<int>(state.range(0)));
    const std::string file = TempFile();
    source.SaveToFile(file);
    for (auto _ : state) {
        TaudioTagList list;
        list.SetOwnsObjects(true);
        if (!list.LoadFromFile(file, false))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(list.Count());
    }
    std::remove(file.c_str());
}

void BM_Sort(benchmark::State& state)
{
    TaudioTagList list;
    Generate(list, static_cast<int>(state.range(0)));
    const auto sortType = static_cast<TaudioTagSortType>(state.range(1));
    for (auto _ : state) {
        state.PauseTiming();
        list.Shuffle();
        state.ResumeTiming();
        list.SortBy(sortType);
    }
}

// The same sorts in a locale with a real collation: each distinct text gets its collation key once.
void BM_SortCollated(benchmark::State& state)
{
    const platform::TcollationLocaleScope french("fr_FR");
    BM_Sort(state);
}

// Every file is missing (the names are made up): the worst case, a library whose drive is gone.
void BM_RemoveMissing(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        TaudioTagList list;
        Generate(list, static_cast<int>(state.range(0)));
        state.ResumeTiming();
        list.RemoveMissing();
        benchmark::DoNotOptimize(list.Count());
    }
}

} // namespace

BENCHMARK(BM_RemoveMissing)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveToFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadFromFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sort)
    ->ArgsProduct({{10000, 100000}, {tstTitle, tstArtist, tstAlbum, tstDuration}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortCollated)
    ->ArgsProduct({{100000}, {tstTitle, tstArtist, tstAlbum}})
    ->Unit(benchmark::kMillisecond);
