#pragma once

#include <cstddef>
#include <string>

// Names as the editor's messages and panels show them.
class KTDisplayText {
public:
    // Names longer than this many characters are cut in the middle in messages.
    static constexpr std::size_t kMessageNameLength = 48;

    // text cut to at most maxCharacters characters (UTF-8 code points) by
    // putting "…" in place of its middle.
    static std::string elidedMiddle(const std::string& text, std::size_t maxCharacters = kMessageNameLength);
    // "Bank 3" for the bank at index 2.
    static std::string bankTitle(int bank);
    // The file name of a path, without its folders.
    static std::string fileNameOf(const std::string& path);
    // A reason in lower case or as the system words it, as a sentence:
    // "no space left on device" gives "No space left on device."
    static std::string sentence(const std::string& reason);
};
