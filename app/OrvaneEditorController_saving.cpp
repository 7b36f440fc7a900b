#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTMatrix.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankRange.h"
#include "device/TLSafeFileName.h"
#include "device/TLOrvane.h"

#include <optional>
#include <string>

// Saving the selected bank or all banks to a disk file. An earlier disk of the
// same name is replaced only by a complete new one.

void OrvaneEditorController::save(void*)
{
    saveAs();
}

bool OrvaneEditorController::saveAs()
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle())
        return false;
    const bool allBanks = mMatrix_SaveSendOption->selectedRow() != 0;
    if (!allBanks && !TLBankRange::isBank(selectedBank))
        return false;

    const std::string title = allBanks ? "All Banks" : KTDisplayText::bankTitle(selectedBank);
    std::string suggested = KTDisplayText::fileNameOf(mDocumentPath);
    if (!allBanks)
        suggested = TLSafeFileName::from(mOrvane->mBankNames[static_cast<std::size_t>(selectedBank)], title) +
                    ".mid";
    const std::optional<std::string> chosen = mApplication.runSavePanel(
        {"Save " + title + " as Disk", "Disks", {"mid", "midi"}, suggested.empty() ? "All Banks.mid" : suggested,
         KTFilePanel::Folder::Disks});
    if (!chosen)
        return false;
    return saveTo(*chosen, allBanks ? TLDiskShape::AllBanks : TLDiskShape::OneBank, selectedBank);
}
