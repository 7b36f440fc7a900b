// Listening to the selected bank: what reaches the sound output, what stops it,
// and the Play button when the output is missing or fails.

#include "ControllerFixture.h"
#include "KTRecordingAudioDevice.h"
#include "audioout/KTAudioPlayer.h"
#include "device/TLSampleImporter.h"
#include "tests/support/TestFolder.h"

// The sound output outlives the controller the fixture ends.
struct SoundOutput { KTRecordingAudioDevice mDevice; KTAudioPlayer mPlayer{mDevice}; };
struct Listening : SoundOutput, ControllerFixture, ::testing::WithParamInterface<int> {
    void startWithSound() { start(), mController->setAudioOutput(mDevice, mPlayer), mController->rescan(nullptr); }
};

// Import, load and undo show the bank again as a bank change does.
TEST_P(Listening, StopsOnBankChangeResetSendAndQuit)
{
    const std::function<void()> actions[] = {
        [&] { mWindow.mTableView.userSelectsRow(4); },
        [&] { mController->reset(nullptr); },
        [&] { mController->send(nullptr); },
        [&] { mController->applicationShouldTerminate(nullptr); },
    };
    mMidi.mDestinations = {{"Acme", "Port 1"}};
    startWithSound();
    mDevice.mSignalAt = 1000;
    mController->play(nullptr);
    mDevice.mReached.get_future().wait();
    actions[GetParam()]();
    mApp.runMainQueue(); // what the player reported before it stopped changes nothing
    EXPECT_EQ(mDevice.mEnd, "drop close");
    EXPECT_EQ(mWindow.mWaveformView.mPlayheads.back(), std::nullopt);
}
INSTANTIATE_TEST_SUITE_P(Actions, Listening, ::testing::Range(0, 4));

TEST_F(Listening, PlaysUpToTheLastSoundAndAFailingOutputEndsThatAndDisablesPlay)
{
    std::fill(mFactory.begin() + 3000, mFactory.begin() + TLOrvane::kSamplesPerBank, 0);
    const std::string failed = "Playback failed: the sound output failed: No such device";
    const struct { std::string atStart, atPlay; std::size_t failAt, heard; std::string afterwards, status; } cases[] = {
        {"No such device", "", SIZE_MAX, 0, "No such device", ""},
        {"", "", SIZE_MAX, 3000, "", "Playing Bank 1 up to its last sound (0.07 s)"},
        {"", "Busy", SIZE_MAX, 0, "Busy", "Playback failed: Busy"},
        {"", "", 1200, 1200, "No such device", failed},
        {"", "", 1200, 1200, "", failed},
    };
    for (const auto& c : cases) {
        mDevice.mOpenFailure = c.atStart, startWithSound();
        mDevice.mOpenFailure = c.atPlay, mDevice.mFailAt = c.failAt, mDevice.mRecorded.clear();
        mController->play(nullptr), mPlayer.wait();
        mDevice.mOpenFailure = c.afterwards, mApp.runMainQueue(); // the device is gone for good, or not
        EXPECT_EQ(mWindow.mLabel_Status.mText, c.status);
        EXPECT_EQ(mDevice.mRecorded, std::vector<std::int16_t>(mFactory.begin(), mFactory.begin() + c.heard));
        EXPECT_TRUE(c.heard == 0 || mWindow.mWaveformView.mPlayheads.end()[-2] == c.heard - 100); // the delay
        EXPECT_EQ(mWindow.mButton_Play.mToolTip == "No sound output: ALSA device \"recording\" could not be opened (" +
                      c.afterwards + ")",
                  !c.afterwards.empty());
        EXPECT_EQ(mWindow.mButton_Play.mEnabled, c.afterwards.empty());
    }
}

// Play hears the selection when there is one; Import Region's Play plays the
// part of the file its choices take, and OK imports that part.
TEST_F(Listening, PlaysTheSelectionAndTheChosenPartOfAFile)
{
    TestFolder folder;
    startWithSound();
    mWindow.mWaveformView.mSelection = TLSampleRange{1000, 1400};
    mController->play(nullptr), mPlayer.wait();
    EXPECT_EQ(mDevice.mRecorded, std::vector<std::int16_t>(mFactory.begin() + 1000, mFactory.begin() + 1400));

    std::vector<std::int64_t> ramp(8000);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<std::int64_t>(i) - 4000;
    const std::string file = folder.soxFromSamples("ramp.wav", ramp, 16, 1, 44100);
    TLImportOptions options;
    options.startSeconds = 0.1, options.lengthSeconds = 0.05;
    mApp.mImportRegionAnswer = options;
    mWindow.mWaveformView.mSelection.reset();
    act(&OrvaneEditorController::importRegion, 2, file);
    EXPECT_DOUBLE_EQ(mApp.mImportRegionHeardSeconds, 2205 / 44100.0) << "the part the choices take";
    TLOrvane expected(mFactory.data());
    TLSampleImporter::importInto(expected, 2, file, options);
    EXPECT_EQ(orvane().mSamples[2], expected.mSamples[2]);
}
