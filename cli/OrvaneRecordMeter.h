#pragma once

#include "audioin/KTAudioRecorder.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <limits>

// The level meter of orvane record on stderr, one line rewritten in place:
// the peak in dBFS since it was last drawn, a bar from -60 to 0 dBFS,
// "armed" or "recording", the seconds taken and "CLIP" for a second after the
// input clipped. Silent unless stderr is a terminal. update() runs on the
// recorder's thread, draw() and finish() on the command's; they share atomics.
class OrvaneRecordMeter {
public:
    static constexpr int kBarWidth = 30;
    static constexpr double kBarFloorDbfs = -60.0;

    // armed: whether recording waits for a threshold (until the first level says).
    explicit OrvaneRecordMeter(bool armed);

    void update(const KTAudioRecorder::Progress& progress);
    void draw();
    // Ends the line, when one was drawn.
    void finish();

private:
    const bool mEnabled;
    bool mLineOpen = false;
    std::chrono::steady_clock::time_point mClippedAt;
    double mShownDbfs = -std::numeric_limits<double>::infinity();
    // The highest peak since the last draw (NaN: none came), and what the last
    // progress said.
    std::atomic<double> mPeakDbfs;
    std::atomic<bool> mClipped{false};
    std::atomic<bool> mRecording;
    std::atomic<std::size_t> mFrames{0};
};
