#include "device/TLSoundOperations.h"

#include "device/TLBankPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <span>

namespace {

using Bank = TLSoundOperations::Bank;
constexpr std::size_t kBankLength = TLBankPlacement::kBankLength;
constexpr double kFullScale = 32768.0;
constexpr double kNormalizedPeak = 32767.0;

// Gives the bank its full length and returns the part of the range inside it: every operation that
// changes a bank reaches its samples only through here.
std::span<std::int16_t> part(Bank& bank, TLSampleRange range)
{
    TLBankPlacement::fit(bank);
    range = range.clamped();
    return {bank.data() + range.begin, range.size()};
}

// Removes first to last from the bank, moving the rest up, and places the samples kept.
void removeSamples(Bank& bank, std::int16_t* first, std::int16_t* last)
{
    if (first == last)
        return;
    const std::int16_t* kept = std::move(last, bank.data() + kBankLength, first);
    TLBankPlacement::place(bank, bank.data(), static_cast<std::size_t>(kept - bank.data()));
}

double amplitudeOf(double db)
{
    return std::pow(10.0, db / 20.0);
}

// value (of magnitude below 2^31) rounded to the nearest integer, halves away from zero, as std::lround
// does but without its call, so these loops vectorise: adding the largest double below one half, toward
// value's sign, and truncating is exact at this magnitude.
int rounded(double value)
{
    return static_cast<int>(value + std::copysign(0.49999999999999994, value));
}

std::int16_t clipped(int value)
{
    return static_cast<std::int16_t>(std::clamp(value, -32768, 32767));
}

// Multiplies the samples by factor (0 to infinity); returns how many clipped.
std::size_t scaled(std::span<std::int16_t> samples, double factor)
{
    // Any factor from 65536 up clips every sample but silence alike. Capped there, every product fits an
    // int, and 0 times infinity (no number) stays out.
    factor = std::min(factor, 65536.0);
    std::size_t clips = 0;
    for (std::int16_t& sample : samples) {
        const int value = rounded(sample * factor);
        clips += (value > 32767) | (value < -32768);
        sample = clipped(value);
    }
    return clips;
}

// Scales the samples linearly: the sample i places in, of n, by i / n rising and by (n - 1 - i) / n falling.
void faded(std::span<std::int16_t> samples, bool rising)
{
    // At most a bank's length, so int holds every step, which vectorises better.
    const int n = static_cast<int>(samples.size());
    for (int i = 0; i < n; ++i) {
        const int step = rising ? i : n - 1 - i;
        std::int16_t& sample = samples[static_cast<std::size_t>(i)];
        sample = static_cast<std::int16_t>(rounded(sample * double(step) / n));
    }
}

bool crossesZero(const Bank& bank, std::size_t boundary)
{
    return bank[boundary - 1] * bank[boundary] <= 0;
}

// The zero crossing nearest to edge, the one on the preferred side on a tie;
// edge itself at the bank's ends or when the bank has no crossing.
std::size_t nearestCrossing(const Bank& bank, std::size_t length, std::size_t edge, bool preferLater)
{
    if (edge == 0 || edge >= length)
        return edge;
    for (std::size_t distance = 0; distance < length; ++distance) {
        const bool earlierInside = edge - 1 >= distance;
        const bool laterInside = edge + distance < length;
        if (!earlierInside && !laterInside)
            break;
        const bool earlier = earlierInside && crossesZero(bank, edge - distance);
        const bool later = laterInside && crossesZero(bank, edge + distance);
        if (earlier && !(preferLater && later))
            return edge - distance;
        if (later)
            return edge + distance;
    }
    return edge;
}

} // namespace

void TLSoundOperations::crop(Bank& bank, TLSampleRange range)
{
    const auto samples = part(bank, range);
    if (!samples.empty() && samples.size() < kBankLength)
        TLBankPlacement::place(bank, samples.data(), samples.size());
}

void TLSoundOperations::erase(Bank& bank, TLSampleRange range)
{
    const auto samples = part(bank, range);
    removeSamples(bank, samples.data(), samples.data() + samples.size());
}

void TLSoundOperations::silence(Bank& bank, TLSampleRange range)
{
    std::ranges::fill(part(bank, range), std::int16_t{0});
}

std::size_t TLSoundOperations::gain(Bank& bank, TLSampleRange range, double db)
{
    const auto samples = part(bank, range);
    return std::isnan(db) ? 0 : scaled(samples, amplitudeOf(db));
}

std::size_t TLSoundOperations::normalize(Bank& bank, TLSampleRange range, double peakDbfs)
{
    const auto samples = part(bank, range);
    int peak = 0;
    for (std::int16_t sample : samples)
        peak = std::max(peak, std::abs(int{sample}));
    if (peak == 0 || std::isnan(peakDbfs))
        return 0;
    return scaled(samples, kNormalizedPeak * amplitudeOf(peakDbfs) / peak);
}

void TLSoundOperations::fadeIn(Bank& bank, TLSampleRange range)
{
    faded(part(bank, range), true);
}

void TLSoundOperations::fadeOut(Bank& bank, TLSampleRange range)
{
    faded(part(bank, range), false);
}

void TLSoundOperations::reverse(Bank& bank, TLSampleRange range)
{
    std::ranges::reverse(part(bank, range));
}

void TLSoundOperations::removeDc(Bank& bank, TLSampleRange range)
{
    const auto samples = part(bank, range);
    if (samples.empty())
        return;
    const std::int64_t sum = std::accumulate(samples.begin(), samples.end(), std::int64_t{0});
    const int mean = static_cast<int>(std::lround(double(sum) / double(samples.size())));
    for (std::int16_t& sample : samples)
        sample = clipped(sample - mean);
}

std::size_t TLSoundOperations::trimLeadingSilence(Bank& bank, TLSampleRange range, double thresholdDbfs)
{
    const auto samples = part(bank, range);
    const double threshold = kFullScale * amplitudeOf(thresholdDbfs);
    const auto loud = std::ranges::find_if_not(samples, [threshold](int s) { return std::abs(s) < threshold; });
    const auto removed = static_cast<std::size_t>(loud - samples.begin());
    removeSamples(bank, samples.data(), samples.data() + removed);
    return removed;
}

TLSampleRange TLSoundOperations::snapToZeroCrossings(const Bank& bank, TLSampleRange range)
{
    const std::size_t length = std::min(bank.size(), kBankLength);
    const std::size_t end = std::min(range.end, length);
    range = {std::min(range.begin, end), end};
    if (range.empty())
        return range;
    return {nearestCrossing(bank, length, range.begin, false), nearestCrossing(bank, length, range.end, true)};
}

std::size_t TLSoundOperations::paste(Bank& bank, TLSampleRange range, const std::vector<std::int16_t>& sound)
{
    const std::span<std::int16_t> replaced = part(bank, range);
    const auto begin = static_cast<std::size_t>(replaced.data() - bank.data());
    // The bank's sound as it will run: before the range, the sound, after it.
    std::vector<std::int16_t> joined(bank.begin(), bank.begin() + static_cast<std::ptrdiff_t>(begin));
    joined.insert(joined.end(), sound.begin(), sound.end());
    const std::size_t after = begin + replaced.size();
    // Only the audible rest counts as cut: trailing silence is no loss.
    std::size_t end = kBankLength;
    while (end > after && bank[end - 1] == 0)
        --end;
    joined.insert(joined.end(), bank.begin() + static_cast<std::ptrdiff_t>(after),
                  bank.begin() + static_cast<std::ptrdiff_t>(end));
    const std::size_t cut = joined.size() > kBankLength ? joined.size() - kBankLength : 0;
    TLBankPlacement::place(bank, joined.data(), joined.size() - cut);
    return cut;
}
