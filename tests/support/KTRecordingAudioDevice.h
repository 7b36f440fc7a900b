#pragma once

#include "audioout/KTAudioDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The sound output for tests: takes up to 300 frames a write and records them;
// scripted to refuse opening, to fail or stall after so many frames, or to play
// slowly (a frame a write, after a short wait) after mSlowAt frames, like a long
// sound that is still being heard.
class KTRecordingAudioDevice final : public KTAudioDevice {
public:
    std::string open() override { return mOpenFailure; }
    long write(const std::int16_t* frames, std::size_t count) override
    {
        std::unique_lock lock(mMutex);
        if (mRecorded.size() >= mFailAt)
            return -ENODEV;
        if (mRecorded.size() >= mStallAt)
            return 0;
        const bool slow = mRecorded.size() >= mSlowAt;
        const std::size_t taken = slow ? 1 : std::min<std::size_t>(count, 300);
        mRecorded.insert(mRecorded.end(), frames, frames + taken);
        mChanged.notify_all();
        lock.unlock();
        if (slow)
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
    // Returns when the device has taken at least frames in all.
    void waitUntilRecorded(std::size_t frames)
    {
        std::unique_lock lock(mMutex);
        mChanged.wait(lock, [&] { return mRecorded.size() >= frames; });
    }

    std::string mOpenFailure;
    std::size_t mFailAt = SIZE_MAX;
    std::size_t mStallAt = SIZE_MAX;
    std::size_t mSlowAt = SIZE_MAX;
    std::vector<std::int16_t> mRecorded;
    // How playing ended: "drain close" or "drop close".
    std::string mEnd;

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
};
