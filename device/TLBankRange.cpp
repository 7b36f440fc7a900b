#include "device/TLBankRange.h"

#include "device/TLOrvane.h"

bool TLBankRange::isBank(int bank)
{
    return bank >= 0 && bank < TLOrvane::kBankCount;
}

TLBankRange TLBankRange::selectedOrAll(bool allBanks, int selectedBank)
{
    if (allBanks)
        return {0, TLOrvane::kBankCount};
    if (!isBank(selectedBank))
        return {0, 0};
    return {selectedBank, selectedBank + 1};
}
