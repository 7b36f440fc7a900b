// Playing a buffer through a recording device: what reaches it, how playing
// ends (played out, stopped, failed, stalled, not opened), and the positions.

#include "KTRecordingAudioDevice.h"
#include "audioout/KTAudioPlayer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Outcome {
    std::vector<std::size_t> positions;
    std::vector<std::string> endings;
};

KTAudioPlayer::Observer observing(Outcome& outcome)
{
    return {[&outcome](std::size_t frame) { outcome.positions.push_back(frame); },
            [&outcome](const std::string& failure) { outcome.endings.push_back(failure); }};
}

std::vector<std::int16_t> ramp(std::size_t frames)
{
    std::vector<std::int16_t> samples(frames);
    for (std::size_t i = 0; i < frames; ++i)
        samples[i] = static_cast<std::int16_t>(i * 31);
    return samples;
}

} // namespace

TEST(AudioPlayer, EndsOnceAndSaysHow)
{
    const struct {
        std::string openFailure;
        std::size_t failAt;
        std::size_t stallAt;
        std::size_t recorded;
        std::string ending;
        std::string end;
    } cases[] = {
        {"", SIZE_MAX, SIZE_MAX, 5000, "", "drain close"},
        {"\"default\": Device or resource busy", SIZE_MAX, SIZE_MAX, 0, "\"default\": Device or resource busy", ""},
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
        player.play(ramp(5000), observing(outcome));
        player.wait();
        EXPECT_FALSE(player.isPlaying());
        EXPECT_EQ(outcome.endings, std::vector<std::string>{c.ending});
        EXPECT_EQ(device.mEnd, c.end);
        ASSERT_EQ(device.mRecorded.size(), c.recorded);
        EXPECT_TRUE(std::equal(device.mRecorded.begin(), device.mRecorded.end(), ramp(c.recorded).begin()));
        // Positions trail what was written by what the device still holds.
        EXPECT_TRUE(std::is_sorted(outcome.positions.begin(), outcome.positions.end()));
        if (c.recorded > 0) {
            EXPECT_EQ(outcome.positions.back(), c.recorded - 100);
        }
    }
}

TEST(AudioPlayer, StopEndsPlayingMidwayAndANewPlayStopsTheOldOne)
{
    KTRecordingAudioDevice device;
    device.mSignalAt = 3000;
    KTAudioPlayer player(device);
    Outcome first;
    Outcome second;
    player.play(std::vector<std::int16_t>(10000000, 1), observing(first));
    device.mReached.get_future().wait();
    EXPECT_TRUE(player.isPlaying());
    player.play(ramp(10), observing(second));
    player.wait();
    EXPECT_EQ(first.endings, std::vector<std::string>{""});
    EXPECT_EQ(second.endings, std::vector<std::string>{""});
    EXPECT_LT(device.recorded(), 10000000u);
    EXPECT_TRUE(std::equal(device.mRecorded.end() - 10, device.mRecorded.end(), ramp(10).begin()));
}
