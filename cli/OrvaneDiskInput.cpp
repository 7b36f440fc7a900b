#include "cli/OrvaneDiskInput.h"

#include "cli/OrvaneCliError.h"
#include "device/TLDiskReader.h"
#include "device/TLOrvane.h"

#include <algorithm>

OrvaneDiskInput OrvaneDiskInput::load(const std::string& path, TLOrvane& orvane)
{
    const TLDiskContents contents = TLDiskReader::read(path, orvane);
    if (contents.status == TLDiskContents::Status::NotAFile)
        throw OrvaneCliError::failure(path, contents.reason);
    if (contents.status == TLDiskContents::Status::NotMidiFile)
        throw OrvaneCliError::failure(path, "not a MIDI file");
    if (const TLDiskTrack* damaged = contents.damagedTrack())
        throw OrvaneCliError::failure(path, "bank " + std::to_string(damaged->detectedBank + 1) +
                                                " is damaged: " + damaged->damage);
    const std::vector<const TLDiskTrack*> tracks = contents.bankTracks();
    if (contents.hasForeignTrack() || tracks.empty())
        throw OrvaneCliError::failure(path, "holds no sound bank of the instrument");
    OrvaneDiskInput disk;
    disk.shape = contents.shape();
    for (const TLDiskTrack* track : tracks) {
        orvane.loadBank(track->events, track->detectedBank);
        disk.banks.push_back(track->detectedBank);
    }
    return disk;
}

bool OrvaneDiskInput::holds(int bank) const
{
    return std::find(banks.begin(), banks.end(), bank) != banks.end();
}

void OrvaneDiskInput::require(int bank, const std::string& path) const
{
    if (!holds(bank))
        throw OrvaneCliError::failure(path, "holds no bank " + std::to_string(bank + 1));
}
