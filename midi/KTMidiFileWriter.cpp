#include "midi/KTMidiFileWriter.h"

#include "midi/KTMidiBytes.h"
#include "midi/KTTimingConversions.h"
#include "midi/KTVarlength.h"

namespace {

constexpr char kHeaderId[] = "MThd";
constexpr char kTrackId[] = "MTrk";
constexpr std::uint64_t kHeaderDataLength = 6;
constexpr std::uint64_t kEndOfTrackLength = 4;
constexpr std::uint64_t kChunkHeaderLength = 8;

bool isEndOfTrack(const KTMidiEvent& event)
{
    return event.size() >= 2 && event[0] == KTMidiBytes::kMeta && event[1] == KTMidiBytes::kEndOfTrack;
}

} // namespace

KTMidiFileWriter::KTMidiFileWriter(const char* path, std::uint16_t division, std::uint16_t tempo)
    : KTFileWriter(path)
{
    startFile(division, tempo);
}

KTMidiFileWriter& KTMidiFileWriter::open(const char* path, std::uint16_t division, std::uint16_t tempo)
{
    if (is_open())
        close();
    std::ofstream::open(path, std::ios::out | std::ios::binary | std::ios::trunc);
    startFile(division, tempo);
    return *this;
}

bool KTMidiFileWriter::finish()
{
    if (!is_open())
        return false;
    close();
    return !fail();
}

void KTMidiFileWriter::startFile(std::uint16_t division, std::uint16_t tempo)
{
    mTrackCount = 1;
    mDivision = division;
    mTempo = tempo;
    seekp(0);
    writeHeaderChunk(0);
    mTrackStart = kChunkHeaderLength + kHeaderDataLength;
    mLastTransmitTicks = 0;
    mElapsedTicks = 0;
    mTrackEmpty = true;
    mFirstSysexPending = true;
    writeEmptyTrack();
}

KTMidiFileWriter& KTMidiFileWriter::writeTrack(const KTMidiEventList& events, bool keepElapsed)
{
    if (!mTrackEmpty) {
        ++mTrackCount;
        seekp(0);
        writeHeaderChunk(1);
        seekp(0, std::ios::end);
        const std::ostream::pos_type end = tellp();
        // A failed stream has no position; the track start then no longer matters.
        mTrackStart = end == std::ostream::pos_type(-1) ? 0 : static_cast<std::uint64_t>(end);
        mLastTransmitTicks = 0;
        if (!keepElapsed)
            mElapsedTicks = 0;
        mTrackEmpty = true;
        mFirstSysexPending = true;
        writeEmptyTrack();
    }
    for (const KTMidiEvent& event : events)
        writeEvent(event);
    return *this;
}

KTMidiFileWriter& KTMidiFileWriter::writeEvent(const KTMidiEvent& event)
{
    if (event.size() < event.headerLength())
        return *this;
    const bool sysEx = event[0] == KTMidiBytes::kSysEx;
    const std::uint64_t pause = millisecondsToTicks(event.mDelay, mDivision, mTempo);
    std::uint64_t delta = 0;
    mTrackEmpty = false;
    if (sysEx) {
        delta = (mFirstSysexPending ? mElapsedTicks : mLastTransmitTicks) + pause;
        mFirstSysexPending = false;
    }

    seekp(-static_cast<std::ostream::off_type>(kEndOfTrackLength), std::ios::end);
    if (!isEndOfTrack(event)) {
        KTVarlength(delta).write(*this);
        event.write(*this);
    }
    writeEndOfTrack();
    writeTrackLength();

    if (sysEx) {
        const std::uint64_t transmit = byteTimesToTicks(event.size(), mDivision, mTempo);
        mLastTransmitTicks = transmit;
        mElapsedTicks += pause + transmit;
    }
    return *this;
}

void KTMidiFileWriter::writeHeaderChunk(std::uint16_t format)
{
    write(kHeaderId, 4);
    writeBigEndian(kHeaderDataLength, 4);
    writeBigEndian(format, 2);
    writeBigEndian(mTrackCount, 2);
    writeBigEndian(mDivision, 2);
}

// "MTrk", length 4 and the End of Track: a track with no events.
void KTMidiFileWriter::writeEmptyTrack()
{
    write(kTrackId, 4);
    writeBigEndian(kEndOfTrackLength, 4);
    writeEndOfTrack();
}

// Called at the end of the file: patches the current track's chunk header.
void KTMidiFileWriter::writeTrackLength()
{
    const std::ostream::pos_type end = tellp();
    if (end == std::ostream::pos_type(-1))
        return;
    seekp(static_cast<std::ostream::off_type>(mTrackStart));
    write(kTrackId, 4);
    writeBigEndian(static_cast<std::uint64_t>(end) - mTrackStart - kChunkHeaderLength, 4);
}

void KTMidiFileWriter::writeEndOfTrack()
{
    static constexpr char endOfTrack[] = {0x00, static_cast<char>(KTMidiBytes::kMeta), KTMidiBytes::kEndOfTrack, 0x00};
    write(endOfTrack, sizeof endOfTrack);
}

void KTMidiFileWriter::writeBigEndian(std::uint64_t value, int bytes)
{
    char out[8];
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<char>(value >> (8 * (bytes - 1 - i)));
    write(out, bytes);
}
