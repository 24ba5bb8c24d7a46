// Song captions for a generated library of 100,000 songs, as the track and queue lists fill.
#include "bench/benchsongs.h"
#include "core/captions/tagfonts.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

void Generate(TaudioTagList& list, int count)
{
    std::mt19937 random(7);
    FillSongs(list, count, [&](TaudioTag& s, int i) {
        s.SetArtist("Artist " + RandomWord(random, 6));
        s.SetAlbum("Album " + RandomWord(random, 8));
        // One title in fifty needs escaping.
        s.SetTitle(RandomWord(random, 5) + (i % 50 == 0 ? " <live> " : " ") + RandomWord(random, 7));
        s.SetFilename("/home/user/Music/" + std::to_string(i) + ".mp3");
        s.SetTrackNo(static_cast<std::uint32_t>(i % 20 + 1));
        s.SetDuration(static_cast<std::uint32_t>(120 + i % 400));
    });
}

void SetFonts(TtagFonts& fonts)
{
    TFontDesc font;
    font.Name = "MS Sans Serif";
    font.Size = 11;
    font.Color = clWindowText;
    for (int k = 0; k < TtagFonts::kFontCount; ++k)
        fonts.SetFont(static_cast<TtagFonts::FontKind>(k), font);
}

void BM_SongStrings(benchmark::State& state)
{
    TaudioTagList list;
    Generate(list, static_cast<int>(state.range(0)));
    TtagFonts fonts;
    SetFonts(fonts);
    TStringList<TaudioTag> strings;
    const auto format = static_cast<TtagDisplayFormat>(state.range(1));
    for (auto _ : state) {
        fonts.SongStrings(strings, list, true, format);
        benchmark::DoNotOptimize(strings.Count());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SongStrings)
    ->Args({100000, tdfArtistTitleDuration})
    ->Args({100000, tdfArtistTitleAlbumTrack})
    ->Unit(benchmark::kMillisecond);

void BM_SongCaption(benchmark::State& state)
{
    TaudioTagList list;
    Generate(list, static_cast<int>(state.range(0)));
    TtagFonts fonts;
    SetFonts(fonts);
    for (auto _ : state) {
        std::size_t total = 0;
        for (const TaudioTag* tag : list.Items())
            total += fonts.SongCaption(*tag, tdfArtistTitleDuration).size();
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SongCaption)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
