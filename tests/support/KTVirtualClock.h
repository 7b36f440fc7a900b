#pragma once

#include "midiout/KTClock.h"

#include <condition_variable>
#include <map>
#include <mutex>

// Virtual time for tests. Time moves only when every active thread sleeps; it
// then jumps to the earliest wake-up and wakes that sleeper (ties in the order
// they went to sleep), so pauses cost no real time and the order is fixed.
//
// The thread that creates the clock counts as active. Other threads that sleep
// on it join with addActive() and leave with removeActive() before they block
// on anything else. release() lets every sleep return at once (tear-down).
// A sleep of no time lets the other active threads run first.
class KTVirtualClock final : public KTClock {
public:
    Duration now() const override
    {
        std::lock_guard lock(mMutex);
        return mNow;
    }
    void sleepFor(Duration duration) override
    {
        std::unique_lock lock(mMutex);
        bool woken = false;
        mSleepers.emplace(mNow + duration, &woken);
        wakeLocked();
        mWoken.wait(lock, [&] { return woken; });
    }
    void addActive() { changeActive(1); }
    void removeActive() { changeActive(-1); }
    void release() { changeActive(-(1 << 30)); }

private:
    void changeActive(int change)
    {
        std::lock_guard lock(mMutex);
        mActive += change;
        wakeLocked();
    }
    // While every active thread sleeps, the earliest sleeper wakes (after a
    // release, every one).
    void wakeLocked()
    {
        while (!mSleepers.empty() && static_cast<int>(mSleepers.size()) >= mActive) {
            mNow = std::max(mNow, mSleepers.begin()->first);
            *mSleepers.begin()->second = true;
            mSleepers.erase(mSleepers.begin());
        }
        mWoken.notify_all();
    }

    mutable std::mutex mMutex;
    std::condition_variable mWoken;
    Duration mNow{0};
    int mActive = 1;
    // Sleepers by wake-up time, in arrival order; the flag turns true at their turn.
    std::multimap<Duration, bool*> mSleepers;
};
