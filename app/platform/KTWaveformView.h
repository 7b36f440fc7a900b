#pragma once

#include "device/TLSampleRange.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// A picture of one bank's samples, with a playhead while the bank is heard, and
// the place where the user chooses a range of the bank or a point in it.
class KTWaveformView {
public:
    virtual ~KTWaveformView() = default;
    // Shows these samples in place of the ones shown before; the selection and
    // the cursor are cut to the new length.
    virtual void setSamples(const std::vector<std::int16_t>& samples) = 0;
    // Marks the sample being heard, or none.
    virtual void setPlayhead(std::optional<std::size_t> sample) = 0;
    // The range the user selected; none when nothing is selected (never an empty range).
    virtual std::optional<TLSampleRange> selection() const = 0;
    // Selects the range (cut to the samples shown), or clears the selection; an
    // empty range clears it.
    virtual void setSelection(std::optional<TLSampleRange> range) = 0;
    // Where a paste without a selection goes: the point the user last clicked or
    // moved to, 0 at first.
    virtual std::size_t cursor() const = 0;
};
