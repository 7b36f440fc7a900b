#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTLabel.h"
#include "app/platform/KTMatrix.h"
#include "app/platform/KTPopUpButton.h"
#include "app/platform/KTProgressIndicator.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTWindow.h"
#include "device/TLBankRange.h"
#include "device/TLOrvane.h"
#include "device/TLSendJob.h"
#include "midiout/KTMidiInterfaceTransmitter.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// Transmitting the selected bank or all banks to the instrument, with the
// progress sheet and its worker thread.

namespace {

constexpr char kTransferSpeedKey[] = "TransferSpeed";

// Answer of an alert for its default button.
constexpr int kDefaultButton = 1;
// Rows of the scope matrix.
constexpr int kScopeSelectedBank = 0;

// The sheet's and the failure alert's texts in the user's language.
struct TransmissionTexts {
    // "Sending... Bank %1: "%2"": the bank's number and name.
    std::string sending;
    std::string releasing;
    std::string failedTitle;
    // "Bank %1: "%2" did not arrive...": the bank's number and name.
    std::string failedMessage;
    std::string ok;
};

// What the progress posts need: the controller for its controls and bank
// store, the platform, and the texts, looked up on the main thread where the
// posted blocks run.
struct WorkerContext {
    OrvaneEditorController& controller;
    KTApplicationPlatform& application;
    std::function<TransmissionTexts()> texts;
};

// The number and the name are filled in one pass: a "%" in the name is shown
// as it is.
std::string bankText(const std::string& pattern, int bank, const std::string& name)
{
    return KTDisplayText::filled(pattern, {std::to_string(bank + 1), name});
}

// The blocks below run on the main thread. After termination the bank store is
// gone and the sheet no longer matters: a block still queued then does nothing.

// A bank starts (its status line and the bar's length), or goes on.
void postProgress(const WorkerContext& context, const TLSendProgress& progress, bool bankStarts)
{
    OrvaneEditorController& controller = context.controller;
    context.application.postToMainQueue([&controller, texts = context.texts, progress, bankStarts] {
        if (!controller.mOrvane)
            return;
        KTProgressIndicator& bar = *controller.mProgressIndicator;
        if (bankStarts) {
            const std::string& name = controller.mOrvane->mBankNames[static_cast<std::size_t>(progress.bank)];
            controller.mLabel_ProgressStatus->setStringValue(bankText(texts().sending, progress.bank, name));
            bar.setMaxValue(progress.seconds);
            return;
        }
        bar.setDoubleValue(progress.seconds - progress.secondsLeft);
        bar.display();
    });
}

void postEndOfTransmission(const WorkerContext& context)
{
    OrvaneEditorController& controller = context.controller;
    KTApplicationPlatform& application = context.application;
    application.postToMainQueue([&controller, &application, texts = context.texts] {
        if (!controller.mOrvane)
            return;
        controller.mLabel_ProgressStatus->setStringValue(texts().releasing);
        application.endSheet(*controller.mWindow_Progress);
    });
}

// A bank that did not arrive: the sheet ends and an alert says which bank.
void postFailedTransmission(const WorkerContext& context, int bank)
{
    OrvaneEditorController& controller = context.controller;
    KTApplicationPlatform& application = context.application;
    application.postToMainQueue([&controller, &application, texts = context.texts, bank] {
        if (!controller.mOrvane)
            return;
        application.endSheet(*controller.mWindow_Progress);
        const std::string& name = controller.mOrvane->mBankNames[static_cast<std::size_t>(bank)];
        const TransmissionTexts shown = texts();
        application.runCriticalAlertPanel(shown.failedTitle, bankText(shown.failedMessage, bank, name), shown.ok, "",
                                          "");
    });
}

} // namespace

void OrvaneEditorController::send(void*)
{
    if (mDestinations < 1 || !isIdle())
        return;
    if (mMatrix_SaveSendOption->selectedRow() != kScopeSelectedBank) {
        // At the line rate "over 10 Minutes"; slower speeds take longer.
        const std::vector<int> all{0, 1, 2, 3, 4, 5, 6};
        const int channel = mPopUp_MidiChannel->indexOfSelectedItem();
        const double seconds = TLSendJob(*mOrvane, all, channel, transferSpeed()).estimatedSeconds();
        const auto minutes = static_cast<int>(seconds / 60);
        const std::string message = KTDisplayText::filled(
            tr("The sending of all banks take over %1 Minutes.\nDo you want to really transmit?"),
            {std::to_string(minutes)});
        const int answer = mApplication.runInformationalAlertPanel(tr("Send All Banks"), message, tr("Transmit"),
                                                                   tr("Cancel"), "");
        if (answer != kDefaultButton)
            return;
    }
    stopPlaying();
    mIdleState = false;
    // Runs after this action has returned and the alert has closed.
    mApplication.postToMainQueue([this] { transmit(); });
}

void OrvaneEditorController::transmit()
{
    // Still queued when the application terminated: nothing is left to send to.
    if (!mOrvane)
        return;
    const int selectedBank = mTableView->selectedRow();
    const int channel = mPopUp_MidiChannel->indexOfSelectedItem();
    const int port = mPopUp_MidiPort->indexOfSelectedItem();

    mLabel_ProgressStatus->setStringValue("");
    mProgressIndicator->setIndeterminate(false);
    mProgressIndicator->setDoubleValue(0.0);
    mApplication.beginSheetModalForWindow(
        *mWindow_Progress, *mWindow_Main,
        [this](KTWindow* sheet, int returnCode, void* contextInfo) {
            SheetDidEndReturnCodeContextInfo(sheet, returnCode, contextInfo);
        },
        nullptr);
    mLabel_ProgressStatus->setStringValue(tr("Initializing..."));

    auto transmitter = KTMidiInterfaceTransmitter::transmitterWithClientForDestination(
        mClient, mClock, static_cast<std::uint16_t>(port));
    const TLBankRange banks =
        TLBankRange::selectedOrAll(mMatrix_SaveSendOption->selectedRow() != kScopeSelectedBank, selectedBank);

    // A previous worker has ended (send: waits for that); its thread is only
    // joined here.
    if (mTransmissionThread.joinable())
        mTransmissionThread.join();
    mStopRequested = false;
    mWorkerRunning = true;
    mSendSpeed = transferSpeed();
    mTransmissionThread = mApplication.startBackgroundOperation(
        [this, banks, channel, transmitter = std::move(transmitter)]() mutable {
            transmissionWorker(banks.first, banks.end, channel, std::move(transmitter));
        });
}

void OrvaneEditorController::cancel(void*)
{
    // The sheet ends at once; the worker stops at its next poll and, until it
    // has ended, isIdle keeps the bank-changing actions and send: away.
    mStopRequested = true;
    mApplication.endSheet(*mWindow_Progress);
    mWindow_Progress->orderOut(this);
}

void OrvaneEditorController::SheetDidEndReturnCodeContextInfo(KTWindow* sheet, int, void*)
{
    (sheet != nullptr ? sheet : mWindow_Progress)->orderOut(this);
    mIdleState = true;
}

void OrvaneEditorController::transmissionWorker(int firstBank, int endBank, int channel,
                                                std::shared_ptr<KTMidiInterfaceTransmitter> transmitter)
{
    // Called by the posted blocks, on the main thread.
    const auto texts = [this] {
        return TransmissionTexts{
            tr("Sending... Bank %1: \"%2\""), tr("Releasing..."), tr("Send Failed"),
            tr("Bank %1: \"%2\" did not arrive.\nThe MIDI destination went away or refused the data."), tr("OK")};
    };
    const WorkerContext context{*this, mApplication, texts};
    std::vector<int> banks;
    for (int bank = firstBank; bank < endBank; ++bank)
        banks.push_back(bank);
    int lastBank = -1;
    // After a stop the sheet has ended already (cancel) or the application is
    // going away (quit): nothing more goes to the sheet.
    const TLSendJob::Result result = TLSendJob(*mOrvane, banks, channel, mSendSpeed)
                                         .run(*transmitter, mClock, mStopRequested, [&](const TLSendProgress& now) {
                                             postProgress(context, now, now.bank != lastBank);
                                             lastBank = now.bank;
                                         });
    if (result.outcome == TLSendJob::Outcome::Sent)
        postEndOfTransmission(context);
    else if (result.outcome == TLSendJob::Outcome::Failed)
        postFailedTransmission(context, result.failedBank);
    // The last reference: the transmitter goes before the worker reports its end.
    transmitter.reset();
    mWorkerRunning = false;
}

void OrvaneEditorController::stopTransmissionWorker()
{
    mStopRequested = true;
    if (mTransmissionThread.joinable())
        mTransmissionThread.join();
    mStopRequested = false;
}

unsigned OrvaneEditorController::transferSpeed() const
{
    const std::string stored = mApplication.stringForUserDefaultsKey(kTransferSpeedKey);
    for (const unsigned speed : kTransferSpeeds)
        if (stored == std::to_string(speed))
            return speed;
    return kTransferSpeeds[0];
}

void OrvaneEditorController::setTransferSpeed(unsigned speed)
{
    mApplication.setStringForUserDefaultsKey(kTransferSpeedKey, std::to_string(speed));
}
