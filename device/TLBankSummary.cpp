#include "device/TLBankSummary.h"

#include "device/TLOrvane.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

TLBankSummary TLBankSummary::of(const std::vector<std::int16_t>& samples)
{
    TLBankSummary summary;
    const std::int16_t* data = samples.data();
    std::size_t length = samples.size();
    while (length > 0 && data[length - 1] == 0)
        --length;
    summary.length = length;
    int peak = 0;
    for (std::size_t i = 0; i < length; ++i)
        peak = std::max(peak, std::abs(static_cast<int>(data[i])));
    summary.peak = peak;
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
