#include "device/TLDefaultNames.h"

std::string TLDefaultNames::bankName(int bank)
{
    return "Bank " + std::to_string(bank + 1);
}

std::string TLDefaultNames::sampleName(int bank, int slot)
{
    return "Sample " + std::to_string(slot + 1) + " (in " + bankName(bank) + ")";
}
