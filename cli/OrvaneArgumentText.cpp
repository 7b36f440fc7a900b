#include "cli/OrvaneArgumentText.h"

#include <cstdio>

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence starting at `at`, 0 when there is
// none: no overlong forms, no surrogates, nothing past U+10FFFF.
std::size_t sequenceLength(const std::string& bytes, std::size_t at)
{
    const auto byte = [&bytes](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    return length;
}

} // namespace

QStringList OrvaneArgumentText::decode(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(decode(std::string(argv[i])));
    return arguments;
}

QString OrvaneArgumentText::decode(const std::string& bytes)
{
    QString text;
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = sequenceLength(bytes, at);
        if (length == 0) {
            text.append(QChar(kEscapeBase + static_cast<unsigned char>(bytes[at])));
            ++at;
            continue;
        }
        text.append(QString::fromUtf8(bytes.data() + at, static_cast<qsizetype>(length)));
        at += length;
    }
    return text;
}

std::string OrvaneArgumentText::bytes(const QString& text)
{
    std::string bytes;
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        bytes += text.mid(runStart, end - runStart).toStdString();
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        if (unit < kEscapeBase + 0x80 || unit > kEscapeBase + 0xFF)
            continue;
        flush(i);
        bytes += static_cast<char>(unit - kEscapeBase);
        runStart = i + 1;
    }
    flush(text.size());
    return bytes;
}

std::string OrvaneArgumentText::escaped(const std::string& bytes)
{
    std::string out;
    const auto hex = [&out](const char* format, unsigned value) {
        char text[12];
        std::snprintf(text, sizeof text, format, value);
        out += text;
    };
    for (std::size_t at = 0; at < bytes.size();) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        const std::size_t length = sequenceLength(bytes, at);
        const auto second = length == 2 ? static_cast<unsigned char>(bytes[at + 1]) : 0;
        if (byte == '\n')
            out += "\\n";
        else if (byte == '\t')
            out += "\\t";
        else if (byte == '\\')
            out += "\\\\";
        else if (byte < 0x20 || byte == 0x7F || length == 0)
            hex("\\x%02x", byte);
        else if (byte == 0xC2 && second < 0xA0)
            hex("\\u%04x", second); // a C1 control character, U+0080 to U+009F
        else
            out.append(bytes, at, length);
        at += length == 0 ? 1 : length;
    }
    return out;
}
