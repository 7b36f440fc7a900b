#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTLabel.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTUndoManager.h"
#include "app/platform/KTWindow.h"
#include "device/TLBankRange.h"
#include "device/TLSafeFileName.h"
#include "device/TLBankSnapshot.h"
#include "device/TLOrvane.h"
#include "device/TLWaveExport.h"

#include <optional>

// The banks as a document: the disk they belong to, unsaved changes, undo
// steps, exporting a bank, and the status line that reports each action.

void OrvaneEditorController::setDocument(const std::string& path, TLDiskShape shape, int bank)
{
    mDocumentPath = path;
    mDocumentShape = shape;
    mDocumentBank = bank;
    if (mUndoManager)
        mUndoManager->markSaved();
    mApplication.noteRecentDocument(path);
    mWindow_Main->setTitleWithRepresentedFilename(KTDisplayText::fileNameOf(path));
}

bool OrvaneEditorController::saveTo(const std::string& path, TLDiskShape shape, int bank)
{
    if (const TLWriteResult result = TLDiskWriter::save(*mOrvane, shape, bank, path); !result) {
        mApplication.runCriticalAlertPanel(
            "Save Failed", "The disk could not be saved.\n" + KTDisplayText::sentence(result.failure), "OK", "", "");
        return false;
    }
    const std::string what = shape == TLDiskShape::AllBanks ? "all banks" : KTDisplayText::bankTitle(bank);
    showStatus("Saved " + what + " to " + KTDisplayText::fileNameOf(path));
    setDocument(path, shape, bank);
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

bool OrvaneEditorController::canDiscardChanges()
{
    if (!mUndoManager || !mUndoManager->isDocumentEdited())
        return true;
    const std::string name = mDocumentPath.empty() ? "Untitled" : KTDisplayText::fileNameOf(mDocumentPath);
    const int answer = mApplication.runInformationalAlertPanel(
        "Unsaved Changes",
        "The banks have changes that are not saved in \"" + KTDisplayText::elidedMiddle(name) +
            "\".\nSave them before going on?",
        "Save", "Cancel", "Discard");
    if (answer == 0)
        return false;
    return answer == -1 || saveDocumentNow();
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
    for (const TLBankSnapshot& old : before) {
        TLBankSnapshot now = TLBankSnapshot::of(*mOrvane, old.bank);
        if (now == old)
            continue;
        changedBefore.push_back(old);
        after.push_back(std::move(now));
    }
    if (after.empty() || !mUndoManager)
        return;
    mUndoManager->registerStep(actionName, std::move(changedBefore), std::move(after),
                               [this](const std::vector<TLBankSnapshot>& banks) { restoreBanks(banks); });
}

void OrvaneEditorController::restoreBanks(const std::vector<TLBankSnapshot>& banks)
{
    if (!mOrvane)
        return;
    for (const TLBankSnapshot& bank : banks)
        bank.restoreInto(*mOrvane);
    tableViewSelectionDidChange(nullptr);
    mTableView->reloadData();
}

void OrvaneEditorController::exportBankAsWave(void*)
{
    const int bank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(bank))
        return;
    const std::string title = KTDisplayText::bankTitle(bank);
    const auto& name = mOrvane->mBankNames[static_cast<std::size_t>(bank)];
    const std::optional<std::string> chosen = mApplication.runSavePanel(
        {"Export " + title + " as WAV", "WAV audio", {"wav"}, TLSafeFileName::from(name, title) + ".wav",
         KTFilePanel::Folder::Samples});
    if (!chosen)
        return;
    const TLWriteResult result = TLWaveExport::write(*chosen, mOrvane->mSamples[static_cast<std::size_t>(bank)]);
    if (!result) {
        mApplication.runCriticalAlertPanel(
            "Export Failed", "The bank could not be exported.\n" + KTDisplayText::sentence(result.failure), "OK", "",
            "");
        return;
    }
    showStatus("Exported " + title + " to " + KTDisplayText::fileNameOf(*chosen));
}

void OrvaneEditorController::showStatus(const std::string& text)
{
    if (mLabel_Status)
        mLabel_Status->setStringValue(text);
}
