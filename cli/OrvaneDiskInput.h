#pragma once

#include "device/TLDiskWriter.h"

#include <algorithm>
#include <string>
#include <vector>

class TLOrvane;

// A disk loaded into the banks it holds. A file that is missing, no MIDI file,
// or holds anything but the instrument's banks is a failure naming the file.
class OrvaneDiskInput {
public:
    TLDiskShape shape = TLDiskShape::AllBanks;
    // The banks the disk holds, in file order.
    std::vector<int> banks;

    static OrvaneDiskInput load(const std::string& path, TLOrvane& orvane);

    // A failure when the disk does not hold the bank.
    void require(int bank, const std::string& path) const;
};
