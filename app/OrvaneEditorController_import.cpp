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

// "; 12 samples clipped" when float data went beyond full scale.
std::string clippedText(std::size_t clipped)
{
    if (clipped == 0)
        return {};
    return "; " + std::to_string(clipped) + (clipped == 1 ? " sample" : " samples") + " clipped";
}

} // namespace

void OrvaneEditorController::openSample(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || !TLBankRange::isBank(selectedBank))
        return;

    const std::optional<std::string> chosen = mApplication.runOpenPanel(
        {"Import Sample into " + KTDisplayText::bankTitle(selectedBank), "Audio files",
         {"wav", "wave", "aif", "aiff", "aifc"}, {}, KTFilePanel::Folder::Samples, {}});
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
        {"Import Region into " + KTDisplayText::bankTitle(bank), "Audio files", {"wav", "wave", "aif", "aiff", "aifc"},
         {}, KTFilePanel::Folder::Samples, {}});
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
    importSample(*chosen, bank, *options, "Import Region");
}

void OrvaneEditorController::importSample(const std::string& path, int bank)
{
    importSample(path, bank, importOptions(), "Import Sample");
}

void OrvaneEditorController::importSample(const std::string& path, int bank, const TLImportOptions& options,
                                          const std::string& stepName)
{
    const std::string fileName = KTDisplayText::fileNameOf(path);
    const TLImportedSound sound = TLSampleImporter::read(path, options);
    switch (sound.status) {
    case TLImportedSound::Status::Imported: {
        const std::vector<TLBankSnapshot> before = snapshots(bank, bank + 1);
        TLSampleImporter::store(*mOrvane, bank, path, sound);
        recordStep(stepName, before);
        tableViewSelectionDidChange(nullptr);
        showStatus("Imported " + KTDisplayText::elidedMiddle(fileName) + " into " + KTDisplayText::bankTitle(bank) +
                   (sound.raw ? " as raw 16-bit little-endian data" : "") + " (" + seconds(sound.bankSeconds()) +
                   " of the file's " + seconds(sound.sourceSeconds) + ")" + clippedText(sound.clipped));
        break;
    }
    case TLImportedSound::Status::Unreadable:
        // Not a file, or vanished since it was chosen: the bank stays as it is.
        mApplication.beep();
        showStatus("Could not import " + KTDisplayText::elidedMiddle(fileName) + ": " + sound.reason);
        break;
    case TLImportedSound::Status::Unsupported:
        mApplication.runCriticalAlertPanel(
            "Wrong File Format", "OrvaneEditor supports only pcm (no compression) formats (*.aif or *.wav).", "OK",
            "", "");
        break;
    case TLImportedSound::Status::NoSound:
        mApplication.runCriticalAlertPanel(
            "No Sound Data", "The file \"" + KTDisplayText::elidedMiddle(fileName) + "\" holds no sound data.", "OK",
            "", "");
        break;
    }
}
