#include "audio/KTWaveFileReader.h"

#include "audio/KTFourCharCode.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kRiff = KTFourCharCode("RIFF");
constexpr std::uint32_t kWave = KTFourCharCode("WAVE");
constexpr std::uint32_t kFmt = KTFourCharCode("fmt ");
constexpr std::uint32_t kData = KTFourCharCode("data");

// The extensible format chunk: the 16 common bytes, the extension size (2),
// valid bits (2), channel mask (4), then the 16-byte sub-format GUID.
constexpr std::uint32_t kExtensibleFormatSize = 40;
// From the tag: channels (2), rate (4), bytes a second (4), block size (2).
constexpr std::uint64_t kTagToBits = 12;
constexpr std::uint64_t kBitsToSubFormat = 8;
// Bytes 2 to 15 of every GUID that carries a format tag in its first two
// bytes (xxxxxxxx-0000-0010-8000-00AA00389B71).
constexpr std::array<std::uint8_t, 14> kGuidTail = {
    0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

} // namespace

KTWaveFileReader::KTWaveFileReader(const char* path)
    : KTAudioFileReader(path)
{
    if (!is_open())
        return;
    readHeader();
    // Only a RIFF WAVE file has chunks worth a walk.
    if (!isValid())
        return;
    setWantedChunks({kFmt, kData}, ByteOrder::LittleEndian);
    readFormatTag();
}

KTWaveFileReader::~KTWaveFileReader() = default;

bool KTWaveFileReader::isValid() const
{
    return mHeaderId == kRiff && mFormType == kWave;
}

bool KTWaveFileReader::isSupported() const
{
    return isValid() && (encoding() == kFormatPcm || isFloat());
}

std::uint16_t KTWaveFileReader::encoding() const
{
    return mFormatTag == kFormatExtensible ? mSubFormatTag : mFormatTag;
}

bool KTWaveFileReader::isFloat() const
{
    return encoding() == kFormatFloat && (mFormatBits == 32 || mFormatBits == 64);
}

void KTWaveFileReader::readHeader()
{
    seekTo(0);
    mHeaderId = readCode();
    if (mHeaderId != kRiff)
        return;
    skip(4);
    mFormType = readCode();
}

void KTWaveFileReader::readFormatTag()
{
    if (!findChunk(kFmt))
        return;
    const auto size = static_cast<std::uint32_t>(readUnsigned(4, ByteOrder::LittleEndian));
    mFormatTag = static_cast<std::uint16_t>(readUnsigned(2, ByteOrder::LittleEndian));
    if (!hasBytes(kTagToBits + 2))
        return;
    skip(kTagToBits);
    mFormatBits = static_cast<std::uint16_t>(readUnsigned(2, ByteOrder::LittleEndian));
    if (mFormatTag == kFormatExtensible)
        readSubFormatTag(size);
}

void KTWaveFileReader::readSubFormatTag(std::uint32_t formatChunkSize)
{
    if (formatChunkSize < kExtensibleFormatSize || !hasBytes(kBitsToSubFormat + 16))
        return;
    skip(kBitsToSubFormat);
    const KTBuffer guid = readField(16);
    if (!std::equal(kGuidTail.begin(), kGuidTail.end(), guid.begin() + 2))
        return;
    mSubFormatTag = static_cast<std::uint16_t>(guid[0] | (guid[1] << 8));
}

KTSample KTWaveFileReader::readSample(std::uint64_t limit)
{
    if (!is_open() || !findChunk(kFmt))
        return KTSample::withoutFormat();
    skip(6);
    const auto channels = static_cast<std::uint16_t>(readUnsigned(2, ByteOrder::LittleEndian));
    const auto rate = static_cast<double>(readUnsigned(4, ByteOrder::LittleEndian));
    skip(6);
    const auto bits = static_cast<std::uint16_t>(readUnsigned(2, ByteOrder::LittleEndian));

    KTSample sample;
    // 8-bit WAV data is offset binary; every wider size is two's complement.
    // Float data becomes 16-bit PCM.
    sample.setFormat(rate, channels, isFloat() ? 16 : bits, bits == 8);

    const auto size = findChunkWithSize(kData);
    if (!size)
        return sample;
    static_cast<KTBuffer&>(sample) =
        isFloat() ? readFloatBlock(*size, limit, channels, bits / 8, ByteOrder::LittleEndian)
                  : readBlock(*size, limit, std::uint64_t{channels} * sample.mBytesPerSample);
    return sample;
}
