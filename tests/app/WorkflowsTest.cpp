// The save, load and import workflows through the controller: which panel,
// question or alert each outcome gives, and what reaches the banks; the banks
// as a document: unsaved changes, Save back in the disk's shape, undo steps,
// the status line and names cut short in messages. What the disks and imported
// banks hold is tested against the domain core itself.

#include "ControllerFixture.h"
#include "device/TLDiskReader.h"
#include "device/TLDiskWriter.h"
#include "device/TLSampleImporter.h"
#include "device/TLSoundOperations.h"
#include "device/TLWaveExport.h"
#include "tests/support/TestFolder.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using Alert = ApplicationPlatformDouble::Alert;
using AlertStyle = ApplicationPlatformDouble::AlertStyle;

const Alert kWrongDisk{AlertStyle::Critical, "Wrong File Format",
                       "This file contains no sound bank(s)\nfor a Tavel Orvane.", "OK", "", ""};
const Alert kWrongAudio{AlertStyle::Critical, "Wrong File Format",
                        "OrvaneEditor supports only pcm (no compression) formats (*.aif or *.wav).", "OK", "", ""};

class Workflows : public ControllerFixture {
protected:
    void SetUp() override { start(); }
    std::string status() const { return mWindow.mLabel_Status.mText; }

    std::string diskOf(const std::string& name, int bank, TLDiskShape shape)
    {
        orvane().setBankName(name.c_str(), bank);
        orvane().mSamples[bank].assign(TLOrvane::kSamplesPerBank, static_cast<std::int16_t>(bank + 100));
        EXPECT_TRUE(TLDiskWriter::save(orvane(), shape, bank, mFolder.path(name)));
        orvane().resetBank(bank);
        return mFolder.path(name);
    }

    TestFolder mFolder;
};

} // namespace

// The question names both banks; a long name is cut in the middle so that the
// closing quote shows.
TEST_F(Workflows, LoadingAsksBeforeABankDiskReplacesAnotherBank)
{
    const std::string bank5 = diskOf("Pad", 5, TLDiskShape::OneBank);
    const std::string longName = "\xC3\xA4" + std::string(149, 'a') + "<b>" + std::string(150, 'z');
    const struct {
        int selected, answer, changedBank;
        std::string name2, shown2;
    } cases[] = {{5, 1, 5, "Bank 2", ""}, {1, 0, -1, "Bank 2", "Bank 2"}, {1, 1, 1, "Bank 2", "Bank 2"},
                 {1, 0, -1, longName, "\xC3\xA4" + std::string(23, 'a') + "\u2026" + std::string(23, 'z')}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected * 10 + c.answer);
        start();
        orvane().setBankName(c.name2.c_str(), 1);
        mApp.mAlerts.clear();
        // A renamed bank 2 is an unsaved change: discarded first.
        mApp.mAlertAnswers.assign({-1, c.answer});
        if (c.name2 == "Bank 2")
            mApp.mAlertAnswers.pop_front();
        const int beeps = mApp.mBeeps;
        const int reloads = mWindow.mTableView.mReloadCalls;
        act(&OrvaneEditorController::openDisk, c.selected, bank5);

        EXPECT_EQ(mApp.mPanels.back().title, "Open Disk");
        EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads + 1);
        if (c.selected != 5) {
            EXPECT_EQ(mApp.mBeeps, beeps + 1);
            const Alert question{AlertStyle::Critical, "Different Banks!",
                                 "The file contains data for bank: \"Bank 6\".\nDo you want to overwrite bank: \"" +
                                     c.shown2 + "\"?",
                                 "YES", "NO", ""};
            EXPECT_EQ(mApp.mAlerts.back(), question);
        }
        for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
            const std::string kept = bank == 1 ? c.name2 : "Bank " + std::to_string(bank + 1);
            EXPECT_EQ(orvane().mBankNames[bank], bank == c.changedBank ? "Pad" : kept);
            EXPECT_EQ(orvane().mSamples[bank][9] == 105, bank == c.changedBank) << bank;
        }
        EXPECT_EQ(mWindow.mTextField_Bankname.mText, c.changedBank >= 0 ? "Pad" : c.name2);
        if (c.changedBank < 0) {
            EXPECT_EQ(status(), "Did not load Pad: the banks are as they were");
        }
    }
}

TEST_F(Workflows, ImportingNamesTheSampleOrSaysWhyNot)
{
    const std::string tone = mFolder.soxFromSamples("tone.wav", std::vector<std::int64_t>(100, 5000), 16, 1, 44100);
    const std::string ulawWav = mFolder.path("ulaw.wav");
    ASSERT_TRUE(mFolder.sox("-n -r 44100 -c 1 -e mu-law " + ulawWav + " synth 0.1 sine 300"));
    const struct {
        std::string path;
        std::vector<Alert> alerts;
        int beeps;
        std::string sampleName;
    } cases[] = {
        {ulawWav, {kWrongAudio}, 0, "Sample 1 (in Bank 4)"},
        {mFolder.path("gone.wav"), {}, 1, "Sample 1 (in Bank 4)"},
        {mFolder.write("empty.wav", {}), {{AlertStyle::Critical, "No Sound Data",
                                           "The file \"empty.wav\" holds no sound data.", "OK", "", ""}}, 0,
         "Sample 1 (in Bank 4)"},
        {tone, {}, 0, "tone.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        mApp.mAlerts.clear();
        const int beeps = mApp.mBeeps;
        act(&OrvaneEditorController::openSample, 3, c.path);
        EXPECT_EQ(mApp.mPanels.back().title, "Import Sample into Bank 4");
        EXPECT_EQ(mApp.mAlerts, c.alerts);
        EXPECT_EQ(mApp.mBeeps, beeps + c.beeps);
        EXPECT_EQ(orvane().mSampleNames[3][0], c.sampleName);
        EXPECT_EQ(mWindow.mTextField_Sample.mText, c.sampleName);
        EXPECT_EQ(orvane().mSamples[3][50] == 5000, c.sampleName == "tone.wav");
    }
}

TEST_F(Workflows, HighQualityResamplingIsRememberedAndUsedByImports)
{
    const std::string path = mFolder.path("tone48.wav");
    ASSERT_TRUE(mFolder.sox("-n -r 48000 -c 1 -b 16 " + path + " synth 0.5 sine 1000 vol 0.5"));
    EXPECT_FALSE(mController->highQualityResampling()) << "off for a new user";
    for (const auto resampling : {TLSampleImporter::Resampling::Linear, TLSampleImporter::Resampling::HighQuality}) {
        act(&OrvaneEditorController::openSample, 3, path);
        std::vector<std::int16_t> expected;
        TLSampleImporter::place(expected, TLSampleImporter::read(path, {resampling}).samples);
        EXPECT_EQ(orvane().mSamples[3], expected);
        mController->toggleHighQualityResampling(nullptr);
    }
    EXPECT_FALSE(mController->highQualityResampling());
}

TEST_F(Workflows, SaveWritesBackInTheShapeLastUsedOrSaysItFailedAndLoadIsOneUndoStep)
{
    act(&OrvaneEditorController::save, 2, mFolder.path("missing/one.mid"));
    act(&OrvaneEditorController::save, 2); // cancelled
    const Alert failed{AlertStyle::Critical, "Save Failed", "The disk could not be saved.\nNo such file or directory.",
                       "OK", "", ""};
    EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{failed});
    act(&OrvaneEditorController::save, 2, mFolder.path("Drums v1.2.mid"));
    EXPECT_TRUE(mApp.mPanels.back().save);
    EXPECT_EQ(mApp.mPanels.back().title, "Save Bank 3 as Disk");
    EXPECT_EQ(mApp.mPanels.back().suggestedName, "Bank 3.mid");
    EXPECT_EQ(status(), "Saved Bank 3 to Drums v1.2.mid");
    mWindow.mTextField_Bankname.userCommits("Snare");
    mController->saveDocument(nullptr);
    EXPECT_EQ(mApp.mPanels.size(), 3u) << "Save asks no name once the disk has one";
    act(&OrvaneEditorController::save, 2); // Save As, cancelled
    EXPECT_EQ(mApp.mPanels.back().suggestedName, "Drums v1.2.mid") << "the open disk, as it has this shape";
    const TLDiskContents disk = TLDiskReader::read(mFolder.path("Drums v1.2.mid"), orvane());
    EXPECT_EQ(disk.shape(), TLDiskShape::OneBank);
    ASSERT_EQ(disk.bankTracks().size(), 1u);
    EXPECT_EQ(disk.bankTracks()[0]->detectedBank, 2);

    mWindow.mMatrix_SaveSendOption.mSelectedRow = 1;
    act(&OrvaneEditorController::save, 0, mFolder.path("all.mid"));
    EXPECT_EQ(mApp.mPanels.back().title, "Save All Banks as Disk");
    EXPECT_EQ(status(), "Saved all banks to all.mid");
    EXPECT_EQ(TLDiskReader::read(mFolder.path("all.mid"), orvane()).shape(), TLDiskShape::AllBanks);
    for (int bank : {0, 3})
        orvane().resetBank(bank), orvane().setBankName("changed", bank);
    const std::size_t steps = mWindow.mUndoManager.mSteps.size();
    mApp.mAlertAnswers = {-1};
    act(&OrvaneEditorController::openDisk, 0, mFolder.path("all.mid"));
    EXPECT_EQ(status(), "Loaded 7 banks from all.mid");
    ASSERT_EQ(mWindow.mUndoManager.mSteps.size(), steps + 1);
    EXPECT_EQ(mWindow.mUndoManager.mSteps.back().after.size(), 2u) << "only the banks the load changed";
    mWindow.mUndoManager.undo();
    EXPECT_EQ(orvane().mBankNames[3], "changed");
    EXPECT_EQ(mWindow.mTableView.mRows[2], "Snare");

    // A disk with a foreign track: the undone load is an unsaved change, discarded.
    mApp.mAlertAnswers = {-1};
    ASSERT_TRUE(TLDiskWriter::write(mFolder.path("names.mid"), {{orvane().makeMetaEvent(3, 0)}}));
    act(&OrvaneEditorController::openDisk, 0, mFolder.path("names.mid"));
    EXPECT_EQ(status(), "No banks in names.mid");
    EXPECT_EQ(mApp.mAlerts.back(), kWrongDisk);
    EXPECT_EQ(mApp.mRecentDocuments, (std::vector<std::string>{mFolder.path("Drums v1.2.mid"),
                                                                mFolder.path("Drums v1.2.mid"), mFolder.path("all.mid"),
                                                                mFolder.path("all.mid")}));
}

TEST_F(Workflows, ImportReportsBothLengthsAndUndoRedoRestoresBankAndWaveform)
{
    const std::string tone = mFolder.soxFromSamples("tone.wav", std::vector<std::int64_t>(88200, 900), 16, 1, 44100);
    const std::vector<std::int16_t> before = orvane().mSamples[2];
    act(&OrvaneEditorController::openSample, 2, tone);
    EXPECT_EQ(status(), "Imported tone.wav into Bank 3 (1.49 s of the file's 2.00 s)");
    const std::vector<std::int16_t> imported = orvane().mSamples[2];
    EXPECT_EQ(mWindow.mWaveformView.mSamples, imported);
    ASSERT_EQ(mWindow.mUndoManager.mSteps.back().name, "Import Sample");
    mWindow.mUndoManager.undo();
    EXPECT_EQ(status(), "Undid Import Sample: Bank 3");
    EXPECT_EQ(orvane().mSamples[2], before);
    EXPECT_EQ(mWindow.mWaveformView.mSamples, before);
    EXPECT_NE(orvane().mSampleNames[2][0], "tone.wav");
    mWindow.mUndoManager.redo();
    EXPECT_EQ(mWindow.mWaveformView.mSamples, imported);

    act(&OrvaneEditorController::exportBankAsWave, 2, mFolder.path("out.wav"));
    EXPECT_EQ(mApp.mPanels.back().suggestedName, "Bank 3.wav");
    EXPECT_EQ(TestFolder::read(mFolder.path("out.wav")), TLWaveExport::bytes(imported));
    EXPECT_EQ(status(), "Exported Bank 3 to out.wav");
}

// Each sound operation works on the selection, or on the whole bank without
// one, as the core's operation does; the status says where and how many
// samples clipped; and it is one step, named after it and the bank, that undo
// and redo take back and forth.
TEST_F(Workflows, SoundOperationsAreOneStepOnTheSelectionOrTheWholeBank)
{
    using Bank = TLSoundOperations::Bank;
    using Operation = std::function<std::size_t(Bank&, TLSampleRange)>;
    using Controller = OrvaneEditorController;
    const auto counting = [](void (*operation)(Bank&, TLSampleRange)) {
        return Operation([operation](Bank& b, TLSampleRange r) { return operation(b, r), std::size_t{0}; });
    };
    const struct {
        void (Controller::*action)(void*);
        std::string name;
        std::optional<double> db;
        Operation operation;
    } rows[] = {
        {&Controller::crop, "Crop", {}, counting(TLSoundOperations::crop)},
        {&Controller::deleteSelection, "Delete", {}, counting(TLSoundOperations::erase)},
        {&Controller::silence, "Silence", {}, counting(TLSoundOperations::silence)},
        {&Controller::gain, "Gain", 24.0, [](Bank& b, TLSampleRange r) { return TLSoundOperations::gain(b, r, 24.0); }},
        {&Controller::normalize, "Normalize", -3.0,
         [](Bank& b, TLSampleRange r) { return TLSoundOperations::normalize(b, r, -3.0); }},
        {&Controller::fadeIn, "Fade In", {}, counting(TLSoundOperations::fadeIn)},
        {&Controller::fadeOut, "Fade Out", {}, counting(TLSoundOperations::fadeOut)},
        {&Controller::reverse, "Reverse", {}, counting(TLSoundOperations::reverse)},
        {&Controller::removeDcOffset, "Remove DC Offset", {}, counting(TLSoundOperations::removeDc)},
        {&Controller::trimSilence, "Trim Silence", {},
         [](Bank& b, TLSampleRange r) { return TLSoundOperations::trimLeadingSilence(b, r), std::size_t{0}; }},
    };
    Bank sound = orvane().mSamples[1];
    sound[20000] = 0; // trim silence has a quiet start in the selection
    std::size_t clippedInAll = 0;
    for (const auto& row : rows)
        for (const std::optional<TLSampleRange> range :
             {std::optional(TLSampleRange{20000, 50000}), std::optional<TLSampleRange>()}) {
            const bool selectionOnly = row.name == "Crop" || row.name == "Delete";
            if (selectionOnly && !range)
                continue;
            const std::string where = row.name + (range ? ", the selection" : ", the whole bank");
            orvane().mSamples[1] = sound;
            mWindow.mTableView.userSelectsRow(1);
            mWindow.mWaveformView.mSelection = range;
            const Bank before = sound;
            Bank expected = before;
            const std::size_t clipped = row.operation(expected, range.value_or(TLSampleRange::whole()));
            clippedInAll += clipped;
            if (row.db)
                mApp.mValueAnswers.push_back(row.db);
            (mController.get()->*row.action)(nullptr);
            EXPECT_EQ(orvane().mSamples[1], expected) << where;
            EXPECT_EQ(status(), row.name + " Bank 2, " + (range ? "the selection" : "the whole bank") +
                                    (clipped ? " (" + std::to_string(clipped) + " samples clipped)" : ""));
            ASSERT_NE(expected, before) << where << " changes the bank";
            ASSERT_EQ(mWindow.mUndoManager.mSteps.back().name, row.name + " Bank 2");
            mWindow.mUndoManager.undo();
            EXPECT_EQ(orvane().mSamples[1], before) << where;
            EXPECT_EQ(status(), "Undid " + row.name + " Bank 2: Bank 2");
            mWindow.mUndoManager.redo();
            EXPECT_EQ(orvane().mSamples[1], expected) << where;
            EXPECT_EQ(status(), "Redid " + row.name + " Bank 2: Bank 2");
        }
    EXPECT_GT(clippedInAll, 0u) << "a gain clipped";
}

// Within a second of a change the unsaved banks go into the editor's recovery
// file; an editor that ended without cleaning up (its controller gone without
// a quit) is offered at the next start. Recover puts its banks back, unsaved,
// as one step; Discard drops them; a save that leaves nothing unsaved, or the
// offer once answered, leaves no file behind.
TEST_F(Workflows, UnsavedBanksOutliveACrashAndComeBackOnRecover)
{
    namespace fs = std::filesystem;
    mRecoveryFolder = mFolder.path("recovery");
    const auto recoveryFiles = [this] {
        std::vector<fs::path> files;
        for (const fs::directory_entry& entry : fs::directory_iterator(mRecoveryFolder))
            if (entry.path().extension() == ".mid")
                files.push_back(entry.path());
        return files;
    };
    start();
    const std::string tone = mFolder.soxFromSamples("tone.wav", std::vector<std::int64_t>(30000, -4000), 16, 1, 44100);
    act(&OrvaneEditorController::openSample, 2, tone);
    EXPECT_EQ(status(), "Imported tone.wav into Bank 3 (0.68 s of the file's 0.68 s)");
    act(&OrvaneEditorController::openSample, 5, tone);
    const std::vector<std::int16_t> third = orvane().mSamples[2], sixth = orvane().mSamples[5];
    mApp.runMainQueue();
    ASSERT_EQ(recoveryFiles().size(), 1u) << "written once for both changes";
    EXPECT_LE(mApp.mDelays.back(), std::chrono::seconds(1));
    TLOrvane kept(mFactory.data());
    EXPECT_EQ(TLDiskReader::read(recoveryFiles()[0], kept).bankTracks().size(), 2u) << "the two unsaved banks";

    for (const int answer : {2, 1}) { // Discard after the first crash, Recover after the second
        if (answer == 1) {
            act(&OrvaneEditorController::openSample, 2, tone);
            act(&OrvaneEditorController::openSample, 5, tone);
            mApp.runMainQueue();
        }
        mApp.mAlertAnswers.push_back(answer);
        start(); // the last editor's controller is gone without a quit: a crash
        ASSERT_FALSE(mApp.mAlerts.empty());
        EXPECT_EQ(mApp.mAlerts.back().title, "Recover Unsaved Changes?");
        EXPECT_NE(mApp.mAlerts.back().message.find("without saving Bank 3 and Bank 6"), std::string::npos);
        EXPECT_EQ(orvane().mSamples[2] == third, answer == 1);
        // The offered file goes; the recovered banks are kept anew in this editor's own.
        EXPECT_EQ(recoveryFiles().size(), answer == 1 ? 1u : 0u);
    }
    EXPECT_EQ(orvane().mSamples[5], sixth);
    EXPECT_EQ(status(), "Recovered Bank 3 and Bank 6 as unsaved changes");
    EXPECT_TRUE(mWindow.mBankOverview.mUnsaved[2] && mWindow.mBankOverview.mUnsaved[5]);
    ASSERT_EQ(mWindow.mUndoManager.mSteps.size(), 1u);
    EXPECT_EQ(mWindow.mUndoManager.mSteps[0].name, "Recover Unsaved Changes");

    mWindow.mMatrix_SaveSendOption.mSelectedRow = 1; // all banks
    act(&OrvaneEditorController::saveDocument, 0, mFolder.path("all.mid"));
    mApp.runMainQueue();
    EXPECT_TRUE(recoveryFiles().empty()) << "nothing is unsaved";
}

// Save in the question on quitting saves into the open disk when it holds
// every unsaved bank (an all-banks disk, or the one bank of a one-bank disk);
// otherwise it asks for a disk of all banks. Either way the change is on disk.
TEST_F(Workflows, SavingOnQuitUsesTheOpenDiskOnlyWhenItHoldsEveryUnsavedBank)
{
    const struct {
        int scope, changed;
        bool asks;
    } cases[] = {{0, 2, false}, {0, 4, true}, {1, 4, false}};
    for (const auto& c : cases) {
        start();
        const std::string open = mFolder.path("open.mid"), named = mFolder.path("named.mid");
        mWindow.mMatrix_SaveSendOption.mSelectedRow = c.scope;
        act(&OrvaneEditorController::save, 2, open);
        mWindow.mTableView.userSelectsRow(c.changed);
        mWindow.mTextField_Bankname.userCommits("Changed");
        const std::size_t panels = mApp.mPanels.size();
        mApp.mAlertAnswers = {1};
        mApp.mPanelAnswers = {named};
        EXPECT_EQ(mController->applicationShouldTerminate(nullptr), 1) << c.changed;
        EXPECT_EQ(mApp.mPanels.size() - panels, c.asks ? 1u : 0u) << c.changed;
        TLOrvane saved(mFactory.data());
        const TLDiskContents disk = TLDiskReader::read(c.asks ? named : open, saved);
        ASSERT_EQ(disk.status, TLDiskContents::Status::Read);
        for (const TLDiskTrack* track : disk.bankTracks())
            saved.loadBank(track->events, track->detectedBank);
        EXPECT_EQ(saved.mBankNames[c.changed], "Changed") << c.changed;
        std::filesystem::remove(named);
    }
}

// Copy Bank and Paste Bank carry the sound and the names as one step that undo
// takes back; a selection pasted into a bank full of sound pushes its end out,
// and the status says how much was cut.
TEST_F(Workflows, BanksAndSelectionsArePastedAsOneStepAndWhatPassesTheEndIsCut)
{
    mWindow.mTableView.userSelectsRow(1);
    mWindow.mTextField_Bankname.userCommits("Copied");
    mController->copyBank(nullptr);
    EXPECT_EQ(status(), "Copied Bank 2 with its names");
    mWindow.mTableView.userSelectsRow(4);
    const std::vector<std::int16_t> before = orvane().mSamples[4];
    mController->pasteBank(nullptr);
    EXPECT_EQ(orvane().mSamples[4], orvane().mSamples[1]);
    EXPECT_EQ(orvane().mBankNames[4], "Copied");
    EXPECT_EQ(status(), "Pasted Bank 2 onto Bank 5");
    ASSERT_EQ(mWindow.mUndoManager.mSteps.back().name, "Paste Bank 5");
    mWindow.mUndoManager.undo();
    EXPECT_EQ(orvane().mSamples[4], before);
    EXPECT_EQ(orvane().mBankNames[4], "Bank 5");

    mWindow.mTableView.userSelectsRow(0);
    mWindow.mWaveformView.mSelection = TLSampleRange{1000, 5410};
    mController->copy(nullptr);
    EXPECT_EQ(status(), "Copied 0.10 s of Bank 1");
    std::vector<std::int16_t> expected = orvane().mSamples[0];
    const std::vector<std::int16_t> copied(expected.begin() + 1000, expected.begin() + 5410);
    TLSoundOperations::paste(expected, {100, 100}, copied);
    mWindow.mWaveformView.mSelection.reset();
    mWindow.mWaveformView.mCursor = 100;
    mController->paste(nullptr);
    EXPECT_EQ(orvane().mSamples[0], expected);
    EXPECT_EQ(status(), "Pasted 0.10 s; 0.10 s that passed the bank's end was cut");
}
