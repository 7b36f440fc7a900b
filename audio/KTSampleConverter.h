#pragma once

#include "audio/KTSample.h"

#include <cstdint>

// Converts a KTSample to a target format in four stages: channels, rate,
// bits, sign. A plain record; its fields never change while it converts.
class KTSampleConverter {
public:
    // How the rate stage fills in frames between the source's: straight lines
    // between neighbours, or libsoxr's band-limited filter.
    enum class Resampling { Linear, HighQuality };

    KTSampleConverter() = default;
    // The unsigned flag forces 8 bits.
    KTSampleConverter(double sampleRate, std::uint16_t channels, std::uint16_t bits, bool isUnsigned,
                      Resampling resampling = Resampling::Linear);

    // Runs all four stages. With a frame limit other than 0 the rate stage
    // stops after that many frames; those frames equal the unlimited result's
    // (with high quality up to the last bit, where the filter's blocks round
    // differently).
    KTSample& convert(KTSample& destination, const KTSample& source) const;
    KTSample& convert(KTSample& destination, const KTSample& source, std::uint64_t frameLimit) const;

    // Mixes every frame to the average of its channels, in every target channel.
    KTSample& convertChannels(KTSample& destination, const KTSample& source) const;
    // Converts to the target rate by the converter's resampling. Both ways
    // give the same number of frames, and equal rates an exact copy. High
    // quality starts the filter as if the first frame had always been there
    // and the last one went on, so neither end rings; rates libsoxr refuses
    // are converted linearly.
    KTSample& convertRate(KTSample& destination, const KTSample& source, std::uint64_t frameLimit = 0) const;
    // Scales to the target size; an unsigned source loses its offset when widened.
    KTSample& convertBits(KTSample& destination, const KTSample& source) const;
    // Adds the offset for an unsigned target, removes it from an unsigned source.
    KTSample& convertSign(KTSample& destination, const KTSample& source) const;

    // The number of sound-data bytes a reader must deliver, for a file of the
    // given format, so that the first `targetFrames` converted frames are the
    // same as converting the whole file: the source frames the rate stage
    // interpolates from, plus the one after the last, plus for high quality
    // the source the filter reaches beyond. 0 means the whole file.
    std::uint64_t sourceByteLimit(const KTSample& format, std::uint64_t targetFrames) const;

    double mSampleRate = 44100.0;
    std::uint16_t mChannels = 2;
    std::uint16_t mBitsPerSample = 16;
    bool mIsUnsigned = false;
    Resampling mResampling = Resampling::Linear;

private:
    // The high-quality rate stage into an already sized destination; false
    // when libsoxr cannot do it.
    bool resampleBandLimited(KTSample& destination, const KTSample& source) const;
};
