#pragma once

#include "device/TLDiskReader.h"

#include <algorithm>
#include <string>
#include <vector>

// What a disk holds, read and checked before any bank changes: its shape,
// the banks whose dumps it carries, or why it cannot be loaded at all.
struct TLDiskReport {
    enum class Outcome {
        Loadable,
        NotAFile,    // missing, unreadable, a folder, a pipe or a device
        NotMidiFile, // unreadable as a Standard MIDI File
        Foreign,     // a MIDI file that holds no bank of the instrument, or other data too
        Damaged,     // a bank's dump did not arrive whole
    };
    Outcome outcome = Outcome::NotAFile;
    // Why it cannot be loaded, in lower case; empty when it can.
    std::string reason;
    TLDiskShape shape = TLDiskShape::AllBanks;
    // The banks the disk holds, in file order.
    std::vector<int> banks;
    // With Damaged: the bank whose dump is damaged.
    int damagedBank = -1;
    TLDiskContents contents;

    bool loadable() const { return outcome == Outcome::Loadable; }
    bool holds(int bank) const { return std::find(banks.begin(), banks.end(), bank) != banks.end(); }
};
