// Building a whole bank's dump and loading one back: the work a transmission,
// a save and a load do once per bank; and keeping all seven banks in the
// recovery file, which the editor does within a second of a change (goal:
// under 10 ms, the file synced to the storage device).
#include "device/TLOrvane.h"
#include "device/TLRecoveryFile.h"

#include <benchmark/benchmark.h>

#include <filesystem>
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

void writeRecoveryOfSevenBanks(benchmark::State& state)
{
    const std::vector<std::int16_t> image = noiseImage();
    TLOrvane store(image.data());
    const std::filesystem::path file = std::filesystem::path(ORVANE_BINARY_DIR) / "bench-recovery.mid";
    const std::vector<int> banks{0, 1, 2, 3, 4, 5, 6};
    const std::vector<std::string> disks(7, "/home/someone/disks/drums.mid");
    for (auto _ : state)
        if (!TLRecoveryFile::write(file, store, banks, disks))
            state.SkipWithError("the recovery file could not be written");
    std::filesystem::remove(file);
}
BENCHMARK(writeRecoveryOfSevenBanks)->Unit(benchmark::kMillisecond);

} // namespace
