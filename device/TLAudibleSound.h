#pragma once

#include "device/TLSampleRange.h"

#include <cstdint>
#include <optional>
#include <vector>

// What of a bank is worth hearing or exporting alone: from its first sample up
// to its last non-zero one (the silence that fills the rest of the bank is
// left out), or a chosen range.
class TLAudibleSound {
public:
    // [0, last non-zero sample + 1); empty for a silent bank.
    static TLSampleRange rangeOf(const std::vector<std::int16_t>& bank);
    // The samples of the range, or of the audible range when none is given.
    static std::vector<std::int16_t> samplesOf(const std::vector<std::int16_t>& bank,
                                               std::optional<TLSampleRange> range = std::nullopt);
};
