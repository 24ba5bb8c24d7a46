// The library's start-up load on a generated 100,000-song library: jukebox.dat read, every grouping and the
// file-name index rebuilt, the random-play list filled; and the rebuild alone.
#include "core/localjukebox.h"
#include "core/localjukeboxlist.h"
#include "core/localjukeboxloader.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

// 8,000 albums of 12 or 13 songs by 5,000 artists, 30 genres, in folder order as a scan leaves them.
void Generate(TaudioTagList& list, int count)
{
    std::mt19937 random(11);
    const auto word = [&](int len) {
        std::string w(1, static_cast<char>('A' + random() % 26));
        for (int i = 1; i < len; ++i)
            w += static_cast<char>('a' + random() % 26);
        return w;
    };
    std::vector<std::string> artists(5000);
    for (std::size_t i = 0; i < artists.size(); ++i)
        artists[i] = (i % 10 == 0 ? "The " : "") + word(5) + " " + word(7);
    std::vector<std::string> genres(30);
    for (std::string& g : genres)
        g = word(6);
    const int albums = count / 12 > 0 ? count / 12 : 1;
    list.BeginUpdate();
    for (int i = 0; i < count; ++i) {
        const int album = i / 12 % albums;
        const std::string& artist = artists[static_cast<std::size_t>(album) % artists.size()];
        auto s = std::make_unique<TaudioTag>();
        s->SetArtist(album % 30 == 0 ? artists[random() % artists.size()] : artist);
        s->SetAlbum("Album " + std::to_string(album));
        s->SetTitle(word(5) + " " + word(7));
        s->SetFilename("/home/user/Music/" + artist + "/Album " + std::to_string(album) + "/" +
                       std::to_string(i % 12 + 1) + " " + s->Title() + ".mp3");
        s->SetTrackNo(static_cast<std::uint32_t>(i % 12 + 1));
        s->SetGenreString(genres[static_cast<std::size_t>(album) % genres.size()]);
        s->SetDuration(static_cast<std::uint32_t>(120 + i % 400));
        s->SetBitRate(192);
        s->SetSampleRate(44100);
        s->SetChannels(2);
        list.Add(s.release());
    }
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
