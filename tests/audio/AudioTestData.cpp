#include "tests/audio/AudioTestData.h"

#include <algorithm>
#include <cmath>

namespace audiotest {

std::vector<std::int64_t> makeSamples(std::size_t count, int bits, std::uint32_t seed)
{
    const std::int64_t low = -(std::int64_t{1} << (bits - 1));
    const auto span = std::uint64_t{1} << bits;
    std::vector<std::int64_t> samples{low, -low - 1, -1, 0, 1};
    for (std::uint64_t state = seed; samples.size() < count;) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        samples.push_back(low + static_cast<std::int64_t>((state >> 16) % span));
    }
    samples.resize(count);
    return samples;
}

Bytes littleEndianBytes(const std::vector<std::int64_t>& samples, std::size_t width)
{
    Bytes bytes;
    for (std::int64_t value : samples)
        for (std::size_t i = 0; i < width; ++i)
            bytes.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
    return bytes;
}

std::vector<std::int64_t> samples16(const Bytes& bytes)
{
    std::vector<std::int64_t> values;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        values.push_back(static_cast<std::int16_t>(bytes[i] | (bytes[i + 1] << 8)));
    return values;
}

std::uint32_t readUnsigned(const Bytes& bytes, std::size_t at, std::size_t width, bool bigEndian)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i)
        value = (value << 8) | bytes.at(bigEndian ? at + i : at + width - 1 - i);
    return value;
}

void writeUnsigned(Bytes& bytes, std::size_t at, std::uint64_t value, std::size_t width, bool bigEndian)
{
    for (std::size_t i = 0; i < width; ++i)
        bytes.at(bigEndian ? at + width - 1 - i : at + i) = static_cast<std::uint8_t>(value >> (8 * i));
}

std::optional<std::size_t> findChunk(const Bytes& file, const std::string& id, bool bigEndian)
{
    for (std::size_t at = 12; at + 8 <= file.size();) {
        if (std::equal(id.begin(), id.end(), file.begin() + static_cast<std::ptrdiff_t>(at)))
            return at;
        const std::uint32_t size = readUnsigned(file, at + 4, 4, bigEndian);
        at += 8 + size + (size & 1U);
    }
    return std::nullopt;
}

void insertChunk(Bytes& file, std::size_t at, const std::string& id, std::uint32_t size, bool bigEndian)
{
    Bytes chunk(id.begin(), id.end());
    chunk.resize(8 + size + (size & 1U), 0x5A);
    writeUnsigned(chunk, 4, size, 4, bigEndian);
    if (size & 1U)
        chunk.back() = 0;
    file.insert(file.begin() + static_cast<std::ptrdiff_t>(at), chunk.begin(), chunk.end());
    writeUnsigned(file, 4, readUnsigned(file, 4, 4, bigEndian) + chunk.size(), 4, bigEndian);
}

std::vector<std::int64_t> expectedImport(const std::vector<std::int64_t>& interleaved, int channels,
                                         std::size_t width, double rate)
{
    std::vector<std::int64_t> mono;
    for (std::size_t f = 0; f + static_cast<std::size_t>(channels) <= interleaved.size(); f += channels) {
        std::int64_t sum = 0;
        for (int c = 0; c < channels; ++c)
            sum += interleaved[f + static_cast<std::size_t>(c)];
        mono.push_back(sum / channels);
    }
    const double ratio = rate / 44100.0;
    const auto frames = static_cast<std::size_t>(static_cast<double>(mono.size() * width) / ratio) / width;
    std::vector<std::int64_t> result;
    for (std::size_t n = 0; n < frames; ++n) {
        const double pos = static_cast<double>(n) * ratio;
        const auto i0 = static_cast<std::size_t>(pos);
        const std::int64_t s0 = i0 < mono.size() ? mono[i0] : 0;
        const std::int64_t s1 = i0 + 1 < mono.size() ? mono[i0 + 1] : 0;
        const auto y = static_cast<std::int64_t>((pos - static_cast<double>(i0)) * static_cast<double>(s1 - s0)
                                                 + static_cast<double>(s0));
        const double scale = std::ldexp(1.0, 16 - 8 * static_cast<int>(width));
        result.push_back(static_cast<std::int64_t>(static_cast<double>(y) * scale));
    }
    return result;
}

} // namespace audiotest
