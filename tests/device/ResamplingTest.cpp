// Importing at other rates: high quality against sox's own conversion, the
// bounded read against converting the whole file, and the linear import
// unchanged, bit for bit.

#include "audio/KTWaveFileReader.h"
#include "device/TLOrvane.h"
#include "device/TLSampleImporter.h"
#include "tests/audio/AudioTestFolder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

std::uint64_t fingerprint(const KTSample& samples)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (std::uint8_t byte : samples)
        hash = (hash ^ byte) * 1099511628211ULL;
    return hash;
}

std::int16_t at(const Bytes& bytes, std::size_t i)
{
    return static_cast<std::int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
}

} // namespace

TEST(Resampling, HighQualityMatchesSoxAndLinearStaysAsItWas)
{
    AudioTestFolder folder;
    const struct {
        const char* synth;
        int rate;
        std::uint64_t linear;
        double minSnr;   // dB against sox
        double maxLevel; // dBFS of the imported sound
    } cases[] = {
        {"pinknoise vol 0.5", 22050, 0xa20d83187905928d, 50, 0},
        {"pinknoise vol 0.5", 48000, 0x6b32565504d6727f, 50, 0},
        {"pinknoise vol 0.5", 96000, 0x469c2f71d87df27c, 50, 0},
        {"sine 200-19000 sine 997 vol 0.4", 48000, 0xb9f38c7f3af00ff5, 50, 0},
        {"sine 30000 vol 0.5", 96000, 0x480604b690313bf7, -1000, -90},
        {"pinknoise vol 0.5", 44100, 0x7b8ae42bc0ecbc46, 50, 0},
    };
    const KTSampleConverter whole(44100.0, 1, 16, false, KTSampleConverter::Resampling::HighQuality);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.synth + std::string(" at ") + std::to_string(c.rate));
        const std::string path = folder.path(std::to_string(c.rate) + ".wav");
        ASSERT_TRUE(folder.sox("-R -r " + std::to_string(c.rate) + " -n -c 2 -b 24 " + path + " synth 3 " + c.synth));
        ASSERT_TRUE(folder.sox("-D " + path + " -r 44100 -c 1 -b 16 -e signed " + folder.path("sox.raw")));
        const Bytes sox = AudioTestFolder::read(folder.path("sox.raw"));
        const TLImportedSound linear = TLSampleImporter::read(path);
        const TLImportedSound hq = TLSampleImporter::read(path, TLSampleImporter::Resampling::HighQuality);
        KTSample unbounded;
        whole.convert(unbounded, KTWaveFileReader(path.c_str()).readSample(0));
        EXPECT_EQ(fingerprint(linear.samples), c.linear) << std::hex << fingerprint(linear.samples);
        ASSERT_EQ(hq.samples.size(), 2 * TLOrvane::kSamplesPerBank);
        if (c.rate == 44100) {
            EXPECT_EQ(hq.samples, linear.samples);
        }
        double signal = 0, noise = 0, level = 0;
        int furthest = 0;
        for (std::size_t i = 0; i < TLOrvane::kSamplesPerBank; ++i) {
            signal += std::pow(at(sox, i), 2);
            noise += std::pow(at(hq.samples, i) - at(sox, i), 2);
            level += std::pow(at(hq.samples, i), 2);
            furthest = std::max(furthest, std::abs(at(hq.samples, i) - at(unbounded, i)));
        }
        const double snr = 10 * std::log10(signal / noise);
        const double dbfs = 10 * std::log10(level / TLOrvane::kSamplesPerBank) - 20 * std::log10(32768.0);
        EXPECT_GE(snr, c.minSnr);
        EXPECT_LE(dbfs, c.maxLevel);
        EXPECT_LE(furthest, 1);
    }
}
