#include "audio/KTChannelChoice.h"

#include "audio/KTSampleConverter.h"

#include <algorithm>

KTSample& KTChannelChoice::toMono(KTSample& destination, const KTSample& source, Channel channel)
{
    if (channel == Channel::Mix || source.mChannels < 2) {
        const KTSampleConverter mixer(source.mSampleRate, 1, source.mBitsPerSample, source.mIsUnsigned);
        return mixer.convertChannels(destination, source);
    }
    destination.setFormat(source.mSampleRate, 1, source.mBitsPerSample, source.mIsUnsigned);
    const std::size_t width = source.mBytesPerSample;
    const std::size_t frameBytes = width * source.mChannels;
    const std::size_t side = channel == Channel::Left ? 0 : 1;
    const std::size_t frames = frameBytes == 0 ? 0 : source.size() / frameBytes;
    destination.resize(frames * width);
    for (std::size_t f = 0; f < frames; ++f)
        std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(f * frameBytes + side * width), width,
                    destination.begin() + static_cast<std::ptrdiff_t>(f * width));
    return destination;
}
