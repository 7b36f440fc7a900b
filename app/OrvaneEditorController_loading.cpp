#include "app/OrvaneEditorController.h"

#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankRange.h"
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
    return "The file contains data for bank: \"" + fileBank + "\".\nDo you want to overwrite bank: \"" +
           selectedBank + "\"?";
}

} // namespace

void OrvaneEditorController::openDisk(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(selectedBank))
        return;

    const std::optional<std::string> chosen = mApplication.runOpenPanel({"mid"}, false);
    if (!chosen)
        return;
    const TLDiskContents contents = TLDiskReader::read(*chosen, *mOrvane);
    if (contents.status != TLDiskContents::Status::Read)
        return;
    loadTracks(contents, selectedBank);
    mTableView->reloadData();
}

void OrvaneEditorController::loadTracks(const TLDiskContents& contents, int selectedBank)
{
    for (const TLDiskTrack& track : contents.tracks) {
        if (track.kind == TLDiskTrack::Kind::Foreign) {
            mApplication.runCriticalAlertPanel(kWrongFormatTitle, kWrongFormatMessage, "OK", "", "");
            return;
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
            if (mApplication.runCriticalAlertPanel("Different Banks!", message, "YES", "NO", "") != 1)
                return;
            targetBank = selectedBank;
        }
        mOrvane->loadBank(track.events, targetBank);
    }
    tableViewSelectionDidChange(nullptr);
}
