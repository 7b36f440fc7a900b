#pragma once

#include "device/TLDiskWriter.h"
#include "midi/KTMidiEvent.h"

#include <cstdint>
#include <filesystem>
#include <vector>

class TLOrvane;

// One track of a disk and the bank its dump belongs to.
struct TLDiskTrack {
    enum class Kind {
        Bank,    // a dump for one of the banks (detectedBank)
        Header,  // a track of an all-banks disk without a dump
        Foreign, // data for no bank of the instrument: the disk is not one of ours
    };
    Kind kind = Kind::Foreign;
    int detectedBank = -1;
    KTMidiEventList events;
};

// A disk file read track by track. Reading stops at the first foreign track,
// which ends the list: nothing after it belongs in a bank.
struct TLDiskContents {
    enum class Status {
        NotAFile,    // missing, a folder, a pipe or a device
        NotMidiFile, // unreadable or not a Standard MIDI File
        Read,
    };
    Status status = Status::NotAFile;
    std::uint16_t trackCount = 0;
    std::vector<TLDiskTrack> tracks;

    TLDiskShape shape() const { return trackCount == 1 ? TLDiskShape::OneBank : TLDiskShape::AllBanks; }
    // The tracks that hold a bank's dump, up to the first foreign one.
    std::vector<const TLDiskTrack*> bankTracks() const;
    bool hasForeignTrack() const { return !tracks.empty() && tracks.back().kind == TLDiskTrack::Kind::Foreign; }
};

class TLDiskReader {
public:
    // orvane recognises the bank of each track's dump.
    static TLDiskContents read(const std::filesystem::path& path, TLOrvane& orvane);
};
