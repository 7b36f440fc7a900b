// Importing a one-hour 96 kHz stereo 16-bit WAV into a bank, with linear and
// with high-quality resampling: the bytes read from the file (read_mb), the
// import alone timed apart from the measuring (import_ms), its ratio to the
// linear import (over_linear) and how far the resident memory rose
// (peak_rss_mb). The file is ten seconds of sox-made pink noise and a sweep
// followed by silence, kept sparse on disk.

#include "device/TLFileOverview.h"
#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Resampling = TLSampleImporter::Resampling;

// Seconds per linear import, for the ratio the high-quality run reports.
double gLinearSeconds = 0.0;

void putLittleEndian(std::fstream& file, std::streamoff at, std::uint32_t value)
{
    const char bytes[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    file.seekp(at);
    file.write(bytes, 4);
}

std::string oneHourWav()
{
    const fs::path folder = fs::path(ORVANE_BINARY_DIR) / "bench-import";
    const fs::path path = folder / "one-hour-96k-stereo.wav";
    if (fs::exists(path))
        return path.string();
    fs::create_directories(folder);
    const std::string part = path.string() + ".part";
    const std::string command = "sox -V1 -R -r 96000 -n -c 2 -b 16 -t wav '" + part
        + "' synth 10 pinknoise sine 200-20000 vol 0.5";
    if (std::system(command.c_str()) != 0)
        return {};
    // sox writes a 44-byte header for 16-bit stereo; stretch its sizes to an hour.
    const std::uint32_t dataBytes = 96000U * 2 * 2 * 3600;
    {
        std::fstream file(part, std::ios::in | std::ios::out | std::ios::binary);
        putLittleEndian(file, 4, dataBytes + 36);
        putLittleEndian(file, 40, dataBytes);
    }
    fs::resize_file(part, 44 + std::uintmax_t{dataBytes});
    fs::rename(part, path);
    return path.string();
}

// Kilobytes from a "Name:   123 kB" line of /proc/self/status, or bytes from a
// "name: 123" line of /proc/self/io.
long procValue(const char* file, const std::string& name)
{
    std::ifstream status(file);
    const std::string key = name + ":";
    for (std::string line; std::getline(status, line);)
        if (line.compare(0, key.size(), key) == 0)
            return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return 0;
}

void BM_ImportOneHour96kStereo(benchmark::State& state)
{
    const std::string path = oneHourWav();
    if (path.empty()) {
        state.SkipWithError("sox could not make the file");
        return;
    }
    const auto resampling = static_cast<Resampling>(state.range(0));
    // Large blocks get their own mappings and go back to the system when
    // freed, so each import's peak shows in the resident size.
    mallopt(M_MMAP_THRESHOLD, 16 * 1024);
    mallopt(M_TRIM_THRESHOLD, 0);
    std::vector<std::int16_t> image(std::size_t{TLOrvane::kBankCount} * TLOrvane::kSamplesPerBank);
    TLOrvane orvane(image.data());
    long peakGrowth = 0;
    long readBytes = 0;
    double seconds = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        const long before = procValue("/proc/self/status", "VmRSS");
        const long readBefore = procValue("/proc/self/io", "rchar");
        std::ofstream("/proc/self/clear_refs") << "5";
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        if (TLSampleImporter::importInto(orvane, 2, path, {resampling}).status != TLImportedSound::Status::Imported)
            state.SkipWithError("the import failed");
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.PauseTiming();
        peakGrowth = std::max(peakGrowth, procValue("/proc/self/status", "VmHWM") - before);
        readBytes = procValue("/proc/self/io", "rchar") - readBefore;
        state.ResumeTiming();
    }
    seconds /= static_cast<double>(state.iterations());
    if (resampling == Resampling::Linear)
        gLinearSeconds = seconds;
    else if (gLinearSeconds > 0.0)
        state.counters["over_linear"] = seconds / gLinearSeconds;
    state.counters["import_ms"] = seconds * 1e3;
    state.counters["file_mb"] = static_cast<double>(fs::file_size(path)) / 1e6;
    state.counters["read_mb"] = static_cast<double>(readBytes) / 1e6;
    state.counters["peak_rss_mb"] = static_cast<double>(peakGrowth) / 1e3;
}

// Files that are no sound: 50 MB of zeros (raw data, its first bytes read)
// and a WAV header followed by 5 MB of zeros (refused after one pass over its
// chunks). Reading stays linear in what it looks at: each well under 0.5 s.
std::string zeroFile(const std::string& name, std::size_t zeros, const std::string& header)
{
    const fs::path path = fs::path(ORVANE_BINARY_DIR) / "bench-import" / name;
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << header;
    file.write(std::vector<char>(zeros, 0).data(), static_cast<std::streamsize>(zeros));
    return path.string();
}

void BM_ImportZeroFilled(benchmark::State& state)
{
    const bool wavHeader = state.range(0) != 0;
    const std::string path = wavHeader ? zeroFile("header-then-zeros.wav", 5'000'000, std::string("RIFF\0\0\0\0WAVE", 12))
                                       : zeroFile("zeros.bin", 50'000'000, "");
    std::vector<std::int16_t> image(std::size_t{TLOrvane::kBankCount} * TLOrvane::kSamplesPerBank);
    TLOrvane orvane(image.data());
    for (auto _ : state)
        benchmark::DoNotOptimize(TLSampleImporter::importInto(orvane, 2, path));
}

// An import with options from 50 minutes into the one-hour file (start,
// trim, normalise) against a plain import of a 2 s file at the same rate: the
// read is bounded by what the bank needs, wherever it starts, so the long
// file costs about as much as the short one (the goal: at most 3 times).
void BM_ImportWithOptions(benchmark::State& state)
{
    const bool late = state.range(0) != 0;
    std::string path = oneHourWav();
    if (!late) {
        path = (fs::path(ORVANE_BINARY_DIR) / "bench-import" / "two-seconds-96k-stereo.wav").string();
        if (!fs::exists(path) && std::system(("sox -V1 -R -r 96000 -n -c 2 -b 16 '" + path +
                                              "' synth 2 pinknoise vol 0.5").c_str()) != 0)
            path.clear();
    }
    if (path.empty()) {
        state.SkipWithError("sox could not make the file");
        return;
    }
    TLImportOptions options;
    if (late) {
        options.startSeconds = 3000.0;
        options.trimSilenceDbfs = TLImportOptions::kDefaultTrimDbfs;
        options.normalizeDbfs = TLImportOptions::kDefaultNormalizeDbfs;
    }
    std::vector<std::int16_t> image(std::size_t{TLOrvane::kBankCount} * TLOrvane::kSamplesPerBank);
    TLOrvane orvane(image.data());
    for (auto _ : state)
        benchmark::DoNotOptimize(TLSampleImporter::importInto(orvane, 2, path, options));
}

// The Import Region dialog's overview of the whole one-hour file: 2,000 columns
// of its mixed extremes (the goal: under 3 s), and how far the resident memory
// rose while reading it block by block (peak_rss_mb).
void BM_FileOverviewOneHour96kStereo(benchmark::State& state)
{
    const std::string path = oneHourWav();
    if (path.empty()) {
        state.SkipWithError("sox could not make the file");
        return;
    }
    long peakGrowth = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const long before = procValue("/proc/self/status", "VmRSS");
        std::ofstream("/proc/self/clear_refs") << "5";
        state.ResumeTiming();
        const TLFileOverview overview = TLFileOverview::read(path, 2000, std::atomic<bool>(false));
        if (!overview.complete() || overview.columns.size() != 2000)
            state.SkipWithError("the overview is incomplete");
        state.PauseTiming();
        peakGrowth = std::max(peakGrowth, procValue("/proc/self/status", "VmHWM") - before);
        state.ResumeTiming();
    }
    state.counters["file_mb"] = static_cast<double>(fs::file_size(path)) / 1e6;
    state.counters["peak_rss_mb"] = static_cast<double>(peakGrowth) / 1e3;
}

} // namespace

BENCHMARK(BM_FileOverviewOneHour96kStereo)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportWithOptions)->ArgName("late_in_one_hour")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportZeroFilled)->ArgName("wav_header")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportOneHour96kStereo)
    ->Arg(static_cast<int>(Resampling::Linear))
    ->Arg(static_cast<int>(Resampling::HighQuality))
    ->Unit(benchmark::kMillisecond);
