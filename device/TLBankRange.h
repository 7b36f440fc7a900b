#pragma once

// A run of banks, first to end (exclusive): the selected bank alone, or all.
struct TLBankRange {
    int first = 0;
    int end = 0;

    static bool isBank(int bank);
    // All banks, or the selected one; a selection that names no bank gives an
    // empty range rather than a bank that does not exist.
    static TLBankRange selectedOrAll(bool allBanks, int selectedBank);

    bool empty() const { return end <= first; }
};
