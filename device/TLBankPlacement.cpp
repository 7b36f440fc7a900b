#include "device/TLBankPlacement.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Brings the sample `k` places before the end of the sound down by 16 - k
// bits, keeping its sign; the last one always becomes 0.
std::int16_t faded(std::int16_t sample, int k)
{
    const int value = std::max<int>(sample, -32767);
    const int magnitude = std::abs(value) >> (16 - k);
    return static_cast<std::int16_t>(value < 0 ? -magnitude : magnitude);
}

} // namespace

void TLBankPlacement::fit(std::vector<std::int16_t>& bank)
{
    bank.resize(kBankLength);
}

void TLBankPlacement::place(std::vector<std::int16_t>& bank, const std::int16_t* sound, std::size_t count)
{
    fit(bank);
    const std::size_t placed = std::min(count, kBankLength);
    // Copied as bytes: the sound may be an imported byte buffer, or overlap the bank.
    if (placed > 0)
        std::memmove(bank.data(), sound, placed * sizeof(std::int16_t));
    std::fill(bank.begin() + static_cast<std::ptrdiff_t>(placed), bank.end(), std::int16_t{0});
    bank[0] = 0;
    // A very short sound fades only the samples it has.
    for (int k = std::min<int>(kFadeLength, static_cast<int>(placed)); k >= 1; --k) {
        std::int16_t& sample = bank[placed - static_cast<std::size_t>(k)];
        sample = faded(sample, k);
    }
}
