#include "audio/KTSampleConverter.h"
#include "tests/audio/AudioTestData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace audiotest;

namespace {

KTSample makeSample(const std::vector<std::int64_t>& values, double rate, std::uint16_t channels, std::uint16_t bits,
                    bool isUnsigned = false)
{
    KTSample sample;
    sample.setFormat(rate, channels, bits, isUnsigned);
    const Bytes bytes = littleEndianBytes(values, sample.mBytesPerSample);
    static_cast<KTBuffer&>(sample) = KTBuffer(bytes.begin(), bytes.end());
    if (isUnsigned)
        for (std::uint8_t& byte : sample)
            byte ^= 0x80;
    return sample;
}

const KTSampleConverter kImport(44100.0, 1, 16, false);

KTSample import(const KTSample& source, std::uint64_t frameLimit = 0)
{
    KTSample result;
    kImport.convert(result, source, frameLimit);
    return result;
}

TEST(SampleConverterTest, ImportsKnownValues)
{
    struct Case {
        const char* name;
        std::vector<std::int64_t> values;
        double rate;
        std::uint16_t channels;
        std::uint16_t bits;
        bool isUnsigned;
        std::vector<std::int64_t> expected;
    };
    const Case cases[] = {
        {"16 mono copy", {0, 1, -1, 32767, -32768}, 44100, 1, 16, false, {0, 1, -1, 32767, -32768}},
        {"stereo mix truncates toward zero", {1000, -3001, 3, 4}, 44100, 2, 16, false, {-1000, 3}},
        {"24 to 16", {-257, 0x7FFFFF, -1, -256, 256, -0x800000}, 44100, 1, 24, false, {-1, 0x7FFF, 0, -1, 1, -32768}},
        {"32 to 16", {-65537, 0x7FFFFFFF, -65536}, 44100, 1, 32, false, {-1, 0x7FFF, -1}},
        {"8 signed to 16", {-128, 127, 1}, 44100, 1, 8, false, {-32768, 32512, 256}},
        {"8 unsigned to 16", {-128, 127, 0, -1}, 44100, 1, 8, true, {-32768, 32512, 0, -256}},
        {"8 unsigned stereo", {-128, 127, 10, 20}, 44100, 2, 8, true, {0, 15 * 256}},
        {"12 left-justified", {0x7FF0, -0x8000, 0x0010}, 44100, 1, 12, false, {0x7FF0, -0x8000, 0x0010}},
        {"20 left-justified", {0x7FFFF0, -0x800000, 0x000100}, 44100, 1, 20, false, {0x7FFF, -0x8000, 1}},
        {"88200 keeps every second", {10, 11, 20, 21, 30, 31, 40}, 88200, 1, 16, false, {10, 20, 30}},
        {"22050 doubles", {100, 201, -7}, 22050, 1, 16, false, {100, 150, 201, 97, -7, -3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const KTSample result = import(makeSample(c.values, c.rate, c.channels, c.bits, c.isUnsigned));
        EXPECT_EQ(samples16(result), c.expected);
        EXPECT_EQ(result.mSampleRate, 44100.0);
        EXPECT_EQ(result.mChannels, 1);
        EXPECT_EQ(result.mBitsPerSample, 16);
        EXPECT_EQ(result.mBytesPerSample, 2);
        EXPECT_EQ(result.mSignShift, 48);
        EXPECT_FALSE(result.mIsUnsigned);
    }
}

TEST(SampleConverterTest, RateStageMatchesDirectInterpolation)
{
    for (const double rate : {8000.0, 22050.0, 32000.0, 48000.0, 96000.0, 11025.5}) {
        SCOPED_TRACE(rate);
        const auto values = makeSamples(1000, 16, 9);
        KTSample result;
        kImport.convertRate(result, makeSample(values, rate, 1, 16));
        const double step = rate / 44100.0;
        const auto frames = static_cast<std::size_t>(2000.0 / step) / 2;
        ASSERT_EQ(result.size(), static_cast<std::size_t>(2000.0 / step));
        const auto out = samples16(result);
        for (std::size_t n = 0; n < frames; ++n) {
            const long double x = static_cast<long double>(n) * rate / 44100.0L;
            const auto i = static_cast<std::size_t>(x);
            const long double a = values[i];
            const long double b = i + 1 < values.size() ? values[i + 1] : 0;
            const long double exact = a + (b - a) * (x - i);
            // The stage works in double; it may differ from the exact value
            // only where rounding moves it across an integer.
            ASSERT_LE(std::fabs(static_cast<long double>(out[n]) - std::trunc(exact)), 1.0L) << n;
        }
    }
}

TEST(SampleConverterTest, StagesFillEveryFormatField)
{
    // (-128 + 5) / 2 = -61, stored as 67; (7 + 9) / 2 = 8, stored as 136.
    const KTSample source = makeSample({-128, 5, 7, 9}, 22050, 2, 8, true);
    const KTSampleConverter to8Unsigned(11025.0, 3, 16, true);
    KTSample mixed, resampled, sized, signedResult;
    to8Unsigned.convertChannels(mixed, source);
    EXPECT_EQ(mixed.mChannels, 3);
    EXPECT_TRUE(mixed.mIsUnsigned);
    EXPECT_EQ(Bytes(mixed.begin(), mixed.end()), (Bytes{0x43, 0x43, 0x43, 0x88, 0x88, 0x88}));
    to8Unsigned.convertRate(resampled, mixed);
    EXPECT_EQ(resampled.mSampleRate, 11025.0);
    EXPECT_EQ(Bytes(resampled.begin(), resampled.end()), (Bytes{0x43, 0x43, 0x43}));
    to8Unsigned.convertBits(sized, resampled);
    EXPECT_EQ(sized.mBitsPerSample, 8);
    EXPECT_TRUE(sized.mIsUnsigned);
    EXPECT_EQ(Bytes(sized.begin(), sized.end()), (Bytes{0x43, 0x43, 0x43}));
    KTSampleConverter(11025.0, 3, 8, false).convertSign(signedResult, sized);
    EXPECT_FALSE(signedResult.mIsUnsigned);
    EXPECT_EQ(Bytes(signedResult.begin(), signedResult.end()), (Bytes{0xC3, 0xC3, 0xC3}));
}

TEST(SampleConverterTest, DegenerateInputGivesNoSamples)
{
    struct Case {
        const char* name;
        KTSample source;
        KTSampleConverter converter;
        std::size_t size;
    };
    KTSample noChannels = makeSample({1, 2}, 44100, 1, 16);
    noChannels.mChannels = 0;
    KTSample noBytes = makeSample({1, 2}, 44100, 1, 16);
    noBytes.setFormat(44100, 1, 0, false);
    KTSample wide = makeSample({1, 2}, 44100, 1, 16);
    wide.setFormat(44100, 1, 65535, false);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {"one byte", makeSample({}, 44100, 1, 16), kImport, 1},
        {"no format record", KTSample::withoutFormat(), kImport, 0},
        {"0 channels", noChannels, kImport, 0},
        {"0 bits", noBytes, kImport, 0},
        {"65535 bits", wide, kImport, 0},
        {"rate 0", makeSample({1, 2}, 0.0, 1, 16), kImport, 0},
        {"rate NaN", makeSample({1, 2}, nan, 1, 16), kImport, 0},
        {"rate infinite", makeSample({1, 2}, INFINITY, 1, 16), kImport, 0},
        {"rate negative", makeSample({1, 2}, -44100.0, 1, 16), kImport, 0},
        {"target 0 channels", makeSample({1, 2}, 44100, 1, 16), KTSampleConverter(44100, 0, 16, false), 0},
        {"target rate 0", makeSample({1, 2}, 44100, 1, 16), KTSampleConverter(0.0, 1, 16, false), 0},
        {"target 0 bits", makeSample({1, 2}, 44100, 1, 16), KTSampleConverter(44100, 1, 0, false), 0},
        {"part frame", makeSample({1, 2, 3}, 44100, 2, 16), kImport, 3},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.name);
        if (std::string(c.name) == "one byte")
            c.source.push_back(0x7F);
        KTSample result;
        c.converter.convert(result, c.source);
        EXPECT_EQ(result.size(), c.size);
        EXPECT_TRUE(std::all_of(result.begin(), result.end(), [](std::uint8_t b) { return b == 0 || b == 1; }));
    }
}

TEST(SampleConverterTest, LimitedReadAndConversionPlaceTheSameSamples)
{
    constexpr std::uint64_t bank = 65536;
    struct Case {
        double rate;
        std::uint16_t channels;
        std::uint16_t bits;
    };
    const Case cases[] = {{96000, 2, 24}, {48000, 1, 16}, {44100, 2, 16}, {22050, 1, 8}, {88200, 1, 32}, {47999.5, 2, 16}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        const std::size_t frames = static_cast<std::size_t>(bank * c.rate / 44100.0) + 5000;
        const KTSample whole = makeSample(makeSamples(frames * c.channels, c.bits, 4), c.rate, c.channels, c.bits);
        const std::uint64_t limit = kImport.sourceByteLimit(whole, bank);
        ASSERT_GT(limit, 0U);
        ASSERT_LT(limit, whole.size());
        KTSample cut = whole;
        cut.resize(limit);
        const auto all = samples16(import(whole));
        const auto limited = samples16(import(cut, bank));
        ASSERT_EQ(limited.size(), bank);
        EXPECT_TRUE(std::equal(limited.begin(), limited.end(), all.begin()));
    }
    KTSample format = makeSample({}, 0.0, 2, 16);
    EXPECT_EQ(kImport.sourceByteLimit(format, bank), 1U);
    format.mSampleRate = 1e300;
    EXPECT_EQ(kImport.sourceByteLimit(format, bank), 0U);
}

TEST(SampleConverterTest, FrameLimitBoundsExtremeUpsampling)
{
    // Two frames at 1 frame per second would be 88,200 frames; a bank takes 100.
    const KTSample slow = makeSample({1000, -1000}, 1.0, 1, 16);
    KTSample result;
    kImport.convert(result, slow, 100);
    const auto out = samples16(result);
    ASSERT_EQ(out.size(), 100U);
    for (std::size_t n = 0; n < out.size(); ++n)
        EXPECT_EQ(out[n], static_cast<std::int64_t>(1000.0 - 2000.0 * static_cast<double>(n) / 44100.0));
}

} // namespace
