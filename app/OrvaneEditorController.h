#pragma once

#include "app/platform/KTTableViewDataSource.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

class KTApplicationPlatform;
class KTButton;
class KTClock;
class KTLabel;
class KTMatrix;
class KTMenuItem;
class KTMidiInterfaceTransmitter;
class KTMidiPlatform;
class KTPopUpButton;
class KTProgressIndicator;
class KTTableView;
class KTTextField;
class KTWindow;
class TLOrvane;
struct TLDiskContents;

// The one controller of the editor: stands behind the main window, owns the bank
// store, answers every control, menu command and table callback, and runs the
// save, load, import and transmit workflows. It talks to the desktop only
// through the platform interfaces it is given, so it runs against the Qt layer
// or a test double alike. Every member function runs on the main thread unless
// it says otherwise.
class OrvaneEditorController final : public KTTableViewDataSource {
public:
    // The collaborators live longer than the controller. factoryImage holds the
    // 7 factory banks the bank store resets from.
    OrvaneEditorController(KTApplicationPlatform& application, KTMidiPlatform& midi, KTClock& clock,
                           const std::int16_t* factoryImage);
    ~OrvaneEditorController() override;
    OrvaneEditorController(const OrvaneEditorController&) = delete;
    OrvaneEditorController& operator=(const OrvaneEditorController&) = delete;

    // Start-up and shutdown.
    OrvaneEditorController* init();
    void awakeFromNib();
    void rescan(void* sender);
    // Returns 1: the application terminates now.
    int applicationShouldTerminate(void* sender);
    // The MIDI platform's notification, on a thread of the platform.
    void midiNotifyProc(std::int32_t messageId);
    // The set-up change handling itself, on the main thread.
    void midiSetupDidChange(std::int32_t messageId);

    // Editor core.
    void textfiledBanknameDidChange(void* sender);
    void textfieldSamplenameDidChange(void* sender);
    void reset(void* sender);
    void orderFrontAboutWindow(void* sender);
    bool validateMenuItem(const KTMenuItem& item) const;

    // Table data source and delegate.
    std::int32_t numberOfRowsInTableView(KTTableView* tableView) override;
    std::string tableViewObjectValueForTableColumnRow(KTTableView* tableView, int column,
                                                      std::int32_t row) override;
    void tableViewSelectionDidChange(void* notification) override;

    // Disks and samples.
    void save(void* sender);
    void openDisk(void* sender);
    void openSample(void* sender);

    // Transmission.
    void send(void* sender);
    void transmit();
    void cancel(void* sender);
    void SheetDidEndReturnCodeContextInfo(KTWindow* sheet, int returnCode, void* contextInfo);

    // True while no transmission is under way and no transmission worker is
    // still finishing: the actions that change banks or start a transmission run
    // only then.
    bool isIdle() const;

    // The user-interface objects, connected when the window is loaded and never
    // owned or replaced by the controller.
    KTButton* mButton_Cancel = nullptr;
    KTButton* mButton_OpenDisk = nullptr;
    KTButton* mButton_OpenSample = nullptr;
    KTButton* mButton_Reset = nullptr;
    KTButton* mButton_Save = nullptr;
    KTButton* mButton_Send = nullptr;
    KTLabel* mLabel_ProgressStatus = nullptr;
    KTLabel* mLabel_VersionString_AboutWindow = nullptr;
    KTLabel* mLabel_VersionString_MainWindow = nullptr;
    KTMatrix* mMatrix_SaveSendOption = nullptr;
    KTPopUpButton* mPopUp_MidiChannel = nullptr;
    KTPopUpButton* mPopUp_MidiPort = nullptr;
    KTProgressIndicator* mProgressIndicator = nullptr;
    KTTableView* mTableView = nullptr;
    KTTextField* mTextField_Bankname = nullptr;
    KTTextField* mTextField_Sample = nullptr;
    KTWindow* mWindow_About = nullptr;
    KTWindow* mWindow_Main = nullptr;
    KTWindow* mWindow_Progress = nullptr;

    // The MIDI client: the platform's client, created in init and disposed at
    // termination.
    KTMidiPlatform& mClient;
    // Destinations found by the last port scan.
    std::int16_t mDestinations = 0;
    // True while no transmission is under way.
    bool mIdleState = true;
    std::unique_ptr<TLOrvane> mOrvane;

private:
    // The transmission worker's bank loop, on its own thread.
    void transmissionWorker(int firstBank, int endBank, int channel,
                            std::shared_ptr<KTMidiInterfaceTransmitter> transmitter);
    // Asks a running worker to stop and waits until it has ended.
    void stopTransmissionWorker();
    void fillVersionLines();
    // Loads the disk's tracks into the banks they belong to, asking before a
    // one-bank disk replaces another bank than its own.
    void loadTracks(const TLDiskContents& contents, int selectedBank);

    KTApplicationPlatform& mApplication;
    KTClock& mClock;
    const std::int16_t* mFactoryImage;
    bool mClientCreated = false;

    // The transmission worker; joined before the bank store or the controller
    // goes away.
    std::thread mTransmissionThread;
    // Set when the worker is started, cleared by the worker as its last step.
    std::atomic<bool> mWorkerRunning{false};
    // Asks the worker to stop at its next poll (cancel, termination).
    std::atomic<bool> mStopRequested{false};
};
