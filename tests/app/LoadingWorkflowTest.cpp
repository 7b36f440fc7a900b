// Loading disks through the controller: one-bank disks into their own and
// into another bank, all-banks disks, foreign and damaged files, and tracks
// that name banks the instrument does not have.

#include "ControllerFixture.h"
#include "midi/KTMidiFileWriter.h"
#include "tests/audio/AudioTestFolder.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

using Alert = ApplicationPlatformDouble::Alert;
using AlertStyle = ApplicationPlatformDouble::AlertStyle;

constexpr int kOneBank = 0;
constexpr int kAllBanks = 1;
constexpr int kYes = 1;
constexpr int kNo = 0;

class LoadingWorkflow : public ControllerFixture {
protected:
    void SetUp() override { start(); }

    // Gives the bank content that differs from the factory image.
    void makeDistinct(int bank, const std::string& name)
    {
        auto& samples = orvane().mSamples[static_cast<std::size_t>(bank)];
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = static_cast<std::int16_t>((i * 31 + static_cast<std::size_t>(bank) * 1000) % 65536);
        orvane().setBankName(name.c_str(), bank);
        orvane().setSampleName((name + " sample").c_str(), bank, 0);
    }

    std::string saveDisk(const std::string& name, int scope, int bank)
    {
        const std::string path = mFolder.path(name);
        mWindow.mMatrix_SaveSendOption.mSelectedRow = scope;
        mWindow.mTableView.userSelectsRow(bank);
        mApp.mPanelAnswers.push_back(path);
        mController->save(nullptr);
        EXPECT_TRUE(mApp.mAlerts.empty());
        return path;
    }

    void load(const std::string& path, int selectedBank)
    {
        mWindow.mTableView.userSelectsRow(selectedBank);
        mApp.mPanelAnswers.push_back(path);
        mController->openDisk(nullptr);
        EXPECT_EQ(mController->mMidiFileReader, nullptr);
    }

    void expectWrongFileFormat()
    {
        ASSERT_EQ(mApp.mAlerts.size(), 1u);
        const Alert& alert = mApp.mAlerts[0];
        EXPECT_EQ(alert.style, AlertStyle::Critical);
        EXPECT_EQ(alert.title, "Wrong File Format");
        EXPECT_EQ(alert.message, "This file contains no sound bank(s)\nfor a Tavel Orvane.");
        EXPECT_EQ(alert.defaultButton, "OK");
        EXPECT_EQ(alert.alternateButton, "");
    }

    // Writes the lists as the tracks of a disk.
    std::string writeDisk(const std::string& name, const std::vector<KTMidiEventList>& tracks)
    {
        const std::string path = mFolder.path(name);
        KTMidiFileWriter writer(path.c_str(), 24, 120);
        for (const KTMidiEventList& track : tracks)
            writer.writeTrack(track, true);
        EXPECT_TRUE(writer.finish());
        return path;
    }

    KTMidiEventList bankTrack(int bank)
    {
        KTMidiEventList events{orvane().makeMetaEvent(3, bank), orvane().makeMetaEvent(127, bank)};
        for (const KTMidiEvent& event : orvane().makeSampleDump(bank, 0))
            events.push_back(event);
        return events;
    }

    // A copy of everything the banks hold.
    struct Snapshot {
        std::vector<std::vector<std::int16_t>> samples;
        std::vector<std::string> bankNames;
        std::vector<std::vector<std::string>> sampleNames;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() { return {orvane().mSamples, orvane().mBankNames, orvane().mSampleNames}; }

    AudioTestFolder mFolder;
};

TEST_F(LoadingWorkflow, AOneBankDiskLoadsIntoItsOwnBankWithoutAQuestion)
{
    makeDistinct(2, "Pad 100%");
    const std::string path = saveDisk("two.mid", kOneBank, 2);
    const Snapshot saved = snapshot();
    orvane().resetBank(2);
    const int reloads = mWindow.mTableView.mReloadCalls;

    load(path, 2);

    ASSERT_EQ(mApp.mPanels.size(), 2u);
    EXPECT_FALSE(mApp.mPanels[1].save);
    EXPECT_EQ(mApp.mPanels[1].allowedFileTypes, std::vector<std::string>{"mid"});
    EXPECT_FALSE(mApp.mPanels[1].allowsMultipleSelection);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(snapshot() == saved);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Pad 100%");
    EXPECT_EQ(mWindow.mTextField_Sample.mText, "Pad 100% sample");
    EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads + 1);
    EXPECT_EQ(mWindow.mTableView.mRows.at(2), "Pad 100%");
}

TEST_F(LoadingWorkflow, AOneBankDiskOfAnotherBankAsksAndYesLoadsIntoTheSelectedBank)
{
    makeDistinct(2, "Strings %s 50%");
    const std::string path = saveDisk("two.mid", kOneBank, 2);
    const std::vector<std::int16_t> diskSamples = orvane().mSamples[2];
    orvane().resetBank(2);
    orvane().setBankName("Drums %d", 5);
    const Snapshot before = snapshot();

    mApp.mAlertAnswers.push_back(kYes);
    load(path, 5);

    EXPECT_EQ(mApp.mBeeps, 1);
    ASSERT_EQ(mApp.mAlerts.size(), 1u);
    const Alert& alert = mApp.mAlerts[0];
    EXPECT_EQ(alert.style, AlertStyle::Critical);
    EXPECT_EQ(alert.title, "Different Banks!");
    EXPECT_EQ(alert.message, "The file contains data for bank: \"Bank 3\".\nDo you want to overwrite bank: \"Drums %d\"?");
    EXPECT_EQ(alert.defaultButton, "YES");
    EXPECT_EQ(alert.alternateButton, "NO");

    EXPECT_EQ(orvane().mSamples[5], diskSamples);
    EXPECT_EQ(orvane().mBankNames[5], "Strings %s 50%");
    EXPECT_EQ(orvane().mSampleNames[5][0], "Strings %s 50% sample");
    EXPECT_EQ(orvane().mSamples[2], before.samples[2]);
    EXPECT_EQ(orvane().mBankNames[2], "Bank 3");
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Strings %s 50%");
    EXPECT_EQ(mWindow.mTableView.mRows.at(5), "Strings %s 50%");
}

TEST_F(LoadingWorkflow, AnsweringNoChangesNothingAndRefreshesNoField)
{
    makeDistinct(2, "Choir");
    const std::string path = saveDisk("two.mid", kOneBank, 2);
    orvane().resetBank(2);
    const Snapshot before = snapshot();
    mWindow.mTableView.userSelectsRow(5);
    mWindow.mTextField_Bankname.mText = "typed";

    mApp.mAlertAnswers.push_back(kNo);
    mApp.mPanelAnswers.push_back(path);
    mController->openDisk(nullptr);

    EXPECT_EQ(mApp.mBeeps, 1);
    ASSERT_EQ(mApp.mAlerts.size(), 1u);
    EXPECT_EQ(mApp.mAlerts[0].message,
              "The file contains data for bank: \"Bank 3\".\nDo you want to overwrite bank: \"Bank 6\"?");
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "typed");
    EXPECT_EQ(mController->mMidiFileReader, nullptr);
}

TEST_F(LoadingWorkflow, AnAllBanksDiskLoadsEveryBankWhateverIsSelected)
{
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        makeDistinct(bank, "Disk " + std::to_string(bank));
    const std::string path = saveDisk("all.mid", kAllBanks, 0);
    const Snapshot saved = snapshot();
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        orvane().resetBank(bank);

    load(path, 4);

    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(snapshot() == saved);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Disk 4");
    EXPECT_EQ(mWindow.mTextField_Sample.mText, "Disk 4 sample");
    ASSERT_EQ(mWindow.mTableView.mRows.size(), 7u);
    EXPECT_EQ(mWindow.mTableView.mRows[6], "Disk 6");
}

TEST_F(LoadingWorkflow, ForeignSystemExclusiveStopsWithTheAlertKeepingEarlierBanks)
{
    makeDistinct(1, "Loaded first");
    const KTMidiEventList good = bankTrack(1);
    orvane().resetBank(1);
    const KTMidiEventList foreign{KTMidiEvent{0xF0, 0x43, 0x10, 0x4C, 0x00, 0xF7}};
    const std::string path = writeDisk("foreign.mid", {KTMidiEventList{}, good, foreign, bankTrack(3)});
    orvane().setBankName("Must stay", 3);

    load(path, 0);

    expectWrongFileFormat();
    EXPECT_EQ(orvane().mBankNames[1], "Loaded first");
    EXPECT_EQ(orvane().mBankNames[3], "Must stay");
}

TEST_F(LoadingWorkflow, ADiskWhoseFirstMessageIsNoBankHeaderChangesNothing)
{
    KTMidiEventList track = bankTrack(2);
    track.erase(track.begin() + 2);   // the bank header message
    orvane().setBankName("Other", 2);
    const std::string path = writeDisk("headless.mid", {track});
    orvane().resetBank(2);
    const Snapshot before = snapshot();

    load(path, 2);

    expectWrongFileFormat();
    EXPECT_TRUE(snapshot() == before);
}

TEST_F(LoadingWorkflow, ATextFileNamedMidChangesAndShowsNothing)
{
    const std::string path = mFolder.write("notes.mid", Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    const Snapshot before = snapshot();
    mWindow.mTableView.userSelectsRow(3);
    mWindow.mTextField_Bankname.mText = "typed";

    mApp.mPanelAnswers.push_back(path);
    mController->openDisk(nullptr);

    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "typed");
}

TEST_F(LoadingWorkflow, BanksSevenAndAboveAreRejectedInAnyFile)
{
    KTMidiEventList track = bankTrack(2);
    track.back()[2] = 0x40 | 9;   // sample data "for bank 10"
    ASSERT_EQ(orvane().detectBank(track), 9);
    const Snapshot before = snapshot();

    for (const auto& [name, tracks] : std::vector<std::pair<std::string, std::vector<KTMidiEventList>>>{
             {"single.mid", {track}}, {"several.mid", {KTMidiEventList{}, track}}}) {
        SCOPED_TRACE(name);
        mApp.mAlerts.clear();
        load(writeDisk(name, tracks), 2);
        expectWrongFileFormat();
        EXPECT_TRUE(snapshot() == before);
    }
}

TEST_F(LoadingWorkflow, ATrackWithoutDumpIsRejectedAloneAndPassedOverAmongOthers)
{
    const KTMidiEventList namesOnly{orvane().makeMetaEvent(3, 1)};
    const Snapshot before = snapshot();
    load(writeDisk("names.mid", {namesOnly}), 4);
    expectWrongFileFormat();
    EXPECT_TRUE(snapshot() == before);

    mApp.mAlerts.clear();
    makeDistinct(6, "Six");
    const KTMidiEventList six = bankTrack(6);
    orvane().resetBank(6);
    load(writeDisk("mixed.mid", {namesOnly, six, namesOnly}), 4);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(orvane().mBankNames[6], "Six");
}

TEST_F(LoadingWorkflow, ADiskCutShortKeepsTheBanksBeforeTheCut)
{
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        makeDistinct(bank, "Cut " + std::to_string(bank));
    const std::string path = saveDisk("cut.mid", kAllBanks, 0);
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        orvane().resetBank(bank);
    // Ends in the middle of bank 3's sample data.
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);

    load(path, 0);

    for (int bank = 0; bank < 3; ++bank)
        EXPECT_EQ(orvane().mBankNames[static_cast<std::size_t>(bank)], "Cut " + std::to_string(bank));
    for (int bank = 4; bank < TLOrvane::kBankCount; ++bank)
        EXPECT_EQ(orvane().mBankNames[static_cast<std::size_t>(bank)], "Bank " + std::to_string(bank + 1));
}

TEST_F(LoadingWorkflow, NothingIsAskedWhileTransmittingOrAfterACancelledPanel)
{
    const Snapshot before = snapshot();
    mController->mIdleState = false;
    mApp.mPanelAnswers.push_back(mFolder.path("x.mid"));
    mController->openDisk(nullptr);
    EXPECT_TRUE(mApp.mPanels.empty());

    mController->mIdleState = true;
    mApp.mPanelAnswers.clear();
    mApp.mPanelAnswers.push_back(std::nullopt);
    mController->openDisk(nullptr);
    EXPECT_EQ(mApp.mPanels.size(), 1u);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_TRUE(snapshot() == before);
}

TEST_F(LoadingWorkflow, AFolderOrMissingFileIsNoDisk)
{
    std::filesystem::create_directory(mFolder.path("folder.mid"));
    const Snapshot before = snapshot();
    load(mFolder.path("folder.mid"), 0);
    load(mFolder.path("gone.mid"), 0);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_TRUE(snapshot() == before);
}

} // namespace
