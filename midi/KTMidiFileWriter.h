#pragma once

#include "midi/KTFileWriter.h"
#include "midi/KTMidiEvent.h"

#include <cstdint>

// Writes event lists as the tracks of a Standard MIDI File. System Exclusive
// events are spaced so that each one starts after the previous one has passed
// over a 31,250 bit/s MIDI line, plus the pause it asks for (mDelay). The file
// is complete and valid after every event: the track always ends with an End
// of Track, which each new event overwrites and appends again.
//
// Failures (a path that cannot be opened, a failed write or close) leave the
// stream failed; later writes do nothing. finish() closes the file and tells
// whether everything reached it.
class KTMidiFileWriter : public KTFileWriter {
public:
    KTMidiFileWriter(const char* path, std::uint16_t division, std::uint16_t tempo);
    ~KTMidiFileWriter() override = default;

    // Appends one event to the current track. Events shorter than their header
    // (empty, or a lone FF) are not written: they have no valid file form.
    virtual KTMidiFileWriter& writeEvent(const KTMidiEvent& event);
    // Writes the list as a track: into the current track while it is still
    // empty, otherwise into a new one (the file becomes format 1). keepElapsed
    // carries the running System Exclusive time into the new track.
    virtual KTMidiFileWriter& writeTrack(const KTMidiEventList& events, bool keepElapsed);
    // Closes the current file (if open), opens path and starts a new file.
    virtual KTMidiFileWriter& open(const char* path, std::uint16_t division, std::uint16_t tempo);

    // Closes the file; true when it was opened and every write and the close succeeded.
    bool finish();

    std::uint16_t mTrackCount = 1;
    std::uint16_t mDivision = 0;
    std::uint16_t mTempo = 0;
    std::uint64_t mTrackStart = 0;
    std::uint64_t mLastTransmitTicks = 0;
    std::uint64_t mElapsedTicks = 0;
    bool mTrackEmpty = true;
    bool mFirstSysexPending = true;

private:
    void startFile(std::uint16_t division, std::uint16_t tempo);
    void writeHeaderChunk(std::uint16_t format);
    void writeEmptyTrack();
    void writeTrackLength();
    void writeBigEndian(std::uint64_t value, int bytes);
    void writeEndOfTrack();
};
