#pragma once

#include "audio/KTAudioFileReader.h"

#include <cstdint>

// Reads uncompressed PCM from AIFF files, and from AIFF-C files whose
// compression type is 'NONE' (big-endian) or 'sowt' (little-endian); and
// AIFF-C float data ('fl32', 'fl64'), which it turns into 16-bit PCM.
class KTAiffFileReader : public KTAudioFileReader {
public:
    explicit KTAiffFileReader(const char* path);
    ~KTAiffFileReader() override;

    bool isValid() const override;
    bool isSupported() const override;
    KTSample readSample(std::uint64_t limit) override;

    std::uint32_t mHeaderId = 0;
    std::uint32_t mFormType = 0;
    // The AIFF-C compression type; 0 for plain AIFF or when it could not be read.
    std::uint32_t mCompressionType = 0;

private:
    void readHeader();
    void readCompressionType();
    bool isLittleEndian() const;
    // The bytes of a float sample, 4 or 8; 0 when the data is not float.
    std::size_t floatWidth() const;
};
