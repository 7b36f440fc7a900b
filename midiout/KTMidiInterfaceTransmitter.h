#pragma once

#include "midi/KTMidiEvent.h"
#include "midiout/KTClock.h"
#include "midiout/KTMidiPlatform.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// Sends an event list of System Exclusive messages to one MIDI destination, one
// message at a time: each after the pause its mDelay gives, the next only when
// the platform has reported the previous one complete. Creation silences the
// destination with All Notes Off on every channel.
//
// Threads: creation runs on the caller (about 0.9 s of pauses); the first
// message of a list is handed over on the caller's thread, every later one from
// the platform's completion thread. isStillTransmitting and abortTransmission
// may be called from any thread.
class KTMidiInterfaceTransmitter {
public:
    // The number of destinations the platform offers, cut to 16 bits.
    static std::uint16_t DestinationNumber(KTMidiPlatform& client);
    // "manufacturer: display name" of the destination at the index; only the
    // one that exists when the other is missing, empty when both are.
    static std::string DestinationNameAt(KTMidiPlatform& client, std::size_t index);

    // A new transmitter for the destination at the index; returns after the
    // All Notes Off and its pauses. The caller keeps it alive until
    // isStillTransmitting reports false.
    static std::shared_ptr<KTMidiInterfaceTransmitter>
    transmitterWithClientForDestination(KTMidiPlatform& client, KTClock& clock, std::uint16_t index);

    KTMidiInterfaceTransmitter(KTMidiPlatform& client, KTClock& clock, std::uint16_t index);
    // Aborts a transmission still running and waits (bounded) for its end, then
    // disposes of the output port.
    ~KTMidiInterfaceTransmitter();
    KTMidiInterfaceTransmitter(const KTMidiInterfaceTransmitter&) = delete;
    KTMidiInterfaceTransmitter& operator=(const KTMidiInterfaceTransmitter&) = delete;

    // Starts sending the list; returns once its first message is handed over.
    // The list must stay alive and unchanged until isStillTransmitting is false.
    // An empty list sends nothing and leaves the transmitter Ready.
    void transmitMidiEventDump(const KTMidiEventList& dump);
    // Starts sending one message at once. The message is copied.
    void transmitMidiMessage(const KTMidiEvent& message);
    bool isStillTransmitting() const { return mIsStillTransmitting.load(); }
    // After the end of a transmission: true when a message did not arrive
    // whole (the destination went away or kept refusing data). The rest of the
    // list is then not sent.
    bool hasFailed() const { return mFailed.load(); }

    // Ends the transmission early (cancel, quit): no further message starts, a
    // pause in progress ends, and the message in flight stops at its next piece
    // and is closed with F7 on the wire. isStillTransmitting turns false once
    // the platform has reported the message's end. Harmless when Ready.
    void abortTransmission();
    // Sends from now on go at this speed, in percent of the MIDI line rate
    // (1 to 100; the line rate unless set), for interfaces that lose bytes at
    // full rate. The bytes sent and their order stay the same.
    void setTransferSpeed(unsigned speed);

private:
    void transmit(const KTMidiEvent& event);
    void complete();
    void sendAllNotesOffOverPortToDestination(KTMidiPortRef port, KTMidiEndpointRef destination);
    static void completionProc(KTMidiSysexSendRequest* request);
    // Pauses in short steps so that an abort ends the pause promptly.
    void pauseMilliseconds(std::uint64_t milliseconds);
    void finish();

    KTMidiPlatform& mMidiClient;
    KTMidiSysexSendRequest mSysexSendRequest;
    std::atomic<bool> mIsStillTransmitting{false};
    const KTMidiEventList* mMidiEventDump = nullptr;
    std::uint64_t mDumpIndex = 0;
    std::uint64_t mMessageToSend = 0;

    KTClock& mClock;
    // Kept only to dispose of the port with the transmitter, so that repeated
    // transmissions do not pile up ports on the client.
    KTMidiPortRef mOutputPort = 0;
    std::atomic<bool> mAborting{false};
    std::atomic<bool> mFailed{false};
    // The copy that transmitMidiMessage sends from.
    KTMidiEvent mMessage;
};
