#include "device/TLDumpCheck.h"

#include "device/TLDumpFormat.h"
#include "midi/KTMidiBytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

// Why one System Exclusive message of the dump is damaged; empty when whole.
std::string messageDamage(const KTMidiEvent& message, const char* what)
{
    const std::string name(what);
    if (message.size() < 3 || message[1] != TLDumpFormat::kManufacturer)
        return "its " + name + " is not for the instrument (manufacturer byte is not 31)";
    if (message.back() != KTMidiBytes::kEndOfSysEx)
        return "its " + name + " does not end with F7";
    // One pass over the bytes between F0 and F7, their high bits gathered
    // eight bytes at a time.
    const std::uint8_t* byte = message.data() + 1;
    const std::uint8_t* const end = message.data() + message.size() - 1;
    std::uint64_t highBits = 0;
    for (; end - byte >= 8; byte += 8) {
        std::uint64_t eight = 0;
        std::memcpy(&eight, byte, sizeof eight);
        highBits |= eight;
    }
    for (; byte < end; ++byte)
        highBits |= *byte;
    if (highBits & 0x8080808080808080U)
        return "its " + name + " holds a byte of 0x80 or more";
    return {};
}

} // namespace

std::string TLDumpCheck::damage(const KTMidiEventList& events)
{
    const auto header = std::find_if(events.begin(), events.end(),
                                     [](const KTMidiEvent& event) { return event.isSysEx(); });
    if (header == events.end() || header + 1 == events.end())
        return "it holds no bank dump";
    if (std::string why = messageDamage(*header, "bank header"); !why.empty())
        return why;
    const KTMidiEvent& data = *(header + 1);
    if (data.size() != TLDumpFormat::kSampleDataSize)
        return "its sample data is " + std::to_string(data.size()) + " bytes long, not " +
               std::to_string(TLDumpFormat::kSampleDataSize);
    return messageDamage(data, "sample data");
}
