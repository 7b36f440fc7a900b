#include "midiout/KTMidiInterfaceTransmitter.h"

#include "midi/KTTimingConversions.h"

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kAllNotesOff = 0x7B;
constexpr int kChannels = 16;
constexpr auto kPauseBeforeAllNotesOff = std::chrono::milliseconds(600);
constexpr auto kPauseAfterAllNotesOff = std::chrono::milliseconds(300);
// Longest single step of a pause, so an abort is noticed soon.
constexpr auto kPauseStep = std::chrono::milliseconds(50);
// How long the destructor waits for an aborted message to end.
constexpr auto kDestructionWait = std::chrono::seconds(5);
constexpr auto kDestructionPoll = std::chrono::milliseconds(10);

KTMidiShortMessage allNotesOff(int channel)
{
    KTMidiShortMessage message;
    message.bytes[0] = static_cast<std::uint8_t>(kControlChange + channel);
    message.bytes[1] = kAllNotesOff;
    message.bytes[2] = 0x00;
    message.length = 3;
    return message;
}

} // namespace

std::uint16_t KTMidiInterfaceTransmitter::DestinationNumber(KTMidiPlatform& client)
{
    return static_cast<std::uint16_t>(client.numberOfDestinations());
}

std::string KTMidiInterfaceTransmitter::DestinationNameAt(KTMidiPlatform& client, std::size_t index)
{
    const KTMidiEndpointRef endpoint = client.destination(index);
    const std::string manufacturer = client.stringProperty(endpoint, KTMidiStringProperty::Manufacturer);
    const std::string displayName = client.stringProperty(endpoint, KTMidiStringProperty::DisplayName);
    // A missing property leaves out its part and the separator.
    if (manufacturer.empty() || displayName.empty())
        return manufacturer + displayName;
    return manufacturer + ": " + displayName;
}

std::shared_ptr<KTMidiInterfaceTransmitter>
KTMidiInterfaceTransmitter::transmitterWithClientForDestination(KTMidiPlatform& client, KTClock& clock,
                                                                 std::uint16_t index)
{
    return std::make_shared<KTMidiInterfaceTransmitter>(client, clock, index);
}

KTMidiInterfaceTransmitter::KTMidiInterfaceTransmitter(KTMidiPlatform& client, KTClock& clock,
                                                       std::uint16_t index)
    : mMidiClient(client), mClock(clock)
{
    mOutputPort = mMidiClient.outputPortCreate("OutPort");
    mSysexSendRequest.destination = mMidiClient.destination(index);
    mSysexSendRequest.completionProc = &KTMidiInterfaceTransmitter::completionProc;
    mSysexSendRequest.completionRefCon = this;
    mClock.sleepFor(kPauseBeforeAllNotesOff);
    sendAllNotesOffOverPortToDestination(mOutputPort, mSysexSendRequest.destination);
}

KTMidiInterfaceTransmitter::~KTMidiInterfaceTransmitter()
{
    if (mIsStillTransmitting) {
        abortTransmission();
        // The platform still refers to this object until the completion.
        auto waited = KTClock::Duration::zero();
        while (mIsStillTransmitting && waited < kDestructionWait) {
            mClock.sleepFor(kDestructionPoll);
            waited += kDestructionPoll;
        }
    }
    if (mOutputPort != 0)
        mMidiClient.outputPortDispose(mOutputPort);
}

void KTMidiInterfaceTransmitter::sendAllNotesOffOverPortToDestination(KTMidiPortRef port,
                                                                       KTMidiEndpointRef destination)
{
    std::vector<KTMidiShortMessage> packets;
    packets.reserve(kChannels + 1);
    for (int channel = 0; channel < kChannels; ++channel)
        packets.push_back(allNotesOff(channel));
    packets.push_back(allNotesOff(0));
    mMidiClient.send(port, destination, packets);
    mClock.sleepFor(kPauseAfterAllNotesOff);
}

void KTMidiInterfaceTransmitter::transmitMidiEventDump(const KTMidiEventList& dump)
{
    if (dump.empty())
        return;
    mAborting = false;
    mFailed = false;
    mIsStillTransmitting = true;
    mMessageToSend = dump.size();
    mMidiEventDump = &dump;
    mDumpIndex = 0;
    pauseMilliseconds(dump[0].mDelay);
    if (mAborting) {
        finish();
        return;
    }
    transmit(dump[0]);
}

void KTMidiInterfaceTransmitter::transmitMidiMessage(const KTMidiEvent& message)
{
    mAborting = false;
    mFailed = false;
    mMessage = message;
    mIsStillTransmitting = true;
    mMessageToSend = 1;
    mMidiEventDump = nullptr;
    transmit(mMessage);
}

void KTMidiInterfaceTransmitter::setTransferSpeed(unsigned speed)
{
    mSysexSendRequest.speed = std::clamp(speed, 1u, kFullSpeed);
}

void KTMidiInterfaceTransmitter::abortTransmission()
{
    mAborting = true;
    if (mIsStillTransmitting)
        mMidiClient.abortSysex();
}

void KTMidiInterfaceTransmitter::transmit(const KTMidiEvent& event)
{
    mSysexSendRequest.data = event.data();
    mSysexSendRequest.bytesToSend = static_cast<std::uint32_t>(event.size());
    mSysexSendRequest.complete = false;
    mMidiClient.sendSysex(mSysexSendRequest);
    // An abort that came just before the hand-over found nothing in flight.
    if (mAborting)
        mMidiClient.abortSysex();
    // One byte time after each hand-over, as the pause between two sends.
    mClock.sleepFor(midiLineTime(1, mSysexSendRequest.speed));
}

void KTMidiInterfaceTransmitter::completionProc(KTMidiSysexSendRequest* request)
{
    static_cast<KTMidiInterfaceTransmitter*>(request->completionRefCon)->complete();
}

void KTMidiInterfaceTransmitter::complete()
{
    if (mMessageToSend > 0)
        --mMessageToSend;
    if (mSysexSendRequest.failed)
        mFailed = true;
    if (mMessageToSend == 0 || mMidiEventDump == nullptr || mAborting || mFailed) {
        finish();
        return;
    }
    ++mDumpIndex;
    const KTMidiEvent& next = (*mMidiEventDump)[mDumpIndex];
    pauseMilliseconds(next.mDelay);
    if (mAborting) {
        finish();
        return;
    }
    transmit(next);
}

void KTMidiInterfaceTransmitter::finish()
{
    mMidiEventDump = nullptr;
    mDumpIndex = 0;
    mMessageToSend = 0;
    // Last: once this is false the owner may destroy the transmitter.
    mIsStillTransmitting = false;
}

void KTMidiInterfaceTransmitter::pauseMilliseconds(std::uint64_t milliseconds)
{
    auto remaining = std::chrono::duration_cast<KTClock::Duration>(std::chrono::milliseconds(milliseconds));
    while (remaining > KTClock::Duration::zero() && !mAborting) {
        const auto step = std::min<KTClock::Duration>(remaining, kPauseStep);
        mClock.sleepFor(step);
        remaining -= step;
    }
}
