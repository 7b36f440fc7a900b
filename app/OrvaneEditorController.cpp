#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTButton.h"
#include "app/platform/KTMenuItem.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTTextField.h"
#include "app/platform/KTWaveformView.h"
#include "app/platform/KTWindow.h"
#include "audioout/KTAudioPlayer.h"
#include "device/TLBankRange.h"
#include "device/TLBankSnapshot.h"
#include "device/TLOrvane.h"
#include "device/TLRecoveryFolder.h"
#include "device/TLSavedState.h"

namespace {

// Menu tags set in the window description.
constexpr int kTagUnavailableWhileTransmitting = 1;
constexpr int kTagSend = 2;
constexpr int kTagAlsoUnavailableWhileTransmitting = 3;
constexpr int kTagRecord = 4;
constexpr int kTagNeedsSelection = 5;
constexpr int kTagPaste = 6;
constexpr int kTagPasteBank = 7;

} // namespace

OrvaneEditorController::OrvaneEditorController(KTApplicationPlatform& application, KTMidiPlatform& midi,
                                               KTClock& clock, const std::int16_t* factoryImage)
    : mClient(midi)
    , mApplication(application)
    , mClock(clock)
    , mFactoryImage(factoryImage)
{
}

OrvaneEditorController::~OrvaneEditorController()
{
    stopTransmissionWorker();
    // The player's and recorder's threads report to this controller: they
    // must have ended first.
    if (mAudioPlayer)
        mAudioPlayer->stop();
    if (mRecorder)
        mRecorder->cancel();
}

std::string OrvaneEditorController::tr(const char* text) const
{
    return mApplication.translated("OrvaneEditorController", text);
}

bool OrvaneEditorController::isIdle() const
{
    return mIdleState && !mWorkerRunning.load();
}

std::int32_t OrvaneEditorController::numberOfRowsInTableView(KTTableView*)
{
    return TLOrvane::kBankCount;
}

std::string OrvaneEditorController::tableViewObjectValueForTableColumnRow(KTTableView*, int, std::int32_t row)
{
    // The store is gone only after termination, when the window may still be
    // asked to repaint once before the application leaves.
    if (!mOrvane || !TLBankRange::isBank(row))
        return {};
    return mOrvane->mBankNames[static_cast<std::size_t>(row)];
}

void OrvaneEditorController::tableViewSelectionDidChange(void*)
{
    // Another bank, or this bank's samples changed: what plays is no longer shown.
    stopPlaying();
    const int bank = mTableView->selectedRow();
    if (!mOrvane || !TLBankRange::isBank(bank))
        return;
    const auto index = static_cast<std::size_t>(bank);
    mTextField_Bankname->setStringValue(mOrvane->mBankNames[index]);
    mTextField_Sample->setStringValue(mOrvane->mSampleNames[index][0]);
    if (mWaveformView) {
        mWaveformView->setSamples(mOrvane->mSamples[index]);
        // A selection belongs to the bank it was made in.
        if (bank != mShownBank)
            mWaveformView->setSelection(std::nullopt);
    }
    mShownBank = bank;
}

void OrvaneEditorController::textfiledBanknameDidChange(void*)
{
    const std::string text = mTextField_Bankname->stringValue();
    const int row = mTableView->selectedRow();
    if (!TLBankRange::isBank(row))
        return;
    const std::vector<TLBankSnapshot> before = snapshots(row, row + 1);
    mOrvane->setBankName(text.c_str(), row);
    recordStep(tr("Rename Bank"), before);
    mTableView->reloadData();
}

void OrvaneEditorController::textfieldSamplenameDidChange(void*)
{
    const std::string text = mTextField_Sample->stringValue();
    const int row = mTableView->selectedRow();
    if (!TLBankRange::isBank(row))
        return;
    const std::vector<TLBankSnapshot> before = snapshots(row, row + 1);
    mOrvane->setSampleName(text.c_str(), row, 0);
    recordStep(tr("Rename Sample"), before);
}

void OrvaneEditorController::reset(void*)
{
    if (!isIdle())
        return;
    const int row = mTableView->selectedRow();
    if (!TLBankRange::isBank(row))
        return;
    const std::vector<TLBankSnapshot> before = snapshots(row, row + 1);
    mOrvane->resetBank(row);
    recordStep(tr("Reset Bank"), before);
    tableViewSelectionDidChange(nullptr);
    mTableView->reloadData();
    showStatus(KTDisplayText::filled(tr("Reset %1 to its factory sound"), {KTDisplayText::bankTitle(row)}));
}

void OrvaneEditorController::orderFrontAboutWindow(void* sender)
{
    mWindow_About->center();
    mWindow_About->makeKeyAndOrderFront(sender);
}

bool OrvaneEditorController::validateMenuItem(const KTMenuItem& item) const
{
    switch (item.tag()) {
    case kTagUnavailableWhileTransmitting:
    case kTagAlsoUnavailableWhileTransmitting:
        return isIdle();
    case kTagRecord:
        return canRecord();
    case kTagNeedsSelection:
        return isIdle() && selection().has_value();
    case kTagPaste:
        return isIdle() && mApplication.clipboardSound().has_value();
    case kTagPasteBank:
        return isIdle() && mCopiedBank.has_value();
    case kTagSend:
        return mButton_Send->isEnabled() && isIdle();
    default:
        return true;
    }
}
