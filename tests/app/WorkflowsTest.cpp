// The save, load and import workflows through the controller: which panel,
// question or alert each outcome gives, and what reaches the banks. What the
// disks and imported banks hold is tested against the domain core itself.

#include "ControllerFixture.h"
#include "device/TLDiskReader.h"
#include "device/TLDiskWriter.h"
#include "device/TLSampleImporter.h"
#include "tests/audio/AudioTestFolder.h"

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

    void run(void (OrvaneEditorController::*action)(void*), int bank, const std::string& answer)
    {
        mWindow.mTableView.userSelectsRow(bank);
        mApp.mPanelAnswers.push_back(answer);
        (mController.get()->*action)(nullptr);
    }

    std::string diskOf(const std::string& name, int bank, TLDiskShape shape)
    {
        orvane().setBankName(name.c_str(), bank);
        orvane().mSamples[bank].assign(TLOrvane::kSamplesPerBank, static_cast<std::int16_t>(bank + 100));
        EXPECT_TRUE(TLDiskWriter::save(orvane(), shape, bank, mFolder.path(name)));
        orvane().resetBank(bank);
        return mFolder.path(name);
    }

    AudioTestFolder mFolder;
};

} // namespace

TEST_F(Workflows, SavingWritesTheChosenShapeOrSaysItFailed)
{
    mWindow.mMatrix_SaveSendOption.mSelectedRow = 1;
    orvane().setBankName("Bells", 6);
    run(&OrvaneEditorController::save, 2, mFolder.path("all.mid"));
    mWindow.mMatrix_SaveSendOption.mSelectedRow = 0;
    run(&OrvaneEditorController::save, 2, mFolder.path("one.mid"));
    run(&OrvaneEditorController::save, 2, mFolder.path("missing/one.mid"));
    mApp.mPanelAnswers.push_back(std::nullopt);
    mController->save(nullptr);

    EXPECT_EQ(mApp.mPanels.size(), 4u);
    EXPECT_TRUE(mApp.mPanels[0].save);
    EXPECT_EQ(mApp.mPanels[0].title, "Save All Banks as Disk");
    const Alert failed{AlertStyle::Critical, "Save Failed", "The disk could not be saved.", "OK", "", ""};
    EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{failed});
    const TLDiskContents all = TLDiskReader::read(mFolder.path("all.mid"), orvane());
    EXPECT_EQ(all.shape(), TLDiskShape::AllBanks);
    EXPECT_EQ(all.bankTracks().size(), 7u);
    const TLDiskContents one = TLDiskReader::read(mFolder.path("one.mid"), orvane());
    EXPECT_EQ(one.shape(), TLDiskShape::OneBank);
    ASSERT_EQ(one.bankTracks().size(), 1u);
    EXPECT_EQ(one.bankTracks()[0]->detectedBank, 2);
}

TEST_F(Workflows, LoadingAsksBeforeABankDiskReplacesAnotherBank)
{
    const std::string bank5 = diskOf("Pad", 5, TLDiskShape::OneBank);
    const struct {
        int selected;
        int answer;
        int changedBank;
    } cases[] = {{5, 1, 5}, {1, 0, -1}, {1, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.selected * 10 + c.answer);
        for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
            orvane().resetBank(bank);
        mApp.mAlerts.clear();
        mApp.mAlertAnswers.assign(1, c.answer);
        const int beeps = mApp.mBeeps;
        const int reloads = mWindow.mTableView.mReloadCalls;
        run(&OrvaneEditorController::openDisk, c.selected, bank5);

        EXPECT_EQ(mApp.mPanels.back().title, "Open Disk");
        EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads + 1);
        if (c.selected != 5) {
            EXPECT_EQ(mApp.mBeeps, beeps + 1);
            const Alert question{AlertStyle::Critical, "Different Banks!",
                                 "The file contains data for bank: \"Bank 6\".\nDo you want to overwrite bank: \"Bank 2\"?",
                                 "YES", "NO", ""};
            EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{question});
        }
        for (int bank = 0; bank < TLOrvane::kBankCount; ++bank) {
            EXPECT_EQ(orvane().mBankNames[bank], bank == c.changedBank ? "Pad" : "Bank " + std::to_string(bank + 1));
            EXPECT_EQ(orvane().mSamples[bank][9] == 105, bank == c.changedBank) << bank;
        }
        if (c.changedBank >= 0) {
            EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Pad");
        }
    }
}

TEST_F(Workflows, LoadingAllBanksAndRefusingWhatHoldsNone)
{
    const std::string all = diskOf("Drums", 3, TLDiskShape::AllBanks);
    run(&OrvaneEditorController::openDisk, 0, all);
    EXPECT_EQ(orvane().mBankNames[3], "Drums");
    EXPECT_TRUE(mApp.mAlerts.empty());

    const std::string names = mFolder.path("names.mid");
    ASSERT_TRUE(TLDiskWriter::write(names, {{orvane().makeMetaEvent(3, 0)}}));
    run(&OrvaneEditorController::openDisk, 0, names);
    run(&OrvaneEditorController::openDisk, 0, mFolder.write("text.mid", Bytes{'M', 'T', 'h', 'x'}));
    EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{kWrongDisk});
    EXPECT_EQ(orvane().mBankNames[0], "Bank 1");
}

TEST_F(Workflows, ImportingNamesTheSampleOrSaysWhyNot)
{
    const std::string tone = mFolder.soxFromSamples("tone.wav", std::vector<std::int64_t>(100, 5000), 16, 1, 44100);
    const std::string floatWav = mFolder.path("float.wav");
    ASSERT_TRUE(mFolder.sox("-n -r 44100 -c 1 -e floating-point -b 32 " + floatWav + " synth 0.1 sine 300"));
    const struct {
        std::string path;
        std::vector<Alert> alerts;
        int beeps;
        std::string sampleName;
    } cases[] = {
        {floatWav, {kWrongAudio}, 0, "Sample 1 (in Bank 4)"},
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
        run(&OrvaneEditorController::openSample, 3, c.path);
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
        run(&OrvaneEditorController::openSample, 3, path);
        std::vector<std::int16_t> expected;
        TLSampleImporter::place(expected, TLSampleImporter::read(path, resampling).samples);
        EXPECT_EQ(orvane().mSamples[3], expected);
        mController->toggleHighQualityResampling(nullptr);
    }
    EXPECT_FALSE(mController->highQualityResampling());
}
