#pragma once

#include <cstdint>
#include <vector>

// What a bank's samples amount to: the sound's length up to its last non-zero
// sample, and its peak level.
struct TLBankSummary {
    // Samples up to and including the last non-zero one; 0 for silence.
    std::size_t length = 0;
    // The largest magnitude, 0 to 32768.
    int peak = 0;

    static TLBankSummary of(const std::vector<std::int16_t>& samples);

    double seconds() const;
    // The peak relative to full scale (32768) in dB; minus infinity for silence.
    double peakDbfs() const;
};
