#pragma once

#include "midi/KTMidiEvent.h"

#include <string>

// Whether a bank's dump arrived whole. A dump whose messages carry another
// manufacturer, a data byte of 0x80 or more, no final F7, or sample data of
// another length than a whole bank's is damaged: loading it would put noise or
// a bank of the wrong length into the store.
class TLDumpCheck {
public:
    // Why the dump (a bank header message and the sample data message after
    // it, as a track holds them) is damaged; empty when it is whole.
    static std::string damage(const KTMidiEventList& events);
};
