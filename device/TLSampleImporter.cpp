#include "device/TLSampleImporter.h"

#include "audio/KTAiffFileReader.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "device/TLBankPlacement.h"
#include "device/TLOrvane.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <memory>
#include <system_error>

namespace {

constexpr std::size_t kBankLength = TLOrvane::kSamplesPerBank;
constexpr std::size_t kRawByteLimit = 131072;
constexpr double kBankRate = 44100.0;

static_assert(std::endian::native == std::endian::little,
              "imported samples are little-endian and copied into the bank as they are");

// Panels may offer directories, pipes or devices, and opening a pipe waits for a writer.
bool isRegularFile(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
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
    if (!isRegularFile(path))
        return sound;
    const std::unique_ptr<KTAudioFileReader> reader = openReader(path);
    // Vanished or unreadable since it was chosen.
    if (!reader->is_open())
        return sound;
    if (reader->isValid() && !reader->isSupported()) {
        sound.status = TLImportedSound::Status::Unsupported;
    } else {
        sound.raw = !reader->isValid();
        sound.samples = sound.raw ? readRaw(*reader) : readPcm(*reader, resampling, sound.sourceSeconds);
        if (sound.raw) {
            std::error_code error;
            sound.sourceSeconds = double(std::filesystem::file_size(path, error) / 2) / kBankRate;
        }
        sound.status = sound.samples.size() < sizeof(std::int16_t) ? TLImportedSound::Status::NoSound
                                                                   : TLImportedSound::Status::Imported;
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

TLImportedSound::Status TLSampleImporter::importInto(TLOrvane& orvane, int bank, const std::filesystem::path& path,
                                                    Resampling resampling)
{
    const TLImportedSound sound = read(path, resampling);
    if (sound.status == TLImportedSound::Status::Imported)
        store(orvane, bank, path, sound);
    return sound.status;
}
