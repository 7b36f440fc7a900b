#include "resources/FactoryImage.h"

// Defined in FactoryImage.S, which embeds factory_image.bin.
extern "C" const std::int16_t orvane_factory_image[];

const std::int16_t* FactoryImage::samples() { return orvane_factory_image; }
