#pragma once

#include "midi/KTBuffer.h"

// An 80-bit IEEE 754 extended value, big-endian, as AIFF stores its sample rate.
class KTFloat80 : public KTBuffer {
public:
    static constexpr std::size_t kSize = 10;

    KTFloat80();
    KTFloat80(const KTFloat80&) = default;
    KTFloat80(KTFloat80&&) noexcept = default;
    KTFloat80& operator=(const KTFloat80&) = default;
    KTFloat80& operator=(KTFloat80&&) noexcept = default;
    ~KTFloat80() override;

    // Exact for normal values in the double's range, truncated toward zero.
    // Bytes missing after a short read count as zero.
    double toDouble() const;
};
