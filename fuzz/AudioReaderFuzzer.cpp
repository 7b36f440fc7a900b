// Opens the input with each audio reader and goes the way an import goes:
// format, byte limit, sound data, conversion to the bank's format with the
// bank's frame limit; then reads the file's start raw through the same stream.
// Either reader must cope with whatever the other one reads.
#include "audio/KTAiffFileReader.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "fuzz/FuzzInputFile.h"

#include <algorithm>

namespace {

template <typename Reader> void readAsImport(const FuzzInputFile& file, std::size_t size)
{
    Reader reader(file.path());
    if (reader.isValid()) {
        const KTSampleConverter converter(44100.0, 1, 16, false);
        constexpr std::uint64_t bankFrames = 65536;
        const KTSample sample = reader.readSample(converter.sourceByteLimit(reader.readFormat(), bankFrames));
        KTSample imported;
        converter.convert(imported, sample, bankFrames);
        if (sample.size() > size || imported.size() > 2 * bankFrames)
            std::abort();
    }
    reader.clear();
    reader.seekg(0);
    std::string head(16, '\0');
    reader.read(head.data(), static_cast<std::streamsize>(head.size()));
    if (static_cast<std::size_t>(reader.gcount()) != std::min<std::size_t>(size, head.size()))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FuzzInputFile file(data, size);
    if (file.complete()) {
        readAsImport<KTAiffFileReader>(file, size);
        readAsImport<KTWaveFileReader>(file, size);
    }
    return 0;
}
