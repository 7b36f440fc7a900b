#include "audio/KTAiffFileReader.h"
#include "fuzz/AudioReaderFuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return fuzzAudioReader<KTAiffFileReader>(data, size);
}
