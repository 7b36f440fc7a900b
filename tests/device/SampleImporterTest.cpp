// Importing audio through the domain core: placement and fade, sox-made files
// of each kind, files that hold no sound, and the import into a bank. The
// bounded read of long files is pinned in ResamplingTest.

#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Samples = std::vector<std::int16_t>;
using Status = TLImportedSound::Status;
constexpr std::size_t kBank = TLOrvane::kSamplesPerBank;

KTSample sampleOf(const Samples& values)
{
    KTSample sample;
    sample.setFormat(44100.0, 1, 16, false);
    for (std::int16_t value : values) {
        sample.push_back(static_cast<std::uint8_t>(value & 0xFF));
        sample.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
    }
    return sample;
}

Samples valuesOf(const KTSample& sample)
{
    Samples values(sample.size() / 2);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::int16_t>(sample[2 * i] | sample[2 * i + 1] << 8);
    return values;
}

std::vector<std::int64_t> ramp(std::size_t frames, int channels = 1)
{
    std::vector<std::int64_t> samples(frames * channels);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int64_t>((i * 37) % 20000) - 10000;
    return samples;
}

} // namespace

TEST(SampleImporter, PlacesFadesAndClears)
{
    // Fade: the sample k places before the end loses 16 - k bits, keeping its sign.
    Samples full(70000, 30000);
    full[kBank - 15] = -32768;
    const struct {
        Samples imported;
        std::vector<std::pair<std::size_t, std::int16_t>> expected;
    } cases[] = {
        {Samples(1000, 20000), {{0, 0}, {984, 20000}, {985, 20000 >> 1}, {986, 20000 >> 2}, {998, 20000 >> 14},
                                {999, 0}, {1000, 0}, {kBank - 1, 0}}},
        {full, {{0, 0}, {kBank - 16, 30000}, {kBank - 15, -16383}, {kBank - 2, 30000 >> 14}, {kBank - 1, 0}}},
        {Samples{30000, 30000, 30000, 30000, 30000}, {{0, 0}, {1, 30000 >> 12}, {3, 30000 >> 14}, {4, 0}, {5, 0}}},
        {Samples{-30000, -30000}, {{0, 0}, {1, 0}, {2, 0}}},
    };
    for (const auto& c : cases) {
        Samples bank(100, 7); // a bank a disk left shorter
        TLSampleImporter::place(bank, sampleOf(c.imported));
        ASSERT_EQ(bank.size(), kBank);
        for (const auto& [index, value] : c.expected)
            EXPECT_EQ(bank[index], value) << index << " of " << c.imported.size();
    }
}

TEST(SampleImporter, ReadsWhatSoxWritesAndRefusesWhatHoldsNoSound)
{
    TestFolder folder;
    std::vector<std::int64_t> stereo(2 * 4800);
    for (std::size_t i = 0; i < stereo.size(); ++i)
        stereo[i] = i % 2 ? 3000 : 1000;
    const std::string ulawWav = folder.path("ulaw.wav");
    ASSERT_TRUE(folder.sox("-n -r 44100 -c 1 -t wav -e mu-law " + ulawWav + " synth 0.1 sine 300"));
    // A WAV with a format chunk and no data chunk, and one cut inside its format chunk.
    Bytes wav = TestFolder::read(folder.soxFromSamples("full.wav", ramp(10), 16, 1, 44100, "-t wav"));
    const Bytes noData(wav.begin(), wav.begin() + 36);
    const Bytes cutFormat(wav.begin(), wav.begin() + 26);
    // What is no PCM must not become noise: an MP3 named .wav, text named .aif,
    // zeros named .wav; the same zeros with no name to go by are raw data.
    const Bytes mp3{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 0, 0xFF, 0xFB, 0x90, 0x64};
    const Bytes text{'n', 'o', 't', ' ', 'a', 'u', 'd', 'i', 'o', '\n'};

    const struct {
        std::string path;
        Status status;
        bool raw;
        Samples head; // the first converted samples
        std::size_t count;
        double seconds = 0.0; // the whole file's
        TLImportOptions options = {};
    } cases[] = {
        {folder.soxFromSamples("tone.wav", ramp(1000), 16, 1, 44100, "-t wav"), Status::Imported, false,
         {-10000, -9963, -9926}, 1000, 1000 / 44100.0},
        {folder.soxFromSamples("tone.aif", ramp(1000), 16, 1, 44100, "-t aiff"), Status::Imported, false,
         {-10000, -9963, -9926}, 1000, 1000 / 44100.0},
        {folder.soxFromSamples("stereo.wav", stereo, 16, 2, 48000, "-t wav"), Status::Imported, false,
         {2000, 2000, 2000}, 4410, 0.1},
        {folder.path("stereo.wav"), Status::Imported, false, {3000, 3000}, 2205, 0.1,
         {.startSeconds = 0.05, .channel = TLImportOptions::Channel::Right}},
        {folder.write("five.raw", Bytes{0x30, 0x75, 0x31, 0x75, 0xFF}), Status::Imported, true, {30000, 30001}, 2, 2 / 44100.0},
        {ulawWav, Status::Unsupported, false, {}, 0},
        {folder.write("song.wav", mp3), Status::Unsupported, false, {}, 0},
        {folder.write("frame", Bytes(mp3.begin() + 10, mp3.end())), Status::Unsupported, false, {}, 0},
        {folder.write("text.aif", text), Status::Unsupported, false, {}, 0},
        {folder.write("zeros.wav", Bytes(4000)), Status::Unsupported, false, {}, 0},
        {folder.write("zeros", Bytes(4000)), Status::Imported, true, {0, 0}, 2000, 2000 / 44100.0},
        {folder.path("missing.wav"), Status::Unreadable, false, {}, 0},
        {folder.path(""), Status::Unreadable, false, {}, 0},
        {folder.write("empty.wav", {}), Status::NoSound, true, {}, 0},
        {folder.write("one byte", Bytes{0x7F}), Status::NoSound, true, {}, 0},
        {folder.write("nodata.wav", noData), Status::NoSound, false, {}, 0},
        {folder.write("cut.wav", cutFormat), Status::NoSound, false, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        const TLImportedSound sound = TLSampleImporter::read(c.path, c.options);
        EXPECT_EQ(sound.status, c.status);
        EXPECT_EQ(sound.reason.empty(), c.status == Status::Imported) << sound.reason;
        EXPECT_EQ(sound.raw, c.raw);
        const Samples values = valuesOf(sound.samples);
        EXPECT_EQ(values.size(), c.count);
        EXPECT_DOUBLE_EQ(sound.sourceSeconds, c.seconds);
        EXPECT_EQ(Samples(values.begin(), values.begin() + std::min(values.size(), c.head.size())), c.head);
    }
}

TEST(SampleImporter, ImportIntoPlacesAndNamesOrLeavesTheBankAlone)
{
    TestFolder folder;
    const std::string path = folder.soxFromSamples("tone.wav", ramp(5000, 2), 24, 2, 48000, "-t wav");
    Samples expected;
    TLSampleImporter::place(expected, TLSampleImporter::read(path).samples);
    std::vector<std::int16_t> image(TLOrvane::kBankCount * kBank, 9);
    TLOrvane orvane(image.data());
    ASSERT_EQ(TLSampleImporter::importInto(orvane, 4, path).status, Status::Imported);
    EXPECT_EQ(orvane.mSampleNames[4][0], "tone.wav");
    EXPECT_EQ(orvane.mSamples[4], expected);

    // A file that yields nothing leaves the bank and its names as they were.
    EXPECT_EQ(TLSampleImporter::importInto(orvane, 4, folder.write("empty", {})).status, Status::NoSound);
    EXPECT_EQ(orvane.mSamples[4], expected);
    EXPECT_EQ(orvane.mSampleNames[4][0], "tone.wav");
}
