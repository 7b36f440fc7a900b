#include "audio/KTSampleConverter.h"
#include "tests/support/TestFolder.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

// The values as samples of the format, least significant byte first; unsigned ones offset by 128.
KTSample makeSample(const std::vector<std::int64_t>& values, double rate, std::uint16_t channels,
                    std::uint16_t bits, bool isUnsigned = false)
{
    KTSample sample;
    sample.setFormat(rate, channels, bits, isUnsigned);
    for (std::int64_t value : values)
        for (int i = 0; i < sample.mBytesPerSample; ++i)
            sample.push_back(static_cast<std::uint8_t>((value >> (8 * i)) ^ (isUnsigned ? 0x80 : 0)));
    return sample;
}

// All six format fields of a record, and its bytes.
std::string describe(const KTSample& sample)
{
    std::ostringstream text;
    text << sample.mSampleRate << " Hz " << sample.mChannels << " ch " << sample.mBitsPerSample << " bits "
         << sample.mBytesPerSample << " bytes shift " << sample.mSignShift << (sample.mIsUnsigned ? " unsigned" : "")
         << ": " << sample.toHexString();
    return text.str();
}

const KTSampleConverter kImport(44100.0, 1, 16, false);

} // namespace

TEST(SampleConverter, ImportsKnownValues)
{
    using Values = std::vector<std::int64_t>;
    const std::tuple<const char*, Values, double, std::uint16_t, std::uint16_t, bool, Values> cases[] = {
        {"16 mono copy", {0, 1, -1, 32767, -32768}, 44100, 1, 16, false, {0, 1, -1, 32767, -32768}},
        {"stereo mix truncates toward zero", {1000, -3001, 3, 4}, 44100, 2, 16, false, {-1000, 3}},
        {"24 to 16", {-257, 0x7FFFFF, -1, -256, 256, -0x800000}, 44100, 1, 24, false, {-1, 0x7FFF, 0, -1, 1, -32768}},
        {"32 to 16", {-65537, 0x7FFFFFFF, -65536}, 44100, 1, 32, false, {-1, 0x7FFF, -1}},
        {"8 signed to 16", {-128, 127, 1}, 44100, 1, 8, false, {-32768, 32512, 256}},
        {"8 unsigned to 16", {-128, 127, 0, -1}, 44100, 1, 8, true, {-32768, 32512, 0, -256}},
        {"12 left-justified", {0x7FF0, -0x8000, 0x0010}, 44100, 1, 12, false, {0x7FF0, -0x8000, 0x0010}},
        {"20 left-justified", {0x7FFFF0, -0x800000, 0x000100}, 44100, 1, 20, false, {0x7FFF, -0x8000, 1}},
        {"88200 keeps every second", {10, 11, 20, 21, 30, 31, 40}, 88200, 1, 16, false, {10, 20, 30}},
        {"22050 doubles", {100, 201, -8}, 22050, 1, 16, false, {100, 150, 201, 96, -8, -4}},
        // Input without a usable format or rate gives nothing, a part sample zeros.
        {"0 channels", {1, 2}, 44100, 0, 16, false, {}}, {"0 bits", {}, 44100, 1, 0, false, {}},
        {"65535 bits", {}, 44100, 1, 65535, false, {}}, {"rate 0", {1, 2}, 0, 1, 16, false, {}},
        {"rate NaN", {1, 2}, NAN, 1, 16, false, {}}, {"rate infinite", {1, 2}, INFINITY, 1, 16, false, {}},
        {"rate negative", {1, 2}, -44100, 1, 16, false, {}}, {"part frame", {1, 2, 3}, 44100, 2, 16, false, {1}},
    };
    for (const auto& [name, values, rate, channels, bits, isUnsigned, expected] : cases) {
        KTSample result;
        kImport.convert(result, makeSample(values, rate, channels, bits, isUnsigned));
        result.resize(result.size() & ~std::size_t{1});  // whole samples: a part one at the end is zeros
        EXPECT_EQ(describe(result), describe(makeSample(expected, 44100, 1, 16))) << name;
    }
}

// Targets other than the bank's format, and targets without a usable format.
TEST(SampleConverter, ConvertsToOtherTargets)
{
    const KTSample one = makeSample({1}, 44100, 1, 16);
    const std::tuple<KTSampleConverter, KTSample, const char*> cases[] = {
        // (-128 + 5) / 2 = -61 and (7 + 9) / 2 = 8, half the rate, in 3 channels, offset binary again.
        {KTSampleConverter(11025.0, 3, 16, true), makeSample({-128, 5, 7, 9}, 22050, 2, 8, true),
         "11025 Hz 3 ch 8 bits 1 bytes shift 56 unsigned: 43 43 43\n"},
        {KTSampleConverter(22050.0, 2, 24, false), makeSample({1, -1}, 22050, 1, 16),
         "22050 Hz 2 ch 24 bits 3 bytes shift 40: 00 01 00 00 01 00 00 ff ff 00 ff ff\n"},
        {KTSampleConverter(44100, 0, 16, false), one, "44100 Hz 0 ch 16 bits 2 bytes shift 48: "},
        {KTSampleConverter(44100, 1, 0, false), one, "44100 Hz 1 ch 0 bits 0 bytes shift 64: "}};
    for (const auto& [converter, source, expected] : cases) {
        KTSample result;
        converter.convert(result, source);
        EXPECT_EQ(describe(result), expected);
    }
}

// Reading only the bytes sourceByteLimit asks for and converting with the bank's
// frame limit places the same samples as converting the whole file.
TEST(SampleConverter, LimitedReadAndConversionPlaceTheSameSamples)
{
    constexpr std::uint64_t bank = 65536;
    const std::tuple<double, std::uint16_t, std::uint16_t> cases[] = {
        {96000, 2, 24}, {48000, 1, 16}, {44100, 2, 16}, {22050, 1, 8}, {88200, 1, 32}, {47999.5, 2, 16}};
    for (const auto& [rate, channels, bits] : cases) {
        SCOPED_TRACE(rate);
        std::vector<std::int64_t> values(static_cast<std::size_t>(bank * rate / 44100.0 + 5000) * channels);
        for (std::size_t i = 0; i < values.size(); ++i)
            values[i] = static_cast<std::int64_t>(i * 2654435761U % (1ULL << bits)) - (1LL << (bits - 1));
        const KTSample whole = makeSample(values, rate, channels, bits);
        const std::uint64_t limit = kImport.sourceByteLimit(whole, bank);
        ASSERT_LT(limit, whole.size());
        KTSample cut = whole, all, limited;
        cut.resize(limit);
        kImport.convert(all, whole);
        kImport.convert(limited, cut, bank);
        ASSERT_EQ(limited.size(), 2 * bank);
        EXPECT_TRUE(std::equal(limited.begin(), limited.end(), all.begin()));
    }
    EXPECT_EQ(kImport.sourceByteLimit(makeSample({}, 0.0, 2, 16), bank), 1U) << "nothing to convert: 1 byte is enough";
    EXPECT_EQ(kImport.sourceByteLimit(makeSample({}, 1e300, 2, 16), bank), 0U) << "too many: the whole file";
}
