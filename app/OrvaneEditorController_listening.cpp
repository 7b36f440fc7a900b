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
    mButton_Play->setTitle(mPlaying ? tr("Stop") : tr("Play"));
    mButton_Play->setEnabled(mAudioOutputFailure.empty());
    mButton_Play->setToolTip(
        !mAudioOutputFailure.empty() ? noSoundOutputText()
        : mPlaying                   ? tr("Stop playing (Space)")
                                     : tr("Play the selected bank up to its last sound; the silence after it is left "
                                          "out (Space)"));
}

// "No sound output: ALSA device "default" could not be opened (no sound card)".
std::string OrvaneEditorController::noSoundOutputText() const
{
    if (!mAudioDevice)
        return tr("No sound output: none is set up");
    return KTDisplayText::filled(tr("No sound output: ALSA device \"%1\" could not be opened (%2)"),
                                 {mAudioDevice->name(), mAudioOutputFailure});
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
    // The selection when there is one, else the bank up to its last sound.
    const std::optional<TLSampleRange> chosen = selection();
    std::vector<std::int16_t> sound =
        TLAudibleSound::samplesOf(mOrvane->mSamples[static_cast<std::size_t>(bank)], chosen);
    if (sound.empty()) {
        showStatus(
            KTDisplayText::filled(tr("%1 is silent: there is nothing to play"), {KTDisplayText::bankTitle(bank)}));
        return;
    }
    const double length = double(sound.size()) / TLOrvane::kSampleRate;
    startPlaying(std::move(sound), chosen ? chosen->begin : 0);
    showStatus(KTDisplayText::filled(chosen ? tr("Playing %1, the selection (%2)")
                                            : tr("Playing %1 up to its last sound (%2)"),
                                     {KTDisplayText::bankTitle(bank), seconds(length)}));
}

double OrvaneEditorController::playSound(const KTSample& samples)
{
    stopPlaying();
    if (!mAudioPlayer || !mAudioOutputFailure.empty() || samples.size() < 2)
        return 0.0;
    const auto* begin = reinterpret_cast<const std::int16_t*>(samples.data());
    std::vector<std::int16_t> sound(begin, begin + samples.size() / 2);
    const double length = double(sound.size()) / TLOrvane::kSampleRate;
    startPlaying(std::move(sound), 0);
    return length;
}

// Plays the frames; the playhead shows them offset samples into the bank.
void OrvaneEditorController::startPlaying(std::vector<std::int16_t> sound, std::size_t offset)
{
    const unsigned playback = ++mPlayback;
    mPlaying = true;
    mPlayOffset = offset;
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
    mAudioPlayer->play(std::move(sound), std::move(observer));
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
        mWaveformView->setPlayhead(mPlayOffset + sample);
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
    showStatus(KTDisplayText::filled(tr("Playback failed: %1"), {failure}));
    checkAudioOutput();
}

void OrvaneEditorController::endPlaying()
{
    mPlaying = false;
    if (mWaveformView)
        mWaveformView->setPlayhead(std::nullopt);
    showAudioOutput();
}
