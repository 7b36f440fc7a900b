#include "device/TLBankSnapshot.h"

#include "device/TLOrvane.h"

TLBankSnapshot TLBankSnapshot::of(const TLOrvane& orvane, int bank)
{
    const auto index = static_cast<std::size_t>(bank);
    return {bank, orvane.mSamples[index], orvane.mBankNames[index], orvane.mSampleNames[index]};
}

void TLBankSnapshot::restoreInto(TLOrvane& orvane) const
{
    const auto index = static_cast<std::size_t>(bank);
    orvane.mSamples[index] = samples;
    orvane.mBankNames[index] = bankName;
    orvane.mSampleNames[index] = sampleNames;
}
