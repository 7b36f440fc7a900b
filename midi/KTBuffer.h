#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// A growable byte sequence that reads and writes itself on binary streams.
// Base of every binary record (variable-length quantities, MIDI events, samples).
class KTBuffer : public std::vector<std::uint8_t> {
public:
    using std::vector<std::uint8_t>::vector;
    KTBuffer() = default;
    KTBuffer(const KTBuffer&) = default;
    KTBuffer(KTBuffer&&) noexcept = default;
    KTBuffer& operator=(const KTBuffer&) = default;
    KTBuffer& operator=(KTBuffer&&) noexcept = default;

    // Reads as many bytes as the buffer holds now, over the old contents;
    // shrinks to what the stream delivered.
    virtual KTBuffer& read(std::istream& in);
    virtual std::ostream& write(std::ostream& out) const;
    virtual ~KTBuffer() = default;
    // Two lowercase hex digits a byte, separated by spaces, a line feed at the end.
    virtual std::string toHexString() const;
};

std::ostream& operator<<(std::ostream& out, const KTBuffer& buffer);
