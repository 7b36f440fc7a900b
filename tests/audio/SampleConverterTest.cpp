#include "audio/KTSampleConverter.h"
#include "tests/audio/AudioTestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

using namespace audiotest;

namespace {

KTSample makeSample(const std::vector<std::int64_t>& values, double rate, std::uint16_t channels, std::uint16_t bits,
                    bool isUnsigned = false)
{
    KTSample sample;
    sample.setFormat(rate, channels, bits, isUnsigned);
    Bytes bytes = littleEndianBytes(values, sample.mBytesPerSample);
    if (isUnsigned)
        for (std::uint8_t& byte : bytes)
            byte ^= 0x80;
    static_cast<KTBuffer&>(sample) = KTBuffer(bytes.begin(), bytes.end());
    return sample;
}

// All six format fields of a record.
std::string formatOf(const KTSample& sample)
{
    std::ostringstream text;
    text << sample.mSampleRate << " Hz " << sample.mChannels << " ch " << sample.mBitsPerSample << " bits "
         << sample.mBytesPerSample << " bytes shift " << sample.mSignShift << (sample.mIsUnsigned ? " unsigned" : "");
    return text.str();
}

Bytes bytesOf(const KTSample& sample)
{
    return Bytes(sample.begin(), sample.end());
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
        EXPECT_EQ(formatOf(result), "44100 Hz 1 ch 16 bits 2 bytes shift 48");
    }
}

// Also at 1 frame per second, where a bank's 100 frames bound the output
// (the whole would be 88,200 frames).
TEST(SampleConverterTest, RateStageMatchesDirectInterpolation)
{
    const auto values = makeSamples(1000, 16, 9);
    for (const double rate : {1.0, 8000.0, 22050.0, 32000.0, 48000.0, 96000.0, 11025.5}) {
        SCOPED_TRACE(rate);
        KTSample result;
        kImport.convertRate(result, makeSample(values, rate, 1, 16), rate == 1.0 ? 100 : 0);
        const std::size_t bytes = rate == 1.0 ? 200 : static_cast<std::size_t>(2000.0 / (rate / 44100.0));
        ASSERT_EQ(result.size(), bytes);
        const auto out = samples16(result);
        for (std::size_t n = 0; n < bytes / 2; ++n) {
            const long double x = static_cast<long double>(n) * rate / 44100.0L;
            const auto i = static_cast<std::size_t>(x);
            const long double a = values[i];
            const long double b = i + 1 < values.size() ? values[i + 1] : 0;
            // The stage works in double; it may differ from the exact value
            // only where rounding moves it across an integer.
            ASSERT_LE(std::fabs(static_cast<long double>(out[n]) - std::trunc(a + (b - a) * (x - i))), 1.0L) << n;
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
    EXPECT_EQ(formatOf(mixed), "22050 Hz 3 ch 8 bits 1 bytes shift 56 unsigned");
    EXPECT_EQ(bytesOf(mixed), (Bytes{0x43, 0x43, 0x43, 0x88, 0x88, 0x88}));
    to8Unsigned.convertRate(resampled, mixed);
    EXPECT_EQ(formatOf(resampled), "11025 Hz 3 ch 8 bits 1 bytes shift 56 unsigned");
    EXPECT_EQ(bytesOf(resampled), (Bytes{0x43, 0x43, 0x43}));
    to8Unsigned.convertBits(sized, resampled);
    EXPECT_EQ(formatOf(sized), "11025 Hz 3 ch 8 bits 1 bytes shift 56 unsigned");
    EXPECT_EQ(bytesOf(sized), (Bytes{0x43, 0x43, 0x43}));
    KTSampleConverter(11025.0, 3, 8, false).convertSign(signedResult, sized);
    EXPECT_EQ(formatOf(signedResult), "11025 Hz 3 ch 8 bits 1 bytes shift 56");
    EXPECT_EQ(bytesOf(signedResult), (Bytes{0xC3, 0xC3, 0xC3}));
}

TEST(SampleConverterTest, DegenerateInputGivesNoSamples)
{
    const KTSample two = makeSample({1, 2}, 44100, 1, 16);
    auto with = [&two](auto change) {
        KTSample sample = two;
        change(sample);
        return sample;
    };
    struct Case {
        const char* name;
        KTSample source;
        KTSampleConverter converter;
        std::size_t size;
    };
    const Case cases[] = {
        {"one byte", with([](KTSample& s) { s.assign(1, 0x7F); }), kImport, 1},
        {"no format record", KTSample::withoutFormat(), kImport, 0},
        {"0 channels", with([](KTSample& s) { s.mChannels = 0; }), kImport, 0},
        {"0 bits", with([](KTSample& s) { s.setFormat(44100, 1, 0, false); }), kImport, 0},
        {"65535 bits", with([](KTSample& s) { s.setFormat(44100, 1, 65535, false); }), kImport, 0},
        {"rate 0", with([](KTSample& s) { s.mSampleRate = 0.0; }), kImport, 0},
        {"rate NaN", with([](KTSample& s) { s.mSampleRate = std::numeric_limits<double>::quiet_NaN(); }), kImport, 0},
        {"rate infinite", with([](KTSample& s) { s.mSampleRate = INFINITY; }), kImport, 0},
        {"rate negative", with([](KTSample& s) { s.mSampleRate = -44100.0; }), kImport, 0},
        {"target 0 channels", two, KTSampleConverter(44100, 0, 16, false), 0},
        {"target rate 0", two, KTSampleConverter(0.0, 1, 16, false), 0},
        {"target 0 bits", two, KTSampleConverter(44100, 1, 0, false), 0},
        {"part frame", makeSample({1, 2, 3}, 44100, 2, 16), kImport, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
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

} // namespace
