// Playing a buffer through a recording device: what reaches it, how playing
// ends (played out, stopped, failed, stalled, not opened), and the positions.

#include "KTRecordingAudioDevice.h"
#include "audioout/KTAudioPlayer.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

namespace {

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
        KTRecordingAudioDevice device;
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
    KTRecordingAudioDevice device;
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
