#include "device/TLDiskReader.h"

#include "device/TLBankRange.h"
#include "device/TLDumpCheck.h"
#include "device/TLOrvane.h"
#include "midi/KTMidiFileReader.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace {

// A lone track without a dump, a bank the instrument does not have, or
// foreign data: nothing in it belongs in a bank.
TLDiskTrack::Kind kindOf(int detectedBank, bool singleTrack)
{
    if (TLBankRange::isBank(detectedBank))
        return TLDiskTrack::Kind::Bank;
    if (detectedBank == -1 && !singleTrack)
        return TLDiskTrack::Kind::Header;
    return TLDiskTrack::Kind::Foreign;
}

// Directories, pipes and devices are no disks; opening a pipe would wait for a
// writer. Why the path is no file to read, empty when it is one.
std::string notAFileReason(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error)
        return error.message();
    return std::filesystem::is_regular_file(status) ? std::string() : "is not a regular file";
}

} // namespace

std::vector<const TLDiskTrack*> TLDiskContents::bankTracks() const
{
    std::vector<const TLDiskTrack*> banks;
    for (const TLDiskTrack& track : tracks)
        if (track.kind == TLDiskTrack::Kind::Bank)
            banks.push_back(&track);
    return banks;
}

TLDiskContents TLDiskReader::read(const std::filesystem::path& path, TLOrvane& orvane)
{
    TLDiskContents contents;
    contents.reason = notAFileReason(path);
    if (!contents.reason.empty())
        return contents;
    KTMidiFileReader reader(path.c_str());
    if (!reader.is_open()) {
        contents.reason = std::strerror(errno);
        return contents;
    }
    contents.status = TLDiskContents::Status::NotMidiFile;
    if (!reader.isMidiFile())
        return contents;
    contents.status = TLDiskContents::Status::Read;
    contents.trackCount = reader.mTrackCount;
    const bool singleTrack = reader.mTrackCount == 1;
    KTMidiEventList events;
    while (!reader.readTrack(events).empty()) {
        TLDiskTrack& track = contents.tracks.emplace_back();
        track.detectedBank = orvane.detectBank(events);
        track.kind = kindOf(track.detectedBank, singleTrack);
        if (track.kind == TLDiskTrack::Kind::Bank)
            track.damage = TLDumpCheck::damage(events);
        if (!track.damage.empty())
            track.kind = TLDiskTrack::Kind::Damaged;
        track.events = std::move(events);
        events.clear();
        if (track.kind == TLDiskTrack::Kind::Foreign || track.kind == TLDiskTrack::Kind::Damaged)
            break;
    }
    reader.close();
    return contents;
}
