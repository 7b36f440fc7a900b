#include "device/TLSoundOperations.h"

#include "device/TLBankPlacement.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numeric>

namespace {

using Bank = TLSoundOperations::Bank;
constexpr std::size_t kBankLength = TLBankPlacement::kBankLength;
constexpr double kFullScale = 32768.0;
constexpr double kNormalizedPeak = 32767.0;

Bank::iterator at(Bank& bank, std::size_t index)
{
    return bank.begin() + static_cast<std::ptrdiff_t>(index);
}

// The bank at its full length, and the part of the range inside it.
TLSampleRange prepared(Bank& bank, TLSampleRange range)
{
    TLBankPlacement::fit(bank);
    return range.clamped();
}

double amplitudeOf(double db)
{
    return std::pow(10.0, db / 20.0);
}

std::int16_t clipped(std::int64_t value)
{
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, -32768, 32767));
}

// Multiplies the range by factor (0 to infinity); returns how many samples clipped.
std::size_t scaled(Bank& bank, TLSampleRange range, double factor)
{
    std::size_t clips = 0;
    for (auto sample = at(bank, range.begin); sample != at(bank, range.end); ++sample) {
        // Silence stays silent at any gain (and 0 times infinity is no number).
        if (*sample == 0)
            continue;
        const double value = *sample * factor;
        const bool beyond = value >= 32767.5 || value <= -32768.5;
        clips += beyond;
        *sample = beyond ? (value > 0 ? std::int16_t{32767} : std::int16_t{-32768})
                         : static_cast<std::int16_t>(std::lround(value));
    }
    return clips;
}

// Multiplies the sample `step` places into a fade of `steps` steps by step / steps.
std::int16_t faded(std::int16_t sample, std::size_t step, std::size_t steps)
{
    return static_cast<std::int16_t>(std::lround(double(sample) * double(step) / double(steps)));
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
    range = prepared(bank, range);
    if (range.empty() || range.size() == kBankLength)
        return;
    TLBankPlacement::place(bank, bank.data() + range.begin, range.size());
}

void TLSoundOperations::erase(Bank& bank, TLSampleRange range)
{
    range = prepared(bank, range);
    if (range.empty())
        return;
    std::move(at(bank, range.end), bank.end(), at(bank, range.begin));
    TLBankPlacement::place(bank, bank.data(), kBankLength - range.size());
}

void TLSoundOperations::silence(Bank& bank, TLSampleRange range)
{
    range = prepared(bank, range);
    std::fill(at(bank, range.begin), at(bank, range.end), std::int16_t{0});
}

std::size_t TLSoundOperations::gain(Bank& bank, TLSampleRange range, double db)
{
    range = prepared(bank, range);
    if (std::isnan(db))
        return 0;
    return scaled(bank, range, amplitudeOf(db));
}

std::size_t TLSoundOperations::normalize(Bank& bank, TLSampleRange range, double peakDbfs)
{
    range = prepared(bank, range);
    int peak = 0;
    for (auto sample = at(bank, range.begin); sample != at(bank, range.end); ++sample)
        peak = std::max(peak, std::abs(int{*sample}));
    if (peak == 0 || std::isnan(peakDbfs))
        return 0;
    return scaled(bank, range, kNormalizedPeak * amplitudeOf(peakDbfs) / peak);
}

void TLSoundOperations::fadeIn(Bank& bank, TLSampleRange range)
{
    range = prepared(bank, range);
    for (std::size_t i = 0; i < range.size(); ++i)
        bank[range.begin + i] = faded(bank[range.begin + i], i, range.size());
}

void TLSoundOperations::fadeOut(Bank& bank, TLSampleRange range)
{
    range = prepared(bank, range);
    for (std::size_t i = 0; i < range.size(); ++i)
        bank[range.begin + i] = faded(bank[range.begin + i], range.size() - 1 - i, range.size());
}

void TLSoundOperations::reverse(Bank& bank, TLSampleRange range)
{
    range = prepared(bank, range);
    std::reverse(at(bank, range.begin), at(bank, range.end));
}

void TLSoundOperations::removeDc(Bank& bank, TLSampleRange range)
{
    range = prepared(bank, range);
    if (range.empty())
        return;
    const std::int64_t sum = std::accumulate(at(bank, range.begin), at(bank, range.end), std::int64_t{0});
    const std::int64_t mean = std::llround(double(sum) / double(range.size()));
    for (auto sample = at(bank, range.begin); sample != at(bank, range.end); ++sample)
        *sample = clipped(*sample - mean);
}

std::size_t TLSoundOperations::trimLeadingSilence(Bank& bank, TLSampleRange range, double thresholdDbfs)
{
    range = prepared(bank, range);
    const double threshold = kFullScale * amplitudeOf(thresholdDbfs);
    const auto loud = std::find_if_not(at(bank, range.begin), at(bank, range.end),
                                       [threshold](std::int16_t sample) { return std::abs(int{sample}) < threshold; });
    const auto removed = static_cast<std::size_t>(loud - at(bank, range.begin));
    erase(bank, {range.begin, range.begin + removed});
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
