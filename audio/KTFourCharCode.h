#pragma once

#include <cstdint>

// A chunk identifier or form type packed into 32 bits, first character most
// significant, whatever the byte order of the file it comes from.
constexpr std::uint32_t KTFourCharCode(const char (&text)[5])
{
    return (static_cast<std::uint32_t>(static_cast<unsigned char>(text[0])) << 24)
        | (static_cast<std::uint32_t>(static_cast<unsigned char>(text[1])) << 16)
        | (static_cast<std::uint32_t>(static_cast<unsigned char>(text[2])) << 8)
        | static_cast<std::uint32_t>(static_cast<unsigned char>(text[3]));
}
