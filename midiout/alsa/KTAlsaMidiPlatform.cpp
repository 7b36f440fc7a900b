#include "midiout/alsa/KTAlsaMidiPlatform.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

constexpr unsigned kDestinationCaps = SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_SUBS_WRITE;
constexpr KTMidiEndpointRef kEndpointTag = KTMidiEndpointRef(1) << 32;
constexpr std::size_t kEncoderBytes = 16;

bool isVisible(const snd_seq_port_info_t* info)
{
    return (snd_seq_port_info_get_capability(info) & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
}

bool isDestination(const snd_seq_port_info_t* info)
{
    const unsigned caps = snd_seq_port_info_get_capability(info);
    return (caps & kDestinationCaps) == kDestinationCaps && (caps & SND_SEQ_PORT_CAP_NO_EXPORT) == 0;
}

} // namespace

KTAlsaMidiPlatform::KTAlsaMidiPlatform(KTClock& clock, std::string device)
    : mClock(clock), mDevice(std::move(device)),
      mPacer(clock, [this](KTMidiEndpointRef endpoint, const std::uint8_t* data, std::size_t size) {
          return writePiece(endpoint, data, size);
      })
{
}

KTAlsaMidiPlatform::~KTAlsaMidiPlatform()
{
    clientDispose();
}

bool KTAlsaMidiPlatform::clientCreate(const std::string& name, NotifyProc notify)
{
    {
        std::lock_guard lock(mMutex);
        if (mSeq != nullptr)
            return false;
        snd_seq_t* seq = nullptr;
        if (snd_seq_open(&seq, mDevice.c_str(), SND_SEQ_OPEN_DUPLEX, SND_SEQ_NONBLOCK) < 0)
            return false;
        mSeq = seq;
        snd_seq_set_client_name(mSeq, name.c_str());
        mClientId = snd_seq_client_id(mSeq);
        if (!openPrivatePortLocked()) {
            snd_seq_close(mSeq);
            mSeq = nullptr;
            mClientId = -1;
            return false;
        }
        mNotify = std::move(notify);
        mVisiblePorts = visiblePortsLocked();
    }
    startWatcher();
    return true;
}

bool KTAlsaMidiPlatform::openPrivatePortLocked()
{
    // Sends the SysEx and hears the announcements; hidden from other clients.
    mPrivatePort = snd_seq_create_simple_port(
        mSeq, "SysEx",
        SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_WRITE | SND_SEQ_PORT_CAP_NO_EXPORT,
        SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    if (mPrivatePort < 0)
        return false;
    snd_seq_connect_from(mSeq, mPrivatePort, SND_SEQ_CLIENT_SYSTEM, SND_SEQ_PORT_SYSTEM_ANNOUNCE);
    return true;
}

void KTAlsaMidiPlatform::clientDispose()
{
    stopWatcher();
    mPacer.abortAll();
    std::lock_guard lock(mMutex);
    if (mSeq != nullptr)
        snd_seq_close(mSeq);
    mSeq = nullptr;
    mClientId = -1;
    mPrivatePort = -1;
    mNotify = nullptr;
    mVisiblePorts.clear();
}

KTMidiPortRef KTAlsaMidiPlatform::outputPortCreate(const std::string& name)
{
    std::lock_guard lock(mMutex);
    if (mSeq == nullptr)
        return 0;
    const int port = snd_seq_create_simple_port(mSeq, name.c_str(),
                                                SND_SEQ_PORT_CAP_READ | SND_SEQ_PORT_CAP_SUBS_READ,
                                                SND_SEQ_PORT_TYPE_MIDI_GENERIC | SND_SEQ_PORT_TYPE_APPLICATION);
    return port < 0 ? 0 : KTMidiPortRef(port) + 1;
}

void KTAlsaMidiPlatform::outputPortDispose(KTMidiPortRef port)
{
    std::lock_guard lock(mMutex);
    if (mSeq != nullptr && port != 0)
        snd_seq_delete_simple_port(mSeq, int(port - 1));
}

std::vector<KTAlsaMidiPlatform::Address> KTAlsaMidiPlatform::destinationsLocked()
{
    return portsOfOtherClientsLocked(isDestination);
}

// The ports of every client but the system and our own that the filter
// accepts, in client then port order.
std::vector<KTAlsaMidiPlatform::Address> KTAlsaMidiPlatform::portsOfOtherClientsLocked(PortFilter accept)
{
    std::vector<Address> found;
    if (mSeq == nullptr)
        return found;
    snd_seq_client_info_t* client = nullptr;
    snd_seq_port_info_t* port = nullptr;
    snd_seq_client_info_alloca(&client);
    snd_seq_port_info_alloca(&port);
    snd_seq_client_info_set_client(client, -1);
    while (snd_seq_query_next_client(mSeq, client) >= 0) {
        const int id = snd_seq_client_info_get_client(client);
        if (id == SND_SEQ_CLIENT_SYSTEM || id == mClientId)
            continue;
        snd_seq_port_info_set_client(port, id);
        snd_seq_port_info_set_port(port, -1);
        while (snd_seq_query_next_port(mSeq, port) >= 0) {
            if (accept(port))
                found.push_back({id, snd_seq_port_info_get_port(port)});
        }
    }
    return found;
}

std::size_t KTAlsaMidiPlatform::numberOfDestinations()
{
    std::lock_guard lock(mMutex);
    return destinationsLocked().size();
}

KTMidiEndpointRef KTAlsaMidiPlatform::destination(std::size_t index)
{
    std::lock_guard lock(mMutex);
    const std::vector<Address> all = destinationsLocked();
    return index < all.size() ? endpointOf(all[index]) : 0;
}

std::string KTAlsaMidiPlatform::stringProperty(KTMidiEndpointRef endpoint, KTMidiStringProperty property)
{
    Address address{};
    std::lock_guard lock(mMutex);
    if (mSeq == nullptr || !addressOf(endpoint, address))
        return {};
    if (property == KTMidiStringProperty::Manufacturer) {
        snd_seq_client_info_t* client = nullptr;
        snd_seq_client_info_alloca(&client);
        if (snd_seq_get_any_client_info(mSeq, address.client, client) < 0)
            return {};
        return snd_seq_client_info_get_name(client);
    }
    snd_seq_port_info_t* port = nullptr;
    snd_seq_port_info_alloca(&port);
    if (snd_seq_get_any_port_info(mSeq, address.client, address.port, port) < 0)
        return {};
    return snd_seq_port_info_get_name(port);
}

void KTAlsaMidiPlatform::connectLocked(int port, Address destination)
{
    // A hardware port opens its device only while someone is subscribed to
    // it; the subscription stays until the port or the client goes, so data
    // still draining is not dropped. Already connected is fine.
    snd_seq_connect_to(mSeq, port, destination.client, destination.port);
}

bool KTAlsaMidiPlatform::sendSysex(KTMidiSysexSendRequest& request)
{
    Address address{};
    bool reachable = false;
    {
        std::lock_guard lock(mMutex);
        reachable = mSeq != nullptr && addressOf(request.destination, address);
        if (reachable)
            connectLocked(mPrivatePort, address);
    }
    // Without a client the piece writer refuses, so the completion still comes.
    return mPacer.submit(request) && reachable;
}

void KTAlsaMidiPlatform::abortSysex()
{
    mPacer.abortAll();
}

int KTAlsaMidiPlatform::writePiece(KTMidiEndpointRef endpoint, const std::uint8_t* data, std::size_t size)
{
    Address address{};
    if (!addressOf(endpoint, address))
        return -EINVAL;
    std::lock_guard lock(mMutex);
    if (mSeq == nullptr)
        return -ENODEV;
    snd_seq_event_t event;
    snd_seq_ev_clear(&event);
    snd_seq_ev_set_source(&event, mPrivatePort);
    snd_seq_ev_set_dest(&event, address.client, address.port);
    snd_seq_ev_set_direct(&event);
    snd_seq_ev_set_sysex(&event, size, const_cast<std::uint8_t*>(data));
    const int result = snd_seq_event_output_direct(mSeq, &event);
    return result < 0 ? result : 0;
}

bool KTAlsaMidiPlatform::send(KTMidiPortRef port, KTMidiEndpointRef endpoint,
                              const std::vector<KTMidiShortMessage>& messages)
{
    Address address{};
    std::lock_guard lock(mMutex);
    if (mSeq == nullptr || port == 0 || !addressOf(endpoint, address))
        return false;
    connectLocked(int(port - 1), address);
    snd_midi_event_t* encoder = nullptr;
    if (snd_midi_event_new(kEncoderBytes, &encoder) < 0)
        return false;
    bool allSent = true;
    for (const KTMidiShortMessage& message : messages) {
        snd_seq_event_t event;
        snd_seq_ev_clear(&event);
        snd_midi_event_reset_encode(encoder);
        const long used = snd_midi_event_encode(encoder, message.bytes, std::min<long>(message.length, 3), &event);
        if (used <= 0 || event.type == SND_SEQ_EVENT_NONE) {
            allSent = false;
            continue;
        }
        snd_seq_ev_set_source(&event, int(port - 1));
        snd_seq_ev_set_dest(&event, address.client, address.port);
        snd_seq_ev_set_direct(&event);
        if (snd_seq_event_output_direct(mSeq, &event) < 0)
            allSent = false;
    }
    snd_midi_event_free(encoder);
    return allSent;
}

void KTAlsaMidiPlatform::startWatcher()
{
    if (pipe2(mWakePipe, O_CLOEXEC | O_NONBLOCK) < 0) {
        mWakePipe[0] = mWakePipe[1] = -1;
        return;
    }
    mWatcher = std::thread([this] { watch(); });
}

void KTAlsaMidiPlatform::stopWatcher()
{
    if (mWatcher.joinable()) {
        const char stop = 1;
        [[maybe_unused]] const ssize_t written = write(mWakePipe[1], &stop, 1);
        mWatcher.join();
    }
    for (int& fd : mWakePipe) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void KTAlsaMidiPlatform::watch()
{
    std::vector<pollfd> fds(1);
    fds[0] = {mWakePipe[0], POLLIN, 0};
    {
        std::lock_guard lock(mMutex);
        const int count = snd_seq_poll_descriptors_count(mSeq, POLLIN);
        fds.resize(1 + std::size_t(std::max(count, 0)));
        snd_seq_poll_descriptors(mSeq, fds.data() + 1, unsigned(fds.size() - 1), POLLIN);
    }
    for (;;) {
        if (poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents != 0)
            return;
        for (std::size_t i = 1; i < fds.size(); ++i) {
            if ((fds[i].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)
                return; // the sequencer went away
        }
        if (readAnnouncements() && mNotify)
            mNotify(kSetupChanged);
    }
}

// Drains the announcements that have arrived. Only a change of the ports that
// other clients show counts: a client starting or ending without such ports
// (every short-lived tool that lists ports does) is no change of the set-up.
bool KTAlsaMidiPlatform::readAnnouncements()
{
    bool changed = false;
    std::lock_guard lock(mMutex);
    for (;;) {
        snd_seq_event_t* event = nullptr;
        const int result = snd_seq_event_input(mSeq, &event);
        if (result == -ENOSPC) {
            // Announcements were lost: compare with a fresh look instead.
            std::set<PortKey> now = visiblePortsLocked();
            changed = changed || now != mVisiblePorts;
            mVisiblePorts = std::move(now);
            continue;
        }
        if (result < 0 || event == nullptr)
            return changed;
        if (event->data.addr.client != mClientId && noteAnnouncementLocked(*event))
            changed = true;
    }
}

bool KTAlsaMidiPlatform::noteAnnouncementLocked(const snd_seq_event_t& event)
{
    const PortKey key{event.data.addr.client, event.data.addr.port};
    switch (event.type) {
    case SND_SEQ_EVENT_PORT_START:
    case SND_SEQ_EVENT_PORT_CHANGE: {
        snd_seq_port_info_t* port = nullptr;
        snd_seq_port_info_alloca(&port);
        const bool visible = snd_seq_get_any_port_info(mSeq, key.first, key.second, port) >= 0 && isVisible(port);
        const bool known = mVisiblePorts.count(key) != 0;
        if (visible)
            mVisiblePorts.insert(key);
        else
            mVisiblePorts.erase(key);
        return visible || known;
    }
    case SND_SEQ_EVENT_PORT_EXIT:
        return mVisiblePorts.erase(key) != 0;
    case SND_SEQ_EVENT_CLIENT_CHANGE: {
        // A renamed client renames its ports in the port list.
        const auto first = mVisiblePorts.lower_bound({key.first, 0});
        return first != mVisiblePorts.end() && first->first == key.first;
    }
    default:
        return false;
    }
}

std::set<KTAlsaMidiPlatform::PortKey> KTAlsaMidiPlatform::visiblePortsLocked()
{
    std::set<PortKey> found;
    for (const Address& address : portsOfOtherClientsLocked(isVisible))
        found.insert({address.client, address.port});
    return found;
}

KTMidiEndpointRef KTAlsaMidiPlatform::endpointOf(Address address)
{
    return kEndpointTag | (KTMidiEndpointRef(address.client) << 16) | KTMidiEndpointRef(address.port);
}

bool KTAlsaMidiPlatform::addressOf(KTMidiEndpointRef endpoint, Address& address)
{
    if ((endpoint & ~KTMidiEndpointRef(0xFFFFFFFF)) != kEndpointTag)
        return false;
    address.client = int((endpoint >> 16) & 0xFFFF);
    address.port = int(endpoint & 0xFFFF);
    return true;
}
