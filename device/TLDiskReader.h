#pragma once

#include "device/TLDiskWriter.h"
#include "midi/KTMidiEvent.h"

#include <cstdint>
#include <filesystem>
#include <vector>

class TLOrvane;

#include <string>

// One track of a disk and the bank its dump belongs to.
struct TLDiskTrack {
    enum class Kind {
        Bank,    // a dump for one of the banks (detectedBank)
        Header,  // a track of an all-banks disk without a dump
        Foreign, // data for no bank of the instrument: the disk is not one of ours
        Damaged, // a dump for one of the banks that did not arrive whole (damage)
    };
    Kind kind = Kind::Foreign;
    int detectedBank = -1;
    // Why a Damaged track's dump is damaged.
    std::string damage;
    KTMidiEventList events;
};

// A disk file read track by track. Reading stops at the first foreign or
// damaged track, which ends the list: nothing after it belongs in a bank, and
// a disk with such a track is refused whole.
struct TLDiskContents {
    enum class Status {
        NotAFile,    // missing, a folder, a pipe or a device
        NotMidiFile, // unreadable or not a Standard MIDI File
        Read,
    };
    Status status = Status::NotAFile;
    // Why the file could not be read, with NotAFile.
    std::string reason;
    std::uint16_t trackCount = 0;
    std::vector<TLDiskTrack> tracks;

    TLDiskShape shape() const { return trackCount == 1 ? TLDiskShape::OneBank : TLDiskShape::AllBanks; }
    // The tracks that hold a bank's dump, up to the first foreign one.
    std::vector<const TLDiskTrack*> bankTracks() const;
    bool hasForeignTrack() const { return endsWith(TLDiskTrack::Kind::Foreign); }
    // The damaged track that ended the list, or none.
    const TLDiskTrack* damagedTrack() const
    {
        return endsWith(TLDiskTrack::Kind::Damaged) ? &tracks.back() : nullptr;
    }

private:
    bool endsWith(TLDiskTrack::Kind kind) const { return !tracks.empty() && tracks.back().kind == kind; }
};

class TLDiskReader {
public:
    // orvane recognises the bank of each track's dump.
    static TLDiskContents read(const std::filesystem::path& path, TLOrvane& orvane);
};
