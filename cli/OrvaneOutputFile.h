#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

// The one file a command writes, through the output rule: "-" is standard
// output; any other name is checked before the command reads anything (no
// device, pipe or folder, none of the command's inputs), and replaced only by
// a complete new file. Failures are thrown as one-line OrvaneCliErrors.
class OrvaneOutputFile {
public:
    static constexpr char kStandardOutput[] = "-";

    OrvaneOutputFile(std::string path, const std::vector<std::filesystem::path>& inputs);

    void write(std::span<const std::uint8_t> bytes) const;
    const std::string& path() const { return mPath; }

private:
    std::string mPath;
};
