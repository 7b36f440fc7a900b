#include "device/TLSampleImporter.h"

#include "audio/KTAudioFileReader.h"
#include "audio/KTSampleConverter.h"
#include "device/TLBankPlacement.h"
#include "device/TLInputKind.h"
#include "device/TLOrvane.h"
#include "device/TLSoundOperations.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cerrno>
#include <cstdio>
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

// The frames of the file the options ask for, at most a bank's.
std::size_t bankFramesFor(const TLImportOptions& options)
{
    if (!options.lengthSeconds)
        return kBankLength;
    const double frames = std::round(*options.lengthSeconds * kBankRate);
    return frames < double(kBankLength) ? static_cast<std::size_t>(std::max(frames, 0.0)) : kBankLength;
}

// Reads and converts just enough of a PCM file for the bank, from the start
// on: the converted samples come out the same as from the whole file.
KTSample readPcm(KTAudioFileReader& reader, const TLImportOptions& options, TLImportedSound& sound)
{
    const KTSampleConverter converter(kBankRate, 1, 16, false, options.resampling);
    const KTSample format = reader.readFormat();
    reader.setStartFrame(static_cast<std::uint64_t>(std::max(0.0, std::round(options.startSeconds * format.mSampleRate))));
    const std::size_t frames = bankFramesFor(options);
    const KTSample source = reader.readSample(converter.sourceByteLimit(format, frames));
    const double frameBytes = double(source.mBytesPerSample) * source.mChannels;
    if (frameBytes > 0 && source.mSampleRate > 0)
        sound.sourceSeconds = std::floor(double(reader.soundBytes()) / frameBytes) / source.mSampleRate;
    sound.clipped = reader.clippedSamples();
    KTSample mono;
    KTChannelChoice::toMono(mono, source, options.channel);
    KTSample imported;
    converter.convert(imported, mono, frames);
    return imported;
}

// A file of another kind: its bytes, header and all, as 16-bit samples.
KTSample readRaw(KTAudioFileReader& reader, const TLImportOptions& options)
{
    const auto start = static_cast<std::streamoff>(std::max(0.0, std::round(options.startSeconds * kBankRate)));
    KTSample imported;
    imported.setFormat(kBankRate, 1, 16, false);
    imported.assign(std::min(kRawByteLimit, 2 * bankFramesFor(options)), 0);
    // The header reading may have left the stream at its end or failed.
    reader.clear();
    reader.seekg(2 * start);
    imported.read(reader);
    reader.clear();
    return imported;
}

// The sound as the leading part of a bank, for the bank's operations.
std::vector<std::int16_t> asBank(const KTSample& sound)
{
    std::vector<std::int16_t> bank(kBankLength, 0);
    std::memcpy(bank.data(), sound.data(), std::min(sound.size() / 2, kBankLength) * sizeof(std::int16_t));
    return bank;
}

// How many leading converted samples lie below the trim's threshold.
std::size_t silentLead(const KTSample& sound, double thresholdDbfs)
{
    std::vector<std::int16_t> bank = asBank(sound);
    return TLSoundOperations::trimLeadingSilence(bank, {0, sound.size() / 2}, thresholdDbfs);
}

// Brings the sound's peak to the level; returns the clipped samples.
std::size_t normalized(KTSample& sound, double peakDbfs)
{
    std::vector<std::int16_t> bank = asBank(sound);
    const std::size_t count = sound.size() / 2;
    const std::size_t clipped = TLSoundOperations::normalize(bank, {0, count}, peakDbfs);
    std::memcpy(sound.data(), bank.data(), count * sizeof(std::int16_t));
    return clipped;
}

// Reads the file as PCM or raw data; a trim reads it again from its first
// sound, so that the bank fills with sound.
void readSound(KTAudioFileReader& reader, const TLImportOptions& options, TLImportedSound& sound)
{
    sound.samples = sound.raw ? readRaw(reader, options) : readPcm(reader, options, sound);
    if (!options.trimSilenceDbfs || sound.samples.empty())
        return;
    const std::size_t lead = silentLead(sound.samples, *options.trimSilenceDbfs);
    if (lead == sound.samples.size() / 2) {
        sound.samples.clear();
        return;
    }
    if (lead == 0)
        return;
    TLImportOptions fromSound = options;
    fromSound.startSeconds += double(lead) / kBankRate;
    fromSound.trimSilenceDbfs.reset();
    readSound(reader, fromSound, sound);
}

// Why nothing reached the bank.
std::string emptyReason(const TLImportedSound& sound, const TLImportOptions& options)
{
    if (options.startSeconds > 0.0 && options.startSeconds >= sound.sourceSeconds) {
        char text[96];
        std::snprintf(text, sizeof text, "plays %.3f s: there is no sound from %.3f s on", sound.sourceSeconds,
                      options.startSeconds);
        return text;
    }
    return options.trimSilenceDbfs ? "holds no sound above the trim's threshold" : "holds no sound data";
}

} // namespace

TLImportedSound TLSampleImporter::read(const std::filesystem::path& path, const TLImportOptions& options)
{
    TLImportedSound sound;
    sound.reason = notAFileReason(path);
    if (!sound.reason.empty())
        return sound;
    const std::unique_ptr<KTAudioFileReader> reader = KTAudioFileReader::open(path.c_str());
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
        readSound(*reader, options, sound);
        if (sound.raw) {
            std::error_code error;
            sound.sourceSeconds = double(std::filesystem::file_size(path, error) / 2) / kBankRate;
        }
        const bool empty = sound.samples.size() < sizeof(std::int16_t);
        sound.status = empty ? TLImportedSound::Status::NoSound : TLImportedSound::Status::Imported;
        if (empty)
            sound.reason = emptyReason(sound, options);
        else if (options.normalizeDbfs)
            sound.clipped += normalized(sound.samples, *options.normalizeDbfs);
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
                                             const TLImportOptions& options)
{
    TLImportedSound sound = read(path, options);
    if (sound.status == TLImportedSound::Status::Imported)
        store(orvane, bank, path, sound);
    return sound;
}
