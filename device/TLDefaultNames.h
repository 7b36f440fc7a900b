#pragma once

#include <string>

// The names a bank has after a reset: "Bank 3", and "Sample 1 (in Bank 3)" to
// "Sample 256 (in Bank 3)" for its sample-name slots.
class TLDefaultNames {
public:
    static std::string bankName(int bank);
    static std::string sampleName(int bank, int slot);
};
