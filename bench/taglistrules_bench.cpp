// Filter rules applied to generated libraries, as random play does to build its list from the library.
#include "bench/benchsongs.h"
#include "core/groupings/taglistrules.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

const char* const kGenres[] = {"Rock", "Pop",     "Jazz",    "Blues",   "Classical", "Metal",
                               "Folk", "Électro", "Hip-Hop", "Country", "Reggae",    "Soul"};

void Generate(TaudioTagList& list, int count)
{
    std::mt19937 random(7);
    FillSongs(list, count, [&](TaudioTag& s, int i) {
        const std::string artist = "Artist " + std::to_string(random() % 5000);
        s.SetArtist(i % 3 == 0 ? platform::UpperCase(artist) : artist);
        s.SetTitle("Title " + std::to_string(i));
        s.SetAlbum("Album " + std::to_string(random() % 20000));
        s.SetDate(i % 17 == 0 ? "" : std::to_string(1950 + random() % 75));
        s.SetGenreString(kGenres[random() % std::size(kGenres)]);
        s.SetFilename("/home/user/Music/Folder" + std::to_string(random() % 400) + "/" + artist + "/" +
                      std::to_string(i) + ".mp3");
    });
}

// Every rule on, with hundreds of artists and dozens of folders, some of them sharing prefixes.
void SetRules(TtagListRules& rules)
{
    rules.SetPathsAllowed(true);
    rules.SetUseGenres(true);
    for (const char* genre : {"rock", "POP", "électro", "Jazz", "Soul"})
        rules.Genres().Add(genre);
    rules.SetUseYear(true);
    rules.SetFromYear(1960);
    rules.SetToYear(2010);
    rules.SetUseArtists(true);
    rules.SetNotArtist(true);
    for (int a = 0; a < 5000; a += 10)
        rules.Artists().Add("artist " + std::to_string(a));
    rules.SetUsePaths(true);
    for (int f = 0; f < 400; f += 8)
        rules.Paths().Add("/home/user/music/Folder" + std::to_string(f));
}

void BM_ApplyRules(benchmark::State& state)
{
    TaudioTagList library;
    Generate(library, static_cast<int>(state.range(0)));
    TtagListRules rules;
    SetRules(rules);
    TaudioTagList randomPlay;
    for (auto _ : state) {
        rules.Apply(library, randomPlay, false);
        benchmark::DoNotOptimize(randomPlay.Count());
    }
    state.counters["kept"] = static_cast<double>(randomPlay.Count());
}
BENCHMARK(BM_ApplyRules)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The folder rule alone: the whole library through the prefix check.
void BM_FilterByPath(benchmark::State& state)
{
    TaudioTagList library;
    Generate(library, static_cast<int>(state.range(0)));
    TtagListRules rules;
    SetRules(rules);
    TaudioTagList dest;
    for (auto _ : state) {
        FilterByPath(library, dest, false, nullptr, &rules, false, rules.Paths(), false);
        benchmark::DoNotOptimize(dest.Count());
    }
}
BENCHMARK(BM_FilterByPath)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
