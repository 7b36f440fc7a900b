#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A temporary folder for audio files that sox writes during a test, removed
// with everything in it when the folder object goes away.
class AudioTestFolder {
public:
    AudioTestFolder();
    ~AudioTestFolder();
    AudioTestFolder(const AudioTestFolder&) = delete;
    AudioTestFolder& operator=(const AudioTestFolder&) = delete;

    std::string path(const std::string& name) const;

    // Writes the samples as raw signed little-endian data of `bits` bits and has
    // sox wrap them into `name`; `outputOptions` go before the output name
    // (e.g. "-t wavpcm"). Returns the file's path; fails the test when sox fails.
    std::string soxFromSamples(const std::string& name, const std::vector<std::int64_t>& samples, int bits,
                               int channels, int rate, const std::string& outputOptions = "") const;
    // Runs sox with the arguments; true when it succeeded.
    bool sox(const std::string& arguments) const;

    std::string write(const std::string& name, const Bytes& bytes) const;
    static Bytes read(const std::string& path);

private:
    std::string mRoot;
};
