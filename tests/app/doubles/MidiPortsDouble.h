#pragma once

#include "midiout/KTMidiPlatform.h"

#include <string>
#include <utility>
#include <vector>

// A MIDI platform with a list of named destinations that the test can change,
// delivering the notifications the test asks for. It sends nothing: every send
// fails and completes at once.
class MidiPortsDouble final : public KTMidiPlatform {
public:
    struct Destination {
        std::string manufacturer;
        std::string displayName;
    };

    bool clientCreate(const std::string& name, NotifyProc notify) override;
    void clientDispose() override;
    KTMidiPortRef outputPortCreate(const std::string&) override { return mClientExists ? 1 : 0; }
    void outputPortDispose(KTMidiPortRef) override {}
    std::size_t numberOfDestinations() override { return mDestinations.size(); }
    KTMidiEndpointRef destination(std::size_t index) override { return index < mDestinations.size() ? index + 1 : 0; }
    std::string stringProperty(KTMidiEndpointRef endpoint, KTMidiStringProperty property) override;
    bool sendSysex(KTMidiSysexSendRequest& request) override;
    void abortSysex() override {}
    bool send(KTMidiPortRef, KTMidiEndpointRef, const std::vector<KTMidiShortMessage>&) override { return false; }

    // Delivers a notification as the platform would (here on the caller's thread).
    void notify(std::int32_t messageId)
    {
        if (mNotify)
            mNotify(messageId);
    }

    std::vector<Destination> mDestinations;
    bool mClientCreateSucceeds = true;
    std::vector<std::string> mClientNames;
    int mClientDisposals = 0;
    bool mClientExists = false;

private:
    NotifyProc mNotify;
};
