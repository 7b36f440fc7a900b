#pragma once

#include "device/TLWriteResult.h"
#include "midi/KTMidiEvent.h"

#include <cstdint>
#include <filesystem>
#include <vector>

class TLOrvane;

// What a disk holds: the dump of one bank, or of all seven.
enum class TLDiskShape { OneBank, AllBanks };

// A disk is a Standard MIDI File: a one-bank disk is a single track of header
// events, the bank's names and its dump; an all-banks disk has a track of
// header events followed by one track a bank.
class TLDiskWriter {
public:
    static constexpr std::uint16_t kDivision = 24;
    static constexpr std::uint16_t kTempo = 120;

    // The disk's tracks, in file order. bank is used for a one-bank disk only.
    static std::vector<KTMidiEventList> tracks(TLOrvane& orvane, TLDiskShape shape, int bank);
    // The header track and a track for each of the banks, in the order given:
    // an all-banks disk that holds only these banks.
    static std::vector<KTMidiEventList> tracksOf(TLOrvane& orvane, const std::vector<int>& banks);
    // The disk file's bytes; empty, with the system's reason, when they could
    // not be made.
    static std::vector<std::uint8_t> bytes(const std::vector<KTMidiEventList>& tracks, std::string& failure);
    // Writes the tracks as a disk through the output rule (TLSafeWrite).
    static TLWriteResult write(const std::filesystem::path& path, const std::vector<KTMidiEventList>& tracks);
    // Both steps together.
    static TLWriteResult save(TLOrvane& orvane, TLDiskShape shape, int bank, const std::filesystem::path& path);
};
