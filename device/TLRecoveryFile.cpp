#include "device/TLRecoveryFile.h"

#include "device/TLDiskLoader.h"
#include "device/TLDiskWriter.h"
#include "device/TLSafeWrite.h"
#include "midi/KTMidiBytes.h"

#include <sys/stat.h>

#include <algorithm>

namespace {

constexpr std::uint8_t kText = 0x01;
constexpr char kDiskPrefix[] = "disk: ";

KTMidiEvent diskEvent(const std::string& disk)
{
    KTMidiEvent event{KTMidiBytes::kMeta, kText};
    const std::string text = kDiskPrefix + disk;
    event.insert(event.end(), text.begin(), text.end());
    return event;
}

// The disk a bank's track names, empty when it names none.
std::string diskOf(const KTMidiEventList& events)
{
    const std::string prefix(kDiskPrefix);
    for (const KTMidiEvent& event : events)
        if (event.size() >= 2 + prefix.size() && event[0] == KTMidiBytes::kMeta && event[1] == kText
            && std::equal(prefix.begin(), prefix.end(), event.begin() + 2))
            return std::string(event.begin() + 2 + static_cast<std::ptrdiff_t>(prefix.size()), event.end());
    return {};
}

} // namespace

TLWriteResult TLRecoveryFile::write(const std::filesystem::path& path, TLOrvane& orvane, const std::vector<int>& banks,
                                    const std::vector<std::string>& disks)
{
    std::vector<KTMidiEventList> tracks = TLDiskWriter::tracksOf(orvane, banks);
    for (std::size_t i = 0; i < banks.size() && i < disks.size(); ++i)
        tracks[i + 1].insert(tracks[i + 1].begin(), diskEvent(disks[i]));
    std::string failure;
    const std::vector<std::uint8_t> bytes = TLDiskWriter::bytes(tracks, failure);
    if (bytes.empty())
        return TLWriteResult::failed(failure);
    return TLSafeWrite::replace(path, bytes);
}

TLRecoveryFile::Contents TLRecoveryFile::read(const std::filesystem::path& path, TLOrvane& orvane)
{
    Contents contents{TLDiskLoader::examine(path, orvane), {}, 0};
    for (const TLDiskTrack* track : contents.report.contents.bankTracks())
        contents.disks.push_back(diskOf(track->events));
    struct stat status = {};
    if (::stat(path.c_str(), &status) == 0)
        contents.written = status.st_mtime;
    return contents;
}
