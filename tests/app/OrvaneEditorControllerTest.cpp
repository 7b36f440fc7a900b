#include "ControllerFixture.h"

#include <string>

namespace {

class EditorCore : public ControllerFixture {
protected:
    void SetUp() override { start(); }
};

TEST_F(EditorCore, StartsWithSevenDefaultRowsAndBankZeroInTheFields)
{
    ASSERT_EQ(mMidi.calls("clientCreate:MidiInterfaceTest").size(), 1u);
    EXPECT_EQ(orvane().mSamples[6][5], mFactory[6 * TLOrvane::kSamplesPerBank + 5]);
    EXPECT_EQ(mWindow.mWindow_Main.mCenterCalls, 1);
    mWindow.mTableView.reloadData();
    ASSERT_EQ(mWindow.mTableView.mRows.size(), 7u);
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(mWindow.mTableView.mRows[static_cast<std::size_t>(row)], "Bank " + std::to_string(row + 1));
    orvane().setBankName("Strings", 3);
    EXPECT_EQ(mController->tableViewObjectValueForTableColumnRow(&mWindow.mTableView, 5, 3), "Strings");
    EXPECT_EQ(mWindow.mTableView.selectedRow(), 0);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Bank 1");
    EXPECT_EQ(mWindow.mTextField_Sample.mText, "Sample 1 (in Bank 1)");
    EXPECT_TRUE(mController->mIdleState);
    EXPECT_TRUE(mController->isIdle());
}

TEST_F(EditorCore, CommittedBankNamesRenameTheSelectedBankAndReloadTheTable)
{
    mWindow.mTextField_Bankname.mText = "typed but not committed";
    mWindow.mTableView.userSelectsRow(2);
    EXPECT_EQ(orvane().mBankNames[0], "Bank 1") << "selecting a row writes nothing back";
    for (const std::string& name : {std::string("Choir \xC3\xA4h"), std::string(), std::string(5000, 'x')}) {
        const int reloads = mWindow.mTableView.mReloadCalls;
        mWindow.mTextField_Bankname.userCommits(name);
        EXPECT_EQ(orvane().mBankNames[2], name);
        EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads + 1);
        EXPECT_EQ(mWindow.mTableView.mRows.at(2), name);
        EXPECT_EQ(mWindow.mTableView.mRows.at(1), "Bank 2");
    }
}

TEST_F(EditorCore, CommittedSampleNamesRenameSlotZeroWithoutReloading)
{
    mWindow.mTableView.userSelectsRow(6);
    const int reloads = mWindow.mTableView.mReloadCalls;
    mWindow.mTextField_Sample.userCommits("Snare 2");
    EXPECT_EQ(orvane().mSampleNames[6][0], "Snare 2");
    EXPECT_EQ(orvane().mSampleNames[6][1], "Sample 2 (in Bank 7)");
    EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads);

    mWindow.mTableView.userSelectsRow(0);
    mWindow.mTableView.userSelectsRow(6);
    EXPECT_EQ(mWindow.mTextField_Sample.mText, "Snare 2");
    mWindow.mTextField_Sample.userCommits("");
    EXPECT_EQ(orvane().mSampleNames[6][0], "");
}

TEST_F(EditorCore, ResetWhileIdleRestoresOnlyTheSelectedBank)
{
    mWindow.mTableView.userSelectsRow(1);
    mWindow.mTextField_Bankname.userCommits("Mine");
    mWindow.mTextField_Sample.userCommits("Mine too");
    orvane().mSamples[1][10] = 1234;
    orvane().mSamples[2][10] = 4321;

    mController->reset(nullptr);

    EXPECT_EQ(orvane().mBankNames[1], "Bank 2");
    EXPECT_EQ(mWindow.mTableView.mRows.at(1), "Bank 2");
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Bank 2");
    EXPECT_EQ(mWindow.mTextField_Sample.mText, "Sample 1 (in Bank 2)");
    EXPECT_EQ(orvane().mSamples[1][10], mFactory[TLOrvane::kSamplesPerBank + 10]);
    EXPECT_EQ(orvane().mSamples[2][10], 4321);
}

TEST_F(EditorCore, ResetWhileTransmittingChangesNothingButRenamingStillWorks)
{
    orvane().mSamples[0][0] = 99;
    mController->mIdleState = false;
    mWindow.mTextField_Bankname.userCommits("During");
    EXPECT_EQ(orvane().mBankNames[0], "During");
    const int reloads = mWindow.mTableView.mReloadCalls;

    mController->reset(nullptr);

    EXPECT_EQ(orvane().mBankNames[0], "During");
    EXPECT_EQ(orvane().mSamples[0][0], 99);
    EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads);
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(mApp.mAlerts.empty());
}

// Tags 1, 2 and 3 follow the state and the destinations; others are always
// enabled.
TEST_F(EditorCore, MenuValidationByTagStateAndDestinations)
{
    const struct {
        bool destinations, idle, tag1, tag2, tag3;
    } cases[] = {
        {false, true, true, false, true},
        {false, false, false, false, false},
        {true, true, true, true, true},
        {true, false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "destinations " << c.destinations << ", idle " << c.idle);
        mMidi.mDestinations.clear();
        if (c.destinations)
            mMidi.mDestinations = {{"UM-ONE", "UM-ONE MIDI 1"}};
        mController->mIdleState = c.idle;
        mController->rescan(nullptr);
        EXPECT_EQ(mController->mIdleState, c.idle) << "a scan leaves the state alone";
        EXPECT_EQ(mWindow.mButton_Send.isEnabled(), c.destinations);
        const auto enabled = [&](int tag) { return mController->validateMenuItem(MenuItemDouble(tag)); };
        EXPECT_EQ(enabled(1), c.tag1);
        EXPECT_EQ(enabled(2), c.tag2);
        EXPECT_EQ(enabled(3), c.tag3);
        for (int tag : {0, 4, -1, 99})
            EXPECT_TRUE(enabled(tag)) << tag;
    }
}

} // namespace
