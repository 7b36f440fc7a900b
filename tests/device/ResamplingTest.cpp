// Importing at other rates: the linear import stays as it was, bit for bit.

#include "device/TLSampleImporter.h"
#include "tests/audio/AudioTestFolder.h"

#include <gtest/gtest.h>

namespace {

std::uint64_t fingerprint(const KTSample& samples)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (std::uint8_t byte : samples)
        hash = (hash ^ byte) * 1099511628211ULL;
    return hash;
}

} // namespace

TEST(Resampling, LinearImportUnchanged)
{
    AudioTestFolder folder;
    const struct {
        const char* synth;
        int rate;
        std::uint64_t linear;
    } cases[] = {
        {"pinknoise vol 0.5", 22050, 0x2df4dc6fbbb5015c},
        {"pinknoise vol 0.5", 48000, 0x6b32565504d6727f},
        {"pinknoise vol 0.5", 96000, 0x39ebec57515a87ed},
        {"sine 200-19000 sine 997 vol 0.4", 48000, 0xb9f38c7f3af00ff5},
        {"sine 30000 vol 0.5", 96000, 0x64990af7b2e4759f},
        {"pinknoise vol 0.5", 44100, 0x66b6f828dd2322a2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.synth + std::string(" at ") + std::to_string(c.rate));
        const std::string path = folder.path(std::to_string(c.rate) + ".wav");
        ASSERT_TRUE(folder.sox("-R -n -r " + std::to_string(c.rate) + " -c 2 -b 24 " + path + " synth 3 " + c.synth));
        const TLImportedSound linear = TLSampleImporter::read(path);
        EXPECT_EQ(fingerprint(linear.samples), c.linear) << std::hex << fingerprint(linear.samples);
    }
}
