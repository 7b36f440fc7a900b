#include "device/TLDiskWriter.h"

#include "device/TLOrvane.h"
#include "device/TLSafeWrite.h"
#include "midi/KTMidiBytes.h"
#include "midi/KTMidiFileWriter.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {

// Disks always carry dumps for channel 0; the channel is chosen when sending.
constexpr int kDiskChannel = 0;
constexpr std::string_view kCopyrightText = "Copyright (c) OrvaneEditor";

KTMidiEvent metaEvent(std::uint8_t type, std::string_view payload)
{
    KTMidiEvent event;
    event.mDelay = 0;
    event.push_back(KTMidiBytes::kMeta);
    event.push_back(type);
    event.insert(event.end(), payload.begin(), payload.end());
    return event;
}

// Set Tempo (500,000 us a quarter), Time Signature (4/4) and Copyright Notice.
void appendHeaderEvents(KTMidiEventList& events)
{
    events.push_back(metaEvent(KTMidiBytes::kSetTempo, std::string_view("\x07\xA1\x20", 3)));
    events.push_back(metaEvent(KTMidiBytes::kTimeSignature, std::string_view("\x04\x02\x18\x08", 4)));
    events.push_back(metaEvent(KTMidiBytes::kCopyrightNotice, kCopyrightText));
}

// The bank's name events followed by its dump.
void appendBankEvents(KTMidiEventList& events, TLOrvane& orvane, int bank)
{
    for (std::uint8_t kind : {KTMidiBytes::kTrackName, KTMidiBytes::kInstrumentName, KTMidiBytes::kSequencerSpecific})
        events.push_back(orvane.makeMetaEvent(kind, bank));
    KTMidiEventList dump = orvane.makeSampleDump(bank, kDiskChannel);
    for (KTMidiEvent& event : dump)
        events.push_back(std::move(event));
}

} // namespace

std::vector<KTMidiEventList> TLDiskWriter::tracks(TLOrvane& orvane, TLDiskShape shape, int bank)
{
    std::vector<KTMidiEventList> tracks(1);
    appendHeaderEvents(tracks.front());
    if (shape == TLDiskShape::OneBank) {
        appendBankEvents(tracks.front(), orvane, bank);
        return tracks;
    }
    for (int each = 0; each < TLOrvane::kBankCount; ++each)
        appendBankEvents(tracks.emplace_back(), orvane, each);
    return tracks;
}

std::vector<KTMidiEventList> TLDiskWriter::tracksOf(TLOrvane& orvane, const std::vector<int>& banks)
{
    std::vector<KTMidiEventList> tracks(1);
    appendHeaderEvents(tracks.front());
    for (const int bank : banks)
        appendBankEvents(tracks.emplace_back(), orvane, bank);
    return tracks;
}

// The MIDI file writer works on a file it can seek in. It writes into a file
// that lives in memory only, reached by its /proc name, so the disk's bytes
// leave the program only through the output rule.
std::vector<std::uint8_t> TLDiskWriter::bytes(const std::vector<KTMidiEventList>& tracks, std::string& failure)
{
    const int memory = ::memfd_create("orvane-disk", MFD_CLOEXEC);
    if (memory < 0) {
        failure = std::strerror(errno);
        return {};
    }
    errno = 0;
    const std::string path = "/proc/self/fd/" + std::to_string(memory);
    KTMidiFileWriter writer(path.c_str(), kDivision, kTempo);
    for (const KTMidiEventList& track : tracks)
        writer.writeTrack(track, true);
    std::vector<std::uint8_t> content;
    struct stat written = {};
    if (writer.finish() && ::fstat(memory, &written) == 0) {
        content.resize(static_cast<std::size_t>(written.st_size));
        if (::pread(memory, content.data(), content.size(), 0) != written.st_size)
            content.clear();
    }
    if (content.empty())
        failure = std::strerror(errno != 0 ? errno : EIO);
    ::close(memory);
    return content;
}

TLWriteResult TLDiskWriter::write(const std::filesystem::path& path, const std::vector<KTMidiEventList>& tracks)
{
    std::string failure;
    const std::vector<std::uint8_t> content = bytes(tracks, failure);
    if (content.empty())
        return TLWriteResult::failed(failure);
    return TLSafeWrite::replace(path, content);
}

TLWriteResult TLDiskWriter::save(TLOrvane& orvane, TLDiskShape shape, int bank, const std::filesystem::path& path)
{
    return write(path, tracks(orvane, shape, bank));
}
