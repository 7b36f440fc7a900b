#pragma once

#include "midi/KTMidiEvent.h"

// How long a dump takes to send: every event's bytes at the MIDI line rate (or
// the slower speed, in percent of it) plus the pause it asks for before it
// (mDelay, milliseconds).
class TLSendEstimate {
public:
    static double seconds(const KTMidiEventList& dump, unsigned speed = 100);
};
