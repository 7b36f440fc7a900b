#include "device/TLSampleRange.h"

#include "device/TLOrvane.h"

#include <algorithm>

namespace {

constexpr std::size_t kBankLength = TLOrvane::kSamplesPerBank;

} // namespace

TLSampleRange TLSampleRange::whole()
{
    return {0, kBankLength};
}

std::optional<TLSampleRange> TLSampleRange::checked(std::int64_t begin, std::int64_t end)
{
    if (begin < 0 || begin > end || end > std::int64_t{kBankLength})
        return std::nullopt;
    return TLSampleRange{static_cast<std::size_t>(begin), static_cast<std::size_t>(end)};
}

TLSampleRange TLSampleRange::clamped() const
{
    const std::size_t last = std::min(end, kBankLength);
    return {std::min(begin, last), last};
}
