#include "device/TLSampleImporter.h"

#include "audio/KTAiffFileReader.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "device/TLBankPlacement.h"
#include "device/TLInputKind.h"
#include "device/TLOrvane.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cerrno>
#include <cstring>
#include <memory>
#include <system_error>

namespace {

constexpr std::size_t kBankLength = TLOrvane::kSamplesPerBank;
constexpr std::size_t kRawByteLimit = 131072;
constexpr double kBankRate = TLOrvane::kSampleRate;

static_assert(std::endian::native == std::endian::little,
              "imported samples are little-endian and copied into the bank as they are");

constexpr char kOnlyPcm[] = "only PCM AIFF and WAV files can be imported";

// Panels may offer directories, pipes or devices, and opening a pipe waits for
// a writer. Why the path is no file to read, empty when it is one.
std::string notAFileReason(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error)
        return error.message();
    return std::filesystem::is_regular_file(status) ? std::string() : "is not a regular file";
}

std::vector<std::uint8_t> headOf(KTAudioFileReader& reader)
{
    std::vector<std::uint8_t> head(TLInputKind::kHeadBytes, 0);
    reader.clear();
    reader.seekg(0);
    reader.read(reinterpret_cast<char*>(head.data()), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<std::size_t>(std::max<std::streamsize>(reader.gcount(), 0)));
    reader.clear();
    return head;
}

// Why a file that is not PCM AIFF or WAV must not be read as raw samples;
// empty when raw reading is what it asks for (an empty file holds no sound,
// whatever its name).
std::string refusalOf(KTAudioFileReader& reader, const std::filesystem::path& path)
{
    const std::vector<std::uint8_t> head = headOf(reader);
    if (head.empty())
        return {};
    if (reader.isValid()) {
        const bool aiff = head.size() >= 4 && std::equal(head.begin(), head.begin() + 4, "FORM");
        return std::string(aiff ? "an AIFF" : "a WAV") + " file that is damaged or not PCM: " + kOnlyPcm;
    }
    if (std::string other = TLInputKind::otherFormat(head); !other.empty())
        return other + ": " + kOnlyPcm;
    if (TLInputKind::namedAsAudio(path))
        return "not an AIFF or WAV file, though its name says so: " + std::string(kOnlyPcm);
    return {};
}

std::unique_ptr<KTAudioFileReader> openReader(const std::filesystem::path& path)
{
    std::unique_ptr<KTAudioFileReader> reader = std::make_unique<KTAiffFileReader>(path.c_str());
    if (!reader->isValid()) {
        reader->close();
        reader = std::make_unique<KTWaveFileReader>(path.c_str());
    }
    return reader;
}

// Reads and converts just enough of a PCM file for a whole bank: the first
// kBankLength converted samples come out the same as from the whole file.
KTSample readPcm(KTAudioFileReader& reader, KTSampleConverter::Resampling resampling, double& sourceSeconds)
{
    const KTSampleConverter converter(kBankRate, 1, 16, false, resampling);
    const std::uint64_t limit = converter.sourceByteLimit(reader.readFormat(), kBankLength);
    const KTSample source = reader.readSample(limit);
    const double frameBytes = double(source.mBytesPerSample) * source.mChannels;
    if (frameBytes > 0 && source.mSampleRate > 0)
        sourceSeconds = std::floor(double(reader.soundBytes()) / frameBytes) / source.mSampleRate;
    KTSample imported;
    converter.convert(imported, source, kBankLength);
    return imported;
}

// A file of another kind: its first bytes, header and all, as 16-bit samples.
KTSample readRaw(KTAudioFileReader& reader)
{
    KTSample imported;
    imported.setFormat(kBankRate, 1, 16, false);
    imported.assign(kRawByteLimit, 0);
    // The header reading may have left the stream at its end or failed.
    reader.clear();
    reader.seekg(0);
    imported.read(reader);
    reader.clear();
    return imported;
}

} // namespace

TLImportedSound TLSampleImporter::read(const std::filesystem::path& path, Resampling resampling)
{
    TLImportedSound sound;
    sound.reason = notAFileReason(path);
    if (!sound.reason.empty())
        return sound;
    const std::unique_ptr<KTAudioFileReader> reader = openReader(path);
    // Vanished or unreadable since it was chosen.
    if (!reader->is_open()) {
        sound.reason = std::strerror(errno);
        return sound;
    }
    if (!reader->isSupported()) {
        sound.reason = refusalOf(*reader, path);
        sound.status = TLImportedSound::Status::Unsupported;
    }
    if (sound.reason.empty()) {
        sound.raw = !reader->isValid();
        sound.samples = sound.raw ? readRaw(*reader) : readPcm(*reader, resampling, sound.sourceSeconds);
        if (sound.raw) {
            std::error_code error;
            sound.sourceSeconds = double(std::filesystem::file_size(path, error) / 2) / kBankRate;
        }
        const bool empty = sound.samples.size() < sizeof(std::int16_t);
        sound.status = empty ? TLImportedSound::Status::NoSound : TLImportedSound::Status::Imported;
        if (empty)
            sound.reason = "holds no sound data";
    }
    reader->close();
    return sound;
}

void TLSampleImporter::place(std::vector<std::int16_t>& bank, const KTSample& samples)
{
    TLBankPlacement::place(bank, reinterpret_cast<const std::int16_t*>(samples.data()), samples.size() / 2);
}

double TLImportedSound::bankSeconds() const
{
    return double(std::min(samples.size() / 2, kBankLength)) / kBankRate;
}

void TLSampleImporter::store(TLOrvane& orvane, int bank, const std::filesystem::path& path,
                             const TLImportedSound& sound)
{
    orvane.setSampleName(path.filename().c_str(), bank, 0);
    place(orvane.mSamples[static_cast<std::size_t>(bank)], sound.samples);
}

TLImportedSound TLSampleImporter::importInto(TLOrvane& orvane, int bank, const std::filesystem::path& path,
                                             Resampling resampling)
{
    TLImportedSound sound = read(path, resampling);
    if (sound.status == TLImportedSound::Status::Imported)
        store(orvane, bank, path, sound);
    return sound;
}
