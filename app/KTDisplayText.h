#pragma once

#include "device/TLSampleRange.h"

#include <cstddef>
#include <initializer_list>
#include <optional>
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
    // The selection filled into selectedPattern ("Selected %1 to %2: %3 samples,
    // %4 ms"), or without one the cursor into cursorPattern ("Cursor at %1 (%2 ms)").
    static std::string selectionText(std::optional<TLSampleRange> selection, std::size_t cursor, unsigned rate,
                                     const std::string& selectedPattern, const std::string& cursorPattern);
    // pattern with %1 to %9 replaced by the values, in one pass: a "%2" inside
    // a value (a file's name) stays as it is.
    static std::string filled(const std::string& pattern, std::initializer_list<std::string> values);
    // A count with its thousands apart: "65,536".
    static std::string count(std::size_t value);
    // A reason in lower case or as the system words it, as a sentence:
    // "no space left on device" gives "No space left on device."
    static std::string sentence(const std::string& reason);
};
