// Importing at other rates: high quality against sox's own conversion and
// against converting the whole file, and the linear import unchanged.

#include "audio/KTSoxrRateConverter.h"
#include "audio/KTWaveFileReader.h"
#include "device/TLSampleImporter.h"
#include "tests/support/TestFolder.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Resampling, HighQualityMatchesSoxAndLinearStaysAsItWas)
{
    TestFolder folder;
    // linear: FNV-1a of the linear import, taken before high quality existed.
    // bound: above 0 the least SNR in dB against sox, else the most dBFS left in the bank.
    const struct { const char* synth; int rate; std::uint64_t linear; double bound; } cases[] = {
        {"pinknoise sine 200-10000 vol 0.5", 22050, 0xebcef140ab51902d, 50}, // noise left, a sweep right
        {"pinknoise sine 200-10000 vol 0.5", 48000, 0xd308523667494a5a, 50},
        {"pinknoise sine 200-10000 vol 0.5", 96000, 0x92497cd946cdc28b, 50},
        {"sine 30000 vol 0.5", 96000, 0x480604b690313bf7, -90},
        {"pinknoise vol 0.5", 44100, 0x7b8ae42bc0ecbc46, 50}, // the same samples either way
    };
    for (const auto& c : cases) {
        const std::string rate = std::to_string(c.rate), path = folder.path(rate + ".wav"), sox = folder.path("sox");
        SCOPED_TRACE(c.synth + (" at " + rate));
        ASSERT_TRUE(folder.sox("-R -r " + rate + " -n -c 2 -b 24 " + path + " synth 3 " + c.synth));
        ASSERT_TRUE(folder.sox("-D " + path + " -r 44100 -c 1 -b 16 -e signed -t raw " + sox));
        const Bytes linear = TLSampleImporter::read(path).samples, expected = TestFolder::read(sox);
        const Bytes hq = TLSampleImporter::read(path, {TLSampleImporter::Resampling::HighQuality}).samples;
        KTSample whole;
        KTSampleConverter(44100.0, 1, 16, false, TLSampleImporter::Resampling::HighQuality)
            .convert(whole, KTWaveFileReader(path.c_str()).readSample(0));
        const auto at = [](const Bytes& s, std::size_t i) { return double(std::int16_t(s[2 * i] | s[2 * i + 1] << 8)); };
        ASSERT_TRUE(linear.size() == 131072 && hq.size() == 131072 && (c.rate != 44100 || hq == linear));
        double signal = 0, noise = 0, level = 0;
        std::uint64_t fnv = 14695981039346656037ULL;
        for (std::size_t i = 0; i < 65536; ++i) {
            fnv = (((fnv ^ linear[2 * i]) * 1099511628211ULL) ^ linear[2 * i + 1]) * 1099511628211ULL;
            signal += std::pow(at(expected, i), 2);
            noise += std::pow(at(hq, i) - at(expected, i), 2);
            level += std::pow(at(hq, i) / 32768, 2) / 65536;
            // The bounded read's filter may round in other blocks than the whole file's.
            ASSERT_LE(std::abs(at(hq, i) - at(whole, i)), 1) << i;
        }
        EXPECT_EQ(fnv, c.linear);
        const double snr = 10 * std::log10(signal / noise), dbfs = 10 * std::log10(level);
        EXPECT_TRUE(c.bound > 0 ? snr >= c.bound : dbfs <= c.bound) << snr << " dB SNR, " << dbfs << " dBFS";
    }
}

// The lead-in spans whole periods of both rates and at least the filter's reach.
TEST(Resampling, TheLeadInIsWholePeriodsOfBothRates)
{
    const struct { double from, to; std::uint64_t source, target; } cases[] = {{44100, 32000, 882, 640},
        {2048, 2049, 2048, 2049}, {2049, 2048, 2049, 2048}, {44100, 44099, 0, 0}, {22050.5, 44100, 0, 0}};
    for (const auto& c : cases) {
        const KTSoxrRateConverter::LeadIn lead = KTSoxrRateConverter::leadIn(c.from, c.to);
        EXPECT_EQ(std::pair(lead.source, lead.target), std::pair(c.source, c.target)) << c.from << " to " << c.to;
    }
}
