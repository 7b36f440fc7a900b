// AIFF and WAV files edited byte by byte from sox's output: extra chunks,
// offsets, compression types, hostile sizes and every truncation.
#include "audio/KTAiffFileReader.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "tests/audio/AudioTestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

using namespace audiotest;

namespace {

struct Made {
    Bytes file;
    Bytes data; // the sample bytes the reader must return
    bool isAiff;
};

class FileReaderEdgeTest : public testing::Test {
protected:
    // 16-bit mono 44,100 Hz, 40 samples, unless the options say otherwise.
    Made make(bool isAiff, const std::string& options = "")
    {
        const auto samples = makeSamples(40, 16, 3);
        const std::string path = mFolder.soxFromSamples("base", samples, 16, 1, 44100,
                                                        options.empty() ? (isAiff ? "-t aiff" : "-t wavpcm") : options);
        return {AudioTestFolder::read(path), littleEndianBytes(samples, 2), isAiff};
    }

    std::unique_ptr<KTAudioFileReader> open(const Bytes& file, bool isAiff)
    {
        const std::string path = mFolder.write(isAiff ? "edit.aiff" : "edit.wav", file);
        if (isAiff)
            return std::make_unique<KTAiffFileReader>(path.c_str());
        return std::make_unique<KTWaveFileReader>(path.c_str());
    }
    KTSample read(const Made& made, std::uint64_t limit = 0) { return open(made.file, made.isAiff)->readSample(limit); }

    AudioTestFolder mFolder;
};

Bytes bytesOf(const KTSample& sample)
{
    return Bytes(sample.begin(), sample.end());
}

TEST_F(FileReaderEdgeTest, SkipsExtraChunksOfEvenAndOddSize)
{
    struct Case {
        bool isAiff;
        const char* before; // the chunk it is inserted in front of
        std::uint32_t size;
    };
    const Case cases[] = {{true, "COMM", 6}, {true, "COMM", 7}, {true, "SSND", 10}, {true, "SSND", 1},
                          {false, "fmt ", 4}, {false, "fmt ", 5}, {false, "data", 26}, {false, "data", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " " + std::to_string(c.size));
        Made made = make(c.isAiff);
        insertChunk(made.file, *findChunk(made.file, c.before, c.isAiff), "xtra", c.size, c.isAiff);
        const KTSample sample = read(made);
        EXPECT_EQ(sample.mChannels, 1);
        EXPECT_EQ(sample.mBitsPerSample, 16);
        EXPECT_EQ(sample.mSampleRate, 44100.0);
        EXPECT_EQ(bytesOf(sample), made.data);
    }
}

TEST_F(FileReaderEdgeTest, AiffSoundDataBeforeCommonChunkAndItsOffset)
{
    Made made = make(true);
    const std::size_t comm = *findChunk(made.file, "COMM", true);
    const std::size_t commEnd = comm + 8 + readUnsigned(made.file, comm + 4, 4, true);
    std::rotate(made.file.begin() + static_cast<std::ptrdiff_t>(comm), made.file.begin() + static_cast<std::ptrdiff_t>(commEnd),
                made.file.end());  // COMM last
    EXPECT_EQ(bytesOf(read(made)), made.data);

    const std::size_t ssnd = *findChunk(made.file, "SSND", true);
    writeUnsigned(made.file, ssnd + 8, 6, 4, true);
    made.file.insert(made.file.begin() + static_cast<std::ptrdiff_t>(ssnd + 16), 6, 0xEE);
    writeUnsigned(made.file, ssnd + 4, readUnsigned(made.file, ssnd + 4, 4, true) + 6, 4, true);
    EXPECT_EQ(bytesOf(read(made)), made.data);

    // An offset past the chunk's data leaves no data.
    writeUnsigned(made.file, ssnd + 8, 0xFFFFFFF0, 4, true);
    const KTSample sample = read(made);
    EXPECT_TRUE(sample.empty());
    EXPECT_EQ(sample.mChannels, 1);
}

TEST_F(FileReaderEdgeTest, SizesPastTheEndGiveWhatTheFileHolds)
{
    struct Case {
        bool isAiff;
        const char* chunk;  // "junk": a chunk inserted before the format chunk
        std::uint32_t size;
        bool expectFormat;
        bool expectData;
    };
    const Case cases[] = {
        {true, "SSND", 0xFFFFFFFF, true, true}, {true, "COMM", 0xFFFFFFFF, true, false},
        {true, "SSND", 7, true, false},         {true, "SSND", 0, true, false},
        {true, "junk", 0xFFFFFFFF, false, false}, {false, "data", 0xFFFFFFFF, true, true},
        {false, "data", 0, true, false},        {false, "fmt ", 0xFFFFFFFF, true, false},
        {false, "junk", 0xFFFFFFFF, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.isAiff ? "aiff " : "wav ") + c.chunk + " " + std::to_string(c.size));
        Made made = make(c.isAiff);
        if (std::string(c.chunk) == "junk")
            insertChunk(made.file, 12, "junk", 2, c.isAiff);
        writeUnsigned(made.file, *findChunk(made.file, c.chunk, c.isAiff) + 4, c.size, 4, c.isAiff);
        const KTSample sample = read(made);
        EXPECT_EQ(sample.mChannels, c.expectFormat ? 1 : 0);
        EXPECT_EQ(sample.mSampleRate, c.expectFormat ? 44100.0 : 0.0);
        EXPECT_EQ(bytesOf(sample), c.expectData ? made.data : Bytes{});
    }
}

TEST_F(FileReaderEdgeTest, LimitCutsTheData)
{
    const Made aiff = make(true), wav = make(false);
    for (const std::uint64_t limit : {0ULL, 1ULL, 2ULL, 30ULL, 80ULL, 81ULL, 100000ULL}) {
        SCOPED_TRACE(limit);
        const std::size_t n = limit == 0 ? 80 : std::min<std::size_t>(limit, 80);
        EXPECT_EQ(bytesOf(read(wav, limit)), Bytes(wav.data.begin(), wav.data.begin() + static_cast<std::ptrdiff_t>(n)));
        const auto whole = static_cast<std::ptrdiff_t>(n & ~std::size_t{1});  // AIFF keeps whole samples only
        EXPECT_EQ(bytesOf(read(aiff, limit)), Bytes(aiff.data.begin(), aiff.data.begin() + whole));
    }
}

TEST_F(FileReaderEdgeTest, CompressedAndFloatFilesAreValidButNotSupported)
{
    struct Case {
        const char* name;
        bool isAiff;
        const char* soxOptions;
        std::size_t (*patchAt)(const Bytes&);  // where `patch` goes, or none
        const char* patch;
    };
    const auto compression = [](const Bytes& file) { return *findChunk(file, "COMM", true) + 26; };
    const auto subFormat = [](const Bytes& file) { return *findChunk(file, "fmt ", false) + 32; };
    const Case cases[] = {
        {"aifc ulaw", true, "-t aifc", compression, "ulaw"},
        {"aifc alaw", true, "-t aifc", compression, "alaw"},
        {"aifc fl32", true, "-t aifc", compression, "fl32"},
        {"wav float", false, "-e floating-point -b 32 -t wav", nullptr, ""},
        {"wav a-law", false, "-e a-law -t wav", nullptr, ""},
        {"wav u-law", false, "-e u-law -t wav", nullptr, ""},
        {"wav extensible float", false, "-b 24 -t wav", subFormat, "\x03"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Made made = make(c.isAiff, c.soxOptions);
        if (c.patchAt)
            std::memcpy(&made.file.at(c.patchAt(made.file)), c.patch, std::strlen(c.patch));
        const auto reader = open(made.file, c.isAiff);
        EXPECT_TRUE(reader->isValid());
        EXPECT_FALSE(reader->isSupported());
    }
}

TEST_F(FileReaderEdgeTest, ForeignFilesAreNotValidAndStayReadable)
{
    const Bytes cases[] = {
        {}, {'F', 'O'}, Bytes(100, 'x'),
        {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' ', 'f', 'm', 't', ' ', 0xFF, 0xFF, 0xFF, 0xFF},
        {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'X', 'a', 'b', 'c', 'd', 0xFF, 0xFF, 0xFF, 0xFF, 1, 2}};
    for (const Bytes& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        const std::string path = mFolder.write("foreign", bytes);
        EXPECT_FALSE(KTAiffFileReader(path.c_str()).isValid());
        KTWaveFileReader wave(path.c_str());
        EXPECT_FALSE(wave.isValid());
        EXPECT_FALSE(wave.isSupported());
        // The raw import reads the whole file from its start through this stream.
        wave.seekg(0);
        KTBuffer raw(131072, 0);
        raw.read(wave);
        EXPECT_EQ(Bytes(raw.begin(), raw.end()), bytes);
    }
    EXPECT_FALSE(KTWaveFileReader(mFolder.path("missing").c_str()).isValid());
    EXPECT_TRUE(KTAiffFileReader(mFolder.path("missing").c_str()).readSample(0).empty());
}

TEST_F(FileReaderEdgeTest, EveryPrefixReadsWithoutFault)
{
    const Made files[] = {make(true), make(false), make(false, "-t wav -b 24"), make(true, "-t aifc")};
    const KTSampleConverter converter(44100.0, 1, 16, false);
    for (const Made& made : files) {
        for (std::size_t length = 0; length <= made.file.size(); ++length) {
            SCOPED_TRACE(length);
            const Bytes prefix(made.file.begin(), made.file.begin() + static_cast<std::ptrdiff_t>(length));
            const KTSample sample = open(prefix, made.isAiff)->readSample(0);
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

} // namespace
