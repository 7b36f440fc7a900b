#include "resources/FactoryImage.h"
#include "tests/midi/TestBytes.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

// The generator rebuilds the committed file, and the program embeds exactly it.
TEST(FactoryImage, GeneratorReproducesTheCommittedAndEmbeddedImage)
{
    const std::string output = ORVANE_BINARY_DIR "/factory-image-test.bin";  // left in the build folder
    ASSERT_EQ(std::system(("\"" ORVANE_FACTORY_IMAGE_GENERATOR "\" \"" + output + "\"").c_str()), 0);
    const Bytes generated = readFile(output), committed = readFile(ORVANE_SOURCE_DIR "/resources/factory_image.bin");
    const auto* embedded = reinterpret_cast<const std::uint8_t*>(FactoryImage::samples());
    ASSERT_EQ(committed.size(), FactoryImage::byteSize());
    EXPECT_TRUE(generated == committed);
    EXPECT_TRUE(std::equal(committed.begin(), committed.end(), embedded));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(embedded) % 16, 0u);
    EXPECT_NE(std::system("\"" ORVANE_FACTORY_IMAGE_GENERATOR "\" 2>/dev/null"), 0) << "no output path";
}

// Each bank opens as designed: banks 0 to 2 with the same full-scale sine cycle of
// 256 samples, different from one another after it. Every bank sounds at its start
// (RMS over 8,192 samples), has faded out before its last 1,024 samples, which are
// zero, and never reaches the negative limit.
TEST(FactoryImage, BanksOpenAsDesignedFadeOutAndEndSilent)
{
    const std::int16_t firstFour[FactoryImage::kBanks][4] = {
        {0, 804, 1607, 2410}, {0, 804, 1607, 2410}, {0, 804, 1607, 2410}, {0, 12002, 17650, 18984},
        {-1597, 4840, 11827, 18628}, {-450, 3161, 5872, 7135}, {380, -1711, 267, 1446}};
    constexpr std::size_t tail = FactoryImage::kSamplesPerBank - 1024, cycle = 256;
    for (std::size_t bank = 0; bank < FactoryImage::kBanks; ++bank) {
        SCOPED_TRACE(bank);
        const std::int16_t* samples = FactoryImage::samples() + bank * FactoryImage::kSamplesPerBank;
        const std::int16_t* other = FactoryImage::samples() + (bank + 1) % 3 * FactoryImage::kSamplesPerBank;
        EXPECT_TRUE(std::equal(samples, samples + 4, firstFour[bank]));
        double opening = 0, fading = 0;
        std::size_t clipped = 0, loudTail = 0, differing = 0, offSine = 0;
        for (std::size_t i = 0; i < FactoryImage::kSamplesPerBank; ++i) {
            const double x = samples[i];
            opening += i < 8192 ? x * x / 8192 : 0;
            fading += i >= tail - 512 && i < tail ? x * x / 512 : 0;
            clipped += samples[i] == -32768;
            loudTail += i >= tail && samples[i] != 0;
            differing += i >= cycle && i < tail && samples[i] != other[i];
            offSine += i < cycle && x != std::trunc(32767.0 * std::sin(2.0 * std::numbers::pi * i / 256.0));
        }
        EXPECT_GT(std::sqrt(opening), 2000.0);
        EXPECT_LT(std::sqrt(fading), 100.0);
        EXPECT_EQ(clipped + loudTail, 0u);
        EXPECT_TRUE(bank >= 3 || (offSine == 0 && differing > (tail - cycle) / 2)) << offSine << " " << differing;
    }
}
