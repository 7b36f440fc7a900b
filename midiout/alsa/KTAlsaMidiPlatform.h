#pragma once

#include "midiout/KTClock.h"
#include "midiout/KTMidiPlatform.h"
#include "midiout/KTSysexPacer.h"

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

struct _snd_seq;
struct snd_seq_event;
struct _snd_seq_port_info;

// The MIDI platform on the ALSA sequencer. Destinations are the ports of other
// clients that accept subscribed writes (not the system client, not our own,
// not NO_EXPORT), in client then port order; the manufacturer is the client's
// name and the display name the port's. SysEx leaves from a private port of
// the client, paced by KTSysexPacer; the System Announce port is watched
// on a thread of its own, and a change of the ports other clients show is
// reported as the set-up changed notification.
//
// One sequencer handle serves every thread, guarded by one mutex.
class KTAlsaMidiPlatform final : public KTMidiPlatform {
public:
    // device: the sequencer to open, "default" for the system's.
    explicit KTAlsaMidiPlatform(KTClock& clock, std::string device = "default");
    ~KTAlsaMidiPlatform() override;
    KTAlsaMidiPlatform(const KTAlsaMidiPlatform&) = delete;
    KTAlsaMidiPlatform& operator=(const KTAlsaMidiPlatform&) = delete;

    bool clientCreate(const std::string& name, NotifyProc notify) override;
    void clientDispose() override;
    KTMidiPortRef outputPortCreate(const std::string& name) override;
    void outputPortDispose(KTMidiPortRef port) override;
    std::size_t numberOfDestinations() override;
    KTMidiEndpointRef destination(std::size_t index) override;
    std::string stringProperty(KTMidiEndpointRef endpoint, KTMidiStringProperty property) override;
    bool sendSysex(KTMidiSysexSendRequest& request) override;
    void abortSysex() override;
    bool send(KTMidiPortRef port, KTMidiEndpointRef endpoint,
              const std::vector<KTMidiShortMessage>& messages) override;

private:
    struct Address {
        int client;
        int port;
    };

    using PortFilter = bool (*)(const _snd_seq_port_info* port);

    std::vector<Address> destinationsLocked();
    std::vector<Address> portsOfOtherClientsLocked(PortFilter accept);
    void connectLocked(int port, Address destination);
    int writePiece(KTMidiEndpointRef endpoint, const std::uint8_t* data, std::size_t size);
    bool openPrivatePortLocked();
    void startWatcher();
    void stopWatcher();
    void watch();
    bool readAnnouncements();
    // Ports of other clients that they do not hide, by client and port.
    using PortKey = std::pair<int, int>;
    std::set<PortKey> visiblePortsLocked();
    // Updates the visible ports from one announcement; true when they changed.
    bool noteAnnouncementLocked(const snd_seq_event& event);

    static KTMidiEndpointRef endpointOf(Address address);
    static bool addressOf(KTMidiEndpointRef endpoint, Address& address);

    KTClock& mClock;
    const std::string mDevice;
    std::mutex mMutex;
    _snd_seq* mSeq = nullptr;
    std::atomic<int> mClientId{-1};
    int mPrivatePort = -1;
    NotifyProc mNotify;
    int mWakePipe[2] = {-1, -1};
    std::thread mWatcher;
    // Kept by the watcher thread, under the mutex.
    std::set<PortKey> mVisiblePorts;
    KTSysexPacer mPacer;
};
