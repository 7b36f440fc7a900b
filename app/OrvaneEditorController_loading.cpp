#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankRange.h"
#include "device/TLBankSnapshot.h"
#include "device/TLDiskLoader.h"
#include "device/TLOrvane.h"

#include <optional>
#include <string>

// Loading a disk file into the banks.

void OrvaneEditorController::openDisk(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(selectedBank) || !canDiscardChanges())
        return;

    const std::optional<std::string> chosen =
        mApplication.runOpenPanel({tr("Open Disk"), tr("Disks"), {"mid", "midi"}, {}, KTFilePanel::Folder::Disks, {}});
    if (chosen)
        loadDisk(*chosen, selectedBank);
}

void OrvaneEditorController::openDiskAtPath(const std::string& path)
{
    const int selectedBank = mTableView->selectedRow();
    if (isIdle() && TLBankRange::isBank(selectedBank) && canDiscardChanges())
        loadDisk(path, selectedBank);
}

void OrvaneEditorController::loadDisk(const std::string& path, int selectedBank)
{
    const std::string fileName = KTDisplayText::elidedMiddle(KTDisplayText::fileNameOf(path));
    const TLDiskReport report = TLDiskLoader::examine(path, *mOrvane);
    switch (report.outcome) {
    case TLDiskReport::Outcome::Loadable:
        break;
    case TLDiskReport::Outcome::NotAFile:
        showStatus(KTDisplayText::filled(tr("Could not open %1: %2"), {fileName, report.reason}));
        return;
    case TLDiskReport::Outcome::NotMidiFile:
    case TLDiskReport::Outcome::Foreign:
        mApplication.runCriticalAlertPanel(tr("Wrong File Format"),
                                           tr("This file contains no sound bank(s)\nfor a Tavel Orvane."), tr("OK"),
                                           "", "");
        showStatus(KTDisplayText::filled(tr("No banks in %1"), {fileName}));
        return;
    case TLDiskReport::Outcome::Damaged:
        // A damaged dump refuses the whole disk before any bank changes.
        mApplication.runCriticalAlertPanel(
            tr("Damaged Disk"),
            KTDisplayText::filled(tr("\"%1\" cannot be loaded: %2\nNo bank was changed."),
                                  {fileName, KTDisplayText::sentence(report.reason)}),
            tr("OK"), "", "");
        return;
    }
    const int target = targetBankFor(report, selectedBank);
    if (target == kKeepBanks) {
        mTableView->reloadData();
        showStatus(KTDisplayText::filled(tr("Did not load %1: the banks are as they were"), {fileName}));
        return;
    }
    const std::vector<TLBankSnapshot> before = snapshots(0, TLOrvane::kBankCount);
    TLDiskLoader::load(report, *mOrvane, target);
    recordStep(tr("Load Disk"), before);
    tableViewSelectionDidChange(nullptr);
    mTableView->reloadData();
    const std::size_t count = report.banks.size();
    showStatus(count == 1 ? KTDisplayText::filled(tr("Loaded 1 bank from %1"), {fileName})
                          : KTDisplayText::filled(tr("Loaded %1 banks from %2"), {std::to_string(count), fileName}));
    const bool retargeted = target != TLDiskLoader::kOwnBank;
    setDocument(path, report.shape, retargeted ? target : report.banks.back(),
                retargeted ? std::vector<int>{target} : report.banks);
}

int OrvaneEditorController::targetBankFor(const TLDiskReport& report, int selectedBank)
{
    const int diskBank = report.banks.front();
    if (report.shape != TLDiskShape::OneBank || diskBank == selectedBank)
        return TLDiskLoader::kOwnBank;
    mApplication.beep();
    // The names are filled in one pass: a "%" inside them is shown as it is.
    const std::string message = KTDisplayText::filled(
        tr("The file contains data for bank: \"%1\".\nDo you want to overwrite bank: \"%2\"?"),
        {KTDisplayText::elidedMiddle(mOrvane->mBankNames[static_cast<std::size_t>(diskBank)]),
         KTDisplayText::elidedMiddle(mOrvane->mBankNames[static_cast<std::size_t>(selectedBank)])});
    if (mApplication.runCriticalAlertPanel(tr("Different Banks!"), message, tr("YES"), tr("NO"), "") != 1)
        return kKeepBanks;
    return selectedBank;
}
