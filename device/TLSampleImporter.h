#pragma once

#include "audio/KTSample.h"
#include "device/TLImportOptions.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

class TLOrvane;

// The sound of an audio file as a bank takes it: 44,100 Hz, mono, 16-bit.
struct TLImportedSound {
    enum class Status {
        Imported,
        Unreadable,  // missing, not a regular file, or cannot be opened
        Unsupported, // AIFF or WAV but not PCM, or another known format
        NoSound,     // the file yields no samples: the bank must stay as it is
    };
    Status status = Status::Unreadable;
    // Why the file was not imported, in lower case: the system's reason, or
    // what the file is instead of PCM AIFF or WAV.
    std::string reason;
    // At most a bank's length of converted samples.
    KTSample samples;
    // Neither AIFF, WAV nor another known format: the file's first bytes
    // taken as 16-bit little-endian samples.
    bool raw = false;
    // How long the whole file plays, of which a bank takes at most its length.
    double sourceSeconds = 0.0;
    // Samples that were beyond full scale (in float data, or after
    // normalising above 0 dBFS) and were clipped.
    std::size_t clipped = 0;

    // How long the imported part plays in the bank.
    double bankSeconds() const;
};

// Importing audio files into a bank. AIFF is tried first, then WAV. A file
// that names itself AIFF or WAV, or starts like another known format, and
// does not read as PCM AIFF or WAV is refused; any other file is taken as raw
// 16-bit little-endian data. Only what a bank can hold is read, from the start
// the options name on, so a long file costs no more than a short one. Files at
// another rate than the bank's are resampled linearly unless the options ask
// for high quality.
class TLSampleImporter {
public:
    using Resampling = KTSampleConverter::Resampling;

    static TLImportedSound read(const std::filesystem::path& path, const TLImportOptions& options = {});
    // Places the samples into the bank as TLBankPlacement::place does.
    static void place(std::vector<std::int16_t>& bank, const KTSample& samples);
    // Places sound read from path into the bank and names the bank's first
    // sample slot after the file.
    static void store(TLOrvane& orvane, int bank, const std::filesystem::path& path, const TLImportedSound& sound);
    // Reads the file into the bank and names the bank's first sample slot
    // after the file. The bank is left as it was unless the status is Imported.
    static TLImportedSound importInto(TLOrvane& orvane, int bank, const std::filesystem::path& path,
                                      const TLImportOptions& options = {});
};
