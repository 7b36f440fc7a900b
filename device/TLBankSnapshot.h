#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TLOrvane;

// One bank as it stands: its samples and all its names. Taken before and after
// an edit, it lets the edit be undone and redone.
struct TLBankSnapshot {
    int bank = 0;
    std::vector<std::int16_t> samples;
    std::string bankName;
    std::vector<std::string> sampleNames;

    static TLBankSnapshot of(const TLOrvane& orvane, int bank);
    void restoreInto(TLOrvane& orvane) const;
    // Whether its bank in the store holds just this, without copying it.
    bool matches(const TLOrvane& orvane) const;

    bool operator==(const TLBankSnapshot&) const = default;
};
