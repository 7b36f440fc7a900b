// Importing samples through the controller: sox-made WAV and AIFF files, raw
// files, rejected formats, and banks that come out the same as converting the
// whole file although only the part a bank can hold is read.

#include "ControllerFixture.h"
#include "audio/KTAiffFileReader.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "tests/audio/AudioTestFolder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using Alert = ApplicationPlatformDouble::Alert;
using AlertStyle = ApplicationPlatformDouble::AlertStyle;
using Samples = std::vector<std::int16_t>;

constexpr std::size_t kBank = 65536;

Samples littleEndianValues(const Bytes& bytes)
{
    Samples values(bytes.size() / 2);
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    return values;
}

// What a bank holds after importing these samples: the first 65,536, the rest
// cleared, the first one silent and the last 15 faded.
Samples expectedBank(const Samples& imported)
{
    const std::size_t placed = std::min(imported.size(), kBank);
    Samples bank(kBank, 0);
    std::copy_n(imported.begin(), placed, bank.begin());
    bank[0] = 0;
    for (std::size_t k = std::min<std::size_t>(15, placed); k >= 1; --k) {
        const int value = std::max<int>(bank[placed - k], -32767);
        const int magnitude = std::abs(value) >> (16 - k);
        bank[placed - k] = static_cast<std::int16_t>(value < 0 ? -magnitude : magnitude);
    }
    return bank;
}

// The whole file read and converted, without any limit.
Samples wholeFileConversion(const std::string& path)
{
    KTAiffFileReader aiff(path.c_str());
    KTWaveFileReader wave(path.c_str());
    KTAudioFileReader& reader = aiff.isValid() ? static_cast<KTAudioFileReader&>(aiff) : wave;
    EXPECT_TRUE(reader.isValid() && reader.isSupported());
    KTSample converted;
    KTSampleConverter(44100.0, 1, 16, false).convert(converted, reader.readSample(0));
    return littleEndianValues(converted);
}

std::vector<std::int64_t> ramp(std::size_t frames)
{
    std::vector<std::int64_t> samples(frames);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int64_t>((i * 37) % 20000) - 10000;
    return samples;
}

class ImportWorkflow : public ControllerFixture {
protected:
    void SetUp() override
    {
        start();
        mWindow.mTableView.userSelectsRow(3);
    }

    void import(const std::string& path)
    {
        mApp.mPanelAnswers.push_back(path);
        mController->openSample(nullptr);
    }

    void expectNamesUntouchedBut(const std::string& slotZero)
    {
        EXPECT_EQ(orvane().mSampleNames[3][0], slotZero);
        EXPECT_EQ(orvane().mSampleNames[3][1], "Sample 2 (in Bank 4)");
        EXPECT_EQ(orvane().mBankNames[3], "Bank 4");
        EXPECT_EQ(mWindow.mTextField_Sample.mText, slotZero);
    }

    AudioTestFolder mFolder;
};

TEST_F(ImportWorkflow, AMonoFileOfAThousandFramesIsPlacedFadedAndFollowedBySilence)
{
    const struct {
        const char* name;
        const char* type;
        std::int64_t at985;
        std::int16_t faded985;
    } cases[] = {{"tone.wav", "-t wav", 20000, 10000}, {"tone.aif", "-t aiff", -32768, -16383}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::int64_t> samples = ramp(1000);
        samples[0] = 1234;
        samples[985] = c.at985;
        samples[999] = -20000;
        const std::string path = mFolder.soxFromSamples(c.name, samples, 16, 1, 44100, c.type);
        orvane().mSamples[3].resize(100); // a bank a disk left shorter

        import(path);

        EXPECT_TRUE(mApp.mPanels.back().allowedFileTypes.empty());
        EXPECT_FALSE(mApp.mPanels.back().allowsMultipleSelection);
        EXPECT_TRUE(mApp.mAlerts.empty());
        const Samples& bank = orvane().mSamples[3];
        ASSERT_EQ(bank.size(), kBank);
        EXPECT_EQ(bank[0], 0);
        EXPECT_EQ(bank[984], samples[984]);
        EXPECT_EQ(bank[985], c.faded985);
        EXPECT_EQ(bank[986], samples[986] / 4);
        EXPECT_EQ(bank[999], 0);
        EXPECT_EQ(bank, expectedBank(Samples(samples.begin(), samples.end())));
        expectNamesUntouchedBut(c.name);
    }
    Samples factoryBank2(mFactory.begin() + 2 * kBank, mFactory.begin() + 3 * kBank);
    factoryBank2.back() = 0;
    EXPECT_EQ(orvane().mSamples[2], factoryBank2);
}

TEST_F(ImportWorkflow, StereoAt48kHzIsMixedAndResampled)
{
    // A tenth of a second: 4,800 frames become 4,410.
    std::vector<std::int64_t> samples(4800 * 2);
    for (std::size_t f = 0; f < 4800; ++f) {
        samples[2 * f] = 1000;
        samples[2 * f + 1] = 3000;
    }
    for (const char* type : {"wav", "aiff"}) {
        SCOPED_TRACE(type);
        const std::string path = mFolder.soxFromSamples(std::string("stereo.") + type, samples, 16, 2, 48000,
                                                        std::string("-t ") + type);
        orvane().resetBank(3);
        import(path);
        const Samples& bank = orvane().mSamples[3];
        EXPECT_EQ(bank[0], 0);
        EXPECT_EQ(std::count(bank.begin() + 1, bank.begin() + 4395, 2000), 4394);
        EXPECT_EQ(bank[4395], 1000);
        EXPECT_EQ(bank[4409], 0);
        EXPECT_EQ(bank, expectedBank(wholeFileConversion(path)));
    }
}

TEST_F(ImportWorkflow, EightBitWavLosesItsOffset)
{
    std::vector<std::int64_t> samples(500);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int64_t>(i % 256) - 128;
    const std::string path = mFolder.soxFromSamples("eight.wav", samples, 8, 1, 44100, "-t wav");

    import(path);

    const Samples& bank = orvane().mSamples[3];
    EXPECT_EQ(bank[1], -127 * 256);
    EXPECT_EQ(bank[128], 0);
    EXPECT_EQ(bank[200], (200 - 128) * 256);
    EXPECT_EQ(bank[255], 127 * 256);
    EXPECT_EQ(bank[500], 0);
    expectNamesUntouchedBut("eight.wav");
}

TEST_F(ImportWorkflow, CompressedAndFloatFilesAreRejectedWithBankAndNamesUnchanged)
{
    const std::string float32 = mFolder.path("float.aifc");
    ASSERT_TRUE(mFolder.sox("-n -r 44100 -c 1 -t aifc -e floating-point -b 32 " + float32 + " synth 0.1 sine 300"));
    Bytes ulaw = AudioTestFolder::read(mFolder.soxFromSamples("plain.aifc", ramp(100), 16, 1, 44100, "-t aifc"));
    const auto none = std::search(ulaw.begin(), ulaw.end(), std::begin("NONE"), std::end("NONE") - 1);
    ASSERT_NE(none, ulaw.end());
    std::copy_n("ulaw", 4, none);
    const std::string floatWav = mFolder.path("float.wav");
    ASSERT_TRUE(mFolder.sox("-n -r 44100 -c 1 -t wav -e floating-point -b 32 " + floatWav + " synth 0.1 sine 300"));
    const Samples before = orvane().mSamples[3];

    for (const std::string& path : {float32, mFolder.write("ulaw.aifc", ulaw), floatWav}) {
        SCOPED_TRACE(path);
        mApp.mAlerts.clear();
        import(path);
        const Alert rejected{AlertStyle::Critical, "Wrong File Format",
                             "OrvaneEditor supports only pcm (no compression) formats (*.aif or *.wav).", "OK", "", ""};
        EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{rejected});
        EXPECT_EQ(orvane().mSamples[3], before);
        expectNamesUntouchedBut("Sample 1 (in Bank 4)");
    }
}

TEST_F(ImportWorkflow, RawFilesFillTheBankAsFarAsTheyReach)
{
    Bytes raw(200000);
    std::mt19937 random(7);
    for (std::uint8_t& byte : raw)
        byte = static_cast<std::uint8_t>(random());
    raw[0] = 'x';
    raw[2 * 65521] = 0x20;     // 20,000 fifteen samples before the end
    raw[2 * 65521 + 1] = 0x4E;
    const std::string path = mFolder.write("noise.bin", raw);

    import(path);

    EXPECT_TRUE(mApp.mAlerts.empty());
    const Samples values = littleEndianValues(Bytes(raw.begin(), raw.begin() + 2 * kBank));
    const Samples& bank = orvane().mSamples[3];
    EXPECT_EQ(bank[0], 0);
    EXPECT_EQ(bank[65520], values[65520]);
    EXPECT_EQ(bank[65521], 10000);
    EXPECT_EQ(bank[65535], 0);
    EXPECT_EQ(bank, expectedBank(values));
    expectNamesUntouchedBut("noise.bin");

    // Files shorter than the fade fade only what they have.
    import(mFolder.write("five.raw", Bytes{0x30, 0x75, 0x30, 0x75, 0x30, 0x75, 0x30, 0x75, 0x30, 0x75}));
    Samples expected(kBank, 0);
    expected[1] = 30000 >> 12;
    expected[2] = 30000 >> 13;
    expected[3] = 30000 >> 14;
    EXPECT_EQ(orvane().mSamples[3], expected);
    expectNamesUntouchedBut("five.raw");

    // A file that yields no sample leaves the bank as it was.
    import(mFolder.write("one byte", Bytes{0x7F}));
    EXPECT_EQ(orvane().mSamples[3], expected);
    expectNamesUntouchedBut("five.raw");
    ASSERT_EQ(mApp.mAlerts.size(), 1u);
    EXPECT_EQ(mApp.mAlerts[0].title, "No Sound Data");
}

// Files whose conversion gives more than a bank: the bank must equal the
// start of converting the whole file, around the bank's length too.
TEST_F(ImportWorkflow, LimitedReadingPlacesWhatTheWholeFileWouldGive)
{
    const struct {
        const char *name, *format, *synth;
    } synthesised[] = {
        {"stereo48.wav", "-r 48000 -c 2 -b 16 -t wav", "3 sine 440 sine 523"},
        {"mono22k8bit.wav", "-r 22050 -c 1 -b 8 -t wav", "4 sine 300"},
        {"mono96k24bit.wav", "-r 96000 -c 1 -b 24 -t wav", "2 sine 1000"},
        {"stereo11k32bit.wav", "-r 11025 -c 2 -b 32 -t wav", "8 sine 200 sine 201"},
        {"mono8k.aif", "-r 8000 -c 1 -b 16 -t aiff", "10 sine 100"},
        {"stereo44k.aif", "-r 44100 -c 2 -b 16 -t aiff", "2 square 150 sine 700"},
        {"odd rate.wav", "-r 44101 -c 1 -b 16 -t wav", "2 sine 440"},
    };
    std::vector<std::string> paths;
    for (const auto& c : synthesised) {
        paths.push_back(mFolder.path(c.name));
        ASSERT_TRUE(mFolder.sox(std::string("-n ") + c.format + " \"" + paths.back() + "\" synth " + c.synth))
            << c.name;
    }
    for (std::size_t frames : {65535u, 65536u, 65537u, 65552u})
        paths.push_back(mFolder.soxFromSamples("edge" + std::to_string(frames) + ".wav", ramp(frames), 16, 1, 44100,
                                               "-t wav"));

    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        import(path);
        EXPECT_TRUE(mApp.mAlerts.empty());
        const Samples whole = wholeFileConversion(path);
        EXPECT_GE(whole.size(), 65535u);
        EXPECT_EQ(orvane().mSamples[3], expectedBank(whole));
    }
}

// A cancelled panel and an import while transmitting do nothing; folders,
// pipes and vanished files only beep.
TEST_F(ImportWorkflow, WhatIsNoSampleChangesNothing)
{
    const Samples before = orvane().mSamples[3];
    std::filesystem::create_directory(mFolder.path("folder.wav"));
    ASSERT_EQ(mkfifo(mFolder.path("pipe.wav").c_str(), 0600), 0);

    mApp.mPanelAnswers.push_back(std::nullopt);
    mController->openSample(nullptr);
    for (const char* name : {"folder.wav", "pipe.wav", "gone.wav"})
        import(mFolder.path(name));
    mController->mIdleState = false;
    mApp.mPanelAnswers.push_back(mFolder.soxFromSamples("t.wav", ramp(100), 16, 1, 44100, "-t wav"));
    mController->openSample(nullptr);

    EXPECT_EQ(mApp.mPanels.size(), 4u) << "nothing is asked while transmitting";
    EXPECT_EQ(mApp.mBeeps, 3);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(orvane().mSamples[3], before);
    expectNamesUntouchedBut("Sample 1 (in Bank 4)");
}

} // namespace
