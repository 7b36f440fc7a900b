#pragma once

#include "midiout/KTClock.h"
#include "midiout/KTMidiPlatform.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// The sending thread behind KTMidiPlatform::sendSysex: cuts each message into
// pieces of at most kPieceBytes, hands them to a writer no faster than the MIDI
// line (kMidiByteTime a byte, stretched by the request's speed, against deadlines counted from the message's
// start so that the stream does not drift slower either) and calls the
// request's completion once, on this thread, after the last piece's line time.
class KTSysexPacer {
public:
    static constexpr std::size_t kPieceBytes = 256;
    // A receiver that keeps refusing data for this long ends the send.
    static constexpr KTClock::Duration kRefusalLimit = std::chrono::seconds(2);

    // Hands one piece to the destination: 0 when taken, -EAGAIN or -ENOMEM when
    // the receiver is full for now, any other negative value when it is gone.
    using PieceWriter = std::function<int(KTMidiEndpointRef, const std::uint8_t*, std::size_t)>;

    KTSysexPacer(KTClock& clock, PieceWriter writer);
    ~KTSysexPacer();
    KTSysexPacer(const KTSysexPacer&) = delete;
    KTSysexPacer& operator=(const KTSysexPacer&) = delete;

    // Queues the request; false when it cannot be sent (no F0 start, no
    // destination). Its completion is called on this pacer's thread in any case.
    bool submit(KTMidiSysexSendRequest& request);
    // Ends the message in flight at its next piece (closing it with F7) and
    // drops the queued ones; each still gets its completion.
    void abortAll();

private:
    struct Job {
        KTMidiSysexSendRequest* request;
        bool aborted;
        bool unsendable;
    };

    void run();
    bool nextJob(Job& job);
    // True when every byte was handed over.
    bool send(const KTMidiSysexSendRequest& request);
    bool sendPieces(const KTMidiSysexSendRequest& request, KTClock::Duration& start, std::size_t& sent);
    int writeWithRetry(KTMidiEndpointRef destination, const std::uint8_t* data, std::size_t size);
    void waitUntil(KTClock::Duration deadline);

    KTClock& mClock;
    PieceWriter mWriter;
    std::mutex mMutex;
    std::condition_variable mWake;
    std::deque<Job> mJobs;
    bool mStopping = false;
    std::atomic<bool> mRunningAborted{false};
    std::thread mThread;
};
