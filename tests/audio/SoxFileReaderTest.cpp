// Files written by sox from known samples, in every container, size, channel
// count and rate the import meets: read back and converted, then compared
// with the samples they were made from.
#include "audio/KTAiffFileReader.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "tests/audio/AudioTestData.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace audiotest;

namespace {

enum class Container { Aiff, AifcNone, AifcSowt, Wav, WavPcm };

struct ContainerInfo {
    const char* name;
    const char* soxOptions;
    bool isAiff;
};

ContainerInfo info(Container container)
{
    switch (container) {
    case Container::Aiff: return {"aiff", "-t aiff", true};
    case Container::AifcNone: return {"aifc_none", "-t aifc", true};
    case Container::AifcSowt: return {"aifc_sowt", "-t aifc", true};
    case Container::Wav: return {"wav", "-t wav", false};
    case Container::WavPcm: return {"wavpcm", "-t wavpcm", false};
    }
    return {"", "", false};
}

// sox writes AIFF-C only as 'NONE'; a 'sowt' file is the same file with its
// samples byte-swapped and the compression type changed.
void makeSowt(Bytes& file, std::size_t width)
{
    const std::size_t comm = *findChunk(file, "COMM", true);
    const std::string sowt = "sowt";
    std::copy(sowt.begin(), sowt.end(), file.begin() + static_cast<std::ptrdiff_t>(comm + 8 + 18));
    const std::size_t ssnd = *findChunk(file, "SSND", true);
    const std::size_t start = ssnd + 16;
    const std::size_t length = readUnsigned(file, ssnd + 4, 4, true) - 8;
    for (std::size_t at = start; at + width <= start + length; at += width)
        std::reverse(file.begin() + static_cast<std::ptrdiff_t>(at),
                     file.begin() + static_cast<std::ptrdiff_t>(at + width));
}

std::unique_ptr<KTAudioFileReader> openReader(const std::string& path, bool isAiff)
{
    if (isAiff)
        return std::make_unique<KTAiffFileReader>(path.c_str());
    return std::make_unique<KTWaveFileReader>(path.c_str());
}

using SoxCase = std::tuple<Container, int, int, int>;

class SoxFileReaderTest : public testing::TestWithParam<SoxCase> {
protected:
    AudioTestFolder mFolder;
};

TEST_P(SoxFileReaderTest, ReadsAndConvertsTheSamplesSoxWrote)
{
    const auto [container, bits, channels, rate] = GetParam();
    const ContainerInfo format = info(container);
    const std::size_t width = static_cast<std::size_t>(bits / 8);
    const std::vector<std::int64_t> samples = makeSamples(static_cast<std::size_t>(channels) * 301, bits, 7U * bits + rate);
    std::string path = mFolder.soxFromSamples("in", samples, bits, channels, rate, format.soxOptions);
    if (container == Container::AifcSowt) {
        Bytes file = AudioTestFolder::read(path);
        makeSowt(file, width);
        path = mFolder.write("sowt.aifc", file);
    }

    const auto reader = openReader(path, format.isAiff);
    ASSERT_TRUE(reader->isValid());
    ASSERT_TRUE(reader->isSupported());
    if (container == Container::Wav || container == Container::WavPcm) {
        const bool extensible = container == Container::Wav && (bits > 16 || channels > 2);
        EXPECT_EQ(static_cast<KTWaveFileReader&>(*reader).mFormatTag, extensible ? 0xFFFE : 1);
    }

    const KTSample sample = reader->readSample(0);
    EXPECT_EQ(sample.mSampleRate, rate);
    EXPECT_EQ(sample.mChannels, channels);
    EXPECT_EQ(sample.mBitsPerSample, bits);
    EXPECT_EQ(sample.mBytesPerSample, width);
    EXPECT_EQ(sample.mSignShift, 64 - 8 * width);
    const bool offsetBinary = !format.isAiff && bits == 8;
    EXPECT_EQ(sample.mIsUnsigned, offsetBinary);

    Bytes expected = littleEndianBytes(samples, width);
    if (offsetBinary)
        for (std::uint8_t& byte : expected)
            byte ^= 0x80;
    ASSERT_EQ(Bytes(sample.begin(), sample.end()), expected);

    KTSample imported;
    KTSampleConverter(44100.0, 1, 16, false).convert(imported, sample);
    EXPECT_EQ(imported.mSampleRate, 44100.0);
    EXPECT_EQ(imported.mChannels, 1);
    EXPECT_EQ(imported.mBitsPerSample, 16);
    EXPECT_FALSE(imported.mIsUnsigned);
    EXPECT_EQ(samples16(imported), expectedImport(samples, channels, width, rate));
}

std::string caseName(const testing::TestParamInfo<SoxCase>& param)
{
    const auto [container, bits, channels, rate] = param.param;
    return std::string(info(container).name) + "_" + std::to_string(bits) + "bit_" + std::to_string(channels)
        + "ch_" + std::to_string(rate);
}

INSTANTIATE_TEST_SUITE_P(AllFormats, SoxFileReaderTest,
                         testing::Combine(testing::Values(Container::Aiff, Container::AifcNone, Container::AifcSowt,
                                                          Container::Wav, Container::WavPcm),
                                          testing::Values(8, 16, 24, 32), testing::Values(1, 2),
                                          testing::Values(22050, 44100, 48000, 96000)),
                         caseName);

} // namespace
