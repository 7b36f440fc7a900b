// A full bank shown in the waveform view: columns made and painted, as after an
// import, load, reset or undo; and a repaint of the whole bank and of a zoomed
// part (8,192 samples across the width), each with a selection, as while the
// user selects or the playhead runs. Off screen, into an image of the view's size.

#include "app/platform/qt/KTQtWaveformView.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

namespace {

void application()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "WaveformBenchmark";
    static char* argv[] = {name, nullptr};
    static QApplication application(argc, argv);
}

std::vector<std::int16_t> loudBank()
{
    std::vector<std::int16_t> bank(65536);
    for (std::size_t i = 0; i < bank.size(); ++i)
        bank[i] = static_cast<std::int16_t>(30000 * std::sin(i * 0.031) * std::cos(i * 0.0007));
    return bank;
}

void BM_WaveformRepaintFullBank(benchmark::State& state)
{
    application();
    const std::vector<std::int16_t> bank = loudBank();
    KTQtWaveformView view;
    view.resize(static_cast<int>(state.range(0)), 160);
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        view.setSamples(bank);
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_WaveformRepaintFullBank)->Arg(968)->Arg(1920)->Unit(benchmark::kMicrosecond);

void BM_WaveformRepaintWithSelection(benchmark::State& state)
{
    application();
    KTQtWaveformView view;
    view.resize(1920, 160);
    view.setSamples(loudBank());
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    view.render(&image);
    view.setSelection(TLSampleRange{30000, 34000});
    for (int step = 0; step < state.range(0); ++step)
        view.zoomIn();
    for (auto _ : state) {
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["samples_shown"] = static_cast<double>(view.visibleRange().size());
}
BENCHMARK(BM_WaveformRepaintWithSelection)->ArgName("zoom_steps")->Arg(0)->Arg(3)->Unit(benchmark::kMicrosecond);

} // namespace
