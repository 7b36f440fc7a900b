#pragma once

#include <cstdint>

// The status and meta-event bytes the program reads and writes, each named once.
struct KTMidiBytes {
    static constexpr std::uint8_t kSysEx = 0xF0;
    static constexpr std::uint8_t kEndOfSysEx = 0xF7;
    static constexpr std::uint8_t kMeta = 0xFF;
    // Meta event types.
    static constexpr std::uint8_t kCopyrightNotice = 0x02;
    static constexpr std::uint8_t kTrackName = 0x03;
    static constexpr std::uint8_t kInstrumentName = 0x04;
    static constexpr std::uint8_t kEndOfTrack = 0x2F;
    static constexpr std::uint8_t kSetTempo = 0x51;
    static constexpr std::uint8_t kTimeSignature = 0x58;
    static constexpr std::uint8_t kSequencerSpecific = 0x7F;
};
