#include "midiout/alsa/KTAlsaSysexSender.h"

#include "KTVirtualClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <mutex>
#include <vector>

using namespace std::chrono_literals;

namespace {

struct Piece {
    KTClock::Duration time;
    std::vector<std::uint8_t> bytes;
};

// Drives one sender in virtual time and records what it hands over.
class SenderTest : public ::testing::Test {
protected:
    static void completed(KTMidiSysexSendRequest* request)
    {
        auto* self = static_cast<SenderTest*>(request->completionRefCon);
        self->mCompletedAt = self->mClock.now();
        self->mCompletions++;
        self->mClock.removeActive();
    }

    int write(const std::uint8_t* data, std::size_t size)
    {
        std::lock_guard lock(mMutex);
        const int result = mResult(mPieces.size());
        if (result == 0)
            mPieces.push_back({mClock.now(), {data, data + size}});
        return result;
    }

    void start(const std::vector<std::uint8_t>& message)
    {
        mMessage = message;
        mRequest.destination = 7;
        mRequest.data = mMessage.data();
        mRequest.bytesToSend = static_cast<std::uint32_t>(mMessage.size());
        mRequest.completionProc = &SenderTest::completed;
        mRequest.completionRefCon = this;
        mStart = mClock.now();
        mClock.addActive(); // the sender's thread, until its completion
        mSender.submit(mRequest);
    }

    void waitForCompletion(int count = 1)
    {
        while (mCompletions.load() < count)
            mClock.sleepFor(1ms);
    }

    std::vector<std::uint8_t> received()
    {
        std::lock_guard lock(mMutex);
        std::vector<std::uint8_t> all;
        for (const Piece& piece : mPieces)
            all.insert(all.end(), piece.bytes.begin(), piece.bytes.end());
        return all;
    }

    static std::vector<std::uint8_t> message(std::size_t size)
    {
        std::vector<std::uint8_t> bytes(size);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<std::uint8_t>(i % 128);
        bytes.front() = 0xF0;
        bytes.back() = 0xF7;
        return bytes;
    }

    KTVirtualClock mClock;
    std::mutex mMutex;
    std::function<int(std::size_t)> mResult = [](std::size_t) { return 0; };
    std::vector<Piece> mPieces;
    std::vector<std::uint8_t> mMessage;
    KTMidiSysexSendRequest mRequest;
    KTClock::Duration mStart{};
    std::atomic<int> mCompletions{0};
    KTClock::Duration mCompletedAt{};
    KTAlsaSysexSender mSender{mClock, [this](KTMidiEndpointRef, const std::uint8_t* data, std::size_t size) {
                                  return write(data, size);
                              }};
};

TEST_F(SenderTest, CutsIntoPiecesPacedAtTheLineRateFromTheStart)
{
    const auto bytes = message(262150);
    start(bytes);
    waitForCompletion();

    EXPECT_EQ(received(), bytes);
    std::lock_guard lock(mMutex);
    ASSERT_EQ(mPieces.size(), (262150 + 255) / 256);
    std::size_t offset = 0;
    for (const Piece& piece : mPieces) {
        ASSERT_LE(piece.bytes.size(), 256u);
        // Exactly on the absolute deadline: never early, never drifting late.
        ASSERT_EQ(piece.time - mStart, 320us * static_cast<std::int64_t>(offset)) << offset;
        offset += piece.bytes.size();
    }
    EXPECT_EQ(mPieces.front().bytes.front(), 0xF0);
    EXPECT_EQ(mPieces.back().bytes.back(), 0xF7);
    EXPECT_EQ(mCompletedAt - mStart, 262150 * 320us);
    EXPECT_TRUE(mRequest.complete);
}

TEST_F(SenderTest, AbortStopsBetweenPiecesAndSendsALoneEndByte)
{
    const auto bytes = message(100000);
    start(bytes);
    mClock.sleepFor(1s);
    mSender.abortAll();
    waitForCompletion();

    const auto got = received();
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got.back(), 0xF7);
    std::lock_guard lock(mMutex);
    EXPECT_EQ(mPieces.back().bytes, std::vector<std::uint8_t>{0xF7});
    const std::size_t before = got.size() - 1;
    EXPECT_EQ(before % 256, 0u);
    EXPECT_TRUE(std::equal(got.begin(), got.begin() + static_cast<long>(before), bytes.begin()));
    EXPECT_LT(mCompletedAt - mStart, 1100ms);
}

TEST_F(SenderTest, VanishedDestinationEndsTheSendWithItsCompletion)
{
    mResult = [](std::size_t index) { return index >= 3 ? -ENOENT : 0; };
    start(message(10000));
    waitForCompletion();
    EXPECT_EQ(received().size(), 3u * 256);
    EXPECT_LT(mCompletedAt - mStart, 1s);
}

TEST_F(SenderTest, FullReceiverIsRetriedThenGivenUp)
{
    std::atomic<int> refusals{0};
    mResult = [&](std::size_t index) {
        if (index == 1 && refusals < 5) {
            ++refusals;
            return -EAGAIN;
        }
        return index >= 2 ? -ENOMEM : 0;
    };
    start(message(1000));
    waitForCompletion();
    EXPECT_EQ(received().size(), 512u);
    EXPECT_GE(mCompletedAt - mStart, 2s);
    EXPECT_LT(mCompletedAt - mStart, 3s);
}

TEST_F(SenderTest, StallMovesTheScheduleInsteadOfBursting)
{
    // The third piece is refused for 1 s; afterwards at most one piece catches
    // up and the rest keep the line rate.
    std::atomic<int> refusals{0};
    mResult = [&](std::size_t index) {
        if (index == 2 && refusals < 1000) {
            ++refusals;
            return -EAGAIN;
        }
        return 0;
    };
    start(message(256 * 10));
    waitForCompletion();
    std::lock_guard lock(mMutex);
    ASSERT_EQ(mPieces.size(), 10u);
    EXPECT_GE(mPieces[2].time - mStart, 1s);
    for (std::size_t i = 4; i < mPieces.size(); ++i)
        EXPECT_GE(mPieces[i].time - mPieces[2].time, 256 * 320us * static_cast<std::int64_t>(i - 3)) << i;
}

TEST_F(SenderTest, RefusesWhatIsNoSysexButStillCompletes)
{
    std::vector<std::uint8_t> noSysex{0x90, 0x40, 0x7F};
    start(noSysex);
    waitForCompletion();
    EXPECT_TRUE(received().empty());
    EXPECT_TRUE(mRequest.complete);
}

} // namespace
