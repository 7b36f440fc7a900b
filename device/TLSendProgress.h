#pragma once

#include <cstddef>

// How far a send has got, as plain values: the bank going out, its place in
// the send, and how much of it is done by its estimated time on the line.
struct TLSendProgress {
    // The bank, 0 to 6, and its place among the banks sent (from 0).
    int bank = 0;
    std::size_t index = 0;
    std::size_t count = 0;
    // The bank's dump: bytes, and seconds on the line with its pauses.
    std::size_t bytes = 0;
    double seconds = 0.0;
    // Of this bank: done, 0 to 1, and the seconds still to go.
    double fraction = 0.0;
    double secondsLeft = 0.0;
};
