#pragma once

#include "device/TLSendProgress.h"

#include <atomic>
#include <functional>
#include <vector>

class KTClock;
class KTMidiInterfaceTransmitter;
class TLOrvane;

// Sending banks to the instrument, the same for every front end: each bank's
// dump for the channel, sent in order through a transmitter, its progress
// reported as values at its start and about once a second, and a cancel
// token that ends the message in flight with F7 and starts no further bank.
// Runs on the caller's thread; the token may be set from any thread or a
// signal handler. The bank store must not change while the job runs.
class TLSendJob {
public:
    enum class Outcome {
        Sent,
        Cancelled,
        Failed, // a bank did not arrive whole; no further bank was sent
    };
    struct Result {
        Outcome outcome = Outcome::Sent;
        // The bank that did not arrive, with Failed.
        int failedBank = -1;
    };
    // Called on the job's thread.
    using Progress = std::function<void(const TLSendProgress&)>;

    // speed: in percent of the MIDI line rate (see KTMidiInterfaceTransmitter).
    TLSendJob(TLOrvane& orvane, std::vector<int> banks, int channel, unsigned speed = 100);

    Result run(KTMidiInterfaceTransmitter& transmitter, KTClock& clock, const std::atomic<bool>& cancel,
               const Progress& progress) const;
    // The seconds the whole send takes on the line, pauses included.
    double estimatedSeconds() const;

private:
    TLOrvane& mOrvane;
    std::vector<int> mBanks;
    int mChannel;
    unsigned mSpeed;
};
