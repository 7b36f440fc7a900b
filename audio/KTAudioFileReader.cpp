#include "audio/KTAudioFileReader.h"

#include "audio/KTAiffFileReader.h"
#include "audio/KTWaveFileReader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace {

constexpr std::uint64_t kContainerHeaderSize = 12;
// Skips up to this many bytes read through the stream's buffer; longer ones seek.
constexpr std::uint64_t kReadThroughSkip = 65536;

} // namespace

std::unique_ptr<KTAudioFileReader> KTAudioFileReader::open(const char* path)
{
    std::unique_ptr<KTAudioFileReader> reader = std::make_unique<KTAiffFileReader>(path);
    if (!reader->isValid()) {
        reader->close();
        reader = std::make_unique<KTWaveFileReader>(path);
    }
    return reader;
}

KTAudioFileReader::KTAudioFileReader(const char* path)
    : KTFileReader(path)
{
    if (!is_open())
        return;
    seekg(0, std::ios::end);
    const auto end = tellg();
    mFileSize = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    seekTo(0);
}

KTAudioFileReader::~KTAudioFileReader() = default;

KTSample KTAudioFileReader::readFormat()
{
    KTSample format = readSample(1);
    format.clear();
    return format;
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
    std::array<std::uint8_t, 8> field = {};
    n = std::min(n, field.size());
    read(reinterpret_cast<char*>(field.data()), static_cast<std::streamsize>(n));
    if (!*this)
        clear();
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < n; ++i)
        value = (value << 8) | field[order == ByteOrder::BigEndian ? i : n - 1 - i];
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
        moveForward(here, n);
}

void KTAudioFileReader::moveForward(std::uint64_t here, std::uint64_t n)
{
    if (n <= kReadThroughSkip) {
        ignore(static_cast<std::streamsize>(n));
        clear();
    } else {
        seekTo(here + n);
    }
}

bool KTAudioFileReader::hasBytes(std::uint64_t count)
{
    const std::uint64_t here = position();
    const std::uint64_t size = fileSize();
    return here <= size && size - here >= count;
}

void KTAudioFileReader::setWantedChunks(std::initializer_list<std::uint32_t> ids, ByteOrder order)
{
    mWantedChunks.assign(ids);
    mChunkOrder = order;
    mChunks.clear();
    mIndexed = false;
}

bool KTAudioFileReader::findChunk(std::uint32_t wanted)
{
    const ChunkPlace* found = place(wanted);
    if (found)
        seekTo(found->afterId);
    return found != nullptr;
}

std::optional<std::uint32_t> KTAudioFileReader::findChunkWithSize(std::uint32_t wanted)
{
    const ChunkPlace* found = place(wanted);
    if (!found || !found->size)
        return std::nullopt;
    seekTo(found->afterId + 4);
    return found->size;
}

const KTAudioFileReader::ChunkPlace* KTAudioFileReader::place(std::uint32_t wanted)
{
    if (!mIndexed)
        indexChunks();
    const auto found = std::find_if(mChunks.begin(), mChunks.end(),
                                    [wanted](const ChunkPlace& chunk) { return chunk.id == wanted; });
    return found == mChunks.end() ? nullptr : &*found;
}

// Walks the chunks once, noting the first of each wanted kind, until all are
// found, the file ends, or a chunk that is not wanted runs past the end. Every
// chunk moves the walk forward by at least its 8 header bytes.
void KTAudioFileReader::indexChunks()
{
    mIndexed = true;
    const std::uint64_t size = fileSize();
    seekTo(kContainerHeaderSize);
    std::uint64_t here = kContainerHeaderSize;
    while (mChunks.size() < mWantedChunks.size() && here <= size && size - here >= 4) {
        const std::uint32_t id = readCode();
        here += 4;
        const bool wanted = std::find(mWantedChunks.begin(), mWantedChunks.end(), id) != mWantedChunks.end();
        const bool first = wanted && std::none_of(mChunks.begin(), mChunks.end(),
                                                  [id](const ChunkPlace& chunk) { return chunk.id == id; });
        if (size - here < 4) {
            if (first)
                mChunks.push_back({id, here, std::nullopt});
            break;
        }
        const auto chunkSize = static_cast<std::uint32_t>(readUnsigned(4, mChunkOrder));
        if (first)
            mChunks.push_back({id, here, chunkSize});
        here += 4;
        if (!wanted && here + chunkSize > size)
            break;
        const std::uint64_t next = std::min(here + chunkSize + (chunkSize & 1U), size);
        moveForward(here, next - here);
        here = next;
    }
    seekTo(std::min(here, size));
}

KTBuffer KTAudioFileReader::readBlock(std::uint64_t length, std::uint64_t limit, std::uint64_t frameBytes)
{
    const std::uint64_t here = position();
    const std::uint64_t size = fileSize();
    const std::uint64_t available = here < size ? size - here : 0;
    mSoundBytes = std::min(length, available);
    // A start past the end of the sound leaves nothing to read.
    const std::uint64_t skipped = mStartFrame > mSoundBytes / std::max<std::uint64_t>(frameBytes, 1)
                                      ? mSoundBytes
                                      : mStartFrame * frameBytes;
    // 0 means no limit: limit - 1 wraps to the largest value.
    const std::uint64_t left = mSoundBytes - skipped;
    const std::uint64_t n = (limit - 1 < left) ? limit : left;
    if (skipped > 0)
        seekTo(here + skipped);
    KTBuffer block(static_cast<std::size_t>(n), 0);
    block.read(*this);
    clear();
    return block;
}

KTBuffer KTAudioFileReader::readFloatBlock(std::uint64_t length, std::uint64_t limit, std::uint16_t channels,
                                           std::size_t width, ByteOrder order)
{
    const std::uint64_t fileLimit = limit == 0 ? 0 : (limit + 1) / 2 * width;
    const KTBuffer data = readBlock(length, fileLimit, std::uint64_t{channels} * width);
    mSoundBytes = mSoundBytes / width * 2;
    mClipped = 0;
    KTBuffer pcm(data.size() / width * 2, 0);
    for (std::size_t i = 0; i < data.size() / width; ++i) {
        std::uint64_t bits = 0;
        for (std::size_t b = 0; b < width; ++b)
            bits = (bits << 8) | data[i * width + (order == ByteOrder::BigEndian ? b : width - 1 - b)];
        const double value = width == 8 ? std::bit_cast<double>(bits)
                                        : double(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
        const double scaled = std::isnan(value) ? 0.0 : std::round(value * 32768.0);
        const double clipped = std::clamp(scaled, -32768.0, 32767.0);
        mClipped += clipped != scaled;
        const auto sample = static_cast<std::uint16_t>(static_cast<std::int16_t>(clipped));
        pcm[2 * i] = static_cast<std::uint8_t>(sample & 0xFF);
        pcm[2 * i + 1] = static_cast<std::uint8_t>(sample >> 8);
    }
    return pcm;
}
