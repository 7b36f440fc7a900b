// Each sound operation on a full bank: the work one edit does. Every pass first copies the bank back, so each
// edits the same sound; the copy row shows what that copy costs alone.
#include "device/TLSoundOperations.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

using Bank = TLSoundOperations::Bank;
using Ops = TLSoundOperations;
constexpr TLSampleRange kMiddle{16384, 49152};

// Noise at half scale, so a gain of 6 dB clips about half of it.
Bank noise()
{
    Bank bank(TLSampleRange::whole().size());
    std::uint32_t state = 1;
    for (std::int16_t& sample : bank) {
        state = state * 1664525u + 1013904223u;
        sample = static_cast<std::int16_t>(static_cast<std::int16_t>(state >> 16) / 2);
    }
    return bank;
}

// Noise whose first half stays below -50 dBFS: trimming searches half the bank and moves the other half.
Bank quietFirstHalf()
{
    Bank bank = noise();
    std::for_each(bank.begin(), bank.begin() + 32768, [](std::int16_t& sample) { sample /= 1024; });
    return bank;
}

// A constant offset: no zero crossing anywhere, so snapping searches the whole bank from both edges.
Bank noCrossing()
{
    return Bank(TLSampleRange::whole().size(), 1000);
}

void edit(benchmark::State& state, Bank (*make)(), void (*operation)(Bank&))
{
    const Bank source = make();
    Bank bank = source;
    for (auto _ : state) {
        std::copy(source.begin(), source.end(), bank.begin());
        operation(bank);
        benchmark::DoNotOptimize(bank.data());
        benchmark::ClobberMemory();
    }
}

void snap(benchmark::State& state, Bank (*make)())
{
    const Bank bank = make();
    for (auto _ : state)
        benchmark::DoNotOptimize(Ops::snapToZeroCrossings(bank, kMiddle));
}

} // namespace

BENCHMARK_CAPTURE(edit, copyOnly, noise, [](Bank&) {})->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, crop, noise, [](Bank& b) { Ops::crop(b, kMiddle); })->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, erase, noise, [](Bank& b) { Ops::erase(b, kMiddle); })->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, silence, noise, [](Bank& b) { Ops::silence(b, TLSampleRange::whole()); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, gain, noise, [](Bank& b) { Ops::gain(b, TLSampleRange::whole(), 6.0); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, normalize, noise, [](Bank& b) { Ops::normalize(b, TLSampleRange::whole()); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, fadeIn, noise, [](Bank& b) { Ops::fadeIn(b, TLSampleRange::whole()); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, fadeOut, noise, [](Bank& b) { Ops::fadeOut(b, TLSampleRange::whole()); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, reverse, noise, [](Bank& b) { Ops::reverse(b, TLSampleRange::whole()); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, removeDc, noise, [](Bank& b) { Ops::removeDc(b, TLSampleRange::whole()); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(edit, trimLeadingSilence, quietFirstHalf,
                  [](Bank& b) { Ops::trimLeadingSilence(b, TLSampleRange::whole()); })
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(snap, snapToZeroCrossings, noCrossing)->Unit(benchmark::kMicrosecond);
