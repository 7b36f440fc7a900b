#pragma once

#include "midi/KTMidiEvent.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

// Bytes written as text for the file tests, and scratch files.
using Bytes = std::vector<std::uint8_t>;

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

// A file in the build folder, unique to the running test.
inline std::string scratchPath(const std::string& name)
{
    const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
    return ORVANE_BINARY_DIR "/scratch." + test + "." + name;
}

inline Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string writeFile(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

inline KTMidiEvent event(const std::string& hexText, std::uint64_t delay = 0)
{
    const Bytes bytes = hex(hexText);
    KTMidiEvent made(bytes.begin(), bytes.end());
    made.mDelay = delay;
    return made;
}
