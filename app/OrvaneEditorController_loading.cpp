#include "app/OrvaneEditorController.h"

#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTTableView.h"
#include "device/TLOrvane.h"
#include "midi/KTMidiFileReader.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>

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

// Directories, pipes and devices are no disks; opening a pipe would wait for a writer.
bool isRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool isBank(int bank)
{
    return bank >= 0 && bank < TLOrvane::kBankCount;
}

} // namespace

void OrvaneEditorController::openDisk(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || mMidiFileReader || !isBank(selectedBank))
        return;

    const std::optional<std::string> chosen = mApplication.runOpenPanel({"mid"}, false);
    if (!chosen || !isRegularFile(*chosen))
        return;

    mMidiFileReader = std::make_unique<KTMidiFileReader>(chosen->c_str());
    if (mMidiFileReader->isMidiFile()) {
        loadTracks(selectedBank);
        mTableView->reloadData();
    }
    mMidiFileReader->close();
    mMidiFileReader.reset();
}

void OrvaneEditorController::loadTracks(int selectedBank)
{
    const bool singleTrack = mMidiFileReader->mTrackCount == 1;
    KTMidiEventList events;
    while (!mMidiFileReader->readTrack(events).empty()) {
        int targetBank = mOrvane->detectBank(events);
        // Foreign data, a bank the instrument does not have, or a lone track
        // without any dump: nothing here belongs in a bank.
        if (targetBank <= -2 || targetBank >= TLOrvane::kBankCount || (targetBank == -1 && singleTrack)) {
            mApplication.runCriticalAlertPanel(kWrongFormatTitle, kWrongFormatMessage, "OK", "", "");
            return;
        }
        if (isBank(targetBank) && targetBank != selectedBank && singleTrack) {
            mApplication.beep();
            const std::string message =
                differentBanksMessage(mOrvane->mBankNames[static_cast<std::size_t>(targetBank)],
                                      mOrvane->mBankNames[static_cast<std::size_t>(selectedBank)]);
            if (mApplication.runCriticalAlertPanel("Different Banks!", message, "YES", "NO", "") != 1)
                return;
            targetBank = selectedBank;
        }
        // A track without a dump (the header track of an all-banks disk) is passed over.
        if (isBank(targetBank))
            mOrvane->loadBank(events, targetBank);
    }
    tableViewSelectionDidChange(nullptr);
}
