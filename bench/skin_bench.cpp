// Skin recolouring and painting of the skinnable controls at window size.
#include "controls/orvanebutton.h"
#include "controls/orvanepanel.h"
#include "controls/skindraw.h"

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include <array>

namespace {

QImage GreySkin(int w, int h)
{
    QImage image(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* line = image.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const auto level = static_cast<std::uint8_t>((x * 7 + y * 3) & 0xFF);
            line[3 * x] = line[3 * x + 1] = line[3 * x + 2] = level;
        }
    }
    return image;
}

void BM_RecolorThreeFrameSkin(benchmark::State& state)
{
    const QImage skin = GreySkin(1200, 400);
    const std::array<TColor, 1> white{clWhite};
    for (auto _ : state) {
        QImage copy = RecoloredSkin(skin, 3, RGBColor(64, 112, 176), white, RGBColor(72, 76, 88));
        benchmark::DoNotOptimize(copy.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 1200 * 400);
}
BENCHMARK(BM_RecolorThreeFrameSkin)->Unit(benchmark::kMillisecond);

void BM_ShadeMask(benchmark::State& state)
{
    const QImage templ = GreySkin(256, 256);
    QImage target(256, 256, QImage::Format_BGR888);
    target.fill(QColor(90, 120, 160));
    for (auto _ : state) {
        DrawShadeMask(templ, target, templ.rect(), target.rect());
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_ShadeMask)->Unit(benchmark::kMicrosecond);

void BM_PaintTiledPanel(benchmark::State& state)
{
    TorvanePanel panel;
    panel.resize(1280, 800);
    panel.SetIsSkinned(true);
    panel.SetPanelColor(RGBColor(72, 76, 88));
    const QImage corner = GreySkin(12, 12);
    const QImage edge = GreySkin(8, 12);
    const QImage side = GreySkin(12, 8);
    panel.SetBitmapTopLeft(corner);
    panel.SetBitmapTopRight(corner);
    panel.SetBitmapBottomLeft(corner);
    panel.SetBitmapBottomRight(corner);
    panel.SetBitmapTopCenter(edge);
    panel.SetBitmapBottomCenter(edge);
    panel.SetBitmapLeftCenter(side);
    panel.SetBitmapRightCenter(side);
    panel.SetBitmapMiddle(GreySkin(8, 8));
    for (auto _ : state) {
        QPixmap shot = panel.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
    }
}
BENCHMARK(BM_PaintTiledPanel)->Unit(benchmark::kMillisecond);

void BM_PaintDrawnButton(benchmark::State& state)
{
    TorvaneButton button;
    button.SetCaption("&Play");
    for (auto _ : state) {
        QPixmap shot = button.grab();
        benchmark::DoNotOptimize(shot.cacheKey());
    }
}
BENCHMARK(BM_PaintDrawnButton)->Unit(benchmark::kMicrosecond);

} // namespace
