#pragma once

#include "audioin/KTAudioInputDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>
#include <utility>
#include <vector>

// The sound input for tests: refuses opening when scripted to, then hands out
// a scripted interleaved signal in reads of the scripted sizes (in turn). Past
// the signal it fails when scripted to, otherwise it brings nothing, waiting
// a read's wait each time, and says once that the signal has been read. Paced,
// it hands out frames no sooner than a 44,100 Hz clock from open brings them.
class KTScriptedAudioInput final : public KTAudioInputDevice {
public:
    std::string name() const override { return "scripted"; }
    std::string open() override
    {
        mOpenedAt = std::chrono::steady_clock::now();
        return mOpenFailure;
    }
    unsigned channels() const override { return mChannels; }
    long read(std::int16_t* frames, std::size_t frameCount) override
    {
        const std::size_t left = (mSignal.size() - mPosition) / mChannels;
        if (left == 0) {
            if (mFailAtEnd)
                return -EIO;
            if (!std::exchange(mReadOut, true))
                mEnd.set_value();
            std::this_thread::sleep_for(std::chrono::milliseconds(kReadWaitMilliseconds));
            return 0;
        }
        const std::size_t count = std::min({frameCount, left, mReads[mReadCount++ % mReads.size()]});
        if (mPaced)
            std::this_thread::sleep_until(mOpenedAt + std::chrono::microseconds((mPosition / mChannels + count) *
                                                                                 1000000 / kSampleRate));
        std::memcpy(frames, mSignal.data() + mPosition, count * mChannels * sizeof(std::int16_t));
        mPosition += count * mChannels;
        return static_cast<long>(count);
    }
    unsigned overruns() const override { return 0; }
    void close() override {}

    std::string mOpenFailure;
    unsigned mChannels = 1;
    std::vector<std::int16_t> mSignal;
    std::vector<std::size_t> mReads{441};
    bool mFailAtEnd = false;
    bool mPaced = false;
    std::chrono::steady_clock::time_point mOpenedAt;
    std::size_t mPosition = 0;
    std::size_t mReadCount = 0;
    bool mReadOut = false;
    std::promise<void> mEnd;
};
