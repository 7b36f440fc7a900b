#pragma once

#include "device/TLOrvane.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// How sound is laid into a bank, and the one length every bank keeps.
class TLBankPlacement {
public:
    static constexpr std::size_t kBankLength = TLOrvane::kSamplesPerBank;
    static constexpr int kFadeLength = 15;

    // Gives the bank exactly kBankLength samples, the length every change to a bank relies on: a bank of
    // another length is cut or padded with silence. Placing and every sound operation that changes a bank
    // go through here.
    static void fit(std::vector<std::int16_t>& bank);
    // Copies count samples of sound (at most a bank's length) over the start of the bank and clears the
    // rest, then silences the first sample and fades out the last kFadeLength placed ones: the sample k
    // places before the end loses 16 - k bits, keeping its sign, so the last placed sample becomes 0.
    // The sound may lie inside the bank itself once the bank has its full length.
    static void place(std::vector<std::int16_t>& bank, const std::int16_t* sound, std::size_t count);
};
