// Files written by sox from known samples, in every container, size, channel
// count and rate the import meets: read back and converted, then compared
// with the samples they were made from.
#include "audio/KTAiffFileReader.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "tests/audio/AudioTestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <tuple>

using namespace audiotest;

namespace {

struct Container {
    const char* name;
    const char* soxOptions;
    bool isAiff;
};
// sox writes AIFF-C only as 'NONE'; the 'sowt' file is made from it below.
// "-t wav" writes 24-bit and multichannel files as WAVE_FORMAT_EXTENSIBLE.
const Container kContainers[] = {{"aiff", "-t aiff", true},  {"aifc_none", "-t aifc", true},
                                 {"aifc_sowt", "-t aifc", true}, {"wav", "-t wav", false},
                                 {"wavpcm", "-t wavpcm", false}};

// The same file with its samples byte-swapped and the compression type 'sowt'.
Bytes toSowt(Bytes file, std::size_t width)
{
    const std::size_t comm = *findChunk(file, "COMM", true);
    std::copy_n("sowt", 4, file.begin() + static_cast<std::ptrdiff_t>(comm + 8 + 18));
    const std::size_t start = *findChunk(file, "SSND", true) + 16;
    const std::size_t length = readUnsigned(file, start - 12, 4, true) - 8;
    for (std::size_t at = start; at + width <= start + length; at += width)
        std::reverse(file.begin() + static_cast<std::ptrdiff_t>(at), file.begin() + static_cast<std::ptrdiff_t>(at + width));
    return file;
}

using SoxCase = std::tuple<int, int, int, int>;  // container, bits, channels, rate

class SoxFileReaderTest : public testing::TestWithParam<SoxCase> {
protected:
    AudioTestFolder mFolder;
};

TEST_P(SoxFileReaderTest, ReadsAndConvertsTheSamplesSoxWrote)
{
    const auto [index, bits, channels, rate] = GetParam();
    const Container& format = kContainers[index];
    const auto width = static_cast<std::size_t>(bits / 8);
    const std::vector<std::int64_t> samples = makeSamples(static_cast<std::size_t>(channels) * 301, bits, 7U * bits + rate);
    std::string path = mFolder.soxFromSamples("in", samples, bits, channels, rate, format.soxOptions);
    if (std::string(format.name) == "aifc_sowt")
        path = mFolder.write("sowt.aifc", toSowt(AudioTestFolder::read(path), width));

    std::unique_ptr<KTAudioFileReader> reader;
    if (format.isAiff)
        reader = std::make_unique<KTAiffFileReader>(path.c_str());
    else
        reader = std::make_unique<KTWaveFileReader>(path.c_str());
    ASSERT_TRUE(reader->isValid());
    ASSERT_TRUE(reader->isSupported());
    if (!format.isAiff) {
        const bool extensible = std::string(format.name) == "wav" && (bits > 16 || channels > 2);
        EXPECT_EQ(static_cast<KTWaveFileReader&>(*reader).mFormatTag, extensible ? 0xFFFE : 1);
    }

    const KTSample sample = reader->readSample(0);
    EXPECT_EQ(sample.mSampleRate, rate);
    EXPECT_EQ(sample.mChannels, channels);
    EXPECT_EQ(sample.mBitsPerSample, bits);
    const bool offsetBinary = !format.isAiff && bits == 8;
    EXPECT_EQ(sample.mIsUnsigned, offsetBinary);
    Bytes expected = littleEndianBytes(samples, width);
    if (offsetBinary)
        for (std::uint8_t& byte : expected)
            byte ^= 0x80;
    ASSERT_EQ(Bytes(sample.begin(), sample.end()), expected);

    KTSample imported;
    KTSampleConverter(44100.0, 1, 16, false).convert(imported, sample);
    EXPECT_EQ(samples16(imported), expectedImport(samples, channels, width, rate));
}

std::string caseName(const testing::TestParamInfo<SoxCase>& param)
{
    const auto [index, bits, channels, rate] = param.param;
    return std::string(kContainers[index].name) + "_" + std::to_string(bits) + "bit_" + std::to_string(channels) + "ch_"
        + std::to_string(rate);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, SoxFileReaderTest,
                         testing::Combine(testing::Range(0, 5), testing::Values(8, 16, 24, 32), testing::Values(1, 2),
                                          testing::Values(22050, 44100, 48000, 96000)),
                         caseName);

} // namespace
