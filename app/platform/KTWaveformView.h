#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A picture of one bank's samples, with a playhead while the bank is heard.
class KTWaveformView {
public:
    virtual ~KTWaveformView() = default;
    // Shows these samples in place of the ones shown before.
    virtual void setSamples(const std::vector<std::int16_t>& samples) = 0;
    // Marks the sample being heard, or none.
    virtual void setPlayhead(std::optional<std::size_t> sample) = 0;
};
