#pragma once

#include "device/TLDiskReport.h"
#include "device/TLWriteResult.h"

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

class TLOrvane;

// The banks with unsaved changes, kept in a file so that a crash, a kill or a
// power cut loses none of them. The file is a disk in the program's own
// format (orvane info reads it): a header track, then a track for each bank,
// which also names the disk the bank was loaded from or saved to in a text
// event.
class TLRecoveryFile {
public:
    struct Contents {
        TLDiskReport report;
        // For each bank of the report, in order: its disk, empty for none.
        std::vector<std::string> disks;
        std::time_t written = 0;
    };

    // disks[i] is the disk of banks[i].
    static TLWriteResult write(const std::filesystem::path& path, TLOrvane& orvane, const std::vector<int>& banks,
                               const std::vector<std::string>& disks);
    // Reads it as a disk; the report says why when it is no loadable disk.
    static Contents read(const std::filesystem::path& path, TLOrvane& orvane);
};
