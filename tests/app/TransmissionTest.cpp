#include "ApplicationPlatformDouble.h"
#include "EditorWindowDouble.h"
#include "KTRecordingMidiPlatform.h"
#include "KTVirtualClock.h"
#include "app/OrvaneEditorController.h"
#include "device/TLOrvane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Duration = KTClock::Duration;
using Alert = ApplicationPlatformDouble::Alert;

namespace {

constexpr int kAllBanksRow = 1;
// A full bank: 6-byte header, 6 s pause, 262,150-byte data message at 3,125
// bytes a second.
constexpr double kBankSeconds = 0.00192 + 6.0 + 83.888;
// How far the test lets virtual time run between drains of the main queue.
constexpr Duration kStep = 250ms;
constexpr double kStepSeconds = 0.25;
// The 320 us pause after the hand-over delays the worker's polls a little.
constexpr double kTolerance = kStepSeconds + 0.001;

std::string sending(int bankNumber, const std::string& name)
{
    return "Sending... Bank " + std::to_string(bankNumber) + ": \"" + name + "\"";
}

// One value a second while a bank is sent, each the seconds elapsed since the
// bank started (give or take the drain step), under a maximum of the bank's
// length. A value below the one before starts the next bank.
void expectProgressRuns(const ProgressIndicatorDouble& bar, std::size_t banks)
{
    ASSERT_EQ(bar.mMaxHistory.size(), banks);
    ASSERT_EQ(bar.mValueHistory.at(0), 0.0);
    std::vector<std::vector<double>> runs;
    for (auto value = bar.mValueHistory.begin() + 1; value != bar.mValueHistory.end(); ++value) {
        if (runs.empty() || *value < runs.back().back())
            runs.emplace_back();
        runs.back().push_back(*value);
    }
    ASSERT_EQ(runs.size(), banks);
    for (std::size_t bank = 0; bank < banks; ++bank) {
        EXPECT_NEAR(bar.mMaxHistory[bank], kBankSeconds - kStepSeconds / 2, kTolerance / 2) << bank;
        EXPECT_EQ(runs[bank].size(), 90u) << bank;
        for (std::size_t k = 0; k < runs[bank].size(); ++k) {
            EXPECT_NEAR(runs[bank][k], static_cast<double>(k), kTolerance) << bank << " " << k;
            EXPECT_LE(runs[bank][k], bar.mMaxHistory[bank]) << bank << " " << k;
        }
    }
}

// The editor against the recording MIDI platform in virtual time. The worker
// thread joins virtual time while it runs, so time passes only when the test,
// the worker and the platform's sending thread all sleep.
class Transmission : public ::testing::Test {
protected:
    Transmission() : mFactory(std::size_t(TLOrvane::kBankCount) * TLOrvane::kSamplesPerBank)
    {
        for (std::size_t i = 0; i < mFactory.size(); ++i)
            mFactory[i] = static_cast<std::int16_t>(i * 40503u);
        mApp.mBeforeBackgroundOperation = [this] { mClock.addActive(); };
        mApp.mAfterBackgroundOperation = [this] { mClock.removeActive(); };
    }

    ~Transmission() override
    {
        // A test that failed half-way may leave the worker running: let every
        // pause pass so that it ends and can be joined.
        mClock.release();
        mController.reset();
    }

    void start(bool withDestinations = true)
    {
        if (withDestinations) {
            mPort0 = mMidi.addDestination("Acme", "Port 1");
            mPort1 = mMidi.addDestination("Tavel", "Orvane In");
        }
        mController = std::make_unique<OrvaneEditorController>(mApp, mMidi, mClock, mFactory.data());
        ASSERT_EQ(mController->init(), mController.get());
        mWindow.connect(*mController);
        mController->awakeFromNib();
        mWindow.mLabel_ProgressStatus.mHistory.clear();
    }

    // send: and the transmit it posts, which creates the transmitter (0.9 s).
    void sendAndRunTransmit()
    {
        mController->send(nullptr);
        mApp.runMainQueue();
    }

    // Lets virtual time pass in steps, draining the main queue after each.
    template <class Done> bool runUntil(Done done, Duration limit)
    {
        const Duration end = mClock.now() + limit;
        mApp.runMainQueue();
        while (!done() && mClock.now() < end) {
            mClock.sleepFor(kStep);
            mApp.runMainQueue();
        }
        return done();
    }
    bool runUntilIdle(Duration limit) { return runUntil([this] { return mController->isIdle(); }, limit); }
    bool runUntilStatus(const std::string& text, Duration limit)
    {
        return runUntil([&] { return mWindow.mLabel_ProgressStatus.mText == text; }, limit);
    }
    void runFor(Duration duration)
    {
        const Duration end = mClock.now() + duration;
        runUntil([&] { return mClock.now() >= end; }, duration);
    }

    // The controller waits for the worker on a join, not on the clock: the
    // test thread leaves virtual time meanwhile.
    int terminate()
    {
        mClock.removeActive();
        const int answer = mController->applicationShouldTerminate(nullptr);
        mClock.addActive();
        return answer;
    }

    // The messages of the banks' dumps as the store makes them now.
    std::vector<Bytes> dumpMessages(int firstBank, int endBank, int channel)
    {
        std::vector<Bytes> messages;
        for (int bank = firstBank; bank < endBank; ++bank)
            for (const KTMidiEvent& event : mController->mOrvane->makeSampleDump(bank, channel))
                messages.emplace_back(event.begin(), event.end());
        return messages;
    }

    void expectSent(const std::vector<Bytes>& expected, KTMidiEndpointRef endpoint)
    {
        const auto sent = mMidi.sysexSent();
        ASSERT_EQ(sent.size(), expected.size());
        for (std::size_t i = 0; i < sent.size(); ++i) {
            EXPECT_EQ(sent[i].endpoint, endpoint) << i;
            EXPECT_FALSE(sent[i].aborted) << i;
            EXPECT_EQ(sent[i].bytes, expected[i]) << i;
        }
    }

    void expectMenuItems(bool enabled)
    {
        for (int tag : {1, 2, 3})
            EXPECT_EQ(mController->validateMenuItem(MenuItemDouble(tag)), enabled) << tag;
    }

    std::vector<std::int16_t> mFactory;
    KTVirtualClock mClock;
    KTRecordingMidiPlatform mMidi{mClock};
    ApplicationPlatformDouble mApp;
    EditorWindowDouble mWindow;
    std::unique_ptr<OrvaneEditorController> mController;
    KTMidiEndpointRef mPort0 = 0;
    KTMidiEndpointRef mPort1 = 0;
};

TEST_F(Transmission, OneBankGoesOutOnTheChosenPortAndChannelWithItsProgress)
{
    start();
    mWindow.mTableView.userSelectsRow(2);
    mWindow.mPopUp_MidiChannel.selectItemAtIndex(5);
    mWindow.mPopUp_MidiPort.selectItemAtIndex(1);

    mController->send(nullptr);
    EXPECT_EQ(mApp.mSheetsBegun, 0) << "the sheet waits for the posted transmit";
    mApp.runMainQueue();
    ASSERT_TRUE(mApp.mSheet.has_value());
    EXPECT_EQ(mApp.mSheet->sheet, &mWindow.mWindow_Progress);
    EXPECT_EQ(mApp.mSheet->window, &mWindow.mWindow_Main);
    EXPECT_TRUE(mWindow.mWindow_Progress.isVisible());
    EXPECT_FALSE(mWindow.mProgressIndicator.mIndeterminate);
    EXPECT_EQ(mClock.now(), 900ms) << "the transmitter's All Notes Off ran on the main thread";

    ASSERT_TRUE(runUntilIdle(200s));
    const std::vector<std::string> texts{"", "Initializing...", sending(3, "Bank 3"), "Releasing..."};
    EXPECT_EQ(mWindow.mLabel_ProgressStatus.mHistory, texts);
    EXPECT_EQ(mApp.mSheetsEnded, 1);
    EXPECT_FALSE(mWindow.mWindow_Progress.isVisible());
    EXPECT_TRUE(mController->mIdleState);
    expectProgressRuns(mWindow.mProgressIndicator, 1);
    EXPECT_EQ(mWindow.mProgressIndicator.mDisplayCalls, 90);

    const auto notesOff = mMidi.callsNamed("send");
    ASSERT_EQ(notesOff.size(), 1u);
    EXPECT_EQ(notesOff[0].endpoint, mPort1);
    expectSent(dumpMessages(2, 3, 5), mPort1);
    EXPECT_EQ(mMidi.sysexSent().at(1).bytes[4], 0x20 | 5) << "channel index 5 in the data message";
    EXPECT_EQ(mMidi.callsNamed("outputPortDispose").size(), 1u) << "the transmitter went with the worker";
}

TEST_F(Transmission, AllBanksAreConfirmedThenSentInOrderWithTheBarRestartingForEach)
{
    start();
    mController->mOrvane->setBankName("Pad 100% %d%s \"x\"", 4);
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    mWindow.mTableView.userSelectsRow(5);
    mWindow.mPopUp_MidiChannel.selectItemAtIndex(15);
    mApp.mAlertAnswers = {0, 1};
    const Alert confirmation{ApplicationPlatformDouble::AlertStyle::Informational, "Send All Banks",
                             "The sending of all banks take over 10 Minutes.\nDo you want to really transmit?",
                             "Transmit", "Cancel", ""};

    // Cancel sends nothing.
    mController->send(nullptr);
    EXPECT_EQ(mApp.mAlerts, std::vector<Alert>{confirmation});
    EXPECT_TRUE(mController->mIdleState);
    runFor(5s);
    EXPECT_EQ(mApp.mSheetsBegun, 0);
    EXPECT_EQ(mApp.mBackgroundOperations, 0);
    EXPECT_TRUE(mMidi.callsNamed("outputPortCreate:OutPort").empty());

    sendAndRunTransmit();
    EXPECT_EQ(mApp.mAlerts, std::vector<Alert>(2, confirmation));
    ASSERT_TRUE(runUntilIdle(800s));
    std::vector<std::string> texts{"", "Initializing..."};
    for (int bank = 1; bank <= 7; ++bank)
        texts.push_back(sending(bank, bank == 5 ? "Pad 100% %d%s \"x\"" : "Bank " + std::to_string(bank)));
    texts.push_back("Releasing...");
    EXPECT_EQ(mWindow.mLabel_ProgressStatus.mHistory, texts);
    expectProgressRuns(mWindow.mProgressIndicator, 7);
    expectSent(dumpMessages(0, 7, 15), mPort0);
    EXPECT_EQ(mApp.mSheetsEnded, 1);
}

TEST_F(Transmission, SendDoesNothingWithoutDestinationsOrWhileTransmitting)
{
    start(false);
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    mController->send(nullptr);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_EQ(mApp.pendingMainQueueBlocks(), 0u);

    mMidi.addDestination("Acme", "Port 1");
    mController->rescan(nullptr);
    mController->send(nullptr);
    mController->send(nullptr);
    EXPECT_EQ(mApp.mAlerts.size(), 1u) << "a second send: while transmitting asks nothing";
    EXPECT_EQ(mApp.pendingMainQueueBlocks(), 1u);
    mApp.runMainQueue();
    mController->send(nullptr);
    EXPECT_EQ(mApp.mAlerts.size(), 1u);
    EXPECT_EQ(mApp.mSheetsBegun, 1);
}

TEST_F(Transmission, ASelectionOutsideTheTableSendsNoBank)
{
    start();
    mWindow.mTableView.mSelectedRow = -1;
    sendAndRunTransmit();
    ASSERT_TRUE(runUntilIdle(10s));
    const std::vector<std::string> texts{"", "Initializing...", "Releasing..."};
    EXPECT_EQ(mWindow.mLabel_ProgressStatus.mHistory, texts);
    EXPECT_TRUE(mMidi.sysexSent().empty());
}

TEST_F(Transmission, CancelInBankThreeEndsTheSheetAtOnceAndStopsBeforeBankFour)
{
    start();
    mController->mOrvane->mSamples[6][0] = 1234;
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    sendAndRunTransmit();
    ASSERT_TRUE(runUntilStatus(sending(3, "Bank 3"), 400s));
    runFor(40s);
    const Duration cancelledAt = mClock.now();

    mController->cancel(nullptr);
    EXPECT_EQ(mApp.mSheetsEnded, 1);
    EXPECT_FALSE(mWindow.mWindow_Progress.isVisible());
    EXPECT_TRUE(mController->mIdleState) << "the editor shows Idle at once";
    EXPECT_FALSE(mController->isIdle()) << "the worker has not ended yet";

    // Until the worker has ended, nothing may change banks or start again.
    const std::size_t alerts = mApp.mAlerts.size();
    mController->send(nullptr);
    EXPECT_EQ(mApp.mAlerts.size(), alerts);
    mWindow.mTableView.userSelectsRow(6);
    mController->reset(nullptr);
    EXPECT_EQ(mController->mOrvane->mSamples[6][0], 1234);
    expectMenuItems(false);

    ASSERT_TRUE(runUntilIdle(10s));
    EXPECT_LE(mClock.now() - cancelledAt, 1500ms) << "the worker stops at its next poll";
    expectMenuItems(true);

    const auto sent = mMidi.sysexSent();
    const auto expected = dumpMessages(0, 3, 0);
    ASSERT_EQ(sent.size(), 6u) << "no message of bank 4 starts";
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_FALSE(sent[i].aborted) << i;
        EXPECT_EQ(sent[i].bytes, expected[i]) << i;
    }
    const Bytes& cut = sent[5].bytes;
    EXPECT_TRUE(sent[5].aborted);
    EXPECT_LE(sent[5].completed - cancelledAt, 1s);
    ASSERT_GT(cut.size(), 1000u);
    ASSERT_LT(cut.size(), expected[5].size());
    EXPECT_EQ(cut.back(), 0xF7) << "the message in flight is closed";
    EXPECT_TRUE(std::equal(cut.begin(), cut.end() - 1, expected[5].begin()));

    const auto& texts = mWindow.mLabel_ProgressStatus.mHistory;
    EXPECT_EQ(std::count(texts.begin(), texts.end(), sending(4, "Bank 4")), 0);
    EXPECT_EQ(std::count(texts.begin(), texts.end(), "Releasing..."), 0);
    EXPECT_EQ(mMidi.callsNamed("outputPortDispose").size(), 1u);

    // A later transmission runs in full: the stop request does not linger.
    mWindow.mMatrix_SaveSendOption.mSelectedRow = 0;
    sendAndRunTransmit();
    ASSERT_TRUE(runUntilIdle(200s));
    const auto again = mMidi.sysexSent();
    ASSERT_EQ(again.size(), 8u);
    EXPECT_FALSE(again[7].aborted);
    EXPECT_EQ(again[7].bytes, dumpMessages(6, 7, 0)[1]);
}

TEST_F(Transmission, QuitDuringATransmissionStopsAndWaitsForTheWorker)
{
    start();
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    sendAndRunTransmit();
    ASSERT_TRUE(runUntilStatus(sending(1, "Bank 1"), 10s));
    // Bank 2's start is posted but not run when the application terminates.
    while (mMidi.sysexSent().size() < 3)
        mClock.sleepFor(100ms);
    mClock.sleepFor(20s);
    ASSERT_GT(mApp.pendingMainQueueBlocks(), 1u);
    const auto textsBefore = mWindow.mLabel_ProgressStatus.mHistory;

    EXPECT_EQ(terminate(), 1);
    EXPECT_EQ(mController->mOrvane, nullptr);
    EXPECT_EQ(mMidi.callsNamed("outputPortDispose").size(), 1u) << "the worker ended and released the transmitter";

    const auto sent = mMidi.sysexSent();
    ASSERT_EQ(sent.size(), 4u) << "bank 2's data message was in flight, nothing after it";
    EXPECT_TRUE(sent[3].aborted);
    EXPECT_EQ(sent[3].bytes.back(), 0xF7);
    const auto calls = mMidi.calls();
    const auto position = [&](const std::string& name) {
        return calls.rend() - std::find_if(calls.rbegin(), calls.rend(), [&](const auto& c) { return c.name == name; });
    };
    EXPECT_LT(position("completion"), position("clientDispose"));
    EXPECT_LT(position("outputPortDispose"), position("clientDispose"));

    // Blocks still queued find the store gone and leave everything as it was.
    runFor(5s);
    EXPECT_EQ(mWindow.mLabel_ProgressStatus.mHistory, textsBefore);
    EXPECT_EQ(mMidi.sysexSent().size(), 4u);
}

TEST_F(Transmission, QuitWithTheTransmissionStillQueuedStartsNothing)
{
    start();
    mController->send(nullptr);
    ASSERT_EQ(mApp.pendingMainQueueBlocks(), 1u);
    EXPECT_EQ(terminate(), 1);
    mApp.runMainQueue();
    EXPECT_EQ(mApp.mSheetsBegun, 0);
    EXPECT_EQ(mApp.mBackgroundOperations, 0);
    EXPECT_TRUE(mMidi.callsNamed("outputPortCreate:OutPort").empty());
}

} // namespace
