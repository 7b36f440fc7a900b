#pragma once

#include "audio/KTAudioFileReader.h"

#include <cstdint>

// Reads uncompressed PCM from RIFF WAVE files: format tag 1, or the extensible
// tag 0xFFFE with the PCM sub-format; and 32- or 64-bit float data (tag 3, or
// the float sub-format), which it turns into 16-bit PCM.
class KTWaveFileReader : public KTAudioFileReader {
public:
    static constexpr std::uint16_t kFormatPcm = 0x0001;
    static constexpr std::uint16_t kFormatFloat = 0x0003;
    static constexpr std::uint16_t kFormatExtensible = 0xFFFE;

    explicit KTWaveFileReader(const char* path);
    ~KTWaveFileReader() override;

    bool isValid() const override;
    bool isSupported() const override;
    KTSample readSample(std::uint64_t limit) override;

    std::uint32_t mHeaderId = 0;
    std::uint32_t mFormType = 0;
    std::uint16_t mFormatTag = 0;
    // For the extensible tag: the format tag its sub-format GUID carries, 0 when
    // the GUID is not one of the standard format-tag GUIDs or is missing.
    std::uint16_t mSubFormatTag = 0;
    // The bits of a sample the format chunk declares.
    std::uint16_t mFormatBits = 0;

private:
    void readHeader();
    void readFormatTag();
    void readSubFormatTag(std::uint32_t formatChunkSize);
    // The format tag that counts: the sub-format's for the extensible tag.
    std::uint16_t encoding() const;
    bool isFloat() const;
};
