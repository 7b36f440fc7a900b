#include "midi/KTBuffer.h"

KTBuffer& KTBuffer::read(std::istream& in)
{
    if (empty())
        return *this;
    in.read(reinterpret_cast<char*>(data()), static_cast<std::streamsize>(size()));
    resize(static_cast<std::size_t>(in.gcount()));
    return *this;
}

std::ostream& KTBuffer::write(std::ostream& out) const
{
    if (!empty())
        out.write(reinterpret_cast<const char*>(data()), static_cast<std::streamsize>(size()));
    return out;
}

std::string KTBuffer::toHexString() const
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size() * 3);
    for (std::uint8_t byte : *this) {
        if (!text.empty())
            text += ' ';
        text += digits[byte >> 4];
        text += digits[byte & 0x0F];
    }
    if (!empty())
        text += '\n';
    return text;
}

std::ostream& operator<<(std::ostream& out, const KTBuffer& buffer)
{
    return buffer.write(out);
}
