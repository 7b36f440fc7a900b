#pragma once

#include "midi/KTMidiEvent.h"

#include <cstdint>

// A MIDI device model: turns a bank into the MIDI events that represent it and
// such events back into a bank. The owner holds and deletes a device through its
// concrete type, so the destructor is protected and not virtual.
class TLMidiDevice {
public:
    TLMidiDevice(const TLMidiDevice&) = delete;
    TLMidiDevice& operator=(const TLMidiDevice&) = delete;

    // A name or sequencer-specific meta event of the bank (kind 3, 4 or 127);
    // an empty event for any other kind.
    virtual KTMidiEvent makeMetaEvent(std::uint8_t kind, int bank) = 0;
    // The bank header message, then the sample data message for the channel.
    virtual KTMidiEventList makeSampleDump(int bank, int channel) = 0;
    // The bank number 0..63 the list carries, or -1 (no System Exclusive
    // message), -2 (no bank header first), -3 (no sample data after it).
    virtual int detectBank(const KTMidiEventList& events) = 0;
    // Stores the list's samples and names into the bank; false, with nothing
    // changed, when the list is not a bank dump.
    virtual bool loadBank(const KTMidiEventList& events, int bank) = 0;

protected:
    TLMidiDevice() = default;
    ~TLMidiDevice() = default;
};
