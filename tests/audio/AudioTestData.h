#pragma once

#include "tests/audio/AudioTestFolder.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Helpers that build and edit AIFF and WAV bytes for the reader tests.
namespace audiotest {

// Deterministic samples of `bits` bits covering both extremes, -1, 0 and 1.
std::vector<std::int64_t> makeSamples(std::size_t count, int bits, std::uint32_t seed);
// The samples as least-significant-first bytes of `width` bytes each.
Bytes littleEndianBytes(const std::vector<std::int64_t>& samples, std::size_t width);
// 16-bit little-endian samples as integers.
std::vector<std::int64_t> samples16(const Bytes& bytes);

std::uint32_t readUnsigned(const Bytes& bytes, std::size_t at, std::size_t width, bool bigEndian);
void writeUnsigned(Bytes& bytes, std::size_t at, std::uint64_t value, std::size_t width, bool bigEndian);

// Offset of the chunk identifier `id` at the top level of the container.
std::optional<std::size_t> findChunk(const Bytes& file, const std::string& id, bool bigEndian);
// Inserts a chunk with `size` payload bytes (and the pad byte for odd sizes)
// at `at` and fixes the container size.
void insertChunk(Bytes& file, std::size_t at, const std::string& id, std::uint32_t size, bool bigEndian);

// What importing interleaved samples of `width` bytes gives, worked out on
// plain integers: the average of each frame truncated toward zero, linear
// interpolation to 44,100 frames per second, then scaling to 16 bits.
std::vector<std::int64_t> expectedImport(const std::vector<std::int64_t>& interleaved, int channels,
                                         std::size_t width, double rate);

} // namespace audiotest
