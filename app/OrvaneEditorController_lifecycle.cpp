#include "app/OrvaneEditorController.h"

#include "app/KTDisplayText.h"
#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTButton.h"
#include "app/platform/KTLabel.h"
#include "app/platform/KTPopUpButton.h"
#include "app/platform/KTTableView.h"
#include "app/platform/KTWindow.h"
#include "device/TLOrvane.h"
#include "device/TLRecoveryFolder.h"
#include "device/TLSavedState.h"
#include "midiout/KTDestinationList.h"
#include "midiout/KTMidiInterfaceTransmitter.h"
#include "midiout/KTMidiPlatform.h"
#include "midiout/KTPreferredDestination.h"

#include <algorithm>
#include <limits>

namespace {

constexpr char kClientName[] = "MidiInterfaceTest";
constexpr char kShortVersionKey[] = "CFBundleShortVersionString";
constexpr char kBuildVersionKey[] = "CFBundleVersion";
constexpr char kMidiPortKey[] = "MidiPort";

} // namespace

OrvaneEditorController* OrvaneEditorController::init()
{
    // A client that cannot be created leaves the editor without destinations.
    mClientCreated = mClient.clientCreate(kClientName, [this](std::int32_t messageId) {
        midiNotifyProc(messageId);
    });
    mDestinations = 0;
    mIdleState = true;
    mOrvane = std::make_unique<TLOrvane>(mFactoryImage);
    mSavedState = std::make_unique<TLSavedState>(*mOrvane);
    return this;
}

void OrvaneEditorController::awakeFromNib()
{
    mWindow_Main->center();
    mWindow_Main->setTitleWithRepresentedFilename(tr("Untitled"));
    fillVersionLines();
    rescan(this);
    mTableView->selectRowIndexesByExtendingSelection(0, false);
    tableViewSelectionDidChange(nullptr);
    showSavedState();
    // Once the window shows and the event loop runs.
    mApplication.postToMainQueue([this] { offerRecovery(); });
}

void OrvaneEditorController::fillVersionLines()
{
    const std::string shortVersion = mApplication.objectForInfoDictionaryKey(kShortVersionKey);
    const std::string buildVersion = mApplication.objectForInfoDictionaryKey(kBuildVersionKey);
    mLabel_VersionString_MainWindow->setStringValue(KTDisplayText::filled(tr("Version %1"), {shortVersion}));
    mLabel_VersionString_AboutWindow->setStringValue(
        KTDisplayText::filled(tr("Version %1 (%2)"), {shortVersion, buildVersion}));
}

void OrvaneEditorController::rescan(void*)
{
    // Cut to the 16-bit signed count; more than 32,767 ports cannot occur in
    // practice, but must not turn negative.
    const std::uint16_t found = KTMidiInterfaceTransmitter::DestinationNumber(mClient);
    mDestinations = static_cast<std::int16_t>(
        std::min<std::uint16_t>(found, std::numeric_limits<std::int16_t>::max()));

    mPopUp_MidiPort->removeAllItems();
    mDestinationTitles.clear();
    if (mDestinations == 0) {
        mPopUp_MidiPort->addItemWithTitle(mClientCreated ? tr("no output ports detected")
                                                         : tr("no ALSA sequencer (no /dev/snd/seq)"));
    } else {
        mDestinationTitles = KTDestinationList::titles(mClient, static_cast<std::size_t>(mDestinations));
        for (const std::string& title : mDestinationTitles)
            mPopUp_MidiPort->addItemWithTitle(title);
    }
    mPopUp_MidiPort->selectItemAtIndex(
        KTPreferredDestination::indexIn(mDestinationTitles, mApplication.stringForUserDefaultsKey(kMidiPortKey)));
    mButton_Send->setEnabled(mDestinations > 0);
    mButton_Send->setToolTip(
        mDestinations > 0 ? tr("Send the selected bank or all banks to the instrument (Ctrl+T)")
        : mClientCreated  ? tr("No MIDI output port found: connect the instrument and press Rescan")
                          : tr("The ALSA sequencer cannot be reached (is /dev/snd/seq there? the snd-seq module "
                               "loaded?): nothing can be sent"));
    checkAudioOutput();
    checkAudioInput();
}

void OrvaneEditorController::midiPortDidChange(void*)
{
    const int index = mPopUp_MidiPort->indexOfSelectedItem();
    if (index >= 0 && index < static_cast<int>(mDestinationTitles.size()))
        mApplication.setStringForUserDefaultsKey(kMidiPortKey, mDestinationTitles[static_cast<std::size_t>(index)]);
}

void OrvaneEditorController::midiNotifyProc(std::int32_t messageId)
{
    // Arrives on a thread of the MIDI platform; the alert and the port list
    // belong to the main thread.
    mApplication.postToMainQueue([this, messageId] { midiSetupDidChange(messageId); });
}

void OrvaneEditorController::midiSetupDidChange(std::int32_t messageId)
{
    if (messageId != KTMidiPlatform::kSetupChanged)
        return;
    mApplication.beep();
    mApplication.runInformationalAlertPanel(tr("MIDI Environment did change!"), "", tr("OK"), "", "");
    rescan(this);
}

int OrvaneEditorController::applicationShouldTerminate(void*)
{
    if (mOrvane && !canDiscardChanges())
        return 0;
    // The workers read the bank store or report to the controller: they must
    // have ended before the store goes.
    stopPlaying();
    endRecording(true);
    stopTransmissionWorker();
    if (mClientCreated) {
        mClient.clientDispose();
        mClientCreated = false;
    }
    // A clean end: whatever was unsaved was saved or discarded.
    if (mRecovery)
        mRecovery->release();
    mOrvane.reset();
    return 1;
}
