#include "resources/FactoryImage.h"
#include "tests/support/TestFolder.h"

#include <cstdlib>

// The generator rebuilds the committed file, and the program embeds exactly it.
TEST(FactoryImage, GeneratorReproducesTheCommittedAndEmbeddedImage)
{
    const TestFolder folder;
    const std::string output = folder.path("factory_image.bin");
    ASSERT_EQ(std::system(("\"" ORVANE_FACTORY_IMAGE_GENERATOR "\" \"" + output + "\"").c_str()), 0);
    const Bytes generated = TestFolder::read(output), committed = TestFolder::read(ORVANE_SOURCE_DIR "/resources/factory_image.bin");
    const auto* embedded = reinterpret_cast<const std::uint8_t*>(FactoryImage::samples());
    ASSERT_EQ(committed.size(), FactoryImage::byteSize());
    EXPECT_TRUE(generated == committed);
    EXPECT_TRUE(std::equal(committed.begin(), committed.end(), embedded));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(embedded) % 16, 0u);
    EXPECT_NE(std::system("\"" ORVANE_FACTORY_IMAGE_GENERATOR "\" 2>/dev/null"), 0) << "no output path";
}
