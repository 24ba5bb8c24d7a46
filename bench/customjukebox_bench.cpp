// The playing jukebox on generated libraries: the random-play list rebuilt through the rules after a
// library change, the stacker's play list rebuilt, and songs chosen and started one after another.
#include "core/groupings/audiotagplaylistlist.h"
#include "core/groupings/taglistrules.h"
#include "core/jukebox/customjukeboxlist.h"
#include "core/jukebox/localjukebox.h"
#include "core/reports/audiotaghistorylist.h"
#include "core/songs/audiotag.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

namespace {

const char* const kGenres[] = {"Rock", "Pop", "Jazz", "Blues", "Classical", "Metal", "Folk", "Soul"};

// A library that leaves its groupings alone: only its global list is of interest here.
class TbenchLibrary : public TcustomJukeboxList
{
public:
    void GlobalListChanged() override {}
    void JukeboxDestroyed(TcustomJukebox*) override {}
};

std::unique_ptr<TaudioTag> MakeSong(int i, std::mt19937& random)
{
    auto s = std::make_unique<TaudioTag>();
    s->SetArtist("Artist " + std::to_string(random() % 5000));
    s->SetTitle("Title " + std::to_string(i));
    s->SetDate(std::to_string(1950 + random() % 75));
    s->SetGenreString(kGenres[random() % std::size(kGenres)]);
    s->SetFilename("/home/user/Music/Folder" + std::to_string(random() % 400) + "/" + std::to_string(i) +
                   ".mp3");
    return s;
}

void Fill(TaudioTagList& list, int count, int seed)
{
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    list.BeginUpdate();
    for (int i = 0; i < count; ++i)
        list.Add(MakeSong(i, random).release());
    list.EndUpdate();
}

void BM_ApplyRandomPlayRules(benchmark::State& state)
{
    TbenchLibrary library;
    Fill(library.GlobalList(), static_cast<int>(state.range(0)), 7);
    TlocalJukebox jukebox;
    jukebox.SetJukeboxList(&library);
    if (state.range(1) != 0) {
        TtagListRules& rules = jukebox.Rules();
        rules.SetUseGenres(true);
        for (const char* genre : {"rock", "POP", "Jazz", "Soul"})
            rules.Genres().Add(genre);
        rules.SetUseYear(true);
        rules.SetFromYear(1960);
        rules.SetToYear(2010);
        rules.SetUsePaths(true);
        for (int f = 0; f < 400; f += 8)
            rules.Paths().Add("/home/user/music/Folder" + std::to_string(f));
    }
    for (auto _ : state) {
        jukebox.ApplyRandomPlayRules();
        benchmark::DoNotOptimize(jukebox.GetNextTag());
    }
    state.counters["kept"] = static_cast<double>(jukebox.RandomPlayList().Count());
    jukebox.SetJukeboxList(nullptr);
}
BENCHMARK(BM_ApplyRandomPlayRules)->Args({100000, 0})->Args({100000, 1})->Unit(benchmark::kMillisecond);

// Choosing and starting one song from a 100,000-song random-play list, as every song change does.
void BM_ChooseAndStartRandomSong(benchmark::State& state)
{
    TaudioTagList songs;
    songs.SetOwnsObjects(true);
    Fill(songs, static_cast<int>(state.range(0)), 11);
    TlocalJukebox jukebox;
    jukebox.SetWriteHistory(false);
    jukebox.RandomPlayList().CopyFrom(songs, false, false);
    for (auto _ : state) {
        const TaudioTag* next = jukebox.GetNextTag();
        jukebox.SongStarted(next);
        if (jukebox.History().Count() >= 1000) {
            state.PauseTiming();
            jukebox.History().Clear();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_ChooseAndStartRandomSong)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Choosing from a large stacker: the playing list's name must not be searched for.
void BM_ChooseStackerSong(benchmark::State& state)
{
    TlocalJukebox jukebox;
    TaudioTagPlaylistList& stacker = jukebox.Stacker();
    stacker.BeginUpdate();
    for (int l = 0; l < 100; ++l) {
        auto list = std::make_unique<TaudioTagList>();
        list->SetTitle("Cartridge " + std::to_string(l));
        Fill(*list, static_cast<int>(state.range(0)) / 100, l);
        list->SetActive(true);
        stacker.Add(list.release());
    }
    stacker.EndUpdate();
    stacker.SetActive(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(jukebox.GetNextTag());
}
BENCHMARK(BM_ChooseStackerSong)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_RebuildStackerList(benchmark::State& state)
{
    TlocalJukebox jukebox;
    TaudioTagPlaylistList& stacker = jukebox.Stacker();
    stacker.BeginUpdate();
    for (int l = 0; l < 100; ++l) {
        auto list = std::make_unique<TaudioTagList>();
        list->SetTitle("Cartridge " + std::to_string(l));
        Fill(*list, static_cast<int>(state.range(0)) / 100, l);
        list->SetActive(l % 2 == 0);
        stacker.Add(list.release());
    }
    stacker.EndUpdate();
    stacker.SetActive(true);
    for (auto _ : state)
        jukebox.RebuildStackerList();
    state.counters["songs"] = static_cast<double>(jukebox.StackerPlayList().Count());
}
BENCHMARK(BM_RebuildStackerList)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
