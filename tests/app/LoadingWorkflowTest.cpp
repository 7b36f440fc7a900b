// Loading disks through the controller: one-bank disks into their own and
// into another bank, all-banks disks, foreign and damaged files, and tracks
// that name banks the instrument does not have.

#include "ControllerFixture.h"
#include "midi/KTMidiFileWriter.h"
#include "tests/audio/AudioTestFolder.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using Alert = ApplicationPlatformDouble::Alert;
using AlertStyle = ApplicationPlatformDouble::AlertStyle;
using Tracks = std::vector<KTMidiEventList>;

constexpr int kOneBank = 0;
constexpr int kAllBanks = 1;

const Alert kWrongFileFormat{AlertStyle::Critical, "Wrong File Format",
                             "This file contains no sound bank(s)\nfor a Tavel Orvane.", "OK", "", ""};

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
    }

    // Writes the lists as the tracks of a disk.
    std::string writeDisk(const std::string& name, const Tracks& tracks)
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

TEST_F(LoadingWorkflow, AOneBankDiskOfAnotherBankBeepsAndAsks)
{
    makeDistinct(2, "Strings %s 50%");
    const std::string path = saveDisk("two.mid", kOneBank, 2);
    const std::vector<std::int16_t> diskSamples = orvane().mSamples[2];
    orvane().resetBank(2);
    orvane().setBankName("Drums %d", 5);
    const Snapshot before = snapshot();
    const Alert question{AlertStyle::Critical, "Different Banks!",
                         "The file contains data for bank: \"Bank 3\".\nDo you want to overwrite bank: \"Drums %d\"?",
                         "YES", "NO", ""};

    // No changes nothing, not even the fields.
    mWindow.mTableView.userSelectsRow(5);
    mWindow.mTextField_Bankname.mText = "typed";
    mApp.mAlertAnswers = {0, 1};
    mApp.mPanelAnswers.push_back(path);
    mController->openDisk(nullptr);
    EXPECT_EQ(mApp.mBeeps, 1);
    EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{question});
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "typed");

    // Yes loads the disk into the selected bank.
    load(path, 5);
    EXPECT_EQ(mApp.mBeeps, 2);
    EXPECT_EQ(mApp.mAlerts, std::vector<Alert>(2, question));
    EXPECT_EQ(orvane().mSamples[5], diskSamples);
    EXPECT_EQ(orvane().mBankNames[5], "Strings %s 50%");
    EXPECT_EQ(orvane().mSampleNames[5][0], "Strings %s 50% sample");
    EXPECT_EQ(orvane().mSamples[2], before.samples[2]);
    EXPECT_EQ(orvane().mBankNames[2], "Bank 3");
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Strings %s 50%");
    EXPECT_EQ(mWindow.mTableView.mRows.at(5), "Strings %s 50%");
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

    // A copy cut short in bank 3's sample data keeps the banks before the cut.
    std::filesystem::copy_file(path, mFolder.path("cut.mid"));
    std::filesystem::resize_file(mFolder.path("cut.mid"), std::filesystem::file_size(path) / 2);
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        orvane().resetBank(bank);
    load(mFolder.path("cut.mid"), 0);
    for (int bank = 0; bank < TLOrvane::kBankCount; ++bank)
        EXPECT_EQ(orvane().mBankNames[static_cast<std::size_t>(bank)],
                  bank < 3 ? "Disk " + std::to_string(bank) : "Bank " + std::to_string(bank + 1))
            << bank;
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

    EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{kWrongFileFormat});
    EXPECT_EQ(orvane().mBankNames[1], "Loaded first");
    EXPECT_EQ(orvane().mBankNames[3], "Must stay");
}

// Disks with no bank the instrument can take: a track without its bank header,
// bank numbers of 7 and above alone or after an empty track, a track of names
// only. A track without dump among good ones is passed over.
TEST_F(LoadingWorkflow, DisksWithoutALoadableBankAreRejectedAndChangeNothing)
{
    makeDistinct(2, "Other");
    KTMidiEventList headless = bankTrack(2);
    headless.erase(headless.begin() + 2); // the bank header message
    KTMidiEventList bankTen = bankTrack(2);
    bankTen.back()[2] = 0x40 | 9; // sample data "for bank 10"
    ASSERT_EQ(orvane().detectBank(bankTen), 9);
    KTMidiEventList bankSeven = bankTrack(2);
    bankSeven.back()[2] = 0x40 | 7;
    ASSERT_EQ(orvane().detectBank(bankSeven), 7);
    const KTMidiEventList namesOnly{orvane().makeMetaEvent(3, 1)};
    const Tracks disks[] = {{headless}, {bankTen}, {KTMidiEventList{}, bankTen}, {bankSeven}, {namesOnly}};
    orvane().resetBank(2);
    const Snapshot before = snapshot();

    int number = 0;
    for (const Tracks& tracks : disks) {
        SCOPED_TRACE(number);
        mApp.mAlerts.clear();
        load(writeDisk("disk" + std::to_string(number++) + ".mid", tracks), 2);
        EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{kWrongFileFormat});
        EXPECT_TRUE(snapshot() == before);
    }

    mApp.mAlerts.clear();
    makeDistinct(6, "Six");
    const KTMidiEventList six = bankTrack(6);
    orvane().resetBank(6);
    load(writeDisk("mixed.mid", {namesOnly, six, namesOnly}), 4);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(orvane().mBankNames[6], "Six");
}

// A text file named .mid, a folder, a missing file, a cancelled panel and a
// load while transmitting change and show nothing.
TEST_F(LoadingWorkflow, WhatIsNoDiskChangesAndShowsNothing)
{
    const std::string text = mFolder.write("notes.mid", Bytes{'h', 'e', 'l', 'l', 'o', '\n'});
    std::filesystem::create_directory(mFolder.path("folder.mid"));
    const Snapshot before = snapshot();
    mWindow.mTableView.userSelectsRow(3);
    mWindow.mTextField_Bankname.mText = "typed";

    for (const std::optional<std::string>& answer :
         {std::optional(text), std::optional(mFolder.path("folder.mid")), std::optional(mFolder.path("gone.mid")),
          std::optional<std::string>()}) {
        mApp.mPanelAnswers.push_back(answer);
        mController->openDisk(nullptr);
    }
    mController->mIdleState = false;
    mApp.mPanelAnswers.push_back(text);
    mController->openDisk(nullptr);

    EXPECT_EQ(mApp.mPanels.size(), 4u) << "nothing is asked while transmitting";
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(snapshot() == before);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "typed");
}

} // namespace
