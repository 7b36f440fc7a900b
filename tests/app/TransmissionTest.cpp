#include "ControllerFixture.h"
#include "midi/KTTimingConversions.h"

#include <algorithm>
#include <cerrno>
#include <string>

using namespace std::chrono_literals;
using Bytes = KTRecordingMidiPlatform::Bytes;
using Duration = KTClock::Duration;
using Texts = std::vector<std::string>;

namespace {

constexpr int kAllBanksRow = 1;

std::string sending(int bank, const std::string& name) { return "Sending... Bank " + std::to_string(bank) + ": \"" + name + "\""; }

// The editor against the recording platform in virtual time: the test, the
// transmission worker and the pacer's thread all sleep on the one clock.
class Transmission : public ControllerFixture {
protected:
    void SetUp() override { mMidi.mDestinations = {{"Acme", "Port 1"}, {"Tavel", "Orvane In"}}; }
    // send: and the transmit it posts, which creates the transmitter.
    void sendAndRunTransmit()
    {
        mController->send(nullptr);
        mApp.runMainQueue();
    }
    // Lets virtual time pass in steps of 250 ms, draining the main queue after each.
    template <class Done> bool runUntil(Done done, Duration limit)
    {
        for (const Duration end = mClock.now() + limit; !done() && mClock.now() < end; mApp.runMainQueue())
            mClock.sleepFor(250ms);
        return done();
    }
    bool runUntilIdle(Duration limit) { return runUntil([this] { return mController->isIdle(); }, limit); }
    // The bytes of the banks' dumps as the store makes them now.
    Bytes dumps(int first, int end, int channel)
    {
        Bytes bytes;
        for (int bank = first; bank < end; ++bank)
            for (const KTMidiEvent& event : orvane().makeSampleDump(bank, channel))
                bytes.insert(bytes.end(), event.begin(), event.end());
        return bytes;
    }
    const Texts& texts() const { return mWindow.mLabel_ProgressStatus.mHistory; }
};

TEST_F(Transmission, OneBankGoesOutOnTheChosenPortAndChannelWithItsProgress)
{
    start();
    mWindow.mTableView.userSelectsRow(2);
    mWindow.mPopUp_MidiChannel.selectItemAtIndex(5);
    mWindow.mPopUp_MidiPort.selectItemAtIndex(1);
    sendAndRunTransmit();
    ASSERT_TRUE(runUntilIdle(200s));
    EXPECT_EQ(texts(), (Texts{"", "Initializing...", sending(3, "Bank 3"), "Releasing..."}));
    EXPECT_EQ(mApp.mSheetsEnded, 1);
    EXPECT_EQ(mMidi.calls("piece").at(0).endpoint, 2u);
    EXPECT_EQ(mMidi.wire(), dumps(2, 3, 5));
    EXPECT_EQ(mMidi.calls("outputPortDispose").size(), 1u) << "the transmitter went with the worker";
    // The bar counts the seconds of the bank, once a second, up to its length.
    const auto& bar = mWindow.mProgressIndicator;
    const double bankSeconds = 6.0 + std::chrono::duration<double>(kMidiByteTime * 262156).count();
    EXPECT_NEAR(bar.mMaxHistory.at(0), bankSeconds, 0.3);
    ASSERT_EQ(bar.mValueHistory.size(), 91u);
    for (std::size_t k = 1; k < bar.mValueHistory.size(); ++k)
        EXPECT_NEAR(bar.mValueHistory[k], double(k - 1), 0.3) << k;
}

TEST_F(Transmission, AllBanksAreConfirmedThenSentInOrder)
{
    start();
    orvane().setBankName("Pad 100% %d%s \"x\"", 4);
    mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
    mWindow.mPopUp_MidiChannel.selectItemAtIndex(15);
    mApp.mAlertAnswers = {0, 1};
    mController->setTransferSpeed(50);
    mController->send(nullptr); // cancelled
    EXPECT_EQ(mApp.pendingMainQueueBlocks(), 0u);
    mController->setTransferSpeed(100);
    sendAndRunTransmit();
    ASSERT_EQ(mApp.mAlerts.size(), 2u);
    EXPECT_EQ(mApp.mAlerts[0].message, "The sending of all banks take over 20 Minutes.\nDo you want to really transmit?");
    EXPECT_EQ(mApp.mAlerts[1].title, "Send All Banks");
    EXPECT_EQ(mApp.mAlerts[1].message, "The sending of all banks take over 10 Minutes.\nDo you want to really transmit?");
    ASSERT_TRUE(runUntilIdle(800s));
    Texts expected{"", "Initializing..."};
    for (int bank = 1; bank <= 7; ++bank)
        expected.push_back(sending(bank, bank == 5 ? "Pad 100% %d%s \"x\"" : "Bank " + std::to_string(bank)));
    expected.push_back("Releasing...");
    EXPECT_EQ(texts(), expected);
    EXPECT_EQ(mMidi.wire(), dumps(0, 7, 15));
    EXPECT_EQ(mWindow.mProgressIndicator.mMaxHistory.size(), 7u);
}

TEST_F(Transmission, NothingIsSentWithoutADestinationOrABankOrTwice)
{
    mMidi.mDestinations.clear();
    start();
    mController->send(nullptr);
    EXPECT_EQ(mApp.pendingMainQueueBlocks(), 0u);
    mMidi.mDestinations = {{"Acme", "Port 1"}};
    mController->rescan(nullptr);
    mWindow.mTableView.mSelectedRow = -1;
    mController->send(nullptr);
    mController->send(nullptr);
    EXPECT_EQ(mApp.pendingMainQueueBlocks(), 1u) << "a second send: while transmitting does nothing";
    mApp.runMainQueue();
    ASSERT_TRUE(runUntilIdle(10s));
    EXPECT_EQ(texts(), (Texts{"", "Initializing...", "Releasing..."}));
    EXPECT_TRUE(mMidi.wire().empty()) << "a selection outside the table sends no bank";
}

// A destination that goes away, or keeps refusing data, mid-way through bank 2:
// the send ends there with an alert naming the bank, and bank 3 never starts.
TEST_F(Transmission, ABankThatDoesNotArriveEndsTheSendWithAnAlert)
{
    for (int refusal : {-ENOENT, -EAGAIN}) {
        SCOPED_TRACE(refusal);
        start();
        mApp.mAlerts.clear();
        mWindow.mLabel_ProgressStatus.mHistory.clear();
        const std::size_t from = mMidi.wire().size();
        const std::size_t before = mMidi.calls("piece").size();
        mMidi.mWriteResult = [=](std::size_t taken) { return taken >= before + 1027 + 500 ? refusal : 0; };
        mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
        mApp.mAlertAnswers = {1, 1};
        sendAndRunTransmit();
        ASSERT_TRUE(runUntilIdle(400s));
        ASSERT_EQ(mApp.mAlerts.size(), 2u);
        EXPECT_EQ(mApp.mAlerts[1].title, "Send Failed");
        EXPECT_EQ(mApp.mAlerts[1].message,
                  "Bank 2: \"Bank 2\" did not arrive.\nThe MIDI destination went away or refused the data.");
        EXPECT_EQ(texts().back(), sending(2, "Bank 2"));
        const Bytes wire = mMidi.wire();
        EXPECT_EQ(wire.size() - from, 262156u + 6u + 500u * 256u) << "bank 1, bank 2's header and 500 pieces";
        mMidi.mWriteResult = [](std::size_t) { return 0; };
        mController->applicationShouldTerminate(nullptr);
    }
}

// Cancel and quit stop the worker at its next poll: the message in flight is
// closed with F7 and nothing after it starts; after a cancel a send runs in full.
// Quitting waits for the worker off the clock, so virtual time may run on until
// the stop request is made: only the cancel is timed.
TEST_F(Transmission, CancelAndQuitCloseTheMessageInFlightAndStartNothingMore)
{
    for (bool quit : {false, true}) {
        SCOPED_TRACE(quit);
        start();
        mWindow.mLabel_ProgressStatus.mHistory.clear();
        const std::size_t from = mMidi.wire().size();
        const auto sentSince = [&] {
            const Bytes all = mMidi.wire();
            return Bytes(all.begin() + long(from), all.end());
        };
        mWindow.mMatrix_SaveSendOption.mSelectedRow = kAllBanksRow;
        sendAndRunTransmit();
        ASSERT_TRUE(runUntil([&] { return texts().back() == sending(3, "Bank 3"); }, 400s));
        runUntil([] { return false; }, 40s);
        const Bytes all = dumps(0, quit ? 7 : 3, 0), twoBanks = dumps(0, 2, 0);
        const Duration stoppedAt = mClock.now();
        if (quit) {
            mClock.removeActive(); // the controller joins the worker, off the clock
            EXPECT_EQ(mController->applicationShouldTerminate(nullptr), 1);
            mClock.addActive();
        } else {
            mController->cancel(nullptr);
            EXPECT_TRUE(mController->mIdleState) << "the editor shows Idle at once";
            EXPECT_FALSE(mController->isIdle()) << "until the worker has ended";
            ASSERT_TRUE(runUntilIdle(10s));
            EXPECT_LE(mClock.now() - stoppedAt, 1500ms);
        }
        runUntil([] { return false; }, 5s);
        const Bytes wire = sentSince();
        ASSERT_GT(wire.size(), twoBanks.size());
        ASSERT_LT(wire.size(), all.size());
        EXPECT_TRUE(std::equal(wire.begin(), wire.end() - 1, all.begin()));
        EXPECT_EQ(wire.back(), 0xF7);
        EXPECT_EQ(std::count(texts().begin(), texts().end(), "Releasing..."), 0);
        if (quit)
            continue;
        mWindow.mMatrix_SaveSendOption.mSelectedRow = 0;
        sendAndRunTransmit();
        ASSERT_TRUE(runUntilIdle(200s));
        const Bytes again = sentSince(), bank = dumps(0, 1, 0);
        EXPECT_EQ(again.size(), wire.size() + bank.size());
        EXPECT_TRUE(std::equal(bank.rbegin(), bank.rend(), again.rbegin()));
    }
}

} // namespace
