#include "device/TLRecording.h"

#include "audio/KTSample.h"
#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"

#include <cstring>

std::string TLRecording::sampleName(std::time_t when)
{
    std::tm local = {};
    localtime_r(&when, &local);
    char text[64];
    std::strftime(text, sizeof text, "Recording %Y-%m-%d %H:%M:%S", &local);
    return text;
}

void TLRecording::store(TLOrvane& orvane, int bank, const std::vector<std::int16_t>& take, std::time_t when)
{
    KTSample sound;
    sound.setFormat(44100.0, 1, 16, false);
    sound.resize(take.size() * sizeof(std::int16_t));
    if (!take.empty())
        std::memcpy(sound.data(), take.data(), sound.size());
    TLSampleImporter::place(orvane.mSamples[static_cast<std::size_t>(bank)], sound);
    orvane.setSampleName(sampleName(when).c_str(), bank, 0);
}
