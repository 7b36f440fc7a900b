#include "app/OrvaneEditorController.h"

#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTMatrix.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankRange.h"
#include "device/TLDiskWriter.h"

#include <optional>
#include <string>

// Saving the selected bank or all banks to a disk file. An earlier disk of the
// same name is replaced only by a complete new one.

void OrvaneEditorController::save(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle())
        return;
    const bool allBanks = mMatrix_SaveSendOption->selectedRow() != 0;
    if (!allBanks && !TLBankRange::isBank(selectedBank))
        return;

    const std::optional<std::string> chosen = mApplication.runSavePanel({"mid"});
    if (!chosen)
        return;
    const TLDiskShape shape = allBanks ? TLDiskShape::AllBanks : TLDiskShape::OneBank;
    if (!TLDiskWriter::save(*mOrvane, shape, selectedBank, *chosen))
        mApplication.runCriticalAlertPanel("Save Failed", "The disk could not be saved.", "OK", "", "");
}
