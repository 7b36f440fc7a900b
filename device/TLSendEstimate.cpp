#include "device/TLSendEstimate.h"

#include "midi/KTTimingConversions.h"

#include <chrono>

double TLSendEstimate::seconds(const KTMidiEventList& dump, unsigned speed)
{
    double seconds = 0.0;
    for (const KTMidiEvent& event : dump)
        seconds += static_cast<double>(event.mDelay) / 1000.0
                   + std::chrono::duration<double>(midiLineTime(event.size(), speed)).count();
    return seconds;
}
