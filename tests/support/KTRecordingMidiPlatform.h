#pragma once

#include "KTVirtualClock.h"
#include "midiout/KTMidiPlatform.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A MIDI platform for tests: a list of named destinations that the test edits,
// a log of every call, and SysEx sends that a thread of its own completes at
// the MIDI line rate (320 us a byte, in pieces of 256 bytes) in virtual time.
class KTRecordingMidiPlatform final : public KTMidiPlatform {
public:
    static constexpr KTClock::Duration kByteTime = std::chrono::microseconds(320);
    static constexpr std::size_t kPieceBytes = 256;

    struct Destination {
        std::string manufacturer;
        std::string displayName;
        KTMidiEndpointRef endpoint;
    };
    // One platform call as it happened.
    struct Call {
        KTClock::Duration time{};
        std::string name;
        KTMidiEndpointRef endpoint = 0;
        KTMidiPortRef port = 0;
        std::vector<std::uint8_t> bytes;
    };
    // One SysEx message as it went out: the bytes that reached the
    // destination (an aborted one ends with the closing F7) and when.
    struct Sysex {
        KTMidiEndpointRef endpoint = 0;
        std::vector<std::uint8_t> bytes;
        KTClock::Duration started{};
        KTClock::Duration completed{};
        bool aborted = false;
        bool delivered = true; // false when the destination was missing or vanished
    };

    explicit KTRecordingMidiPlatform(KTVirtualClock& clock);
    ~KTRecordingMidiPlatform() override;

    // Test controls.
    KTMidiEndpointRef addDestination(const std::string& manufacturer, const std::string& displayName);
    void removeDestination(KTMidiEndpointRef endpoint);

    std::vector<Call> calls() const;
    std::vector<Call> callsNamed(const std::string& name) const;
    std::vector<Sysex> sysexSent() const;

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
    struct Job {
        KTMidiSysexSendRequest* request;
        bool aborted;
    };

    void record(Call call);
    bool knownLocked(KTMidiEndpointRef endpoint) const;
    void run();
    bool nextJob(Job& job);
    Sysex deliver(const KTMidiSysexSendRequest& request);

    KTVirtualClock& mClock;
    mutable std::mutex mMutex;
    std::condition_variable mWake;
    std::vector<Destination> mDestinations;
    KTMidiEndpointRef mNextEndpoint = 1;
    KTMidiPortRef mNextPort = 1;
    std::vector<Call> mCalls;
    std::vector<Sysex> mSysex;
    std::deque<Job> mJobs;
    bool mBusy = false;
    bool mStopping = false;
    std::atomic<bool> mRunningAborted{false};
    std::thread mThread;
};
