// Reading and converting a 10-minute stereo 24-bit 48 kHz WAV to the bank's
// format (44,100 Hz, mono, 16-bit), against sox doing the same conversion.
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>

namespace {

const std::string kFolder = std::string(ORVANE_BINARY_DIR) + "/bench-audio";
const std::string kSource = kFolder + "/ten-minutes-48k-24bit-stereo.wav";
const std::string kSoxOutput = kFolder + "/sox-44k-16bit-mono.wav";

// Mean seconds per conversion by our code, for the ratio reported with sox.
double gOurSeconds = 0.0;

bool ensureSource()
{
    if (std::filesystem::exists(kSource))
        return true;
    std::filesystem::create_directories(kFolder);
    const std::string command =
        "sox -V1 -n -r 48000 -c 2 -b 24 -t wav " + kSource + " synth 600 sine 440 sine 660 vol 0.8";
    return std::system(command.c_str()) == 0;
}

double peakResidentMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void BM_ReadAndConvertTenMinutes(benchmark::State& state)
{
    if (!ensureSource()) {
        state.SkipWithError("sox could not make the source file");
        return;
    }
    const KTSampleConverter converter(44100.0, 1, 16, false);
    std::size_t outputBytes = 0;
    for (auto _ : state) {
        KTWaveFileReader reader(kSource.c_str());
        const KTSample source = reader.readSample(0);
        KTSample imported;
        converter.convert(imported, source);
        outputBytes = imported.size();
        benchmark::DoNotOptimize(imported.data());
    }
    state.counters["output_MB"] = static_cast<double>(outputBytes) / 1e6;
    state.counters["peak_rss_MB"] = peakResidentMegabytes();
}

void BM_ConvertTenMinutesWithSourceByteLimit(benchmark::State& state)
{
    if (!ensureSource()) {
        state.SkipWithError("sox could not make the source file");
        return;
    }
    const KTSampleConverter converter(44100.0, 1, 16, false);
    for (auto _ : state) {
        KTWaveFileReader reader(kSource.c_str());
        const KTSample source = reader.readSample(converter.sourceByteLimit(reader.readFormat(), 65536));
        KTSample imported;
        converter.convert(imported, source, 65536);
        benchmark::DoNotOptimize(imported.data());
    }
}

void BM_SoxConvertTenMinutes(benchmark::State& state)
{
    if (!ensureSource()) {
        state.SkipWithError("sox could not make the source file");
        return;
    }
    const std::string command = "sox -V1 " + kSource + " -r 44100 -c 1 -b 16 " + kSoxOutput;
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("sox failed");
            return;
        }
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double soxSeconds = total / static_cast<double>(state.iterations());
    state.counters["sox_s"] = soxSeconds;
    if (gOurSeconds > 0.0)
        state.counters["ours_over_sox"] = gOurSeconds / soxSeconds;
}

// Times our conversion once more outside the framework so the sox benchmark,
// which runs after it, can report the ratio of the two in the same run.
void BM_OurConversionReference(benchmark::State& state)
{
    if (!ensureSource()) {
        state.SkipWithError("sox could not make the source file");
        return;
    }
    const KTSampleConverter converter(44100.0, 1, 16, false);
    double total = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        KTWaveFileReader reader(kSource.c_str());
        const KTSample source = reader.readSample(0);
        KTSample imported;
        converter.convert(imported, source);
        benchmark::DoNotOptimize(imported.data());
        total += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    gOurSeconds = total / static_cast<double>(state.iterations());
    state.counters["ours_s"] = gOurSeconds;
}

} // namespace

BENCHMARK(BM_ReadAndConvertTenMinutes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ConvertTenMinutesWithSourceByteLimit)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OurConversionReference)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_SoxConvertTenMinutes)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
