#include "device/TLInputKind.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>

namespace {

bool startsWith(std::span<const std::uint8_t> head, std::string_view magic, std::size_t at = 0)
{
    return head.size() >= at + magic.size() && std::equal(magic.begin(), magic.end(), head.begin() + at);
}

// An MPEG audio frame header: 11 sync bits, then a version, layer, bit rate
// and sample rate that are not the reserved values. ADTS (AAC) has layer 0.
std::string mpegFrame(std::span<const std::uint8_t> head)
{
    if (head.size() < 3 || head[0] != 0xFF || (head[1] & 0xE0) != 0xE0)
        return {};
    const int version = (head[1] >> 3) & 0x03;
    const int layer = (head[1] >> 1) & 0x03;
    if (layer == 0)
        return (head[1] & 0xF6) == 0xF0 ? "an AAC file" : "";
    const int bitRate = head[2] >> 4;
    const int sampleRate = (head[2] >> 2) & 0x03;
    if (version == 1 || bitRate == 0x0F || sampleRate == 0x03)
        return {};
    return "an MP3 file";
}

// A container's type code as text, with anything unprintable shown as '?'.
std::string typeCode(std::span<const std::uint8_t> head, std::size_t at)
{
    std::string code;
    for (std::size_t i = at; i < at + 4 && i < head.size(); ++i)
        code += std::isprint(head[i]) ? static_cast<char>(head[i]) : '?';
    return code;
}

} // namespace

std::string TLInputKind::otherFormat(std::span<const std::uint8_t> head)
{
    if (startsWith(head, "ID3"))
        return "an MP3 file";
    if (startsWith(head, "fLaC"))
        return "a FLAC file";
    if (startsWith(head, "OggS"))
        return "an Ogg file";
    if (startsWith(head, "MThd"))
        return "a MIDI file";
    if (startsWith(head, "caff"))
        return "a CAF file";
    if (startsWith(head, "RF64"))
        return "an RF64 file";
    if (startsWith(head, "RIFX"))
        return "a big-endian RIFF file";
    if (startsWith(head, "RIFF") && !startsWith(head, "WAVE", 8))
        return "a RIFF file of type '" + typeCode(head, 8) + "'";
    if (startsWith(head, "FORM") && !startsWith(head, "AIFF", 8) && !startsWith(head, "AIFC", 8))
        return "an IFF file of type '" + typeCode(head, 8) + "'";
    return mpegFrame(head);
}

bool TLInputKind::namedAsAudio(const std::filesystem::path& path)
{
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    constexpr std::array<std::string_view, 5> kAudio = {".wav", ".wave", ".aif", ".aiff", ".aifc"};
    return std::find(kAudio.begin(), kAudio.end(), extension) != kAudio.end();
}
