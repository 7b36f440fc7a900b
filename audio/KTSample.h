#pragma once

#include "midi/KTBuffer.h"

#include <cstdint>

// PCM sample frames, interleaved, least significant byte first, with their format.
class KTSample : public KTBuffer {
public:
    KTSample() = default;
    KTSample(const KTSample&) = default;
    KTSample(KTSample&&) noexcept = default;
    KTSample& operator=(const KTSample&) = default;
    KTSample& operator=(KTSample&&) noexcept = default;
    ~KTSample() override;

    // Sets all six format fields together; the unsigned flag forces 8 bits.
    void setFormat(double sampleRate, std::uint16_t channels, std::uint16_t bits, bool isUnsigned);

    // The record a reader returns when the file has no usable format:
    // no data, rate 0, 0 channels, 0 bits, 0 bytes per sample, shift 64.
    static KTSample withoutFormat();

    double mSampleRate = 44100.0;
    std::uint16_t mChannels = 2;
    std::uint16_t mBitsPerSample = 16;
    std::uint16_t mBytesPerSample = 2;
    std::uint16_t mSignShift = 48;
    bool mIsUnsigned = false;
};
