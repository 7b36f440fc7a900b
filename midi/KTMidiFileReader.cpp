#include "midi/KTMidiFileReader.h"

#include "midi/KTMidiBytes.h"
#include "midi/KTTimingConversions.h"
#include "midi/KTVarlength.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint64_t kHeaderId = 0x4D546864;  // "MThd"
constexpr std::uint64_t kTrackId = 0x4D54726B;   // "MTrk"
constexpr std::uint64_t kIdLength = 4;
constexpr std::uint64_t kChunkHeaderLength = 8;
constexpr std::uint64_t kEndOfTrackRewind = 4;

// a - b, or 0 when b is larger (a delta shorter than the time it is reduced by).
std::uint64_t minusOrZero(std::uint64_t a, std::uint64_t b)
{
    return a > b ? a - b : 0;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

} // namespace

KTMidiFileReader::KTMidiFileReader(const char* path)
    : KTFileReader(path)
{
    startReading();
}

KTMidiFileReader& KTMidiFileReader::open(const char* path)
{
    if (is_open())
        close();
    std::ifstream::open(path, std::ios::in | std::ios::binary);
    startReading();
    return *this;
}

bool KTMidiFileReader::isMidiFile() const
{
    return mHeaderId == kHeaderId;
}

void KTMidiFileReader::startReading()
{
    mHeaderId = 0;
    mFormat = 0;
    mTrackCount = 0;
    mDivision = 0;
    mTempo = 120;
    mFileSize = 0;
    mTrackStart = 0;
    mTrackLength = 0;
    mElapsedTicks = 0;
    mLastTransmitTicks = 0;
    mTrackFresh = true;
    mFirstSysexPending = true;
    mReadBudget = 0;
    if (!is_open())
        return;

    seekg(0, std::ios::end);
    mFileSize = position();
    mReadBudget = saturatingAdd(mFileSize, mFileSize);
    seekTo(0);

    mHeaderId = readBigEndian(4);
    if (mHeaderId == kHeaderId) {
        const std::uint64_t afterId = kIdLength;
        if (afterId + 4 <= mFileSize)
            seekTo(afterId + 4);
        mFormat = static_cast<std::uint16_t>(readBigEndian(2));
        mTrackCount = static_cast<std::uint16_t>(readBigEndian(2));
        mDivision = static_cast<std::uint16_t>(readBigEndian(2));
    }
    mTrackStart = position();
    mTrackLength = 0;
    readTrackChunkHeader();
}

// An id, and for "MTrk" the length of the data that follows. Any other id gets
// length 0 and only its 4 bytes are consumed.
void KTMidiFileReader::readTrackChunkHeader()
{
    if (readBigEndian(4) == kTrackId)
        mTrackLength = readBigEndian(4);
    else
        mTrackLength = 0;
}

KTMidiEvent& KTMidiFileReader::readEvent(KTMidiEvent& event)
{
    mTrackFresh = false;
    event.clear();
    event.mDelay = 0;
    if (!is_open() || mReadBudget == 0)
        return event;
    const std::uint64_t start = position();

    KTVarlength delta;
    delta.read(*this);
    if (good())
        event.read(*this);
    const std::uint64_t consumed = minusOrZero(position(), start);
    if (consumed > mReadBudget) {
        mReadBudget = 0;
        event.clear();
    }
    mReadBudget -= std::min(consumed, mReadBudget);
    if (event.empty())
        return event;

    const bool sysEx = event[0] == KTMidiBytes::kSysEx;
    std::uint64_t ticks = 0;
    if (sysEx) {
        ticks = minusOrZero(delta.value(), mFirstSysexPending ? mElapsedTicks : mLastTransmitTicks);
        mFirstSysexPending = false;
    }
    event.mDelay = ticksToMilliseconds(ticks, mDivision, mTempo);
    if (sysEx) {
        const std::uint64_t transmit = byteTimesToTicks(event.size(), mDivision, mTempo);
        mLastTransmitTicks = transmit;
        mElapsedTicks = saturatingAdd(mElapsedTicks, saturatingAdd(ticks, transmit));
    }
    if (event.size() >= 2 && event[0] == KTMidiBytes::kMeta && event[1] == KTMidiBytes::kEndOfTrack) {
        // Stand on the End of Track again, so every further call in this track
        // finds it once more.
        event.clear();
        event.mDelay = 0;
        seekTo(minusOrZero(position(), kEndOfTrackRewind));
    }
    return event;
}

KTMidiEventList& KTMidiFileReader::readTrack(KTMidiEventList& events)
{
    if (!mTrackFresh)
        moveToNextTrack();
    events.clear();
    if (!is_open() || atEnd())
        return events;

    KTMidiEvent event;
    for (;;) {
        if (readEvent(event).empty())
            break;
        events.push_back(event);
        if (event[0] == KTMidiBytes::kSysEx && event.back() != KTMidiBytes::kEndOfSysEx)
            break;
    }
    return events;
}

void KTMidiFileReader::moveToNextTrack()
{
    mElapsedTicks = 0;
    mLastTransmitTicks = 0;
    mTrackFresh = true;
    mFirstSysexPending = true;
    if (!is_open())
        return;

    // The track's end, or its data's start when its length runs past the end
    // of the file; never past the end of the file.
    const std::uint64_t data = saturatingAdd(mTrackStart, kChunkHeaderLength);
    const std::uint64_t end = saturatingAdd(data, mTrackLength);
    seekTo(end <= mFileSize ? end : data <= mFileSize ? data : mFileSize);
    if (!atEnd()) {
        mTrackStart = position();
        mTrackLength = 0;
        readTrackChunkHeader();
    }
}

// A big-endian number of the given size; 0 when the file ends first. A read
// cut short by the end of the file leaves the stream usable at the end.
std::uint64_t KTMidiFileReader::readBigEndian(int bytes)
{
    char in[8];
    read(in, bytes);
    if (gcount() != bytes) {
        if (is_open())
            clear();
        return 0;
    }
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(in[i]);
    return value;
}

// The read position. A stream that ran into the end of the file is cleared
// first, so it stands usable at the end.
std::uint64_t KTMidiFileReader::position()
{
    if (!is_open())
        return 0;
    if (!good())
        clear();
    const std::istream::pos_type here = tellg();
    return here == std::istream::pos_type(-1) ? mFileSize : static_cast<std::uint64_t>(here);
}

void KTMidiFileReader::seekTo(std::uint64_t target)
{
    if (!is_open())
        return;
    clear();
    seekg(static_cast<std::istream::off_type>(target));
}

bool KTMidiFileReader::atEnd()
{
    return position() >= mFileSize;
}
