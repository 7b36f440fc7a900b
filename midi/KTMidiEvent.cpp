#include "midi/KTMidiEvent.h"

#include "midi/KTVarlength.h"

#include <algorithm>
#include <optional>

namespace {

// Bytes left between the read position and the end of a seekable stream, or
// nothing when the stream cannot tell.
std::optional<std::uint64_t> bytesLeft(std::istream& in)
{
    const std::istream::pos_type here = in.tellg();
    if (here == std::istream::pos_type(-1))
        return std::nullopt;
    in.seekg(0, std::ios::end);
    const std::istream::pos_type end = in.tellg();
    in.seekg(here);
    if (end == std::istream::pos_type(-1) || end < here)
        return std::nullopt;
    return static_cast<std::uint64_t>(end - here);
}

} // namespace

std::size_t KTMidiEvent::headerLength() const
{
    return isMeta() ? 2 : 1;
}

KTMidiEvent& KTMidiEvent::read(std::istream& in)
{
    clear();
    const int status = in.get();
    if (status == std::char_traits<char>::eof())
        return *this;
    int type = 0;
    if (status == 0xFF) {
        type = in.get();
        if (type == std::char_traits<char>::eof())
            return *this;
    }
    KTVarlength length;
    length.read(in);
    if (!in)
        return *this;

    const std::size_t header = status == KTMidiBytes::kMeta ? 2 : 1;
    if (!readData(in, header, length.value())) {
        clear();
        return *this;
    }
    (*this)[0] = static_cast<std::uint8_t>(status);
    if (header == 2)
        (*this)[1] = static_cast<std::uint8_t>(type);
    return *this;
}

// Reads the data after the header. Short data, and data from a stream that
// cannot tell its size, is read through a small buffer so the event grows only
// as bytes arrive. Long data from a seekable stream is read in one block once
// the stream has shown it holds that much; a length it cannot hold is refused,
// with the stream failed as by a short read, before anything is allocated.
bool KTMidiEvent::readData(std::istream& in, std::size_t header, std::uint64_t length)
{
    resize(header);
    if (length <= kPiece)
        return readInPieces(in, length);
    const std::optional<std::uint64_t> left = bytesLeft(in);
    if (!left)
        return readInPieces(in, length);
    if (length > *left) {
        in.seekg(0, std::ios::end);
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return false;
    }
    resize(header + static_cast<std::size_t>(length));
    in.read(reinterpret_cast<char*>(data() + header), static_cast<std::streamsize>(length));
    return static_cast<std::uint64_t>(in.gcount()) == length;
}

bool KTMidiEvent::readInPieces(std::istream& in, std::uint64_t length)
{
    char piece[kPiece];
    while (length > 0) {
        const auto n = static_cast<std::streamsize>(std::min<std::uint64_t>(length, kPiece));
        in.read(piece, n);
        if (in.gcount() != n)
            return false;
        insert(end(), piece, piece + n);
        length -= static_cast<std::uint64_t>(n);
    }
    return true;
}

std::ostream& KTMidiEvent::write(std::ostream& out) const
{
    const std::size_t header = headerLength();
    if (size() < header)
        return out;
    out.write(reinterpret_cast<const char*>(data()), static_cast<std::streamsize>(header));
    KTVarlength(size() - header).write(out);
    if (size() > header)
        out.write(reinterpret_cast<const char*>(data() + header),
                  static_cast<std::streamsize>(size() - header));
    return out;
}
