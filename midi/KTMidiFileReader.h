#pragma once

#include "midi/KTFileReader.h"
#include "midi/KTMidiEvent.h"

#include <cstdint>

// Reads a Standard MIDI File one track chunk at a time and turns the delta
// times of System Exclusive events back into the pauses (mDelay) they were
// written with. Tracks are read until the end of the file, whatever the header
// says; only meta events and events of the shape status, length, data are
// understood.
//
// Damaged input ends a list or the file early but never makes the reader
// allocate more than the file holds or read without end: all reading from one
// file together consumes at most twice its size.
class KTMidiFileReader : public KTFileReader {
public:
    explicit KTMidiFileReader(const char* path);
    ~KTMidiFileReader() override = default;

    // True when the file begins with "MThd".
    virtual bool isMidiFile() const;
    // Reads a delta time and an event into event; an empty event ends the track.
    virtual KTMidiEvent& readEvent(KTMidiEvent& event);
    // Fills events with the next track's events; empty when there is no further track.
    virtual KTMidiEventList& readTrack(KTMidiEventList& events);
    // Closes the current file (if open), opens path and starts reading it.
    virtual KTMidiFileReader& open(const char* path);

    std::uint64_t mHeaderId = 0;
    std::uint16_t mFormat = 0;
    std::uint16_t mTrackCount = 0;
    std::uint16_t mDivision = 0;
    std::uint16_t mTempo = 120;
    std::uint64_t mTrackStart = 0;
    std::uint64_t mTrackLength = 0;
    std::uint64_t mLastTransmitTicks = 0;
    std::uint64_t mElapsedTicks = 0;
    std::uint64_t mFileSize = 0;
    bool mTrackFresh = true;
    bool mFirstSysexPending = true;

private:
    void startReading();
    void readTrackChunkHeader();
    void moveToNextTrack();
    std::uint64_t readBigEndian(int bytes);
    std::uint64_t position();
    void seekTo(std::uint64_t target);
    bool atEnd();

    // Bytes that events may still consume. Damaged track lengths make the
    // reader take the same bytes again as further tracks; this bounds that.
    std::uint64_t mReadBudget = 0;
};
