#pragma once

#include "device/TLBankSnapshot.h"

#include <string>
#include <vector>

class TLOrvane;

// Which banks hold changes that no disk holds. For each bank it keeps the
// samples and names a disk holds for it (the disk it was loaded from or last
// saved to; at the start, the factory's sound, which needs no saving), and the
// path of that disk. A bank is unsaved exactly while it differs from them, so
// undoing back to what the disk holds makes it saved again.
class TLSavedState {
public:
    // Every bank as it is now counts as saved, in no disk.
    explicit TLSavedState(const TLOrvane& orvane);

    // The bank as it is now is what the disk at path holds.
    void markSaved(const TLOrvane& orvane, int bank, const std::string& path);
    // The disk at path was written over: the banks it held before are in it
    // no more (until markSaved says which are).
    void diskReplaced(const std::string& path);
    bool isUnsaved(const TLOrvane& orvane, int bank) const;
    // The unsaved banks, in order.
    std::vector<int> unsavedBanks(const TLOrvane& orvane) const;
    // The disk the bank was loaded from or saved to; empty for none.
    const std::string& diskOf(int bank) const { return mDisks[static_cast<std::size_t>(bank)]; }

private:
    // Paths of the same file compare equal, through links too.
    static std::string fileOf(const std::string& path);

    std::vector<TLBankSnapshot> mSaved;
    std::vector<std::string> mDisks;
};
