#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankRange.h"
#include "device/TLBankSnapshot.h"
#include "device/TLDiskReader.h"
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
        mApplication.runOpenPanel({"Open Disk", "Disks", {"mid", "midi"}, {}, KTFilePanel::Folder::Disks});
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
    const TLDiskContents contents = TLDiskReader::read(path, *mOrvane);
    if (contents.status == TLDiskContents::Status::NotAFile) {
        showStatus("Could not open " + fileName);
        return;
    }
    // A damaged dump refuses the whole disk before any bank changes.
    if (const TLDiskTrack* damaged = contents.damagedTrack()) {
        mApplication.runCriticalAlertPanel(
            "Damaged Disk",
            "\"" + fileName + "\" cannot be loaded: " + KTDisplayText::bankTitle(damaged->detectedBank) +
                " is damaged (" + damaged->damage + ").\nNo bank was changed.",
            "OK", "", "");
        return;
    }
    const std::vector<TLBankSnapshot> before = snapshots(0, TLOrvane::kBankCount);
    const LoadResult loaded = contents.status == TLDiskContents::Status::Read ? loadTracks(contents, selectedBank)
                                                                               : LoadResult{0, -1, false};
    recordStep("Load Disk", before);
    mTableView->reloadData();
    if (loaded.banks == 0) {
        showStatus("No banks in " + fileName);
        return;
    }
    showStatus("Loaded " + std::to_string(loaded.banks) + (loaded.banks == 1 ? " bank" : " banks") + " from " +
               fileName);
    if (loaded.complete)
        setDocument(path, contents.shape(), loaded.lastBank);
}

OrvaneEditorController::LoadResult OrvaneEditorController::loadTracks(const TLDiskContents& contents,
                                                                      int selectedBank)
{
    LoadResult result;
    for (const TLDiskTrack& track : contents.tracks) {
        if (track.kind == TLDiskTrack::Kind::Foreign) {
            mApplication.runCriticalAlertPanel(kWrongFormatTitle, kWrongFormatMessage, "OK", "", "");
            result.complete = false;
            return result;
        }
        // A track without a dump (the header track of an all-banks disk) is passed over.
        if (track.kind != TLDiskTrack::Kind::Bank)
            continue;
        int targetBank = track.detectedBank;
        if (targetBank != selectedBank && contents.shape() == TLDiskShape::OneBank) {
            mApplication.beep();
            const std::string message =
                differentBanksMessage(mOrvane->mBankNames[static_cast<std::size_t>(targetBank)],
                                      mOrvane->mBankNames[static_cast<std::size_t>(selectedBank)]);
            if (mApplication.runCriticalAlertPanel("Different Banks!", message, "YES", "NO", "") != 1) {
                result.complete = false;
                return result;
            }
            targetBank = selectedBank;
        }
        mOrvane->loadBank(track.events, targetBank);
        ++result.banks;
        result.lastBank = targetBank;
    }
    tableViewSelectionDidChange(nullptr);
    return result;
}
