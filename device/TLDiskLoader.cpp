#include "device/TLDiskLoader.h"

#include "device/TLOrvane.h"

namespace {

using Outcome = TLDiskReport::Outcome;

void refuse(TLDiskReport& report, Outcome outcome, std::string reason)
{
    report.outcome = outcome;
    report.reason = std::move(reason);
    report.banks.clear();
}

} // namespace

TLDiskReport TLDiskLoader::examine(const std::filesystem::path& path, TLOrvane& orvane)
{
    TLDiskReport report;
    report.contents = TLDiskReader::read(path, orvane);
    const TLDiskContents& contents = report.contents;
    report.shape = contents.shape();
    for (const TLDiskTrack* track : contents.bankTracks())
        report.banks.push_back(track->detectedBank);
    report.outcome = Outcome::Loadable;
    if (contents.status == TLDiskContents::Status::NotAFile)
        refuse(report, Outcome::NotAFile, contents.reason);
    else if (contents.status == TLDiskContents::Status::NotMidiFile)
        refuse(report, Outcome::NotMidiFile, "not a MIDI file");
    else if (const TLDiskTrack* damaged = contents.damagedTrack()) {
        refuse(report, Outcome::Damaged,
               "bank " + std::to_string(damaged->detectedBank + 1) + " is damaged: " + damaged->damage);
        report.damagedBank = damaged->detectedBank;
    } else if (contents.hasForeignTrack() || report.banks.empty())
        refuse(report, Outcome::Foreign, "holds no sound bank of the instrument");
    return report;
}

void TLDiskLoader::load(const TLDiskReport& report, TLOrvane& orvane, int target)
{
    if (!report.loadable())
        return;
    const bool retarget = report.shape == TLDiskShape::OneBank && target != kOwnBank;
    for (const TLDiskTrack* track : report.contents.bankTracks())
        orvane.loadBank(track->events, retarget ? target : track->detectedBank);
}
