#pragma once

#include "device/TLSampleImporter.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// A whole audio file at a glance: for each of a number of columns across its
// length, the smallest and largest sample of its channels mixed to one (as
// the importer mixes them), in 16 bits. The file is read in blocks of about a
// second on the caller's thread, so memory stays bounded however long it is;
// the columns made so far are reported after every block, and a cancel
// request is honoured between blocks.
struct TLFileOverview {
    struct Column {
        std::int16_t min = 0;
        std::int16_t max = 0;
        bool operator==(const Column&) const = default;
    };
    using Status = TLImportedSound::Status;
    // Called on the reading thread: once the format is known, then after every block.
    using Progress = std::function<void(const TLFileOverview& sofar, double fraction)>;

    // Imported when the file can be imported, and then the overview follows;
    // otherwise the importer's refusal and its reason.
    Status status = Status::Unreadable;
    std::string reason;
    // Neither AIFF nor WAV: read as the importer takes it, 16-bit
    // little-endian samples at the bank's rate.
    bool raw = false;
    double sampleRate = 0.0;
    std::uint16_t channels = 0;
    std::uint64_t frames = 0;
    // Column c covers the frames from c * frames / n up to (c + 1) * frames / n;
    // never more columns than frames.
    std::vector<Column> columns;
    // How many leading columns are finished.
    std::size_t columnsDone = 0;

    double seconds() const { return sampleRate > 0.0 ? static_cast<double>(frames) / sampleRate : 0.0; }
    // Every column is made; false after a cancel or a read that failed part way.
    bool complete() const { return columnsDone == columns.size(); }

    static TLFileOverview read(const std::filesystem::path& path, std::size_t columnCount,
                               const std::atomic<bool>& cancel, const Progress& progress = {});
};
