// What the whole program holds per song for its library, as it holds it: the main library loaded from
// jukebox.dat with its playing jukebox and the main window's tree (every view switched on, as a fresh
// settings file has it); then, once the playlist editor and the stacker window show, the library without CDs
// built from it and their two trees. The trees are the windows' own item models. A library of 100 songs
// loaded the same way is the baseline, so what every program holds anyway does not count.
#include "benchlibrary.h"
#include "controls/treesinkmodel.h"
#include "core/jukebox/libraryview.h"
#include "core/jukebox/localjukeboxlist.h"
#include "core/jukebox/localjukeboxloader.h"
#include "core/tree/customjukeboxlistviewer.h"
#include "platform/freememory.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

// As the program's main does, before any thread: the helper threads take their memory from the one heap,
// which is the one the heap figures read.
const bool kOneHeap = (platform::ShareOneHeap(), true);

// Every view of the main window, the playlist editor's and the stacker window's (without genres).
constexpr TtreeViewDisplayModes kMainWindowModes = 0x7F;
constexpr auto kEditorModes = static_cast<TtreeViewDisplayModes>(dmArtists | dmTitles | dmAlbums |
                                                                 dmCompilations | dmInvalid | dmGenres);
constexpr auto kStackerModes = static_cast<TtreeViewDisplayModes>(dmAlbums | dmPlaylists | dmCompilations);

struct DataFolder
{
    std::string path;
    explicit DataFolder(int songs)
        : path((std::filesystem::temp_directory_path() /
                ("orvane-bench-program-" + std::to_string(::getpid()) + "-" + std::to_string(songs)))
                   .string())
    {
        SaveGeneratedLibrary(path, songs);
    }
    ~DataFolder() { std::filesystem::remove_all(path); }
};

// The process's anonymous resident memory, as the system counts it from outside: heap pages included
// whether or not the heap has them in use.
double ResidentAnon()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("RssAnon:", 0) == 0)
            return std::stod(line.substr(8)) * 1024;
    return 0;
}

// The heap in use, after the free memory has gone back to the system.
double HeapInUse()
{
    ::malloc_trim(0);
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// The program's library side, built step by step as the program builds it.
struct Program
{
    std::unique_ptr<TlocalJukeboxList> library = std::make_unique<TlocalJukeboxList>();
    std::unique_ptr<TlibraryView> withoutCDs = std::make_unique<TlibraryView>();
    TcustomJukeboxListViewer mainViewer;
    TcustomJukeboxListViewer editorViewer;
    TcustomJukeboxListViewer stackerViewer;
    TtreeSinkModel mainTree;
    TtreeSinkModel editorTree;
    TtreeSinkModel stackerTree;

    explicit Program(const std::string& dataFolder)
    {
        library->SetDataFolder(dataFolder);
        library->SetLoadCDs(true);
        withoutCDs->SetDataFolder(dataFolder);
    }
    ~Program()
    {
        // The windows' trees and the library without CDs go before the library, as in the program.
        mainViewer.SetJukeboxList(nullptr);
        editorViewer.SetJukeboxList(nullptr);
        stackerViewer.SetJukeboxList(nullptr);
        withoutCDs.reset();
    }
    void Start()
    {
        TlocalJukeboxLoader loader;
        loader.SetJukeboxList(library.get());
        loader.LoadAll();
        mainViewer.SetJukeboxList(library.get());
        mainViewer.FillTree(mainTree, kMainWindowModes);
    }
    void ShowEditorAndStacker()
    {
        withoutCDs->Follow(*library);
        withoutCDs->LoadPlaylists();
        editorViewer.SetJukeboxList(withoutCDs.get());
        editorViewer.FillTree(editorTree, kEditorModes);
        stackerViewer.SetJukeboxList(withoutCDs.get());
        stackerViewer.FillTree(stackerTree, kStackerModes);
    }
};

// heap_B_per_song: at start; with_view_B_per_song: once the editor and the stacker window have shown;
// resident_B_per_song: the anonymous resident memory the start added, as seen from outside, once the
// free pages went back as the program gives them back.
void BM_ProgramMemoryPerSong(benchmark::State& state)
{
    const int songs = static_cast<int>(state.range(0));
    constexpr int kBaselineSongs = 100;
    const DataFolder data(songs);
    const DataFolder baselineData(kBaselineSongs);
    double atStart = 0;
    double withView = 0;
    double residentAtStart = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // The baseline program, then the measured one, each measured from an empty heap.
        const auto measure = [](const std::string& folder, double& start, double& view, double& resident) {
            const double before = HeapInUse();
            const double residentBefore = ResidentAnon();
            Program program(folder);
            program.Start();
            platform::ReleaseFreeMemory(); // as the main window does once it has shown the library
            resident = ResidentAnon() - residentBefore;
            start = HeapInUse() - before;
            program.ShowEditorAndStacker();
            view = HeapInUse() - before;
        };
        double baseStart = 0;
        double baseView = 0;
        double baseResident = 0;
        measure(baselineData.path, baseStart, baseView, baseResident);
        state.ResumeTiming();
        double start = 0;
        double view = 0;
        double resident = 0;
        measure(data.path, start, view, resident);
        state.PauseTiming();
        atStart = (start - baseStart) / (songs - kBaselineSongs);
        withView = (view - baseView) / (songs - kBaselineSongs);
        residentAtStart = (resident - baseResident) / (songs - kBaselineSongs);
        state.ResumeTiming();
    }
    state.counters["heap_B_per_song"] = atStart;
    state.counters["with_view_B_per_song"] = withView;
    state.counters["resident_B_per_song"] = residentAtStart;
}

} // namespace

BENCHMARK(BM_ProgramMemoryPerSong)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
