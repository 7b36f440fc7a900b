#pragma once

#include "device/TLWriteResult.h"

#include <cstdint>
#include <filesystem>
#include <vector>

// A bank as a WAV file any player can open: 44,100 Hz, mono, 16-bit PCM with
// the canonical 44-byte header, every sample of the bank.
class TLWaveExport {
public:
    static std::vector<std::uint8_t> bytes(const std::vector<std::int16_t>& samples);
    // Writes the file through the output rule (TLSafeWrite).
    static TLWriteResult write(const std::filesystem::path& path, const std::vector<std::int16_t>& samples);
};
