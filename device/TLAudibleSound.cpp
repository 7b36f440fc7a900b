#include "device/TLAudibleSound.h"


TLSampleRange TLAudibleSound::rangeOf(const std::vector<std::int16_t>& bank)
{
    std::size_t end = bank.size();
    while (end > 0 && bank.data()[end - 1] == 0)
        --end;
    return {0, end};
}

std::vector<std::int16_t> TLAudibleSound::samplesOf(const std::vector<std::int16_t>& bank,
                                                    std::optional<TLSampleRange> range)
{
    const TLSampleRange chosen = range.value_or(rangeOf(bank));
    const std::size_t end = std::min(chosen.end, bank.size());
    const std::size_t begin = std::min(chosen.begin, end);
    return {bank.begin() + static_cast<std::ptrdiff_t>(begin), bank.begin() + static_cast<std::ptrdiff_t>(end)};
}
