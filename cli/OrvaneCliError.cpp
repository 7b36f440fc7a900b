#include "cli/OrvaneCliError.h"

#include "cli/OrvaneArgumentText.h"

#include <cctype>

namespace {

// "No such file or directory" reads "no such file or directory" after a
// colon; a word in capitals ("MIDI", "ALSA") stays as it is.
std::string lowerFirst(std::string text)
{
    if (text.size() > 1 && std::isupper(static_cast<unsigned char>(text[0]))
        && std::islower(static_cast<unsigned char>(text[1])))
        text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
    return text;
}

} // namespace

OrvaneCliError OrvaneCliError::failure(const std::string& subject, const std::string& reason)
{
    return {kFailure, OrvaneArgumentText::escaped(subject) + ": " + lowerFirst(reason)};
}

OrvaneCliError OrvaneCliError::unwritable(const std::string& path, const std::string& reason)
{
    return failure(path, "cannot be written: " + lowerFirst(reason));
}

OrvaneCliError OrvaneCliError::interrupted(int signal, const std::string& subject, const std::string& what)
{
    OrvaneCliError error = failure(subject, what);
    error.exitCode = kSignalBase + signal;
    return error;
}
