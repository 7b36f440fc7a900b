#pragma once

#include "device/TLSampleRange.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// Editing a bank's sound: each operation works on a range of the bank (TLSampleRange::whole() for all of it)
// and leaves the bank 65,536 samples long. A range reaching past the bank is cut to it; an empty range
// changes nothing.
//
// Crop, erase and trimLeadingSilence move sound: the samples they keep are placed again as an import is
// (TLBankPlacement::place), so the first sample is 0, the freed tail is cleared and the last 15 kept samples
// fade out into it. A sound that already ended in silence before the tail thus keeps its end as it was.
// Removing nothing (cropping to the whole bank, trimming a range that starts loud) changes nothing.
// The other operations change only the samples inside their range.
//
// Levels in dBFS are relative to 32768, as TLBankSummary reports them. Results are rounded to the
// nearest value, halves away from zero, and clipped to -32768..32767.
class TLSoundOperations {
public:
    using Bank = std::vector<std::int16_t>;

    // Keeps only the range, moved to the start of the bank.
    static void crop(Bank& bank, TLSampleRange range);
    // Delete: removes the range; the sound after it moves up.
    static void erase(Bank& bank, TLSampleRange range);
    static void silence(Bank& bank, TLSampleRange range);
    // Multiplies by 10^(db / 20); returns how many samples clipped.
    static std::size_t gain(Bank& bank, TLSampleRange range, double db);
    // Scales the range so its largest magnitude lands at peakDbfs, taking 0 dBFS as 32767, the largest
    // value both signs reach (0.0003 dB below 32768), so that a normalise to 0 dBFS clips nothing.
    // A silent range stays as it is. Returns how many samples clipped (only above 0 dBFS).
    static std::size_t normalize(Bank& bank, TLSampleRange range, double peakDbfs = 0.0);
    // Linear fades over the range of n samples: the sample i places into the range is multiplied by i / n
    // fading in, by (n - 1 - i) / n fading out. A fade in starts at 0 and a fade out ends at 0; each meets
    // the untouched sample beside it in one more step of 1 / n.
    static void fadeIn(Bank& bank, TLSampleRange range);
    static void fadeOut(Bank& bank, TLSampleRange range);
    static void reverse(Bank& bank, TLSampleRange range);
    // Subtracts the range's mean, rounded to a whole sample value, so the waveform keeps its exact shape.
    static void removeDc(Bank& bank, TLSampleRange range);
    // Removes the samples at the start of the range whose magnitude is below the threshold (all of the
    // range when none reaches it); the rest of the bank moves up. Returns how many samples went.
    static std::size_t trimLeadingSilence(Bank& bank, TLSampleRange range, double thresholdDbfs = -50.0);
    // The range with each edge moved to the nearest zero crossing: a boundary between two samples whose
    // product is 0 or less (they differ in sign, or one is 0). Ties go outwards, so the range never turns
    // round, though one inside a single half-wave can close to nothing. An edge at either end of the bank,
    // or with no crossing in the bank, stays.
    static TLSampleRange snapToZeroCrossings(const Bank& bank, TLSampleRange range);
    // Paste: the sound takes the range's place (an empty range inserts it
    // there), the rest of the bank moving to follow it; what passes the bank's
    // end is cut, and placed again as an import is. Returns the samples cut.
    static std::size_t paste(Bank& bank, TLSampleRange range, const std::vector<std::int16_t>& sound);
};
