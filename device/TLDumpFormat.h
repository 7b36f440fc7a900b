#pragma once

#include "device/TLOrvane.h"

#include <cstddef>
#include <cstdint>

// The bytes of the instrument's bank dump: a bank header message
// F0 31 0D 79 bank F7, then a sample data message F0 31 4b 66 2c (b: 0x40 |
// bank, c: the channel) with every sample as four seven-bit bytes and a final F7.
struct TLDumpFormat {
    static constexpr std::uint8_t kManufacturer = 0x31;
    static constexpr std::uint8_t kBankHeaderType = 0x79;
    static constexpr std::uint8_t kSampleDataType = 0x66;
    // F0, manufacturer, bank, type, channel: the bytes before the samples.
    static constexpr std::size_t kSampleDataHeader = 5;
    static constexpr std::size_t kBytesPerSample = 4;
    static constexpr std::size_t kSampleDataSize =
        kSampleDataHeader + kBytesPerSample * TLOrvane::kSamplesPerBank + 1;
    // The pause before the sample data message, milliseconds.
    static constexpr std::uint64_t kSampleDataPause = 6000;
};
