#pragma once

#include "audio/KTAudioFileReader.h"
#include "audio/KTSampleConverter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <unistd.h>

// Writes the input to a temporary file, opens it with Reader and goes the way
// an import goes: format, byte limit, sound data, conversion to the bank's
// format with the bank's frame limit.
template <typename Reader>
int fuzzAudioReader(const std::uint8_t* data, std::size_t size)
{
    char path[] = "/tmp/orvane-fuzz-XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0)
        return 0;
    close(fd);
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        Reader reader(path);
        if (reader.isValid()) {
            const KTSampleConverter converter(44100.0, 1, 16, false);
            constexpr std::uint64_t bankFrames = 65536;
            const KTSample format = reader.readFormat();
            const KTSample sample = reader.readSample(converter.sourceByteLimit(format, bankFrames));
            if (sample.size() > size)
                std::abort();
            KTSample imported;
            converter.convert(imported, sample, bankFrames);
            if (imported.size() > 2 * bankFrames)
                std::abort();
        }
        // The raw fallback reads the file from its start through the same stream.
        reader.clear();
        reader.seekg(0);
        std::string head(16, '\0');
        reader.read(head.data(), static_cast<std::streamsize>(head.size()));
        if (static_cast<std::size_t>(reader.gcount()) != std::min<std::size_t>(size, head.size()))
            std::abort();
    }
    std::remove(path);
    return 0;
}
