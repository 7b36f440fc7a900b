#include "midiout/KTSysexPacer.h"

#include "midi/KTMidiBytes.h"
#include "midi/KTTimingConversions.h"

#include <algorithm>
#include <cerrno>

namespace {

constexpr auto kRetryPause = std::chrono::milliseconds(1);

bool refusedForNow(int result)
{
    return result == -EAGAIN || result == -ENOMEM;
}

} // namespace

KTSysexPacer::KTSysexPacer(KTClock& clock, PieceWriter writer)
    : mClock(clock), mWriter(std::move(writer)), mThread([this] { run(); })
{
}

KTSysexPacer::~KTSysexPacer()
{
    {
        std::lock_guard lock(mMutex);
        mStopping = true;
        for (Job& job : mJobs)
            job.aborted = true;
        mRunningAborted = true;
    }
    mWake.notify_all();
    mThread.join();
}

bool KTSysexPacer::submit(KTMidiSysexSendRequest& request)
{
    const bool sendable = request.destination != 0 && request.data != nullptr &&
                          request.bytesToSend > 0 && request.data[0] == KTMidiBytes::kSysEx;
    {
        std::lock_guard lock(mMutex);
        mJobs.push_back({&request, !sendable || mStopping, !sendable});
    }
    mWake.notify_all();
    return sendable;
}

void KTSysexPacer::abortAll()
{
    std::lock_guard lock(mMutex);
    mRunningAborted = true;
    for (Job& job : mJobs)
        job.aborted = true;
}

bool KTSysexPacer::nextJob(Job& job)
{
    std::unique_lock lock(mMutex);
    mWake.wait(lock, [this] { return !mJobs.empty() || mStopping; });
    if (mJobs.empty())
        return false;
    job = mJobs.front();
    mJobs.pop_front();
    mRunningAborted = job.aborted || mStopping;
    return true;
}

void KTSysexPacer::run()
{
    Job job{};
    while (nextJob(job)) {
        KTMidiSysexSendRequest* request = job.request;
        const bool sendable = !job.unsendable;
        const bool whole = sendable && !mRunningAborted && send(*request);
        request->failed = !sendable || (!whole && !mRunningAborted);
        request->complete = true;
        // The completion may queue the next message; the request is not
        // touched after this call.
        if (request->completionProc != nullptr)
            request->completionProc(request);
    }
}

bool KTSysexPacer::send(const KTMidiSysexSendRequest& request)
{
    KTClock::Duration start = mClock.now();
    std::size_t sent = 0;
    if (sendPieces(request, start, sent)) {
        // The completion waits for the line time of the last piece, so the
        // next message cannot crowd the receiver's buffer.
        waitUntil(start + midiLineTime(request.bytesToSend, request.speed));
        return true;
    }
    // Cut short: close the message so the receiver's parser resets.
    if (mRunningAborted && sent > 0 && request.data[sent - 1] != KTMidiBytes::kEndOfSysEx) {
        const std::uint8_t end = KTMidiBytes::kEndOfSysEx;
        mRunningAborted = false; // let the retry loop deliver the closing byte
        writeWithRetry(request.destination, &end, 1);
        mRunningAborted = true;
    }
    return false;
}

bool KTSysexPacer::sendPieces(const KTMidiSysexSendRequest& request, KTClock::Duration& start,
                                   std::size_t& sent)
{
    const std::size_t size = request.bytesToSend;
    const KTClock::Duration pieceTime = midiLineTime(kPieceBytes, request.speed);
    while (sent < size) {
        const KTClock::Duration deadline = start + midiLineTime(sent, request.speed);
        waitUntil(deadline);
        if (mRunningAborted)
            return false;
        // Late by more than a piece (a stall): move the schedule instead of
        // bursting to catch up.
        const KTClock::Duration late = mClock.now() - deadline;
        if (late > pieceTime)
            start += late;
        const std::size_t piece = std::min(kPieceBytes, size - sent);
        if (writeWithRetry(request.destination, request.data + sent, piece) < 0)
            return false;
        sent += piece;
    }
    return true;
}

int KTSysexPacer::writeWithRetry(KTMidiEndpointRef destination, const std::uint8_t* data,
                                      std::size_t size)
{
    const KTClock::Duration giveUp = mClock.now() + kRefusalLimit;
    for (;;) {
        const int result = mWriter(destination, data, size);
        if (!refusedForNow(result))
            return result;
        if (mRunningAborted || mClock.now() >= giveUp)
            return result;
        mClock.sleepFor(kRetryPause);
    }
}

void KTSysexPacer::waitUntil(KTClock::Duration deadline)
{
    const KTClock::Duration now = mClock.now();
    if (deadline > now)
        mClock.sleepFor(deadline - now);
}
