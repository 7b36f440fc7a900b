#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// One take, fed the recorded channel's frames as they are captured. With a
// threshold it is armed until a sample's magnitude first reaches the
// threshold's level, keeping the last kPreRollFrames frames meanwhile, and then
// starts with them, so the attack is whole (with fewer captured, at the first
// frame). Without one it starts at the first frame. It ends full at its frame
// limit; frames past it are not kept. Plain data for one thread.
class KTRecordingTake {
public:
    // 10 ms at 44,100 Hz.
    static constexpr std::size_t kPreRollFrames = 441;
    // A bank's length, the longest take.
    static constexpr std::size_t kBankFrames = 65536;
    // Full scale for levels in dBFS, as for a bank's peak.
    static constexpr double kFullScale = 32768.0;

    // thresholdDbfs: none, or a level relative to full scale (0 and below);
    // frameLimit: 1 to kBankFrames (out of range values are brought into it).
    KTRecordingTake(std::optional<double> thresholdDbfs, std::size_t frameLimit);

    void add(const std::int16_t* frames, std::size_t count);

    bool started() const { return mStarted; }
    bool full() const { return mFrames.size() == mLimit; }
    const std::vector<std::int16_t>& frames() const { return mFrames; }
    std::vector<std::int16_t> release() { return std::move(mFrames); }

private:
    void start();

    // The magnitude a sample must reach; 0 without a threshold.
    double mLevel = 0.0;
    std::size_t mLimit = kBankFrames;
    bool mStarted = false;
    // The pre-roll ring: the last frames while armed, mPreRollNext the oldest
    // once it is full.
    std::array<std::int16_t, kPreRollFrames> mPreRoll{};
    std::size_t mPreRollNext = 0;
    std::size_t mPreRollCount = 0;
    std::vector<std::int16_t> mFrames;
};
