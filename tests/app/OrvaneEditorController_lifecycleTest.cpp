#include "ControllerFixture.h"

#include <string>
#include <thread>

namespace {

using Alert = ApplicationPlatformDouble::Alert;
using Items = std::vector<std::string>;

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

TEST_F(Lifecycle, PortScanListsTheDestinationsInOrderWithTheFirstSelected)
{
    const struct {
        std::vector<KTRecordingMidiPlatform::Destination> destinations;
        Items items;
    } cases[] = {
        {{}, {"no output ports detected"}},
        {{{"UM-ONE", "UM-ONE MIDI 1"}, {"Midi Through", "Midi Through Port-0"}, {"Orvane", "Orvane MIDI In"}},
         {"UM-ONE: UM-ONE MIDI 1", "Midi Through: Midi Through Port-0", "Orvane: Orvane MIDI In"}},
        {{{"UM-ONE", "Port"}, {"UM-ONE", "Port"}, {"Other", "Port"}, {"UM-ONE", "Port"}},
         {"UM-ONE: Port", "UM-ONE: Port (2)", "Other: Port", "UM-ONE: Port (3)"}},
    };
    start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.items.front());
        mMidi.mDestinations = c.destinations;
        mWindow.mPopUp_MidiPort.selectItemAtIndex(2);
        mController->rescan(nullptr);
        EXPECT_EQ(mController->mDestinations, static_cast<int>(c.destinations.size()));
        EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, c.items);
        EXPECT_EQ(mWindow.mPopUp_MidiPort.indexOfSelectedItem(), 0);
        EXPECT_EQ(mWindow.mButton_Send.isEnabled(), !c.destinations.empty());
    }
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

    // Losing the last destination disables Send; other notifications are ignored.
    mMidi.mDestinations.clear();
    mMidi.notify(KTMidiPlatform::kSetupChanged);
    mApp.runMainQueue();
    EXPECT_FALSE(mWindow.mButton_Send.isEnabled());
    EXPECT_EQ(mWindow.mPopUp_MidiPort.mItems, Items{"no output ports detected"});
    mMidi.mDestinations = {{"A", "1"}};
    for (std::int32_t id : {0, 2, 3, 4, -1})
        mMidi.notify(id);
    mApp.runMainQueue();
    EXPECT_EQ(mApp.mBeeps, 2);
    EXPECT_EQ(mController->mDestinations, 0);
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
