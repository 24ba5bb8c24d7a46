// The missing-covers report over a library of many albums, with a cover folder of 10,000 pictures none of
// which fits: every album is looked up under all its cover names.
#include "core/groupings/audiotagalbumlist.h"
#include "core/groupings/audiotagartistlist.h"
#include "core/reports/missingcoversreport.h"
#include "platform/desktopopen.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kCoverFiles = 10000;

const std::string& CoverFolder()
{
    static const std::string folder = [] {
        std::string pattern = (fs::temp_directory_path() / "orvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        const std::string covers = pattern + "/Covers";
        fs::create_directories(covers);
        for (int i = 0; i < kCoverFiles; ++i)
            std::ofstream(covers + "/Someone " + std::to_string(i) + " - Something.jpg") << "x";
        return covers;
    }();
    // Registered once the folder exists, so it runs before the folder name's own destruction.
    static const bool cleanup = std::atexit([] {
                                    std::error_code ec;
                                    fs::remove_all(fs::path(CoverFolder()).parent_path(), ec);
                                }) == 0;
    (void)cleanup;
    return folder;
}

// range(0) albums of two songs each, ten albums per artist, grouped as the library groups them.
void BM_MissingCoversReport(benchmark::State& state)
{
    const std::string& covers = CoverFolder();
    const int albumCount = static_cast<int>(state.range(0));
    TaudioTagList songs;
    songs.SetOwnsObjects(true);
    for (int a = 0; a < albumCount; ++a)
        for (int t = 0; t < 2; ++t) {
            auto s = std::make_unique<TaudioTag>();
            s->SetArtist("Artist " + std::to_string(a / 10));
            s->SetAlbum("Album " + std::to_string(a));
            s->SetTitle("Track " + std::to_string(t));
            s->SetFilename(covers + "/../Music/Album " + std::to_string(a) + "/" + std::to_string(t) +
                           ".wav");
            songs.Add(s.release());
        }
    TaudioTagAlbumList albums;
    TaudioTagArtistList artists;
    albums.BeginUpdate();
    artists.BeginUpdate();
    for (TaudioTag* s : songs.Items()) {
        albums.AddTag(s);
        artists.AddTag(s);
    }
    albums.EndUpdate();
    artists.AssignAlbums(albums);
    artists.BuildIndex();
    artists.EndUpdate();
    platform::SetDesktopOpener([](const std::string&) { return true; });
    const std::string out = fs::path(covers).parent_path().string() + "/covers.txt";
    for (auto _ : state) {
        TmissingCoversReport report;
        report.SetArtists(&artists);
        report.SetAlbums(&albums);
        report.SetSongs(&songs);
        report.SetCoverFolder(covers);
        report.SetFilename(out);
        report.Execute();
    }
    platform::SetDesktopOpener(nullptr);
    state.SetItemsProcessed(state.iterations() * albumCount);
    state.SetLabel("albums/s");
}
BENCHMARK(BM_MissingCoversReport)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
