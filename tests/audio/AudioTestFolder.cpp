#include "tests/audio/AudioTestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

AudioTestFolder::AudioTestFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "orvane-audio-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        ADD_FAILURE() << "cannot create a temporary folder";
    mRoot = pattern;
}

AudioTestFolder::~AudioTestFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(mRoot, ignored);
}

std::string AudioTestFolder::path(const std::string& name) const
{
    return mRoot + "/" + name;
}

bool AudioTestFolder::sox(const std::string& arguments) const
{
    const std::string command = "sox -V1 " + arguments + " 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

std::string AudioTestFolder::soxFromSamples(const std::string& name, const std::vector<std::int64_t>& samples,
                                            int bits, int channels, int rate, const std::string& outputOptions) const
{
    const std::size_t width = static_cast<std::size_t>(bits / 8);
    Bytes raw;
    for (std::int64_t value : samples)
        for (std::size_t i = 0; i < width; ++i)
            raw.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
    const std::string rawPath = write(name + ".raw", raw);
    const std::string out = path(name);
    const std::string arguments = "-t raw -r " + std::to_string(rate) + " -e signed-integer -L -b "
        + std::to_string(bits) + " -c " + std::to_string(channels) + " " + rawPath + " " + outputOptions + " "
        + out;
    EXPECT_TRUE(sox(arguments)) << "sox " << arguments;
    return out;
}

std::string AudioTestFolder::write(const std::string& name, const Bytes& bytes) const
{
    const std::string file = path(name);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return file;
}

Bytes AudioTestFolder::read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
