#pragma once

#include "audioout/KTAudioDevice.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

// The sound output for tests: takes up to 300 frames a write and records them;
// scripted to refuse opening, fail or stall. Past the signal it plays slowly, a
// frame a write, like a long sound that is still being heard.
class KTRecordingAudioDevice final : public KTAudioDevice {
public:
    std::string name() const override { return "recording"; }
    std::string open() override { return mOpenFailure; }
    long write(const std::int16_t* frames, std::size_t count) override
    {
        std::lock_guard lock(mMutex);
        if (mRecorded.size() >= mFailAt)
            return -ENODEV;
        if (mRecorded.size() >= mStallAt)
            return 0;
        const std::size_t taken = mSignalled ? 1 : std::min<std::size_t>(count, 300);
        mRecorded.insert(mRecorded.end(), frames, frames + taken);
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
