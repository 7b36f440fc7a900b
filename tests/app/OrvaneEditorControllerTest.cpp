#include "ControllerFixture.h"

#include <string>
#include <thread>

namespace {

using Alert = ApplicationPlatformDouble::Alert;
using Items = std::vector<std::string>;

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
    EXPECT_EQ(mWindow.mTableView.mRows.size(), 7u); // their names: the Qt table test
    orvane().setBankName("Strings", 3);
    const auto shown = [&](int row) { return mController->tableViewObjectValueForTableColumnRow(nullptr, 5, row); };
    EXPECT_EQ(shown(3) + shown(7) + shown(-1), "Strings") << "rows past the banks show nothing";
    EXPECT_EQ(mWindow.mTableView.selectedRow(), 0);
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Bank 1");
    EXPECT_EQ(mWindow.mTextField_Sample.mText, "Sample 1 (in Bank 1)");
}

// A bank name is shown in the table, so only it reloads the table.
TEST_F(EditorCore, CommittedNamesRenameTheSelectedBankAndItsSlotZero)
{
    mWindow.mTextField_Bankname.mText = "typed but not committed";
    mWindow.mTableView.userSelectsRow(0);
    EXPECT_EQ(orvane().mBankNames[0], "Bank 1") << "selecting a row writes nothing back";
    for (const std::string& name : {std::string("Choir \xC3\xA4h"), std::string(), std::string(5000, 'x')}) {
        const int reloads = mWindow.mTableView.mReloadCalls;
        mWindow.mTextField_Bankname.userCommits(name);
        mWindow.mTextField_Sample.userCommits(name);
        EXPECT_EQ(orvane().mBankNames[0], name);
        EXPECT_EQ(orvane().mSampleNames[0][0], name);
        EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads + 1);
        EXPECT_EQ(mWindow.mTableView.mRows.at(0), name);
        EXPECT_EQ(mWindow.mTableView.mRows.at(1), "Bank 2");
    }
    EXPECT_EQ(orvane().mSampleNames[0][1], "Sample 2 (in Bank 1)");
    mWindow.mTableView.userSelectsRow(1);
    mWindow.mTableView.userSelectsRow(0);
    EXPECT_EQ(mWindow.mTextField_Sample.mText, std::string(5000, 'x'));
    mWindow.mUndoManager.undo();
    EXPECT_EQ(orvane().mSampleNames[0][0] + orvane().mBankNames[0], std::string(5000, 'x'))
        << "each rename is a step of its own: the sample's only";
}

// While transmitting, Reset changes nothing but renaming still works; while
// idle it restores only the selected bank.
TEST_F(EditorCore, ResetRestoresOnlyTheSelectedBankAndOnlyWhileIdle)
{
    mWindow.mTableView.userSelectsRow(1);
    mController->mIdleState = false;
    mWindow.mTextField_Bankname.userCommits("Mine");
    mWindow.mTextField_Sample.userCommits("Mine too");
    orvane().mSamples[1][10] = 1234;
    orvane().mSamples[2][10] = 4321;
    const int reloads = mWindow.mTableView.mReloadCalls;
    mController->reset(nullptr);
    EXPECT_EQ(orvane().mBankNames[1], "Mine");
    EXPECT_EQ(orvane().mSampleNames[1][0], "Mine too");
    EXPECT_EQ(orvane().mSamples[1][10], 1234);
    EXPECT_EQ(mWindow.mTableView.mReloadCalls, reloads);
    EXPECT_EQ(mApp.mBeeps, 0);
    EXPECT_TRUE(mApp.mAlerts.empty());

    mController->mIdleState = true;
    mController->reset(nullptr);
    EXPECT_EQ(orvane().mBankNames[1], "Bank 2");
    EXPECT_EQ(mWindow.mTableView.mRows.at(1), "Bank 2");
    EXPECT_EQ(mWindow.mTextField_Bankname.mText, "Bank 2");
    EXPECT_EQ(mWindow.mTextField_Sample.mText, "Sample 1 (in Bank 2)");
    EXPECT_EQ(orvane().mSamples[1][10], mFactory[TLOrvane::kSamplesPerBank + 10]);
    EXPECT_EQ(orvane().mSamples[2][10], 4321);
    mWindow.mUndoManager.undo();
    EXPECT_EQ(orvane().mSamples[1][10], 1234);
}

// Tags 1, 2 and 3 follow the state and the destinations; others are always
// enabled.
TEST_F(EditorCore, MenuValidationByTagStateAndDestinations)
{
    const auto enabled = [&](int tag) { return mController->validateMenuItem(MenuItemDouble(tag)); };
    for (const bool destinations : {false, true})
        for (const bool idle : {true, false}) {
            SCOPED_TRACE(testing::Message() << "destinations " << destinations << ", idle " << idle);
            mMidi.mDestinations.assign(destinations ? 1 : 0, {"UM-ONE", "UM-ONE MIDI 1"});
            mController->mIdleState = idle;
            mController->rescan(nullptr);
            EXPECT_EQ(mController->mIdleState, idle) << "a scan leaves the state alone";
            EXPECT_EQ(std::tuple(enabled(1), enabled(2), enabled(3)), std::tuple(idle, idle && destinations, idle));
            EXPECT_FALSE(enabled(4)) << "no sound input to record from";
            EXPECT_FALSE(enabled(5) || enabled(6) || enabled(7)) << "no selection, clipboard sound or copied bank";
            for (int tag : {0, 8, -1, 99})
                EXPECT_TRUE(enabled(tag)) << tag;
        }
}

class Lifecycle : public ControllerFixture {};

TEST_F(Lifecycle, VersionLinesComeFromTheInformationDictionary)
{
    mApp.mInfoDictionary = {{"CFBundleShortVersionString", "2.1"}, {"CFBundleVersion", "57"}};
    start();
    EXPECT_EQ(mWindow.mLabel_VersionString_MainWindow.mText, "Version 2.1");
    EXPECT_EQ(mWindow.mLabel_VersionString_AboutWindow.mText, "Version 2.1 (57)");
    mController->orderFrontAboutWindow(nullptr);
    EXPECT_EQ(mWindow.mWindow_About.mCenterCalls, 1);
    EXPECT_TRUE(mWindow.mWindow_About.isVisible());
}

// The ports in order, named by client and port; selected: the remembered one,
// else the first that is no through port. A port the user picks is remembered.
TEST_F(Lifecycle, PortScanListsTheDestinationsAndSelectsTheRememberedOrTheFirstRealPort)
{
    const std::vector<KTRecordingMidiPlatform::Destination> ports = {
        {"Midi Through", "Midi Through Port-0"}, {"UM-ONE", "UM-ONE MIDI 1"}, {"Synth", "In"}};
    const Items names{"Midi Through: Midi Through Port-0", "UM-ONE: UM-ONE MIDI 1", "Synth: In"};
    const struct {
        std::vector<KTRecordingMidiPlatform::Destination> destinations;
        std::string remembered;
        Items items;
        int selected;
    } cases[] = {
        {{}, "", {"no output ports detected"}, 0},
        {ports, "", names, 1},
        {ports, "Synth: In", names, 2},
        {ports, "Gone: Port", names, 1},
        {{ports[0]}, "", {names[0]}, 0},
        {{{"UM-ONE", "Port"}, {"UM-ONE", "Port"}, {"Other", "Port"}, {"UM-ONE", "Port"}}, "",
         {"UM-ONE: Port", "UM-ONE: Port (2)", "Other: Port", "UM-ONE: Port (3)"}, 0},
    };
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items.front() + " / " + c.remembered);
        mMidi.mDestinations = c.destinations;
        mApp.mUserDefaults["MidiPort"] = c.remembered;
        mWindow.mPopUp_MidiPort.selectItemAtIndex(2);
        mController->rescan(nullptr);
        EXPECT_EQ(mController->mDestinations, static_cast<int>(c.destinations.size()));
        EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, c.items);
        EXPECT_EQ(mWindow.mPopUp_MidiPort.indexOfSelectedItem(), c.selected);
        EXPECT_EQ(mWindow.mButton_Send.isEnabled(), !c.destinations.empty());
        EXPECT_EQ(mWindow.mButton_Send.mToolTip.starts_with("No MIDI output port found"), c.destinations.empty());
    }
    mMidi.mDestinations = ports;
    mController->rescan(nullptr);
    mWindow.mPopUp_MidiPort.selectItemAtIndex(0);
    mController->midiPortDidChange(nullptr);
    EXPECT_EQ(mApp.mUserDefaults["MidiPort"], names[0]);
    // Without a sequencer the texts say so, not that a port is missing.
    mMidi.mClientCreateSucceeds = false, mMidi.mDestinations = {};
    start();
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, Items{"no ALSA sequencer (no /dev/snd/seq)"});
    EXPECT_TRUE(mWindow.mButton_Send.mToolTip.starts_with("The ALSA sequencer cannot be reached"));
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
    mApp.mOnAlert = [&](const Alert&) { itemsDuringAlert = mWindow.mPopUp_MidiPort.mItems.size(); };
    EXPECT_EQ(mApp.runMainQueue(), 1);
    EXPECT_EQ(mApp.mBeeps, 1);
    EXPECT_EQ(mApp.mAlerts, (std::vector<Alert>{{ApplicationPlatformDouble::AlertStyle::Informational,
                                                "MIDI Environment did change!", "", "OK", "", ""}}));
    EXPECT_EQ(itemsDuringAlert, 3u);
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, (Items{"B: 2", "C: 3"}));
    EXPECT_EQ(mWindow.mPopUp_MidiPort.indexOfSelectedItem(), 0) << "the previous choice is not kept";

    // Other notifications are ignored.
    mMidi.mDestinations = {{"A", "1"}};
    for (std::int32_t id : {0, 2, 3, 4, -1})
        mMidi.notify(id);
    mApp.runMainQueue();
    EXPECT_EQ(mApp.mBeeps, 1);
    EXPECT_EQ(mController->mDestinations, 2);
}

TEST_F(Lifecycle, TerminationWithNothingUnsavedDisposesTheClientAndTheBanksWithoutAsking)
{
    for (bool clientCreated : {true, false}) {
        SCOPED_TRACE(clientCreated);
        mMidi.mClientCreateSucceeds = clientCreated;
        const std::size_t disposals = mMidi.calls("clientDispose").size();
        start();
        EXPECT_EQ(mController->applicationShouldTerminate(nullptr), 1);
        EXPECT_EQ(mMidi.calls("clientDispose").size() - disposals, clientCreated ? 1u : 0u)
            << "only a created client is disposed";
        EXPECT_EQ(mController->mOrvane, nullptr);
        EXPECT_TRUE(mApp.mAlerts.empty());
        EXPECT_TRUE(mApp.mPanels.empty());
        // A late repaint after termination finds no bank store and shows nothing.
        EXPECT_EQ(mController->tableViewObjectValueForTableColumnRow(&mWindow.mTableView, 0, 0), "");
    }
}

} // namespace
