// Listening to the selected bank: what reaches the sound output, what stops it,
// and the Play button when the output is missing or fails.

#include "ControllerFixture.h"
#include "KTRecordingAudioDevice.h"
#include "audioout/KTAudioPlayer.h"
#include "device/TLWaveExport.h"

struct Listening : ControllerFixture, ::testing::WithParamInterface<int> {
    ~Listening() override { mClock.release(), mController.reset(); }
    void startWithSound()
    {
        mMidi.mDestinations = {{"Acme", "Port 1"}};
        start();
        mController->setAudioOutput(mDevice, mPlayer);
        mController->rescan(nullptr);
    }
    KTRecordingAudioDevice mDevice;
    KTAudioPlayer mPlayer{mDevice};
};

TEST_P(Listening, StopsWhenTheBankOrItsSoundChangesOnSendAndOnQuit)
{
    const std::string file = ::testing::TempDir() + "listening";
    const std::function<void()> actions[] = {
        [&] { mController->play(nullptr); },
        [&] { mWindow.mTableView.userSelectsRow(4); },
        [&] { mController->reset(nullptr); },
        [&] { TLWaveExport::write(file + ".wav", {1, 2}), mController->importSampleAtPathIntoBank(file + ".wav", 0); },
        [&] { TLDiskWriter::save(orvane(), TLDiskShape::AllBanks, 0, file), mController->openDiskAtPath(file); },
        [&] { mWindow.mTextField_Bankname.userCommits("New"), mWindow.mUndoManager.undo(); },
        [&] { mController->send(nullptr); },
        [&] { mController->applicationShouldTerminate(nullptr); },
    };
    startWithSound();
    mDevice.mSignalAt = 1000;
    mController->play(nullptr);
    mDevice.mReached.get_future().wait();
    actions[GetParam()]();
    EXPECT_EQ(mDevice.mEnd, "drop close");
    mApp.runMainQueue(); // what the player reported before it stopped changes nothing
    EXPECT_EQ(mWindow.mWaveformView.mPlayheads.back(), std::nullopt);
    EXPECT_EQ(mWindow.mButton_Play.mTitle, "Play");
}
INSTANTIATE_TEST_SUITE_P(Actions, Listening, ::testing::Range(0, 8));

TEST_F(Listening, PlaysUpToTheLastSoundAndAFailingOutputEndsThatAndDisablesPlay)
{
    std::fill(mFactory.begin() + 3000, mFactory.begin() + TLOrvane::kSamplesPerBank, 0);
    const std::string busy = "Device or resource busy", gone = "No such device";
    const struct {
        std::string atStart, atPlay;
        std::size_t failAt, recorded;
        std::string afterwards, status;
    } cases[] = {
        {gone, gone, SIZE_MAX, 0, gone, ""},
        {"", "", SIZE_MAX, 3000, "", "Playing Bank 1 up to its last sound (0.07 s)"},
        {"", busy, SIZE_MAX, 0, busy, "Playback failed: " + busy},
        {"", "", 1200, 1200, gone, "Playback failed: the sound output failed: " + gone},
        {"", "", 1200, 1200, "", "Playback failed: the sound output failed: " + gone},
    };
    for (const auto& c : cases) {
        mDevice.mOpenFailure = c.atStart;
        startWithSound();
        mDevice.mOpenFailure = c.atPlay, mDevice.mFailAt = c.failAt, mDevice.mRecorded.clear();
        mController->play(nullptr);
        mPlayer.wait();
        mDevice.mOpenFailure = c.afterwards;
        mApp.runMainQueue();
        EXPECT_EQ(mWindow.mLabel_Status.mText, c.status);
        EXPECT_EQ(mDevice.mRecorded, std::vector<std::int16_t>(mFactory.begin(), mFactory.begin() + c.recorded));
        if (c.recorded > 0) { // the playhead followed what was heard, and went
            EXPECT_EQ(mWindow.mWaveformView.mPlayheads.end()[-2], c.recorded - 100);
        }
        EXPECT_EQ(mWindow.mButton_Play.mToolTip.starts_with("No sound output: " + c.afterwards), !c.afterwards.empty());
        EXPECT_EQ(mWindow.mButton_Play.mEnabled, c.afterwards.empty());
    }
}
