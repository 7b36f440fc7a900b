#include "ControllerFixture.h"
#include "MenuItemDouble.h"

#include <string>

namespace {

class EditorCore : public ControllerFixture {
protected:
    void SetUp() override { start(); }

    bool menuEnabled(int tag) const { return mController->validateMenuItem(MenuItemDouble(tag)); }
};

TEST_F(EditorCore, StartsWithSevenDefaultRowsAndBankZeroInTheFields)
{
    EXPECT_EQ(mController->numberOfRowsInTableView(&mWindow.mTableView), 7);
    mWindow.mTableView.reloadData();
    ASSERT_EQ(mWindow.mTableView.mRows.size(), 7u);
    for (int row = 0; row < 7; ++row)
        EXPECT_EQ(mWindow.mTableView.mRows[static_cast<std::size_t>(row)], "Bank " + std::to_string(row + 1));
    EXPECT_EQ(mWindow.mTableView.selectedRow(), 0);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, orvane().mBankNames[0]);
    EXPECT_EQ(mWindow.mTextField_Sample.mText, orvane().mSampleNames[0][0]);
    EXPECT_TRUE(mController->mIdleState);
    EXPECT_TRUE(mController->isIdle());
}

TEST_F(EditorCore, EveryColumnShowsTheBankName)
{
    orvane().setBankName("Strings", 3);
    EXPECT_EQ(mController->tableViewObjectValueForTableColumnRow(&mWindow.mTableView, 0, 3), "Strings");
    EXPECT_EQ(mController->tableViewObjectValueForTableColumnRow(&mWindow.mTableView, 5, 3), "Strings");
}

TEST_F(EditorCore, SelectingARowFillsBothFieldsWithoutWritingBack)
{
    orvane().setSampleName("Kick", 4, 0);
    mWindow.mTextField_Bankname.mText = "typed but not committed";
    mWindow.mTableView.userSelectsRow(4);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Bank 5");
    EXPECT_EQ(mWindow.mTextField_Sample.mText, "Kick");
    EXPECT_EQ(orvane().mBankNames[0], "Bank 1");
}

TEST_F(EditorCore, CommittingABankNameRenamesTheSelectedBankAndReloadsTheTable)
{
    mWindow.mTableView.userSelectsRow(2);
    const int reloads = mWindow.mTableView.mReloadCalls;
    mWindow.mTextField_Bankname.userCommits("Choir \xC3\xA4h");
    EXPECT_EQ(orvane().mBankNames[2], "Choir \xC3\xA4h");
    EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads + 1);
    EXPECT_EQ(mWindow.mTableView.mRows.at(2), "Choir \xC3\xA4h");
    EXPECT_EQ(mWindow.mTableView.mRows.at(1), "Bank 2");
}

TEST_F(EditorCore, EmptyAndLongBankNamesAreStoredWhole)
{
    mWindow.mTextField_Bankname.userCommits("");
    EXPECT_EQ(orvane().mBankNames[0], "");
    EXPECT_EQ(mWindow.mTableView.mRows.at(0), "");

    const std::string longName(5000, 'x');
    mWindow.mTextField_Bankname.userCommits(longName);
    EXPECT_EQ(orvane().mBankNames[0], longName);
    EXPECT_EQ(mWindow.mTableView.mRows.at(0), longName);
}

TEST_F(EditorCore, CommittingASampleNameRenamesSlotZeroWithoutReloading)
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

TEST_F(EditorCore, ResetWhileIdleRestoresTheSelectedBank)
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
    EXPECT_EQ(mWindow.mTextField_Sample.mText, orvane().mSampleNames[1][0]);
    EXPECT_EQ(orvane().mSamples[1][10], mFactory[TLOrvane::kSamplesPerBank + 10]);
    EXPECT_EQ(orvane().mSamples[2][10], 4321) << "only the selected bank is reset";
}

TEST_F(EditorCore, ResetWhileTransmittingChangesNothing)
{
    mWindow.mTextField_Bankname.userCommits("Kept");
    orvane().mSamples[0][0] = 99;
    mController->mIdleState = false;
    const int reloads = mWindow.mTableView.mReloadCalls;

    mController->reset(nullptr);

    EXPECT_EQ(orvane().mBankNames[0], "Kept");
    EXPECT_EQ(orvane().mSamples[0][0], 99);
    EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Kept");
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(mApp.mAlerts.empty());
}

TEST_F(EditorCore, MenuValidationWithoutDestinations)
{
    ASSERT_FALSE(mWindow.mButton_Send.isEnabled());
    EXPECT_TRUE(menuEnabled(1));
    EXPECT_FALSE(menuEnabled(2));
    EXPECT_TRUE(menuEnabled(3));
    EXPECT_TRUE(menuEnabled(0));
    EXPECT_TRUE(menuEnabled(4));
    EXPECT_TRUE(menuEnabled(-1));

    mController->mIdleState = false;
    EXPECT_FALSE(menuEnabled(1));
    EXPECT_FALSE(menuEnabled(2));
    EXPECT_FALSE(menuEnabled(3));
    EXPECT_TRUE(menuEnabled(0));
    EXPECT_TRUE(menuEnabled(99));
}

TEST_F(EditorCore, MenuValidationWithDestinations)
{
    mMidi.mDestinations = {{"UM-ONE", "UM-ONE MIDI 1"}};
    mController->rescan(nullptr);
    ASSERT_TRUE(mWindow.mButton_Send.isEnabled());
    EXPECT_TRUE(menuEnabled(1));
    EXPECT_TRUE(menuEnabled(2));
    EXPECT_TRUE(menuEnabled(3));

    mController->mIdleState = false;
    EXPECT_FALSE(menuEnabled(1));
    EXPECT_FALSE(menuEnabled(2)) << "Send is disabled while transmitting even with destinations";
    EXPECT_FALSE(menuEnabled(3));
    EXPECT_TRUE(menuEnabled(7));

    mController->mIdleState = true;
    EXPECT_TRUE(menuEnabled(2));
}

TEST_F(EditorCore, AboutWindowIsCentredAndBroughtToFront)
{
    ASSERT_FALSE(mWindow.mWindow_About.isVisible());
    mController->orderFrontAboutWindow(nullptr);
    EXPECT_EQ(mWindow.mWindow_About.mCenterCalls, 1);
    EXPECT_TRUE(mWindow.mWindow_About.mVisible);
    EXPECT_TRUE(mWindow.mWindow_About.mIsKey);
}

TEST_F(EditorCore, RenamingIsNotGatedWhileTransmitting)
{
    mController->mIdleState = false;
    mWindow.mTextField_Bankname.userCommits("During");
    EXPECT_EQ(orvane().mBankNames[0], "During");
}

} // namespace
