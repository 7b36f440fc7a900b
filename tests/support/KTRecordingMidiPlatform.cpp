#include "KTRecordingMidiPlatform.h"

#include <algorithm>

namespace {

KTRecordingMidiPlatform::Call makeCall(std::string name, KTMidiEndpointRef endpoint = 0, KTMidiPortRef port = 0)
{
    return {{}, std::move(name), endpoint, port, {}};
}

} // namespace

KTRecordingMidiPlatform::KTRecordingMidiPlatform(KTVirtualClock& clock)
    : mClock(clock), mThread([this] { run(); })
{
}

KTRecordingMidiPlatform::~KTRecordingMidiPlatform()
{
    {
        std::lock_guard lock(mMutex);
        mStopping = true;
        for (Job& job : mJobs)
            job.aborted = true;
        mRunningAborted = true;
    }
    // Nobody drives virtual time any more: let the last sleeps pass.
    mClock.release();
    mWake.notify_all();
    mThread.join();
}

KTMidiEndpointRef KTRecordingMidiPlatform::addDestination(const std::string& manufacturer,
                                                          const std::string& displayName)
{
    std::lock_guard lock(mMutex);
    const KTMidiEndpointRef endpoint = mNextEndpoint++;
    mDestinations.push_back({manufacturer, displayName, endpoint});
    return endpoint;
}

void KTRecordingMidiPlatform::removeDestination(KTMidiEndpointRef endpoint)
{
    std::lock_guard lock(mMutex);
    std::erase_if(mDestinations, [&](const Destination& d) { return d.endpoint == endpoint; });
}

std::vector<KTRecordingMidiPlatform::Call> KTRecordingMidiPlatform::calls() const
{
    std::lock_guard lock(mMutex);
    return mCalls;
}

std::vector<KTRecordingMidiPlatform::Call> KTRecordingMidiPlatform::callsNamed(const std::string& name) const
{
    std::vector<Call> named;
    for (const Call& call : calls())
        if (call.name == name)
            named.push_back(call);
    return named;
}

std::vector<KTRecordingMidiPlatform::Sysex> KTRecordingMidiPlatform::sysexSent() const
{
    std::lock_guard lock(mMutex);
    return mSysex;
}

void KTRecordingMidiPlatform::record(Call call)
{
    call.time = mClock.now();
    std::lock_guard lock(mMutex);
    mCalls.push_back(std::move(call));
}

bool KTRecordingMidiPlatform::knownLocked(KTMidiEndpointRef endpoint) const
{
    return std::any_of(mDestinations.begin(), mDestinations.end(),
                       [&](const Destination& d) { return d.endpoint == endpoint; });
}

bool KTRecordingMidiPlatform::clientCreate(const std::string& name, NotifyProc)
{
    record(makeCall("clientCreate:" + name));
    return true;
}

void KTRecordingMidiPlatform::clientDispose()
{
    record(makeCall("clientDispose"));
}

KTMidiPortRef KTRecordingMidiPlatform::outputPortCreate(const std::string& name)
{
    KTMidiPortRef port = 0;
    {
        std::lock_guard lock(mMutex);
        port = mNextPort++;
    }
    record(makeCall("outputPortCreate:" + name, 0, port));
    return port;
}

void KTRecordingMidiPlatform::outputPortDispose(KTMidiPortRef port)
{
    record(makeCall("outputPortDispose", 0, port));
}

std::size_t KTRecordingMidiPlatform::numberOfDestinations()
{
    std::lock_guard lock(mMutex);
    return mDestinations.size();
}

KTMidiEndpointRef KTRecordingMidiPlatform::destination(std::size_t index)
{
    std::lock_guard lock(mMutex);
    return index < mDestinations.size() ? mDestinations[index].endpoint : 0;
}

std::string KTRecordingMidiPlatform::stringProperty(KTMidiEndpointRef endpoint, KTMidiStringProperty property)
{
    std::lock_guard lock(mMutex);
    for (const Destination& d : mDestinations)
        if (d.endpoint == endpoint)
            return property == KTMidiStringProperty::Manufacturer ? d.manufacturer : d.displayName;
    return {};
}

bool KTRecordingMidiPlatform::sendSysex(KTMidiSysexSendRequest& request)
{
    Call call = makeCall("sendSysex", request.destination);
    if (request.data != nullptr)
        call.bytes.assign(request.data, request.data + request.bytesToSend);
    record(std::move(call));
    bool known = false;
    {
        std::lock_guard lock(mMutex);
        known = knownLocked(request.destination);
        mJobs.push_back({&request, mStopping});
        // The sending thread counts as active from the hand-over, so virtual
        // time cannot pass its first piece by.
        if (!mBusy) {
            mBusy = true;
            mClock.addActive();
        }
    }
    mWake.notify_all();
    return known;
}

void KTRecordingMidiPlatform::abortSysex()
{
    record(makeCall("abortSysex"));
    std::lock_guard lock(mMutex);
    mRunningAborted = true;
    for (Job& job : mJobs)
        job.aborted = true;
}

bool KTRecordingMidiPlatform::send(KTMidiPortRef port, KTMidiEndpointRef endpoint,
                                   const std::vector<KTMidiShortMessage>& messages)
{
    Call call = makeCall("send", endpoint, port);
    for (const KTMidiShortMessage& message : messages)
        call.bytes.insert(call.bytes.end(), message.bytes, message.bytes + std::min<int>(message.length, 3));
    record(std::move(call));
    std::lock_guard lock(mMutex);
    return knownLocked(endpoint);
}

bool KTRecordingMidiPlatform::nextJob(Job& job)
{
    std::unique_lock lock(mMutex);
    if (mJobs.empty() && mBusy) {
        mBusy = false;
        mClock.removeActive();
    }
    mWake.wait(lock, [this] { return !mJobs.empty() || mStopping; });
    if (mJobs.empty())
        return false;
    job = mJobs.front();
    mJobs.pop_front();
    mRunningAborted = job.aborted;
    return true;
}

void KTRecordingMidiPlatform::run()
{
    Job job{};
    while (nextJob(job)) {
        Sysex sent = deliver(*job.request);
        {
            std::lock_guard lock(mMutex);
            mSysex.push_back(std::move(sent));
        }
        record(makeCall("completion", job.request->destination));
        job.request->complete = true;
        if (job.request->completionProc != nullptr)
            job.request->completionProc(job.request);
    }
}

KTRecordingMidiPlatform::Sysex KTRecordingMidiPlatform::deliver(const KTMidiSysexSendRequest& request)
{
    Sysex sent;
    sent.endpoint = request.destination;
    sent.started = mClock.now();
    std::size_t offset = 0;
    while (offset < request.bytesToSend && request.data != nullptr) {
        if (mRunningAborted) {
            sent.aborted = true;
            break;
        }
        {
            std::lock_guard lock(mMutex);
            if (!knownLocked(request.destination)) {
                sent.delivered = false;
                break;
            }
        }
        const std::size_t piece = std::min<std::size_t>(kPieceBytes, request.bytesToSend - offset);
        sent.bytes.insert(sent.bytes.end(), request.data + offset, request.data + offset + piece);
        offset += piece;
        mClock.sleepFor(kByteTime * static_cast<std::int64_t>(piece));
    }
    if (sent.aborted && !sent.bytes.empty() && sent.bytes.back() != 0xF7)
        sent.bytes.push_back(0xF7);
    sent.completed = mClock.now();
    return sent;
}
