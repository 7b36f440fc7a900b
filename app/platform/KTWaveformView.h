#pragma once

#include <cstdint>
#include <vector>

// A picture of one bank's samples.
class KTWaveformView {
public:
    virtual ~KTWaveformView() = default;
    // Shows these samples in place of the ones shown before.
    virtual void setSamples(const std::vector<std::int16_t>& samples) = 0;
};
