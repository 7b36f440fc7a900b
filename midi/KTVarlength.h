#pragma once

#include "midi/KTBuffer.h"

// A MIDI variable-length quantity held as its encoded bytes: seven bits a byte,
// most significant group first, bit 7 set on every byte but the last.
class KTVarlength : public KTBuffer {
public:
    explicit KTVarlength(std::uint64_t value = 0);

    void setValue(std::uint64_t value);
    // Decodes the bytes; bits shifted out at the top are lost.
    std::uint64_t value() const;

    // Reads bytes until one with bit 7 clear. Stops when the stream fails; the
    // quantity then holds what arrived, or a single 00 when nothing did.
    KTVarlength& read(std::istream& in) override;
};
