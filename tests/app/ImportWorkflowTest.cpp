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
    for (std::size_t k = 15; k >= 1; --k) {
        if (placed < k)
            continue;
        const int value = std::max<int>(bank[placed - k], -32767);
        const int magnitude = std::abs(value) >> (16 - k);
        bank[placed - k] = static_cast<std::int16_t>(value < 0 ? -magnitude : magnitude);
    }
    return bank;
}

// The whole file read and converted, without any limit.
Samples wholeFileConversion(KTAudioFileReader& reader)
{
    EXPECT_TRUE(reader.isValid());
    EXPECT_TRUE(reader.isSupported());
    const KTSample source = reader.readSample(0);
    KTSample converted;
    KTSampleConverter(44100.0, 1, 16, false).convert(converted, source);
    return littleEndianValues(converted);
}

Samples wholeFileConversion(const std::string& path)
{
    KTAiffFileReader aiff(path.c_str());
    if (aiff.isValid())
        return wholeFileConversion(aiff);
    KTWaveFileReader wave(path.c_str());
    return wholeFileConversion(wave);
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
        EXPECT_EQ(mController->mAudioFileReader, nullptr);
    }

    std::vector<std::int64_t> ramp(std::size_t frames, int channels = 1)
    {
        std::vector<std::int64_t> samples(frames * static_cast<std::size_t>(channels));
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int64_t>((i * 37) % 20000) - 10000;
        return samples;
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

TEST_F(ImportWorkflow, AMonoWavOfAThousandFramesIsPlacedFadedAndFollowedBySilence)
{
    std::vector<std::int64_t> samples = ramp(1000);
    samples[0] = 1234;
    samples[985] = 20000;
    samples[999] = -20000;
    const std::string path = mFolder.soxFromSamples("tone.wav", samples, 16, 1, 44100, "-t wav");
    orvane().mSamples[3].resize(100);   // a bank a disk left shorter

    import(path);

    ASSERT_EQ(mApp.mPanels.size(), 1u);
    EXPECT_TRUE(mApp.mPanels[0].allowedFileTypes.empty());
    EXPECT_FALSE(mApp.mPanels[0].allowsMultipleSelection);
    EXPECT_TRUE(mApp.mAlerts.empty());
    const Samples& bank = orvane().mSamples[3];
    ASSERT_EQ(bank.size(), kBank);
    EXPECT_EQ(bank[0], 0);
    for (std::size_t i = 1; i <= 984; ++i)
        ASSERT_EQ(bank[i], samples[i]) << i;
    EXPECT_EQ(bank[985], 10000);
    EXPECT_EQ(bank[986], samples[986] / 4);
    EXPECT_EQ(bank[999], 0);
    EXPECT_EQ(std::count(bank.begin() + 1000, bank.end(), 0), 64536);
    Samples asShort(samples.begin(), samples.end());
    EXPECT_EQ(bank, expectedBank(asShort));
    expectNamesUntouchedBut("tone.wav");
    Samples factoryBank2(mFactory.begin() + 2 * kBank, mFactory.begin() + 3 * kBank);
    factoryBank2.back() = 0;
    EXPECT_EQ(orvane().mSamples[2], factoryBank2);
}

TEST_F(ImportWorkflow, AMonoAiffOfAThousandFramesIsPlacedTheSameWay)
{
    std::vector<std::int64_t> samples = ramp(1000);
    samples[985] = -32768;
    const std::string path = mFolder.soxFromSamples("tone.aif", samples, 16, 1, 44100, "-t aiff");

    import(path);

    EXPECT_TRUE(mApp.mAlerts.empty());
    const Samples& bank = orvane().mSamples[3];
    EXPECT_EQ(bank[985], -16383);
    EXPECT_EQ(bank[999], 0);
    EXPECT_EQ(bank, expectedBank(Samples(samples.begin(), samples.end())));
    expectNamesUntouchedBut("tone.aif");
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
        EXPECT_EQ(std::count(bank.begin() + 4410, bank.end(), 0), 65536 - 4410);
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
        ASSERT_EQ(mApp.mAlerts.size(), 1u);
        const Alert& alert = mApp.mAlerts[0];
        EXPECT_EQ(alert.style, AlertStyle::Critical);
        EXPECT_EQ(alert.title, "Wrong File Format");
        EXPECT_EQ(alert.message, "OrvaneEditor supports only pcm (no compression) formats (*.aif or *.wav).");
        EXPECT_EQ(alert.defaultButton, "OK");
        EXPECT_EQ(alert.alternateButton, "");
        EXPECT_EQ(orvane().mSamples[3], before);
        expectNamesUntouchedBut("Sample 1 (in Bank 4)");
    }
}

TEST_F(ImportWorkflow, TwoHundredThousandRawBytesFillTheWholeBank)
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
    EXPECT_TRUE(std::equal(bank.begin() + 1, bank.begin() + 65521, values.begin() + 1));
    EXPECT_EQ(bank[65521], 10000);
    EXPECT_EQ(bank[65535], 0);
    EXPECT_EQ(bank, expectedBank(values));
    expectNamesUntouchedBut("noise.bin");
}

TEST_F(ImportWorkflow, ShortAndEmptyRawFilesFadeOnlyWhatTheyHave)
{
    import(mFolder.write("five.raw", Bytes{0x30, 0x75, 0x30, 0x75, 0x30, 0x75, 0x30, 0x75, 0x30, 0x75}));
    Samples expected(kBank, 0);
    expected[1] = 30000 >> 12;
    expected[2] = 30000 >> 13;
    expected[3] = 30000 >> 14;
    EXPECT_EQ(orvane().mSamples[3], expected);
    expectNamesUntouchedBut("five.raw");

    import(mFolder.write("one byte", Bytes{0x7F}));
    EXPECT_EQ(orvane().mSamples[3], Samples(kBank, 0));
    expectNamesUntouchedBut("one byte");
    EXPECT_TRUE(mApp.mAlerts.empty());
}

// Files whose conversion gives more than a bank: the bank must equal the
// start of converting the whole file, around the bank's length too.
TEST_F(ImportWorkflow, LimitedReadingPlacesWhatTheWholeFileWouldGive)
{
    struct Case {
        std::string name;
        std::string soxArguments;
    };
    const std::vector<Case> synthesised{
        {"stereo48.wav", "-r 48000 -c 2 -b 16 -t wav {} synth 3 sine 440 sine 523"},
        {"mono22k8bit.wav", "-r 22050 -c 1 -b 8 -t wav {} synth 4 sine 300"},
        {"mono96k24bit.wav", "-r 96000 -c 1 -b 24 -t wav {} synth 2 sine 1000"},
        {"stereo11k32bit.wav", "-r 11025 -c 2 -b 32 -t wav {} synth 8 sine 200 sine 201"},
        {"mono8k.aif", "-r 8000 -c 1 -b 16 -t aiff {} synth 10 sine 100"},
        {"stereo44k.aif", "-r 44100 -c 2 -b 16 -t aiff {} synth 2 square 150 sine 700"},
        {"odd rate.wav", "-r 44101 -c 1 -b 16 -t wav {} synth 2 sine 440"},
    };
    std::vector<std::string> paths;
    for (const Case& c : synthesised) {
        std::string arguments = c.soxArguments;
        arguments.replace(arguments.find("{}"), 2, "\"" + mFolder.path(c.name) + "\"");
        ASSERT_TRUE(mFolder.sox("-n " + arguments)) << arguments;
        paths.push_back(mFolder.path(c.name));
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

TEST_F(ImportWorkflow, NothingHappensWhileTransmittingOrAfterACancelledPanel)
{
    const Samples before = orvane().mSamples[3];
    const std::string path = mFolder.soxFromSamples("t.wav", ramp(100), 16, 1, 44100, "-t wav");
    mController->mIdleState = false;
    mApp.mPanelAnswers.push_back(path);
    mController->openSample(nullptr);
    EXPECT_TRUE(mApp.mPanels.empty());

    mController->mIdleState = true;
    mApp.mPanelAnswers.clear();
    mApp.mPanelAnswers.push_back(std::nullopt);
    mController->openSample(nullptr);
    EXPECT_EQ(mApp.mPanels.size(), 1u);
    EXPECT_EQ(orvane().mSamples[3], before);
    expectNamesUntouchedBut("Sample 1 (in Bank 4)");
}

TEST_F(ImportWorkflow, FoldersPipesAndVanishedFilesOnlyBeep)
{
    const Samples before = orvane().mSamples[3];
    std::filesystem::create_directory(mFolder.path("folder.wav"));
    ASSERT_EQ(mkfifo(mFolder.path("pipe.wav").c_str(), 0600), 0);

    for (const char* name : {"folder.wav", "pipe.wav", "gone.wav"})
        import(mFolder.path(name));

    EXPECT_EQ(mApp.mBeeps, 3);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(orvane().mSamples[3], before);
    expectNamesUntouchedBut("Sample 1 (in Bank 4)");
}

} // namespace
