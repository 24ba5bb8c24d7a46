// Scaling cover art and tip pictures into their panels.
#include "controls/resamplebitmap.h"

#include <benchmark/benchmark.h>

#include <QImage>

namespace {

QImage Pattern(int w, int h)
{
    QImage image(w, h, QImage::Format_BGR888);
    for (int y = 0; y < h; ++y) {
        uchar* line = image.scanLine(y);
        for (int x = 0; x < 3 * w; ++x) {
            line[x] = static_cast<uchar>((x * 7 + y * 13) & 0xFF);
        }
    }
    return image;
}

void BM_ResampleCoverDown(benchmark::State& state)
{
    const QImage source = Pattern(1000, 1000);
    QImage target(300, 300, QImage::Format_BGR888);
    for (auto _ : state) {
        ResampleBitmap(source, target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 300 * 300);
}
BENCHMARK(BM_ResampleCoverDown);

void BM_ResampleFullScreenUp(benchmark::State& state)
{
    const QImage source = Pattern(500, 500);
    QImage target(1080, 1080, QImage::Format_BGR888);
    for (auto _ : state) {
        ResampleBitmap(source, target);
        benchmark::DoNotOptimize(target.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 1080 * 1080);
}
BENCHMARK(BM_ResampleFullScreenUp);

} // namespace
