// The core work behind the two quick commands: `orvane info` of an all-banks
// disk (read, load every bank, summarise) and `orvane import` of one 2-second
// WAV into an all-banks disk (read, convert, place, write the disk).
#include "device/TLBankSummary.h"
#include "device/TLDiskReader.h"
#include "device/TLDiskWriter.h"
#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"
#include "device/TLWaveExport.h"
#include "resources/FactoryImage.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::filesystem::path scratch(const std::string& name)
{
    return std::filesystem::path(ORVANE_BINARY_DIR) / ("cli_bench_" + name);
}

void infoOfAllBanksDisk(benchmark::State& state)
{
    const std::filesystem::path disk = scratch("all.mid");
    TLOrvane factory(FactoryImage::samples());
    TLDiskWriter::save(factory, TLDiskShape::AllBanks, 0, disk);
    for (auto _ : state) {
        TLOrvane orvane(FactoryImage::samples());
        const TLDiskContents contents = TLDiskReader::read(disk, orvane);
        for (const TLDiskTrack* track : contents.bankTracks()) {
            orvane.loadBank(track->events, track->detectedBank);
            benchmark::DoNotOptimize(TLBankSummary::of(orvane.mSamples[std::size_t(track->detectedBank)]));
        }
    }
}
BENCHMARK(infoOfAllBanksDisk)->Unit(benchmark::kMillisecond);

void importTwoSecondWave(benchmark::State& state)
{
    const std::filesystem::path wave = scratch("tone.wav");
    const std::filesystem::path disk = scratch("import.mid");
    std::vector<std::int16_t> tone(88200);
    for (std::size_t i = 0; i < tone.size(); ++i)
        tone[i] = static_cast<std::int16_t>(16000 * std::sin(0.0627 * static_cast<double>(i)));
    TLWaveExport::write(wave, tone);
    for (auto _ : state) {
        TLOrvane orvane(FactoryImage::samples());
        TLSampleImporter::importInto(orvane, 2, wave);
        benchmark::DoNotOptimize(TLDiskWriter::save(orvane, TLDiskShape::AllBanks, 2, disk));
    }
}
BENCHMARK(importTwoSecondWave)->Unit(benchmark::kMillisecond);

} // namespace
