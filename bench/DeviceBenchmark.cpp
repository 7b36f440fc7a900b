// Building a whole bank's dump and loading one back: the work a transmission,
// a save and a load do once per bank.
#include "device/TLOrvane.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

std::vector<std::int16_t> noiseImage()
{
    std::vector<std::int16_t> image(std::size_t(TLOrvane::kBankCount) * TLOrvane::kSamplesPerBank);
    std::uint32_t state = 1;
    for (std::int16_t& sample : image) {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<std::int16_t>(state >> 16);
    }
    return image;
}

void makeSampleDump(benchmark::State& state)
{
    const std::vector<std::int16_t> image = noiseImage();
    TLOrvane store(image.data());
    for (auto _ : state) {
        KTMidiEventList dump = store.makeSampleDump(3, 0);
        benchmark::DoNotOptimize(dump.data());
    }
    state.SetBytesProcessed(state.iterations() * 262150);
}
BENCHMARK(makeSampleDump)->Unit(benchmark::kMillisecond);

void loadBank(benchmark::State& state)
{
    const std::vector<std::int16_t> image = noiseImage();
    TLOrvane store(image.data());
    const KTMidiEventList dump = store.makeSampleDump(3, 0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(store.loadBank(dump, 5));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * 262150);
}
BENCHMARK(loadBank)->Unit(benchmark::kMillisecond);

} // namespace
