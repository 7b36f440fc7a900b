#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankSnapshot.h"
#include "device/TLDiskLoader.h"
#include "device/TLOrvane.h"
#include "device/TLRecoveryFile.h"
#include "device/TLRecoveryFolder.h"
#include "device/TLSavedState.h"

#include <ctime>

// Recovery after a crash: the unsaved banks, kept in a file within a second of
// every change, and offered again when an editor ended without a clean end.

namespace {

// "8 Dec 2026 14:03".
std::string timeText(std::time_t time)
{
    char text[64];
    std::tm local = {};
    localtime_r(&time, &local);
    std::strftime(text, sizeof text, "%e %b %Y %H:%M", &local);
    return text[0] == ' ' ? text + 1 : text;
}

} // namespace

void OrvaneEditorController::setRecoveryFolder(const std::string& folder)
{
    mRecovery = std::make_unique<TLRecoveryFolder>(folder);
    if (const std::string failure = mRecovery->claim(); !failure.empty()) {
        mRecovery.reset();
        showStatus(
            KTDisplayText::filled(tr("Unsaved changes cannot be kept for recovery in %1: %2"), {folder, failure}));
    }
}

void OrvaneEditorController::writeRecovery()
{
    if (!mRecovery || !mOrvane)
        return;
    const std::vector<int> unsaved = mSavedState->unsavedBanks(*mOrvane);
    if (unsaved.empty()) {
        mRecovery->remove(mRecovery->ownFile());
        return;
    }
    std::vector<std::string> disks;
    for (const int bank : unsaved)
        disks.push_back(mSavedState->diskOf(bank));
    if (const TLWriteResult result = TLRecoveryFile::write(mRecovery->ownFile(), *mOrvane, unsaved, disks); !result)
        showStatus(KTDisplayText::filled(tr("Unsaved changes could not be kept for recovery: %1"), {result.failure}));
}

void OrvaneEditorController::offerRecovery()
{
    if (!mRecovery || !mOrvane)
        return;
    for (const std::filesystem::path& file : mRecovery->orphans()) {
        const TLRecoveryFile::Contents contents = TLRecoveryFile::read(file, *mOrvane);
        if (!contents.report.loadable()) {
            mRecovery->remove(file);
            continue;
        }
        const std::string message = KTDisplayText::filled(
            tr("OrvaneEditor ended on %1 without saving %2.\nRecover them as unsaved changes, or discard them?"),
            {timeText(contents.written), bankList(contents.report.banks)});
        const int answer = mApplication.runInformationalAlertPanel(tr("Recover Unsaved Changes?"), message,
                                                                   tr("Recover"), tr("Discard"), "");
        if (answer == 1)
            recover(file.string());
        mRecovery->remove(file);
    }
}

bool OrvaneEditorController::recover(const std::string& file)
{
    const TLDiskReport report = TLRecoveryFile::read(file, *mOrvane).report;
    if (!report.loadable())
        return false;
    const std::vector<TLBankSnapshot> before = snapshots(0, TLOrvane::kBankCount);
    TLDiskLoader::load(report, *mOrvane);
    recordStep(tr("Recover Unsaved Changes"), before);
    tableViewSelectionDidChange(nullptr);
    mTableView->reloadData();
    showStatus(KTDisplayText::filled(tr("Recovered %1 as unsaved changes"), {bankList(report.banks)}));
    return true;
}
