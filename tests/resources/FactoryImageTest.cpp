#include "resources/FactoryImage.h"

#include <gtest/gtest.h>

#include <array>
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

std::vector<char> embeddedBytes()
{
    const auto* begin = reinterpret_cast<const char*>(FactoryImage::samples());
    return {begin, begin + FactoryImage::byteSize()};
}

double rms(std::size_t bank, std::size_t begin, std::size_t end)
{
    double sum = 0.0;
    for (std::size_t i = begin; i < end; ++i) {
        sum += static_cast<double>(sampleAt(bank, i)) * sampleAt(bank, i);
    }
    return std::sqrt(sum / static_cast<double>(end - begin));
}

std::filesystem::path temporaryImagePath()
{
    return std::filesystem::temp_directory_path() /
           ("orvane-factory-image-" + std::to_string(::getpid()) + ".bin");
}

int runGenerator(const std::string& arguments)
{
    const std::string command = std::string("\"") + ORVANE_FACTORY_IMAGE_GENERATOR + "\" " + arguments;
    return std::system(command.c_str());
}

}  // namespace

TEST(FactoryImage, SizeAndLayoutConstants)
{
    EXPECT_EQ(FactoryImage::byteSize(), 917504u);
    EXPECT_EQ(FactoryImage::kBanks, 7u);
    EXPECT_EQ(FactoryImage::kSamplesPerBank, 65536u);
}

TEST(FactoryImage, DataIsSixteenByteAligned)
{
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(FactoryImage::samples()) % 16, 0u);
}

TEST(FactoryImage, EmbeddedDataIsTheCommittedFile)
{
    const std::vector<char> file = readFile(std::filesystem::path(ORVANE_SOURCE_DIR) / "resources/factory_image.bin");
    ASSERT_EQ(file.size(), FactoryImage::byteSize());
    EXPECT_TRUE(file == embeddedBytes());
}

TEST(FactoryImage, FirstFourSamplesOfEveryBank)
{
    constexpr std::array<std::array<std::int16_t, 4>, kBanks> expected = {{
        {0, 804, 1607, 2410},
        {0, 804, 1607, 2410},
        {0, 804, 1607, 2410},
        {0, 12002, 17650, 18984},
        {-1597, 4840, 11827, 18628},
        {-450, 3161, 5872, 7135},
        {380, -1711, 267, 1446},
    }};
    for (std::size_t bank = 0; bank < kBanks; ++bank) {
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(sampleAt(bank, i), expected[bank][i]) << "bank " << bank << " sample " << i;
        }
    }
}

TEST(FactoryImage, FirstThreeBanksOpenWithOneSineCycle)
{
    for (std::size_t bank = 0; bank < 3; ++bank) {
        for (std::size_t i = 0; i < kCycle; ++i) {
            const double exact = 32767.0 * std::sin(2.0 * std::numbers::pi * static_cast<double>(i) / 256.0);
            EXPECT_EQ(sampleAt(bank, i), static_cast<std::int16_t>(std::trunc(exact)))
                << "bank " << bank << " sample " << i;
        }
        EXPECT_EQ(sampleAt(bank, 64), 32767) << "bank " << bank;
        EXPECT_EQ(sampleAt(bank, 192), -32767) << "bank " << bank;
    }
}

TEST(FactoryImage, FirstThreeBanksContinueTheCycleWithoutAJump)
{
    for (std::size_t bank = 0; bank < 3; ++bank) {
        const int step = sampleAt(bank, kCycle) - sampleAt(bank, kCycle - 1);
        EXPECT_GT(step, 0) << "bank " << bank;
        EXPECT_LE(step, 1200) << "bank " << bank;
    }
}

TEST(FactoryImage, FirstThreeBanksDifferAfterTheCycle)
{
    for (std::size_t a = 0; a < 3; ++a) {
        for (std::size_t b = a + 1; b < 3; ++b) {
            std::size_t differing = 0;
            for (std::size_t i = kCycle; i < kTailStart; ++i) {
                differing += sampleAt(a, i) != sampleAt(b, i) ? 1 : 0;
            }
            EXPECT_GT(differing, (kTailStart - kCycle) / 2) << "banks " << a << " and " << b;
        }
    }
}

TEST(FactoryImage, LastThousandTwentyFourSamplesAreSilent)
{
    for (std::size_t bank = 0; bank < kBanks; ++bank) {
        for (std::size_t i = kTailStart; i < kSamplesPerBank; ++i) {
            ASSERT_EQ(sampleAt(bank, i), 0) << "bank " << bank << " sample " << i;
        }
    }
}

TEST(FactoryImage, NoSampleIsTheNegativeLimit)
{
    for (std::size_t bank = 0; bank < kBanks; ++bank) {
        for (std::size_t i = 0; i < kSamplesPerBank; ++i) {
            ASSERT_NE(sampleAt(bank, i), -32768) << "bank " << bank << " sample " << i;
        }
    }
}

TEST(FactoryImage, EveryBankSoundsAtTheStartAndFadesOut)
{
    for (std::size_t bank = 0; bank < kBanks; ++bank) {
        EXPECT_GT(rms(bank, 0, 8192), 2000.0) << "bank " << bank;
        EXPECT_LT(rms(bank, kTailStart - 512, kTailStart), 100.0) << "bank " << bank;
    }
}

TEST(FactoryImage, GeneratorReproducesTheCommittedFile)
{
    const std::filesystem::path output = temporaryImagePath();
    ASSERT_EQ(runGenerator("\"" + output.string() + "\""), 0);
    const std::vector<char> generated = readFile(output);
    std::filesystem::remove(output);
    const std::vector<char> committed =
        readFile(std::filesystem::path(ORVANE_SOURCE_DIR) / "resources/factory_image.bin");
    ASSERT_EQ(generated.size(), FactoryImage::byteSize());
    EXPECT_TRUE(generated == committed);
}

TEST(FactoryImage, GeneratorRefusesAMissingOutputPath)
{
    EXPECT_NE(runGenerator(""), 0);
}
