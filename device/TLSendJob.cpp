#include "device/TLSendJob.h"

#include "device/TLOrvane.h"
#include "device/TLSendEstimate.h"
#include "midiout/KTBankTransmission.h"
#include "midiout/KTMidiInterfaceTransmitter.h"

#include <algorithm>
#include <chrono>

TLSendJob::TLSendJob(TLOrvane& orvane, std::vector<int> banks, int channel, unsigned speed)
    : mOrvane(orvane)
    , mBanks(std::move(banks))
    , mChannel(channel)
    , mSpeed(speed)
{
}

double TLSendJob::estimatedSeconds() const
{
    double seconds = 0.0;
    for (const int bank : mBanks)
        seconds += TLSendEstimate::seconds(mOrvane.makeSampleDump(bank, mChannel), mSpeed);
    return seconds;
}

TLSendJob::Result TLSendJob::run(KTMidiInterfaceTransmitter& transmitter, KTClock& clock,
                                 const std::atomic<bool>& cancel, const Progress& progress) const
{
    using TimePoint = KTBankTransmission::TimePoint;
    TLSendProgress now{0, 0, mBanks.size()};
    const auto report = [&](TimePoint endTime) {
        const double left = std::chrono::duration<double>(endTime - clock.now()).count();
        now.secondsLeft = std::clamp(left, 0.0, now.seconds);
        now.fraction = now.seconds > 0.0 ? 1.0 - now.secondsLeft / now.seconds : 1.0;
        if (progress)
            progress(now);
    };
    transmitter.setTransferSpeed(mSpeed);
    const KTBankTransmission::Callbacks callbacks{
        [this](int bank) { return mOrvane.makeSampleDump(bank, mChannel); },
        [this](const KTMidiEventList& dump) { return TLSendEstimate::seconds(dump, mSpeed); },
        [&](int bank, const KTMidiEventList& dump, TimePoint endTime) {
            now.index = static_cast<std::size_t>(std::find(mBanks.begin(), mBanks.end(), bank) - mBanks.begin());
            now.bank = bank;
            now.bytes = 0;
            for (const KTMidiEvent& event : dump)
                now.bytes += event.size();
            now.seconds = TLSendEstimate::seconds(dump, mSpeed);
            report(endTime);
        },
        [&](int, TimePoint endTime) { report(endTime); },
    };
    const KTBankTransmission::Result result = KTBankTransmission(transmitter, clock, cancel).run(mBanks, callbacks);
    switch (result.outcome) {
    case KTBankTransmission::Outcome::Sent:
        return {Outcome::Sent};
    case KTBankTransmission::Outcome::Stopped:
        return {Outcome::Cancelled};
    case KTBankTransmission::Outcome::Failed:
        break;
    }
    return {Outcome::Failed, result.failedBank};
}
