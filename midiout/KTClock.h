#pragma once

#include <chrono>

// The one source of time for every pause the MIDI output and the transmission
// make. The program uses the steady clock; tests substitute virtual time.
class KTClock {
public:
    using Duration = std::chrono::microseconds;

    virtual ~KTClock() = default;
    // Time since an arbitrary fixed origin.
    virtual Duration now() const = 0;
    // Blocks the calling thread for the duration.
    virtual void sleepFor(Duration duration) = 0;
};
