#pragma once

#include "midiout/KTClock.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <utility>

// Virtual time for tests. Time moves only when every active thread sleeps; it
// then jumps to the earliest wake-up and wakes that sleeper (ties in the order
// they went to sleep), so pauses cost no real time and the order is fixed.
//
// The thread that creates the clock counts as active. Other threads that sleep
// on it join with addActive() and leave with removeActive() before they block
// on anything else. release() lets every sleep return at once (tear-down).
class KTVirtualClock final : public KTClock {
public:
    Duration now() const override;
    void sleepFor(Duration duration) override;

    void addActive();
    void removeActive();
    void release();

private:
    using Ticket = std::pair<Duration, std::uint64_t>;

    void advanceLocked();

    mutable std::mutex mMutex;
    std::condition_variable mWoken;
    Duration mNow{0};
    int mActive = 1;
    bool mReleased = false;
    std::uint64_t mNextTicket = 0;
    // Sleepers by wake-up time; the flag turns true when it is their turn.
    std::map<Ticket, bool*> mSleepers;
};
