// Song captions for a generated library of 100,000 songs, as the track and queue lists fill.
#include "core/tagfonts.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

void Generate(TaudioTagList& list, int count)
{
    std::mt19937 random(7);
    const auto word = [&](int len) {
        std::string w;
        for (int i = 0; i < len; ++i)
            w += static_cast<char>('a' + random() % 26);
        return w;
    };
    list.SetOwnsObjects(true);
    list.BeginUpdate();
    for (int i = 0; i < count; ++i) {
        auto s = std::make_unique<TaudioTag>();
        s->SetArtist("Artist " + word(6));
        s->SetAlbum("Album " + word(8));
        // One title in fifty needs escaping.
        s->SetTitle(word(5) + (i % 50 == 0 ? " <live> " : " ") + word(7));
        s->SetFilename("/home/user/Music/" + std::to_string(i) + ".mp3");
        s->SetTrackNo(static_cast<std::uint32_t>(i % 20 + 1));
        s->SetDuration(static_cast<std::uint32_t>(120 + i % 400));
        list.Add(s.release());
    }
    list.EndUpdate();
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
