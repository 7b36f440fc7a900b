#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTTableView.h"
#include "device/TLBankRange.h"
#include "device/TLBankSnapshot.h"
#include "device/TLSampleImporter.h"

#include <cstdio>
#include <optional>
#include <string>

// Importing an audio file into the selected bank.

namespace {

std::string seconds(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", value);
    return text;
}

} // namespace

void OrvaneEditorController::openSample(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(selectedBank))
        return;

    const std::optional<std::string> chosen = mApplication.runOpenPanel(
        {KTDisplayText::filled(tr("Import Sample into %1"), {KTDisplayText::bankTitle(selectedBank)}),
         tr("Audio files"), {"wav", "wave", "aif", "aiff", "aifc"}, {}, KTFilePanel::Folder::Samples, {}});
    if (chosen)
        importSample(*chosen, selectedBank);
}

namespace {
constexpr char kHighQualityKey[] = "HighQualityResampling";
} // namespace

bool OrvaneEditorController::highQualityResampling() const
{
    return mApplication.stringForUserDefaultsKey(kHighQualityKey) == "on";
}

void OrvaneEditorController::toggleHighQualityResampling(void*)
{
    mApplication.setStringForUserDefaultsKey(kHighQualityKey, highQualityResampling() ? "off" : "on");
}

void OrvaneEditorController::importSampleAtPathIntoBank(const std::string& path, int bank)
{
    if (!isIdle() || !TLBankRange::isBank(bank))
        return;
    mTableView->selectRowIndexesByExtendingSelection(bank, false);
    importSample(path, bank);
}

TLImportOptions OrvaneEditorController::importOptions() const
{
    TLImportOptions options;
    options.resampling = highQualityResampling() ? TLImportOptions::Resampling::HighQuality
                                                 : TLImportOptions::Resampling::Linear;
    return options;
}

// Import Region: the file chosen, then the part of it and its shaping on its
// waveform; the window plays what it would import.
void OrvaneEditorController::importRegion(void*)
{
    const int bank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(bank))
        return;
    const std::optional<std::string> chosen = mApplication.runOpenPanel(
        {KTDisplayText::filled(tr("Import Region into %1"), {KTDisplayText::bankTitle(bank)}), tr("Audio files"),
         {"wav", "wave", "aif", "aiff", "aifc"}, {}, KTFilePanel::Folder::Samples, {}});
    if (!chosen)
        return;
    stopPlaying();
    const auto play = [this, path = *chosen](const TLImportOptions& options) {
        TLImportOptions heard = options;
        heard.resampling = importOptions().resampling;
        return playSound(TLSampleImporter::read(path, heard).samples);
    };
    std::optional<TLImportOptions> options =
        mApplication.runImportRegionPanel(*chosen, play, [this] { stopPlaying(); });
    stopPlaying();
    if (!options)
        return;
    options->resampling = importOptions().resampling;
    importSample(*chosen, bank, *options, tr("Import Region"));
}

void OrvaneEditorController::importSample(const std::string& path, int bank)
{
    importSample(path, bank, importOptions(), tr("Import Sample"));
}

void OrvaneEditorController::importSample(const std::string& path, int bank, const TLImportOptions& options,
                                          const std::string& stepName)
{
    const std::string fileName = KTDisplayText::elidedMiddle(KTDisplayText::fileNameOf(path));
    const TLImportedSound sound = TLSampleImporter::read(path, options);
    switch (sound.status) {
    case TLImportedSound::Status::Imported: {
        const std::vector<TLBankSnapshot> before = snapshots(bank, bank + 1);
        TLSampleImporter::store(*mOrvane, bank, path, sound);
        recordStep(stepName, before);
        tableViewSelectionDidChange(nullptr);
        const std::string imported = KTDisplayText::filled(
            sound.raw ? tr("Imported %1 into %2 as raw 16-bit little-endian data (%3 of the file's %4)")
                      : tr("Imported %1 into %2 (%3 of the file's %4)"),
            {fileName, KTDisplayText::bankTitle(bank), seconds(sound.bankSeconds()), seconds(sound.sourceSeconds)});
        // Float data that went beyond full scale: "...; 12 samples clipped".
        const std::string clipped = std::to_string(sound.clipped);
        if (sound.clipped == 0)
            showStatus(imported);
        else if (sound.clipped == 1)
            //: %1 is the import's report: "Imported a.wav into Bank 3 (1.49 s of the file's 2.00 s)".
            showStatus(KTDisplayText::filled(tr("%1; 1 sample clipped"), {imported}));
        else
            showStatus(KTDisplayText::filled(tr("%1; %2 samples clipped"), {imported, clipped}));
        break;
    }
    case TLImportedSound::Status::Unreadable:
        // Not a file, or vanished since it was chosen: the bank stays as it is.
        mApplication.beep();
        showStatus(KTDisplayText::filled(tr("Could not import %1: %2"), {fileName, sound.reason}));
        break;
    case TLImportedSound::Status::Unsupported:
        mApplication.runCriticalAlertPanel(
            tr("Wrong File Format"), tr("OrvaneEditor supports only pcm (no compression) formats (*.aif or *.wav)."),
            tr("OK"), "", "");
        break;
    case TLImportedSound::Status::NoSound:
        mApplication.runCriticalAlertPanel(
            tr("No Sound Data"), KTDisplayText::filled(tr("The file \"%1\" holds no sound data."), {fileName}),
            tr("OK"), "", "");
        break;
    }
}
