#pragma once

#include "device/TLDiskReport.h"

#include <filesystem>

class TLOrvane;

// Loading a disk into the banks, the same for every front end: the disk is
// read and checked whole first, and either every bank it holds is loaded or
// none.
class TLDiskLoader {
public:
    static constexpr int kOwnBank = -1;

    // Reads the disk; orvane recognises the dumps. No bank changes.
    static TLDiskReport examine(const std::filesystem::path& path, TLOrvane& orvane);
    // Loads a loadable report's banks, each into its own bank; a one-bank
    // disk's bank goes into `target` instead unless that is kOwnBank.
    static void load(const TLDiskReport& report, TLOrvane& orvane, int target = kOwnBank);
};
