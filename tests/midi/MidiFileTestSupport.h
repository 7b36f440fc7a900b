#pragma once

#include "device/TLOrvane.h"
#include "midi/KTMidiEvent.h"

#include <cstdint>
#include <string>
#include <vector>

// Helpers shared by the MIDI file tests: scratch paths, whole-file I/O, a bank
// store on a synthetic factory image, the all-banks disk as the save workflow
// lays it out, and an independent walker over the chunks and events of a file.
namespace miditest {

using Bytes = std::vector<std::uint8_t>;

// A path in the build folder, unique to the running test.
std::string scratchPath(const std::string& name);
Bytes readFile(const std::string& path);
void writeFile(const std::string& path, const Bytes& bytes);
KTMidiEvent eventOf(const Bytes& bytes, std::uint64_t delay = 0);
// F0, 0x01 0x02 ... (modulo 0x80), F7.
KTMidiEvent sysExOfSize(std::size_t size, std::uint64_t delay);
// 7 banks of samples that vary from sample to sample and bank to bank.
std::vector<std::int16_t> syntheticImage();

// Tempo, time signature and copyright notice, as the save workflow writes them first.
KTMidiEventList headerEvents();
// The events of one bank's track: three name events and the sample dump on channel 0.
KTMidiEventList bankTrack(TLOrvane& orvane, int bank);
// Writes the header track and one track per bank at division 24, tempo 120.
// Returns the writer's elapsed ticks after each bank's track.
std::vector<std::uint64_t> writeAllBanksDisk(const std::string& path, TLOrvane& orvane);

struct RawEvent {
    std::uint64_t delta = 0;
    Bytes bytes;  // status, [type], data: the length field dropped
};
struct ParsedFile {
    std::uint16_t format = 0, trackCount = 0, division = 0;
    std::vector<Bytes> tracks;  // each chunk's data
    bool wellFormed = false;    // header, chunk lengths and End of Track all consistent
};
// Walks a file as the format defines it; wellFormed false when it is not.
ParsedFile parseFile(const Bytes& file);
// The events of a track chunk's data, the End of Track included; complete tells
// whether they cover the data exactly.
std::vector<RawEvent> parseEvents(const Bytes& data, bool* complete = nullptr);

} // namespace miditest
