#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

// What a file offered for import says it is, by its name and its first bytes,
// before it is read as AIFF, WAV or raw data. A file that names itself AIFF or
// WAV, or starts like another known format, is never taken as raw samples:
// reading it so would fill the bank with noise.
class TLInputKind {
public:
    // Bytes of a file's start that otherFormat looks at.
    static constexpr std::size_t kHeadBytes = 12;

    // The known format, other than AIFF and WAV, whose signature the file
    // starts with ("an MP3 file", "a FLAC file", "a MIDI file", ...); empty
    // when it starts like none of them.
    static std::string otherFormat(std::span<const std::uint8_t> head);
    // Whether the file's name ends in .wav, .wave, .aif, .aiff or .aifc, in
    // any case.
    static bool namedAsAudio(const std::filesystem::path& path);
};
