#include "midiout/KTSteadyClock.h"

#include <thread>

KTClock::Duration KTSteadyClock::now() const
{
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now().time_since_epoch());
}

void KTSteadyClock::sleepFor(Duration duration)
{
    if (duration > Duration::zero())
        std::this_thread::sleep_for(duration);
}
