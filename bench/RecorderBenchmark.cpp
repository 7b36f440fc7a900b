// Recording a bank from a stereo input that delivers its frames in real time,
// 10 ms at a time (as the ALSA device's periods do): how far a level trails
// the oldest frame it measures (max_lag_ms, mean_lag_ms), how far the resident
// memory rose while recording (peak_rss_kb) and the processor time a bank
// costs (cpu_ms).

#include "bench/ProcessMemory.h"
#include "audioin/KTAudioRecorder.h"
#include "tests/support/KTScriptedAudioInput.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double cpuMilliseconds()
{
    rusage usage = {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec;
    return double(seconds) * 1e3 + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

void BM_RecordBankInRealTime(benchmark::State& state)
{
    double maxLag = 0.0, lagSum = 0.0, cpu = 0.0;
    long levels = 0, peakGrowth = 0;
    for (auto _ : state) {
        KTScriptedAudioInput input;
        input.mChannels = 2;
        input.mPaced = true;
        for (int i = 0; i < 2 * 66000; ++i)
            input.mSignal.push_back(static_cast<std::int16_t>(i * 7919 % 50000 - 25000));
        const long before = ProcessMemory::kilobytes("VmRSS");
        ProcessMemory::resetPeak();
        std::ofstream("/proc/self/clear_refs") << "5";
        const double cpuBefore = cpuMilliseconds();
        long block = 0;
        KTAudioRecorder recorder(input);
        recorder.start({}, {[&](const KTAudioRecorder::Progress&) {
                                // The level's oldest frame was captured at block * 20 ms after open.
                                const auto oldest = input.mOpenedAt + std::chrono::microseconds(block++ * 20000);
                                const std::chrono::duration<double, std::milli> lag = Clock::now() - oldest;
                                maxLag = std::max(maxLag, lag.count());
                                lagSum += lag.count();
                                ++levels;
                            },
                            nullptr});
        recorder.wait();
        cpu += cpuMilliseconds() - cpuBefore;
        peakGrowth = std::max(peakGrowth, ProcessMemory::kilobytes("VmHWM") - before);
    }
    state.counters["max_lag_ms"] = maxLag;
    state.counters["mean_lag_ms"] = lagSum / static_cast<double>(std::max(1L, levels));
    state.counters["peak_rss_kb"] = static_cast<double>(peakGrowth);
    state.counters["cpu_ms"] = cpu / static_cast<double>(state.iterations());
}

} // namespace

BENCHMARK(BM_RecordBankInRealTime)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
