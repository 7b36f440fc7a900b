#include "device/TLBankSummary.h"

#include "device/TLOrvane.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

TLBankSummary TLBankSummary::of(const std::vector<std::int16_t>& samples)
{
    TLBankSummary summary;
    const auto last = std::find_if(samples.rbegin(), samples.rend(), [](std::int16_t s) { return s != 0; });
    summary.length = static_cast<std::size_t>(samples.rend() - last);
    for (std::int16_t sample : samples)
        summary.peak = std::max(summary.peak, std::abs(static_cast<int>(sample)));
    return summary;
}

double TLBankSummary::seconds() const
{
    return static_cast<double>(length) / TLOrvane::kSampleRate;
}

double TLBankSummary::peakDbfs() const
{
    if (peak == 0)
        return -std::numeric_limits<double>::infinity();
    return 20.0 * std::log10(static_cast<double>(peak) / 32768.0);
}
