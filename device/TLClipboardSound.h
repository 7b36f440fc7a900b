#pragma once

#include "device/TLSampleImporter.h"

#include <cstdint>
#include <vector>

// Sound on the desktop's clipboard, as WAV data (audio/wav) that other audio
// programs take and give: a bank's samples as a 44,100 Hz mono 16-bit WAV,
// and any WAV or AIFF another program copied, read as an import reads a file.
class TLClipboardSound {
public:
    static std::vector<std::uint8_t> wave(const std::vector<std::int16_t>& samples);
    // The bytes read as an audio file (converted to the bank's format).
    static TLImportedSound read(const std::vector<std::uint8_t>& bytes);
};
