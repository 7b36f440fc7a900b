#pragma once

#include <cstdint>
#include <string>
#include <vector>

// All seven banks at a glance, beside the bank table: for each a small
// waveform, the length of its sound, its first sample's name and whether it
// holds changes no disk holds. Clicking a bank there selects it as the table does.
class KTBankOverview {
public:
    struct Bank {
        // The bank's samples, for its small waveform.
        const std::vector<std::int16_t>* samples = nullptr;
        // Up to the last sound.
        double seconds = 0.0;
        std::string sampleName;
        bool unsaved = false;
    };

    virtual ~KTBankOverview() = default;
    // Shows the bank as it is now; the samples are read during the call only.
    virtual void setBank(int bank, const Bank& shown) = 0;
};
