#include "device/TLWaveExport.h"

#include "device/TLOrvane.h"
#include "device/TLSafeWrite.h"

#include <string_view>

namespace {

constexpr std::uint32_t kRate = TLOrvane::kSampleRate;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBits = 16;
constexpr std::uint16_t kBytesPerFrame = kChannels * kBits / 8;

void putText(std::vector<std::uint8_t>& out, std::string_view text)
{
    out.insert(out.end(), text.begin(), text.end());
}

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace

std::vector<std::uint8_t> TLWaveExport::bytes(const std::vector<std::int16_t>& samples)
{
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * kBytesPerFrame);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    putText(out, "RIFF");
    putLittleEndian(out, 36 + dataBytes, 4);
    putText(out, "WAVEfmt ");
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2); // PCM
    putLittleEndian(out, kChannels, 2);
    putLittleEndian(out, kRate, 4);
    putLittleEndian(out, kRate * kBytesPerFrame, 4);
    putLittleEndian(out, kBytesPerFrame, 2);
    putLittleEndian(out, kBits, 2);
    putText(out, "data");
    putLittleEndian(out, dataBytes, 4);
    for (std::int16_t sample : samples)
        putLittleEndian(out, static_cast<std::uint16_t>(sample), 2);
    return out;
}

TLWriteResult TLWaveExport::write(const std::filesystem::path& path, const std::vector<std::int16_t>& samples)
{
    return TLSafeWrite::replace(path, bytes(samples));
}
