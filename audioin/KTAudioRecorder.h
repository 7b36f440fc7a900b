#pragma once

#include "audio/KTChannelChoice.h"
#include "audioin/KTAudioInputDevice.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

// Records a take for a bank from a sound input, on a thread of its own: the
// device's channels mixed to mono as an import mixes them (the sum divided by
// the channel count, truncated toward zero), or its left or right channel
// alone; armed until a threshold is reached when one is given (see
// KTRecordingTake: 10 ms pre-roll); ended at the frame limit (at most a
// bank's length, 65,536 frames), by stop() or cancel(), or by a failing input.
// Every frame the device delivers is metered and used once, in order. Memory:
// the take (at most 128 KiB) and a read block; nothing else grows.
//
// Use: start() with the options and an observer, then either wait() for the
// take to fill up or stop() / cancel() it. The observer is called on the
// recorder's thread, never on the caller's: a window hands what it gets over
// to its own thread. It must not call the recorder, and what it captures must
// outlive the recording (the destructor cancels it and calls ended).
class KTAudioRecorder {
public:
    using Channel = KTChannelChoice::Channel;

    // Frames a level is measured over: 20 ms, fifty levels a second.
    static constexpr std::size_t kLevelFrames = 882;
    // Frames asked of the device a read (at most 20 ms: reads return sooner).
    static constexpr std::size_t kReadFrames = 882;
    // Reads in a row that bring nothing (two seconds) before the recording
    // ends as failed: a device that stalls never keeps the recorder waiting.
    static constexpr int kStalledReads = 2000 / KTAudioInputDevice::kReadWaitMilliseconds;

    struct Options {
        Channel channel = Channel::Mix;
        // None: the take starts at the first frame. Otherwise a level in dBFS
        // (full scale 32768) that a sample of the recorded channel must reach.
        std::optional<double> thresholdDbfs;
        // The take's length at most, 1 to 65,536 frames.
        std::size_t frameLimit = 65536;
    };

    // After every kLevelFrames frames captured, armed or recording, and once
    // for the frames left over at the end.
    struct Progress {
        // The peak of those frames in the recorded channel, in dBFS (minus
        // infinity for silence, 0 for a sample of -32768).
        double peakDbfs = 0.0;
        // A sample of any of the device's channels sat at an end of the 16-bit
        // range (32767 or -32768): the input clipped.
        bool clipped = false;
        // False while armed (waiting for the threshold).
        bool recording = false;
        // The take's frames so far, and those added since the last progress
        // (the pre-roll with the first ones): enough to draw it filling in.
        // The frames are valid during the call only.
        std::size_t takeFrames = 0;
        std::span<const std::int16_t> added;
    };

    // Once, last.
    struct Ending {
        // The mono take at 44,100 Hz. Empty when cancelled, failed, or stopped
        // while still armed.
        std::vector<std::int16_t> take;
        // Empty, or why recording failed in plain words (the device could not
        // be opened: busy, missing...; it failed or stalled while recording).
        std::string failure;
        bool cancelled = false;
        // Times the device's buffer ran over (frames were lost there).
        unsigned overruns = 0;
    };

    struct Observer {
        std::function<void(const Progress&)> progress;
        std::function<void(Ending&&)> ended;
    };

    explicit KTAudioRecorder(KTAudioInputDevice& device);
    ~KTAudioRecorder();
    KTAudioRecorder(const KTAudioRecorder&) = delete;
    KTAudioRecorder& operator=(const KTAudioRecorder&) = delete;

    // Cancels a recording in progress, then opens the device and records on
    // the recorder's thread; returns at once. ended is called in any case,
    // also when the device cannot be opened.
    void start(Options options, Observer observer);
    // Ends the take, keeping what was recorded. Returns when the recorder's
    // thread has ended (within about a read's wait, 20 ms), ended called.
    void stop();
    // The same, discarding the take.
    void cancel();
    // Returns when recording has ended by itself (the take full, or failed).
    void wait();
    bool isRecording() const { return mRecording.load(); }

private:
    void run(const Options& options, const Observer& observer);
    std::string capture(const Options& options, const Observer& observer, std::vector<std::int16_t>& take);
    void join();

    KTAudioInputDevice& mDevice;
    std::atomic<bool> mStopRequested{false};
    std::atomic<bool> mCancelRequested{false};
    std::atomic<bool> mRecording{false};
    std::thread mThread;
};
