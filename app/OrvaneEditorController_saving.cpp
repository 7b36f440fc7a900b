#include "app/OrvaneEditorController.h"

#include "app/platform/KTApplicationPlatform.h"
#include "app/platform/KTMatrix.h"
#include "app/platform/KTTableView.h"
#include "device/TLOrvane.h"
#include "midi/KTMidiFileWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

// Saving the selected bank or all banks to a disk file.
//
// The disk is written to a new file beside the chosen one and moved over it
// only when everything reached the disk, so a failed save never destroys an
// earlier disk of the same name.

namespace {

namespace fs = std::filesystem;

constexpr std::uint16_t kDivision = 24;
constexpr std::uint16_t kTempo = 120;
constexpr std::uint8_t kMeta = 0xFF;
constexpr std::uint8_t kSetTempo = 0x51;
constexpr std::uint8_t kTimeSignature = 0x58;
constexpr std::uint8_t kCopyrightNotice = 0x02;
constexpr std::uint8_t kTrackName = 3;
constexpr std::uint8_t kInstrumentName = 4;
constexpr std::uint8_t kSampleNames = 127;
// Disks always carry dumps for channel 0; the channel pop-up is for sending.
constexpr int kDiskChannel = 0;
constexpr std::string_view kCopyrightText = "Copyright (c) OrvaneEditor";
constexpr int kTemporaryNameAttempts = 100;

// Fills the scratch event with a meta event of the given type and payload.
void buildMeta(KTMidiEvent& scratch, std::uint8_t type, std::string_view payload)
{
    scratch.clear();
    scratch.mDelay = 0;
    scratch.push_back(kMeta);
    scratch.push_back(type);
    scratch.insert(scratch.end(), payload.begin(), payload.end());
}

// Set Tempo (500,000 us a quarter), Time Signature (4/4) and Copyright Notice.
void appendHeaderEvents(KTMidiEventList& events)
{
    KTMidiEvent scratch;
    buildMeta(scratch, kSetTempo, std::string_view("\x07\xA1\x20", 3));
    events.push_back(scratch);
    buildMeta(scratch, kTimeSignature, std::string_view("\x04\x02\x18\x08", 4));
    events.push_back(scratch);
    buildMeta(scratch, kCopyrightNotice, kCopyrightText);
    events.push_back(scratch);
}

// The bank's name events followed by its dump.
void appendBankEvents(KTMidiEventList& events, TLOrvane& orvane, int bank)
{
    for (std::uint8_t kind : {kTrackName, kInstrumentName, kSampleNames})
        events.push_back(orvane.makeMetaEvent(kind, bank));
    KTMidiEventList dump = orvane.makeSampleDump(bank, kDiskChannel);
    for (KTMidiEvent& event : dump)
        events.push_back(std::move(event));
}

// Writing over a symbolic link replaces the file it points to, not the link.
fs::path resolvedTarget(const fs::path& target)
{
    std::error_code error;
    if (!fs::is_symlink(target, error))
        return target;
    const fs::path resolved = fs::weakly_canonical(target, error);
    return error ? target : resolved;
}

// Creates a new, empty file with an unused name in the target's folder.
// Empty when none could be created (for example the folder does not exist).
fs::path createTemporaryBeside(const fs::path& target)
{
    std::random_device seed;
    std::mt19937 random(seed());
    const fs::path folder = target.parent_path();
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        std::string name(".");
        name.append(target.filename().string()).append(".").append(std::to_string(random() % 1000000000));
        const fs::path candidate = folder / name.append(".tmp");
        // "x": fails when the name already exists, so no other file is reused.
        if (std::FILE* file = std::fopen(candidate.c_str(), "wbx")) {
            std::fclose(file);
            return candidate;
        }
        if (errno != EEXIST)
            return {};
    }
    return {};
}

// Pushes the file's contents to the storage device before it replaces the old disk.
bool syncToStorage(const fs::path& path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    const bool synced = ::fsync(descriptor) == 0;
    return ::close(descriptor) == 0 && synced;
}

// Moves the finished file over the target, keeping the old file's permissions.
bool replaceTarget(const fs::path& written, const fs::path& target)
{
    std::error_code error;
    const fs::file_status old = fs::status(target, error);
    if (!error && fs::is_regular_file(old))
        fs::permissions(written, old.permissions(), error);
    error.clear();
    fs::rename(written, target, error);
    return !error;
}

} // namespace

void OrvaneEditorController::save(void*)
{
    const int selectedBank = mTableView->selectedRow();
    if (!isIdle() || mMidiFileWriter)
        return;
    const bool allBanks = mMatrix_SaveSendOption->selectedRow() != 0;
    if (!allBanks && (selectedBank < 0 || selectedBank >= TLOrvane::kBankCount))
        return;

    const std::optional<std::string> chosen = mApplication.runSavePanel({"mid"});
    if (!chosen)
        return;

    const fs::path target = resolvedTarget(fs::path(*chosen));
    const fs::path temporary = createTemporaryBeside(target);
    bool written = false;
    if (!temporary.empty()) {
        mMidiFileWriter = std::make_unique<KTMidiFileWriter>(temporary.c_str(), kDivision, kTempo);
        writeDisk(allBanks, selectedBank);
        written = mMidiFileWriter->finish();
        mMidiFileWriter.reset();
    }

    const bool saved = written && syncToStorage(temporary) && replaceTarget(temporary, target);
    if (saved)
        return;
    if (!temporary.empty()) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    mApplication.runCriticalAlertPanel("Save Failed", "The disk could not be saved.", "OK", "", "");
}

void OrvaneEditorController::writeDisk(bool allBanks, int selectedBank)
{
    KTMidiEventList events;
    appendHeaderEvents(events);
    int firstBank = selectedBank;
    int endBank = selectedBank + 1;
    if (allBanks) {
        mMidiFileWriter->writeTrack(events, true);
        events.clear();
        firstBank = 0;
        endBank = TLOrvane::kBankCount;
    }
    for (int bank = firstBank; bank < endBank; ++bank) {
        appendBankEvents(events, *mOrvane, bank);
        mMidiFileWriter->writeTrack(events, true);
        events.clear();
    }
}
