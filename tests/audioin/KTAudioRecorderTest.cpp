// Recording from a scripted input: where the take starts (threshold, pre-roll),
// where it ends (limit, stop, cancel, failure), which channel it holds, and
// that the levels and the take see every frame once, whatever the read sizes.

#include "KTScriptedAudioInput.h"
#include "audioin/KTAudioRecorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

using Channel = KTAudioRecorder::Channel;
enum class End { Wait, Stop, Cancel, Fail, Busy, Stall };
constexpr std::size_t kNever = SIZE_MAX;

// Left: below -20 dBFS (3276.8) up to the crossing, exactly 3277 there, then
// anything, with a clipped sample 1000 frames on. Right: another signal whose
// sum with the left is odd, so the mix truncates.
std::int16_t left(std::size_t i, std::size_t cross)
{
    if (i < cross)
        return static_cast<std::int16_t>(int(i * 37 % 6553) - 3276);
    return static_cast<std::int16_t>(i == cross ? 3277 : i == cross + 1000 ? -32768 : int(i * 101 % 60000) - 30000);
}
std::int16_t right(std::size_t i) { return static_cast<std::int16_t>(-int(i % 4000) * 3 - 1); }

} // namespace

TEST(AudioRecorder, TakesWhatTheOptionsAsk)
{
    const std::string busy = "busy (another program is using it)";
    const std::map<End, std::string> failures{{End::Fail, "the sound input failed: Input/output error"},
                                              {End::Busy, busy}, {End::Stall, "the sound input delivers no sound"}};
    using Reads = std::vector<std::size_t>;
    const Channel mix = Channel::Mix;
    // name, channels, channel, threshold, limit, frames, crossing, read sizes, end, take start and length.
    using Size = std::size_t;
    const std::tuple<const char*, unsigned, Channel, std::optional<double>, Size, Size, Size, Reads, End, Size, Size>
        rows[] = {
            {"no threshold", 1, mix, {}, 65536, 70000, 30000, {441}, End::Wait, 0, 65536},
            {"crossed mid-read", 1, mix, -20.0, 20000, 70000, 5000, {1000}, End::Wait, 4559, 20000},
            {"crossed in the first 10 ms", 1, mix, -20.0, 10000, 30000, 100, {441}, End::Wait, 0, 10000},
            {"never crossed, stopped", 1, mix, -20.0, 65536, 5000, kNever, {441}, End::Stop, 0, 0},
            {"stopped early", 1, mix, {}, 65536, 3000, kNever, {441}, End::Stop, 0, 3000},
            {"crossed, stopped", 1, mix, -20.0, 65536, 8000, 2000, {500}, End::Stop, 1559, 6441},
            {"cancelled", 1, mix, {}, 65536, 3000, kNever, {441}, End::Cancel, 0, 0},
            {"stereo mix", 2, mix, {}, 65536, 5000, 1000, {300}, End::Stop, 0, 5000},
            {"stereo left", 2, Channel::Left, {}, 65536, 5000, 1000, {300}, End::Stop, 0, 5000},
            {"stereo right", 2, Channel::Right, {}, 65536, 5000, 1000, {300}, End::Stop, 0, 5000},
            {"mono device, right", 1, Channel::Right, {}, 65536, 5000, 1000, {300}, End::Stop, 0, 5000},
            {"input fails", 1, mix, {}, 65536, 3000, kNever, {441}, End::Fail, 0, 0},
            {"busy", 1, mix, {}, 65536, 3000, kNever, {441}, End::Busy, 0, 0},
            {"stalls", 1, mix, {}, 65536, 100, kNever, {441}, End::Stall, 0, 0},
            {"odd read sizes", 1, mix, -20.0, 30000, 40000, 9000, {1, 7, 441, 882, 13, 2000}, End::Wait, 8559, 30000},
        };
    for (const auto& [name, channels, channel, threshold, limit, frames, cross, reads, end, takeStart, length] : rows) {
        KTScriptedAudioInput input;
        input.mChannels = channels;
        input.mReads = reads;
        input.mFailAtEnd = end == End::Fail;
        input.mOpenFailure = end == End::Busy ? busy : "";
        std::vector<std::int16_t> expected;
        for (std::size_t i = 0; i < frames; ++i) {
            const std::int16_t l = left(i, cross), r = channels == 1 ? l : right(i);
            input.mSignal.push_back(l);
            if (channels == 2)
                input.mSignal.push_back(r);
            if (i >= takeStart && i < takeStart + length)
                expected.push_back(channel == Channel::Left ? l : channel == Channel::Right ? r
                                                                 : std::int16_t(std::trunc((l + r) / 2.0)));
        }
        std::vector<KTAudioRecorder::Progress> levels;
        std::vector<std::int16_t> filledIn;
        std::vector<KTAudioRecorder::Ending> endings;
        KTAudioRecorder recorder(input);
        recorder.start({channel, threshold, limit},
                       {[&](const KTAudioRecorder::Progress& progress) {
                            levels.push_back(progress);
                            filledIn.insert(filledIn.end(), progress.added.begin(), progress.added.end());
                        },
                        [&](KTAudioRecorder::Ending&& ending) { endings.push_back(std::move(ending)); }});
        if (end == End::Stop || end == End::Cancel)
            input.mEnd.get_future().wait();
        end == End::Stop ? recorder.stop() : end == End::Cancel ? recorder.cancel() : recorder.wait();

        ASSERT_EQ(endings.size(), 1u) << name;
        EXPECT_EQ(endings[0].take, expected) << name;
        EXPECT_EQ(endings[0].failure, failures.count(end) ? failures.at(end) : "") << name;
        EXPECT_EQ(endings[0].cancelled, end == End::Cancel) << name;
        if (!endings[0].failure.empty())
            continue;
        // A level every 882 frames captured, up to the take's end; only the one
        // holding the clipped sample says so; armed until the crossing's level.
        const std::size_t captured = end == End::Wait ? takeStart + limit : frames;
        const std::size_t clipped = cross == kNever ? kNever : (cross + 1000) / 882;
        ASSERT_EQ(levels.size(), (captured + 881) / 882) << name;
        for (std::size_t k = 0; k < levels.size(); ++k) {
            EXPECT_EQ(levels[k].clipped, k == clipped) << name << " level " << k;
            EXPECT_EQ(levels[k].recording, !threshold || k >= cross / 882) << name << " level " << k;
            EXPECT_TRUE(k != clipped || (channels == 2 && channel != Channel::Left) || levels[k].peakDbfs == 0.0);
        }
        EXPECT_EQ(filledIn, end == End::Cancel ? filledIn : endings[0].take) << name;
    }
}
