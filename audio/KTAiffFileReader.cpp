#include "audio/KTAiffFileReader.h"

#include "audio/KTFloat80.h"
#include "audio/KTFourCharCode.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kForm = KTFourCharCode("FORM");
constexpr std::uint32_t kAiff = KTFourCharCode("AIFF");
constexpr std::uint32_t kAifc = KTFourCharCode("AIFC");
constexpr std::uint32_t kComm = KTFourCharCode("COMM");
constexpr std::uint32_t kSsnd = KTFourCharCode("SSND");
constexpr std::uint32_t kNone = KTFourCharCode("NONE");
constexpr std::uint32_t kSowt = KTFourCharCode("sowt");
constexpr std::uint32_t kFloat32 = KTFourCharCode("fl32");
constexpr std::uint32_t kFloat32Upper = KTFourCharCode("FL32");
constexpr std::uint32_t kFloat64 = KTFourCharCode("fl64");
constexpr std::uint32_t kFloat64Upper = KTFourCharCode("FL64");

// Channels (2), frame count (4), sample size (2), rate (10): the compression
// type of AIFF-C follows them.
constexpr std::uint32_t kCommonFieldsSize = 18;

// Turns big-endian samples of `width` bytes into least-significant-first
// ones in place; a trailing part sample is dropped.
void reverseSamples(KTBuffer& data, std::size_t width)
{
    if (width == 0) {
        data.clear();
        return;
    }
    data.resize(data.size() - data.size() % width);
    if (width == 1)
        return;
    for (auto group = data.begin(); group != data.end(); group += static_cast<std::ptrdiff_t>(width))
        std::reverse(group, group + static_cast<std::ptrdiff_t>(width));
}

} // namespace

KTAiffFileReader::KTAiffFileReader(const char* path)
    : KTAudioFileReader(path)
{
    if (!is_open())
        return;
    readHeader();
    if (!isValid())
        return;
    setWantedChunks({kComm, kSsnd}, ByteOrder::BigEndian);
    if (mFormType == kAifc)
        readCompressionType();
}

KTAiffFileReader::~KTAiffFileReader() = default;

bool KTAiffFileReader::isValid() const
{
    return mHeaderId == kForm;
}

bool KTAiffFileReader::isSupported() const
{
    if (!isValid())
        return false;
    if (mFormType == kAiff)
        return true;
    return mFormType == kAifc && (mCompressionType == kNone || mCompressionType == kSowt || floatWidth() != 0);
}

std::size_t KTAiffFileReader::floatWidth() const
{
    if (mFormType != kAifc)
        return 0;
    if (mCompressionType == kFloat32 || mCompressionType == kFloat32Upper)
        return 4;
    return mCompressionType == kFloat64 || mCompressionType == kFloat64Upper ? 8 : 0;
}

void KTAiffFileReader::readHeader()
{
    seekTo(0);
    mHeaderId = readCode();
    if (mHeaderId != kForm)
        return;
    skip(4);
    mFormType = readCode();
}

void KTAiffFileReader::readCompressionType()
{
    const auto size = findChunkWithSize(kComm);
    if (!size || *size < kCommonFieldsSize + 4)
        return;
    skip(kCommonFieldsSize);
    mCompressionType = readCode();
}

bool KTAiffFileReader::isLittleEndian() const
{
    return mFormType == kAifc && mCompressionType == kSowt;
}

KTSample KTAiffFileReader::readSample(std::uint64_t limit)
{
    if (!is_open() || !findChunk(kComm))
        return KTSample::withoutFormat();
    skip(4);
    const auto channels = static_cast<std::uint16_t>(readUnsigned(2, ByteOrder::BigEndian));
    skip(4);
    const auto bits = static_cast<std::uint16_t>(readUnsigned(2, ByteOrder::BigEndian));
    KTFloat80 rate;
    rate.read(*this);
    clear();

    KTSample sample;
    // Float data becomes 16-bit PCM; its sample size field says 32 or 64.
    const std::size_t width = floatWidth();
    sample.setFormat(rate.toDouble(), channels, width != 0 ? 16 : bits, false);

    const auto size = findChunkWithSize(kSsnd);
    // A chunk too small for its offset and block size fields, or cut short
    // inside them, holds no data.
    if (!size || *size < 8 || !hasBytes(8))
        return sample;
    const std::uint64_t offset = readUnsigned(4, ByteOrder::BigEndian);
    skip(4);
    // The offset says how many bytes precede the first sample frame.
    const std::uint64_t length = *size - 8;
    if (offset > length || !hasBytes(offset))
        return sample;
    skip(offset);
    if (width != 0) {
        static_cast<KTBuffer&>(sample) = readFloatBlock(length - offset, limit, channels, width, ByteOrder::BigEndian);
        return sample;
    }

    KTBuffer data = readBlock(length - offset, limit, std::uint64_t{channels} * sample.mBytesPerSample);
    if (!isLittleEndian())
        reverseSamples(data, sample.mBytesPerSample);
    else if (sample.mBytesPerSample == 0)
        data.clear();
    else
        data.resize(data.size() - data.size() % sample.mBytesPerSample);
    static_cast<KTBuffer&>(sample) = std::move(data);
    return sample;
}
