#pragma once

#include "midi/KTMidiEvent.h"
#include "midiout/KTClock.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

class KTMidiInterfaceTransmitter;

// Sends banks one after another through a transmitter: each bank's dump is
// built just before it goes out (so the dumps of different banks are never held
// together), its end time estimated by the caller's estimate, and its progress
// reported once a second. A stop request, looked for every 100 ms, aborts the
// message in flight (closed with F7 on the wire) and starts no further bank.
//
// Runs on the caller's thread; the stop flag may be set from any thread or a
// signal handler.
class KTBankTransmission {
public:
    using TimePoint = KTClock::Duration;
    // The dump of a bank, as the transmitter sends it.
    using DumpSource = std::function<KTMidiEventList(int bank)>;
    // Seconds a dump takes on the wire, pauses included.
    using Estimate = std::function<double(const KTMidiEventList& dump)>;
    // A bank starts: its dump and the estimated time (on the clock) it ends.
    using BankStarted = std::function<void(int bank, const KTMidiEventList& dump, TimePoint endTime)>;
    // Once a second while a bank goes out.
    using Progress = std::function<void(int bank, TimePoint endTime)>;

    struct Callbacks {
        DumpSource dump;
        Estimate estimate;
        BankStarted bankStarted;
        Progress progress;
    };

    static constexpr auto kPollInterval = std::chrono::seconds(1);
    static constexpr auto kStopCheckStep = std::chrono::milliseconds(100);

    KTBankTransmission(KTMidiInterfaceTransmitter& transmitter, KTClock& clock, const std::atomic<bool>& stop);

    enum class Outcome {
        Sent,
        Stopped, // a stop request ended it early
        Failed,  // a bank did not arrive whole; no further bank was sent
    };
    struct Result {
        Outcome outcome = Outcome::Sent;
        // The bank that did not arrive, with Failed.
        int failedBank = -1;
    };

    // Sends the banks in order.
    Result run(const std::vector<int>& banks, const Callbacks& callbacks);

private:
    void sendBank(int bank, const Callbacks& callbacks);
    void waitForBank(int bank, TimePoint endTime, const Callbacks& callbacks);
    void sleepUntilNextPoll();

    KTMidiInterfaceTransmitter& mTransmitter;
    KTClock& mClock;
    const std::atomic<bool>& mStop;
};
