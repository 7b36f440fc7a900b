#pragma once

#include "audio/KTSample.h"

// Which of a sound's channels reach a mono bank: all of them mixed, as the
// converter's channel stage mixes them (the sum over the channel count,
// truncated toward zero), or the left or the right one alone. A mono sound
// gives its one channel for either side.
class KTChannelChoice {
public:
    enum class Channel { Mix, Left, Right };

    // The source's frames as one channel, in the source's sample format.
    static KTSample& toMono(KTSample& destination, const KTSample& source, Channel channel);
};
