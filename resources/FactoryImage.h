#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

static_assert(std::endian::native == std::endian::little,
              "the built-in factory image is stored little-endian and read in place");

// The instrument's factory sample memory, built into the program: kBanks banks of
// kSamplesPerBank signed 16-bit samples, bank b starting at sample b * kSamplesPerBank.
class FactoryImage {
public:
    static constexpr std::size_t kBanks = 7;
    static constexpr std::size_t kSamplesPerBank = 65536;

    // The first sample of bank 0; the image is 16-byte aligned and read-only.
    static const std::int16_t* samples();

    // The size of the image in bytes: 917,504.
    static constexpr std::size_t byteSize() { return kBanks * kSamplesPerBank * sizeof(std::int16_t); }
};
