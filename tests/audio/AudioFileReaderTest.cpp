#include "audio/KTAiffFileReader.h"
#include "audio/KTWaveFileReader.h"
#include "tests/support/TestFolder.h"
#include "tests/support/TestBytes.h"

#include <memory>
#include <sstream>

namespace {

std::unique_ptr<KTAudioFileReader> openReader(const std::string& path, bool isAiff)
{
    return isAiff ? std::unique_ptr<KTAudioFileReader>(std::make_unique<KTAiffFileReader>(path.c_str()))
                  : std::make_unique<KTWaveFileReader>(path.c_str());
}

// What the reader makes of the file: validity, support, the format and the data.
std::string summary(KTAudioFileReader& reader, std::uint64_t limit)
{
    const KTSample sample = reader.readSample(limit);
    std::ostringstream text;
    text << (reader.isValid() ? "valid " : "invalid ") << (reader.isSupported() ? "supported " : "") << sample.mChannels
         << "ch " << sample.mBitsPerSample << "bit " << sample.mSampleRate << "Hz" << (sample.mIsUnsigned ? "u" : "")
         << ": " << sample.toHexString();
    if (reader.clippedSamples() != 0)
        text << "clipped " << reader.clippedSamples();
    return text.str();
}

class SoxWitness : public testing::TestWithParam<std::tuple<const char*, int, int, int>> {};

} // namespace

// sox wraps known samples (both extremes, -1, 0, 1, then pseudo-random ones) in
// every container, size, channel count and rate the import meets; the readers
// give back exactly those samples, least significant byte first.
TEST_P(SoxWitness, ReadersGiveBackTheSamplesSoxWrote)
{
    const auto [type, bits, channels, rate] = GetParam();  // container, bits, channels, rate
    std::vector<std::int64_t> samples{-(1LL << (bits - 1)), (1LL << (bits - 1)) - 1, -1, 0, 1};
    for (std::uint64_t i = rate; samples.size() < 301U * channels; ++i)
        samples.push_back(static_cast<std::int64_t>(i * 0x9E3779B97F4A7C15ULL) >> (64 - bits));
    TestFolder folder;
    const std::string path = folder.soxFromSamples("in", samples, bits, channels, rate, "-t " + std::string(type));
    const bool offsetBinary = bits == 8 && type[0] == 'w';  // 8-bit WAV data is unsigned
    Bytes raw = TestFolder::read(folder.path("in.raw"));
    for (std::uint8_t& byte : raw)
        byte ^= offsetBinary ? 0x80 : 0;
    const std::string want = "valid supported " + std::to_string(channels) + "ch " + std::to_string(bits) + "bit "
        + std::to_string(rate) + (offsetBinary ? "Hzu: " : "Hz: ") + KTBuffer(raw.begin(), raw.end()).toHexString();
    EXPECT_EQ(summary(*openReader(path, type[0] == 'a'), 0), want);
}

// Float data, as most audio programs export it, comes back as the 16-bit
// samples sox made it from (n / 32768 is exact in float).
TEST(SoxWitness, FloatFilesGiveBackTheSixteenBitSamples)
{
    std::vector<std::int64_t> samples{-32768, 32767, -1, 0, 1};
    for (std::uint64_t i = 1; samples.size() < 602; ++i)
        samples.push_back(static_cast<std::int64_t>(i * 0x9E3779B97F4A7C15ULL) >> 48);
    TestFolder folder;
    for (const char* type : {"wav", "aifc"})
        for (const int bits : {32, 64}) {
            const std::string options = "-t " + std::string(type) + " -e floating-point -b " + std::to_string(bits);
            const std::string path = folder.soxFromSamples("float", samples, 16, 2, 48000, options);
            const Bytes raw = TestFolder::read(folder.path("float.raw"));
            EXPECT_EQ(summary(*openReader(path, type[0] == 'a'), 0),
                      "valid supported 2ch 16bit 48000Hz: " + KTBuffer(raw.begin(), raw.end()).toHexString())
                << options;
        }
}

INSTANTIATE_TEST_SUITE_P(AllFormats, SoxWitness,
                         testing::Combine(testing::Values("aiff", "aifc", "wav", "wavpcm"),
                                          testing::Values(8, 16, 24, 32), testing::Values(1, 2),
                                          testing::Values(22050, 44100, 48000, 96000)));

// Files edited byte by byte: extra chunks, odd sizes and pad bytes, chunk order,
// offsets, compression types, sizes past the end, limits and foreign files. Every
// prefix of each reads without fault, giving no more data than it holds.
TEST(AudioFileReader, EditedFilesGiveWhatTheyHold)
{
    // The pieces: 16-bit mono 44,100 Hz samples 1 and 32767, and a 24-bit mono extensible format.
    const std::string wav = "'RIFF' 00000000 'WAVE' ", fmt = "'fmt ' 10000000 0100 0100 44ac0000 88580100 0200 1000 ",
                      data = "'data' 04000000 0100 ff7f ", form = "'FORM' 00000000 'AIFF' ",
                      comm = "'COMM' 00000012 0001 00000002 0010 400eac44000000000000 ", aiff = form + comm,
                      aifc = "'FORM' 00000000 'AIFC' 'COMM' 00000018 0001 00000002 0010 400eac44000000000000 ",
                      ssnd = "'SSND' 0000000c 00000000 00000000 0001 7fff ", sound = " 00000000 00000000 0001 7fff",
                      ext = "'fmt ' 28000000 feff 0100 44ac0000 cc040200 0300 1800 1600 1800 00000000 ",
                      pcm = "01000000 00001000 800000aa00389b71 'data' 06000000 010203 fdfeff";
    const std::string noData = "valid supported 1ch 16bit 44100Hz: ", plain16 = noData + "01 00 ff 7f\n",
                      noFormat = "valid supported 0ch 0bit 0Hz: ", data24 = "01 02 03 fd fe ff\n";
    const std::tuple<const char*, std::string, std::uint64_t, std::string> cases[] = {
        {"wav odd chunks", wav + "'junk' 05000000 0102030405 00" + fmt + "'xtra' 01000000 ff 00" + data, 0, plain16},
        {"wav limit 3", wav + fmt + data, 3, "valid supported 1ch 16bit 44100Hz: 01 00 ff\n"},
        {"wav data past end", wav + fmt + "'data' ffffffff 0100 ff7f", 0, plain16},
        {"wav fmt past end", wav + "'fmt ' ffffffff 0100 0100 44ac0000 88580100 0200 1000" + data, 0, noData},
        {"wav junk past end", wav + "'junk' ffffffff 0000" + fmt + data, 0, "valid 0ch 0bit 0Hz: "},
        {"wav 8 bit", wav + "'fmt ' 10000000 0100 0100 44ac0000 44ac0000 0100 0800 'data' 02000000 80ff", 0,
         "valid supported 1ch 8bit 44100Hzu: 80 ff\n"},
        {"wav extensible pcm", wav + ext + pcm, 0, "valid supported 1ch 24bit 44100Hz: " + data24},
        {"wav extensible float 24 bit", wav + ext + "03" + pcm.substr(2), 0, "valid 1ch 24bit 44100Hz: " + data24},
        {"wav extensible 39 bytes", wav + "'fmt ' 27" + ext.substr(9) + pcm, 0, "valid 1ch 24bit 44100Hz: " + data24},
        {"wav float: 0.5, -2, NaN, 1", wav + "'fmt ' 10000000 0300 0100 44ac0000 10b10200 0400 2000"
         "'data' 10000000 0000003f 000000c0 0000c07f 0000803f", 0, "valid supported 1ch 16bit 44100Hz: 00 40 00 80 00 "
         "00 ff 7f\nclipped 2"},
        {"aifc fl64: -0.25", "'FORM' 00000000 'AIFC' 'COMM' 00000018 0001 00000001 0040 400eac44000000000000 'fl64' "
         "0000 'SSND' 00000010 00000000 00000000 bfd0000000000000", 0, "valid supported 1ch 16bit 44100Hz: 00 e0\n"},
        {"riff avi", "'RIFF' 04000000 'AVI ' 'LIST' 04000000 'hdrl'", 0, "invalid 0ch 0bit 0Hz: "},
        {"aiff odd chunk, sound first", form + "'xtra' 00000003 010203 00" + ssnd + comm, 0, plain16},
        {"aiff offset 2", aiff + "'SSND' 0000000e 00000002 00000000 eeee 0001 7fff", 0, plain16},
        {"aiff offset past data", aiff + "'SSND' 0000000c fffffff0" + sound.substr(9), 0, noData},
        {"aiff sound past end", aiff + "'SSND' ffffffff" + sound, 0, plain16},
        {"aiff sound size 7", aiff + "'SSND' 00000007" + sound, 0, noData},
        {"aiff common past end", form + "'COMM' ffffffff" + comm.substr(15) + ssnd, 0, noData},
        {"aiff junk past end", form + "'junk' ffffffff 0000" + comm + ssnd, 0, noFormat},
        {"aiff limit 3", aiff + ssnd, 3, "valid supported 1ch 16bit 44100Hz: 01 00\n"},
        {"aiff 24 bit stereo -0.5 Hz", form + "'COMM' 00000012 0002 00000001 0018 bffe8000000000000000 'SSND' 0000000e"
         " 00000000 00000000 123456 abcdef", 0, "valid supported 2ch 24bit -0.5Hz: 56 34 12 ef cd ab\n"},
        {"aifc sowt", aifc + "'sowt' 0000 'SSND' 0000000c 00000000 00000000 0100 ff7f", 0, plain16},
        {"aifc ulaw", aifc + "'ulaw' 0000" + ssnd, 0, "valid 1ch 16bit 44100Hz: 01 00 ff 7f\n"},
    };
    TestFolder folder;
    for (const auto& [name, text, limit, expected] : cases) {
        SCOPED_TRACE(name);
        const Bytes file = hex(text);
        const std::string path = folder.write("edited", file);
        const bool isAiff = text.starts_with("'FORM'");
        const auto reader = openReader(path, isAiff);
        EXPECT_EQ(summary(*reader, limit), expected);
        for (std::size_t n = 0; n < file.size(); ++n) {
            const std::string cut = folder.write("cut", Bytes(file.begin(), file.begin() + n));
            ASSERT_LE(openReader(cut, isAiff)->readSample(0).size(), n);
        }
    }
    EXPECT_EQ(summary(*openReader(folder.path("missing"), true), 0), "invalid 0ch 0bit 0Hz: ");
}
