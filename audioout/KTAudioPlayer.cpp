#include "audioout/KTAudioPlayer.h"

#include <algorithm>
#include <cstring>

KTAudioPlayer::KTAudioPlayer(KTAudioDevice& device)
    : mDevice(device)
{
}

KTAudioPlayer::~KTAudioPlayer()
{
    stop();
}

void KTAudioPlayer::play(std::vector<std::int16_t> frames, Observer observer)
{
    stop();
    mStopRequested = false;
    mPlaying = true;
    mThread = std::thread([this, frames = std::move(frames), observer = std::move(observer)] {
        run(frames, observer);
    });
}

void KTAudioPlayer::stop()
{
    mStopRequested = true;
    if (mThread.joinable())
        mThread.join();
}

void KTAudioPlayer::wait()
{
    if (mThread.joinable())
        mThread.join();
}

void KTAudioPlayer::run(const std::vector<std::int16_t>& frames, const Observer& observer)
{
    std::string failure = mDevice.open();
    if (failure.empty()) {
        failure = writeAll(frames, observer);
        if (!failure.empty() || mStopRequested.load())
            mDevice.drop();
        else
            mDevice.drain();
        mDevice.close();
    }
    mPlaying = false;
    if (observer.ended)
        observer.ended(failure);
}

std::string KTAudioPlayer::writeAll(const std::vector<std::int16_t>& frames, const Observer& observer)
{
    std::size_t written = 0;
    int stalled = 0;
    while (written < frames.size() && !mStopRequested.load()) {
        const std::size_t count = std::min(kChunkFrames, frames.size() - written);
        const long taken = mDevice.write(frames.data() + written, count);
        if (taken < 0)
            return std::string("the sound output failed: ") + std::strerror(static_cast<int>(-taken));
        stalled = taken == 0 ? stalled + 1 : 0;
        if (stalled == kStalledWrites)
            return "the sound output takes no more data";
        written += static_cast<std::size_t>(taken);
        const long queued = std::max(0L, mDevice.delay());
        if (observer.position)
            observer.position(written - std::min(written, static_cast<std::size_t>(queued)));
    }
    return {};
}
