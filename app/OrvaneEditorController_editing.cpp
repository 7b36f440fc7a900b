#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTLabel.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTWaveformView.h"
#include "device/TLAudibleSound.h"
#include "device/TLBankRange.h"
#include "device/TLBankSnapshot.h"
#include "device/TLClipboardSound.h"
#include "device/TLOrvane.h"
#include "device/TLSoundOperations.h"

#include <cstdio>

// Editing a bank's sound in the window: the selection on the waveform, the
// sound operations on it (or the whole bank without one), the clipboard, whole
// banks copied, pasted and swapped. Each change is one undo step named after
// its operation and bank.

namespace {

constexpr char kSnapKey[] = "SnapToZeroCrossings";

std::string secondsText(std::size_t samples)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", double(samples) / TLOrvane::kSampleRate);
    return text;
}

} // namespace

bool OrvaneEditorController::snapToZeroCrossings() const
{
    return mApplication.stringForUserDefaultsKey(kSnapKey) == "on";
}

void OrvaneEditorController::toggleSnapToZeroCrossings(void*)
{
    mApplication.setStringForUserDefaultsKey(kSnapKey, snapToZeroCrossings() ? "off" : "on");
}

std::optional<TLSampleRange> OrvaneEditorController::selection() const
{
    return mWaveformView ? mWaveformView->selection() : std::nullopt;
}

void OrvaneEditorController::waveformSelectionDidChange(bool finished)
{
    const int bank = mTableView->selectedRow();
    if (!mOrvane || !mWaveformView || !TLBankRange::isBank(bank))
        return;
    if (finished && snapToZeroCrossings()) {
        if (const std::optional<TLSampleRange> chosen = mWaveformView->selection())
            mWaveformView->setSelection(
                TLSoundOperations::snapToZeroCrossings(mOrvane->mSamples[static_cast<std::size_t>(bank)], *chosen));
    }
    showStatus(KTDisplayText::selectionText(mWaveformView->selection(), mWaveformView->cursor(), TLOrvane::kSampleRate,
                                            tr("Selected %1 to %2: %3 samples, %4 ms"),
                                            tr("Cursor at %1 (%2 ms)")));
}

// Runs an operation on the selection, or on the whole bank without one, as one
// undo step; returns the samples it clipped. Operations that move sound leave
// no selection behind.
std::size_t OrvaneEditorController::changeSelectedBank(const std::string& name, const BankOperation& operation,
                                                       bool movesSound)
{
    const int bank = mTableView->selectedRow();
    if (!isIdle() || !mOrvane || !TLBankRange::isBank(bank))
        return 0;
    stopPlaying();
    const std::vector<TLBankSnapshot> before = snapshots(bank, bank + 1);
    const std::optional<TLSampleRange> range = selection();
    const std::size_t clipped =
        operation(mOrvane->mSamples[static_cast<std::size_t>(bank)], range.value_or(TLSampleRange::whole()));
    const std::string title = KTDisplayText::bankTitle(bank);
    //: An undo step: the operation's name and the bank it changed, "Fade In Bank 3".
    recordStep(KTDisplayText::filled(tr("%1 %2"), {name, title}), before);
    if (mWaveformView) {
        mWaveformView->setSamples(mOrvane->mSamples[static_cast<std::size_t>(bank)]);
        if (movesSound)
            mWaveformView->setSelection(std::nullopt);
    }
    // "Gain Bank 3, the selection (12 samples clipped)".
    const std::string pattern =
        //: The status after an operation: its name, the bank, and where in the bank it worked.
        clipped == 0 ? (range ? tr("%1 %2, the selection") : tr("%1 %2, the whole bank"))
                     : (range ? tr("%1 %2, the selection (%3 samples clipped)")
                              : tr("%1 %2, the whole bank (%3 samples clipped)"));
    showStatus(KTDisplayText::filled(pattern, {name, title, std::to_string(clipped)}));
    return clipped;
}

void OrvaneEditorController::crop(void*)
{
    if (selection())
        changeSelectedBank(
            tr("Crop"), [](auto& b, auto r) { return TLSoundOperations::crop(b, r), std::size_t{0}; }, true);
}

void OrvaneEditorController::silence(void*)
{
    changeSelectedBank(tr("Silence"), [](auto& b, auto r) { return TLSoundOperations::silence(b, r), std::size_t{0}; });
}

void OrvaneEditorController::gain(void*)
{
    if (const std::optional<double> db =
            mApplication.runValuePanel(tr("Gain"), tr("Change the level by (dB):"), 0.0, -60.0, 60.0))
        changeSelectedBank(tr("Gain"), [db](auto& b, auto r) { return TLSoundOperations::gain(b, r, *db); });
}

void OrvaneEditorController::normalize(void*)
{
    if (const std::optional<double> db =
            mApplication.runValuePanel(tr("Normalize"), tr("Bring the peak to (dBFS):"), 0.0, -60.0, 0.0))
        changeSelectedBank(tr("Normalize"), [db](auto& b, auto r) { return TLSoundOperations::normalize(b, r, *db); });
}

void OrvaneEditorController::fadeIn(void*)
{
    changeSelectedBank(tr("Fade In"), [](auto& b, auto r) { return TLSoundOperations::fadeIn(b, r), std::size_t{0}; });
}

void OrvaneEditorController::fadeOut(void*)
{
    changeSelectedBank(tr("Fade Out"),
                       [](auto& b, auto r) { return TLSoundOperations::fadeOut(b, r), std::size_t{0}; });
}

void OrvaneEditorController::reverse(void*)
{
    changeSelectedBank(tr("Reverse"), [](auto& b, auto r) { return TLSoundOperations::reverse(b, r), std::size_t{0}; });
}

void OrvaneEditorController::removeDcOffset(void*)
{
    changeSelectedBank(tr("Remove DC Offset"),
                       [](auto& b, auto r) { return TLSoundOperations::removeDc(b, r), std::size_t{0}; });
}

void OrvaneEditorController::trimSilence(void*)
{
    changeSelectedBank(
        tr("Trim Silence"), [](auto& b, auto r) { return TLSoundOperations::trimLeadingSilence(b, r), std::size_t{0}; },
        true);
}

void OrvaneEditorController::deleteSelection(void*)
{
    if (selection())
        changeSelectedBank(tr("Delete"), [](auto& b, auto r) { return TLSoundOperations::erase(b, r), std::size_t{0}; },
                           true);
}

void OrvaneEditorController::copy(void*)
{
    const int bank = mTableView->selectedRow();
    const std::optional<TLSampleRange> range = selection();
    if (!mOrvane || !range || !TLBankRange::isBank(bank))
        return;
    const std::vector<std::int16_t> copied =
        TLAudibleSound::samplesOf(mOrvane->mSamples[static_cast<std::size_t>(bank)], range);
    mApplication.setClipboardSound(TLClipboardSound::wave(copied));
    showStatus(
        KTDisplayText::filled(tr("Copied %1 of %2"), {secondsText(copied.size()), KTDisplayText::bankTitle(bank)}));
}

void OrvaneEditorController::cut(void*)
{
    if (!isIdle() || !selection())
        return;
    copy(this);
    changeSelectedBank(tr("Cut"), [](auto& b, auto r) { return TLSoundOperations::erase(b, r), std::size_t{0}; }, true);
}

// The clipboard's sound replaces the selection, or goes in at the cursor;
// what passes the bank's end is cut, and the status says so.
void OrvaneEditorController::paste(void*)
{
    const std::optional<std::vector<std::uint8_t>> wave = mApplication.clipboardSound();
    const TLImportedSound sound = wave ? TLClipboardSound::read(*wave) : TLImportedSound{};
    if (sound.status != TLImportedSound::Status::Imported || sound.raw) {
        showStatus(tr("The clipboard holds no sound to paste"));
        return;
    }
    const auto* begin = reinterpret_cast<const std::int16_t*>(sound.samples.data());
    const std::vector<std::int16_t> pasted(begin, begin + sound.samples.size() / 2);
    const std::size_t at = mWaveformView ? mWaveformView->cursor() : 0;
    const TLSampleRange where = selection().value_or(TLSampleRange{at, at});
    std::size_t cut = 0;
    changeSelectedBank(
        tr("Paste"), [&](auto& b, auto) { return cut = TLSoundOperations::paste(b, where, pasted), std::size_t{0}; },
        true);
    if (cut > 0)
        showStatus(KTDisplayText::filled(tr("Pasted %1; %2 that passed the bank's end was cut"),
                                         {secondsText(pasted.size()), secondsText(cut)}));
}

void OrvaneEditorController::copyBank(void*)
{
    const int bank = mTableView->selectedRow();
    if (!mOrvane || !TLBankRange::isBank(bank))
        return;
    mCopiedBank = TLBankSnapshot::of(*mOrvane, bank);
    showStatus(KTDisplayText::filled(tr("Copied %1 with its names"), {KTDisplayText::bankTitle(bank)}));
}

void OrvaneEditorController::pasteBank(void*)
{
    const int bank = mTableView->selectedRow();
    if (!isIdle() || !mOrvane || !mCopiedBank || !TLBankRange::isBank(bank))
        return;
    stopPlaying();
    const std::vector<TLBankSnapshot> before = snapshots(bank, bank + 1);
    TLBankSnapshot pasted = *mCopiedBank;
    pasted.bank = bank;
    pasted.restoreInto(*mOrvane);
    //: An undo step: a copied bank pasted onto the bank numbered %1.
    recordStep(KTDisplayText::filled(tr("Paste Bank %1"), {std::to_string(bank + 1)}), before);
    tableViewSelectionDidChange(nullptr);
    mTableView->reloadData();
    showStatus(KTDisplayText::filled(tr("Pasted %1 onto %2"), {KTDisplayText::bankTitle(mCopiedBank->bank),
                                                                KTDisplayText::bankTitle(bank)}));
}

void OrvaneEditorController::swapBanks(int first, int second)
{
    if (!isIdle() || !mOrvane || first == second || !TLBankRange::isBank(first) || !TLBankRange::isBank(second))
        return;
    stopPlaying();
    std::vector<TLBankSnapshot> before{TLBankSnapshot::of(*mOrvane, first), TLBankSnapshot::of(*mOrvane, second)};
    TLBankSnapshot moved = before[0];
    TLBankSnapshot other = before[1];
    moved.bank = second;
    other.bank = first;
    moved.restoreInto(*mOrvane);
    other.restoreInto(*mOrvane);
    const std::string firstTitle = KTDisplayText::bankTitle(first);
    const std::string secondTitle = KTDisplayText::bankTitle(second);
    recordStep(KTDisplayText::filled(tr("Swap %1 and %2"), {firstTitle, secondTitle}), before);
    mTableView->selectRowIndexesByExtendingSelection(second, false);
    mTableView->reloadData();
    showStatus(KTDisplayText::filled(tr("Swapped %1 and %2"), {firstTitle, secondTitle}));
}
