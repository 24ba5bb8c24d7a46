// Folder enumeration speed: a library scan walks every folder of the music collection once.
#include "platform/filesystem.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// One folder of many small files, made once per process.
const std::string& BigFolder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "orvane-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            std::abort();
        for (int i = 0; i < 20000; ++i)
            std::ofstream(pattern + "/track" + std::to_string(i) + (i % 4 ? ".mp3" : ".ogg")) << "x";
        return pattern;
    }();
    // Registered once the folder exists, so it runs before the folder name's own destruction.
    static const bool cleanup = std::atexit([] {
                                    std::error_code ec;
                                    std::filesystem::remove_all(folder, ec);
                                }) == 0;
    (void)cleanup;
    return folder;
}

void BM_ForEachEntryAll(benchmark::State& state)
{
    const std::string& folder = BigFolder();
    for (auto _ : state) {
        std::int64_t count = 0;
        platform::ForEachEntry(folder, "*.*", platform::faReadOnly, [&](const platform::TFolderEntry& e) {
            count += e.Size;
            return true;
        });
        benchmark::DoNotOptimize(count);
    }
    state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ForEachEntryAll)->Unit(benchmark::kMillisecond);

void BM_ForEachEntryMasked(benchmark::State& state)
{
    const std::string& folder = BigFolder();
    for (auto _ : state) {
        int count = 0;
        platform::ForEachEntry(folder, "*.OGG", platform::faAnyFile, [&](const platform::TFolderEntry&) {
            ++count;
            return true;
        });
        benchmark::DoNotOptimize(count);
    }
    state.SetItemsProcessed(state.iterations() * 20000);
}
BENCHMARK(BM_ForEachEntryMasked)->Unit(benchmark::kMillisecond);

} // namespace
