#include "KTVirtualClock.h"

KTClock::Duration KTVirtualClock::now() const
{
    std::lock_guard lock(mMutex);
    return mNow;
}

void KTVirtualClock::sleepFor(Duration duration)
{
    std::unique_lock lock(mMutex);
    if (duration <= Duration::zero())
        return;
    if (mReleased) {
        mNow += duration;
        return;
    }
    bool woken = false;
    mSleepers.emplace(Ticket{mNow + duration, mNextTicket++}, &woken);
    advanceLocked();
    mWoken.wait(lock, [&] { return woken; });
}

void KTVirtualClock::addActive()
{
    std::lock_guard lock(mMutex);
    ++mActive;
}

void KTVirtualClock::removeActive()
{
    std::lock_guard lock(mMutex);
    --mActive;
    advanceLocked();
}

void KTVirtualClock::release()
{
    std::lock_guard lock(mMutex);
    mReleased = true;
    for (auto& [ticket, woken] : mSleepers) {
        mNow = std::max(mNow, ticket.first);
        *woken = true;
    }
    mSleepers.clear();
    mWoken.notify_all();
}

void KTVirtualClock::advanceLocked()
{
    // Only when no active thread is running does the next sleeper wake.
    if (mSleepers.empty() || static_cast<int>(mSleepers.size()) < mActive)
        return;
    auto first = mSleepers.begin();
    mNow = std::max(mNow, first->first.first);
    *first->second = true;
    mSleepers.erase(first);
    mWoken.notify_all();
}
