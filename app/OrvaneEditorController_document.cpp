#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTLabel.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTUndoManager.h"
#include "app/platform/KTWindow.h"
#include "device/TLBankRange.h"
#include "device/TLSafeFileName.h"
#include "app/platform/KTBankOverview.h"
#include "device/TLBankSnapshot.h"
#include "device/TLAudibleSound.h"
#include "device/TLOrvane.h"
#include "device/TLRecoveryFolder.h"
#include "device/TLSavedState.h"
#include "device/TLWaveExport.h"

#include <optional>

// The banks as a document: the disk they belong to, unsaved changes, undo
// steps, exporting a bank, and the status line that reports each action.

void OrvaneEditorController::setDocument(const std::string& path, TLDiskShape shape, int bank,
                                         const std::vector<int>& banksInDisk)
{
    mDocumentPath = path;
    mDocumentShape = shape;
    mDocumentBank = bank;
    for (const int each : banksInDisk)
        mSavedState->markSaved(*mOrvane, each, path);
    mApplication.noteRecentDocument(path);
    mWindow_Main->setTitleWithRepresentedFilename(KTDisplayText::fileNameOf(path));
    bankContentDidChange();
}

bool OrvaneEditorController::saveTo(const std::string& path, TLDiskShape shape, int bank)
{
    if (const TLWriteResult result = TLDiskWriter::save(*mOrvane, shape, bank, path); !result) {
        mApplication.runCriticalAlertPanel(
            tr("Save Failed"),
            KTDisplayText::filled(tr("The disk could not be saved.\n%1"), {KTDisplayText::sentence(result.failure)}),
            tr("OK"), "", "");
        return false;
    }
    // Banks the disk held before and that it does not hold now are in no disk.
    mSavedState->diskReplaced(path);
    const bool allBanks = shape == TLDiskShape::AllBanks;
    const std::string fileName = KTDisplayText::fileNameOf(path);
    showStatus(allBanks ? KTDisplayText::filled(tr("Saved all banks to %1"), {fileName})
                        : KTDisplayText::filled(tr("Saved %1 to %2"), {KTDisplayText::bankTitle(bank), fileName}));
    std::vector<int> saved{bank};
    if (allBanks) {
        saved.clear();
        for (int each = 0; each < TLOrvane::kBankCount; ++each)
            saved.push_back(each);
    }
    setDocument(path, shape, bank, saved);
    return true;
}

void OrvaneEditorController::saveDocument(void*)
{
    saveDocumentNow();
}

bool OrvaneEditorController::saveDocumentNow()
{
    if (mDocumentPath.empty())
        return saveAs();
    if (!isIdle())
        return false;
    return saveTo(mDocumentPath, mDocumentShape, mDocumentBank);
}

// "Bank 3", "Bank 3 and Bank 5", "Bank 1, Bank 2 and Bank 7".
std::string OrvaneEditorController::bankList(const std::vector<int>& banks) const
{
    std::string text;
    for (std::size_t i = 0; i < banks.size(); ++i) {
        const std::string bank = KTDisplayText::bankTitle(banks[i]);
        if (i == 0) {
            text = bank;
        } else if (i + 1 == banks.size()) {
            //: Adds the last bank to a list of banks: "Bank 1, Bank 2 and Bank 7".
            text = KTDisplayText::filled(tr("%1 and %2"), {text, bank});
        } else {
            //: Adds a bank to a list of banks that goes on: "Bank 1, Bank 2".
            text = KTDisplayText::filled(tr("%1, %2"), {text, bank});
        }
    }
    return text;
}

bool OrvaneEditorController::canDiscardChanges()
{
    const std::vector<int> unsaved = mSavedState->unsavedBanks(*mOrvane);
    if (unsaved.empty())
        return true;
    const std::string which = bankList(unsaved);
    const std::string message =
        unsaved.size() == 1
            ? KTDisplayText::filled(tr("%1 has changes that are in no disk.\nSave them before going on?"), {which})
            : KTDisplayText::filled(tr("%1 have changes that are in no disk.\nSave them before going on?"), {which});
    const int answer = mApplication.runInformationalAlertPanel(tr("Unsaved Changes"), message, tr("Save"),
                                                               tr("Cancel"), tr("Discard"));
    if (answer == 0)
        return false;
    if (answer == -1) {
        if (mRecovery)
            mRecovery->remove(mRecovery->ownFile());
        return true;
    }
    return saveUnsavedBanks(unsaved);
}

// Saves what is unsaved: the open disk when it holds every unsaved bank, or
// else all banks as a disk the user names. True when nothing is left unsaved.
bool OrvaneEditorController::saveUnsavedBanks(const std::vector<int>& unsaved)
{
    const bool documentHoldsThem = !mDocumentPath.empty() && (mDocumentShape == TLDiskShape::AllBanks ||
                                                              (unsaved.size() == 1 && unsaved[0] == mDocumentBank));
    if (documentHoldsThem)
        saveDocumentNow();
    else
        saveAsDisk(TLDiskShape::AllBanks, mTableView->selectedRow());
    return mSavedState->unsavedBanks(*mOrvane).empty();
}

std::vector<TLBankSnapshot> OrvaneEditorController::snapshots(int firstBank, int endBank) const
{
    std::vector<TLBankSnapshot> banks;
    for (int bank = firstBank; bank < endBank; ++bank)
        banks.push_back(TLBankSnapshot::of(*mOrvane, bank));
    return banks;
}

void OrvaneEditorController::recordStep(const std::string& actionName, const std::vector<TLBankSnapshot>& before)
{
    // Only the banks the action changed make up the step; none, no step.
    std::vector<TLBankSnapshot> changedBefore;
    std::vector<TLBankSnapshot> after;
    std::vector<int> banks;
    for (const TLBankSnapshot& old : before) {
        if (old.matches(*mOrvane))
            continue;
        changedBefore.push_back(old);
        after.push_back(TLBankSnapshot::of(*mOrvane, old.bank));
        banks.push_back(old.bank);
    }
    if (after.empty())
        return;
    bankContentDidChange();
    if (!mUndoManager)
        return;
    const std::string changed = bankList(banks);
    mUndoManager->registerStep(actionName, std::move(changedBefore), std::move(after),
                               [this, actionName, changed](const std::vector<TLBankSnapshot>& restored, bool undo) {
                                   restoreBanks(restored);
                                   //: %1 is the step's name, %2 the banks it changed: "Undid Crop Bank 3: Bank 3".
                                   showStatus(KTDisplayText::filled(undo ? tr("Undid %1: %2") : tr("Redid %1: %2"),
                                                                    {actionName, changed}));
                               });
}

void OrvaneEditorController::restoreBanks(const std::vector<TLBankSnapshot>& banks)
{
    if (!mOrvane)
        return;
    for (const TLBankSnapshot& bank : banks)
        bank.restoreInto(*mOrvane);
    tableViewSelectionDidChange(nullptr);
    mTableView->reloadData();
    bankContentDidChange();
}

// After every change of the banks: the window's mark, the overview, and the
// recovery file (written within a second, once for a burst of changes).
void OrvaneEditorController::bankContentDidChange()
{
    if (!mOrvane)
        return;
    showSavedState();
    if (!mRecovery || mRecoveryPending)
        return;
    mRecoveryPending = true;
    mApplication.postToMainQueueAfter(kRecoveryDelay, [this] {
        mRecoveryPending = false;
        writeRecovery();
    });
}

void OrvaneEditorController::showSavedState()
{
    mWindow_Main->setDocumentEdited(!mSavedState->unsavedBanks(*mOrvane).empty());
    if (!mBankOverview)
        return;
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
        const auto index = static_cast<std::size_t>(bank);
        const std::vector<std::int16_t>& samples = mOrvane->mSamples[index];
        const double seconds = double(TLAudibleSound::rangeOf(samples).end) / TLOrvane::kSampleRate;
        mBankOverview->setBank(bank, {&samples, seconds, mOrvane->mSampleNames[index][0],
                                      mSavedState->isUnsaved(*mOrvane, bank)});
    }
}

void OrvaneEditorController::exportBankAsWave(void*)
{
    const int bank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(bank))
        return;
    const std::string title = KTDisplayText::bankTitle(bank);
    const auto& name = mOrvane->mBankNames[static_cast<std::size_t>(bank)];
    const std::optional<std::string> chosen = mApplication.runSavePanel(
        {KTDisplayText::filled(tr("Export %1 as WAV"), {title}), tr("WAV audio"), {"wav"},
         TLSafeFileName::from(name, title) + ".wav", KTFilePanel::Folder::Samples, {}});
    if (!chosen)
        return;
    const TLWriteResult result = TLWaveExport::write(*chosen, mOrvane->mSamples[static_cast<std::size_t>(bank)]);
    if (!result) {
        mApplication.runCriticalAlertPanel(
            tr("Export Failed"),
            KTDisplayText::filled(tr("The bank could not be exported.\n%1"), {KTDisplayText::sentence(result.failure)}),
            tr("OK"), "", "");
        return;
    }
    showStatus(KTDisplayText::filled(tr("Exported %1 to %2"), {title, KTDisplayText::fileNameOf(*chosen)}));
}

void OrvaneEditorController::showStatus(const std::string& text)
{
    if (mLabel_Status)
        mLabel_Status->setStringValue(text);
}
