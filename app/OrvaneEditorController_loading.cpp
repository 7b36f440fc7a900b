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

namespace {

constexpr const char* kWrongFormatTitle = "Wrong File Format";
constexpr const char* kWrongFormatMessage = "This file contains no sound bank(s)\nfor a Tavel Orvane.";

// The question shown when a one-bank disk belongs to another bank. The names
// are put in here, so a "%" inside them is shown as it is.
std::string differentBanksMessage(const std::string& fileBank, const std::string& selectedBank)
{
    return "The file contains data for bank: \"" + KTDisplayText::elidedMiddle(fileBank) +
           "\".\nDo you want to overwrite bank: \"" + KTDisplayText::elidedMiddle(selectedBank) + "\"?";
}

} // namespace

void OrvaneEditorController::openDisk(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(selectedBank) || !canDiscardChanges())
        return;

    const std::optional<std::string> chosen =
        mApplication.runOpenPanel({"Open Disk", "Disks", {"mid", "midi"}, {}, KTFilePanel::Folder::Disks, {}});
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
        showStatus("Could not open " + fileName + ": " + report.reason);
        return;
    case TLDiskReport::Outcome::NotMidiFile:
    case TLDiskReport::Outcome::Foreign:
        mApplication.runCriticalAlertPanel(kWrongFormatTitle, kWrongFormatMessage, "OK", "", "");
        showStatus("No banks in " + fileName);
        return;
    case TLDiskReport::Outcome::Damaged:
        // A damaged dump refuses the whole disk before any bank changes.
        mApplication.runCriticalAlertPanel("Damaged Disk",
                                           "\"" + fileName + "\" cannot be loaded: " +
                                               KTDisplayText::sentence(report.reason) + "\nNo bank was changed.",
                                           "OK", "", "");
        return;
    }
    const int target = targetBankFor(report, selectedBank);
    if (target == kKeepBanks) {
        mTableView->reloadData();
        showStatus("Did not load " + fileName + ": the banks are as they were");
        return;
    }
    const std::vector<TLBankSnapshot> before = snapshots(0, TLOrvane::kBankCount);
    TLDiskLoader::load(report, *mOrvane, target);
    recordStep("Load Disk", before);
    tableViewSelectionDidChange(nullptr);
    mTableView->reloadData();
    const std::size_t count = report.banks.size();
    showStatus("Loaded " + std::to_string(count) + (count == 1 ? " bank" : " banks") + " from " + fileName);
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
    const std::string message = differentBanksMessage(mOrvane->mBankNames[static_cast<std::size_t>(diskBank)],
                                                      mOrvane->mBankNames[static_cast<std::size_t>(selectedBank)]);
    if (mApplication.runCriticalAlertPanel("Different Banks!", message, "YES", "NO", "") != 1)
        return kKeepBanks;
    return selectedBank;
}
