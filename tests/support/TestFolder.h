#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

// A temporary folder for the files a test writes (sox's among them), removed
// with everything in it when the folder object goes away.
class TestFolder {
public:
    // base: where the folder is made; a test that writes much may take memory (/dev/shm).
    explicit TestFolder(const std::filesystem::path& base = std::filesystem::temp_directory_path())
        : mRoot((base / "orvane-test-XXXXXX").string())
    {
        EXPECT_NE(mkdtemp(mRoot.data()), nullptr) << "cannot create a temporary folder";
    }
    ~TestFolder() { std::filesystem::remove_all(mRoot, mIgnored); }

    std::string path(const std::string& name) const { return mRoot + "/" + name; }
    // Runs sox with the arguments; true when it succeeded.
    bool sox(const std::string& args) const { return !std::system(("sox -V1 " + args + " 2>/dev/null").c_str()); }
    // Writes the samples as raw signed little-endian data of `bits` bits into
    // `name`.raw and has sox wrap them into `name`; `outputOptions` go before the
    // output name (e.g. "-t wavpcm"). Returns the file's path; fails the test when sox fails.
    std::string soxFromSamples(const std::string& name, const std::vector<std::int64_t>& samples, int bits,
                               int channels, int rate, const std::string& outputOptions = "") const
    {
        Bytes raw;
        for (std::int64_t value : samples)
            for (int i = 0; i < bits / 8; ++i)
                raw.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i)));
        const std::string arguments = "-t raw -r " + std::to_string(rate) + " -e signed-integer -L -b "
            + std::to_string(bits) + " -c " + std::to_string(channels) + " " + write(name + ".raw", raw) + " "
            + outputOptions + " " + path(name);
        EXPECT_TRUE(sox(arguments)) << "sox " << arguments;
        return path(name);
    }
    std::string write(const std::string& name, const Bytes& bytes) const
    {
        std::ofstream(path(name), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path(name);
    }
    static Bytes read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string mRoot;
    std::error_code mIgnored;
};
