#include "audio/KTSample.h"

#include <cmath>

KTSample::~KTSample() = default;

void KTSample::setFormat(double sampleRate, std::uint16_t channels, std::uint16_t bits, bool isUnsigned)
{
    mSampleRate = sampleRate;
    mChannels = channels;
    mIsUnsigned = isUnsigned;
    mBitsPerSample = isUnsigned ? 8 : bits;
    mBytesPerSample = static_cast<std::uint16_t>(std::ceil(mBitsPerSample * 0.125));
    // Samples wider than 8 bytes cannot be sign-extended in 64 bits; their
    // shift is meaningless and kept at 0 rather than wrapping around.
    mSignShift = mBytesPerSample <= 8 ? static_cast<std::uint16_t>(64 - 8 * mBytesPerSample) : 0;
}

KTSample KTSample::withoutFormat()
{
    KTSample sample;
    sample.setFormat(0.0, 0, 0, false);
    return sample;
}
