// The banks as a document through the controller: unsaved changes, Save back in
// the disk's shape, undo steps, the status line, the remembered MIDI port and
// names cut short in messages.

#include "ControllerFixture.h"
#include "device/TLDiskReader.h"
#include "device/TLWaveExport.h"
#include "tests/audio/AudioTestFolder.h"

#include <string>
#include <vector>

namespace {

using Alert = ApplicationPlatformDouble::Alert;

class EditorDocument : public ControllerFixture {
protected:
    void SetUp() override { start(); }
    void act(void (OrvaneEditorController::*action)(void*), int bank, std::optional<std::string> answer = {})
    {
        mWindow.mTableView.userSelectsRow(bank);
        mApp.mPanelAnswers.push_back(answer);
        (mController.get()->*action)(nullptr);
    }
    std::string status() const { return mWindow.mLabel_Status.mText; }
    AudioTestFolder mFolder;
};

TEST_F(EditorDocument, QuitAsksSaveDiscardOrCancelOnlyWhileChangesAreUnsaved)
{
    const struct {
        std::vector<int> answers; // to the question, then to the next question
        std::optional<std::string> savePanel;
        int terminates;
        bool saved;
    } cases[] = {{{0}, {}, 0, false}, {{-1}, {}, 1, false}, {{1}, {}, 0, false}, {{1}, "kept.mid", 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers.front());
        start();
        EXPECT_EQ(mWindow.mWindow_Main.mTitle, "Untitled");
        mWindow.mTextField_Bankname.userCommits("Kick");
        mApp.mAlerts.clear();
        mApp.mAlertAnswers.assign(c.answers.begin(), c.answers.end());
        mApp.mPanelAnswers.assign(1, c.savePanel ? std::optional(mFolder.path(*c.savePanel)) : std::nullopt);
        EXPECT_EQ(mController->applicationShouldTerminate(nullptr), c.terminates);
        ASSERT_EQ(mApp.mAlerts.size(), 1u);
        EXPECT_EQ(mApp.mAlerts[0].title, "Unsaved Changes");
        EXPECT_EQ(mApp.mAlerts[0].otherButton, "Discard");
        EXPECT_EQ(mWindow.mWindow_Main.mTitle, c.saved ? "kept.mid" : "Untitled");
    }
    mApp.mAlerts.clear();
    EXPECT_EQ(mController->applicationShouldTerminate(nullptr), 1) << "saved: nothing to ask";
    EXPECT_TRUE(mApp.mAlerts.empty());
}

TEST_F(EditorDocument, SaveWritesBackInTheShapeLastUsedAndLoadIsOneUndoStep)
{
    act(&OrvaneEditorController::save, 2, mFolder.path("Drums v1.2.mid"));
    EXPECT_EQ(mApp.mPanels.back().title, "Save Bank 3 as Disk");
    EXPECT_EQ(mApp.mPanels.back().suggestedName, "Bank 3.mid");
    EXPECT_EQ(status(), "Saved Bank 3 to Drums v1.2.mid");
    mWindow.mTextField_Bankname.userCommits("Snare");
    mController->saveDocument(nullptr);
    EXPECT_EQ(mApp.mPanels.size(), 1u) << "Save asks no name once the disk has one";
    const TLDiskContents disk = TLDiskReader::read(mFolder.path("Drums v1.2.mid"), orvane());
    ASSERT_EQ(disk.bankTracks().size(), 1u);
    EXPECT_EQ(disk.bankTracks()[0]->detectedBank, 2);

    mWindow.mMatrix_SaveSendOption.mSelectedRow = 1;
    act(&OrvaneEditorController::save, 0, mFolder.path("all.mid"));
    EXPECT_EQ(status(), "Saved all banks to all.mid");
    for (int bank : {0, 3})
        orvane().resetBank(bank), orvane().setBankName("changed", bank);
    const std::size_t steps = mWindow.mUndoManager.mSteps.size();
    act(&OrvaneEditorController::openDisk, 0, mFolder.path("all.mid"));
    EXPECT_EQ(status(), "Loaded 7 banks from all.mid");
    ASSERT_EQ(mWindow.mUndoManager.mSteps.size(), steps + 1);
    EXPECT_EQ(mWindow.mUndoManager.mSteps.back().after.size(), 2u) << "only the banks the load changed";
    mWindow.mUndoManager.undo();
    EXPECT_EQ(orvane().mBankNames[3], "changed");
    EXPECT_EQ(mWindow.mTableView.mRows[2], "Snare");

    mApp.mAlertAnswers = {-1}; // the undone load is an unsaved change: discard it
    act(&OrvaneEditorController::openDisk, 0, mFolder.write("notes.mid", Bytes{'M', 'T', 'h', 'x'}));
    EXPECT_EQ(status(), "No banks in notes.mid");
    EXPECT_EQ(mApp.mRecentDocuments, (std::vector<std::string>{mFolder.path("Drums v1.2.mid"),
                                                                mFolder.path("Drums v1.2.mid"), mFolder.path("all.mid"),
                                                                mFolder.path("all.mid")}));
}

TEST_F(EditorDocument, ImportReportsBothLengthsAndUndoRedoRestoresBankAndWaveform)
{
    const std::string tone = mFolder.soxFromSamples("tone.wav", std::vector<std::int64_t>(88200, 900), 16, 1, 44100);
    const std::vector<std::int16_t> before = orvane().mSamples[2];
    act(&OrvaneEditorController::openSample, 2, tone);
    EXPECT_EQ(status(), "Imported tone.wav into Bank 3 (1.49 s of the file's 2.00 s)");
    const std::vector<std::int16_t> imported = orvane().mSamples[2];
    EXPECT_EQ(mWindow.mWaveformView.mSamples, imported);
    ASSERT_EQ(mWindow.mUndoManager.mSteps.back().name, "Import Sample");
    mWindow.mUndoManager.undo();
    EXPECT_EQ(orvane().mSamples[2], before);
    EXPECT_EQ(mWindow.mWaveformView.mSamples, before);
    EXPECT_NE(orvane().mSampleNames[2][0], "tone.wav");
    mWindow.mUndoManager.redo();
    EXPECT_EQ(mWindow.mWaveformView.mSamples, imported);

    act(&OrvaneEditorController::exportBankAsWave, 2, mFolder.path("out.wav"));
    EXPECT_EQ(mApp.mPanels.back().suggestedName, "Bank 3.wav");
    EXPECT_EQ(AudioTestFolder::read(mFolder.path("out.wav")), TLWaveExport::bytes(imported));
    EXPECT_EQ(status(), "Exported Bank 3 to out.wav");
}

TEST_F(EditorDocument, LongNamesAreCutInTheMiddleSoTheClosingQuoteShows)
{
    const std::string longName = std::string(150, 'a') + "<b>" + std::string(150, 'z');
    mWindow.mTableView.userSelectsRow(1);
    mWindow.mTextField_Bankname.userCommits(longName);
    orvane().setBankName("Pad", 5);
    ASSERT_TRUE(TLDiskWriter::save(orvane(), TLDiskShape::OneBank, 5, mFolder.path("pad.mid")));
    mApp.mAlertAnswers = {-1, 0}; // discard, then keep bank 2
    act(&OrvaneEditorController::openDisk, 1, mFolder.path("pad.mid"));
    ASSERT_EQ(mApp.mAlerts.size(), 2u);
    EXPECT_EQ(mApp.mAlerts[1].message, "The file contains data for bank: \"Pad\".\nDo you want to overwrite bank: \"" +
                                           std::string(24, 'a') + "\u2026" + std::string(23, 'z') + "\"?");
}

TEST_F(EditorDocument, PortListSelectsTheRememberedPortElseTheFirstThatIsNoThroughPort)
{
    const std::vector<KTRecordingMidiPlatform::Destination> ports = {
        {"Midi Through", "Midi Through Port-0"}, {"UM-ONE", "UM-ONE MIDI 1"}, {"Synth", "In"}};
    const struct {
        std::vector<KTRecordingMidiPlatform::Destination> destinations;
        std::string remembered;
        int selected;
    } cases[] = {{ports, "", 1}, {ports, "Synth: In", 2}, {ports, "Gone: Port", 1}, {{ports[0]}, "", 0}, {{}, "", 0}};
    for (const auto& c : cases) {
        mMidi.mDestinations = c.destinations;
        mApp.mUserDefaults["MidiPort"] = c.remembered;
        mController->rescan(nullptr);
        EXPECT_EQ(mWindow.mPopUp_MidiPort.indexOfSelectedItem(), c.selected) << c.remembered;
        EXPECT_EQ(mWindow.mButton_Send.mToolTip.starts_with("No MIDI output port found"), c.destinations.empty());
    }
    mMidi.mDestinations = ports;
    mController->rescan(nullptr);
    mWindow.mPopUp_MidiPort.selectItemAtIndex(0);
    mController->midiPortDidChange(nullptr);
    EXPECT_EQ(mApp.mUserDefaults["MidiPort"], "Midi Through: Midi Through Port-0") << "a port the user picks is kept";
}

} // namespace
