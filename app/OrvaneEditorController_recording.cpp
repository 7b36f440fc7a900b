#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTMenuItem.h"
#include "app/platform/KTRecordSheet.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTWaveformView.h"
#include "audioin/KTAudioInputDevice.h"
#include "audioin/KTAudioRecorder.h"
#include "device/TLBankRange.h"
#include "device/TLBankSnapshot.h"
#include "device/TLOrvane.h"
#include "device/TLRecording.h"

#include <cstdio>
#include <ctime>

// Recording from the sound input straight into the selected bank, in a sheet
// with a level meter and an optional threshold. The recorder runs on its own
// thread; what it reports is handled on the main thread.

namespace {

std::string levelText(double dbfs)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.0f dBFS", dbfs);
    return text;
}

std::string secondsText(std::size_t frames)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", double(frames) / TLOrvane::kSampleRate);
    return text;
}

} // namespace

void OrvaneEditorController::setAudioInput(KTAudioInputDevice& device, KTAudioRecorder& recorder)
{
    mAudioInput = &device;
    mRecorder = &recorder;
}

void OrvaneEditorController::checkAudioInput()
{
    if (mRecording)
        return;
    mAudioInputFailure = mAudioInput ? mAudioInput->open() : "none is set up";
    if (mAudioInput && mAudioInputFailure.empty())
        mAudioInput->close();
    const std::string reason =
        mAudioInput ? KTDisplayText::filled(tr("No sound input: ALSA device \"%1\" could not be opened (%2)"),
                                            {mAudioInput->name(), mAudioInputFailure})
                    : tr("No sound input: none is set up");
    if (mMenuItem_Record)
        mMenuItem_Record->setToolTip(
            mAudioInputFailure.empty() ? tr("Record from the sound input into the selected bank") : reason);
    if (!mAudioInputFailure.empty() && mAudioInput)
        showStatus(reason);
}

bool OrvaneEditorController::canRecord() const
{
    return mRecorder && mAudioInputFailure.empty() && isIdle() && !mRecording &&
           TLBankRange::isBank(mTableView->selectedRow());
}

void OrvaneEditorController::record(void*)
{
    if (!canRecord() || !mRecordSheet)
        return;
    stopPlaying();
    mRecordingBank = mTableView->selectedRow();
    mRecordSheet->begin(mAudioInput->name(),
                        {[this](std::optional<double> threshold) { startRecording(threshold); },
                         [this] { mRecorder->stop(); }, [this] { endRecording(true); }});
    mRecordSheet->showState(tr("Press Record to start, or set a threshold to start with the sound"), false);
}

void OrvaneEditorController::startRecording(std::optional<double> thresholdDbfs)
{
    if (mRecording)
        return;
    mRecording = true;
    mRecordedTake.clear();
    const unsigned take = ++mTake;
    mRecordSheet->showState(thresholdDbfs ? KTDisplayText::filled(tr("Waiting for the sound to reach %1\u2026"),
                                                                  {levelText(*thresholdDbfs)})
                                          : tr("Recording\u2026"),
                            !thresholdDbfs);
    // The recorder's thread reports; its reports run on the main thread.
    KTAudioRecorder::Observer observer{
        [this, take](const KTAudioRecorder::Progress& progress) {
            std::vector<std::int16_t> added(progress.added.begin(), progress.added.end());
            mApplication.postToMainQueue([this, take, progress = progress, added = std::move(added)] {
                recordingProgress(take, progress, added);
            });
        },
        [this, take](KTAudioRecorder::Ending&& ending) {
            mApplication.postToMainQueue([this, take, ending = std::move(ending)]() mutable {
                recordingEnded(take, std::move(ending));
            });
        },
    };
    mRecordingStarted = std::time(nullptr);
    mRecorder->start({KTAudioRecorder::Channel::Mix, thresholdDbfs, TLOrvane::kSamplesPerBank}, std::move(observer));
}

void OrvaneEditorController::recordingProgress(unsigned take, const KTAudioRecorder::Progress& progress,
                                               const std::vector<std::int16_t>& added)
{
    if (take != mTake || !mRecordSheet)
        return;
    mRecordSheet->showLevel(progress.peakDbfs, progress.clipped);
    if (!progress.recording)
        return;
    // The waveform fills in while the take grows.
    mRecordedTake.insert(mRecordedTake.end(), added.begin(), added.end());
    mRecordSheet->showState(KTDisplayText::filled(tr("Recording: %1 of 1.49 s"), {secondsText(mRecordedTake.size())}),
                            true);
    if (mWaveformView) {
        std::vector<std::int16_t> shown = mRecordedTake;
        shown.resize(TLOrvane::kSamplesPerBank);
        mWaveformView->setSamples(shown);
    }
}

void OrvaneEditorController::recordingEnded(unsigned take, KTAudioRecorder::Ending ending)
{
    if (take != mTake)
        return;
    mRecorder->wait();
    mRecording = false;
    if (!ending.failure.empty()) {
        endRecording(false);
        mApplication.runCriticalAlertPanel(
            tr("Recording Failed"),
            KTDisplayText::filled(tr("The sound input failed: %1"), {KTDisplayText::sentence(ending.failure)}),
            tr("OK"), "", "");
        checkAudioInput();
        return;
    }
    if (ending.cancelled || ending.take.empty()) {
        endRecording(false);
        return;
    }
    const std::vector<TLBankSnapshot> before = snapshots(mRecordingBank, mRecordingBank + 1);
    TLRecording::store(*mOrvane, mRecordingBank, ending.take, mRecordingStarted);
    const std::string title = KTDisplayText::bankTitle(mRecordingBank);
    recordStep(KTDisplayText::filled(tr("Record %1"), {title}), before);
    endRecording(false);
    showStatus(KTDisplayText::filled(ending.overruns > 0
                                         ? tr("Recorded %1 into %2 (the input ran over: some sound was lost)")
                                         : tr("Recorded %1 into %2"),
                                     {secondsText(ending.take.size()), title}));
}

// The sheet closes; a take still running is discarded (Cancel), and the
// waveform shows the bank again.
void OrvaneEditorController::endRecording(bool cancel)
{
    if (cancel && mRecording) {
        ++mTake;
        mRecorder->cancel();
        mRecording = false;
    }
    if (mRecordSheet)
        mRecordSheet->end();
    tableViewSelectionDidChange(nullptr);
}
