#pragma once

#include "midiout/KTSteadyClock.h"
#include "midiout/alsa/KTAlsaMidiPlatform.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

// The ALSA sequencer client of the command line and its destinations, named
// and numbered (from 1) as the window lists them.
class OrvaneMidiPorts {
public:
    // Fails when the sequencer cannot be reached.
    OrvaneMidiPorts();
    ~OrvaneMidiPorts();
    OrvaneMidiPorts(const OrvaneMidiPorts&) = delete;
    OrvaneMidiPorts& operator=(const OrvaneMidiPorts&) = delete;

    const std::vector<std::string>& titles() const { return mTitles; }
    // The destination a shown name or a number from `orvane ports` names;
    // a failure naming the port when none does.
    std::uint16_t find(const QString& port) const;

    KTAlsaMidiPlatform& platform() { return mPlatform; }
    KTSteadyClock& clock() { return mClock; }

private:
    KTSteadyClock mClock;
    KTAlsaMidiPlatform mPlatform{mClock};
    std::vector<std::string> mTitles;
};
