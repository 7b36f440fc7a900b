#include "cli/OrvaneSendProgress.h"

#include <algorithm>
#include <cstdio>

OrvaneSendProgress::OrvaneSendProgress(const KTClock& clock, bool enabled) : mClock(clock), mEnabled(enabled) {}

void OrvaneSendProgress::bankStarted(int bank, const std::string& name, const KTMidiEventList& dump,
                                     KTBankTransmission::TimePoint endTime)
{
    finish();
    mBank = "bank " + std::to_string(bank + 1) + " \"" + name + "\"";
    mBytes = 0;
    for (const KTMidiEvent& event : dump)
        mBytes += event.size();
    mSeconds = std::max(KTBankTransmission::secondsUntil(mClock, endTime), 1e-3);
    progress(endTime);
}

void OrvaneSendProgress::progress(KTBankTransmission::TimePoint endTime)
{
    if (!mEnabled)
        return;
    const double left = std::max(KTBankTransmission::secondsUntil(mClock, endTime), 0.0);
    const double done = std::clamp(1.0 - left / mSeconds, 0.0, 1.0);
    const int secondsLeft = static_cast<int>(left + 0.5);
    std::fprintf(stderr, "\r%s: %3d%%  %zu/%zu bytes  %d:%02d left ", mBank.c_str(), static_cast<int>(done * 100),
                 static_cast<std::size_t>(done * static_cast<double>(mBytes)), mBytes, secondsLeft / 60,
                 secondsLeft % 60);
    mLineOpen = true;
}

void OrvaneSendProgress::finish()
{
    if (mLineOpen)
        std::fputc('\n', stderr);
    mLineOpen = false;
}
