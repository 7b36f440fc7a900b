// AIFF and WAV files edited byte by byte from sox's output: extra chunks,
// offsets, compression types, hostile sizes and every truncation.
#include "audio/KTAiffFileReader.h"
#include "audio/KTFloat80.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "tests/audio/AudioTestData.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace audiotest;

namespace {

struct Made {
    Bytes file;
    Bytes data; // the sample bytes the reader must return
};

class FileReaderEdgeTest : public testing::Test {
protected:
    // 16-bit mono 44,100 Hz, 40 samples.
    Made make(const std::string& options, bool aiff)
    {
        const auto samples = makeSamples(40, 16, 3);
        const std::string path = mFolder.soxFromSamples("base", samples, 16, 1, 44100, options);
        return {AudioTestFolder::read(path), littleEndianBytes(samples, 2)};
        (void)aiff;
    }
    Made aiff() { return make("-t aiff", true); }
    Made wav() { return make("-t wavpcm", false); }

    KTSample readAiff(const Bytes& file, std::uint64_t limit = 0)
    {
        KTAiffFileReader reader(mFolder.write("edit.aiff", file).c_str());
        return reader.readSample(limit);
    }
    KTSample readWav(const Bytes& file, std::uint64_t limit = 0)
    {
        KTWaveFileReader reader(mFolder.write("edit.wav", file).c_str());
        return reader.readSample(limit);
    }

    AudioTestFolder mFolder;
};

Bytes bytesOf(const KTSample& sample)
{
    return Bytes(sample.begin(), sample.end());
}

struct ExtraChunk {
    const char* name;
    const char* before; // the chunk it is inserted in front of
    std::uint32_t size;
};

TEST_F(FileReaderEdgeTest, SkipsExtraChunksOfEvenAndOddSize)
{
    const ExtraChunk cases[] = {
        {"aiff even before COMM", "COMM", 6},  {"aiff odd before COMM", "COMM", 7},
        {"aiff even before SSND", "SSND", 10}, {"aiff odd before SSND", "SSND", 1},
        {"wav even before fmt", "fmt ", 4},    {"wav odd before fmt", "fmt ", 5},
        {"wav even before data", "data", 26},  {"wav odd before data", "data", 3},
    };
    for (const ExtraChunk& extra : cases) {
        SCOPED_TRACE(extra.name);
        const bool isAiff = std::string(extra.name).starts_with("aiff");
        Made made = isAiff ? aiff() : wav();
        insertChunk(made.file, *findChunk(made.file, extra.before, isAiff), "xtra", extra.size, isAiff);
        const KTSample sample = isAiff ? readAiff(made.file) : readWav(made.file);
        EXPECT_EQ(sample.mChannels, 1);
        EXPECT_EQ(sample.mBitsPerSample, 16);
        EXPECT_EQ(sample.mSampleRate, 44100.0);
        EXPECT_EQ(bytesOf(sample), made.data);
    }
}

TEST_F(FileReaderEdgeTest, AiffSoundDataBeforeCommonChunkReadsTheSame)
{
    Made made = aiff();
    const std::size_t comm = *findChunk(made.file, "COMM", true);
    const std::size_t commLength = 8 + readUnsigned(made.file, comm + 4, 4, true);
    const Bytes commChunk(made.file.begin() + static_cast<std::ptrdiff_t>(comm),
                          made.file.begin() + static_cast<std::ptrdiff_t>(comm + commLength));
    made.file.erase(made.file.begin() + static_cast<std::ptrdiff_t>(comm),
                    made.file.begin() + static_cast<std::ptrdiff_t>(comm + commLength));
    made.file.insert(made.file.end(), commChunk.begin(), commChunk.end());
    EXPECT_EQ(bytesOf(readAiff(made.file)), made.data);
}

TEST_F(FileReaderEdgeTest, AiffSoundDataOffsetIsHonoured)
{
    Made made = aiff();
    const std::size_t ssnd = *findChunk(made.file, "SSND", true);
    writeUnsigned(made.file, ssnd + 8, 6, 4, true);
    made.file.insert(made.file.begin() + static_cast<std::ptrdiff_t>(ssnd + 16), 6, 0xEE);
    writeUnsigned(made.file, ssnd + 4, readUnsigned(made.file, ssnd + 4, 4, true) + 6, 4, true);
    EXPECT_EQ(bytesOf(readAiff(made.file)), made.data);

    // An offset past the chunk's data leaves no data.
    writeUnsigned(made.file, ssnd + 8, 0xFFFFFFF0, 4, true);
    const KTSample sample = readAiff(made.file);
    EXPECT_TRUE(sample.empty());
    EXPECT_EQ(sample.mChannels, 1);
}

TEST_F(FileReaderEdgeTest, SizesPastTheEndGiveWhatTheFileHolds)
{
    struct Case {
        const char* name;
        bool isAiff;
        const char* chunk;
        std::uint32_t size;
        bool expectFormat;
        bool expectData;
    };
    const Case cases[] = {
        {"aiff SSND 0xFFFFFFFF", true, "SSND", 0xFFFFFFFF, true, true},
        {"aiff COMM 0xFFFFFFFF", true, "COMM", 0xFFFFFFFF, true, false},
        {"aiff SSND size 7", true, "SSND", 7, true, false},
        {"aiff SSND size 0", true, "SSND", 0, true, false},
        {"wav data 0xFFFFFFFF", false, "data", 0xFFFFFFFF, true, true},
        {"wav data 0", false, "data", 0, true, false},
        {"wav fmt 0xFFFFFFFF", false, "fmt ", 0xFFFFFFFF, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Made made = c.isAiff ? aiff() : wav();
        writeUnsigned(made.file, *findChunk(made.file, c.chunk, c.isAiff) + 4, c.size, 4, c.isAiff);
        const KTSample sample = c.isAiff ? readAiff(made.file) : readWav(made.file);
        EXPECT_EQ(sample.mChannels, c.expectFormat ? 1 : 0);
        EXPECT_EQ(bytesOf(sample), c.expectData ? made.data : Bytes{});
    }
}

TEST_F(FileReaderEdgeTest, HugeChunkBeforeTheFormatGivesTheEmptyRecord)
{
    for (const bool isAiff : {true, false}) {
        SCOPED_TRACE(isAiff ? "aiff" : "wav");
        Made made = isAiff ? aiff() : wav();
        insertChunk(made.file, 12, "junk", 2, isAiff);
        writeUnsigned(made.file, 16, 0xFFFFFFFF, 4, isAiff);
        const KTSample sample = isAiff ? readAiff(made.file) : readWav(made.file);
        EXPECT_TRUE(sample.empty());
        EXPECT_EQ(sample.mChannels, 0);
        EXPECT_EQ(sample.mBitsPerSample, 0);
        EXPECT_EQ(sample.mBytesPerSample, 0);
        EXPECT_EQ(sample.mSignShift, 64);
        EXPECT_EQ(sample.mSampleRate, 0.0);
    }
}

TEST_F(FileReaderEdgeTest, LimitCutsTheData)
{
    const Made a = aiff();
    const Made w = wav();
    for (const std::uint64_t limit : {0ULL, 1ULL, 2ULL, 30ULL, 80ULL, 81ULL, 100000ULL}) {
        SCOPED_TRACE(limit);
        const std::size_t n = limit == 0 ? 80 : std::min<std::size_t>(limit, 80);
        EXPECT_EQ(bytesOf(readWav(w.file, limit)), Bytes(w.data.begin(), w.data.begin() + static_cast<std::ptrdiff_t>(n)));
        // AIFF keeps whole samples only.
        EXPECT_EQ(bytesOf(readAiff(a.file, limit)), Bytes(a.data.begin(), a.data.begin() + static_cast<std::ptrdiff_t>(n & ~std::size_t{1})));
    }
}

TEST_F(FileReaderEdgeTest, CompressedAndFloatFilesAreValidButNotSupported)
{
    struct Case {
        const char* name;
        std::function<std::unique_ptr<KTAudioFileReader>()> open;
    };
    auto aifcWithCompression = [this](const std::string& type) {
        Bytes file = AudioTestFolder::read(mFolder.soxFromSamples("c.aifc", makeSamples(8, 16, 1), 16, 1, 8000, "-t aifc"));
        const std::size_t comm = *findChunk(file, "COMM", true);
        std::copy(type.begin(), type.end(), file.begin() + static_cast<std::ptrdiff_t>(comm + 26));
        return std::make_unique<KTAiffFileReader>(mFolder.write("c2.aifc", file).c_str());
    };
    auto soxWav = [this](const std::string& options) {
        const std::string path = mFolder.path("f.wav");
        EXPECT_TRUE(mFolder.sox("-n -r 8000 -c 1 " + options + " " + path + " synth 0.01 sine 300"));
        return std::make_unique<KTWaveFileReader>(path.c_str());
    };
    auto extensibleWithSubFormat = [this](std::uint8_t tag) {
        Bytes file = AudioTestFolder::read(mFolder.soxFromSamples("e.wav", makeSamples(8, 24, 1), 24, 1, 8000, "-t wav"));
        file.at(*findChunk(file, "fmt ", false) + 8 + 24) = tag;
        return std::make_unique<KTWaveFileReader>(mFolder.write("e2.wav", file).c_str());
    };
    const Case cases[] = {
        {"aifc ulaw", [&] { return aifcWithCompression("ulaw"); }},
        {"aifc alaw", [&] { return aifcWithCompression("alaw"); }},
        {"aifc fl32", [&] { return aifcWithCompression("fl32"); }},
        {"wav float", [&] { return soxWav("-e floating-point -b 32 -t wav"); }},
        {"wav a-law", [&] { return soxWav("-e a-law -t wav"); }},
        {"wav u-law", [&] { return soxWav("-e u-law -t wav"); }},
        {"wav extensible float", [&] { return extensibleWithSubFormat(3); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto reader = c.open();
        EXPECT_TRUE(reader->isValid());
        EXPECT_FALSE(reader->isSupported());
    }
    EXPECT_TRUE(extensibleWithSubFormat(1)->isSupported());
    EXPECT_TRUE(aifcWithCompression("sowt")->isSupported());
}

TEST_F(FileReaderEdgeTest, ForeignFilesAreNotValidAndStayReadable)
{
    struct Case {
        const char* name;
        Bytes bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"short", {'F', 'O'}},
        {"text", Bytes(100, 'x')},
        {"avi", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' ', 'f', 'm', 't', ' ', 0xFF, 0xFF, 0xFF, 0xFF}},
        {"riff huge chunk", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'X', 'a', 'b', 'c', 'd', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = mFolder.write("foreign", c.bytes);
        EXPECT_FALSE(KTAiffFileReader(path.c_str()).isValid());
        KTWaveFileReader wave(path.c_str());
        EXPECT_FALSE(wave.isValid());
        EXPECT_FALSE(wave.isSupported());
        // The raw import reads the whole file from its start through this stream.
        wave.seekg(0);
        KTBuffer raw(131072, 0);
        raw.read(wave);
        EXPECT_EQ(Bytes(raw.begin(), raw.end()), c.bytes);
    }
    EXPECT_FALSE(KTWaveFileReader(mFolder.path("missing").c_str()).isValid());
    EXPECT_TRUE(KTAiffFileReader(mFolder.path("missing").c_str()).readSample(0).empty());
}

TEST_F(FileReaderEdgeTest, EveryPrefixReadsWithoutFault)
{
    const Made files[] = {aiff(), wav(), make("-t wav -b 24", false), make("-t aifc", true)};
    const KTSampleConverter converter(44100.0, 1, 16, false);
    for (const Made& made : files) {
        const bool isAiff = made.file[0] == 'F';
        for (std::size_t length = 0; length <= made.file.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes prefix(made.file.begin(), made.file.begin() + static_cast<std::ptrdiff_t>(length));
            const std::string path = mFolder.write("prefix", prefix);
            std::unique_ptr<KTAudioFileReader> reader;
            if (isAiff)
                reader = std::make_unique<KTAiffFileReader>(path.c_str());
            else
                reader = std::make_unique<KTWaveFileReader>(path.c_str());
            const KTSample sample = reader->readSample(0);
            ASSERT_LE(sample.size(), length);
            // Whatever arrived is the start of the full data.
            if (sample.mBitsPerSample == 16 && sample.mChannels == 1) {
                ASSERT_TRUE(std::equal(sample.begin(), sample.end(), made.data.begin()));
            }
            KTSample imported;
            converter.convert(imported, sample, 65536);
            ASSERT_LE(imported.size(), 2 * 65536U);
        }
    }
}

TEST(Float80Test, DecodesRates)
{
    struct Case {
        Bytes bytes;
        double value;
    };
    const Case cases[] = {
        {{0x40, 0x0E, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, 44100.0},
        {{0x40, 0x0D, 0xAC, 0x44, 0, 0, 0, 0, 0, 0}, 22050.0},
        {{0x40, 0x0E, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, 48000.0},
        {{0x40, 0x0F, 0xBB, 0x80, 0, 0, 0, 0, 0, 0}, 96000.0},
        {{0x3F, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0}, 1.0},
        {{0xBF, 0xFF, 0x80, 0, 0, 0, 0, 0, 0, 0}, -1.0},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0.0},
        {{0x40, 0x0E, 0xAC}, 32768.0 * (1.0 + 0x2C / 128.0)},  // cut short: missing bytes are zero
        {{}, 0.0},
    };
    for (const Case& c : cases) {
        KTFloat80 value;
        static_cast<KTBuffer&>(value) = KTBuffer(c.bytes.begin(), c.bytes.end());
        EXPECT_EQ(value.toDouble(), c.value);
    }
    EXPECT_EQ(KTFloat80().size(), 10U);
}

} // namespace
