#pragma once

#include "KTVirtualClock.h"
#include "midiout/KTMidiPlatform.h"
#include "midiout/KTSysexPacer.h"

#include <list>
#include <string>
#include <utility>
#include <vector>

// The MIDI platform for tests: the product's SysEx pacer in virtual time with a
// piece writer that records what goes on the wire, destinations the test edits
// (destination i has the endpoint i + 1) and a log of every call. Ports are kPort.
class KTRecordingMidiPlatform final : public KTMidiPlatform {
public:
    using Bytes = std::vector<std::uint8_t>;
    using Destination = std::pair<std::string, std::string>; // manufacturer, display name
    // A call, or a "piece" the pacer wrote, and when it happened.
    struct Call {
        KTClock::Duration time{};
        std::string name{};
        KTMidiEndpointRef endpoint = 0;
        KTMidiPortRef port = 0;
        Bytes bytes{};
    };
    static constexpr KTMidiPortRef kPort = 7;

    explicit KTRecordingMidiPlatform(KTVirtualClock& clock) : mClock(clock) {}
    // Nobody drives virtual time any more: the pacer's last pauses pass at once.
    ~KTRecordingMidiPlatform() override { mClock.release(); }

    bool clientCreate(const std::string& name, NotifyProc notify) override
    {
        record({.name = "clientCreate:" + name});
        mNotify = std::move(notify);
        return mClientCreateSucceeds;
    }
    void clientDispose() override { record({.name = "clientDispose"}); }
    KTMidiPortRef outputPortCreate(const std::string& name) override
    {
        record({.name = "outputPortCreate:" + name, .port = kPort});
        return kPort;
    }
    void outputPortDispose(KTMidiPortRef port) override { record({.name = "outputPortDispose", .port = port}); }
    std::size_t numberOfDestinations() override { return mDestinations.size(); }
    KTMidiEndpointRef destination(std::size_t index) override { return index < mDestinations.size() ? index + 1 : 0; }
    std::string stringProperty(KTMidiEndpointRef endpoint, KTMidiStringProperty property) override
    {
        const Destination found = destination(endpoint - 1) != 0 ? mDestinations[endpoint - 1] : Destination();
        return property == KTMidiStringProperty::Manufacturer ? found.first : found.second;
    }
    // The pacer's thread counts as active from a hand-over until its last job
    // has ended, so virtual time cannot pass its work by.
    bool sendSysex(KTMidiSysexSendRequest& request) override
    {
        std::lock_guard lock(mMutex);
        if (mJobs.empty())
            mClock.addActive();
        Job& job = mJobs.emplace_back(Job{request, &request, this});
        job.completionProc = &KTRecordingMidiPlatform::completed;
        return mPacer.submit(job);
    }
    void abortSysex() override { mPacer.abortAll(); }
    bool send(KTMidiPortRef port, KTMidiEndpointRef endpoint, const std::vector<KTMidiShortMessage>& messages) override
    {
        Call call{.name = "send", .endpoint = endpoint, .port = port};
        for (const KTMidiShortMessage& message : messages)
            call.bytes.insert(call.bytes.end(), message.bytes, message.bytes + message.length);
        record(std::move(call));
        return true;
    }

    // Calls the client's notification procedure on the caller's thread.
    void notify(std::int32_t messageId) { mNotify(messageId); }
    // Every call so far, or those of one name.
    std::vector<Call> calls(const std::string& name = "") const
    {
        std::lock_guard lock(mMutex);
        std::vector<Call> found;
        std::copy_if(mCalls.begin(), mCalls.end(), std::back_inserter(found),
                     [&](const Call& call) { return name.empty() || call.name == name; });
        return found;
    }
    // The bytes of every piece, in order.
    Bytes wire() const
    {
        Bytes all;
        for (const Call& piece : calls("piece"))
            all.insert(all.end(), piece.bytes.begin(), piece.bytes.end());
        return all;
    }

    std::vector<Destination> mDestinations;
    bool mClientCreateSucceeds = true;
    // The writer's answer by the number of pieces taken so far; set before sending.
    std::function<int(std::size_t taken)> mWriteResult = [](std::size_t) { return 0; };

private:
    // The copy the pacer sends; its completion ends the job here, after the original's.
    struct Job : KTMidiSysexSendRequest {
        KTMidiSysexSendRequest* original;
        KTRecordingMidiPlatform* platform;
    };
    static void completed(KTMidiSysexSendRequest* request)
    {
        auto* job = static_cast<Job*>(request);
        KTRecordingMidiPlatform& self = *job->platform;
        self.record({.name = "completion", .endpoint = job->destination});
        job->original->failed = job->failed;
        job->original->complete = true;
        job->original->completionProc(job->original);
        std::lock_guard lock(self.mMutex);
        self.mJobs.remove_if([job](const Job& other) { return &other == job; });
        if (self.mJobs.empty())
            self.mClock.removeActive();
    }
    // Runs on the pacer's thread only.
    int write(KTMidiEndpointRef endpoint, const std::uint8_t* data, std::size_t size)
    {
        const int result = mWriteResult(mTaken);
        if (result == 0) {
            record({.name = "piece", .endpoint = endpoint, .bytes = Bytes(data, data + size)});
            ++mTaken;
        }
        return result;
    }
    void record(Call call)
    {
        call.time = mClock.now();
        std::lock_guard lock(mMutex);
        mCalls.push_back(std::move(call));
    }

    KTVirtualClock& mClock;
    mutable std::mutex mMutex;
    std::vector<Call> mCalls;
    std::list<Job> mJobs;
    std::size_t mTaken = 0;
    NotifyProc mNotify = [](std::int32_t) {};
    KTSysexPacer mPacer{mClock, [this](KTMidiEndpointRef to, const std::uint8_t* data, std::size_t size) {
                            return write(to, data, size);
                        }};
};
