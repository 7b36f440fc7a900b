#pragma once

#include "midiout/KTMidiPlatform.h"

#include <cstddef>
#include <string>
#include <vector>

// The MIDI destinations as the user picks them: in the platform's order, each
// named "manufacturer: display name", a name seen before followed by " (2)",
// " (3)", ... so that every entry can be told apart.
class KTDestinationList {
public:
    // The shown names of the first destinations, at most limit of them.
    static std::vector<std::string> titles(KTMidiPlatform& client, std::size_t limit);
    static std::vector<std::string> distinctTitles(const std::vector<std::string>& names);
};
