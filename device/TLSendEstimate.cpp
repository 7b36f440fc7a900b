#include "device/TLSendEstimate.h"

#include "midi/KTTimingConversions.h"

double TLSendEstimate::seconds(const KTMidiEventList& dump)
{
    double seconds = 0.0;
    for (const KTMidiEvent& event : dump)
        seconds += static_cast<double>(event.mDelay) / 1000.0
                   + static_cast<double>(event.size()) / kMidiLineBytesPerSecond;
    return seconds;
}
