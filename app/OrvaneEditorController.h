#pragma once

#include "app/platform/KTTableViewDataSource.h"
#include "audioin/KTAudioRecorder.h"
#include "device/TLBankSnapshot.h"
#include "device/TLImportOptions.h"
#include "device/TLSampleRange.h"
#include "device/TLDiskWriter.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

class KTApplicationPlatform;
class KTAudioDevice;
class KTAudioInputDevice;
class KTAudioPlayer;
class KTRecordSheet;
class KTSample;
class KTBankOverview;
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
class KTUndoManager;
class KTWaveformView;
class KTWindow;
class TLOrvane;
class TLRecoveryFolder;
class TLSavedState;
struct TLDiskReport;

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
    // The user picked a port: it is remembered by its shown name.
    void midiPortDidChange(void* sender);
    // Returns 1 when the application terminates now, 0 when the user chose to
    // keep working rather than lose unsaved changes.
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
    // Asks for a name and saves the selected bank or all banks (Save As).
    void save(void* sender);
    // Saves back to the disk opened or last saved, in its shape; asks for a
    // name when there is none yet.
    void saveDocument(void* sender);
    void openDisk(void* sender);
    void openSample(void* sender);
    void exportBankAsWave(void* sender);
    // Whether imports resample with the band-limited filter instead of linear
    // interpolation; remembered in the user defaults, off for a new user.
    bool highQualityResampling() const;
    void toggleHighQualityResampling(void* sender);
    // A disk dropped on the window or chosen from the recent disks.
    void openDiskAtPath(const std::string& path);
    // An audio file dropped on a bank's row.
    void importSampleAtPathIntoBank(const std::string& path, int bank);

    // Transmission. The speed of sends in percent of the MIDI line rate, for
    // interfaces that lose bytes at full rate: one of kTransferSpeeds,
    // remembered, the line rate for a new user.
    static constexpr unsigned kTransferSpeeds[] = {100, 75, 50, 25};
    unsigned transferSpeed() const;
    void setTransferSpeed(unsigned speed);
    void send(void* sender);
    void transmit();
    void cancel(void* sender);
    void SheetDidEndReturnCodeContextInfo(KTWindow* sheet, int returnCode, void* contextInfo);

    // Recovery after a crash: the unsaved banks are kept in a file of this
    // editor's in the folder, and files left by editors that ended without
    // a clean end are offered once the window shows. Without a folder there
    // is no recovery.
    void setRecoveryFolder(const std::string& folder);
    void offerRecovery();

    // Listening. The sound output the selected bank is played on; without
    // one, Play stays disabled. Both live longer than the controller.
    void setAudioOutput(KTAudioDevice& device, KTAudioPlayer& player);
    // Plays the selected bank up to its last non-zero sample, or stops it.
    void play(void* sender);

    // Editing: the waveform's selection changed (finished: the mouse released
    // or the key handled); with Snap to Zero Crossings, remembered, its edges
    // move to the nearest zero crossings then.
    void waveformSelectionDidChange(bool finished);
    bool snapToZeroCrossings() const;
    void toggleSnapToZeroCrossings(void* sender);
    // The sound operations on the selection, or on the whole bank without one.
    void crop(void* sender);
    void silence(void* sender);
    void gain(void* sender);
    void normalize(void* sender);
    void fadeIn(void* sender);
    void fadeOut(void* sender);
    void reverse(void* sender);
    void removeDcOffset(void* sender);
    void trimSilence(void* sender);
    // The clipboard holds sound as WAV data: the selection is cut or copied,
    // and pasted over the selection or at the cursor.
    void cut(void* sender);
    void copy(void* sender);
    void paste(void* sender);
    void deleteSelection(void* sender);
    // A whole bank with its names, copied and pasted onto another row, or two
    // banks swapped (a row dragged onto another).
    void copyBank(void* sender);
    void pasteBank(void* sender);
    void swapBanks(int first, int second);
    // Bank > Import Region...: a part of a file chosen on its waveform.
    void importRegion(void* sender);

    // Recording into the selected bank from the sound input; without one, the
    // menu item stays disabled and says why. Both live longer than the controller.
    void setAudioInput(KTAudioInputDevice& device, KTAudioRecorder& recorder);
    // Opens and closes the input to see whether recording can work.
    void checkAudioInput();
    // Bank > Record...: the record sheet for the selected bank.
    void record(void* sender);

    // True while no transmission is under way and no transmission worker is
    // still finishing: the actions that change banks or start a transmission run
    // only then.
    bool isIdle() const;

    // The user-interface objects, connected when the window is loaded and never
    // owned or replaced by the controller.
    KTBankOverview* mBankOverview = nullptr;
    KTMenuItem* mMenuItem_Record = nullptr;
    KTRecordSheet* mRecordSheet = nullptr;
    KTButton* mButton_Cancel = nullptr;
    KTButton* mButton_OpenDisk = nullptr;
    KTButton* mButton_OpenSample = nullptr;
    KTButton* mButton_Play = nullptr;
    KTButton* mButton_Reset = nullptr;
    KTButton* mButton_Save = nullptr;
    KTButton* mButton_Send = nullptr;
    KTLabel* mLabel_ProgressStatus = nullptr;
    KTLabel* mLabel_VersionString_AboutWindow = nullptr;
    KTLabel* mLabel_VersionString_MainWindow = nullptr;
    KTLabel* mLabel_Status = nullptr;
    KTMatrix* mMatrix_SaveSendOption = nullptr;
    KTPopUpButton* mPopUp_MidiChannel = nullptr;
    KTPopUpButton* mPopUp_MidiPort = nullptr;
    KTProgressIndicator* mProgressIndicator = nullptr;
    KTTableView* mTableView = nullptr;
    KTTextField* mTextField_Bankname = nullptr;
    KTTextField* mTextField_Sample = nullptr;
    KTUndoManager* mUndoManager = nullptr;
    KTWaveformView* mWaveformView = nullptr;
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
    // Loads a disk, all its banks or none.
    void loadDisk(const std::string& path, int selectedBank);
    // Where a disk's banks go: their own banks (TLDiskLoader::kOwnBank), or,
    // when the user agrees, a one-bank disk's bank into the selected bank;
    // kKeepBanks when the user said no.
    static constexpr int kKeepBanks = -2;
    int targetBankFor(const TLDiskReport& report, int selectedBank);
    void importSample(const std::string& path, int bank);
    void importSample(const std::string& path, int bank, const TLImportOptions& options, const std::string& stepName);
    TLImportOptions importOptions() const;
    // Plays the samples (a KTSample's 16-bit bytes); the seconds they play, 0
    // when nothing plays.
    double playSound(const KTSample& samples);

    // The disk the banks were opened from or last saved to, and the banks
    // whose content that disk now holds.
    void setDocument(const std::string& path, TLDiskShape shape, int bank, const std::vector<int>& banksInDisk);
    bool saveAs();
    // Asks for a name and saves the bank or all banks.
    bool saveAsDisk(TLDiskShape shape, int selectedBank);
    bool saveDocumentNow();
    bool saveTo(const std::string& path, TLDiskShape shape, int bank);
    // Asks Save / Discard / Cancel while any bank is unsaved, naming them;
    // true when the work may go on.
    bool canDiscardChanges();
    bool saveUnsavedBanks(const std::vector<int>& unsaved);
    std::string bankList(const std::vector<int>& banks) const;
    // After every change of the banks: the window's mark, the overview, the
    // recovery file.
    void bankContentDidChange();
    // The window's mark and the overview, as the banks are now.
    void showSavedState();
    void writeRecovery();
    // Puts a recovery file's banks back as unsaved changes; false when it
    // holds none.
    bool recover(const std::string& file);
    // Records an edit of the banks in before as one undoable step.
    void recordStep(const std::string& actionName, const std::vector<TLBankSnapshot>& before);
    std::vector<TLBankSnapshot> snapshots(int firstBank, int endBank) const;
    void restoreBanks(const std::vector<TLBankSnapshot>& banks);
    void showStatus(const std::string& text);
    // text in the user's language (the window's texts are written in English).
    std::string tr(const char* text) const;

    // Opens and closes the sound output to see whether Play can work, unless
    // it is playing now, and shows the answer on the Play button.
    void checkAudioOutput();
    void showAudioOutput();
    std::string noSoundOutputText() const;
    void startPlaying(std::vector<std::int16_t> sound, std::size_t offset);
    // Stops playing and waits until the playing thread has ended. Called
    // whenever what would be heard changes: the bank, its samples, a send, quit.
    void stopPlaying();
    // What the playing thread reported, on the main thread; a report from a
    // playing that has since been stopped is passed over.
    void playbackDidReach(unsigned playback, std::size_t sample);
    void playbackDidEnd(unsigned playback, const std::string& failure);
    void endPlaying();

    using BankOperation = std::function<std::size_t(std::vector<std::int16_t>& bank, TLSampleRange range)>;
    std::size_t changeSelectedBank(const std::string& name, const BankOperation& operation, bool movesSound = false);
    std::optional<TLSampleRange> selection() const;

    bool canRecord() const;
    void startRecording(std::optional<double> thresholdDbfs);
    void recordingProgress(unsigned take, const KTAudioRecorder::Progress& progress,
                           const std::vector<std::int16_t>& added);
    void recordingEnded(unsigned take, KTAudioRecorder::Ending ending);
    void endRecording(bool cancel);

    KTApplicationPlatform& mApplication;
    KTClock& mClock;
    const std::int16_t* mFactoryImage;
    bool mClientCreated = false;
    std::string mDocumentPath;
    std::unique_ptr<TLSavedState> mSavedState;
    std::unique_ptr<TLRecoveryFolder> mRecovery;
    bool mRecoveryPending = false;
    // A change is kept in the recovery file within a second.
    static constexpr std::chrono::milliseconds kRecoveryDelay{500};
    TLDiskShape mDocumentShape = TLDiskShape::AllBanks;
    int mDocumentBank = 0;
    // The port list's items as the last scan titled them.
    std::vector<std::string> mDestinationTitles;

    KTAudioDevice* mAudioDevice = nullptr;
    KTAudioPlayer* mAudioPlayer = nullptr;
    // Why the sound output cannot be used; empty when it can.
    std::string mAudioOutputFailure = "none is set up";
    bool mPlaying = false;
    // Counts the playings started and stopped, so that reports still queued
    // from an earlier one are known.
    unsigned mPlayback = 0;

    // A whole bank copied with Copy Bank.
    std::optional<TLBankSnapshot> mCopiedBank;
    // The bank the fields and the waveform show.
    int mShownBank = -1;
    // Where the played samples start in the bank: the selection's start.
    std::size_t mPlayOffset = 0;

    KTAudioInputDevice* mAudioInput = nullptr;
    KTAudioRecorder* mRecorder = nullptr;
    // Why the sound input cannot be used; empty when it can.
    std::string mAudioInputFailure = "none is set up";
    bool mRecording = false;
    // Counts the takes, so that reports of a cancelled one are passed over.
    unsigned mTake = 0;
    int mRecordingBank = 0;
    std::time_t mRecordingStarted = 0;
    // The take so far, for the waveform.
    std::vector<std::int16_t> mRecordedTake;

    // The transmission worker; joined before the bank store or the controller
    // goes away.
    std::thread mTransmissionThread;
    // The speed the worker sends at, fixed when it starts.
    unsigned mSendSpeed = 100;
    // Set when the worker is started, cleared by the worker as its last step.
    std::atomic<bool> mWorkerRunning{false};
    // Asks the worker to stop at its next poll (cancel, termination).
    std::atomic<bool> mStopRequested{false};
};
