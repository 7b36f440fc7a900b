#include "ControllerFixture.h"

#include <string>
#include <thread>

namespace {

class Lifecycle : public ControllerFixture {};

TEST_F(Lifecycle, InitCreatesTheClientAndTheFactoryBanks)
{
    OrvaneEditorController controller(mApp, mMidi, mClock, mFactory.data());
    EXPECT_EQ(controller.mOrvane, nullptr);
    ASSERT_EQ(controller.init(), &controller);
    ASSERT_EQ(mMidi.mClientNames.size(), 1u);
    EXPECT_EQ(mMidi.mClientNames[0], "MidiInterfaceTest");
    EXPECT_TRUE(mMidi.mClientExists);
    EXPECT_EQ(controller.mDestinations, 0);
    EXPECT_TRUE(controller.mIdleState);
    ASSERT_NE(controller.mOrvane, nullptr);
    EXPECT_EQ(controller.mOrvane->mSamples[6][5], mFactory[6 * TLOrvane::kSamplesPerBank + 5]);
    EXPECT_EQ(controller.mAudioFileReader, nullptr);
    EXPECT_EQ(controller.mMidiFileWriter, nullptr);
    EXPECT_EQ(controller.mMidiFileReader, nullptr);
}

TEST_F(Lifecycle, AwakeFromNibCentresTheMainWindow)
{
    start();
    EXPECT_EQ(mWindow.mWindow_Main.mCenterCalls, 1);
}

TEST_F(Lifecycle, VersionLinesComeFromTheInformationDictionary)
{
    mApp.mInfoDictionary = {{"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", "57"}};
    start();
    EXPECT_EQ(mWindow.mLabel_VersionString_MainWindow.mText, "Version 2.1");
    EXPECT_EQ(mWindow.mLabel_VersionString_AboutWindow.mText, "Version 2.1 (57)");
}

TEST_F(Lifecycle, NoDestinationsGiveTheSingleNoPortsItemAndDisableSend)
{
    start();
    EXPECT_EQ(mController->mDestinations, 0);
    ASSERT_EQ(mWindow.mPopUp_MidiPort.mItems, std::vector<std::string>{"no output ports detected"});
    EXPECT_EQ(mWindow.mPopUp_MidiPort.indexOfSelectedItem(), 0);
    EXPECT_FALSE(mWindow.mButton_Send.isEnabled());
}

TEST_F(Lifecycle, ThreeDestinationsAreListedInOrderWithTheFirstSelected)
{
    mMidi.mDestinations = {{"UM-ONE", "UM-ONE MIDI 1"}, {"Midi Through", "Midi Through Port-0"},
                           {"Orvane", "Orvane MIDI In"}};
    start();
    EXPECT_EQ(mController->mDestinations, 3);
    const std::vector<std::string> expected{"UM-ONE: UM-ONE MIDI 1", "Midi Through: Midi Through Port-0",
                                            "Orvane: Orvane MIDI In"};
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, expected);
    EXPECT_EQ(mWindow.mPopUp_MidiPort.indexOfSelectedItem(), 0);
    EXPECT_TRUE(mWindow.mButton_Send.isEnabled());
}

TEST_F(Lifecycle, DuplicateDestinationNamesStayDistinct)
{
    mMidi.mDestinations = {{"UM-ONE", "Port"}, {"UM-ONE", "Port"}, {"Other", "Port"}, {"UM-ONE", "Port"}};
    start();
    const std::vector<std::string> expected{"UM-ONE: Port", "UM-ONE: Port (2)", "Other: Port", "UM-ONE: Port (3)"};
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, expected);
}

TEST_F(Lifecycle, SetupChangeBeepsAlertsOnTheMainThreadAndRescans)
{
    mMidi.mDestinations = {{"A", "1"}, {"B", "2"}, {"C", "3"}};
    start();
    mWindow.mPopUp_MidiPort.selectItemAtIndex(2);
    mMidi.mDestinations = {{"B", "2"}, {"C", "3"}};

    // The platform calls from its own thread; nothing may happen there.
    std::thread platformThread([this] { mMidi.notify(KTMidiPlatform::kSetupChanged); });
    platformThread.join();
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems.size(), 3u);

    // While the alert waits for the user the list is not rebuilt yet.
    std::size_t itemsDuringAlert = 0;
    mApp.mOnAlert = [&](const ApplicationPlatformDouble::Alert&) { itemsDuringAlert = mWindow.mPopUp_MidiPort.mItems.size(); };
    EXPECT_EQ(mApp.runMainQueue(), 1);

    EXPECT_EQ(mApp.mBeeps, 1);
    ASSERT_EQ(mApp.mAlerts.size(), 1u);
    const auto& alert = mApp.mAlerts[0];
    EXPECT_EQ(alert.style, ApplicationPlatformDouble::AlertStyle::Informational);
    EXPECT_EQ(alert.title, "MIDI Environment did change!");
    EXPECT_EQ(alert.message, "");
    EXPECT_EQ(alert.defaultButton, "OK");
    EXPECT_EQ(alert.alternateButton, "");
    EXPECT_EQ(alert.otherButton, "");
    EXPECT_EQ(itemsDuringAlert, 3u);

    EXPECT_EQ(mController->mDestinations, 2);
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, (std::vector<std::string>{"B: 2", "C: 3"}));
    EXPECT_EQ(mWindow.mPopUp_MidiPort.indexOfSelectedItem(), 0) << "the previous choice is not kept";
}

TEST_F(Lifecycle, LosingTheLastDestinationDisablesSend)
{
    mMidi.mDestinations = {{"A", "1"}};
    start();
    ASSERT_TRUE(mWindow.mButton_Send.isEnabled());
    mMidi.mDestinations.clear();
    mMidi.notify(KTMidiPlatform::kSetupChanged);
    mApp.runMainQueue();
    EXPECT_FALSE(mWindow.mButton_Send.isEnabled());
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, std::vector<std::string>{"no output ports detected"});
}

TEST_F(Lifecycle, OtherNotificationsAreIgnored)
{
    start();
    mMidi.mDestinations = {{"A", "1"}};
    for (std::int32_t id : {0, 2, 3, 4, -1})
        mMidi.notify(id);
    mApp.runMainQueue();
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(mController->mDestinations, 0);
}

TEST_F(Lifecycle, ScanDoesNotChangeTheState)
{
    mMidi.mDestinations = {{"A", "1"}};
    start();
    mController->mIdleState = false;
    mController->rescan(nullptr);
    EXPECT_FALSE(mController->mIdleState);
}

TEST_F(Lifecycle, FailedClientCreationLeavesNoDestinations)
{
    mMidi.mClientCreateSucceeds = false;
    start();
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, std::vector<std::string>{"no output ports detected"});
    EXPECT_EQ(mController->applicationShouldTerminate(nullptr), 1);
    EXPECT_EQ(mMidi.mClientDisposals, 0) << "a client that was never created is not disposed";
}

TEST_F(Lifecycle, TerminationDisposesTheClientAndTheBanksWithoutAsking)
{
    start();
    mWindow.mTextField_Bankname.userCommits("unsaved");
    EXPECT_EQ(mController->applicationShouldTerminate(nullptr), 1);
    EXPECT_EQ(mMidi.mClientDisposals, 1);
    EXPECT_FALSE(mMidi.mClientExists);
    EXPECT_EQ(mController->mOrvane, nullptr);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_TRUE(mApp.mPanels.empty());
    // A late repaint after termination finds no bank store and shows nothing.
    EXPECT_EQ(mController->tableViewObjectValueForTableColumnRow(&mWindow.mTableView, 0, 0), "");
}

} // namespace
