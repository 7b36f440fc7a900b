#include "device/TLBankSnapshot.h"

#include "device/TLOrvane.h"

#include <cstring>

TLBankSnapshot TLBankSnapshot::of(const TLOrvane& orvane, int bank)
{
    const auto index = static_cast<std::size_t>(bank);
    return {bank, orvane.mSamples[index], orvane.mBankNames[index], orvane.mSampleNames[index]};
}

bool TLBankSnapshot::matches(const TLOrvane& orvane) const
{
    const auto index = static_cast<std::size_t>(bank);
    const std::vector<std::int16_t>& now = orvane.mSamples[index];
    return now.size() == samples.size()
        && std::memcmp(now.data(), samples.data(), samples.size() * sizeof(std::int16_t)) == 0
        && orvane.mBankNames[index] == bankName && orvane.mSampleNames[index] == sampleNames;
}

void TLBankSnapshot::restoreInto(TLOrvane& orvane) const
{
    const auto index = static_cast<std::size_t>(bank);
    orvane.mSamples[index] = samples;
    orvane.mBankNames[index] = bankName;
    orvane.mSampleNames[index] = sampleNames;
}
