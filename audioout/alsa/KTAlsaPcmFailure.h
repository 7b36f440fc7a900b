#pragma once

#include <string>

// Why an ALSA PCM device could not be opened, in plain words: "busy (another
// program is using it)", "no sound card", "no such device", "no permission to
// use it", or alsa-lib's own text. Shared by the sound output and input.
class KTAlsaPcmFailure {
public:
    static std::string reason(int error);
};
