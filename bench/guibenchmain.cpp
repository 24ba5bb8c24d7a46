// Entry point of the benchmarks that paint widgets: a QApplication on the offscreen platform with the
// Fusion style and the palette's system colours, as the GUI tests have them.
#include "controls/qtcolor.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QStyleFactory>

#include <cstdlib>

int main(int argc, char** argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    InstallPaletteColorResolver();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
