#pragma once

#include "midiout/KTClock.h"

// The program's clock: std::chrono::steady_clock and real sleeping.
class KTSteadyClock final : public KTClock {
public:
    Duration now() const override;
    void sleepFor(Duration duration) override;
};
