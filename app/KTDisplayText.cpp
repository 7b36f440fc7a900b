#include "app/KTDisplayText.h"

#include <algorithm>
#include <cstdio>
#include <cctype>
#include <filesystem>
#include <vector>

namespace {

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string KTDisplayText::elidedMiddle(const std::string& text, std::size_t maxCharacters)
{
    // Where each character starts; a continuation byte never starts one.
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!isContinuationByte(text[i]))
            starts.push_back(i);
    if (starts.size() <= maxCharacters || maxCharacters < 2)
        return text;
    const std::size_t kept = maxCharacters - 1;
    const std::size_t head = (kept + 1) / 2;
    const std::size_t tail = kept - head;
    return text.substr(0, starts[head]) + "\u2026" + text.substr(starts[starts.size() - tail]);
}

std::string KTDisplayText::bankTitle(int bank)
{
    return "Bank " + std::to_string(bank + 1);
}

std::string KTDisplayText::fileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

std::string KTDisplayText::sentence(const std::string& reason)
{
    std::string text = reason;
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    if (!text.empty() && text.back() != '.')
        text += '.';
    return text;
}

std::string KTDisplayText::count(std::size_t value)
{
    std::string digits = std::to_string(value);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, ",");
    return digits;
}

std::string KTDisplayText::selectionText(std::optional<TLSampleRange> selection, std::size_t cursor, unsigned rate,
                                         const std::string& selectedPattern, const std::string& cursorPattern)
{
    const auto milliseconds = [rate](std::size_t samples) {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f", 1000.0 * double(samples) / rate);
        return std::string(text);
    };
    if (!selection)
        return filled(cursorPattern, {count(cursor), milliseconds(cursor)});
    return filled(selectedPattern, {count(selection->begin), count(selection->end), count(selection->size()),
                                    milliseconds(selection->size())});
}

std::string KTDisplayText::filled(const std::string& pattern, std::initializer_list<std::string> values)
{
    std::string text;
    for (std::size_t at = 0; at < pattern.size(); ++at) {
        const char next = at + 1 < pattern.size() ? pattern[at + 1] : '\0';
        const auto index = static_cast<std::size_t>(next - '1');
        if (pattern[at] == '%' && next >= '1' && next <= '9' && index < values.size()) {
            text += values.begin()[index];
            ++at;
        } else {
            text += pattern[at];
        }
    }
    return text;
}
