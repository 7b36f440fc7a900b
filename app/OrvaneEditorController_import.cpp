#include "app/OrvaneEditorController.h"

#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTTableView.h"
#include "audio/KTAiffFileReader.h"
#include "audio/KTSampleConverter.h"
#include "audio/KTWaveFileReader.h"
#include "device/TLOrvane.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

// Importing an audio file into the selected bank.

namespace {

constexpr std::size_t kBankLength = TLOrvane::kSamplesPerBank;
constexpr std::size_t kRawByteLimit = 131072;
constexpr int kFadeLength = 15;
constexpr double kBankRate = 44100.0;

static_assert(std::endian::native == std::endian::little,
              "imported samples are little-endian and copied into the bank as they are");

// Whether the path names a file that can be read to its end: panels may
// offer directories, pipes or devices, and opening a pipe waits for a writer.
bool isRegularFile(const std::string& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

// Reads and converts just enough of a PCM file for a whole bank: the first
// kBankLength converted samples come out the same as from the whole file.
KTSample readPcm(KTAudioFileReader& reader)
{
    const KTSampleConverter converter(kBankRate, 1, 16, false);
    const std::uint64_t limit = converter.sourceByteLimit(reader.readFormat(), kBankLength);
    const KTSample source = reader.readSample(limit);
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

// Brings the sample `k` places before the end of the import down by 16 - k
// bits, keeping its sign; the last one always becomes 0.
std::int16_t faded(std::int16_t sample, int k)
{
    const int value = std::max<int>(sample, -32767);
    const int magnitude = std::abs(value) >> (16 - k);
    return static_cast<std::int16_t>(value < 0 ? -magnitude : magnitude);
}

// Writes the imported samples over the start of the bank and clears the rest,
// then silences the first sample and fades out the last ones.
void placeSamples(std::vector<std::int16_t>& bank, const KTSample& imported)
{
    bank.resize(kBankLength);
    const std::size_t sampleCount = imported.size() / 2;
    const std::size_t placed = std::min(sampleCount, kBankLength);
    if (placed > 0)
        std::memcpy(bank.data(), imported.data(), placed * sizeof(std::int16_t));
    std::fill(bank.begin() + static_cast<std::ptrdiff_t>(placed), bank.end(), std::int16_t{0});
    bank[0] = 0;
    for (int k = kFadeLength; k >= 1; --k) {
        // A very short import fades only the samples it has.
        if (placed < static_cast<std::size_t>(k))
            continue;
        std::int16_t& sample = bank[placed - static_cast<std::size_t>(k)];
        sample = faded(sample, k);
    }
}

} // namespace

void OrvaneEditorController::openSample(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || mAudioFileReader || selectedBank < 0 || selectedBank >= TLOrvane::kBankCount)
        return;

    const std::optional<std::string> chosen = mApplication.runOpenPanel({}, false);
    if (!chosen)
        return;
    if (!isRegularFile(*chosen)) {
        mApplication.beep();
        return;
    }

    mAudioFileReader = std::make_unique<KTAiffFileReader>(chosen->c_str());
    if (!mAudioFileReader->isValid()) {
        mAudioFileReader->close();
        mAudioFileReader = std::make_unique<KTWaveFileReader>(chosen->c_str());
    }

    if (!mAudioFileReader->is_open()) {
        // Vanished or unreadable since it was chosen: the bank stays as it is.
        mApplication.beep();
    } else if (mAudioFileReader->isValid() && !mAudioFileReader->isSupported()) {
        mApplication.runCriticalAlertPanel(
            "Wrong File Format", "OrvaneEditor supports only pcm (no compression) formats (*.aif or *.wav).", "OK",
            "", "");
    } else {
        const KTSample imported =
            mAudioFileReader->isValid() ? readPcm(*mAudioFileReader) : readRaw(*mAudioFileReader);
        const auto bank = static_cast<std::size_t>(selectedBank);
        const std::string fileName = std::filesystem::path(*chosen).filename().string();
        mOrvane->setSampleName(fileName.c_str(), selectedBank, 0);
        placeSamples(mOrvane->mSamples[bank], imported);
        tableViewSelectionDidChange(nullptr);
    }

    mAudioFileReader->close();
    mAudioFileReader.reset();
}
