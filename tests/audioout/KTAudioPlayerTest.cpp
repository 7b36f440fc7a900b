// Playing a buffer through a recording device: what reaches it, how playing
// ends (played out, stopped, failed, stalled, not opened), and the positions.

#include "audioout/KTAudioPlayer.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <future>
#include <mutex>
#include <numeric>
#include <thread>
#include <vector>

namespace {

// Takes up to 300 frames a write and records them; scripted to fail or stall.
class RecordingAudioDevice final : public KTAudioDevice {
public:
    std::string open() override { return mOpenFailure; }
    long write(const std::int16_t* frames, std::size_t count) override
    {
        std::lock_guard lock(mMutex);
        if (mRecorded.size() >= mFailAt)
            return -ENODEV;
        if (mRecorded.size() >= mStallAt)
            return 0;
        const std::size_t taken = std::min<std::size_t>(count, 300);
        mRecorded.insert(mRecorded.end(), frames, frames + taken);
        // Past the signal the device plays in real time, more or less.
        if (mRecorded.size() >= mSignalAt && !mSignalled.exchange(true))
            mReached.set_value();
        if (mSignalled)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return static_cast<long>(taken);
    }
    long delay() override { return 100; }
    void drain() override { mEnd = "drain"; }
    void drop() override { mEnd = "drop"; }
    void close() override { mEnd += " close"; }

    std::size_t recorded()
    {
        std::lock_guard lock(mMutex);
        return mRecorded.size();
    }

    std::string mOpenFailure;
    std::size_t mFailAt = SIZE_MAX;
    std::size_t mStallAt = SIZE_MAX;
    std::size_t mSignalAt = SIZE_MAX;
    std::vector<std::int16_t> mRecorded;
    std::string mEnd;
    std::atomic<bool> mSignalled{false};
    std::promise<void> mReached;
    std::mutex mMutex;
};

// What the player reports through its observer.
struct Outcome {
    std::vector<std::size_t> positions;
    std::vector<std::string> endings;
    KTAudioPlayer::Observer observer()
    {
        return {[this](std::size_t frame) { positions.push_back(frame); },
                [this](const std::string& failure) { endings.push_back(failure); }};
    }
};

std::vector<std::int16_t> ramp(std::size_t frames)
{
    std::vector<std::int16_t> samples(frames);
    std::iota(samples.begin(), samples.end(), std::int16_t{0});
    return samples;
}

} // namespace

TEST(AudioPlayer, EndsOnceAndSaysHow)
{
    const std::string busy = "\"default\": Device or resource busy";
    const struct {
        std::string openFailure;
        std::size_t failAt, stallAt, recorded;
        std::string ending, end;
    } cases[] = {
        {"", SIZE_MAX, SIZE_MAX, 5000, "", "drain close"},
        {busy, SIZE_MAX, SIZE_MAX, 0, busy, ""},
        {"", 1200, SIZE_MAX, 1200, "the sound output failed: No such device", "drop close"},
        {"", SIZE_MAX, 900, 900, "the sound output takes no more data", "drop close"},
    };
    for (const auto& c : cases) {
        RecordingAudioDevice device;
        device.mOpenFailure = c.openFailure;
        device.mFailAt = c.failAt;
        device.mStallAt = c.stallAt;
        Outcome outcome;
        KTAudioPlayer player(device);
        player.play(ramp(5000), outcome.observer());
        player.wait();
        EXPECT_FALSE(player.isPlaying());
        EXPECT_EQ(outcome.endings, std::vector<std::string>{c.ending});
        EXPECT_EQ(device.mEnd, c.end);
        EXPECT_EQ(device.mRecorded, ramp(c.recorded));
        // Positions trail what was written by what the device still holds.
        EXPECT_TRUE(std::is_sorted(outcome.positions.begin(), outcome.positions.end()));
        EXPECT_EQ(outcome.positions.empty() ? 0 : outcome.positions.back() + 100, c.recorded);
    }
}

TEST(AudioPlayer, ANewPlayStopsTheOldOneMidway)
{
    RecordingAudioDevice device;
    device.mSignalAt = 3000;
    KTAudioPlayer player(device);
    Outcome first, second;
    player.play(std::vector<std::int16_t>(10000000, -1), first.observer());
    device.mReached.get_future().wait();
    EXPECT_TRUE(player.isPlaying());
    player.play(ramp(10), second.observer());
    player.wait();
    EXPECT_EQ(first.endings, std::vector<std::string>{""});
    EXPECT_EQ(second.endings, std::vector<std::string>{""});
    EXPECT_LT(device.recorded(), 10000000u);
    EXPECT_EQ(std::vector<std::int16_t>(device.mRecorded.end() - 10, device.mRecorded.end()), ramp(10));
}
