#include "midiout/KTBankTransmission.h"

#include "midiout/KTMidiInterfaceTransmitter.h"

#include <chrono>

KTBankTransmission::KTBankTransmission(KTMidiInterfaceTransmitter& transmitter, KTClock& clock,
                                       const std::atomic<bool>& stop)
    : mTransmitter(transmitter), mClock(clock), mStop(stop)
{
}

KTBankTransmission::Result KTBankTransmission::run(const std::vector<int>& banks, const Callbacks& callbacks)
{
    for (const int bank : banks) {
        if (mStop.load())
            return {Outcome::Stopped};
        sendBank(bank, callbacks);
        if (mTransmitter.hasFailed() && !mStop.load())
            return {Outcome::Failed, bank};
    }
    return {mStop.load() ? Outcome::Stopped : Outcome::Sent};
}

void KTBankTransmission::sendBank(int bank, const Callbacks& callbacks)
{
    const KTMidiEventList dump = callbacks.dump(bank);
    const TimePoint endTime = mClock.now() + std::chrono::round<KTClock::Duration>(
                                                 std::chrono::duration<double>(callbacks.estimate(dump)));
    if (callbacks.bankStarted)
        callbacks.bankStarted(bank, dump, endTime);
    mTransmitter.transmitMidiEventDump(dump);
    waitForBank(bank, endTime, callbacks);
}

// Polls until the transmitter has finished the dump. On a stop request it
// aborts the message in flight and still waits: the transmitter refers to the
// dump until it reports its end.
void KTBankTransmission::waitForBank(int bank, TimePoint endTime, const Callbacks& callbacks)
{
    while (mTransmitter.isStillTransmitting()) {
        if (mStop.load()) {
            mTransmitter.abortTransmission();
            while (mTransmitter.isStillTransmitting())
                mClock.sleepFor(kStopCheckStep);
            return;
        }
        if (callbacks.progress)
            callbacks.progress(bank, endTime);
        sleepUntilNextPoll();
    }
}

// Sleeps until the next poll, or less when a stop is requested meanwhile.
void KTBankTransmission::sleepUntilNextPoll()
{
    for (auto slept = KTClock::Duration::zero(); slept < kPollInterval && !mStop.load(); slept += kStopCheckStep)
        mClock.sleepFor(kStopCheckStep);
}
