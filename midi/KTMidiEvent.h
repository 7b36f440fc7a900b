#pragma once

#include "midi/KTBuffer.h"
#include "midi/KTMidiBytes.h"

#include <vector>

// One System Exclusive or meta event as it sits in a Standard MIDI File track,
// without its length and delta time, plus the pause in milliseconds before it.
// Bytes: status, for status FF the meta type, then the data.
class KTMidiEvent : public KTBuffer {
public:
    using KTBuffer::KTBuffer;

    std::uint64_t mDelay = 0;

    // Reads status, [meta type], length and data. A stream that ends before the
    // event is complete leaves the event empty; a declared length larger than
    // what the stream still holds is never allocated.
    KTMidiEvent& read(std::istream& in) override;
    // Writes status, [meta type], the data length as a variable-length quantity
    // and the data. An event shorter than its header writes nothing.
    std::ostream& write(std::ostream& out) const override;

    // Header length: 2 for a meta event (FF type), 1 for any other status.
    std::size_t headerLength() const;
    bool isMeta() const { return !empty() && front() == KTMidiBytes::kMeta; }
    bool isSysEx() const { return !empty() && front() == KTMidiBytes::kSysEx; }

private:
    static constexpr std::size_t kPiece = 4096;

    bool readData(std::istream& in, std::size_t header, std::uint64_t length);
    bool readInPieces(std::istream& in, std::uint64_t length);
};

// An ordered sequence of events, held by value.
using KTMidiEventList = std::vector<KTMidiEvent>;
