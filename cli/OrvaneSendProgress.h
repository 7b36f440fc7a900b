#pragma once

#include "midi/KTMidiEvent.h"
#include "midiout/KTBankTransmission.h"

#include <string>

// The progress of a send on stderr, rewritten in place once a second: bank,
// percent, bytes and time left, all estimated at the line rate. Silent unless
// stderr is a terminal.
class OrvaneSendProgress {
public:
    OrvaneSendProgress(const KTClock& clock, bool enabled);

    void bankStarted(int bank, const std::string& name, const KTMidiEventList& dump,
                     KTBankTransmission::TimePoint endTime);
    void progress(KTBankTransmission::TimePoint endTime);
    // Ends the line of the last bank.
    void finish();

private:
    const KTClock& mClock;
    const bool mEnabled;
    std::string mBank;
    std::size_t mBytes = 0;
    double mSeconds = 0.0;
    bool mLineOpen = false;
};
