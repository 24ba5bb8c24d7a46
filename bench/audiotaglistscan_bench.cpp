// Folder scans of a generated WAV library (20 files per album folder, 20 albums per artist folder), read by
// the program's WAV plug-in, next to the floors a scan is measured against: reading every header (a
// directory walk that opens and reads each file's first bytes), a bare "find -newer" walk (readdir and one
// stat per entry) and, for a first scan that writes caches, creating the caches' files alone. 1,000 album
// folders by default; ORVANE_SCAN_BENCH_FOLDERS=5000 gives 100,000 files.
// Counters: stats per file (stat-family calls of the whole process) and, for rescans given the library's
// file-name index, the songs handed back as new.
// On ext4 without a journal, creating a file searches past the inodes freed in the last half minute in its
// block group: runs started less than that after another run (which removes its library at exit), or next
// to other programs deleting many files, time that search wherever files are created.
#include "bench/statcounter.h"
#include "core/plugins/taggerloader.h"
#include "core/songs/audiotaglist.h"
#include "core/songs/filenameindex.h"
#include "core/songs/folderlister.h"
#include "platform/atomicfile.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kTracksPerAlbum = 20;
constexpr int kAlbumsPerArtist = 20;
constexpr int kFlatFiles = 10000;

int AlbumFolders()
{
    const char* text = std::getenv("ORVANE_SCAN_BENCH_FOLDERS");
    const int folders = text ? std::atoi(text) : 1000;
    return folders > 0 ? folders : 1000;
}

const int kFolders = AlbumFolders();
const int kFiles = kFolders * kTracksPerAlbum;

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

std::string AlbumFolder(const std::string& root, int f)
{
    return root + "/Artist " + std::to_string(f / kAlbumsPerArtist) + "/Album " +
           std::to_string(f % kAlbumsPerArtist);
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
        for (int f = 0; f < kFolders; ++f) {
            const std::string album = AlbumFolder(lib.root, f);
            fs::create_directories(album);
            for (int t = 0; t < kTracksPerAlbum; ++t)
                std::ofstream(album + "/" + std::to_string(t + 1) + " - Track " + std::to_string(t) + ".wav",
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

// One folder holding many files: no per-file cost may grow with the folder.
const std::string& FlatFolder()
{
    static const std::string folder = [] {
        const std::string flat = TheLibrary().base + "/Flat";
        fs::create_directories(flat);
        for (int t = 0; t < kFlatFiles; ++t)
            std::ofstream(flat + "/Track " + std::to_string(t) + ".wav", std::ios::binary)
                << WavHeader(static_cast<std::uint32_t>(60 + t % 100));
        return flat;
    }();
    return folder;
}

// The caches move out of the scans' way, into a folder beside the library: the tree a scan lists stays the
// one the header walk lists (names set aside inside the album folders would pile up round by round, and only
// in the scans with caches). Deleting them would not do: ext4 without a journal skips the inodes freed in
// the last half minute when it allocates new ones, so a loop that deletes and writes a thousand small files
// measures that search rather than the writes.
void SetCachesAside(const std::string& root)
{
    static int round = 0;
    ++round;
    std::vector<fs::path> caches;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.path().filename() == "orvane.obf")
            caches.push_back(e.path());
    if (caches.empty())
        return;
    const fs::path attic = fs::path(root).parent_path() / "SetAside" / std::to_string(round);
    fs::create_directories(attic);
    std::size_t n = 0;
    for (const fs::path& cache : caches)
        fs::rename(cache, attic / std::to_string(n++));
}

// Stats per file over the timed loop.
class StatsPerFile
{
public:
    explicit StatsPerFile(benchmark::State& state) : state_(state), start_(benchstat::Count()) {}
    ~StatsPerFile()
    {
        const double files = static_cast<double>(state_.iterations()) * kFiles;
        state_.counters["stats/file"] = static_cast<double>(benchstat::Count() - start_ - excluded_) / files;
        state_.SetItemsProcessed(state_.iterations() * kFiles);
    }

    // Set-up work between iterations, not counted.
    template <class F>
    void Exclude(F&& work)
    {
        const std::uint64_t before = benchstat::Count();
        work();
        excluded_ += benchstat::Count() - before;
    }

private:
    benchmark::State& state_;
    std::uint64_t start_;
    std::uint64_t excluded_ = 0;
};

struct DirCloser
{
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Calls onEntry(dirFd, name) for every entry below folder (folders too when withFolders), descending into
// folders the directory marks as such.
template <class F>
void Walk(const std::string& folder, F& onEntry, bool withFolders)
{
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(folder.c_str()));
    if (!dir)
        return;
    while (const dirent* d = ::readdir(dir.get())) {
        const std::string_view name(d->d_name);
        if (name[0] == '.') // ".", "..", hidden names, as the scan skips them
            continue;
        if (d->d_type != DT_DIR || withFolders)
            onEntry(::dirfd(dir.get()), d->d_name);
        if (d->d_type == DT_DIR)
            Walk(folder + "/" + d->d_name, onEntry, withFolders);
    }
}

int Scan(const Library& lib, bool saveDataFiles, const TfileNameIndex* index = nullptr)
{
    TaudioTagList list;
    list.SetOwnsObjects(true);
    list.SetSaveDataFiles(saveDataFiles);
    list.ScanTree(lib.root, false, index);
    return list.Count();
}

// The floor of a first scan: every header opened and read once, nothing else.
void BM_ReadEveryHeader(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    SetCachesAside(lib.root);
    const StatsPerFile stats(state);
    for (auto _ : state) {
        std::int64_t bytes = 0;
        auto read = [&bytes](int dirFd, const char* name) {
            const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC);
            if (fd < 0)
                return;
            char header[44];
            bytes += ::pread(fd, header, sizeof header, 0);
            ::close(fd);
        };
        Walk(lib.root, read, false);
        if (bytes != std::int64_t{kFiles} * 44)
            std::abort();
    }
}
BENCHMARK(BM_ReadEveryHeader)->Unit(benchmark::kMillisecond)->UseRealTime();

// The file system's part of a first scan with caches: a file of a cache's size created in every album
// folder, as the scan's writers create theirs (unnamed while written, then linked), one after another.
void BM_CreateEveryCache(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    std::vector<std::string> caches;
    for (int f = 0; f < kFolders; ++f)
        caches.push_back(AlbumFolder(lib.root, f) + "/orvane.obf");
    const std::string bytes(5760, 'x'); // the cache of one album folder
    StatsPerFile stats(state);
    for (auto _ : state) {
        state.PauseTiming();
        stats.Exclude([&] { SetCachesAside(lib.root); });
        state.ResumeTiming();
        for (const std::string& cache : caches)
            platform::WriteFileAtomically(cache, bytes, platform::TFileKind::Derived);
    }
}
BENCHMARK(BM_CreateEveryCache)->Unit(benchmark::kMillisecond)->UseRealTime();

// The floor of a rescan: "find -newer" of the tree, one stat per entry against a reference time.
void BM_FindNewerWalk(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    // The tree a rescan walks: every album folder with its cache.
    SetCachesAside(lib.root);
    Scan(lib, true);
    struct stat reference
    {
    };
    if (::stat(lib.plugins.c_str(), &reference) != 0)
        std::abort();
    const StatsPerFile stats(state);
    for (auto _ : state) {
        int newer = 0;
        auto test = [&](int dirFd, const char* name) {
            struct stat st
            {
            };
            if (::fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                (st.st_mtim.tv_sec > reference.st_mtim.tv_sec ||
                 (st.st_mtim.tv_sec == reference.st_mtim.tv_sec &&
                  st.st_mtim.tv_nsec > reference.st_mtim.tv_nsec)))
                ++newer;
        };
        Walk(lib.root, test, true);
        benchmark::DoNotOptimize(newer);
    }
}
BENCHMARK(BM_FindNewerWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every file opened and read by the plug-in; with caches (range 1), each album folder's cache written too.
void BM_ScanTreeFirst(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    const bool writeCaches = state.range(0) != 0;
    StatsPerFile stats(state);
    for (auto _ : state) {
        state.PauseTiming();
        stats.Exclude([&] { SetCachesAside(lib.root); });
        state.ResumeTiming();
        if (Scan(lib, writeCaches) != kFiles)
            std::abort();
    }
    state.SetLabel(writeCaches ? "caches written" : "no caches");
}
BENCHMARK(BM_ScanTreeFirst)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The scan's folder lister alone, draining the walk a rescan makes: the rescan's floor within the program.
void BM_ListTree(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    SetCachesAside(lib.root);
    Scan(lib, true);
    const StatsPerFile stats(state);
    for (auto _ : state) {
        TfolderLister::TvisitedFolders visited;
        TfolderLister lister(lib.root, visited);
        std::size_t files = 0;
        while (const std::optional<TfolderLister::Tlisting> listing = lister.Next())
            files += listing->files.size();
        benchmark::DoNotOptimize(files);
    }
}
BENCHMARK(BM_ListTree)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every folder's cache current: directory entries and the caches are read, no WAV file is opened.
void BM_ScanTreeRescan(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    SetCachesAside(lib.root);
    Scan(lib, true);
    const StatsPerFile stats(state);
    for (auto _ : state)
        if (Scan(lib, true) != kFiles)
            std::abort();
}
BENCHMARK(BM_ScanTreeRescan)->Unit(benchmark::kMillisecond)->UseRealTime();

// The library's rescan: caches current and every song in the file-name index, so none is new.
void BM_ScanTreeRescanIndexed(benchmark::State& state)
{
    const Library& lib = TheLibrary();
    SetCachesAside(lib.root);
    TaudioTagList library;
    library.SetOwnsObjects(true);
    library.SetSaveDataFiles(true);
    library.ScanTree(lib.root, false, nullptr);
    TfileNameIndex index;
    index.Rebuild(library.Items());
    int handedBack = 0;
    {
        const StatsPerFile stats(state);
        for (auto _ : state)
            handedBack = Scan(lib, true, &index);
    }
    state.counters["new songs"] = handedBack;
}
BENCHMARK(BM_ScanTreeRescanIndexed)->Unit(benchmark::kMillisecond)->UseRealTime();

// Many files in one folder, read (range 0) or from its current cache (range 1).
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
        if (list.Count() != kFlatFiles)
            std::abort();
    }
    state.SetItemsProcessed(state.iterations() * kFlatFiles);
    state.SetLabel(cached ? "cache current" : "read and cache written");
}
BENCHMARK(BM_ScanFolderFlat)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
