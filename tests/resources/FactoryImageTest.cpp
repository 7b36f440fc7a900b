#include "resources/FactoryImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr std::size_t kBanks = FactoryImage::kBanks;
constexpr std::size_t kSamplesPerBank = FactoryImage::kSamplesPerBank;
constexpr std::size_t kTailStart = kSamplesPerBank - 1024;
constexpr std::size_t kCycle = 256;

std::int16_t sampleAt(std::size_t bank, std::size_t index)
{
    return FactoryImage::samples()[bank * kSamplesPerBank + index];
}

std::vector<char> readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

double rms(std::size_t bank, std::size_t begin, std::size_t end)
{
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i)
        sum += static_cast<double>(sampleAt(bank, i)) * sampleAt(bank, i);
    return std::sqrt(sum / static_cast<double>(end - begin));
}


} // namespace

// The generator rebuilds the committed file, and the program embeds exactly it.
TEST(FactoryImage, GeneratorReproducesTheCommittedAndEmbeddedImage)
{
    const std::filesystem::path output =
        std::filesystem::temp_directory_path() / ("orvane-factory-image-" + std::to_string(::getpid()) + ".bin");
    ASSERT_EQ(std::system(("\"" ORVANE_FACTORY_IMAGE_GENERATOR "\" \"" + output.string() + "\"").c_str()), 0);
    const std::vector<char> generated = readFile(output);
    std::filesystem::remove(output);
    const std::vector<char> committed = readFile(std::filesystem::path(ORVANE_SOURCE_DIR) / "resources/factory_image.bin");
    const auto* embedded = reinterpret_cast<const char*>(FactoryImage::samples());
    ASSERT_EQ(FactoryImage::byteSize(), 917504u);
    ASSERT_EQ(committed.size(), FactoryImage::byteSize());
    EXPECT_TRUE(generated == committed);
    EXPECT_TRUE(std::equal(committed.begin(), committed.end(), embedded));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(embedded) % 16, 0u);
    EXPECT_NE(std::system("\"" ORVANE_FACTORY_IMAGE_GENERATOR "\""), 0);  // no output path
}

TEST(FactoryImage, FirstSamplesAndSineCycle)
{
    const std::int16_t firstFour[kBanks][4] = {
        {0, 804, 1607, 2410},      {0, 804, 1607, 2410},     {0, 804, 1607, 2410}, {0, 12002, 17650, 18984},
        {-1597, 4840, 11827, 18628}, {-450, 3161, 5872, 7135}, {380, -1711, 267, 1446},
    };
    for (std::size_t bank = 0; bank < kBanks; ++bank)
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(sampleAt(bank, i), firstFour[bank][i]) << "bank " << bank << " sample " << i;

    // Banks 0 to 2 open with the same sine cycle, continue it without a jump and
    // differ from one another after it.
    for (std::size_t bank = 0; bank < 3; ++bank) {
        SCOPED_TRACE(bank);
        for (std::size_t i = 0; i < kCycle; ++i) {
            const double exact = 32767.0 * std::sin(2.0 * std::numbers::pi * static_cast<double>(i) / 256.0);
            EXPECT_EQ(sampleAt(bank, i), static_cast<std::int16_t>(std::trunc(exact))) << "sample " << i;
        }
        EXPECT_EQ(sampleAt(bank, 64), 32767);
        EXPECT_EQ(sampleAt(bank, 192), -32767);
        const int step = sampleAt(bank, kCycle) - sampleAt(bank, kCycle - 1);
        EXPECT_GT(step, 0);
        EXPECT_LE(step, 1200);
        const std::size_t other = (bank + 1) % 3;
        std::size_t differing = 0;
        for (std::size_t i = kCycle; i < kTailStart; ++i)
            differing += sampleAt(bank, i) != sampleAt(other, i) ? 1 : 0;
        EXPECT_GT(differing, (kTailStart - kCycle) / 2) << "against bank " << other;
    }
}

// Every bank sounds at its start, fades out, ends in 1,024 zero samples and
// never reaches the negative limit.
TEST(FactoryImage, EveryBankSoundsFadesAndEndsSilentWithoutClipping)
{
    for (std::size_t bank = 0; bank < kBanks; ++bank) {
        SCOPED_TRACE(bank);
        EXPECT_GT(rms(bank, 0, 8192), 2000.0);
        EXPECT_LT(rms(bank, kTailStart - 512, kTailStart), 100.0);
        std::size_t clipped = 0, tailNonZero = 0;
        for (std::size_t i = 0; i < kSamplesPerBank; ++i) {
            clipped += sampleAt(bank, i) == -32768 ? 1 : 0;
            tailNonZero += i >= kTailStart && sampleAt(bank, i) != 0 ? 1 : 0;
        }
        EXPECT_EQ(clipped, 0u);
        EXPECT_EQ(tailNonZero, 0u);
    }
}
