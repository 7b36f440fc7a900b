#include "audio/KTSampleConverter.h"

#include "audio/KTSoxrRateConverter.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr std::uint64_t kUnsignedOffset = 128;
// Sizes at or above this are not representable as a byte count.
constexpr double kLargestSize = 9.2e18;

// Samples of one source, read as signed 64-bit values.
class SampleView {
public:
    explicit SampleView(const KTSample& source)
        : mSource(source)
        , mChannels(source.mChannels)
        , mWidth(source.mBytesPerSample)
    {
    }

    // Channels and bytes per sample both non-zero.
    bool hasFormat() const { return mChannels != 0 && mWidth != 0; }
    // At least one whole frame's worth of bytes per channel.
    bool hasWholeSample() const { return hasFormat() && mSource.size() / mChannels >= mWidth; }
    std::uint64_t frames() const { return hasFormat() ? mSource.size() / mChannels / mWidth : 0; }
    std::uint64_t channels() const { return mChannels; }
    std::uint64_t width() const { return mWidth; }

    std::int64_t at(std::uint64_t frame, std::uint64_t channel) const
    {
        const std::uint8_t* bytes = mSource.data() + (frame * mChannels + channel) * mWidth;
        std::uint64_t raw = 0;
        if (mSource.mIsUnsigned)
            raw = bytes[0] ^ 0x80U;
        else if (mWidth <= 4)
            for (std::uint64_t i = mWidth; i-- > 0;)
                raw = (raw << 8) | bytes[i];
        else
            return 0;
        const unsigned shift = mSource.mSignShift;
        if (shift >= 64)
            return 0;
        return static_cast<std::int64_t>(raw << shift) >> shift;
    }

private:
    const KTSample& mSource;
    std::uint64_t mChannels;
    std::uint64_t mWidth;
};

// Writes the low `width` bytes of value, least significant first; bytes past
// the eighth stay zero.
void put(KTSample& destination, std::uint64_t offset, std::int64_t value, std::uint64_t width)
{
    auto bits = static_cast<std::uint64_t>(value);
    std::uint8_t* bytes = destination.data() + offset;
    for (std::uint64_t i = 0; i < width && i < 8; ++i, bits >>= 8)
        bytes[i] = static_cast<std::uint8_t>(bits);
}

std::uint64_t containerBytes(std::uint16_t bits)
{
    return static_cast<std::uint64_t>(std::ceil(bits * 0.125));
}

// value × 2^exponent, truncated toward zero, in 64-bit integers.
std::int64_t scale(std::int64_t value, std::int64_t exponent)
{
    if (exponent >= 64)
        return 0;
    if (exponent >= 0)
        return static_cast<std::int64_t>(static_cast<std::uint64_t>(value) << exponent);
    if (exponent <= -63)
        return 0;
    return value / (std::int64_t{1} << -exponent);
}

// Source frames fed to libsoxr at a time: about this many target frames.
constexpr double kChunkFrames = 4096.0;

// The smallest and largest value of a sample `width` bytes wide.
std::pair<double, double> valueRange(std::uint64_t width)
{
    const unsigned bits = static_cast<unsigned>(8 * std::min<std::uint64_t>(width, 8));
    const double top = std::ldexp(1.0, static_cast<int>(bits) - 1);
    return {-top, top - 1.0};
}

} // namespace

KTSampleConverter::KTSampleConverter(double sampleRate, std::uint16_t channels, std::uint16_t bits, bool isUnsigned,
                                     Resampling resampling)
    : mSampleRate(sampleRate)
    , mChannels(channels)
    , mBitsPerSample(isUnsigned ? 8 : bits)
    , mIsUnsigned(isUnsigned)
    , mResampling(resampling)
{
}

KTSample& KTSampleConverter::convert(KTSample& destination, const KTSample& source) const
{
    return convert(destination, source, 0);
}

KTSample& KTSampleConverter::convert(KTSample& destination, const KTSample& source, std::uint64_t frameLimit) const
{
    KTSample mixed;
    KTSample resampled;
    KTSample resized;
    convertChannels(mixed, source);
    convertRate(resampled, mixed, frameLimit);
    convertBits(resized, resampled);
    return convertSign(destination, resized);
}

KTSample& KTSampleConverter::convertChannels(KTSample& destination, const KTSample& source) const
{
    const SampleView in(source);
    destination.setFormat(source.mSampleRate, mChannels, source.mBitsPerSample, source.mIsUnsigned);
    if (!in.hasFormat()) {
        destination.clear();
        return destination;
    }
    destination.assign(source.size() * mChannels / in.channels(), 0);
    if (!in.hasWholeSample())
        return destination;

    const std::int64_t offset = source.mIsUnsigned ? kUnsignedOffset : 0;
    const auto channelCount = static_cast<std::int64_t>(in.channels());
    const std::uint64_t frames = in.frames();
    for (std::uint64_t f = 0; f < frames; ++f) {
        std::int64_t sum = 0;
        for (std::uint64_t c = 0; c < in.channels(); ++c)
            sum += in.at(f, c);
        const std::int64_t value = sum / channelCount + offset;
        for (std::uint64_t k = 0; k < mChannels; ++k)
            put(destination, (f * mChannels + k) * in.width(), value, in.width());
    }
    return destination;
}

KTSample& KTSampleConverter::convertRate(KTSample& destination, const KTSample& source, std::uint64_t frameLimit) const
{
    const SampleView in(source);
    destination.setFormat(mSampleRate, source.mChannels, source.mBitsPerSample, source.mIsUnsigned);
    const double ratio = source.mSampleRate / mSampleRate;
    if (!in.hasFormat() || !std::isfinite(ratio) || !(ratio > 0.0)) {
        destination.clear();
        return destination;
    }
    const double exactSize = static_cast<double>(source.size()) / ratio;
    if (!(exactSize < kLargestSize)) {
        destination.clear();
        return destination;
    }
    auto size = static_cast<std::uint64_t>(exactSize);
    const std::uint64_t frameBytes = in.channels() * destination.mBytesPerSample;
    if (frameLimit != 0 && frameLimit <= size / frameBytes)
        size = frameLimit * frameBytes;
    destination.assign(size, 0);
    if (size / in.channels() < destination.mBytesPerSample)
        return destination;
    if (mResampling == Resampling::HighQuality && ratio != 1.0 && resampleBandLimited(destination, source))
        return destination;

    const std::int64_t offset = source.mIsUnsigned ? kUnsignedOffset : 0;
    const std::uint64_t sourceFrames = in.frames();
    const std::uint64_t frames = size / in.channels() / destination.mBytesPerSample;
    for (std::uint64_t n = 0; n < frames; ++n) {
        const double pos = static_cast<double>(n) * ratio;
        const auto i0 = static_cast<std::uint64_t>(pos);
        const double frac = pos - static_cast<double>(i0);
        const std::uint64_t i1 = i0 + 1;
        for (std::uint64_t c = 0; c < in.channels(); ++c) {
            const std::int64_t s0 = i0 < sourceFrames ? in.at(i0, c) : 0;
            const std::int64_t s1 = i1 < sourceFrames ? in.at(i1, c) : 0;
            const auto y = static_cast<std::int64_t>(static_cast<double>(s1 - s0) * frac + static_cast<double>(s0));
            put(destination, (n * in.channels() + c) * in.width(), y + offset, in.width());
        }
    }
    return destination;
}

KTSample& KTSampleConverter::convertBits(KTSample& destination, const KTSample& source) const
{
    const SampleView in(source);
    // An unsigned source stays offset binary only at 8 bits; a wider target
    // takes its values without the offset.
    const bool staysUnsigned = source.mIsUnsigned && mBitsPerSample == 8;
    destination.setFormat(source.mSampleRate, source.mChannels, mBitsPerSample, staysUnsigned);
    if (!in.hasFormat()) {
        destination.clear();
        return destination;
    }
    const std::uint64_t targetWidth = containerBytes(mBitsPerSample);
    destination.assign(source.size() * targetWidth / in.width(), 0);
    if (!in.hasWholeSample() || targetWidth == 0)
        return destination;

    // Sizes that are not whole bytes (12, 20 bits) sit left-justified in
    // their bytes, so the scale goes by the byte sizes.
    const auto exponent = static_cast<std::int64_t>(8 * targetWidth) - static_cast<std::int64_t>(8 * in.width());
    const std::int64_t offset = staysUnsigned ? kUnsignedOffset : 0;
    const std::uint64_t frames = in.frames();
    for (std::uint64_t f = 0; f < frames; ++f)
        for (std::uint64_t c = 0; c < in.channels(); ++c)
            put(destination, (f * in.channels() + c) * targetWidth, scale(in.at(f, c), exponent) + offset,
                targetWidth);
    return destination;
}

KTSample& KTSampleConverter::convertSign(KTSample& destination, const KTSample& source) const
{
    const SampleView in(source);
    destination.setFormat(mSampleRate, source.mChannels, source.mBitsPerSample, mIsUnsigned);
    if (!in.hasFormat()) {
        destination.clear();
        return destination;
    }
    destination.assign(source.size(), 0);
    if (!in.hasWholeSample())
        return destination;

    const std::int64_t offset = mIsUnsigned ? kUnsignedOffset : 0;
    const std::uint64_t width = containerBytes(source.mBitsPerSample);
    const std::uint64_t frames = in.frames();
    for (std::uint64_t f = 0; f < frames; ++f)
        for (std::uint64_t c = 0; c < in.channels(); ++c) {
            const std::uint64_t at = (f * in.channels() + c) * in.width();
            put(destination, at, in.at(f, c) + offset, std::min(width, in.width()));
        }
    return destination;
}

bool KTSampleConverter::resampleBandLimited(KTSample& destination, const KTSample& source) const
{
    const SampleView in(source);
    const auto last = static_cast<std::int64_t>(in.frames()) - 1;
    const std::uint64_t channels = in.channels();
    KTSoxrRateConverter soxr(source.mSampleRate, mSampleRate, static_cast<unsigned>(channels));
    if (last < 0 || !soxr.isValid())
        return false;
    // Before the first frame and after the last the filter is fed the source
    // mirrored about that frame, which keeps its level and slope, so neither
    // end rings as it would rising from or falling to silence. The values go
    // in as distances from the first frame: without a lead-in that frame
    // seems to have been there forever.
    const auto extended = [&](std::int64_t t, std::uint64_t c) {
        const std::int64_t edge = std::clamp<std::int64_t>(t, 0, last);
        const std::int64_t mirror = std::clamp<std::int64_t>(2 * edge - t, 0, last);
        return 2.0 * static_cast<double>(in.at(static_cast<std::uint64_t>(edge), c))
            - static_cast<double>(in.at(static_cast<std::uint64_t>(mirror), c));
    };
    std::vector<double> first(channels);
    for (std::uint64_t c = 0; c < channels; ++c)
        first[c] = static_cast<double>(in.at(0, c));
    const double ratio = source.mSampleRate / mSampleRate;
    const KTSoxrRateConverter::LeadIn lead = KTSoxrRateConverter::leadIn(source.mSampleRate, mSampleRate);
    const auto chunk = static_cast<std::int64_t>(std::clamp(kChunkFrames * ratio, 1.0, 65536.0));
    const auto end = last + 1 + static_cast<std::int64_t>(KTSoxrRateConverter::reach(ratio));
    const std::uint64_t frames = destination.size() / channels / destination.mBytesPerSample;
    const std::int64_t offset = source.mIsUnsigned ? kUnsignedOffset : 0;
    const auto [lowest, highest] = valueRange(in.width());
    std::vector<float> piece;
    std::vector<float> made;
    std::uint64_t skip = lead.target;
    std::uint64_t written = 0;
    for (auto start = -static_cast<std::int64_t>(lead.source); written < frames; start += chunk) {
        const std::int64_t count = std::clamp<std::int64_t>(end - start, 0, chunk);
        piece.resize(static_cast<std::size_t>(count) * channels);
        for (std::int64_t f = 0; f < count; ++f)
            for (std::uint64_t c = 0; c < channels; ++c)
                piece[static_cast<std::uint64_t>(f) * channels + c] =
                    static_cast<float>(extended(start + f, c) - first[c]);
        if (!soxr.process(count == 0 ? nullptr : piece.data(), static_cast<std::size_t>(count), made))
            return false;
        if (count == 0 && made.empty())
            break;
        for (std::uint64_t f = 0; f < made.size() / channels && written < frames; ++f) {
            if (skip > 0) {
                --skip;
                continue;
            }
            for (std::uint64_t c = 0; c < channels; ++c) {
                const double y = std::clamp(std::round(made[f * channels + c] + first[c]), lowest, highest);
                put(destination, (written * channels + c) * in.width(), static_cast<std::int64_t>(y) + offset,
                    in.width());
            }
            ++written;
        }
    }
    return true;
}

std::uint64_t KTSampleConverter::sourceByteLimit(const KTSample& format, std::uint64_t targetFrames) const
{
    const std::uint64_t frameBytes = std::uint64_t{format.mChannels} * format.mBytesPerSample;
    const double ratio = format.mSampleRate / mSampleRate;
    // Without a usable format the conversion yields nothing, so one byte is enough.
    if (frameBytes == 0 || !std::isfinite(ratio) || !(ratio > 0.0))
        return 1;
    // Frame n interpolates between source frames floor(n × ratio) and the one
    // after it; one frame more covers rounding of the product.
    double frames = std::ceil(static_cast<double>(targetFrames) * ratio) + 2.0;
    if (mResampling == Resampling::HighQuality && ratio != 1.0)
        frames += static_cast<double>(KTSoxrRateConverter::reach(ratio));
    if (!(frames < kLargestSize / static_cast<double>(frameBytes)))
        return 0;
    return static_cast<std::uint64_t>(frames) * frameBytes;
}
