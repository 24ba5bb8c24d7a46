// Folder scans of a 10,000-file WAV library in 500 album folders, read by the program's WAV plug-in:
// the first scan (no caches) and a rescan whose caches are all current. Reported in files per second.
#include "core/songs/audiotaglist.h"
#include "core/plugins/taggerloader.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr int kArtists = 50;
constexpr int kAlbumsPerArtist = 10;
constexpr int kTracksPerAlbum = 20;
constexpr int kFiles = kArtists * kAlbumsPerArtist * kTracksPerAlbum;

std::string Le32(std::uint32_t v)
{
    return {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
            static_cast<char>(v >> 24)};
}

// The 44-byte header of a 16-bit stereo PCM file of the given length; the RIFF size tells the length.
std::string WavHeader(std::uint32_t seconds)
{
    const std::uint32_t data = seconds * 176400;
    return "RIFF" + Le32(36 + data) + "WAVEfmt " + Le32(16) + std::string("\x01\x00\x02\x00", 4) +
           Le32(44100) + Le32(176400) + std::string("\x04\x00\x10\x00", 4) + "data" + Le32(data);
}

struct Library
{
    std::string base;
    std::string root;
    std::string plugins;
};

const Library& TheLibrary()
{
    static const Library library = [] {
        std::string pattern = (fs::temp_directory_path() / "orvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        Library lib{pattern, pattern + "/Music", pattern + "/TagPlugins"};
        fs::create_directories(lib.plugins);
        std::string plugin = PELMORA_FILE;
        if (const char* bin = std::getenv("ORVANE_BIN_DIR");
            bin && fs::exists(std::string(bin) + "/TagPlugins"))
            plugin = std::string(bin) + "/TagPlugins/TAG_Pelmora.so";
        fs::copy_file(plugin, lib.plugins + "/TAG_Pelmora.so");
        for (int a = 0; a < kArtists; ++a)
            for (int b = 0; b < kAlbumsPerArtist; ++b) {
                const std::string album =
                    lib.root + "/Artist " + std::to_string(a) + "/Album " + std::to_string(b);
                fs::create_directories(album);
                for (int t = 0; t < kTracksPerAlbum; ++t)
                    std::ofstream(album + "/" + std::to_string(t + 1) + " - Track " + std::to_string(t) +
                                      ".wav",
                                  std::ios::binary)
                        << WavHeader(static_cast<std::uint32_t>(60 + t));
            }
        TaggerLoader().SetSupportLevel(2);
        TaggerLoader().SetPluginFolder(lib.plugins);
        return lib;
    }();
    // Registered once the library exists, so it runs before the library's own destruction.
    static const bool cleanup = std::atexit([] {
                                    ReleaseTaggerLoader();
                                    std::error_code ec;
                                    fs::remove_all(TheLibrary().base, ec);
                                }) == 0;
    (void)cleanup;
    return library;
}

// One folder holding all the files: no per-file cost may grow with the folder.
const std::string& FlatFolder()
{
    static const std::string folder = [] {
        const std::string flat = TheLibrary().base + "/Flat";
        fs::create_directories(flat);
        for (int t = 0; t < kFiles; ++t)
            std::ofstream(flat + "/Track " + std::to_string(t) + ".wav", std::ios::binary)
                << WavHeader(static_cast<std::uint32_t>(60 + t % 100));
        return flat;
    }();
    return folder;
}

void RemoveCaches(const std::string& root)
{
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.path().filename() == "orvane.obf")
            fs::remove(e.path());
}

void Scan(const Library& lib, bool saveDataFiles)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(saveDataFiles);
    list.ScanTree(lib.root, false, nullptr);
    if (list.Count() != kFiles)
        std::abort();
}

// Every file opened and read by the plug-in; with caches, each album folder's cache written as well.
void BM_ScanTreeCold(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    const bool writeCaches = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        RemoveCaches(lib.root);
        state.ResumeTiming();
        Scan(lib, writeCaches);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.SetLabel(writeCaches ? "files/s, caches written" : "files/s, no caches");
}
BENCHMARK(BM_ScanTreeCold)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every folder's cache current: directory entries and the caches are read, no WAV file is opened.
void BM_ScanTreeCached(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    RemoveCaches(lib.root);
    Scan(lib, true);
    for (auto _ : state)
        Scan(lib, true);
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.SetLabel("files/s");
}
BENCHMARK(BM_ScanTreeCached)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

namespace {

// 10,000 files in one folder, read (range 0) or from its current cache (range 1).
void BM_ScanFolderFlat(benchmark::State& state)
{
    const std::string& folder = FlatFolder();
    const bool cached = state.range(0) != 0;
    fs::remove(folder + "/orvane.obf");
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(true);
    list.ScanFolder(folder, false, nullptr, false);
    for (auto _ : state) {
        list.ScanFolder(folder, false, nullptr, !cached);
        if (list.Count() != kFiles)
            std::abort();
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.SetLabel(cached ? "files/s, cache current" : "files/s, read and cache written");
}
BENCHMARK(BM_ScanFolderFlat)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
