#pragma once

#include <QString>
#include <QStringList>

#include <string>

// Command-line arguments as text without losing a byte. File names on Linux
// are bytes, not always valid UTF-8: each byte that is not part of a valid
// UTF-8 sequence is carried as the lone surrogate U+DC80 + (byte - 0x80), which
// no valid text contains, and turned back into that byte when the argument is
// used as a file name again.
class OrvaneArgumentText {
public:
    static QStringList decode(int argc, char** argv);
    static QString decode(const std::string& bytes);
    // The argument's original bytes.
    static std::string bytes(const QString& text);
    // The bytes with control characters (and a lone backslash) written as
    // escapes (\n, \t, \x1b, \\), so a name cannot break a line or steer the
    // terminal; every other byte stays as it is.
    static std::string escaped(const std::string& bytes);
};
