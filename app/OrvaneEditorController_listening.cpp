#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTButton.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTWaveformView.h"
#include "audioout/KTAudioPlayer.h"
#include "device/TLBankRange.h"
#include "device/TLAudibleSound.h"
#include "device/TLOrvane.h"

#include <cstdio>

// Listening to the selected bank on the sound output, with a playhead on the
// waveform. The sound is played up to its last non-zero sample: the silence
// that fills the rest of the bank is not worth waiting for.

namespace {

constexpr char kPlayTitle[] = "Play";
constexpr char kStopTitle[] = "Stop";
constexpr char kPlayToolTip[] =
    "Play the selected bank up to its last sound; the silence after it is left out (Space)";
constexpr char kStopToolTip[] = "Stop playing (Space)";

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", value);
    return text;
}

} // namespace

void OrvaneEditorController::setAudioOutput(KTAudioDevice& device, KTAudioPlayer& player)
{
    stopPlaying();
    mAudioDevice = &device;
    mAudioPlayer = &player;
}

void OrvaneEditorController::checkAudioOutput()
{
    if (mPlaying)
        return;
    if (mAudioDevice) {
        mAudioOutputFailure = mAudioDevice->open();
        if (mAudioOutputFailure.empty())
            mAudioDevice->close();
    }
    showAudioOutput();
}

void OrvaneEditorController::showAudioOutput()
{
    if (!mButton_Play)
        return;
    mButton_Play->setTitle(mPlaying ? kStopTitle : kPlayTitle);
    mButton_Play->setEnabled(mAudioOutputFailure.empty());
    mButton_Play->setToolTip(!mAudioOutputFailure.empty() ? noSoundOutputText()
                             : mPlaying                   ? kStopToolTip
                                                          : kPlayToolTip);
}

// "No sound output: ALSA device "default" could not be opened (no sound card)".
std::string OrvaneEditorController::noSoundOutputText() const
{
    if (!mAudioDevice)
        return "No sound output: none is set up";
    return "No sound output: ALSA device \"" + mAudioDevice->name() + "\" could not be opened (" +
           mAudioOutputFailure + ")";
}

void OrvaneEditorController::play(void*)
{
    if (mPlaying) {
        stopPlaying();
        return;
    }
    const int bank = mTableView->selectedRow();
    if (!mAudioPlayer || !mAudioOutputFailure.empty() || !mOrvane || !isIdle() || !TLBankRange::isBank(bank))
        return;
    std::vector<std::int16_t> sound = TLAudibleSound::samplesOf(mOrvane->mSamples[static_cast<std::size_t>(bank)]);
    if (sound.empty()) {
        showStatus(KTDisplayText::bankTitle(bank) + " is silent: there is nothing to play");
        return;
    }
    const unsigned playback = ++mPlayback;
    mPlaying = true;
    showAudioOutput();
    // The player's thread reports; the reports are handled on the main thread.
    KTAudioPlayer::Observer observer{
        [this, playback](std::size_t sample) {
            mApplication.postToMainQueue([this, playback, sample] { playbackDidReach(playback, sample); });
        },
        [this, playback](const std::string& failure) {
            mApplication.postToMainQueue([this, playback, failure] { playbackDidEnd(playback, failure); });
        },
    };
    const double length = double(sound.size()) / TLOrvane::kSampleRate;
    mAudioPlayer->play(std::move(sound), std::move(observer));
    showStatus("Playing " + KTDisplayText::bankTitle(bank) + " up to its last sound (" + seconds(length) + ")");
}

void OrvaneEditorController::stopPlaying()
{
    // Reports still queued belong to the playing that ends here.
    ++mPlayback;
    if (mAudioPlayer)
        mAudioPlayer->stop();
    if (mPlaying)
        endPlaying();
}

void OrvaneEditorController::playbackDidReach(unsigned playback, std::size_t sample)
{
    if (playback == mPlayback && mWaveformView)
        mWaveformView->setPlayhead(sample);
}

void OrvaneEditorController::playbackDidEnd(unsigned playback, const std::string& failure)
{
    if (playback != mPlayback)
        return;
    // The thread has made its last report: joining it does not wait.
    mAudioPlayer->wait();
    endPlaying();
    if (failure.empty())
        return;
    showStatus("Playback failed: " + failure);
    checkAudioOutput();
}

void OrvaneEditorController::endPlaying()
{
    mPlaying = false;
    if (mWaveformView)
        mWaveformView->setPlayhead(std::nullopt);
    showAudioOutput();
}
