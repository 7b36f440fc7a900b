#include "ApplicationPlatformDouble.h"
#include "EditorWindowDouble.h"
#include "KTRecordingMidiPlatform.h"
#include "KTVirtualClock.h"
#include "MenuItemDouble.h"
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

// Splits the progress values into one run per bank: a value below the one
// before starts the next bank.
std::vector<std::vector<double>> runsOf(const std::vector<double>& values)
{
    std::vector<std::vector<double>> runs;
    for (double value : values) {
        if (runs.empty() || value < runs.back().back())
            runs.emplace_back();
        runs.back().push_back(value);
    }
    return runs;
}

// The editor against the recording MIDI platform in virtual time. The worker
// thread joins virtual time while it runs, so time passes only when the test,
// the worker and the platform's sending thread all sleep.
class Transmission : public ::testing::Test {
protected:
    Transmission()
        : mFactory(std::size_t(TLOrvane::kBankCount) * TLOrvane::kSamplesPerBank)
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

    void start()
    {
        mPort0 = mMidi.addDestination("Acme", "Port 1");
        mPort1 = mMidi.addDestination("Tavel", "Orvane In");
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

    void runFor(Duration duration)
    {
        const Duration end = mClock.now() + duration;
        while (mClock.now() < end) {
            mClock.sleepFor(kStep);
            mApp.runMainQueue();
        }
    }

    bool runUntilIdle(Duration limit)
    {
        const Duration end = mClock.now() + limit;
        mApp.runMainQueue();
        while (!mController->isIdle() && mClock.now() < end) {
            mClock.sleepFor(kStep);
            mApp.runMainQueue();
        }
        return mController->isIdle();
    }

    bool runUntilStatus(const std::string& text, Duration limit)
    {
        const Duration end = mClock.now() + limit;
        while (mWindow.mLabel_ProgressStatus.mText != text && mClock.now() < end) {
            mClock.sleepFor(kStep);
            mApp.runMainQueue();
        }
        return mWindow.mLabel_ProgressStatus.mText == text;
    }

    // Lets virtual time pass without running the main queue, until the
    // platform has finished the given number of messages.
    void sleepUntilMessagesSent(std::size_t count)
    {
        while (mMidi.sysexSent().size() < count)
            mClock.sleepFor(100ms);
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

    bool menuItemEnabled(int tag) const { return mController->validateMenuItem(MenuItemDouble(tag)); }

    std::vector<std::int16_t> mFactory;
    KTVirtualClock mClock;
    KTRecordingMidiPlatform mMidi{mClock};
    ApplicationPlatformDouble mApp;
    EditorWindowDouble mWindow;
    std::unique_ptr<OrvaneEditorController> mController;
    KTMidiEndpointRef mPort0 = 0;
    KTMidiEndpointRef mPort1 = 0;
};

void expectProgressRun(const std::vector<double>& values, double maximum)
{
    // One value a second while the bank is sent, each the seconds elapsed since
    // the bank started, give or take the test's drain step.
    EXPECT_EQ(values.size(), 90u);
    for (std::size_t k = 0; k < values.size(); ++k) {
        EXPECT_NEAR(values[k], static_cast<double>(k), kTolerance) << k;
        EXPECT_LE(values[k], maximum) << k;
    }
}

TEST_F(Transmission, OneBankGoesOutOnTheChosenPortAndChannelWithItsProgress)
{
    start();
    mWindow.mTableView.userSelectsRow(2);
    mWindow.mPopUp_MidiChannel.selectItemAtIndex(5);
    mWindow.mPopUp_MidiPort.selectItemAtIndex(1);

    mController->send(nullptr);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_FALSE(mController->mIdleState);
    EXPECT_EQ(mApp.mSheetsBegun, 0) << "the sheet waits for the posted transmit";
    ASSERT_EQ(mApp.pendingMainQueueBlocks(), 1u);

    mApp.runMainQueue();
    ASSERT_TRUE(mApp.mSheet.has_value());
    EXPECT_EQ(mApp.mSheet->sheet, &mWindow.mWindow_Progress);
    EXPECT_EQ(mApp.mSheet->window, &mWindow.mWindow_Main);
    EXPECT_EQ(mApp.mSheet->contextInfo, nullptr);
    EXPECT_TRUE(mWindow.mWindow_Progress.isVisible());
    EXPECT_FALSE(mWindow.mProgressIndicator.mIndeterminate);
    EXPECT_EQ(mWindow.mProgressIndicator.mValueHistory, std::vector<double>{0.0});
    EXPECT_EQ(mClock.now(), 900ms) << "the transmitter's All Notes Off ran on the main thread";
    EXPECT_EQ(mApp.mBackgroundOperations, 1);

    ASSERT_TRUE(runUntilIdle(200s));
    const std::vector<std::string> texts{"", "Initializing...", sending(3, "Bank 3"), "Releasing..."};
    EXPECT_EQ(mWindow.mLabel_ProgressStatus.mHistory, texts);
    EXPECT_EQ(mApp.mSheetsEnded, 1);
    EXPECT_FALSE(mWindow.mWindow_Progress.isVisible());
    EXPECT_TRUE(mController->mIdleState);

    const auto& bar = mWindow.mProgressIndicator;
    ASSERT_EQ(bar.mMaxHistory.size(), 1u);
    EXPECT_NEAR(bar.mMaxHistory[0], kBankSeconds - kStepSeconds / 2, kTolerance / 2);
    const std::vector<double> values(bar.mValueHistory.begin() + 1, bar.mValueHistory.end());
    expectProgressRun(values, bar.mMaxHistory[0]);
    EXPECT_EQ(bar.mDisplayCalls, static_cast<int>(values.size()));

    const auto notesOff = mMidi.callsNamed("send");
    ASSERT_EQ(notesOff.size(), 1u);
    EXPECT_EQ(notesOff[0].endpoint, mPort1);
    const auto sent = mMidi.sysexSent();
    const auto expected = dumpMessages(2, 3, 5);
    ASSERT_EQ(sent.size(), expected.size());
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].endpoint, mPort1) << i;
        EXPECT_FALSE(sent[i].aborted) << i;
        EXPECT_EQ(sent[i].bytes, expected[i]) << i;
    }
    EXPECT_EQ(sent[1].bytes[4], 0x20 | 5) << "channel index 5 in the data message";
    EXPECT_EQ(mMidi.callsNamed("outputPortDispose").size(), 1u) << "the transmitter went with the worker";
}

TEST_F(Transmission, AllBanksAreConfirmedThenSentInOrderWithTheBarRestartingForEach)
{
    start();
    mController->mOrvane->setBankName("Pad 100% %d%s \"x\"", 4);
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    mWindow.mTableView.userSelectsRow(5);
    mWindow.mPopUp_MidiChannel.selectItemAtIndex(15);
    mApp.mAlertAnswers = {1};

    sendAndRunTransmit();
    ASSERT_EQ(mApp.mAlerts.size(), 1u);
    const auto& alert = mApp.mAlerts[0];
    EXPECT_EQ(alert.style, ApplicationPlatformDouble::AlertStyle::Informational);
    EXPECT_EQ(alert.title, "Send All Banks");
    EXPECT_EQ(alert.message, "The sending of all banks take over 10 Minutes.\nDo you want to really transmit?");
    EXPECT_EQ(alert.defaultButton, "Transmit");
    EXPECT_EQ(alert.alternateButton, "Cancel");
    EXPECT_EQ(alert.otherButton, "");

    ASSERT_TRUE(runUntilIdle(800s));
    std::vector<std::string> texts{"", "Initializing..."};
    for (int bank = 1; bank <= 7; ++bank)
        texts.push_back(sending(bank, bank == 5 ? "Pad 100% %d%s \"x\"" : "Bank " + std::to_string(bank)));
    texts.push_back("Releasing...");
    EXPECT_EQ(mWindow.mLabel_ProgressStatus.mHistory, texts);

    const auto& bar = mWindow.mProgressIndicator;
    ASSERT_EQ(bar.mMaxHistory.size(), 7u);
    const auto runs = runsOf({bar.mValueHistory.begin() + 1, bar.mValueHistory.end()});
    ASSERT_EQ(runs.size(), 7u);
    for (std::size_t bank = 0; bank < 7; ++bank) {
        SCOPED_TRACE(bank);
        EXPECT_NEAR(bar.mMaxHistory[bank], kBankSeconds - kStepSeconds / 2, kTolerance / 2);
        expectProgressRun(runs[bank], bar.mMaxHistory[bank]);
    }

    const auto sent = mMidi.sysexSent();
    const auto expected = dumpMessages(0, 7, 15);
    ASSERT_EQ(sent.size(), 14u);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].endpoint, mPort0) << i;
        EXPECT_EQ(sent[i].bytes, expected[i]) << i;
    }
    EXPECT_EQ(mApp.mSheetsEnded, 1);
    EXPECT_TRUE(mController->isIdle());
}

TEST_F(Transmission, CancelInTheConfirmationSendsNothing)
{
    start();
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    mApp.mAlertAnswers = {0};

    mController->send(nullptr);
    EXPECT_EQ(mApp.mAlerts.size(), 1u);
    EXPECT_TRUE(mController->mIdleState);
    EXPECT_EQ(mApp.pendingMainQueueBlocks(), 0u);
    runFor(5s);
    EXPECT_EQ(mApp.mSheetsBegun, 0);
    EXPECT_EQ(mApp.mBackgroundOperations, 0);
    EXPECT_TRUE(mMidi.callsNamed("outputPortCreate:OutPort").empty());
    EXPECT_TRUE(mMidi.sysexSent().empty());
}

TEST_F(Transmission, SendDoesNothingWithoutDestinationsOrWhileTransmitting)
{
    mController = std::make_unique<OrvaneEditorController>(mApp, mMidi, mClock, mFactory.data());
    mController->init();
    mWindow.connect(*mController);
    mController->awakeFromNib();
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    mController->send(nullptr);
    EXPECT_TRUE(mApp.mAlerts.empty());
    EXPECT_TRUE(mController->mIdleState);
    EXPECT_EQ(mApp.pendingMainQueueBlocks(), 0u);

    mMidi.addDestination("Acme", "Port 1");
    mController->rescan(nullptr);
    mController->send(nullptr);
    ASSERT_EQ(mApp.mAlerts.size(), 1u);
    mController->send(nullptr);
    EXPECT_EQ(mApp.mAlerts.size(), 1u) << "a second send: while transmitting asks nothing";
    EXPECT_EQ(mApp.pendingMainQueueBlocks(), 1u);

    mApp.runMainQueue();
    mController->send(nullptr);
    EXPECT_EQ(mApp.mAlerts.size(), 1u);
    EXPECT_EQ(mApp.mSheetsBegun, 1);
    for (int tag : {1, 2, 3})
        EXPECT_FALSE(menuItemEnabled(tag)) << tag;
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
    EXPECT_EQ(mApp.mSheetsEnded, 1);
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
    EXPECT_FALSE(mApp.mSheet.has_value());
    EXPECT_FALSE(mWindow.mWindow_Progress.isVisible());
    EXPECT_TRUE(mController->mIdleState) << "the editor shows Idle at once";
    EXPECT_FALSE(mController->isIdle()) << "the worker has not ended yet";

    // Until the worker has ended, nothing may change banks or start again.
    const std::size_t alerts = mApp.mAlerts.size();
    mController->send(nullptr);
    EXPECT_EQ(mApp.mAlerts.size(), alerts);
    EXPECT_TRUE(mController->mIdleState);
    mWindow.mTableView.userSelectsRow(6);
    mController->reset(nullptr);
    EXPECT_EQ(mController->mOrvane->mSamples[6][0], 1234);
    for (int tag : {1, 2, 3})
        EXPECT_FALSE(menuItemEnabled(tag)) << tag;

    ASSERT_TRUE(runUntilIdle(10s));
    EXPECT_LE(mClock.now() - cancelledAt, 1500ms) << "the worker stops at its next poll";
    for (int tag : {1, 2, 3})
        EXPECT_TRUE(menuItemEnabled(tag)) << tag;

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
    EXPECT_EQ(mApp.mSheetsBegun, 2);
    ASSERT_TRUE(runUntilIdle(200s));
    const auto again = mMidi.sysexSent();
    ASSERT_EQ(again.size(), 8u);
    EXPECT_FALSE(again[7].aborted);
    EXPECT_EQ(again[7].bytes, dumpMessages(6, 7, 0)[1]);
    EXPECT_EQ(mController->mOrvane->mSamples[6][0], 1234);
}

TEST_F(Transmission, CancelDuringThePauseSendsNoDataMessage)
{
    start();
    sendAndRunTransmit();
    runFor(3s);
    ASSERT_EQ(mMidi.sysexSent().size(), 1u);

    mController->cancel(nullptr);
    ASSERT_TRUE(runUntilIdle(10s));
    EXPECT_EQ(mMidi.sysexSent().size(), 1u);
    EXPECT_EQ(mMidi.callsNamed("sendSysex").size(), 1u);
    EXPECT_EQ(mApp.mSheetsEnded, 1);
}

TEST_F(Transmission, QuitDuringATransmissionStopsAndWaitsForTheWorker)
{
    start();
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    sendAndRunTransmit();
    ASSERT_TRUE(runUntilStatus(sending(1, "Bank 1"), 10s));
    // Bank 2's start is posted but not run when the application terminates.
    sleepUntilMessagesSent(3);
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
        const auto found = std::find_if(calls.rbegin(), calls.rend(),
                                        [&](const auto& call) { return call.name == name; });
        return calls.rend() - found;
    };
    EXPECT_LT(position("completion"), position("clientDispose"));
    EXPECT_LT(position("outputPortDispose"), position("clientDispose"));

    // Blocks still queued find the store gone and leave everything as it was.
    mApp.runMainQueue();
    EXPECT_EQ(mWindow.mLabel_ProgressStatus.mHistory, textsBefore);
    runFor(5s);
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
