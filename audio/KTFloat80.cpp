#include "audio/KTFloat80.h"

#include <bit>
#include <cstdint>

KTFloat80::KTFloat80()
    : KTBuffer(kSize, 0)
{
}

KTFloat80::~KTFloat80() = default;

double KTFloat80::toDouble() const
{
    std::uint8_t bytes[kSize] = {};
    for (std::size_t i = 0; i < kSize && i < size(); ++i)
        bytes[i] = (*this)[i];

    const std::uint64_t sign = bytes[0] >> 7;
    const std::uint64_t exponent = (static_cast<std::uint64_t>(bytes[0] & 0x7F) << 8) | bytes[1];
    std::uint64_t mantissa = 0;
    for (std::size_t i = 2; i < kSize; ++i)
        mantissa = (mantissa << 8) | bytes[i];

    // The double's exponent keeps the top bit and the low ten bits of the
    // 15-bit exponent; the explicit integer bit and the low 11 bits go.
    const std::uint64_t doubleExponent = (((exponent >> 14) & 1) << 10) | (exponent & 0x3FF);
    const std::uint64_t fraction = (mantissa >> 11) & ((std::uint64_t{1} << 52) - 1);
    return std::bit_cast<double>((sign << 63) | (doubleExponent << 52) | fraction);
}
