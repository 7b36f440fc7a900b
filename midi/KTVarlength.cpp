#include "midi/KTVarlength.h"

KTVarlength::KTVarlength(std::uint64_t value)
{
    setValue(value);
}

void KTVarlength::setValue(std::uint64_t value)
{
    clear();
    push_back(static_cast<std::uint8_t>(value & 0x7F));
    while (value >= 0x80) {
        value >>= 7;
        insert(begin(), static_cast<std::uint8_t>((value & 0x7F) | 0x80));
    }
}

std::uint64_t KTVarlength::value() const
{
    if (empty())
        return 0;
    std::uint64_t result = 0;
    for (std::size_t i = 0; i + 1 < size(); ++i)
        result = (result | ((*this)[i] & 0x7Fu)) << 7;
    return result | (back() & 0x7Fu);
}

KTVarlength& KTVarlength::read(std::istream& in)
{
    clear();
    for (;;) {
        const int byte = in.get();
        if (byte == std::char_traits<char>::eof())
            break;
        push_back(static_cast<std::uint8_t>(byte));
        if ((byte & 0x80) == 0)
            break;
    }
    if (empty())
        push_back(0x00);
    return *this;
}
