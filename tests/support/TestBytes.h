#pragma once

#include "midi/KTMidiEvent.h"
#include "tests/support/TestFolder.h"

// Pairs of hex digits; spaces are ignored and 'quoted' text is taken as it is.
inline Bytes hex(const std::string& text)
{
    Bytes bytes;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\'')
            quoted = !quoted;
        else if (quoted || text[i] != ' ')
            bytes.push_back(static_cast<std::uint8_t>(quoted ? text[i] : std::stoi(text.substr(i++, 2), nullptr, 16)));
    }
    return bytes;
}

inline KTMidiEvent event(const std::string& hexText, std::uint64_t delay = 0)
{
    const Bytes bytes = hex(hexText);
    KTMidiEvent made(bytes.begin(), bytes.end());
    made.mDelay = delay;
    return made;
}
