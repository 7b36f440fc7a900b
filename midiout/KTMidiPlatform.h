#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A destination endpoint; 0 names none.
using KTMidiEndpointRef = std::uint64_t;
// An output port of the client; 0 names none.
using KTMidiPortRef = std::uint32_t;

// One System Exclusive send in flight. The transmitter fills in the destination,
// the completion procedure and its reference once, and the bytes for every message.
struct KTMidiSysexSendRequest {
    KTMidiEndpointRef destination = 0;
    const std::uint8_t* data = nullptr;
    std::uint32_t bytesToSend = 0;
    bool complete = false;
    void (*completionProc)(KTMidiSysexSendRequest* request) = nullptr;
    void* completionRefCon = nullptr;
    // Set with complete when the send ended before every byte was handed over
    // for another reason than an abort: no destination, or one that went away
    // or kept refusing data.
    bool failed = false;
    // How fast the bytes go out, in percent of the MIDI line rate.
    unsigned speed = 100;
};

// A short message (three bytes at most) for immediate sending.
struct KTMidiShortMessage {
    std::uint8_t bytes[3] = {0, 0, 0};
    std::uint8_t length = 0;
};

enum class KTMidiStringProperty { Manufacturer, DisplayName };

// The MIDI system the output logic stands on: one client of the application with
// its output port, the destinations it can send to, and the sends. The program
// uses the ALSA sequencer; tests use a recording double.
class KTMidiPlatform {
public:
    // The message identifier the set-up changed notification carries.
    static constexpr std::int32_t kSetupChanged = 1;
    using NotifyProc = std::function<void(std::int32_t messageId)>;

    virtual ~KTMidiPlatform() = default;

    // Creates the application's client; notify is called, on a thread of the
    // platform, whenever destinations appear, go away or change. False when the
    // MIDI system cannot be reached: the platform then has no destinations.
    virtual bool clientCreate(const std::string& name, NotifyProc notify) = 0;
    virtual void clientDispose() = 0;

    virtual KTMidiPortRef outputPortCreate(const std::string& name) = 0;
    virtual void outputPortDispose(KTMidiPortRef port) = 0;

    virtual std::size_t numberOfDestinations() = 0;
    // The endpoint at the index, or 0 when the index names no destination.
    virtual KTMidiEndpointRef destination(std::size_t index) = 0;
    // The property's text, or empty when the endpoint has none.
    virtual std::string stringProperty(KTMidiEndpointRef endpoint, KTMidiStringProperty property) = 0;

    // Starts sending request.bytesToSend bytes from request.data and returns at
    // once. When every byte has been handed over (or the send ended early: abort,
    // destination gone), sets request.complete and calls request.completionProc
    // exactly once, on a thread of the platform. The bytes stay valid until then.
    // False when the send could not start; the completion is then still called.
    virtual bool sendSysex(KTMidiSysexSendRequest& request) = 0;
    // Ends the System Exclusive send in flight at its next piece and closes the
    // message on the wire with F7; its completion is still called once.
    virtual void abortSysex() = 0;
    // Sends short messages over the port to the endpoint at once.
    virtual bool send(KTMidiPortRef port, KTMidiEndpointRef endpoint,
                      const std::vector<KTMidiShortMessage>& messages) = 0;
};
