#include "audioin/KTRecordingTake.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

KTRecordingTake::KTRecordingTake(std::optional<double> thresholdDbfs, std::size_t frameLimit)
    : mLevel(thresholdDbfs ? kFullScale * std::pow(10.0, *thresholdDbfs / 20.0) : 0.0)
    , mLimit(std::clamp<std::size_t>(frameLimit, 1, kBankFrames))
{
    mFrames.reserve(mLimit);
}

void KTRecordingTake::add(const std::int16_t* frames, std::size_t count)
{
    std::size_t used = 0;
    for (; !mStarted && used < count; ++used) {
        if (std::abs(int{frames[used]}) >= mLevel) {
            start();
            break;
        }
        mPreRoll[mPreRollNext] = frames[used];
        mPreRollNext = (mPreRollNext + 1) % kPreRollFrames;
        mPreRollCount = std::min(mPreRollCount + 1, kPreRollFrames);
    }
    if (!mStarted)
        return;
    const std::size_t kept = std::min(count - used, mLimit - mFrames.size());
    mFrames.insert(mFrames.end(), frames + used, frames + used + kept);
}

void KTRecordingTake::start()
{
    mStarted = true;
    // The ring's oldest frame is at mPreRollNext once it has gone round.
    const std::size_t oldest = mPreRollCount < kPreRollFrames ? 0 : mPreRollNext;
    for (std::size_t i = 0; i < mPreRollCount && mFrames.size() < mLimit; ++i)
        mFrames.push_back(mPreRoll[(oldest + i) % kPreRollFrames]);
}
