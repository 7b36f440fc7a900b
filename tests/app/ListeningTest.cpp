// Listening to the selected bank: what reaches the sound output, what stops it,
// and the Play button when the output is missing or fails.

#include "ControllerFixture.h"
#include "KTRecordingAudioDevice.h"
#include "audioout/KTAudioPlayer.h"
#include "device/TLDiskWriter.h"
#include "device/TLWaveExport.h"

#include <functional>
#include <optional>

class ListeningTest : public ControllerFixture {
protected:
    ~ListeningTest() override { mClock.release(), mController.reset(); }
    void startWithSound()
    {
        mMidi.mDestinations = {{"Acme", "Port 1"}};
        start();
        mController->setAudioOutput(mDevice, mPlayer);
        mController->rescan(nullptr);
    }
    KTRecordingAudioDevice mDevice;
    KTAudioPlayer mPlayer{mDevice};
    ButtonDouble& mPlay = mWindow.mButton_Play;
};
class ListeningStops : public ListeningTest, public ::testing::WithParamInterface<int> {};

TEST_F(ListeningTest, PlaysTheSelectedBankUpToItsLastSoundUnderAPlayhead)
{
    startWithSound();
    std::vector<std::int16_t>& samples = orvane().mSamples[2];
    std::fill(samples.begin() + 3000, samples.end(), 0);
    mWindow.mTableView.userSelectsRow(2);
    mController->play(nullptr);
    EXPECT_EQ(mPlay.mTitle, "Stop");
    mPlayer.wait();
    mApp.runMainQueue();
    EXPECT_EQ(mDevice.mRecorded, std::vector<std::int16_t>(samples.begin(), samples.begin() + 3000));
    EXPECT_EQ(mDevice.mEnd, "drain close");
    const auto& playheads = mWindow.mWaveformView.mPlayheads;
    EXPECT_EQ(std::vector(playheads.end() - 2, playheads.end()), (std::vector<std::optional<std::size_t>>{2900, std::nullopt}));
    EXPECT_EQ(mPlay.mTitle, "Play");
    EXPECT_EQ(mWindow.mLabel_Status.mText, "Playing Bank 3 up to its last sound (0.07 s)");
}

TEST_P(ListeningStops, WhenTheBankOrItsSoundChangesOnSendAndOnQuit)
{
    const std::string wave = ::testing::TempDir() + "listening.wav", disk = ::testing::TempDir() + "listening.mid";
    ASSERT_TRUE(TLWaveExport::write(wave, std::vector<std::int16_t>(5000, 9)));
    const std::pair<std::string, std::function<void()>> actions[] = {
        {"Play again", [&] { mController->play(nullptr); }},
        {"other bank", [&] { mWindow.mTableView.userSelectsRow(4); }},
        {"reset", [&] { mController->reset(nullptr); }},
        {"import", [&] { mController->importSampleAtPathIntoBank(wave, 0); }},
        {"load", [&] { TLDiskWriter::save(orvane(), TLDiskShape::AllBanks, 0, disk),
                       mController->openDiskAtPath(disk); }},
        {"undo", [&] { mWindow.mTextField_Bankname.userCommits("New"), mWindow.mUndoManager.undo(); }},
        {"send", [&] { mController->send(nullptr); }},
        {"quit", [&] { mController->applicationShouldTerminate(nullptr); }},
    };
    SCOPED_TRACE(actions[GetParam()].first);
    startWithSound();
    mDevice.mSlowAt = 1000;
    mController->play(nullptr);
    mDevice.waitUntilRecorded(1000);
    actions[GetParam()].second();
    EXPECT_FALSE(mPlayer.isPlaying());
    EXPECT_EQ(mDevice.mEnd, "drop close");
    mApp.runMainQueue(); // the reports still queued change nothing
    EXPECT_EQ(mWindow.mWaveformView.mPlayheads.back(), std::nullopt);
    EXPECT_EQ(mPlay.mTitle, "Play");
}
INSTANTIATE_TEST_SUITE_P(Actions, ListeningStops, ::testing::Range(0, 8));

TEST_F(ListeningTest, WithoutAWorkingSoundOutputPlayIsDisabledAndSaysWhy)
{
    const std::string busy = "Device or resource busy", gone = "No such device";
    const struct {
        std::string atStart, atPlay;
        std::size_t failAt;
        std::string afterwards, status;
    } cases[] = {
        {gone, gone, SIZE_MAX, gone, ""},
        {"", busy, SIZE_MAX, busy, "Playback failed: " + busy},
        {"", "", 1000, gone, "Playback failed: the sound output failed: " + gone},
        {"", "", 1000, "", "Playback failed: the sound output failed: " + gone},
    };
    for (const auto& c : cases) {
        mDevice.mOpenFailure = c.atStart;
        startWithSound();
        mDevice.mOpenFailure = c.atPlay;
        mDevice.mFailAt = c.failAt;
        mController->play(nullptr);
        mPlayer.wait();
        mDevice.mOpenFailure = c.afterwards;
        mApp.runMainQueue();
        EXPECT_EQ(mWindow.mLabel_Status.mText, c.status);
        EXPECT_EQ(mPlay.mEnabled, c.afterwards.empty());
        EXPECT_EQ(mPlay.mToolTip.starts_with("No sound output: " + c.afterwards), !c.afterwards.empty());
        mDevice.mOpenFailure = "";
        mController->rescan(nullptr);
        EXPECT_TRUE(mPlay.mEnabled);
    }
}
