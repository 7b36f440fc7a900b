#include "audio/KTAudioFileReader.h"

#include <algorithm>

namespace {

constexpr std::uint64_t kContainerHeaderSize = 12;

} // namespace

KTAudioFileReader::KTAudioFileReader(const char* path)
    : KTFileReader(path)
{
}

KTAudioFileReader::~KTAudioFileReader() = default;

KTSample KTAudioFileReader::readFormat()
{
    KTSample format = readSample(1);
    format.clear();
    return format;
}

std::uint64_t KTAudioFileReader::fileSize()
{
    clear();
    const auto here = tellg();
    seekg(0, std::ios::end);
    const auto end = tellg();
    seekg(here);
    if (end < 0 || here < 0) {
        clear();
        return 0;
    }
    return static_cast<std::uint64_t>(end);
}

std::uint64_t KTAudioFileReader::position()
{
    const auto here = tellg();
    if (here < 0) {
        clear();
        return 0;
    }
    return static_cast<std::uint64_t>(here);
}

void KTAudioFileReader::seekTo(std::uint64_t offset)
{
    clear();
    seekg(static_cast<std::streamoff>(offset));
}

KTBuffer KTAudioFileReader::readField(std::size_t n)
{
    KTBuffer field(n, 0);
    if (n == 0)
        return field;
    read(reinterpret_cast<char*>(field.data()), static_cast<std::streamsize>(n));
    // A short read leaves the zeros in place; the stream stays usable for
    // the fields after it.
    if (!*this)
        clear();
    return field;
}

std::uint64_t KTAudioFileReader::readUnsigned(std::size_t n, ByteOrder order)
{
    const KTBuffer field = readField(n);
    std::uint64_t value = 0;
    if (order == ByteOrder::BigEndian) {
        for (std::uint8_t byte : field)
            value = (value << 8) | byte;
    } else {
        for (auto it = field.rbegin(); it != field.rend(); ++it)
            value = (value << 8) | *it;
    }
    return value;
}

std::uint32_t KTAudioFileReader::readCode()
{
    return static_cast<std::uint32_t>(readUnsigned(4, ByteOrder::BigEndian));
}

void KTAudioFileReader::skip(std::uint64_t n)
{
    const std::uint64_t here = position();
    if (here + n <= fileSize())
        seekTo(here + n);
}

bool KTAudioFileReader::hasBytes(std::uint64_t count)
{
    const std::uint64_t here = position();
    const std::uint64_t size = fileSize();
    return here <= size && size - here >= count;
}

bool KTAudioFileReader::findChunk(std::uint32_t wanted, ByteOrder order)
{
    return walk(wanted, order, false).has_value();
}

std::optional<std::uint32_t> KTAudioFileReader::findChunkWithSize(std::uint32_t wanted, ByteOrder order)
{
    return walk(wanted, order, true);
}

std::optional<std::uint32_t> KTAudioFileReader::walk(std::uint32_t wanted, ByteOrder order, bool readWantedSize)
{
    const std::uint64_t size = fileSize();
    seekTo(kContainerHeaderSize);
    // Every chunk moves the position forward by at least its 8 header bytes,
    // so the walk ends within the file.
    for (;;) {
        if (!hasBytes(4)) {
            seekTo(std::min(position(), size));
            return std::nullopt;
        }
        const std::uint32_t id = readCode();
        if (id == wanted && !readWantedSize)
            return 0;
        if (!hasBytes(4)) {
            seekTo(std::min(position(), size));
            return std::nullopt;
        }
        const auto chunkSize = static_cast<std::uint32_t>(readUnsigned(4, order));
        if (id == wanted)
            return chunkSize;
        const std::uint64_t afterSize = position();
        if (afterSize + chunkSize > size) {
            seekTo(afterSize);
            return std::nullopt;
        }
        seekTo(std::min(afterSize + chunkSize + (chunkSize & 1U), size));
    }
}

KTBuffer KTAudioFileReader::readBlock(std::uint64_t length, std::uint64_t limit)
{
    // 0 means no limit: limit - 1 wraps to the largest value.
    std::uint64_t n = (limit - 1 < length) ? limit : length;
    const std::uint64_t here = position();
    const std::uint64_t size = fileSize();
    const std::uint64_t available = here < size ? size - here : 0;
    mSoundBytes = std::min(length, available);
    n = std::min(n, available);
    KTBuffer block(static_cast<std::size_t>(n), 0);
    block.read(*this);
    clear();
    return block;
}
