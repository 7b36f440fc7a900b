#pragma once

#include "audioout/KTAudioDevice.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

// Plays a buffer of frames on a device, from a thread of its own, and tells an
// observer (on that thread) how far the sound has got and how playing ended.
class KTAudioPlayer {
public:
    // Frames handed to the device at a time: about 23 ms, so a stop takes effect
    // well within a tenth of a second.
    static constexpr std::size_t kChunkFrames = 1024;
    // Writes in a row that the device takes nothing from (two seconds of
    // waiting) before playing ends as failed: a device that stalls never keeps
    // the player waiting.
    static constexpr int kStalledWrites = 2000 / KTAudioDevice::kWriteWaitMilliseconds;

    struct Observer {
        // The frame now being heard, after every chunk.
        std::function<void(std::size_t frame)> position;
        // Once, last: an empty text when the buffer played out or was stopped,
        // otherwise what went wrong.
        std::function<void(const std::string& failure)> ended;
    };

    explicit KTAudioPlayer(KTAudioDevice& device);
    ~KTAudioPlayer();
    KTAudioPlayer(const KTAudioPlayer&) = delete;
    KTAudioPlayer& operator=(const KTAudioPlayer&) = delete;

    // Stops what is playing, then plays the frames. The observer's ended is
    // called in any case, also when the device cannot be opened.
    void play(std::vector<std::int16_t> frames, Observer observer);
    // Ends playing at once and returns when the playing thread has ended.
    void stop();
    // Returns when playing has ended by itself (played out or failed).
    void wait();
    bool isPlaying() const { return mPlaying.load(); }

private:
    void run(const std::vector<std::int16_t>& frames, const Observer& observer);
    std::string writeAll(const std::vector<std::int16_t>& frames, const Observer& observer);

    KTAudioDevice& mDevice;
    std::atomic<bool> mStopRequested{false};
    std::atomic<bool> mPlaying{false};
    std::thread mThread;
};
