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
        {"pinknoise vol 0.5", 22050, 0xa20d83187905928d},
        {"pinknoise vol 0.5", 48000, 0x6b32565504d6727f},
        {"pinknoise vol 0.5", 96000, 0x469c2f71d87df27c},
        {"sine 200-19000 sine 997 vol 0.4", 48000, 0xb9f38c7f3af00ff5},
        {"sine 30000 vol 0.5", 96000, 0x480604b690313bf7},
        {"pinknoise vol 0.5", 44100, 0x7b8ae42bc0ecbc46},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.synth + std::string(" at ") + std::to_string(c.rate));
        const std::string path = folder.path(std::to_string(c.rate) + ".wav");
        ASSERT_TRUE(folder.sox("-R -r " + std::to_string(c.rate) + " -n -c 2 -b 24 " + path + " synth 3 " + c.synth));
        const TLImportedSound linear = TLSampleImporter::read(path);
        EXPECT_EQ(fingerprint(linear.samples), c.linear) << std::hex << fingerprint(linear.samples);
    }
}
