#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

class TLOrvane;

// A take recorded from a sound input (44,100 Hz mono) stored in a bank, the
// same way in the window and on the command line: placed as an import is
// placed, the bank's first sample slot named after when it was recorded.
class TLRecording {
public:
    // "Recording 2026-12-08 14:03:07", in local time.
    static std::string sampleName(std::time_t when);
    static void store(TLOrvane& orvane, int bank, const std::vector<std::int16_t>& take, std::time_t when);
};
