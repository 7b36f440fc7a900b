#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTMatrix.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankRange.h"
#include "device/TLOrvane.h"
#include "device/TLSafeFileName.h"

#include <filesystem>
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
    const bool allBanks = mMatrix_SaveSendOption->selectedRow() != 0;
    return saveAsDisk(allBanks ? TLDiskShape::AllBanks : TLDiskShape::OneBank, mTableView->selectedRow());
}

bool OrvaneEditorController::saveAsDisk(TLDiskShape shape, int selectedBank)
{
    const bool allBanks = shape == TLDiskShape::AllBanks;
    if (!isIdle() || (!allBanks && !TLBankRange::isBank(selectedBank)))
        return false;
    const std::string title = KTDisplayText::bankTitle(selectedBank);
    // The open disk's name and folder, when it is the same kind of disk.
    const bool sameShape = !mDocumentPath.empty() && shape == mDocumentShape;
    std::string suggested = sameShape ? KTDisplayText::fileNameOf(mDocumentPath) : "All Banks.mid";
    if (!allBanks && !sameShape)
        suggested = TLSafeFileName::from(mOrvane->mBankNames[static_cast<std::size_t>(selectedBank)], title) + ".mid";
    const std::string panelTitle =
        allBanks ? tr("Save All Banks as Disk") : KTDisplayText::filled(tr("Save %1 as Disk"), {title});
    KTFilePanel panel{panelTitle, tr("Disks"), {"mid", "midi"}, suggested, KTFilePanel::Folder::Disks, {}};
    if (!mDocumentPath.empty())
        panel.startFolder = std::filesystem::path(mDocumentPath).parent_path().string();
    const std::optional<std::string> chosen = mApplication.runSavePanel(panel);
    if (!chosen)
        return false;
    return saveTo(*chosen, shape, selectedBank);
}
