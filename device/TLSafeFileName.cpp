#include "device/TLSafeFileName.h"

#include <algorithm>

std::string TLSafeFileName::from(const std::string& name, const std::string& fallback)
{
    std::string file = name;
    std::replace_if(
        file.begin(), file.end(), [](char c) { return c == '/' || (static_cast<unsigned char>(c) < 0x20); }, '-');
    if (file.size() > kLongest) {
        std::size_t cut = kLongest;
        // Not inside a UTF-8 sequence: continuation bytes are 10xxxxxx.
        while (cut > 0 && (static_cast<unsigned char>(file[cut]) & 0xC0) == 0x80)
            --cut;
        file.resize(cut);
    }
    const bool blank = std::all_of(file.begin(), file.end(), [](char c) { return c == ' ' || c == '.' || c == '-'; });
    return blank ? fallback : file;
}
