// INI reading speed: settings.ini is read at every start, and a damaged or hand-made one may be large.
// Reading grows with the file's size, not its square: the load of a file of many keys in one section and of
// many sections is set against the baseline, a plain pass over the same bytes splitting them into lines.
#include "platform/inifile.h"
#include "platform/textcompare.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// n lines of about 20 bytes: all keys of one section, or a section every two lines.
std::string IniText(int lines, bool manySections)
{
    std::string text;
    for (int i = 0; i < lines; ++i) {
        if (i == 0 || (manySections && i % 2 == 0))
            text += "[Section" + std::to_string(i) + "]\r\n";
        text += "Key" + std::to_string(i) + "=value\r\n";
    }
    return text;
}

void BM_LinesBaseline(benchmark::State& state)
{
    const std::string text = IniText(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        std::size_t count = 0;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            count += platform::Trim(std::string_view(text).substr(start, end - start)).size();
            start = end == std::string::npos ? text.size() : end + 1;
        }
        benchmark::DoNotOptimize(count);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_LinesBaseline)->Arg(1 << 12)->Arg(1 << 16);

void BM_IniLoadOneSection(benchmark::State& state)
{
    const std::string text = IniText(static_cast<int>(state.range(0)), false);
    for (auto _ : state) {
        TIniFile ini("");
        ini.LoadFromText(text);
        benchmark::DoNotOptimize(ini.ValueExists("Section0", "Key1"));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_IniLoadOneSection)->Arg(1 << 12)->Arg(1 << 14)->Arg(1 << 16)->Arg(1 << 18);

void BM_IniLoadManySections(benchmark::State& state)
{
    const std::string text = IniText(static_cast<int>(state.range(0)), true);
    for (auto _ : state) {
        TIniFile ini("");
        ini.LoadFromText(text);
        benchmark::DoNotOptimize(ini.SectionExists("Section0"));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_IniLoadManySections)->Arg(1 << 12)->Arg(1 << 16);

} // namespace
