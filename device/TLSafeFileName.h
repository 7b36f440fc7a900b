#pragma once

#include <string>

// A file name made from a bank's name: folder separators and control
// characters become "-", it is cut to what a file system takes (255 bytes,
// whole characters, room left for an extension), and a name with nothing left
// (blank, dots, dashes) gives the fallback.
class TLSafeFileName {
public:
    static constexpr std::size_t kLongest = 240;

    static std::string from(const std::string& name, const std::string& fallback);
};
