#include "app/OrvaneEditorController.h"

#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankRange.h"
#include "device/TLSampleImporter.h"

#include <filesystem>
#include <optional>
#include <string>

// Importing an audio file into the selected bank.

void OrvaneEditorController::openSample(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(selectedBank))
        return;

    const std::optional<std::string> chosen = mApplication.runOpenPanel({}, false);
    if (!chosen)
        return;

    switch (TLSampleImporter::importInto(*mOrvane, selectedBank, *chosen)) {
    case TLImportedSound::Status::Imported:
        tableViewSelectionDidChange(nullptr);
        break;
    case TLImportedSound::Status::Unreadable:
        // Not a file, or vanished since it was chosen: the bank stays as it is.
        mApplication.beep();
        break;
    case TLImportedSound::Status::Unsupported:
        mApplication.runCriticalAlertPanel(
            "Wrong File Format", "OrvaneEditor supports only pcm (no compression) formats (*.aif or *.wav).", "OK",
            "", "");
        break;
    case TLImportedSound::Status::NoSound:
        mApplication.runCriticalAlertPanel(
            "No Sound Data",
            "The file \"" + std::filesystem::path(*chosen).filename().string() + "\" holds no sound data.", "OK", "",
            "");
        break;
    }
}
